// The colour themes and their loading into the live lexer definition.
#include "prefs/Themes.h"

#include "prefs/PrefsHost.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

namespace {

struct TTheme {
  const char* Caption;
  const char* File;
  std::uint32_t Background;
};

constexpr TTheme kThemes[kThemeCount] = {
    {"Tallowby Theme", "Themes/Tallowby.lcf", 0xFFFFFFu},
    {"Dark Theme", "Themes/Dark.lcf", 0x000000u},
};

bool Valid(int index) { return index >= 0 && index < kThemeCount; }

}  // namespace

std::string ThemeCaption(int index) { return Valid(index) ? kThemes[index].Caption : std::string(); }

std::string ThemeFileName(int index) { return Valid(index) ? kThemes[index].File : std::string(); }

std::uint32_t ThemeBackground(int index) { return Valid(index) ? kThemes[index].Background : 0u; }

std::string ThemeFilePath(const std::string& programFolder, int index) {
  if (!Valid(index)) return {};
  std::string path = programFolder;
  if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
  return path + kThemes[index].File;
}

void LoadTheme(int index, TPrefsHost& host, TUserDialogs& dialogs) {
  if (!Valid(index)) return;
  // Raises before anything changes when the file cannot be opened.
  host.Analyzer().LoadFromFile(ThemeFilePath(host.ProgramFolder(), index), &dialogs);
  host.SetEditorBgColor(ThemeBackground(index));
  host.RepaintEditor();
}

}  // namespace penwick
