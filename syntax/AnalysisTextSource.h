// What the analysis reads a text through (`TAnalysisTextSource`): one contiguous view plus line/offset conversion.
#pragma once

#include <cstddef>
#include <string_view>

namespace penwick {

// The analysis reads the text as one contiguous view and never copies it,
// so a keystroke costs only re-analysis near the change. A store that keeps
// a gap may close the gap when Text() is asked for; the view must stay valid
// until the store changes again. Line breaks are LF, CR LF or a lone CR.
class TAnalysisTextSource {
public:
  virtual ~TAnalysisTextSource() = default;
  virtual std::string_view Text() const = 0;
  // 0-based line of an offset (an offset past the end gives the last line).
  virtual int LineFromOffset(std::size_t offset) const;
  // Offset of the first character of a 0-based line; the text length for a
  // line past the end.
  virtual std::size_t LineStartOffset(int line) const;
  virtual int LineCount() const;
};

}  // namespace penwick
