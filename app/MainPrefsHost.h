// The main window as the preferences dialog sees it: the live editor
// settings, the window's start-up fields, the recent-files capacity and the
// lexer definition the themes and the style editor change.
#pragma once

#include "prefs/PrefsHost.h"

namespace penwick {

class TfrmMain;

class TMainPrefsHost : public TPrefsHost {
public:
  // `window` is not owned and must outlive the host.
  explicit TMainPrefsHost(TfrmMain& window) : m_window(window) {}

  // The font's size in points, its colour value as the window keeps it
  // (system colours keep their names) and its character set.
  TFontChoice EditorFont() const override;
  void SetEditorFont(const TFontChoice& font) override;
  std::uint32_t EditorBgColor() const override;
  void SetEditorBgColor(std::uint32_t color) override;
  std::uint32_t GutterColor() const override;
  void SetGutterColor(std::uint32_t color) override;
  int GutterWidth() const override;
  // A negative width is taken as 0.
  void SetGutterWidth(int pixels) override;
  // The window's tab width as text; the setter keeps the number as the tab
  // width and hands the editor the text (raises for text that is no whole
  // number, changing nothing).
  std::string TabListText() const override;
  void SetTabListText(const std::string& text) override;
  bool WordWrap() const override;
  void SetWordWrap(bool on) override;
  bool LineNumbers() const override;
  void SetLineNumbers(bool visible) override;
  bool UndoAfterSave() const override;
  void SetUndoAfterSave(bool on) override;
  bool AutoCompletion() const override;
  void SetAutoCompletion(bool enabled) override;
  void RepaintEditor() override;

  bool OpenLastUsed() const override;
  void SetOpenLastUsed(bool value) override;
  bool CreateNewStart() const override;
  void SetCreateNewStart(bool value) override;
  bool EmptyScr() const override;
  void SetEmptyScr(bool value) override;
  int PrefsTab() const override;

  // Values beyond 0..255 keep their low 8 bits; the list is trimmed to it.
  int MruCapacity() const override;
  void SetMruCapacity(int capacity) override;

  TSyntAnalyzer& Analyzer() override;
  std::string ProgramFolder() const override;
  void ShowHelp() override;

private:
  TfrmMain& m_window;
};

}  // namespace penwick
