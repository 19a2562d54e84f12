// The parts of the editor's view model wired as the widget wires them, for
// tests without a window.
#pragma once

#include <string>
#include <vector>

#include "editor/FoldState.h"
#include "editor/MemoEditor.h"
#include "editor/TabList.h"
#include "editor/TextMeasure.h"
#include "editor/ViewNavigator.h"
#include "editor/ViewRows.h"
#include "editor/WrapLayout.h"

namespace penwick {

// Cells 8 px wide, rows 16 px tall; word wrap at `cells` cells when given.
struct TViewModel {
  explicit TViewModel(const std::string& text = std::string(), int cells = 0) {
    editor.Lines().SetText(text);
    if (cells > 0) {
      wrap.SetWordWrap(true);
      wrap.SetWrapWidth(cells * 8);
    }
  }
  TSyntMemoStrings& Lines() { return editor.Lines(); }

  // Every row from the top as (line, sub-line), by walking the lines: the
  // rows the model must give.
  std::vector<TRowPos> WalkRows() {
    std::vector<TRowPos> result;
    for (int line = 0; line < wrap.LineCount(); ++line) {
      if (folds.IsLineHidden(line)) continue;
      for (int sub = 0; sub < wrap.SubLineCount(line); ++sub) result.push_back(TRowPos{line, sub});
    }
    return result;
  }

  TMemoEditor editor;
  TFixedTextMeasure measure{8, 16};
  TWrapLayout wrap{editor.Lines(), editor.TabList(), measure};
  TFoldState folds{editor.Lines()};
  TViewRows rows{editor.Lines(), editor.TabList(), measure, wrap, folds};
  TViewNavigator navigator{editor, rows};
};

}  // namespace penwick
