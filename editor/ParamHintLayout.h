// Where the texts of the parameter hint go: its declarations split into
// parameter pieces, the current one bold, wrapped to the room there is.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace penwick {

// Splits a declaration at every separator, each piece keeping its separator
// at its end: "Float X, Float Y, Float Z" with ',' gives "Float X,",
// " Float Y," and " Float Z". Two separators in a row give a piece that is
// the separator alone. Text after the last separator is a piece only when
// it is not empty, so "A," gives the one piece "A," and "" gives none.
std::vector<std::string> SplitDeclaration(std::string_view declaration, char separator);

// One piece as drawn: its text, in bold when it is the current parameter,
// at X (left) and Y (top of its line), in pixels of the hint window, whose
// 1-pixel frame lies at x = 0 and y = 0.
struct TParamHintPiece {
  std::string Text;
  bool Bold = false;
  int X = 0;
  int Y = 0;
  bool operator==(const TParamHintPiece&) const = default;
};

// The hint window's contents and size. SeparatorY holds the row of each line
// drawn between two shown declarations. Width x Height is the window's size
// including its frame; 0 x 0 means there is nothing to show.
struct TParamHintLayout {
  std::vector<TParamHintPiece> Pieces;
  std::vector<int> SeparatorY;
  int Width = 0;
  int Height = 0;
};

// Lays out `declarations` for the parameter index `currentParam`:
//  - each declaration is split at `separator`; with `filterItems` a
//    declaration is shown only when it has more pieces than `currentParam`
//    (a negative index shows every declaration that has a piece), without it
//    every declaration is shown (an empty one as an empty line);
//  - each shown declaration starts a new line at x = 2; its pieces follow one
//    another, the one at `currentParam` bold; a piece that would make the
//    window wider than `availableWidth` starts a new line, unless it is the
//    first on its line (then it is kept and the window is wider);
//  - lines are `lineHeight` high from y = 1; between two shown declarations
//    a separator row lies 1 pixel below the first and the next declaration
//    starts 1 pixel below it;
//  - the size is the widest line (sum of its piece widths) plus 5 by the
//    total height (bottom of the last line) plus 1; a total height under 4
//    gives 0 x 0.
// `textWidth(text, bold)` measures a piece in pixels; it is called only for
// shown pieces.
TParamHintLayout LayoutParamHint(const std::vector<std::string>& declarations, int currentParam, bool filterItems,
                                 char separator, int availableWidth, int lineHeight,
                                 const std::function<int(std::string_view, bool)>& textWidth);

}  // namespace penwick
