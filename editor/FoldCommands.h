// Folding and unfolding the analysis's ranges from the gutter and the collapse marks.
#pragma once

#include <functional>

#include "editor/FoldState.h"

namespace penwick {

class TParserResults;

// Connects the foldable ranges of an analysis to the fold state. The
// analysis is asked through a function, since the editor binds and drops
// analyses over its lifetime; a null analysis offers nothing to fold.
//
// Costs: a plain toggle costs what TFoldState::Fold/Unfold cost; a nested
// toggle walks the collapsible ranges inside the range.
class TFoldCommands {
public:
  TFoldCommands(TFoldState& folds, std::function<const TParserResults*()> analysis)
      : m_folds(folds), m_analysis(std::move(analysis)) {}

  // The analysis as a fold source (for the caret navigator).
  TFoldSource Source() const;

  // The button on `line`: unfolds a fold shown there, else folds the range
  // starting there. With `nested`, folding also folds every multi-line range
  // inside the range, and unfolding also unfolds every fold inside it.
  // Returns whether anything changed.
  bool Toggle(int line, bool nested);
  // Unfolds the fold shown on `line` (a click on its collapse mark).
  bool UnfoldOn(int line);

private:
  TFoldState& m_folds;
  std::function<const TParserResults*()> m_analysis;
};

}  // namespace penwick
