// Settings files of the classic ini kind ("[Section]" lines followed by
// "Key=Value" lines), read and written with the semantics of the Windows
// profile functions the game's tools use.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace penwick {

// "Unable to write to <file name>": a write to a settings file failed; the
// file is as it was before that write.
class EIniFileError : public std::runtime_error {
public:
  explicit EIniFileError(const std::string& fileName) : std::runtime_error("Unable to write to " + fileName) {}
};

// One settings file.
//  - Section and key names match without regard to ASCII letter case; the
//    first section of a name and its first key of a name count. Names and
//    values are read with surrounding blanks (spaces, tabs) removed.
//  - A missing file, section or key yields the default, as does a file that
//    exists but cannot be read. A read value is at most 2047 characters long
//    (the rest is cut off).
//  - Every write goes to the file at once, through the safe writer: the file
//    is re-read, changed in the one place and written whole, so a crash never
//    leaves half a file and what another object or program wrote in between
//    is kept. Lines that are neither sections nor keys, and the line breaks
//    of untouched lines, stay byte for byte. A key written anew takes the
//    name as written ("BgColor" replaces a line "bgcolor=..."); a new key is
//    added after the last non-blank line of its section, a new section at the
//    end of the file. A failed write raises EIniFileError.
//  - A UTF-8 byte order mark at the start of the file is skipped and kept.
//  - Reads re-read the file too (cheaply: the parsed lines are reused while
//    the bytes are unchanged), so several objects may share one file.
// Names must not be empty nor hold line breaks, "=" (keys) or "]" (sections),
// and values must not hold line breaks: such a write raises
// std::invalid_argument and changes nothing.
class TIniFile {
public:
  explicit TIniFile(std::string fileName);

  const std::string& FileName() const { return m_fileName; }

  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // Decimal, or hexadecimal after "$", "0x" or "0X", with an optional sign;
  // anything else (also an empty value or one out of the 32-bit range) gives
  // the default.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // An integer as above; any value other than 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int value);
  // "1" or "0".
  void WriteBool(std::string_view section, std::string_view key, bool value);

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // The key names of a section in file order (as written in the file).
  std::vector<std::string> ReadSection(std::string_view section) const;
  // Removes every section of that name with its keys; nothing is written
  // when there is none.
  void EraseSection(std::string_view section);
  // Removes the key's line; nothing is written when there is none.
  void DeleteKey(std::string_view section, std::string_view key);

  static constexpr std::size_t kMaxValueLength = 2047;

private:
  struct TLine {
    std::string Text;
    std::string Break;  // "\r\n", "\n", or empty for a last line without one
  };
  struct TSpan {
    std::size_t Header;  // index of the "[Section]" line
    std::size_t End;     // one past its last line
  };

  // Brings the parsed lines up to date with the file; false when the file
  // exists but cannot be read.
  bool Refresh() const;
  // Like Refresh, but a file that cannot be read cannot be written either.
  void RefreshForWrite() const;
  void Store();
  std::optional<TSpan> FindSection(std::string_view section, std::size_t from = 0) const;
  std::optional<std::size_t> FindKey(const TSpan& span, std::string_view key) const;
  std::string NewLineBreak() const;

  std::string m_fileName;
  mutable std::string m_bytes;  // the file as last read or written
  mutable std::string m_byteOrderMark;  // the UTF-8 mark the file starts with, or empty
  mutable bool m_loaded = false;
  mutable std::vector<TLine> m_lines;
};

// The integer reading rule of settings files, for callers that read other
// kinds of values first (colour names); nullopt when it is no integer.
std::optional<int> ParseProfileInteger(std::string_view text);

}  // namespace penwick
