// The pattern parser of TecRegExpr.
#include "syntax/RegExprCompiler.h"

#include "platform/CodePage.h"

#include <climits>

namespace penwick {

namespace {

bool IsPatternBlank(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsAsciiDigit(int c) { return c >= '0' && c <= '9'; }

// Class letters as they stand after the r-mode mapping; upper case negates.
bool IsClassLetter(int c) {
  switch (c) {
    case 'w': case 'W': case 'd': case 'D': case 's': case 'S': case 'h': case 'H':
    case 'l': case 'L': case 'c': case 'C': case 'g': case 'G': case 'k': case 'K':
      return true;
    default:
      return false;
  }
}

// Without r, \d \l \w and their negations mean their ASCII forms.
char MapClassLetter(char c, uint16_t mask) {
  if (mask & TecRegExpr::MaskModR) return c;
  switch (c) {
    case 'd': return 'k';
    case 'l': return 'g';
    case 'w': return 'c';
    case 'D': return 'K';
    case 'L': return 'G';
    case 'W': return 'C';
    default: return c;
  }
}

bool InClass(char letter, unsigned char c) {
  const TCodePage& cp = TCodePage::Default();
  const bool asciiLetter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  const bool asciiDigit = c >= '0' && c <= '9';
  switch (letter) {
    case 'w': return cp.IsWordChar(c);
    case 'd': return cp.IsDigit(c);
    case 's': return cp.IsSpace(c);
    case 'h': return cp.IsHexDigit(c);
    case 'l': return cp.IsLetter(c);
    case 'c': return asciiLetter || asciiDigit || c == '_';
    case 'g': return asciiLetter || c == '_';
    case 'k': return asciiDigit;
    default: {
      const char lower = static_cast<char>(letter - 'A' + 'a');
      return !InClass(lower, c);
    }
  }
}

TRegExprCharSet ClassTable(char letter) {
  TRegExprCharSet set;
  for (int b = 0; b < 256; ++b)
    if (InClass(letter, static_cast<unsigned char>(b))) set.Add(static_cast<unsigned char>(b));
  return set;
}

// The character of a one-letter escape (\a \e \f \n \r \t), or -1.
int EscapeLetterChar(int c) {
  switch (c) {
    case 'a': return 7;
    case 'e': return 27;
    case 'f': return 12;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    default: return -1;
  }
}

[[noreturn]] void Fail(const char* message) { throw ERegExprError(message); }

[[noreturn]] void FailInteger(std::string_view digits) {
  throw ERegExprError("'" + std::string(digits) + "' is not a valid integer value");
}

// Reads hexadecimal digits as a 32-bit value; anything else is the
// integer-conversion error naming the characters read.
unsigned HexValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) FailInteger(digits);
  unsigned value = 0;
  for (char ch : digits) {
    int d;
    if (ch >= '0' && ch <= '9') d = ch - '0';
    else if (ch >= 'a' && ch <= 'f') d = ch - 'a' + 10;
    else if (ch >= 'A' && ch <= 'F') d = ch - 'A' + 10;
    else FailInteger(digits);
    value = value * 16 + static_cast<unsigned>(d);
  }
  return value;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

TRegExprCompiler::TRegExprCompiler(std::string_view pattern, uint16_t modifiers)
    : m_pattern(pattern), m_modifiers(modifiers) {}

int TRegExprCompiler::Cur() const {
  return m_pos < m_pattern.size() ? static_cast<unsigned char>(m_pattern[m_pos]) : kEnd;
}

void TRegExprCompiler::SkipExtended(uint16_t mask) {
  if (!(mask & TecRegExpr::MaskModX)) return;
  for (;;) {
    const int c = Cur();
    if (IsPatternBlank(c)) {
      ++m_pos;
    } else if (c == '#') {
      // A comment runs up to and including the next CR or LF.
      while (Cur() != kEnd && Cur() != '\r' && Cur() != '\n') ++m_pos;
      if (Cur() != kEnd) ++m_pos;
    } else {
      return;
    }
  }
}

void TRegExprCompiler::Next(uint16_t mask) {
  ++m_pos;
  SkipExtended(mask);
}

int TRegExprCompiler::ReadNumber(uint16_t mask) {
  const size_t start = m_pos;
  long long value = 0;
  while (IsAsciiDigit(Cur())) {
    value = value * 10 + (Cur() - '0');
    if (value > INT_MAX) {
      while (IsAsciiDigit(Cur())) ++m_pos;
      FailInteger(m_pattern.substr(start, m_pos - start));
    }
    ++m_pos;  // no skipping between the digits of a number
  }
  SkipExtended(mask);
  return static_cast<int>(value);
}

int TRegExprCompiler::NewNode(TRegExprNodeKind kind, int owner) {
  if (static_cast<int>(m_program->Nodes.size()) >= MaxNodes) throw ERegExprTooComplex();
  TRegExprNode node;
  node.Kind = kind;
  node.Owner = owner;
  m_program->Nodes.push_back(std::move(node));
  return static_cast<int>(m_program->Nodes.size()) - 1;
}

int TRegExprCompiler::NewClass(int group, char letter) {
  const int index = NewNode(TRegExprNodeKind::OneOf, group);
  m_program->Nodes[index].Table = ClassTable(letter);
  return index;
}

std::shared_ptr<TRegExprProgram> TRegExprCompiler::Run() {
  m_program = std::make_shared<TRegExprProgram>();
  const int root = NewNode(TRegExprNodeKind::Group, -1);
  m_program->Nodes[root].Group = 0;
  m_program->GroupCount = 1;
  m_pos = 0;
  SkipExtended(m_modifiers);
  // A ')' with no open group ends the root body; the rest is ignored.
  ParseBody(root, m_modifiers);
  m_program->Finish();
  return std::move(m_program);
}

void TRegExprCompiler::ParseBody(int group, uint16_t mask) {
  if (++m_nesting > MaxNesting) throw ERegExprTooComplex();
  for (;;) {
    std::vector<int> items;
    // Each alternative starts with the mask the group started with; inline
    // modifiers reach only to the end of their own alternative.
    ParseAlternative(group, mask, items);
    if (!items.empty()) {
      auto& nodes = m_program->Nodes;
      for (size_t i = 0; i + 1 < items.size(); ++i) nodes[items[i]].Next = items[i + 1];
      nodes[group].Alternatives.push_back(items.front());
    }
    if (Cur() != '|') break;
    Next(mask);
  }
  --m_nesting;
}

void TRegExprCompiler::ParseAlternative(int group, uint16_t mask, std::vector<int>& items) {
  while (Cur() != kEnd && Cur() != '|' && Cur() != ')') {
    const int item = ParseItem(group, mask);
    if (item < 0) continue;
    auto& nodes = m_program->Nodes;
    // Runs of plain literals become one node: same matches, fewer steps.
    if (!items.empty() && item == static_cast<int>(nodes.size()) - 1) {
      TRegExprNode& prev = nodes[items.back()];
      TRegExprNode& cur = nodes[item];
      if (prev.Kind == TRegExprNodeKind::Chars && cur.Kind == TRegExprNodeKind::Chars && prev.Min == 1 &&
          prev.Max == 1 && cur.Min == 1 && cur.Max == 1 && prev.IgnoreCase == cur.IgnoreCase) {
        prev.Chars += cur.Chars;
        nodes.pop_back();
        continue;
      }
    }
    items.push_back(item);
  }
}

int TRegExprCompiler::ParseItem(int group, uint16_t& mask) {
  auto& nodes = m_program->Nodes;
  const int c = Cur();
  int item = -1;
  switch (c) {
    case '^':
    case '$': {
      item = NewNode(TRegExprNodeKind::Check, group);
      const bool multiLine = mask & TecRegExpr::MaskModM;
      if (c == '^') nodes[item].Check = multiLine ? TRegExprCheck::LineStart : TRegExprCheck::TextStart;
      else nodes[item].Check = multiLine ? TRegExprCheck::LineEnd : TRegExprCheck::TextEnd;
      Next(mask);
      return item;  // anchors take no quantifier
    }
    case '.': {
      item = NewNode(TRegExprNodeKind::OneOf, group);
      TRegExprCharSet& table = nodes[item].Table;
      table.AddAll();
      if (!(mask & TecRegExpr::MaskModS)) {
        table.Bits['\r' >> 6] &= ~(uint64_t{1} << ('\r' & 63));
        table.Bits['\n' >> 6] &= ~(uint64_t{1} << ('\n' & 63));
      }
      Next(mask);
      break;
    }
    case '[':
      item = ParseSet(group, mask);
      break;
    case '(': {
      Next(mask);
      if (Cur() == '?') {
        Next(mask);  // in x mode a '#' here starts an x comment instead
        if (Cur() == '#') {
          while (Cur() != kEnd && Cur() != ')') NextRaw();
        } else {
          bool setting = true;
          uint16_t newMask = mask;
          while (Cur() != kEnd && Cur() != ')') {
            uint16_t bit = 0;
            switch (Cur()) {
              case 'i': bit = TecRegExpr::MaskModI; break;
              case 'r': bit = TecRegExpr::MaskModR; break;
              case 's': bit = TecRegExpr::MaskModS; break;
              case 'g': bit = TecRegExpr::MaskModG; break;
              case 'm': bit = TecRegExpr::MaskModM; break;
              case 'x': bit = TecRegExpr::MaskModX; break;
              case '-': setting = false; break;
              default: Fail("Unexpected modifier");
            }
            if (setting) newMask |= bit;
            else newMask &= static_cast<uint16_t>(~bit);
            NextRaw();
          }
          mask = newMask;
        }
        if (Cur() == ')') Next(mask);
        return -1;
      }
      item = NewNode(TRegExprNodeKind::Group, group);
      nodes[item].Group = m_program->GroupCount++;
      ParseBody(item, mask);
      if (Cur() != ')') Fail("Do not closed sub expression");
      Next(mask);
      break;
    }
    case '\\':
      item = ParseEscape(group, mask);
      break;
    default: {
      item = NewNode(TRegExprNodeKind::Chars, group);
      TRegExprNode& node = nodes[item];
      node.IgnoreCase = mask & TecRegExpr::MaskModI;
      const auto ch = static_cast<unsigned char>(c);
      node.Chars.assign(1, static_cast<char>(node.IgnoreCase ? TCodePage::Default().ToUpper(ch) : ch));
      Next(mask);
      break;
    }
  }
  ParseQuantifier(m_program->Nodes[item], mask);
  return item;
}

unsigned char TRegExprCompiler::ReadHexEscape(std::string_view source, size_t& pos) {
  ++pos;
  if (pos >= source.size()) Fail("Invalid escape char");
  std::string_view digits;
  if (source[pos] == '{') {
    const size_t close = source.find('}', pos + 1);
    if (close == std::string_view::npos) Fail("There is no closing \"}\"");
    digits = TrimBlanks(source.substr(pos + 1, close - pos - 1));
    pos = close;
  } else {
    const size_t count = pos + 1 < source.size() ? 2 : 1;
    digits = source.substr(pos, count);
    pos += count - 1;
  }
  const unsigned value = HexValue(digits) & 0xFF;  // only the low 8 bits count
  if (value == 0) Fail("Invalid HEX char");
  return static_cast<unsigned char>(value);
}

int TRegExprCompiler::ParseEscape(int group, uint16_t mask) {
  auto& nodes = m_program->Nodes;
  NextRaw();  // the character after a backslash is read as it stands
  const int c = Cur();
  int literal = -1;
  int item = -1;
  if (c == kEnd) {
    item = NewNode(TRegExprNodeKind::Chars, group);
    nodes[item].Chars.assign(1, '\\');
    return item;  // at the end of the pattern: nothing to quantify
  }
  if (EscapeLetterChar(c) >= 0) {
    literal = EscapeLetterChar(c);
  } else if (c == 'x') {
    literal = ReadHexEscape(m_pattern, m_pos);
  } else if (IsClassLetter(MapClassLetter(static_cast<char>(c), mask))) {
    item = NewClass(group, MapClassLetter(static_cast<char>(c), mask));
  } else if (c >= '1' && c <= '9') {
    const int ref = c - '0';
    if (ref >= m_program->GroupCount) Fail("Invalid reference");
    item = NewNode(TRegExprNodeKind::Ref, group);
    nodes[item].Group = ref;
    nodes[item].IgnoreCase = mask & TecRegExpr::MaskModI;
  } else if (c == 'A' || c == 'Z' || c == 'b' || c == 'B' || c == 'z') {
    item = NewNode(TRegExprNodeKind::Check, group);
    nodes[item].Check = c == 'A'   ? TRegExprCheck::TextStart
                        : c == 'Z' ? TRegExprCheck::TextEnd
                        : c == 'b' ? TRegExprCheck::WordBoundary
                        : c == 'B' ? TRegExprCheck::NotWordBoundary
                                   : TRegExprCheck::LineBreak;
  } else {
    literal = c;
  }
  if (literal >= 0) {
    item = NewNode(TRegExprNodeKind::Chars, group);
    TRegExprNode& node = nodes[item];
    node.IgnoreCase = mask & TecRegExpr::MaskModI;
    const auto ch = static_cast<unsigned char>(literal);
    node.Chars.assign(1, static_cast<char>(node.IgnoreCase ? TCodePage::Default().ToUpper(ch) : ch));
  }
  Next(mask);
  return item;
}

int TRegExprCompiler::ParseSet(int group, uint16_t mask) {
  const TCodePage& cp = TCodePage::Default();
  const bool ignoreCase = mask & TecRegExpr::MaskModI;
  bool negated = false;
  std::vector<std::pair<unsigned char, unsigned char>> ranges;
  std::string classes;
  TRegExprCharSet members;

  // Reads one member at the cursor: a character (>= 0) or a class letter
  // (stored in `classLetter`, result -1). Leaves the cursor after it.
  auto readMember = [&](char& classLetter) -> int {
    classLetter = 0;
    int value = Cur();
    if (value == '\\') {
      NextRaw();
      const int e = Cur();
      if (e == kEnd) Fail("Unexpected end of expression");
      if (EscapeLetterChar(e) >= 0) {
        value = EscapeLetterChar(e);
      } else if (e == 'x') {
        value = ReadHexEscape(m_pattern, m_pos);
      } else if (IsClassLetter(MapClassLetter(static_cast<char>(e), mask))) {
        classLetter = MapClassLetter(static_cast<char>(e), mask);
        value = -1;
      } else {
        value = e;  // \] \- \\ and also \b, the letter b
      }
    }
    Next(mask);
    return value;
  };
  auto fold = [&](int c) { return ignoreCase ? cp.ToUpper(static_cast<unsigned char>(c)) : static_cast<unsigned char>(c); };

  Next(mask);
  if (Cur() == '^') {
    negated = true;
    Next(mask);
  }
  bool first = true;
  for (;;) {
    if (Cur() == kEnd) Fail("Unexpected end of expression");
    if (Cur() == ']' && !first) {
      Next(mask);
      break;
    }
    first = false;
    char classLetter = 0;
    const int low = readMember(classLetter);
    if (low < 0) {
      classes += classLetter;
      if (Cur() == '-') {  // '-' after a class is a member
        members.Add('-');
        Next(mask);
      }
      continue;
    }
    if (Cur() != '-') {
      members.Add(fold(low));
      continue;
    }
    Next(mask);
    if (Cur() == ']') {  // '-' right before ']' is a member
      members.Add(fold(low));
      members.Add('-');
      continue;
    }
    if (Cur() == kEnd) Fail("Unexpected end of expression");
    const int high = readMember(classLetter);
    if (high < 0) {  // a class cannot bound a range: both stay plain members
      members.Add(fold(low));
      members.Add('-');
      classes += classLetter;
      continue;
    }
    if (high < low) Fail("Invalid set range");
    ranges.emplace_back(fold(low), fold(high));
  }

  // The set's answer for every byte, worked out once.
  const int item = NewNode(TRegExprNodeKind::OneOf, group);
  TRegExprCharSet& table = m_program->Nodes[item].Table;
  for (int b = 0; b < 256; ++b) {
    const unsigned char c = fold(b);
    bool in = members.Has(c);
    for (size_t i = 0; !in && i < ranges.size(); ++i) in = c >= ranges[i].first && c <= ranges[i].second;
    for (size_t i = 0; !in && i < classes.size(); ++i) in = InClass(classes[i], c);
    if (in != negated) table.Add(static_cast<unsigned char>(b));
  }
  return item;
}

void TRegExprCompiler::ParseQuantifier(TRegExprNode& node, uint16_t mask) {
  const int c = Cur();
  if (c == '*') {
    node.Min = 0;
    node.Max = -1;
    Next(mask);
  } else if (c == '+') {
    node.Min = 1;
    node.Max = -1;
    Next(mask);
  } else if (c == '?') {
    node.Min = 0;
    node.Max = 1;
    Next(mask);
  } else if (c == '{') {
    Next(mask);
    if (!IsAsciiDigit(Cur())) Fail("Number is expected");
    const int low = ReadNumber(mask);
    int high = low;
    if (Cur() == ',') {
      Next(mask);
      if (Cur() == '}') {
        high = -1;
      } else {
        if (!IsAsciiDigit(Cur())) Fail("Number is expected");
        high = ReadNumber(mask);
        if (Cur() != '}') Fail("There is no closing \"}\"");
        if (high < low) Fail("Loop minimum must be less then loop maximum");
      }
    } else if (Cur() == kEnd) {
      Fail("There is no closing \"}\"");
    } else if (Cur() != '}') {
      Fail("Invalid loop specifier");
    }
    node.Min = low;
    node.Max = high;
    Next(mask);
  } else {
    return;
  }
  if (Cur() == '?') {
    node.Lazy = true;
    Next(mask);
  } else {
    node.Lazy = !(mask & TecRegExpr::MaskModG);
  }
}

}  // namespace penwick
