// The reader of the text form: a tokenizer and a recursive-descent parser
// with limits on depth and size.
#include "syntax/StreamTextParser.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "platform/CodePage.h"
#include "syntax/StreamNames.h"

namespace penwick {

namespace {

enum class TTokenKind { End, Name, Integer, Float, String, Char };

struct TToken {
  TTokenKind Kind = TTokenKind::End;
  std::string Text;  // Name: the name; String: the bytes; Char: the character
  std::int64_t Integer = 0;
  double Float = 0;
  char Suffix = 0;
  int Line = 1;
};

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class TTokenizer {
public:
  explicit TTokenizer(std::string_view text) : m_text(text) {}

  TToken Next() {
    SkipBlanks();
    TToken t;
    t.Line = m_line;
    if (m_pos >= m_text.size()) return t;
    const char c = m_text[m_pos];
    if (IsNameStart(c)) {
      const std::size_t start = m_pos;
      while (m_pos < m_text.size() && IsNameChar(m_text[m_pos])) ++m_pos;
      t.Kind = TTokenKind::Name;
      t.Text.assign(m_text.substr(start, m_pos - start));
    } else if (c == '\'' || c == '#') {
      ReadString(t);
    } else if (IsDigit(c) || (c == '-' && m_pos + 1 < m_text.size() && IsDigit(m_text[m_pos + 1]))) {
      ReadNumber(t);
    } else if (c == '$' && m_pos + 1 < m_text.size() && HexValue(m_text[m_pos + 1]) >= 0) {
      ReadHex(t);
    } else {
      ++m_pos;
      t.Kind = TTokenKind::Char;
      t.Text.assign(1, c);
    }
    return t;
  }

  // Hexadecimal digits up to `close`, blanks and line breaks ignored.
  std::string ReadBinary(char close) {
    std::string bytes;
    int high = -1;
    for (;;) {
      SkipBlanks();
      if (m_pos >= m_text.size()) throw EStreamSyntaxError("Unexpected end of file", m_line);
      const char c = m_text[m_pos++];
      if (c == close) break;
      const int v = HexValue(c);
      if (v < 0) throw EStreamSyntaxError("Invalid binary value", m_line);
      if (high < 0) {
        high = v;
      } else {
        bytes.push_back(static_cast<char>(high * 16 + v));
        high = -1;
      }
    }
    if (high >= 0) throw EStreamSyntaxError("Invalid binary value", m_line);
    return bytes;
  }

  int Line() const { return m_line; }

private:
  void SkipBlanks() {
    while (m_pos < m_text.size()) {
      const char c = m_text[m_pos];
      if (static_cast<unsigned char>(c) > ' ') break;
      if (c == '\n' || (c == '\r' && (m_pos + 1 >= m_text.size() || m_text[m_pos + 1] != '\n'))) ++m_line;
      ++m_pos;
    }
  }

  // A run of quoted parts and character codes. The code units are kept as
  // UTF-16 alongside the bytes in case a code of 128 or more makes the
  // string a wide one.
  void ReadString(TToken& t) {
    std::string bytes;
    std::u16string wide;
    bool isWide = false;
    const TCodePage& page = TCodePage::Default();
    for (;;) {
      if (m_pos >= m_text.size()) break;
      const char c = m_text[m_pos];
      if (c == '\'') {
        ++m_pos;
        for (;;) {
          if (m_pos >= m_text.size() || m_text[m_pos] == '\r' || m_text[m_pos] == '\n')
            throw EStreamSyntaxError("Invalid string constant", m_line);
          const char d = m_text[m_pos++];
          if (d == '\'') {
            if (m_pos < m_text.size() && m_text[m_pos] == '\'') {
              ++m_pos;
            } else {
              break;
            }
          }
          bytes.push_back(d);
          wide.push_back(static_cast<char16_t>(page.ToUnicode(static_cast<unsigned char>(d))));
        }
      } else if (c == '#') {
        ++m_pos;
        std::uint32_t code = 0;
        std::size_t digits = 0;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) {
          code = code * 10 + static_cast<std::uint32_t>(m_text[m_pos++] - '0');
          if (++digits > 5 || code > 0xFFFF) throw EStreamSyntaxError("Invalid string constant", m_line);
        }
        if (digits == 0) throw EStreamSyntaxError("Invalid string constant", m_line);
        if (code >= 128) isWide = true;
        bytes.push_back(static_cast<char>(code & 0xFF));
        wide.push_back(static_cast<char16_t>(code));
      } else {
        break;
      }
    }
    t.Kind = TTokenKind::String;
    t.Text = isWide ? page.FromUtf16(wide) : std::move(bytes);
  }

