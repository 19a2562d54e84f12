// The styled runs of a stretch of text, from the tokens and styled ranges of its analysis.
#include "editor/StyledRuns.h"

#include <algorithm>

#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {

TStyledRuns::TStyledRuns(TClientSyntAnalyzer* client, const TCanvasState& base, bool dynamicHighlight)
    : m_client(client && client->Owner() ? client : nullptr), m_base(base) {
  if (!m_client) return;
  if (const TSyntaxFormat* def = m_client->Owner()->DefaultStyle()) def->ApplyToCanvas(m_base, true);
  // The derived ranges describe the text of the last finished analysis:
  // carry them across the changes made since.
  const TChangeFixer& changes = m_client->Changes();
  std::vector<TMappedRange> highlights;
  for (const TStyledRange& range : m_client->StyledRanges()) {
    if (!range.Style) continue;
    const bool highlight = (range.Flags & srHighlight) != 0;
    if (highlight && !dynamicHighlight) continue;
    const TMappedRange mapped{changes.MapForward(static_cast<int>(range.StartPos)),
                              changes.MapForward(static_cast<int>(range.EndPos)), range.Style};
    if (mapped.End <= mapped.Start) continue;
    (highlight ? highlights : m_ranges).push_back(mapped);
  }
  auto byStart = [](const TMappedRange& a, const TMappedRange& b) { return a.Start < b.Start; };
  std::stable_sort(m_ranges.begin(), m_ranges.end(), byStart);
  std::stable_sort(highlights.begin(), highlights.end(), byStart);
  m_highlightsFrom = m_ranges.size();
  m_ranges.insert(m_ranges.end(), highlights.begin(), highlights.end());
}

TCanvasState TStyledRuns::StateOf(const std::vector<const TSyntaxFormat*>& styles) const {
  TCanvasState state = m_base;
  for (const TSyntaxFormat* style : styles) style->ApplyToCanvas(state, true);
  return state;
}

int TStyledRuns::StylesAt(int offset, int limit, std::vector<const TSyntaxFormat*>& styles) {
  int end = offset + 1;
  if (m_client) {
    const auto q = static_cast<std::size_t>(std::max(offset, 0));
    end = static_cast<int>(std::max(m_client->TokenStyleAt(q, styles), q + 1));
    // Ranges in two sorted layers: a layer's ranges starting after `offset`
    // only cut the run.
    auto scan = [&](std::size_t from, std::size_t to) {
      for (std::size_t i = from; i < to; ++i) {
        const TMappedRange& range = m_ranges[i];
        if (range.Start > offset) {
          end = std::min(end, range.Start);
          break;
        }
        if (range.End <= offset) continue;
        styles.push_back(range.Style);
        end = std::min(end, range.End);
      }
    };
    scan(0, m_highlightsFrom);
    scan(m_highlightsFrom, m_ranges.size());
  }
  if (limit > offset) end = std::min(end, limit);
  return end;
}

std::vector<TStyledRun> TStyledRuns::Runs(int offset, int count) {
  std::vector<TStyledRun> runs;
  if (count <= 0) return runs;
  const int stop = offset + count;
  if (m_client && m_analyze) m_client->AnalyzeTo(static_cast<std::size_t>(stop));
  std::vector<const TSyntaxFormat*> styles;
  for (int at = std::max(offset, 0); at < stop;) {
    styles.clear();
    const int end = StylesAt(at, stop, styles);
    if (!runs.empty() && runs.back().Styles == styles) {
      runs.back().End = end;  // neighbouring runs in the same styles are one
    } else {
      runs.push_back(TStyledRun{at, end, styles, StateOf(styles)});
    }
    at = end;
  }
  return runs;
}

TCanvasState TStyledRuns::StateAt(int offset) {
  if (offset < 0) return m_base;
  if (m_client && m_analyze) m_client->AnalyzeTo(static_cast<std::size_t>(offset) + 1);
  std::vector<const TSyntaxFormat*> styles;
  StylesAt(offset, offset + 1, styles);
  return StateOf(styles);
}

}  // namespace penwick
