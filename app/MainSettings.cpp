// The main window's settings: read from the settings file at start-up,
// applied to the window and the editor, written back at shut-down.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "app/Main.h"
#include "app/MRUfiles.h"
#include "app/QtFontSettings.h"
#include "app/SettingsFile.h"
#include "editor/GotoLine.h"
#include "editor/QtCanvasColors.h"
#include "editor/QtGutter.h"
#include "editor/QtLineNumbers.h"
#include "editor/SyntaxMemo.h"
#include "platform/IniFile.h"
#include "prefs/Settngs.h"

namespace penwick {

namespace {

constexpr const char* kHistory = "HISTORY";
constexpr int kMinWidth = 200;
constexpr int kMinHeight = 150;

// The value to store for a colour shown as `shown`: the remembered value
// while it still gives that colour (so system colours keep their names),
// else the shown colour itself.
std::uint32_t StoredColor(std::uint32_t remembered, const QColor& shown, const QColor& fallback) {
  return CanvasColor(remembered, QApplication::palette(), fallback) == shown ? remembered : ColorValue(shown);
}

// A placement that lies on no screen any more (a monitor was removed, the
// file was edited) moves to the primary screen, and one larger than the
// screens shrinks to them, so the window can be seen, painted and grabbed.
// `frame` is what the window's frame adds to its size.
QRect VisiblePlacement(int left, int top, int width, int height, QSize frame) {
  // Far beyond any screen, yet far from the ends of int (no overflow below).
  constexpr int kFar = QWIDGETSIZE_MAX;
  QRect placement(std::clamp(left, -kFar, kFar), std::clamp(top, -kFar, kFar), std::clamp(width, kMinWidth, kFar),
                  std::clamp(height, kMinHeight, kFar));
  // Enough of the window's top left to grab it by its title.
  const QRect grip(placement.topLeft(), QSize(std::min(placement.width(), 100), 30));
  const QScreen* shown = nullptr;
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().intersects(grip)) {
      shown = screen;
      break;
    }
  }
  if (!shown) {
    shown = QGuiApplication::primaryScreen();
    if (shown) placement.moveTopLeft(shown->availableGeometry().topLeft());
  }
  if (shown) {
    const QSize room = shown->availableVirtualGeometry().size() - frame;
    placement.setSize(placement.size().boundedTo(room.expandedTo(QSize(kMinWidth, kMinHeight))));
  }
  return placement;
}

}  // namespace

void TfrmMain::SetEditorBgColor(std::uint32_t color) {
  m_bgColor = color;
  m_editor->SetColor(CanvasColor(color, QApplication::palette(), Qt::black));
}

void TfrmMain::SetGutterColor(std::uint32_t color) {
  m_gutterColor = color;
  m_editor->Gutter().SetColor(CanvasColor(color, QApplication::palette(), QApplication::palette().color(QPalette::Button)));
}

void TfrmMain::SetTabWidth(int width) {
  m_tabWidth = width;
  m_editor->SetTabListAsString(std::to_string(width));
}

void TfrmMain::SetTabListText(const std::string& text) {
  m_tabWidth = ParseWholeNumber(text);
  m_editor->SetTabListAsString(text);
}

TFontSettings TfrmMain::EditorFontSettings() const {
  const auto fontColor =
      static_cast<std::int32_t>(StoredColor(m_fontColor, m_editor->FontColor(), QApplication::palette().color(QPalette::WindowText)));
  return FontSettingsOf(m_editor->EditorFont(), fontColor, m_fontCharset);
}

void TfrmMain::SetEditorFontSettings(const TFontSettings& font) {
  QFont plain = m_editor->EditorFont();
  plain.setBold(false);
  plain.setItalic(false);
  plain.setUnderline(false);
  plain.setStrikeOut(false);
  m_editor->SetEditorFont(FontFromSettings(font, plain));
  m_fontColor = static_cast<std::uint32_t>(font.Color);
  m_editor->SetFontColor(CanvasColor(m_fontColor, QApplication::palette(), QApplication::palette().color(QPalette::WindowText)));
  m_fontCharset = font.Charset;
}

void TfrmMain::FollowWindowEvent(QEvent* event) {
  // The user's maximize and restore decide the state of the next start;
  // minimizing leaves it as it was.
  if (event->type() == QEvent::WindowStateChange && !isMinimized()) m_wndMax = isMaximized();
  // System colours are taken from the palette: a new one (the desktop's
  // theme changed) gives them anew, so they still show, and are stored, as
  // the system colours they are.
  if (event->type() == QEvent::ApplicationPaletteChange && m_editor) {
    SetEditorBgColor(m_bgColor);
    SetGutterColor(m_gutterColor);
    const QPalette palette = QApplication::palette();
    m_editor->SetFontColor(CanvasColor(m_fontColor, palette, palette.color(QPalette::WindowText)));
  }
}

