// The preferences dialog's view of the main window and its editor.
#include "app/MainPrefsHost.h"

#include "app/MRUfiles.h"
#include "app/Main.h"
#include "app/SettingsFile.h"
#include "editor/QtGutter.h"
#include "editor/QtLineNumbers.h"
#include "editor/SyntaxMemo.h"

namespace penwick {

TFontChoice TMainPrefsHost::EditorFont() const {
  const TFontSettings settings = m_window.EditorFontSettings();
  TFontChoice font;
  font.Name = settings.Name;
  font.Size = settings.Size;
  font.Color = static_cast<std::uint32_t>(settings.Color);
  font.Charset = settings.Charset;
  font.Style = settings.Style;
  return font;
}

void TMainPrefsHost::SetEditorFont(const TFontChoice& font) {
  TFontSettings settings;
  settings.Name = font.Name;
  settings.Size = font.Size;
  settings.Color = static_cast<std::int32_t>(font.Color);
  settings.Charset = font.Charset;
  settings.Style = font.Style;
  m_window.SetEditorFontSettings(settings);
}

std::uint32_t TMainPrefsHost::EditorBgColor() const { return m_window.EditorBgColor(); }

void TMainPrefsHost::SetEditorBgColor(std::uint32_t color) { m_window.SetEditorBgColor(color); }

std::uint32_t TMainPrefsHost::GutterColor() const { return m_window.GutterColor(); }

void TMainPrefsHost::SetGutterColor(std::uint32_t color) { m_window.SetGutterColor(color); }

int TMainPrefsHost::GutterWidth() const { return m_window.syntxm1()->Gutter().Width(); }

void TMainPrefsHost::SetGutterWidth(int pixels) { m_window.syntxm1()->Gutter().SetWidth(pixels < 0 ? 0 : pixels); }

std::string TMainPrefsHost::TabListText() const { return std::to_string(m_window.TabWidth()); }

void TMainPrefsHost::SetTabListText(const std::string& text) { m_window.SetTabListText(text); }

bool TMainPrefsHost::WordWrap() const { return m_window.syntxm1()->WordWrap(); }

void TMainPrefsHost::SetWordWrap(bool on) { m_window.syntxm1()->SetWordWrap(on); }

bool TMainPrefsHost::LineNumbers() const { return m_window.syntxm1()->Gutter().LineNumbers().Visible(); }

void TMainPrefsHost::SetLineNumbers(bool visible) { m_window.syntxm1()->Gutter().LineNumbers().SetVisible(visible); }

bool TMainPrefsHost::UndoAfterSave() const { return (m_window.syntxm1()->Options() & soUndoAfterSave) != 0; }

void TMainPrefsHost::SetUndoAfterSave(bool on) {
  TSyntaxMemo& editor = *m_window.syntxm1();
  editor.SetOptions(on ? (editor.Options() | soUndoAfterSave) : (editor.Options() & ~soUndoAfterSave));
}

bool TMainPrefsHost::AutoCompletion() const { return m_window.AutoCompletion(); }

void TMainPrefsHost::SetAutoCompletion(bool enabled) { m_window.SetAutoCompletion(enabled); }

void TMainPrefsHost::RepaintEditor() { m_window.syntxm1()->viewport()->update(); }

bool TMainPrefsHost::OpenLastUsed() const { return m_window.OpenLastUsed(); }

void TMainPrefsHost::SetOpenLastUsed(bool value) { m_window.SetOpenLastUsed(value); }

bool TMainPrefsHost::CreateNewStart() const { return m_window.CreateNewStart(); }

void TMainPrefsHost::SetCreateNewStart(bool value) { m_window.SetCreateNewStart(value); }

bool TMainPrefsHost::EmptyScr() const { return m_window.EmptyScr(); }

void TMainPrefsHost::SetEmptyScr(bool value) { m_window.SetEmptyScr(value); }

int TMainPrefsHost::PrefsTab() const { return m_window.PrefsTab(); }

int TMainPrefsHost::MruCapacity() const { return m_window.mrfls().MaxEntries(); }

void TMainPrefsHost::SetMruCapacity(int capacity) { m_window.mrfls().SetMaxEntries(static_cast<std::uint8_t>(capacity & 0xFF)); }

TSyntAnalyzer& TMainPrefsHost::Analyzer() { return *m_window.syntnlyzr1(); }

std::string TMainPrefsHost::ProgramFolder() const { return m_window.ProgramFolder(); }

void TMainPrefsHost::ShowHelp() { m_window.ShowHelpContents(); }

}  // namespace penwick
