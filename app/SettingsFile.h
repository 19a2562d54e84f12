// The keys of the editor's settings file: their defaults, the order they are
// read and written in, and the encodings of colours and fonts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace penwick {

class TIniFile;

// A colour's text form: its name when it has one ("clRed", "clBtnFace"),
// else "$" and its 32 bits as eight upper-case hexadecimal digits.
std::string ColorToString(std::uint32_t color);
// A name (any letter case) or an integer as settings files write them;
// nullopt for anything else.
std::optional<std::uint32_t> StringToColor(std::string_view text);
// The colour under a key; a missing key, or a value that is neither a name
// nor a number, gives the colour `defaultText` names.
std::uint32_t ReadColor(const TIniFile& ini, std::string_view section, std::string_view key,
                        std::string_view defaultText);
void WriteColor(TIniFile& ini, std::string_view section, std::string_view key, std::uint32_t color);

// The editor font as the settings file keeps it.
struct TFontSettings {
  std::string Name = "Courier New";
  int Size = 10;                    // points
  std::int32_t Color = -16777208;   // a colour value as a signed number (clWindowText)
  int Charset = 1;                  // 0..255; 1 is the default set
  int Style = 0;                    // 1 bold + 2 italic + 4 underline + 8 strike-out
};

// Reads the keys `prefix` + "_Name", "_Size", "_Color", "_Charset", "_Style"
// of `section` in that order, each with the font's current value as its
// default. The style bits read are added to the font's style: a bit is
// never cleared. A character set outside 0..255 keeps the current one.
void ReadFontSettings(TFontSettings& font, const TIniFile& ini, std::string_view section, std::string_view prefix);
// Writes the same keys in the same order.
void WriteFontSettings(const TFontSettings& font, TIniFile& ini, std::string_view section, std::string_view prefix);

// Everything the main window keeps in its settings file except the recent
// files. The member defaults are what a first start without a settings file
// gets, except the placement and the font, which default to the window's
// and the editor's current values.
struct TEditorSettings {
  int Top = 155;
  int Left = 440;
  int Width = 773;
  int Height = 497;
  bool ShowTlb = true;
  bool ShowStatb = true;
  int GutterW = 40;
  std::uint32_t BgColor = 0x00000000u;   // clBlack
  std::uint32_t GtrColor = 0xFF00000Fu;  // clBtnFace
  int TabW = 5;
  bool WordWrap = true;
  bool LineNr = true;
  bool UndoAfSave = false;
  bool AutoCm = true;
  bool OpenLastUsed = false;
  bool CreateNewStart = true;
  std::uint8_t MaxMru = 9;  // only the low eight bits of the stored number count
  bool EmptyScr = true;
  int PrefsTab = 0;         // 0 General, 1 Editor, 2 Colors; anything else reads as 0
  bool WndMax = true;
  TFontSettings Font;
};

// Reads every key in the file's order. `current` gives the placement and the
// font defaults; every other key has the default above. Nothing raises: a
// missing, unreadable or broken file gives defaults key by key.
TEditorSettings ReadEditorSettings(const TIniFile& ini, const TEditorSettings& current);
// The recent-files capacity alone, for reading before the list is loaded.
std::uint8_t ReadMaxMru(const TIniFile& ini);
// Writes every key in the file's order; the first failed write raises
// EIniFileError and the rest are not tried.
void WriteEditorSettings(TIniFile& ini, const TEditorSettings& settings);

}  // namespace penwick