void TfrmMain::OpenSettingsFile() { m_settings = std::make_unique<TIniFile>(m_settingsFileName); }

void TfrmMain::CloseSettingsFile() { m_settings.reset(); }

void TfrmMain::LoadRecentFiles() {
  if (!m_settings) return;
  // The capacity first: with the default one, a longer stored list would
  // lose its older entries at the next shut-down.
  m_mrfls->SetMaxEntries(ReadMaxMru(*m_settings));
  m_mrfls->LoadFromIni(m_settingsFileName, kHistory);
  ShowClearRecent();
}

void TfrmMain::WriteRecentFiles() {
  if (m_settings) m_mrfls->SaveToIni(m_settingsFileName, kHistory);
}

void TfrmMain::ReadSettings() {
  if (m_settings) ApplySettings(ReadEditorSettings(*m_settings, CurrentSettings()));
}

void TfrmMain::WriteSettings() {
  if (!m_settings) return;
  TEditorSettings settings = CurrentSettings();
  // The page the preferences dialog was left on (its designed page when it
  // was not opened), not the one it opened on during this run.
  const int page = m_frmPrefs ? m_frmPrefs->State().Page : static_cast<int>(ppColors);
  settings.PrefsTab = (page >= ppGeneral && page <= ppColors) ? page : ppGeneral;
  WriteEditorSettings(*m_settings, settings);
}

TEditorSettings TfrmMain::CurrentSettings() const {
  TEditorSettings s;
  s.Top = y();
  s.Left = x();
  s.Width = width();
  s.Height = height();
  s.ShowTlb = Action("mniShowToolbar")->isChecked();
  s.ShowStatb = Action("mniShowStatusbar")->isChecked();
  s.GutterW = m_editor->Gutter().Width();
  s.BgColor = StoredColor(m_bgColor, m_editor->Color(), Qt::black);
  s.GtrColor = StoredColor(m_gutterColor, m_editor->Gutter().Color(), QApplication::palette().color(QPalette::Button));
  s.TabW = m_tabWidth;
  s.WordWrap = m_editor->WordWrap();
  s.LineNr = m_editor->Gutter().LineNumbers().Visible();
  s.UndoAfSave = (m_editor->Options() & soUndoAfterSave) != 0;
  s.AutoCm = AutoCompletion();
  s.OpenLastUsed = m_openLastUsed;
  s.CreateNewStart = m_createNewStart;
  s.MaxMru = m_mrfls->MaxEntries();
  s.EmptyScr = m_emptyScr;
  s.PrefsTab = (m_prefsTab >= 0 && m_prefsTab <= 2) ? m_prefsTab : 0;
  s.WndMax = m_wndMax;
  s.Font = EditorFontSettings();
  return s;
}

void TfrmMain::ApplySettings(const TEditorSettings& s) {
  const QRect placement = VisiblePlacement(s.Left, s.Top, s.Width, s.Height, frameGeometry().size() - size());
  move(placement.topLeft());
  resize(placement.size());
  Action("mniShowToolbar")->setChecked(s.ShowTlb);
  m_toolbar->setVisible(s.ShowTlb);
  // Hidden before the window is first shown, the toolbar tells its own
  // item (the window's context menu) nothing: set its tick too.
  m_toolbar->toggleViewAction()->setChecked(s.ShowTlb);
  Action("mniShowStatusbar")->setChecked(s.ShowStatb);
  m_statusBar->setVisible(s.ShowStatb);
  m_editor->Gutter().SetWidth(std::max(s.GutterW, 0));
  SetEditorBgColor(s.BgColor);
  SetGutterColor(s.GtrColor);
  SetTabWidth(s.TabW);
  m_editor->SetWordWrap(s.WordWrap);
  m_editor->Gutter().LineNumbers().SetVisible(s.LineNr);
  m_editor->SetOptions(s.UndoAfSave ? (m_editor->Options() | soUndoAfterSave) : (m_editor->Options() & ~soUndoAfterSave));
  SetAutoCompletion(s.AutoCm);
  m_openLastUsed = s.OpenLastUsed;
  m_createNewStart = s.CreateNewStart;
  m_mrfls->SetMaxEntries(s.MaxMru);
  m_emptyScr = s.EmptyScr;
  m_prefsTab = s.PrefsTab;
  m_wndMax = s.WndMax;
  // The stored style bits are added to the designed font's.
  TFontSettings font = s.Font;
  font.Style |= FontStyleBits(m_editor->EditorFont());
  SetEditorFontSettings(font);
}

}  // namespace penwick
