// The 8-bit code page of the text: conversion to and from Unicode, and the
// character-class and case questions that matching and editing ask.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace penwick {

// A single-byte code page. The default is Windows-1252, the code page the
// game's tools write. Every query answers for one byte; all of them are
// constant time (tables built once) and safe to call from any thread.
class TCodePage {
public:
  // The process-wide code page used for display and character classes.
  static const TCodePage& Default();

  // Windows-1252. Other code pages may join later; unknown ones fall back to it.
  explicit TCodePage(unsigned codePage = 1252);

  unsigned Number() const { return m_number; }

  // The Unicode code point of a byte; unmapped bytes (0x81, 0x8D, 0x8F,
  // 0x90, 0x9D in 1252) map to the C1 control of the same value.
  char32_t ToUnicode(unsigned char c) const { return m_toUnicode[c]; }
  // The byte for a code point, or `fallback` when the code page lacks it.
  unsigned char FromUnicode(char32_t u, unsigned char fallback = '?') const;

  // Character classes of the locale, for one byte.
  bool IsLetter(unsigned char c) const { return m_flags[c] & kLetter; }
  bool IsDigit(unsigned char c) const { return m_flags[c] & kDigit; }
  bool IsSpace(unsigned char c) const { return m_flags[c] & kSpace; }
  bool IsHexDigit(unsigned char c) const { return m_flags[c] & kHex; }
  bool IsUpper(unsigned char c) const { return m_flags[c] & kUpper; }
  bool IsLower(unsigned char c) const { return m_flags[c] & kLower; }
  // A letter or digit by the locale, or the underscore.
  bool IsWordChar(unsigned char c) const { return (m_flags[c] & (kLetter | kDigit)) || c == '_'; }

  unsigned char ToUpper(unsigned char c) const { return m_upper[c]; }
  unsigned char ToLower(unsigned char c) const { return m_lower[c]; }
  std::string ToUpper(std::string_view s) const;
  std::string ToLower(std::string_view s) const;
  // Compares without regard to case, by upper-cased bytes.
  bool SameText(std::string_view a, std::string_view b) const;

  // Whole-string conversions. Invalid UTF-8 or UTF-16 input is decoded
  // leniently and never throws; characters the code page lacks, and each
  // bad unit, become '?'. `lost`, when given, is increased by the number of
  // characters that became '?' that way (a '?' of the input is not lost).
  std::string ToUtf8(std::string_view text) const;
  std::string FromUtf8(std::string_view utf8, int* lost = nullptr) const;
  std::u16string ToUtf16(std::string_view text) const;
  std::string FromUtf16(std::u16string_view utf16, int* lost = nullptr) const;

private:
  // The byte of `u`, or '?' counted in `replaced` when the page lacks it.
  void AppendFromUnicode(std::string& out, char32_t u, int& replaced) const;

  enum : uint8_t { kLetter = 1, kDigit = 2, kSpace = 4, kHex = 8, kUpper = 16, kLower = 32 };
  unsigned m_number;
  char32_t m_toUnicode[256];
  uint8_t m_flags[256];
  unsigned char m_upper[256];
  unsigned char m_lower[256];
};

}  // namespace penwick
