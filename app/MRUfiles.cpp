// The recent-files list: its order, its capacity, its settings section and
// the menu entries built from it.
#include "app/MRUfiles.h"

#include <algorithm>

#include "platform/AsciiText.h"
#include "platform/IniFile.h"

namespace penwick {

namespace {

bool HoldsLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

// The part after the last folder separator.
std::string FileNameOf(const std::string& path) {
#ifdef _WIN32
  const std::size_t slash = path.find_last_of("/\\:");
#else
  const std::size_t slash = path.find_last_of('/');
#endif
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Every "&" doubled, so that a menu shows it instead of taking it for an
// access key.
std::string EscapeAmpersands(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    result += c;
    if (c == '&') result += '&';
  }
  return result;
}

std::string FormatHint(const std::string& hint, const std::string& path) {
  const std::size_t at = hint.find("%s");
  if (at == std::string::npos) return hint;
  return hint.substr(0, at) + path + hint.substr(at + 2);
}

}  // namespace

void TMRUFiles::Clear() {
  const std::vector<std::string> before = m_files;
  m_files.clear();
  EndBatch(before);
}

void TMRUFiles::AddFile(const std::string& path) {
  if (path.empty() || m_maxEntries == 0 || HoldsLineBreak(path)) return;
  const std::vector<std::string> before = m_files;
  const auto same = std::find_if(m_files.begin(), m_files.end(), [&](const std::string& f) { return SameAsciiText(f, path); });
  if (same != m_files.end()) m_files.erase(same);
  TrimTo(m_maxEntries - 1u);
  m_files.insert(m_files.begin(), path);
  EndBatch(before);
}

void TMRUFiles::RemoveFile(const std::string& path) {
  const auto same = std::find_if(m_files.begin(), m_files.end(), [&](const std::string& f) { return SameAsciiText(f, path); });
  if (same == m_files.end()) return;
  const std::vector<std::string> before = m_files;
  m_files.erase(same);
  EndBatch(before);
}

void TMRUFiles::LoadFromIni(const std::string& iniFileName, const std::string& section) {
  const TIniFile ini(iniFileName);
  const std::vector<std::string> before = m_files;
  m_files.clear();
  for (int i = 1; i <= m_maxEntries; ++i) {
    std::string path = ini.ReadString(section, m_prefix + std::to_string(i), "");
    if (path.empty()) break;
    const bool listed =
        std::any_of(m_files.begin(), m_files.end(), [&](const std::string& f) { return SameAsciiText(f, path); });
    if (!listed) m_files.push_back(std::move(path));
  }
  EndBatch(before);
}

void TMRUFiles::SaveToIni(const std::string& iniFileName, const std::string& section) const {
  TIniFile ini(iniFileName);
  ini.EraseSection(section);
  for (std::size_t i = 0; i < m_files.size(); ++i) ini.WriteString(section, m_prefix + std::to_string(i + 1), m_files[i]);
}

void TMRUFiles::SetMaxEntries(std::uint8_t value) {
  if (value == m_maxEntries) return;
  m_maxEntries = value;
  const std::vector<std::string> before = m_files;
  TrimTo(value);
  EndBatch(before);
}

void TMRUFiles::SetNumbered(bool value) {
  if (value == m_numbered) return;
  m_numbered = value;
  RebuildMenu();
}

void TMRUFiles::SetFullPath(bool value) {
  if (value == m_fullPath) return;
  m_fullPath = value;
  RebuildMenu();
}

void TMRUFiles::SetHint(const std::string& value) {
  if (value == m_hint) return;
  m_hint = value;
  RebuildMenu();
}

void TMRUFiles::SetMenuItem(TMRUMenu* menu) {
  if (menu == m_menu) return;
  if (m_menu) m_menu->Rebuild({});
  m_menu = menu;
  RebuildMenu();
}

std::vector<TMRUMenuEntry> TMRUFiles::MenuEntries() const {
  std::vector<TMRUMenuEntry> entries;
  entries.reserve(m_files.size());
  for (std::size_t i = 0; i < m_files.size(); ++i) {
    const std::string& path = m_files[i];
    const std::string text = EscapeAmpersands(m_fullPath ? path : FileNameOf(path));
    TMRUMenuEntry entry{text, FormatHint(m_hint, path), static_cast<int>(i)};
    if (m_numbered) entry.Caption = i <= 9 ? "&" + std::to_string(i + 1) + " " + text : "  " + text;
    if (OnMenuItem) OnMenuItem(static_cast<int>(i), entry);
    entries.push_back(std::move(entry));
  }
  return entries;
}

void TMRUFiles::Click(int index) {
  if (index < 0 || index >= Count()) return;
  const std::string fileName = m_files[static_cast<std::size_t>(index)];  // a copy: the handler may change the list
  if (OnClick) OnClick(fileName);
}

void TMRUFiles::EndBatch(const std::vector<std::string>& before) {
  if (before == m_files) return;
  RebuildMenu();
  if (OnChange) OnChange();
}

void TMRUFiles::RebuildMenu() {
  if (m_menu) m_menu->Rebuild(MenuEntries());
}

void TMRUFiles::TrimTo(std::size_t keep) {
  if (m_files.size() > keep) m_files.resize(keep);
}

}  // namespace penwick
