// The styles the editor draws its own marks in when the lexer defines none.
#pragma once

#include <functional>

#include "syntax/SyntaxFormat.h"

namespace penwick {

// Four free styles (owned by no collection), laid over a drawing state by
// the same rule as the lexer's styles. Whoever changes a field calls
// Changed(), which tells OnChanged (the widget repaints).
//  - SelectioMark: the selection, drawn over everything else;
//  - SearchMark: search marks, when the lexer has no search-match style;
//  - CurrentLine: the caret's line, when the lexer has no current-line
//    style; disabled by default;
//  - CollapseMark: the box after the first line of a folded range; its
//    border colour (top) is the box's frame.
class TDefaultStyles {
public:
  TDefaultStyles();
  TDefaultStyles(const TDefaultStyles&) = delete;
  TDefaultStyles& operator=(const TDefaultStyles&) = delete;

  TSyntaxFormat SelectioMark;
  TSyntaxFormat SearchMark;
  TSyntaxFormat CurrentLine;
  TSyntaxFormat CollapseMark;

  void Changed() {
    if (OnChanged) OnChanged();
  }
  std::function<void()> OnChanged;
};

}  // namespace penwick
