// Line-preserving reading and editing of freedesktop.org key files.
#include "platform/posix/KeyFile.h"

#include <fstream>
#include <iterator>
#include <utility>

namespace penwick {

namespace {

std::string StripCarriageReturn(const std::string& line) {
  return !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
}

std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsBlank(const std::string& line) { return TrimBlanks(StripCarriageReturn(line)).empty(); }

// The group a "[name]" line opens, or nullopt for any other line.
std::optional<std::string> GroupOf(const std::string& line) {
  const std::string text = TrimBlanks(StripCarriageReturn(line));
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
  return text.substr(1, text.size() - 2);
}

// The key and value of a "key=value" line (blanks around "=" ignored), or
// nullopt for comments, blank lines and group headers.
std::optional<std::pair<std::string, std::string>> EntryOf(const std::string& line) {
  const std::string text = StripCarriageReturn(line);
  const std::string trimmed = TrimBlanks(text);
  if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == '[') return std::nullopt;
  const size_t equals = text.find('=');
  if (equals == std::string::npos) return std::nullopt;
  const std::string value = text.substr(equals + 1);
  const size_t valueStart = value.find_first_not_of(" \t");
  return std::make_pair(TrimBlanks(text.substr(0, equals)),
                        valueStart == std::string::npos ? std::string() : value.substr(valueStart));
}

}  // namespace

TKeyFile TKeyFile::Parse(const std::string& text) {
  TKeyFile file;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      file.m_lines.push_back(text.substr(start));
      file.m_endsWithNewline = false;
      break;
    }
    file.m_lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return file;
}

TKeyFile TKeyFile::Read(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  return Parse(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

std::string TKeyFile::Text() const {
  std::string text;
  for (size_t i = 0; i < m_lines.size(); ++i) {
    text += m_lines[i];
    if (i + 1 < m_lines.size() || m_endsWithNewline) text += '\n';
  }
  return text;
}

std::optional<std::string> TKeyFile::Value(const std::string& group, const std::string& key) const {
  bool inGroup = false;
  for (const std::string& line : m_lines) {
    if (auto name = GroupOf(line)) {
      inGroup = *name == group;
    } else if (inGroup) {
      auto entry = EntryOf(line);
      if (entry && entry->first == key) return entry->second;
    }
  }
  return std::nullopt;
}

std::vector<std::string> TKeyFile::List(const std::string& group, const std::string& key) const {
  const std::string value = Value(group, key).value_or(std::string());
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    std::string item = TrimBlanks(value.substr(start, end - start));
    if (!item.empty()) items.push_back(std::move(item));
    start = end + 1;
  }
  return items;
}

void TKeyFile::SetValue(const std::string& group, const std::string& key, const std::optional<std::string>& value) {
  const std::string newLine = key + "=" + value.value_or(std::string());
  bool done = !value;
  bool inGroup = false;
  int groupsSeen = 0;
  std::optional<size_t> insertAt;  // within the group's first occurrence
  for (size_t i = 0; i < m_lines.size();) {
    std::string& line = m_lines[i];
    if (auto name = GroupOf(line)) {
      inGroup = *name == group;
      if (inGroup && ++groupsSeen == 1) insertAt = i + 1;
      ++i;
      continue;
    }
    if (!inGroup) {
      ++i;
      continue;
    }
    auto entry = EntryOf(line);
    if (entry && entry->first == key) {
      if (done) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      const bool carriageReturn = !line.empty() && line.back() == '\r';
      line = newLine + (carriageReturn ? "\r" : "");
      done = true;
    } else if (groupsSeen == 1 && !IsBlank(line)) {
      insertAt = i + 1;
    }
    ++i;
  }
  if (done) return;
  if (insertAt) {
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(*insertAt), newLine);
    return;
  }
  if (!m_lines.empty() && !IsBlank(m_lines.back())) m_lines.push_back("");
  m_lines.push_back("[" + group + "]");
  m_lines.push_back(newLine);
  m_endsWithNewline = true;
}

void TKeyFile::SetList(const std::string& group, const std::string& key, const std::vector<std::string>& items) {
  if (items.empty()) {
    SetValue(group, key, std::nullopt);
    return;
  }
  std::string value;
  for (const std::string& item : items) value += item + ";";
  SetValue(group, key, value);
}

}  // namespace penwick