  void ReadNumber(TToken& t) {
    const std::size_t start = m_pos;
    if (m_text[m_pos] == '-') ++m_pos;
    while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) ++m_pos;
    bool isFloat = false;
    while (m_pos < m_text.size()) {
      const char c = m_text[m_pos];
      if (c == '.' || c == 'e' || c == 'E' || c == '+' || (c == '-' && isFloat) || (IsDigit(c) && isFloat)) {
        isFloat = true;
        ++m_pos;
      } else {
        break;
      }
    }
    const std::string number(m_text.substr(start, m_pos - start));
    errno = 0;
    char* end = nullptr;
    if (isFloat) {
      t.Kind = TTokenKind::Float;
      t.Float = std::strtod(number.c_str(), &end);
      if (end != number.c_str() + number.size() || errno == ERANGE)
        throw EStreamSyntaxError("Invalid floating point value", m_line);
      if (m_pos < m_text.size()) {
        const char s = m_text[m_pos];
        if (s == 's' || s == 'S' || s == 'c' || s == 'C' || s == 'd' || s == 'D') {
          t.Suffix = static_cast<char>(s | 0x20);
          ++m_pos;
        }
      }
    } else {
      t.Kind = TTokenKind::Integer;
      t.Integer = std::strtoll(number.c_str(), &end, 10);
      if (errno == ERANGE) throw EStreamSyntaxError("Number out of range", m_line);
    }
    if (m_pos < m_text.size() && IsNameChar(m_text[m_pos])) throw EStreamSyntaxError("Invalid number", m_line);
  }

  void ReadHex(TToken& t) {
    ++m_pos;  // '$'
    std::uint64_t value = 0;
    int digits = 0;
    while (m_pos < m_text.size() && HexValue(m_text[m_pos]) >= 0) {
      if (++digits > 16) throw EStreamSyntaxError("Number out of range", m_line);
      value = value * 16 + static_cast<std::uint64_t>(HexValue(m_text[m_pos++]));
    }
    if (m_pos < m_text.size() && IsNameChar(m_text[m_pos])) throw EStreamSyntaxError("Invalid number", m_line);
    t.Kind = TTokenKind::Integer;
    t.Integer = static_cast<std::int64_t>(value);
  }

  std::string_view m_text;
  std::size_t m_pos = 0;
  int m_line = 1;
};

class TParser {
public:
  TParser(std::string_view text, const TStreamTextLimits& limits) : m_tokens(text), m_limits(limits) { Advance(); }

  TStreamObject ParseDocument() {
    TStreamObject object = ParseObject(0);
    if (m_token.Kind != TTokenKind::End) Fail("Text after the end of the object");
    return object;
  }

private:
  [[noreturn]] void Fail(const std::string& problem) const { throw EStreamSyntaxError(problem, m_token.Line); }

  void Advance() { m_token = m_tokens.Next(); }

  bool IsChar(char c) const { return m_token.Kind == TTokenKind::Char && m_token.Text[0] == c; }
  bool IsName(std::string_view name) const { return m_token.Kind == TTokenKind::Name && SameName(m_token.Text, name); }
  bool IsObjectKeyword() const { return IsName("object") || IsName("inherited") || IsName("inline"); }

  void ExpectChar(char c) {
    if (!IsChar(c)) Fail(std::string("'") + c + "' expected");
    Advance();
  }
  std::string ExpectName() {
    if (m_token.Kind != TTokenKind::Name) Fail("Identifier expected");
    std::string name = std::move(m_token.Text);
    Advance();
    return name;
  }

  void Count() {
    if (++m_values > m_limits.MaxValues) Fail("Too many values");
  }
  void Enter(int depth) const {
    if (depth > m_limits.MaxDepth) Fail("Nesting too deep");
  }

