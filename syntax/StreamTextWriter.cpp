// The printer of the text form.
#include "syntax/StreamTextWriter.h"

#include <cstdio>

namespace penwick {

namespace {

constexpr std::size_t kMaxPart = 64;
constexpr const char* kLineEnd = "\r\n";

class TWriter {
public:
  std::string Take() { return std::move(m_out); }

  void Object(const TStreamObject& object, int level) {
    Indent(level);
    m_out += object.Keyword.empty() ? "object" : object.Keyword;
    m_out += ' ';
    if (!object.Name.empty()) m_out += object.Name + ": ";
    m_out += object.ClassName;
    if (object.Position >= 0) m_out += " [" + std::to_string(object.Position) + "]";
    m_out += kLineEnd;
    Properties(object.Properties, level + 1);
    for (const TStreamObject& child : object.Children) Object(child, level + 1);
    Indent(level);
    m_out += "end";
    m_out += kLineEnd;
  }

private:
  void Indent(int level) { m_out.append(static_cast<std::size_t>(level) * 2, ' '); }

  void Properties(const std::vector<TStreamProperty>& properties, int level) {
    for (const TStreamProperty& p : properties) {
      Indent(level);
      m_out += p.Path;
      m_out += " =";
      if (p.Value.Kind == TStreamValueKind::String) {
        // A string that needs several lines starts on the next one, deeper.
        const std::vector<std::string> lines = StringLines(p.Value.Text);
        if (lines.size() == 1) {
          m_out += ' ' + lines[0];
        } else {
          m_out += kLineEnd;
          Indent(level + 1);
          StringParts(lines, level + 1);
        }
      } else {
        m_out += ' ';
        Value(p.Value, level);
      }
      m_out += kLineEnd;
    }
  }

  // The lines of a string joined by " +", continuing at `level`.
  void StringParts(const std::vector<std::string>& lines, int level) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i) {
        m_out += " +";
        m_out += kLineEnd;
        Indent(level);
      }
      m_out += lines[i];
    }
  }

  // Writes a value where it stands; nested lines are indented below `level`.
  void Value(const TStreamValue& v, int level) {
    switch (v.Kind) {
      case TStreamValueKind::Integer:
        m_out += std::to_string(v.Integer);
        return;
      case TStreamValueKind::Float: {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.17g", v.Float);
        std::string number = buffer;
        if (number.find_first_of(".eE") == std::string::npos) number += ".0";
        m_out += number;
        if (v.Suffix) m_out += v.Suffix;
        return;
      }
      case TStreamValueKind::Ident:
        m_out += v.Text;
        return;
      case TStreamValueKind::String:
        StringParts(StringLines(v.Text), level);
        return;
      case TStreamValueKind::Set:
        m_out += '[';
        for (std::size_t i = 0; i < v.Names.size(); ++i) m_out += (i ? ", " : "") + v.Names[i];
        m_out += ']';
        return;
      case TStreamValueKind::List:
        m_out += '(';
        for (const TStreamValue& item : v.List) {
          m_out += kLineEnd;
          Indent(level + 1);
          Value(item, level + 1);
        }
        m_out += ')';
        return;
      case TStreamValueKind::Collection:
        m_out += '<';
        for (const TStreamItem& item : v.Items) {
          m_out += kLineEnd;
          Indent(level + 1);
          m_out += "item";
          if (item.Index >= 0) m_out += " [" + std::to_string(item.Index) + "]";
          m_out += kLineEnd;
          Properties(item.Properties, level + 2);
          Indent(level + 1);
          m_out += "end";
        }
        m_out += '>';
        return;
      case TStreamValueKind::Binary: {
        static const char* const kHex = "0123456789ABCDEF";
        m_out += '{';
        for (std::size_t i = 0; i < v.Text.size(); ++i) {
          if (i % 32 == 0) {
            m_out += kLineEnd;
            Indent(level + 1);
          }
          const auto byte = static_cast<unsigned char>(v.Text[i]);
          m_out += kHex[byte >> 4];
          m_out += kHex[byte & 15];
        }
        m_out += '}';
        return;
      }
    }
  }

  // The string as lines of quoted parts and #codes, each holding at most 64
  // characters and ending after a line break that has more text after it.
  static std::vector<std::string> StringLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t count = 0;
    bool quoted = false;
    auto finish = [&] {
      if (quoted) line += '\'';
      lines.push_back(std::move(line));
      line.clear();
      count = 0;
      quoted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (count == kMaxPart) finish();
      const auto c = static_cast<unsigned char>(text[i]);
      if (c < ' ' || c == '\'' || c == 127) {
        if (quoted) line += '\'';
        quoted = false;
        line += '#' + std::to_string(c);
      } else {
        if (!quoted) line += '\'';
        quoted = true;
        line += static_cast<char>(c);
      }
      ++count;
      if (c == '\n' && i + 1 < text.size()) finish();
    }
    if (quoted) line += '\'';
    if (!line.empty() || lines.empty()) lines.push_back(line.empty() ? "''" : line);
    return lines;
  }

  std::string m_out;
};

}  // namespace

std::string WriteStreamText(const TStreamObject& object) {
  TWriter writer;
  writer.Object(object, 0);
  return writer.Take();
}

}  // namespace penwick
