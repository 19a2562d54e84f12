// Settings files read and written line by line, as the profile functions do.
#include "platform/IniFile.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

#include "platform/AsciiText.h"
#include "platform/FileErrors.h"
#include "platform/SafeFileWriter.h"

namespace penwick {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}


// The name of a "[Section]" line; a line without "]" names what follows "[".
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const std::size_t close = line.find(']');
  return Trim(line.substr(0, close));
}

// The key of a "Key=Value" line.
std::optional<std::string_view> KeyOf(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

void CheckName(std::string_view name, const char* forbidden, const char* what) {
  if (Trim(name).empty() || HasLineBreak(name) || name.find_first_of(forbidden) != std::string_view::npos)
    throw std::invalid_argument(std::string("a settings ") + what + " name may not be empty nor hold line breaks or \"" +
                                forbidden + "\"");
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<int> ParseProfileInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool hex = false;
  if (!text.empty() && text.front() == '$') {
    hex = true;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = true;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    const int digit = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
    if (digit < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<unsigned>(digit);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hex) {
    // Hexadecimal spells the 32 bits: $FFFFFFFF is -1.
    const auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return negative ? static_cast<int>(-static_cast<std::int64_t>(bits)) : bits;
  }
  const std::int64_t signedValue = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
  if (signedValue < std::numeric_limits<std::int32_t>::min() || signedValue > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<int>(signedValue);
}

TIniFile::TIniFile(std::string fileName) : m_fileName(std::move(fileName)) {}

bool TIniFile::Refresh() const {
  std::error_code error;
  const auto status = std::filesystem::status(m_fileName, error);
  if (!std::filesystem::exists(status)) {
    m_bytes.clear();
    m_byteOrderMark.clear();
    m_lines.clear();
    m_loaded = true;
    return true;
  }
  std::ifstream file;
  if (std::filesystem::is_regular_file(status)) file.open(m_fileName, std::ios::binary);
  if (!file.is_open()) {
    m_lines.clear();
    m_loaded = false;
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) {
    m_lines.clear();
    m_loaded = false;
    return false;
  }
  if (m_loaded && bytes == m_bytes) return true;
  m_bytes = std::move(bytes);
  m_lines.clear();
  // A UTF-8 byte order mark belongs to the file, not to its first line.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  m_byteOrderMark = m_bytes.starts_with(kByteOrderMark) ? kByteOrderMark : "";
  std::size_t start = m_byteOrderMark.size();
  while (start < m_bytes.size()) {
    const std::size_t lf = m_bytes.find('\n', start);
    if (lf == std::string::npos) {
      m_lines.push_back({m_bytes.substr(start), ""});
      break;
    }
    const bool crlf = lf > start && m_bytes[lf - 1] == '\r';
    const std::size_t end = crlf ? lf - 1 : lf;
    m_lines.push_back({m_bytes.substr(start, end - start), crlf ? "\r\n" : "\n"});
    start = lf + 1;
  }
  m_loaded = true;
  return true;
}

void TIniFile::RefreshForWrite() const {
  if (!Refresh()) throw EIniFileError(m_fileName);
}

std::string TIniFile::NewLineBreak() const {
  for (const TLine& line : m_lines)
    if (!line.Break.empty()) return line.Break;
#ifdef _WIN32
  return "\r\n";
#else
  return "\n";
#endif
}

void TIniFile::Store() {
  std::string bytes = m_byteOrderMark;
  for (const TLine& line : m_lines) {
    bytes += line.Text;
    bytes += line.Break;
  }
  try {
    WriteFileSafely(m_fileName, bytes);
  } catch (const std::exception&) {
    m_loaded = false;  // the lines hold a change the file does not
    throw EIniFileError(m_fileName);
  }
  m_bytes = std::move(bytes);
}

std::optional<TIniFile::TSpan> TIniFile::FindSection(std::string_view section, std::size_t from) const {
  for (std::size_t i = from; i < m_lines.size(); ++i) {
    const auto name = SectionOf(m_lines[i].Text);
    if (!name || !SameAsciiText(*name, Trim(section))) continue;
    std::size_t end = i + 1;
    while (end < m_lines.size() && !SectionOf(m_lines[end].Text)) ++end;
    return TSpan{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> TIniFile::FindKey(const TSpan& span, std::string_view key) const {
  for (std::size_t i = span.Header + 1; i < span.End; ++i) {
    const auto name = KeyOf(m_lines[i].Text);
    if (name && SameAsciiText(*name, Trim(key))) return i;
  }
  return std::nullopt;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
  std::string_view value = defaultValue;
  if (Refresh()) {
    if (const auto span = FindSection(section)) {
      if (const auto index = FindKey(*span, key)) {
        const std::string& text = m_lines[*index].Text;
        value = Trim(std::string_view(text).substr(text.find('=') + 1));
      }
    }
  }
  return std::string(value.substr(0, kMaxValueLength));
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  return ParseProfileInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  CheckName(section, "]", "section");
  CheckName(key, "=", "key");
  if (HasLineBreak(value)) throw std::invalid_argument("a settings value may not hold line breaks");
  RefreshForWrite();
  const std::string line = std::string(Trim(key)) + "=" + std::string(value);
  const std::string lineBreak = NewLineBreak();
  if (const auto span = FindSection(section)) {
    if (const auto index = FindKey(*span, key)) {
      m_lines[*index].Text = line;
    } else {
      std::size_t last = span->End;
      while (last > span->Header + 1 && Trim(m_lines[last - 1].Text).empty()) --last;
      // The line before the new one may be the file's last, without a break.
      if (m_lines[last - 1].Break.empty()) m_lines[last - 1].Break = lineBreak;
      m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(last), TLine{line, lineBreak});
    }
  } else {
    if (!m_lines.empty() && m_lines.back().Break.empty()) m_lines.back().Break = lineBreak;
    m_lines.push_back({"[" + std::string(Trim(section)) + "]", lineBreak});
    m_lines.push_back({line, lineBreak});
  }
  Store();
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::SectionExists(std::string_view section) const { return Refresh() && FindSection(section).has_value(); }

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  if (!Refresh()) return false;
  const auto span = FindSection(section);
  return span && FindKey(*span, key).has_value();
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (!Refresh()) return keys;
  if (const auto span = FindSection(section)) {
    for (std::size_t i = span->Header + 1; i < span->End; ++i)
      if (const auto name = KeyOf(m_lines[i].Text); name && !name->empty()) keys.emplace_back(*name);
  }
  return keys;
}

void TIniFile::EraseSection(std::string_view section) {
  RefreshForWrite();
  bool erased = false;
  while (const auto span = FindSection(section)) {
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(span->Header),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(span->End));
    erased = true;
  }
  if (erased) Store();
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  RefreshForWrite();
  const auto span = FindSection(section);
  if (!span) return;
  const auto index = FindKey(*span, key);
  if (!index) return;
  m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*index));
  Store();
}

}  // namespace penwick
