// The preferences dialog's logic: showing, the controls that act at once, Apply.
#include "prefs/Settngs.h"

#include <exception>

#include "editor/GotoLine.h"
#include "platform/UserDialogs.h"
#include "prefs/PrefsHost.h"
#include "prefs/PrefsView.h"
#include "prefs/SyntaxStylesDialog.h"
#include "prefs/Themes.h"

namespace penwick {

namespace {

constexpr std::uint32_t kBtnFace = 0xFF00000Fu;  // clBtnFace

// A spin edit's change check: a negative number becomes "0"; text that is
// no whole number raises.
void NoNegative(std::string& text) {
  if (ParseWholeNumber(text) < 0) text = "0";
}

}  // namespace

TfrmPrefs::TfrmPrefs(TPrefsHost& host, TUserDialogs& dialogs, TStylesView& styles)
    : m_host(host), m_dialogs(dialogs), m_styles(styles) {}

void TfrmPrefs::ShowModal(TPrefsView& view) {
  FormShow();
  if (view.Execute(*this)) Apply();
}

void TfrmPrefs::FormShow() {
  m_wasShown = true;
  TPrefsState& s = m_state;
  s.TabSize = std::to_string(ParseWholeNumber(m_host.TabListText()));
  s.SampleFont = m_host.EditorFont();
  s.CodeFont = s.SampleFont;
  s.BgSwatch = m_host.EditorBgColor();
  s.BgDialogColor = s.BgSwatch;
  s.GutterDialogColor = m_host.GutterColor();
  s.GutterWidth = std::to_string(m_host.GutterWidth());
  s.GutterSwatch = m_host.GutterColor();
  s.WordWrap = m_host.WordWrap();
  s.LineNumbers = m_host.LineNumbers();
  s.UndoAfterSave = m_host.UndoAfterSave();
  s.AutoCompletion = m_host.AutoCompletion();
  // One radio group: the last one selected wins, none selected is the welcome screen.
  if (m_host.CreateNewStart())
    s.Startup = TStartupChoice::CreateNewScript;
  else if (m_host.OpenLastUsed())
    s.Startup = TStartupChoice::OpenLastUsed;
  else
    s.Startup = TStartupChoice::WelcomeScreen;
  s.EmptyScript = m_host.EmptyScr();
  const int page = m_host.PrefsTab();
  s.Page = (page >= ppGeneral && page <= ppColors) ? page : ppGeneral;
  s.MruCount = std::to_string(m_host.MruCapacity());
  // m_appliedTheme is not reset to the list's selection here: after a load
  // the list could not finish, the selection is not what the definition
  // holds, and Apply must still load it.
}

void TfrmPrefs::Run(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const TSilentAbort&) {
  } catch (const std::exception& error) {
    m_dialogs.ShowError(error.what());
  }
}

void TfrmPrefs::btnFontClick() {
  TFontChoice font = m_state.CodeFont;
  if (m_dialogs.ExecuteFont(font)) {
    m_state.CodeFont = font;
    m_state.SampleFont = font;
  }
  // Confirmed or not, the editor takes the dialog's font: after a cancel the
  // one it was loaded with, which may be a font chosen earlier.
  m_host.SetEditorFont(m_state.CodeFont);
  m_state.SampleFont = m_state.CodeFont;
}

void TfrmPrefs::pnlAlusVarvClick() {
  std::uint32_t color = m_state.BgDialogColor;
  if (!m_dialogs.ExecuteColor(color)) return;
  m_state.BgDialogColor = color;
  m_state.BgSwatch = color;
}

void TfrmPrefs::pnlGtrClrClick() {
  std::uint32_t color = m_state.GutterDialogColor;
  if (!m_dialogs.ExecuteColor(color)) return;
  m_state.GutterDialogColor = color;
  m_state.GutterSwatch = color;
  m_host.SetGutterColor(color);
}

void TfrmPrefs::btnGCClick() {
  m_state.GutterSwatch = kBtnFace;
  m_state.GutterDialogColor = kBtnFace;
  m_host.SetGutterColor(kBtnFace);
}

void TfrmPrefs::edtTabsizeChange() { NoNegative(m_state.TabSize); }

void TfrmPrefs::edtGtrSizeChange() { NoNegative(m_state.GutterWidth); }

void TfrmPrefs::rbEmptyScrClick() {
  m_state.EmptyScript = true;
  m_host.SetEmptyScr(true);
}

void TfrmPrefs::rbTmplScrClick() {
  m_state.EmptyScript = false;
  m_host.SetEmptyScr(false);
}

void TfrmPrefs::cbbThemesChange() {
  LoadTheme(m_state.Theme, m_host, m_dialogs);
  if (m_state.Theme >= 0 && m_state.Theme < kThemeCount) m_appliedTheme = m_state.Theme;
}

void TfrmPrefs::btnSyntaxClick() { EditStyles(m_host.Analyzer(), m_dialogs, m_styles); }

void TfrmPrefs::btnHelpClick() { m_host.ShowHelp(); }

void TfrmPrefs::Apply() {
  TPrefsState& s = m_state;
  m_host.SetEditorFont(s.CodeFont);
  s.SampleFont = s.CodeFont;
  m_host.SetEditorBgColor(s.BgDialogColor);
  m_host.SetGutterColor(s.GutterDialogColor);
  m_host.SetGutterWidth(ParseWholeNumber(s.GutterWidth));
  // The tab size is checked as the gutter width is: text that is no number
  // would leave a tab list the settings file cannot store.
  ParseWholeNumber(s.TabSize);
  m_host.SetTabListText(s.TabSize);
  m_host.SetWordWrap(s.WordWrap);
  m_host.SetLineNumbers(s.LineNumbers);
  m_host.SetUndoAfterSave(s.UndoAfterSave);
  m_host.SetAutoCompletion(s.AutoCompletion);
  m_host.RepaintEditor();
  m_host.SetOpenLastUsed(s.Startup == TStartupChoice::OpenLastUsed);
  m_host.SetCreateNewStart(s.Startup == TStartupChoice::CreateNewScript);
  m_host.SetEmptyScr(s.EmptyScript);
  m_host.SetMruCapacity(ParseWholeNumber(s.MruCount) & 0xFF);
  if (s.Theme < 0 || s.Theme >= kThemeCount) return;
  if (s.Theme != m_appliedTheme) {
    LoadTheme(s.Theme, m_host, m_dialogs);
    m_appliedTheme = s.Theme;
  } else {
    m_host.SetEditorBgColor(ThemeBackground(s.Theme));
    m_host.RepaintEditor();
  }
}

}  // namespace penwick
