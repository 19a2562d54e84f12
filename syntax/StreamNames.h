// The names that stored values may take instead of numbers: colours,
// character sets, and the identifiers of enumerations and sets.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace penwick {

// Colours: the named colour for a 32-bit value (red in the low byte; system
// colours are 0xFF000000 plus their index), and back. Names compare without
// regard to case; nullopt / empty when there is none.
std::string ColorName(std::uint32_t color);
std::optional<std::uint32_t> ColorByName(std::string_view name);

// Character sets (ANSI_CHARSET 0 ... OEM_CHARSET 255), the same way.
std::string CharsetName(int charset);
std::optional<int> CharsetByName(std::string_view name);

// Identifiers of an enumeration, in declaration order (the value is the index).
using TNameList = std::span<const char* const>;
TNameList FormatTypeNames();      // ftCustomFont ...
TNameList VertAlignmentNames();   // vaTop ...
TNameList BorderLineNames();      // blNone ...
TNameList ChangeCaseNames();      // ccNone ...
TNameList BlockTypeNames();       // btTagDetect ...
TNameList LinePosNames();         // lbTop, lbBottom
TNameList DynHighlightNames();    // dhNone ...
TNameList HighlightPosNames();    // cpAny ...
TNameList AutoCloseModeNames();   // acmDisabled ...
TNameList CondTypeNames();        // tcEqual ...
TNameList PenModeNames();         // pmBlack ... pmNotXor
TNameList PenStyleNames();        // psSolid ... psInsideFrame
TNameList FontPitchNames();       // fpDefault, fpVariable, fpFixed
// Members of sets: bit n is the n-th name.
TNameList FontStyleNames();       // fsBold, fsItalic, fsUnderline, fsStrikeOut
TNameList FormatFlagNames();      // ffBold ... ffVertAlign

// Names compare without regard to case (ASCII letters only).
bool SameName(std::string_view a, std::string_view b);

// The index of `name` in `names` (without regard to case), or -1.
int IndexOfName(TNameList names, std::string_view name);

}  // namespace penwick
