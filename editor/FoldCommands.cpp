// Fold toggles over the analysis's collapsible ranges, plain and nested.
#include "editor/FoldCommands.h"

#include <string>
#include <vector>

#include "syntax/ParserResults.h"

namespace penwick {

namespace {

TFoldableRange Foldable(const TParserResults& analysis, const TCollapsibleRange& range) {
  return TFoldableRange{static_cast<int>(range.StartPos), static_cast<int>(range.EndPos),
                        analysis.CollapseText(range)};
}

}  // namespace

TFoldSource TFoldCommands::Source() const {
  TFoldSource source;
  auto analysis = m_analysis;
  source.RangeStartingOnLine = [analysis](int line) -> std::optional<TFoldableRange> {
    const TParserResults* results = analysis();
    const TCollapsibleRange* range = results ? results->RangeStartingOnLine(line) : nullptr;
    if (!range) return std::nullopt;
    return Foldable(*results, *range);
  };
  source.InnermostRangeAt = [analysis](int offset) -> std::optional<TFoldableRange> {
    const TParserResults* results = analysis();
    if (!results || offset < 0) return std::nullopt;
    const TCollapsibleRange* range = results->InnermostRangeAt(static_cast<std::uint32_t>(offset));
    if (!range || !results->SpansLines(*range)) return std::nullopt;
    return Foldable(*results, *range);
  };
  return source;
}

bool TFoldCommands::UnfoldOn(int line) {
  const TFoldRange* fold = m_folds.ShownFoldOn(line);
  return fold && m_folds.Unfold(fold->StartPos, fold->EndPos);
}

bool TFoldCommands::Toggle(int line, bool nested) {
  if (const TFoldRange* shown = m_folds.ShownFoldOn(line)) {
    if (!nested) return m_folds.Unfold(shown->StartPos, shown->EndPos);
    const int start = shown->StartPos, end = shown->EndPos;
    std::vector<std::pair<int, int>> inside;
    for (const TFoldRange& fold : m_folds.Folds())
      if (fold.StartPos >= start && fold.EndPos <= end) inside.emplace_back(fold.StartPos, fold.EndPos);
    for (const auto& [from, to] : inside) m_folds.Unfold(from, to);
    return !inside.empty();
  }
  const TParserResults* analysis = m_analysis();
  if (!analysis) return false;
  const TCollapsibleRange* range = analysis->RangeStartingOnLine(line);
  if (!range) return false;
  bool changed = false;
  if (nested) {
    // Inner ranges first: once the outer range is folded they stay folded
    // beneath it and show when it is unfolded.
    for (const TCollapsibleRange& inner : analysis->CollapsibleRanges()) {
      if (inner.StartPos < range->StartPos) continue;
      if (inner.StartPos >= range->EndPos) break;
      if (&inner == range || inner.EndPos > range->EndPos || !analysis->SpansLines(inner)) continue;
      changed |= m_folds.Fold(Foldable(*analysis, inner));
    }
  }
  changed |= m_folds.Fold(Foldable(*analysis, *range));
  return changed;
}

}  // namespace penwick