  TStreamObject ParseObject(int depth) {
    Enter(depth);
    TStreamObject object;
    if (!IsObjectKeyword()) Fail("Object, inherited or inline expected");
    object.Keyword = m_token.Text;
    Advance();
    object.ClassName = ExpectName();
    if (IsChar(':')) {
      Advance();
      object.Name = std::move(object.ClassName);
      object.ClassName = ExpectName();
    }
    if (IsChar('[')) {
      Advance();
      if (m_token.Kind != TTokenKind::Integer) Fail("Integer expected");
      object.Position = static_cast<int>(m_token.Integer);
      Advance();
      ExpectChar(']');
    }
    for (;;) {
      if (IsName("end")) {
        Advance();
        return object;
      }
      if (IsObjectKeyword()) {
        object.Children.push_back(ParseObject(depth + 1));
      } else {
        object.Properties.push_back(ParseProperty(depth + 1));
      }
    }
  }

  TStreamProperty ParseProperty(int depth) {
    Count();
    TStreamProperty property;
    property.Line = m_token.Line;
    if (m_token.Kind == TTokenKind::End) Fail("Unexpected end of file");
    property.Path = ExpectName();
    while (IsChar('.')) {
      Advance();
      property.Path += '.';
      property.Path += ExpectName();
    }
    ExpectChar('=');
    property.Value = ParseValue(depth);
    return property;
  }

  TStreamValue ParseValue(int depth) {
    Enter(depth);
    Count();
    TStreamValue value;
    switch (m_token.Kind) {
      case TTokenKind::End:
        Fail("Unexpected end of file");
      case TTokenKind::Integer:
        value = TStreamValue::MakeInteger(m_token.Integer);
        Advance();
        return value;
      case TTokenKind::Float:
        value.Kind = TStreamValueKind::Float;
        value.Float = m_token.Float;
        value.Suffix = m_token.Suffix;
        Advance();
        return value;
      case TTokenKind::String: {
        std::string text = std::move(m_token.Text);
        Advance();
        while (IsChar('+')) {
          Advance();
          if (m_token.Kind != TTokenKind::String) Fail("String expected");
          text += m_token.Text;
          Advance();
        }
        return TStreamValue::MakeString(std::move(text));
      }
      case TTokenKind::Name:
        value = TStreamValue::MakeIdent(std::move(m_token.Text));
        Advance();
        return value;
      case TTokenKind::Char:
        break;
    }
    const char c = m_token.Text[0];
    if (c == '[') return ParseSet();
    if (c == '(') {
      Advance();
      value.Kind = TStreamValueKind::List;
      while (!IsChar(')')) value.List.push_back(ParseValue(depth + 1));
      Advance();
      return value;
    }
    if (c == '<') return ParseCollection(depth);
    if (c == '{') {
      value.Kind = TStreamValueKind::Binary;
      value.Text = m_tokens.ReadBinary('}');
      Advance();
      return value;
    }
    Fail("Invalid property value");
  }

  TStreamValue ParseSet() {
    Advance();  // '['
    TStreamValue value = TStreamValue::MakeSet({});
    if (IsChar(']')) {
      Advance();
      return value;
    }
    for (;;) {
      Count();
      value.Names.push_back(ExpectName());
      if (IsChar(']')) {
        Advance();
        return value;
      }
      ExpectChar(',');
    }
  }

  TStreamValue ParseCollection(int depth) {
    Advance();  // '<'
    TStreamValue value = TStreamValue::MakeCollection({});
    while (!IsChar('>')) {
      Enter(depth + 1);
      Count();
      if (static_cast<int>(value.Items.size()) >= m_limits.MaxItems) Fail("Too many items");
      TStreamItem item;
      item.Line = m_token.Line;
      if (!IsName("item")) Fail("'item' expected");
      Advance();
      if (IsChar('[')) {
        Advance();
        if (m_token.Kind != TTokenKind::Integer) Fail("Integer expected");
        item.Index = static_cast<int>(m_token.Integer);
        Advance();
        ExpectChar(']');
      }
      while (!IsName("end")) item.Properties.push_back(ParseProperty(depth + 2));
      Advance();
      value.Items.push_back(std::move(item));
    }
    Advance();
    return value;
  }

  TTokenizer m_tokens;
  TStreamTextLimits m_limits;
  TToken m_token;
  int m_values = 0;
};

}  // namespace

TStreamObject ParseStreamText(std::string_view text, const TStreamTextLimits& limits) {
  return TParser(text, limits).ParseDocument();
}

}  // namespace penwick
