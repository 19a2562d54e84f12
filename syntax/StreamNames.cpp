// The tables of named colours, character sets and identifiers.
#include "syntax/StreamNames.h"

#include "platform/AsciiText.h"

#include <iterator>

namespace penwick {

namespace {

struct TNamedValue {
  const char* Name;
  std::int64_t Value;
};

constexpr std::int64_t kSystem = 0xFF000000;

constexpr TNamedValue kColors[] = {
    {"clBlack", 0}, {"clMaroon", 128}, {"clGreen", 32768}, {"clOlive", 32896}, {"clNavy", 8388608},
    {"clPurple", 8388736}, {"clTeal", 8421376}, {"clGray", 8421504}, {"clSilver", 12632256},
    {"clRed", 255}, {"clLime", 65280}, {"clYellow", 65535}, {"clBlue", 16711680},
    {"clFuchsia", 16711935}, {"clAqua", 16776960}, {"clWhite", 16777215},
    {"clMoneyGreen", 12639424}, {"clSkyBlue", 15780518}, {"clCream", 15793151},
    {"clMedGray", 10789024}, {"clNone", 536870911}, {"clDefault", 536870912},
    {"clScrollBar", kSystem + 0}, {"clBackground", kSystem + 1}, {"clActiveCaption", kSystem + 2},
    {"clInactiveCaption", kSystem + 3}, {"clMenu", kSystem + 4}, {"clWindow", kSystem + 5},
    {"clWindowFrame", kSystem + 6}, {"clMenuText", kSystem + 7}, {"clWindowText", kSystem + 8},
    {"clCaptionText", kSystem + 9}, {"clActiveBorder", kSystem + 10}, {"clInactiveBorder", kSystem + 11},
    {"clAppWorkSpace", kSystem + 12}, {"clHighlight", kSystem + 13}, {"clHighlightText", kSystem + 14},
    {"clBtnFace", kSystem + 15}, {"clBtnShadow", kSystem + 16}, {"clGrayText", kSystem + 17},
    {"clBtnText", kSystem + 18}, {"clInactiveCaptionText", kSystem + 19}, {"clBtnHighlight", kSystem + 20},
    {"cl3DDkShadow", kSystem + 21}, {"cl3DLight", kSystem + 22}, {"clInfoText", kSystem + 23},
    {"clInfoBk", kSystem + 24}, {"clHotLight", kSystem + 26}, {"clGradientActiveCaption", kSystem + 27},
    {"clGradientInactiveCaption", kSystem + 28}, {"clMenuHighlight", kSystem + 29},
    {"clMenuBar", kSystem + 30},
};

constexpr TNamedValue kCharsets[] = {
    {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"SYMBOL_CHARSET", 2}, {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129}, {"JOHAB_CHARSET", 130},
    {"GB2312_CHARSET", 134}, {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162}, {"HEBREW_CHARSET", 177}, {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186}, {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},
    {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};

template <std::size_t N>
const char* NameOf(const TNamedValue (&table)[N], std::int64_t value) {
  for (const TNamedValue& v : table)
    if (v.Value == value) return v.Name;
  return nullptr;
}

template <std::size_t N>
std::optional<std::int64_t> ValueOf(const TNamedValue (&table)[N], std::string_view name) {
  for (const TNamedValue& v : table)
    if (SameAsciiText(v.Name, name)) return v.Value;
  return std::nullopt;
}

constexpr const char* kFormatTypes[] = {"ftCustomFont", "ftFontAttr", "ftColor", "ftBackGround"};
constexpr const char* kVertAlignments[] = {"vaTop", "vaCenter", "vaBottom"};
constexpr const char* kBorderLines[] = {"blNone", "blSolid", "blDash", "blDot", "blDashDot",
                                        "blDashDotDot", "blSolid2", "blSolid3", "blWavyLine", "blDouble"};
constexpr const char* kChangeCases[] = {"ccNone", "ccUpper", "ccLower", "ccToggle", "ccTitle"};
constexpr const char* kBlockTypes[] = {"btTagDetect", "btLineBreak", "btRangeStart", "btRangeEnd"};
constexpr const char* kLinePositions[] = {"lbTop", "lbBottom"};
constexpr const char* kDynHighlights[] = {"dhNone", "dhBound", "dhRangeNoBound", "dhRange"};
constexpr const char* kHighlightPositions[] = {"cpAny", "cpBound", "cpBoundTag", "cpRange", "cpBoundTagBegin", "cpOutOfRange"};
constexpr const char* kAutoCloseModes[] = {"acmDisabled", "acmCloseNearest", "acmCloseOpened"};
constexpr const char* kCondTypes[] = {"tcEqual", "tcNotEqual", "tcMask", "tcSkip"};
constexpr const char* kPenModes[] = {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                                     "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen",
                                     "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"};
constexpr const char* kPenStyles[] = {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
constexpr const char* kFontPitches[] = {"fpDefault", "fpVariable", "fpFixed"};
constexpr const char* kFontStyles[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
constexpr const char* kFormatFlags[] = {"ffBold", "ffItalic", "ffUnderline", "ffStrikeOut", "ffReadOnly",
                                        "ffHidden", "ffFontName", "ffFontSize", "ffFontCharset", "ffVertAlign"};

}  // namespace

std::string ColorName(std::uint32_t color) {
  const char* name = NameOf(kColors, color);
  return name ? name : std::string();
}

std::optional<std::uint32_t> ColorByName(std::string_view name) {
  if (auto v = ValueOf(kColors, name)) return static_cast<std::uint32_t>(*v);
  return std::nullopt;
}

std::string CharsetName(int charset) {
  const char* name = NameOf(kCharsets, charset);
  return name ? name : std::string();
}

std::optional<int> CharsetByName(std::string_view name) {
  if (auto v = ValueOf(kCharsets, name)) return static_cast<int>(*v);
  return std::nullopt;
}

TNameList FormatTypeNames() { return kFormatTypes; }
TNameList VertAlignmentNames() { return kVertAlignments; }
TNameList BorderLineNames() { return kBorderLines; }
TNameList ChangeCaseNames() { return kChangeCases; }
TNameList BlockTypeNames() { return kBlockTypes; }
TNameList LinePosNames() { return kLinePositions; }
TNameList DynHighlightNames() { return kDynHighlights; }
TNameList HighlightPosNames() { return kHighlightPositions; }
TNameList AutoCloseModeNames() { return kAutoCloseModes; }
TNameList CondTypeNames() { return kCondTypes; }
TNameList PenModeNames() { return kPenModes; }
TNameList PenStyleNames() { return kPenStyles; }
TNameList FontPitchNames() { return kFontPitches; }
TNameList FontStyleNames() { return kFontStyles; }
TNameList FormatFlagNames() { return kFormatFlags; }

bool SameName(std::string_view a, std::string_view b) { return SameAsciiText(a, b); }

int IndexOfName(TNameList names, std::string_view name) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (SameAsciiText(names[i], name)) return static_cast<int>(i);
  return -1;
}

}  // namespace penwick
