// Plain scanning line conversions for text sources that keep no line table.
#include "syntax/AnalysisTextSource.h"

#include <algorithm>

namespace penwick {

namespace {
// Whether a line starts after index i of s.
bool BreakAt(std::string_view s, std::size_t i) {
  return s[i] == '\n' || (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n'));
}
}  // namespace

TTextWindow TAnalysisTextSource::WindowFrom(std::size_t) const { return TTextWindow{Text(), 0, -1}; }

std::string TAnalysisTextSource::TextRange(std::size_t offset, std::size_t count) const {
  std::string_view s = Text();
  if (offset >= s.size()) return {};
  return std::string(s.substr(offset, count));
}

bool TAnalysisTextSource::ContiguousRange(std::size_t offset, std::size_t count, std::string_view& out) const {
  std::string_view s = Text();
  if (offset > s.size() || count > s.size() - offset) return false;
  out = s.substr(offset, count);
  return true;
}

std::size_t TAnalysisTextSource::StartAfterBreakBefore(std::size_t offset, TTextWindow& window) const {
  auto isBreak = [](int c) { return c == '\n' || c == '\r'; };
  window = WindowFrom(offset);
  offset = std::min(offset, window.Start + window.Text.size());
  // Scans back inside the window; reaching its start inside a line means the
  // window is too short.
  auto scan = [&](bool& complete) {
    std::size_t p = std::max(offset, window.Start);
    while (p > window.Start && !isBreak(window.Text[p - 1 - window.Start])) --p;
    complete = p > window.Start || window.Start == 0 || isBreak(window.CharBefore);
    return p;
  };
  bool complete = false;
  std::size_t p = scan(complete);
  if (complete) return p;
  // The line table knows where the line starts (a table line starts after a
  // break, so no break lies between it and the window).
  const std::size_t lineStart = LineStartOffset(LineFromOffset(offset));
  window = WindowFrom(std::min(lineStart, window.Start));
  p = scan(complete);
  if (complete) return p;
  window = WindowFrom(0);
  return scan(complete);
}

int TAnalysisTextSource::LineFromOffset(std::size_t offset) const {
  std::string_view s = Text();
  if (offset > s.size()) offset = s.size();
  int line = 0;
  for (std::size_t i = 0; i < offset; ++i)
    if (BreakAt(s, i)) ++line;
  return line;
}

std::size_t TAnalysisTextSource::LineStartOffset(int line) const {
  std::string_view s = Text();
  if (line <= 0) return 0;
  int current = 0;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (BreakAt(s, i) && ++current == line) return i + 1;
  return s.size();
}

int TAnalysisTextSource::LineCount() const {
  std::string_view s = Text();
  int lines = 1;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (BreakAt(s, i)) ++lines;
  return lines;
}

}  // namespace penwick
