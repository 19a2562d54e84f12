// The text store seen through the analysis's text-source interface.
#include "editor/MemoTextSource.h"

#include "editor/SyntMemoStrings.h"

namespace penwick {

std::string_view TMemoTextSource::Text() const { return m_lines.ContiguousText(); }

int TMemoTextSource::LineCount() const {
  const int count = m_lines.Count();
  if (count == 0) return 1;
  // A break at the very end with no table line after it: the analysis still
  // sees the empty line that follows.
  return m_lines.LineBreakLength(count - 1) > 0 ? count + 1 : count;
}

std::size_t TMemoTextSource::LineStartOffset(int line) const {
  if (line <= 0) return 0;
  if (line < m_lines.Count()) return static_cast<std::size_t>(m_lines.LineStart(line));
  return static_cast<std::size_t>(m_lines.TextLength());
}

int TMemoTextSource::LineFromOffset(std::size_t offset) const {
  const int length = m_lines.TextLength();
  if (offset >= static_cast<std::size_t>(length)) return LineCount() - 1;
  if (m_lines.Count() == 0) return 0;
  return m_lines.LineFromOffset(static_cast<int>(offset));
}

}  // namespace penwick
