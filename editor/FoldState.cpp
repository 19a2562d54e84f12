// Folded ranges: folding, unfolding, and following the text's edits.
#include "editor/FoldState.h"

#include <algorithm>
#include <sstream>

#include "editor/SyntMemoStrings.h"

namespace penwick {

namespace {

bool Before(const TFoldRange& a, const TFoldRange& b) {
  return a.StartPos != b.StartPos ? a.StartPos < b.StartPos : a.EndPos > b.EndPos;
}

bool Nested(int outerStart, int outerEnd, int innerStart, int innerEnd) {
  return outerStart <= innerStart && innerEnd <= outerEnd;
}

}  // namespace

TFoldState::TFoldState(TSyntMemoStrings& lines) : m_lines(lines) {
  TStoreListener listener;
  listener.Changed = [this](int pos, int count, int lineChange) { OnStoreChanged(pos, count, lineChange); };
  m_subscription = lines.Subscribe(std::move(listener), TStorePhase::Positions);
}

bool TFoldState::ComputeLines(int startPos, int endPos, int& firstLine, int& lineCount) const {
  if (startPos < 0 || endPos <= startPos || endPos > m_lines.TextLength()) return false;
  firstLine = m_lines.LineFromOffset(startPos);
  int last = m_lines.LineFromOffset(endPos);
  if (last > firstLine && m_lines.LineStart(last) == endPos) --last;
  lineCount = last - firstLine + 1;
  return firstLine >= 0 && lineCount >= 2;
}

void TFoldState::Touch() {
  ++m_generation;
  m_shownStale = true;
}

void TFoldState::Tell(int firstLine, int lastLine, bool byEdit) {
  if (OnChanged) OnChanged(firstLine, lastLine, byEdit);
}

bool TFoldState::Fold(int startPos, int endPos, std::string_view collapseText) {
  TFoldRange fold;
  if (!ComputeLines(startPos, endPos, fold.FirstLine, fold.LineCount)) return false;
  for (const TFoldRange& f : m_folds) {
    if (f.StartPos == startPos && f.EndPos == endPos) return false;
    const bool disjoint = f.EndPos <= startPos || endPos <= f.StartPos;
    if (!disjoint && !Nested(f.StartPos, f.EndPos, startPos, endPos) &&
        !Nested(startPos, endPos, f.StartPos, f.EndPos))
      return false;
  }
  fold.StartPos = startPos;
  fold.EndPos = endPos;
  fold.CollapseText = std::string(collapseText);
  m_folds.insert(std::upper_bound(m_folds.begin(), m_folds.end(), fold, Before), fold);
  Touch();
  Tell(fold.FirstLine, fold.LastLine(), false);
  return true;
}

bool TFoldState::Unfold(int startPos, int endPos) {
  const auto it = std::find_if(m_folds.begin(), m_folds.end(),
                               [&](const TFoldRange& f) { return f.StartPos == startPos && f.EndPos == endPos; });
  if (it == m_folds.end()) return false;
  const int first = it->FirstLine;
  const int last = it->LastLine();
  m_folds.erase(it);
  Touch();
  Tell(first, last, false);
  return true;
}

bool TFoldState::UnfoldLine(int line) {
  const TFoldRange* fold = FoldStartingOn(line);
  return fold && Unfold(fold->StartPos, fold->EndPos);
}

void TFoldState::Clear() {
  if (m_folds.empty()) return;
  m_folds.clear();
  Touch();
  Tell(-1, -1, false);
}

void TFoldState::OnStoreChanged(int pos, int count, int /*lineChange*/) {
  if (m_folds.empty()) return;
  if (pos < 0) {
    m_folds.clear();
    Touch();
    Tell(-1, -1, true);
    return;
  }
  // The lines (after the edit) that the folds the edit undid covered.
  std::vector<std::pair<int, int>> dropped;
  auto drop = [&](int start, int end) {
    const int length = m_lines.TextLength();
    dropped.emplace_back(std::max(0, m_lines.LineFromOffset(std::clamp(start, 0, length))),
                         std::max(0, m_lines.LineFromOffset(std::clamp(end, 0, length))));
  };
  std::vector<TFoldRange> kept;
  kept.reserve(m_folds.size());
  for (TFoldRange& f : m_folds) {
    // An edit right at the end of a fold that ends inside its last line puts
    // text on that hidden line (a deletion joins the next line to it): it
    // unfolds as well.
    const bool atHiddenEnd = pos == f.EndPos && pos > 0 && m_lines.CharAt(pos - 1) != '\n';
    if (count > 0) {
      if ((f.StartPos < pos && pos < f.EndPos) || atHiddenEnd) {
        drop(f.StartPos, f.EndPos + count);
        continue;
      }
      if (pos <= f.StartPos) {
        f.StartPos += count;
        f.EndPos += count;
      }
    } else if (count < 0) {
      const int end = pos - count;
      if ((pos < f.EndPos && end > f.StartPos) || atHiddenEnd) {
        drop(std::min(f.StartPos, pos), f.EndPos >= end ? f.EndPos + count : pos);
        continue;
      }
      if (end <= f.StartPos) {
        f.StartPos += count;
        f.EndPos += count;
      }
    }
    int first = 0;
    int lines = 0;
    if (!ComputeLines(f.StartPos, f.EndPos, first, lines)) {
      drop(f.StartPos, f.EndPos);
      continue;
    }
    f.FirstLine = first;
    f.LineCount = lines;
    kept.push_back(std::move(f));
  }
  m_folds = std::move(kept);
  Touch();
  for (const auto& [first, last] : dropped) Tell(first, last, true);
}

const std::vector<TFoldRange>& TFoldState::ShownFolds() const {
  if (!m_shownStale) return m_shown;
  std::vector<TFoldRange> byLine = m_folds;
  std::stable_sort(byLine.begin(), byLine.end(), [](const TFoldRange& a, const TFoldRange& b) {
    return a.FirstLine != b.FirstLine ? a.FirstLine < b.FirstLine : a.LineCount > b.LineCount;
  });
  m_shown.clear();
  m_hiddenBefore.clear();
  int hidden = 0;
  for (TFoldRange& f : byLine) {
    if (!m_shown.empty() && f.FirstLine <= m_shown.back().LastLine()) continue;
    m_hiddenBefore.push_back(hidden);
    hidden += f.LineCount - 1;
    m_shown.push_back(std::move(f));
  }
  m_shownStale = false;
  return m_shown;
}

const TFoldRange* TFoldState::FoldStartingOn(int line) const {
  const auto it = std::lower_bound(m_folds.begin(), m_folds.end(), line,
                                   [](const TFoldRange& f, int l) { return f.FirstLine < l; });
  return it != m_folds.end() && it->FirstLine == line ? &*it : nullptr;
}

const TFoldRange* TFoldState::ShownFoldOn(int line) const {
  const std::vector<TFoldRange>& shown = ShownFolds();
  const auto it = std::lower_bound(shown.begin(), shown.end(), line,
                                   [](const TFoldRange& f, int l) { return f.FirstLine < l; });
  return it != shown.end() && it->FirstLine == line ? &*it : nullptr;
}

const TFoldRange* TFoldState::FoldHiding(int line) const {
  const std::vector<TFoldRange>& shown = ShownFolds();
  auto it = std::lower_bound(shown.begin(), shown.end(), line,
                             [](const TFoldRange& f, int l) { return f.FirstLine < l; });
  if (it == shown.begin()) return nullptr;
  --it;  // the last shown fold starting above the line
  return line <= it->LastLine() ? &*it : nullptr;
}

int TFoldState::HiddenLinesBefore(int line) const {
  const std::vector<TFoldRange>& shown = ShownFolds();
  auto it = std::lower_bound(shown.begin(), shown.end(), line,
                             [](const TFoldRange& f, int l) { return f.FirstLine < l; });
  if (it == shown.begin()) return 0;
  --it;
  const size_t index = static_cast<size_t>(it - shown.begin());
  return m_hiddenBefore[index] + std::min(it->LineCount - 1, line - it->FirstLine - 1);
}

std::string TFoldState::CheckInvariants() const {
  std::ostringstream out;
  for (size_t i = 0; i < m_folds.size(); ++i) {
    const TFoldRange& f = m_folds[i];
    int first = 0;
    int lines = 0;
    if (!ComputeLines(f.StartPos, f.EndPos, first, lines)) {
      out << "fold " << i << " [" << f.StartPos << "," << f.EndPos << ") does not span lines of the text";
      return out.str();
    }
    if (first != f.FirstLine || lines != f.LineCount) {
      out << "fold " << i << " holds lines " << f.FirstLine << "+" << f.LineCount << ", the text gives " << first
          << "+" << lines;
      return out.str();
    }
    if (i > 0 && !Before(m_folds[i - 1], f)) {
      out << "folds " << i - 1 << " and " << i << " are out of order or equal";
      return out.str();
    }
    for (size_t j = 0; j < i; ++j) {
      const TFoldRange& g = m_folds[j];
      const bool disjoint = g.EndPos <= f.StartPos || f.EndPos <= g.StartPos;
      if (!disjoint && !Nested(g.StartPos, g.EndPos, f.StartPos, f.EndPos) &&
          !Nested(f.StartPos, f.EndPos, g.StartPos, g.EndPos)) {
        out << "folds " << j << " and " << i << " cross";
        return out.str();
      }
    }
  }
  const std::vector<TFoldRange>& shown = ShownFolds();
  for (size_t i = 1; i < shown.size(); ++i) {
    if (shown[i].FirstLine <= shown[i - 1].LastLine()) {
      out << "shown folds " << i - 1 << " and " << i << " overlap in lines";
      return out.str();
    }
  }
  return std::string();
}

std::string TFoldState::DebugDump() const {
  std::ostringstream out;
  for (const TFoldRange& f : m_folds)
    out << f.FirstLine << "+" << f.LineCount << " [" << f.StartPos << "," << f.EndPos << ") \"" << f.CollapseText
        << "\"\n";
  out << "shown:";
  for (const TFoldRange& f : ShownFolds()) out << " " << f.FirstLine;
  out << "\n";
  return out.str();
}

}  // namespace penwick
