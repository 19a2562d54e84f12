// Plain scanning line conversions for text sources that keep no line table.
#include "syntax/AnalysisTextSource.h"

namespace penwick {

namespace {
// Whether a line starts after index i of s.
bool BreakAt(std::string_view s, std::size_t i) {
  return s[i] == '\n' || (s[i] == '\r' && (i + 1 >= s.size() || s[i + 1] != '\n'));
}
}  // namespace

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
