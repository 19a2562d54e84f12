// The colour themes: complete lexer files beside the program, loaded into
// the live lexer definition, each with the editor background it is made for.
#pragma once

#include <cstdint>
#include <string>

namespace penwick {

class TPrefsHost;
class TUserDialogs;

inline constexpr int kThemeCount = 2;

// "Tallowby Theme", "Dark Theme"; empty for any other index.
std::string ThemeCaption(int index);
// The file below the program folder: "Themes/Tallowby.lcf", "Themes/Dark.lcf";
// empty for any other index.
std::string ThemeFileName(int index);
// clWhite (0xFFFFFF) for index 0, clBlack (0) for index 1, 0 otherwise.
std::uint32_t ThemeBackground(int index);
// The theme file's full path: the program folder, a separator, ThemeFileName.
std::string ThemeFilePath(const std::string& programFolder, int index);

// Loads theme `index` into host.Analyzer() (lines it cannot apply are asked
// about through `dialogs`, as at start-up), then sets the editor background
// from the table and repaints the editor. Any other index does nothing. A
// file that cannot be opened raises "Cannot open file "<path>". <reason>"
// before anything changes: the definition and the background stay.
void LoadTheme(int index, TPrefsHost& host, TUserDialogs& dialogs);

}  // namespace penwick
