// A TPrefsHost over plain fields and a real lexer definition, with a program
// folder of its own holding copies of the shipped themes: the preferences
// dialog's logic and form run against it without a main window.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#include "prefs/PrefsHost.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {

class FakePrefsHost : public TPrefsHost {
public:
  // Creates a fresh program folder under the temporary directory with
  // "Themes/Tallowby.lcf" and "Themes/Dark.lcf" copied from the source
  // tree (PENWICK_SOURCE_DIR); the folder is removed with the host.
  FakePrefsHost() {
    std::random_device seed;
    m_folder = std::filesystem::temp_directory_path() / ("penwick-prefs-" + std::to_string(seed()));
    const std::filesystem::path themes = m_folder / "Themes";
    std::filesystem::create_directories(themes);
    const char* root = std::getenv("PENWICK_SOURCE_DIR");
    const std::filesystem::path source = std::filesystem::path(root ? root : ".") / "themes";
    for (const char* name : {"Tallowby.lcf", "Dark.lcf"})
      std::filesystem::copy_file(source / name, themes / name);
  }
  ~FakePrefsHost() override {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }
  FakePrefsHost(const FakePrefsHost&) = delete;
  FakePrefsHost& operator=(const FakePrefsHost&) = delete;

  const std::filesystem::path& Folder() const { return m_folder; }
  std::filesystem::path ThemeFile(const char* name) const { return m_folder / "Themes" / name; }

  // The live values, set freely by tests.
  TFontChoice Font{"Courier New", 10, 0, 1, 0};
  std::uint32_t BgColor = 0x00123456u;
  std::uint32_t Gutter = 0x00C0C0C0u;
  int GutterPixels = 30;
  std::string TabList = "4";
  bool Wrap = false;
  bool Numbers = true;
  bool UndoAfterSaveOption = false;
  bool AutoCompletionEnabled = true;
  bool OpenLast = true;
  bool CreateNew = false;
  bool Empty = true;
  int Tab = 0;
  int Capacity = 10;
  int Repaints = 0;
  TSyntAnalyzer Lexer;

  TFontChoice EditorFont() const override { return Font; }
  void SetEditorFont(const TFontChoice& font) override { Font = font; }
  std::uint32_t EditorBgColor() const override { return BgColor; }
  void SetEditorBgColor(std::uint32_t color) override { BgColor = color; }
  std::uint32_t GutterColor() const override { return Gutter; }
  void SetGutterColor(std::uint32_t color) override { Gutter = color; }
  int GutterWidth() const override { return GutterPixels; }
  void SetGutterWidth(int pixels) override { GutterPixels = pixels; }
  std::string TabListText() const override { return TabList; }
  void SetTabListText(const std::string& text) override { TabList = text; }
  bool WordWrap() const override { return Wrap; }
  void SetWordWrap(bool on) override { Wrap = on; }
  bool LineNumbers() const override { return Numbers; }
  void SetLineNumbers(bool visible) override { Numbers = visible; }
  bool UndoAfterSave() const override { return UndoAfterSaveOption; }
  void SetUndoAfterSave(bool on) override { UndoAfterSaveOption = on; }
  bool AutoCompletion() const override { return AutoCompletionEnabled; }
  void SetAutoCompletion(bool enabled) override { AutoCompletionEnabled = enabled; }
  void RepaintEditor() override { ++Repaints; }
  bool OpenLastUsed() const override { return OpenLast; }
  void SetOpenLastUsed(bool value) override { OpenLast = value; }
  bool CreateNewStart() const override { return CreateNew; }
  void SetCreateNewStart(bool value) override { CreateNew = value; }
  bool EmptyScr() const override { return Empty; }
  void SetEmptyScr(bool value) override { Empty = value; }
  int PrefsTab() const override { return Tab; }
  int MruCapacity() const override { return Capacity; }
  void SetMruCapacity(int capacity) override { Capacity = capacity; }
  TSyntAnalyzer& Analyzer() override { return Lexer; }
  std::string ProgramFolder() const override { return m_folder.string(); }
  void ShowHelp() override {
    ++HelpShown;
    if (!HelpError.empty()) throw std::runtime_error(HelpError);
  }
  int HelpShown = 0;
  std::string HelpError;  // raised by ShowHelp when not empty

private:
  std::filesystem::path m_folder;
};

}  // namespace penwick::test
