// One line of the text as the window shows it: where its rows are on screen.
#pragma once

namespace penwick {

// A line with at least one row inside the window. Top is the viewport y of
// the line's first row (negative when the line starts above the window, a
// wrapped line scrolled part way), Height the pixel height of all its rows.
// FirstRow is the visual row of its first sub-line.
struct TVisibleLine {
  int Line = 0;
  int FirstRow = 0;
  int Rows = 1;
  int Top = 0;
  int Height = 0;
  bool Folded = false;  // the first line of a folded range
};

}  // namespace penwick
