// A std::string text source with a lazily rebuilt line table.
#include "syntax/StringTextSource.h"

#include <algorithm>

namespace penwick {

void TStringTextSource::BuildLines() const {
  if (m_linesValid) return;
  m_lineStarts.assign(1, 0);
  for (std::size_t i = 0; i < m_text.size(); ++i)
    if (m_text[i] == '\n' || (m_text[i] == '\r' && (i + 1 >= m_text.size() || m_text[i + 1] != '\n')))
      m_lineStarts.push_back(i + 1);
  m_linesValid = true;
}

int TStringTextSource::LineFromOffset(std::size_t offset) const {
  BuildLines();
  auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
  return static_cast<int>(it - m_lineStarts.begin()) - 1;
}

std::size_t TStringTextSource::LineStartOffset(int line) const {
  BuildLines();
  if (line <= 0) return 0;
  if (line >= static_cast<int>(m_lineStarts.size())) return m_text.size();
  return m_lineStarts[static_cast<std::size_t>(line)];
}

int TStringTextSource::LineCount() const {
  BuildLines();
  return static_cast<int>(m_lineStarts.size());
}

void TStringTextSource::SetText(std::string text) {
  m_text = std::move(text);
  m_linesValid = false;
  NotifyChanged(-1, 0);
}

void TStringTextSource::Insert(std::size_t offset, const std::string& text) {
  offset = std::min(offset, m_text.size());
  m_text.insert(offset, text);
  m_linesValid = false;
  if (!text.empty()) NotifyChanged(static_cast<int>(offset), static_cast<int>(text.size()));
}

void TStringTextSource::Delete(std::size_t offset, std::size_t count) {
  offset = std::min(offset, m_text.size());
  count = std::min(count, m_text.size() - offset);
  m_text.erase(offset, count);
  m_linesValid = false;
  if (count) NotifyChanged(static_cast<int>(offset), -static_cast<int>(count));
}

}  // namespace penwick
