// Reading the text form of a stored component (a lexer file) into a tree,
// before anything of it is applied.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "syntax/StreamTree.h"

namespace penwick {

// A syntax error of the text: "<problem> on line <n>".
class EStreamSyntaxError : public std::runtime_error {
public:
  EStreamSyntaxError(const std::string& problem, int line)
      : std::runtime_error(problem + " on line " + std::to_string(line)), m_line(line) {}
  int Line() const { return m_line; }

private:
  int m_line;
};

// Limits that keep a file built to exhaust the reader from doing so.
struct TStreamTextLimits {
  int MaxDepth = 32;            // objects, lists, collections and items inside one another
  int MaxValues = 1'000'000;    // values and property lines in the whole text
  int MaxItems = 10'000;        // items of one collection
};

// Parses the whole text: one object block, then nothing but blanks.
// Lexical rules: blanks, tabs and line breaks separate tokens; names compare
// without regard to case; strings are runs of quoted parts ('' is a quote)
// and #codes joined across lines by '+'; a string holding a code of 128 or
// more is converted from UTF-16 to the code page (characters it lacks
// become '?'). Raw data and nested objects are read and kept. Throws
// EStreamSyntaxError at the first problem. Cost: linear in the text.
TStreamObject ParseStreamText(std::string_view text, const TStreamTextLimits& limits = {});

}  // namespace penwick
