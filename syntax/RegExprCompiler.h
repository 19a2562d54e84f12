// Turns a TecRegExpr pattern and modifier mask into a TRegExprProgram.
#pragma once

#include "syntax/RegExprProgram.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace penwick {

// One compilation. The pattern is read left to right with one cursor; in x
// mode every read of a next character skips blanks and '#' comments, except
// right after a backslash, inside a modifier or comment group and between
// the digits of a number. Raises ERegExprError with the user's message.
class TRegExprCompiler {
public:
  // Group nesting and node counts above these raise "Expression too
  // complex": matching recurses once per item of a chain, so the pattern's
  // size must stay bounded for the stack to.
  static constexpr int MaxNesting = 256;
  static constexpr int MaxNodes = 4000;

  TRegExprCompiler(std::string_view pattern, uint16_t modifiers);
  std::shared_ptr<TRegExprProgram> Run();

  // Reads a \x escape of `source` (two characters, or up to a closing brace,
  // read as hexadecimal): `pos` is on the 'x' and is left on the last
  // character read. Raises the compile errors of a bad escape.
  static unsigned char ReadHexEscape(std::string_view source, size_t& pos);

private:
  static constexpr int kEnd = -1;

  int Cur() const;
  void NextRaw() { ++m_pos; }
  void Next(uint16_t mask);  // advance, then skip in x mode
  void SkipExtended(uint16_t mask);
  int ReadNumber(uint16_t mask);

  void ParseBody(int group, uint16_t mask);
  void ParseAlternative(int group, uint16_t mask, std::vector<int>& items);
  // Returns the new item's index, or -1 when the construct gave no item
  // (modifier or comment group).
  int ParseItem(int group, uint16_t& mask);
  int ParseEscape(int group, uint16_t mask);
  int ParseSet(int group, uint16_t mask);
  void ParseQuantifier(TRegExprNode& node, uint16_t mask);

  int NewNode(TRegExprNodeKind kind, int owner);
  int NewClass(int group, char letter);

  std::string_view m_pattern;
  size_t m_pos = 0;
  uint16_t m_modifiers;
  int m_nesting = 0;
  std::shared_ptr<TRegExprProgram> m_program;
};

}  // namespace penwick
