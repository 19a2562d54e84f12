// A text held in a std::string, for the command line, tests and benchmarks (`TStringTextSource`).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "syntax/AnalysisTextSource.h"

namespace penwick {

// Editing calls report every change to the source's change listeners, the
// way the editor's store reports to its analysis. Line conversions use a
// line table rebuilt on demand.
class TStringTextSource : public TAnalysisTextSource {
public:
  TStringTextSource() = default;
  explicit TStringTextSource(std::string text) : m_text(std::move(text)) {}

  std::string_view Text() const override { return m_text; }
  const std::string& String() const { return m_text; }
  int LineFromOffset(std::size_t offset) const override;
  std::size_t LineStartOffset(int line) const override;
  int LineCount() const override;

  // Replaces everything; reported as (-1, 0).
  void SetText(std::string text);
  // Offsets are clamped into the text.
  void Insert(std::size_t offset, const std::string& text);
  void Delete(std::size_t offset, std::size_t count);

private:
  void BuildLines() const;
  std::string m_text;
  mutable std::vector<std::size_t> m_lineStarts;
  mutable bool m_linesValid = false;
};

}  // namespace penwick
