// Reading and writing the editor's settings file, key by key, in its order.
#include "app/SettingsFile.h"

#include <cstdio>

#include "platform/IniFile.h"
#include "syntax/StreamNames.h"

namespace penwick {

namespace {

constexpr std::string_view kPlacement = "PLACEMENT";
constexpr std::string_view kEditor = "EDITOR";

std::string Key(std::string_view prefix, std::string_view suffix) { return std::string(prefix) + std::string(suffix); }

}  // namespace

std::string ColorToString(std::uint32_t color) {
  std::string name = ColorName(color);
  if (!name.empty()) return name;
  char text[16];
  std::snprintf(text, sizeof text, "$%.8X", static_cast<unsigned>(color));
  return text;
}

std::optional<std::uint32_t> StringToColor(std::string_view text) {
  if (const auto named = ColorByName(text)) return named;
  if (const auto number = ParseProfileInteger(text)) return static_cast<std::uint32_t>(*number);
  return std::nullopt;
}

std::uint32_t ReadColor(const TIniFile& ini, std::string_view section, std::string_view key,
                        std::string_view defaultText) {
  const std::uint32_t fallback = StringToColor(defaultText).value_or(0);
  return StringToColor(ini.ReadString(section, key, defaultText)).value_or(fallback);
}

void WriteColor(TIniFile& ini, std::string_view section, std::string_view key, std::uint32_t color) {
  ini.WriteString(section, key, ColorToString(color));
}

void ReadFontSettings(TFontSettings& font, const TIniFile& ini, std::string_view section, std::string_view prefix) {
  const std::string name = ini.ReadString(section, Key(prefix, "_Name"), font.Name);
  if (!name.empty()) font.Name = name;
  font.Size = ini.ReadInteger(section, Key(prefix, "_Size"), font.Size);
  font.Color = ini.ReadInteger(section, Key(prefix, "_Color"), font.Color);
  const int charset = ini.ReadInteger(section, Key(prefix, "_Charset"), font.Charset);
  if (charset >= 0 && charset <= 255) font.Charset = charset;
  font.Style |= ini.ReadInteger(section, Key(prefix, "_Style"), 0) & 0xF;
}

void WriteFontSettings(const TFontSettings& font, TIniFile& ini, std::string_view section, std::string_view prefix) {
  ini.WriteString(section, Key(prefix, "_Name"), font.Name);
  ini.WriteInteger(section, Key(prefix, "_Size"), font.Size);
  ini.WriteInteger(section, Key(prefix, "_Color"), font.Color);
  ini.WriteInteger(section, Key(prefix, "_Charset"), font.Charset);
  ini.WriteInteger(section, Key(prefix, "_Style"), font.Style & 0xF);
}

std::uint8_t ReadMaxMru(const TIniFile& ini) {
  return static_cast<std::uint8_t>(ini.ReadInteger(kEditor, "MaxMru", 9) & 0xFF);
}

TEditorSettings ReadEditorSettings(const TIniFile& ini, const TEditorSettings& current) {
  const TEditorSettings defaults;
  TEditorSettings s;
  s.Top = ini.ReadInteger(kPlacement, "Top", current.Top);
  s.Left = ini.ReadInteger(kPlacement, "Left", current.Left);
  s.Width = ini.ReadInteger(kPlacement, "Width", current.Width);
  s.Height = ini.ReadInteger(kPlacement, "Height", current.Height);
  s.ShowTlb = ini.ReadBool(kEditor, "ShowTlb", defaults.ShowTlb);
  s.ShowStatb = ini.ReadBool(kEditor, "ShowStatb", defaults.ShowStatb);
  s.GutterW = ini.ReadInteger(kEditor, "GutterW", defaults.GutterW);
  s.BgColor = ReadColor(ini, kEditor, "BGCOLOR", "clBlack");
  s.GtrColor = ReadColor(ini, kEditor, "GtrColor", "clBtnFace");
  s.TabW = ini.ReadInteger(kEditor, "TabW", defaults.TabW);
  s.WordWrap = ini.ReadBool(kEditor, "WordWrap", defaults.WordWrap);
  s.LineNr = ini.ReadBool(kEditor, "LineNr", defaults.LineNr);
  s.UndoAfSave = ini.ReadBool(kEditor, "UndoAfSave", defaults.UndoAfSave);
  s.AutoCm = ini.ReadBool(kEditor, "AutoCm", defaults.AutoCm);
  s.OpenLastUsed = ini.ReadBool(kEditor, "OpenLastUsed", defaults.OpenLastUsed);
  s.CreateNewStart = ini.ReadBool(kEditor, "CreateNewStart", defaults.CreateNewStart);
  s.MaxMru = ReadMaxMru(ini);
  s.EmptyScr = ini.ReadBool(kEditor, "EmptyScr", defaults.EmptyScr);
  s.PrefsTab = ini.ReadInteger(kEditor, "PrefsTab", defaults.PrefsTab);
  if (s.PrefsTab < 0 || s.PrefsTab > 2) s.PrefsTab = defaults.PrefsTab;
  s.WndMax = ini.ReadBool(kEditor, "WndMax", defaults.WndMax);
  s.Font = current.Font;
  ReadFontSettings(s.Font, ini, "edtFont", "Courier New");
  return s;
}

void WriteEditorSettings(TIniFile& ini, const TEditorSettings& s) {
  ini.WriteBool(kEditor, "ShowTlb", s.ShowTlb);
  ini.WriteBool(kEditor, "ShowStatb", s.ShowStatb);
  ini.WriteInteger(kPlacement, "Top", s.Top);
  ini.WriteInteger(kPlacement, "Left", s.Left);
  ini.WriteInteger(kPlacement, "Width", s.Width);
  ini.WriteInteger(kPlacement, "Height", s.Height);
  WriteFontSettings(s.Font, ini, "edtFont", "Courier New");
  ini.WriteInteger(kEditor, "GutterW", s.GutterW);
  WriteColor(ini, kEditor, "BgColor", s.BgColor);
  WriteColor(ini, kEditor, "GtrColor", s.GtrColor);
  ini.WriteInteger(kEditor, "TabW", s.TabW);
  ini.WriteBool(kEditor, "WordWrap", s.WordWrap);
  ini.WriteBool(kEditor, "LineNr", s.LineNr);
  ini.WriteBool(kEditor, "UndoAfSave", s.UndoAfSave);
  ini.WriteBool(kEditor, "AutoCm", s.AutoCm);
  ini.WriteBool(kEditor, "OpenLastUsed", s.OpenLastUsed);
  ini.WriteBool(kEditor, "CreateNewStart", s.CreateNewStart);
  ini.WriteInteger(kEditor, "MaxMru", s.MaxMru);
  ini.WriteBool(kEditor, "EmptyScr", s.EmptyScr);
  ini.WriteInteger(kEditor, "PrefsTab", s.PrefsTab);
  ini.WriteBool(kEditor, "WndMax", s.WndMax);
}

}  // namespace penwick
