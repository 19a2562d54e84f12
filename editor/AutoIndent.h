// The indentation rules of the typing keys: how far Enter indents a new line
// and what one Backspace takes back at the end of a line's indentation.
// Pure functions of the text, the tab stops and the caret.
#pragma once

#include <optional>
#include <string>

#include "editor/MemoEditor.h"

namespace penwick {

// Whether the line holds nothing but spaces and tabs (an empty line is
// blank). A line outside the store is blank.
bool IsBlankLine(const TSyntMemoStrings& lines, int line);

// Visual width of the line's leading spaces and tabs (a tab reaching the
// next stop); a blank line has none.
int IndentWidth(const TSyntMemoStrings& lines, const TTabList& tabs, int line);

// The indentation of a line broken at `caret`: that of the nearest line at or
// above the caret's line that is not blank and whose indentation is at most
// the caret's visual column (a caret beyond the end of the text counts one
// column per place); 0 when there is none. O(lines above × their length) in
// the worst case: it stops at the first line that fits.
int NewLineIndentWidth(const TSyntMemoStrings& lines, const TTabList& tabs, TPoint caret);

// The text of an indentation `width` columns wide from column 0: spaces, or
// under tmTabChar tabs as far as the stops allow and spaces for the rest.
std::string IndentText(int width, const TTabList& tabs, TTabMode mode);

// One Backspace step of unindentation on the caret's line: the characters
// [FromX, ToX) are replaced by PadSpaces spaces (a tab that straddles the
// target column is replaced by the spaces that reach it). The caret ends at
// FromX + PadSpaces.
struct TUnindentStep {
  int FromX = 0;
  int ToX = 0;
  int PadSpaces = 0;
  friend bool operator==(const TUnindentStep& a, const TUnindentStep& b) {
    return a.FromX == b.FromX && a.ToX == b.ToX && a.PadSpaces == b.PadSpaces;
  }
};

// The unindent step when it applies: the caret inside the line's text (not
// beyond its end, not at column 0), at the end of the line's indentation or
// on a blank line. The target column is the indentation of the nearest line
// above that is not blank and is indented less than the caret's visual
// column, or 0. Nothing when the rule does not apply or the step would
// delete nothing: Backspace then deletes the character before the caret, so
// an unindented or empty line still joins the line above.
std::optional<TUnindentStep> BackUnindentStep(const TSyntMemoStrings& lines, const TTabList& tabs, TPoint caret);

}  // namespace penwick
