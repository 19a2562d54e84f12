// The text store seen through the analysis's text-source interface.
#include "editor/MemoTextSource.h"

#include "editor/SyntMemoStrings.h"

#include <algorithm>

namespace penwick {

TMemoTextSource::TMemoTextSource(TSyntMemoStrings& lines) : m_lines(lines) {
  TStoreListener listener;
  listener.Changed = [this](int pos, int count, int) { NotifyChanged(pos, count); };
  m_storeChanges = lines.Subscribe(std::move(listener), TStorePhase::Content);
}

std::string_view TMemoTextSource::Text() const { return m_lines.ContiguousText(); }

std::size_t TMemoTextSource::TextLength() const { return static_cast<std::size_t>(m_lines.TextLength()); }

TTextWindow TMemoTextSource::WindowFrom(std::size_t offset) const {
  const int length = m_lines.TextLength();
  const int at = offset >= static_cast<std::size_t>(length) ? length : static_cast<int>(offset);
  int start = 0;
  TTextWindow window;
  window.Text = m_lines.WindowFrom(at, start);
  window.Start = static_cast<std::size_t>(start);
  window.CharBefore = start > 0 ? static_cast<unsigned char>(m_lines.CharAt(start - 1)) : -1;
  return window;
}

std::string TMemoTextSource::TextRange(std::size_t offset, std::size_t count) const {
  const auto length = static_cast<std::size_t>(m_lines.TextLength());
  if (offset >= length) return {};
  return m_lines.TextRange(static_cast<int>(offset), static_cast<int>(std::min(count, length - offset)));
}

bool TMemoTextSource::ContiguousRange(std::size_t offset, std::size_t count, std::string_view& out) const {
  const auto length = static_cast<std::size_t>(m_lines.TextLength());
  if (offset > length || count > length - offset) return false;
  return m_lines.PieceAt(static_cast<int>(offset), static_cast<int>(count), out);
}

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
