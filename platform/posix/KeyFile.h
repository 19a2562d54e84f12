// A freedesktop.org key file (desktop entries, mimeapps.list) held as its
// lines, so that changing one key leaves every other byte as it was.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace penwick {

// Lines are kept as they were read (a CR before the LF included). Group and
// key names are compared exactly; blanks around "=" and around a value are
// not part of it. Reading never fails: a missing or unreadable file is an
// empty key file.
class TKeyFile {
public:
  static TKeyFile Parse(const std::string& text);
  static TKeyFile Read(const std::string& fileName);
  // The text to write back: the lines joined by LF, with a final LF when the
  // file read had one (a new file always ends with one).
  std::string Text() const;

  // The value of `key` in the first place `group` holds it; nullopt when
  // absent (a repeated group counts as the same group).
  std::optional<std::string> Value(const std::string& group, const std::string& key) const;
  // The items of a ";"-separated value, blanks trimmed, empty items dropped;
  // empty when the key is absent.
  std::vector<std::string> List(const std::string& group, const std::string& key) const;
  // Sets `key` of `group` to `value`, or removes it when `value` is nullopt.
  // The first line of the key is replaced (keeping its CR) and later ones,
  // also in a repeated group, removed; a new key goes after the last
  // non-blank line of the group's first occurrence, a new group at the end.
  void SetValue(const std::string& group, const std::string& key, const std::optional<std::string>& value);
  // SetValue with the items joined as "a;b;"; no items removes the key.
  void SetList(const std::string& group, const std::string& key, const std::vector<std::string>& items);

private:
  std::vector<std::string> m_lines;
  bool m_endsWithNewline = true;
};

}  // namespace penwick
