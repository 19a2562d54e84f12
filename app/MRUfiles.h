// The list of recently opened scripts: most recent first, kept in a settings
// file section and shown as entries of a menu that the window provides.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace penwick {

// One menu entry as the list wants it shown.
struct TMRUMenuEntry {
  std::string Caption;  // "&" already doubled; may carry an access key "&N"
  std::string Hint;     // the status-bar text
  int Index;            // the entry's position in the list (0 = most recent)
};

// The menu that shows the list; implemented by the GUI.
class TMRUMenu {
public:
  virtual ~TMRUMenu() = default;
  // Replaces the items shown last time by `entries` (list order, first on
  // top); an empty vector removes them all, separator included.
  virtual void Rebuild(const std::vector<TMRUMenuEntry>& entries) = 0;
};

// Invariants: no two entries are equal when ASCII letters are compared without
// regard to case; no entry is empty or holds a line break; Count() never
// exceeds MaxEntries().
// Every operation that changes the list (AddFile, RemoveFile, LoadFromIni, a
// trim by SetMaxEntries, Clear) rebuilds the menu once and then calls
// OnChange once; an operation that leaves the list as it was does neither.
// Handlers may change the list again (a click handler may remove its entry).
class TMRUFiles {
public:
  static constexpr std::uint8_t kDefaultMaxEntries = 9;

  TMRUFiles() = default;
  TMRUFiles(const TMRUFiles&) = delete;
  TMRUFiles& operator=(const TMRUFiles&) = delete;

  const std::vector<std::string>& Files() const { return m_files; }
  int Count() const { return static_cast<int>(m_files.size()); }
  void Clear();

  // Puts `path` on top, removing an entry equal to it without regard to ASCII
  // letter case and, when the list is full, the least recent entry. Ignored:
  // an empty path, a capacity of 0, and a path holding a line break (a
  // settings file cannot store it). Paths are kept as given (no
  // normalisation); a value the settings file reads back differently (more
  // than 2047 bytes, surrounding blanks) does not survive SaveToIni/LoadFromIni.
  void AddFile(const std::string& path);
  // Removes the first entry equal to `path` without regard to ASCII letter
  // case; nothing when there is none.
  void RemoveFile(const std::string& path);

  // Replaces the list by the values of the keys Prefix+"1" .. Prefix+N of
  // `section` (N = MaxEntries()), stopping at the first missing or empty value
  // and skipping values already listed. A missing or unreadable file gives an
  // empty list.
  void LoadFromIni(const std::string& iniFileName, const std::string& section);
  // Erases `section`, then writes Prefix+"1" (most recent) .. Prefix+Count():
  // an empty list leaves no section. Throws EIniFileError when the file
  // cannot be written (the section may then be partly written).
  void SaveToIni(const std::string& iniFileName, const std::string& section) const;

  // The capacity (default 9). A different value is stored and the list
  // trimmed to its most recent entries.
  std::uint8_t MaxEntries() const { return m_maxEntries; }
  void SetMaxEntries(std::uint8_t value);

  // Menu captions: numbered "&1 ".."&10 ", later ones indented by two spaces
  // (default true).
  bool Numbered() const { return m_numbered; }
  void SetNumbered(bool value);
  // Menu captions show the whole path, else the file name only (default true).
  bool FullPath() const { return m_fullPath; }
  void SetFullPath(bool value);
  // The entries' hint; its first "%s" stands for the whole path, every other
  // character stands as it is (default "Opens %s").
  const std::string& Hint() const { return m_hint; }
  void SetHint(const std::string& value);
  // The settings keys' prefix (default "File"); not shown, no rebuild.
  const std::string& Prefix() const { return m_prefix; }
  void SetPrefix(const std::string& value) { m_prefix = value; }

  // The menu the list is shown in; not owned, null for none. A different menu
  // first gets Rebuild({}) on the old one, then the entries. The menu must
  // stay alive while it is set here.
  TMRUMenu* MenuItem() const { return m_menu; }
  void SetMenuItem(TMRUMenu* menu);

  // The entries as the menu gets them (OnMenuItem already applied).
  std::vector<TMRUMenuEntry> MenuEntries() const;

  // The menu reports a click on the entry at `index`: OnClick gets that
  // entry's path. An index outside 0..Count()-1 does nothing.
  void Click(int index);

  std::function<void(const std::string& fileName)> OnClick;
  // Called for each entry built, in list order; it may change the entry.
  std::function<void(int index, TMRUMenuEntry& entry)> OnMenuItem;
  std::function<void()> OnChange;

private:
  // Rebuilds and reports when the list differs from `before`.
  void EndBatch(const std::vector<std::string>& before);
  void RebuildMenu();
  // Drops least recent entries while more than `keep` remain.
  void TrimTo(std::size_t keep);

  std::vector<std::string> m_files;
  std::uint8_t m_maxEntries = kDefaultMaxEntries;
  bool m_numbered = true;
  bool m_fullPath = true;
  std::string m_hint = "Opens %s";
  std::string m_prefix = "File";
  TMRUMenu* m_menu = nullptr;
};

}  // namespace penwick
