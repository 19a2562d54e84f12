// The editor's text store as the text the analysis reads (`TMemoTextSource`).
#pragma once

#include "syntax/AnalysisTextSource.h"

namespace penwick {

class TSyntMemoStrings;

// Reads the store without copying: Text() is the store's contiguous view
// (closing the gap costs the distance from the last edit to the nearer end
// of the text, nothing when the text did not change since the last call),
// and the line conversions go through the store's line table in O(log m).
//
// Lines are counted the way the analysis counts them: a text that ends with
// a line break has an empty line after it, whether or not the store's table
// holds one there; an empty store has one empty line.
//
// The store must outlive the source; the source does not listen to it (the
// owner forwards the store's changes to the analysis).
class TMemoTextSource : public TAnalysisTextSource {
public:
  explicit TMemoTextSource(const TSyntMemoStrings& lines) : m_lines(lines) {}

  std::string_view Text() const override;
  int LineFromOffset(std::size_t offset) const override;
  std::size_t LineStartOffset(int line) const override;
  int LineCount() const override;

  const TSyntMemoStrings& Lines() const { return m_lines; }

private:
  const TSyntMemoStrings& m_lines;
};

}  // namespace penwick
