// The editor's text store as the text the analysis reads (`TMemoTextSource`).
#pragma once

#include "platform/ListenerList.h"
#include "syntax/AnalysisTextSource.h"

namespace penwick {

class TSyntMemoStrings;

// Reads the store without copying. WindowFrom hands out the part after the
// gap when the gap lies at or before the offset asked for, so the analysis
// reading forward after a keystroke moves the gap by at most a line;
// ContiguousRange and TextRange never move it. Text() closes the gap (cost:
// the distance from the last edit to the nearer end of the text) and is
// left to callers that need the whole text. The line conversions go through
// the store's line table in O(log m).
//
// Lines are counted the way the analysis counts them: a text that ends with
// a line break has an empty line after it, whether or not the store's table
// holds one there; an empty store has one empty line.
//
// The source listens to the store (among the listeners of derived content)
// and passes every change on to its own change listeners, the analysis
// among them. The store must outlive the source.
class TMemoTextSource : public TAnalysisTextSource {
public:
  explicit TMemoTextSource(TSyntMemoStrings& lines);

  std::string_view Text() const override;
  std::size_t TextLength() const override;
  TTextWindow WindowFrom(std::size_t offset) const override;
  std::string TextRange(std::size_t offset, std::size_t count) const override;
  bool ContiguousRange(std::size_t offset, std::size_t count, std::string_view& out) const override;
  int LineFromOffset(std::size_t offset) const override;
  std::size_t LineStartOffset(int line) const override;
  int LineCount() const override;

  const TSyntMemoStrings& Lines() const { return m_lines; }

private:
  const TSyntMemoStrings& m_lines;
  TSubscription m_storeChanges;
};

}  // namespace penwick
