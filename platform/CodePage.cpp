// Windows-1252 tables and the Unicode conversions built on them.
#include "platform/CodePage.h"

#include <algorithm>

namespace penwick {

namespace {

// 0x80..0x9F of Windows-1252; the five unassigned bytes keep their C1 value.
constexpr char32_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

}  // namespace

const TCodePage& TCodePage::Default() {
  static const TCodePage page(1252);
  return page;
}

TCodePage::TCodePage(unsigned codePage) : m_number(codePage == 1252 ? codePage : 1252) {
  for (unsigned c = 0; c < 256; ++c) {
    m_toUnicode[c] = (c >= 0x80 && c < 0xA0) ? kHigh1252[c - 0x80] : static_cast<char32_t>(c);
    m_flags[c] = 0;
    m_upper[c] = m_lower[c] = static_cast<unsigned char>(c);
  }
  auto pair = [this](unsigned upper, unsigned lower) {
    m_flags[upper] |= kLetter | kUpper;
    m_flags[lower] |= kLetter | kLower;
    m_lower[upper] = static_cast<unsigned char>(lower);
    m_upper[lower] = static_cast<unsigned char>(upper);
  };
  for (unsigned c = 'A'; c <= 'Z'; ++c) pair(c, c + 32);
  for (unsigned c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7) pair(c, c + 32);  // 0xD7 is the multiplication sign, 0xF7 division
  pair(0x8A, 0x9A);                  // S caron
  pair(0x8C, 0x9C);                  // OE
  pair(0x8E, 0x9E);                  // Z caron
  pair(0x9F, 0xFF);                  // Y diaeresis
  for (unsigned c : {0x83u, 0xB5u, 0xDFu}) m_flags[c] |= kLetter | kLower;  // no upper-case partner
  m_flags[0xAA] |= kLetter;  // ordinal indicators
  m_flags[0xBA] |= kLetter;
  for (unsigned c = '0'; c <= '9'; ++c) m_flags[c] |= kDigit | kHex;
  for (unsigned c : {0xB2u, 0xB3u, 0xB9u}) m_flags[c] |= kDigit;  // superscript digits
  for (unsigned c = 'A'; c <= 'F'; ++c) m_flags[c] |= kHex, m_flags[c + 32] |= kHex;
  for (unsigned c : {0x20u, 0x09u, 0x0Au, 0x0Bu, 0x0Cu, 0x0Du, 0xA0u}) m_flags[c] |= kSpace;
}

unsigned char TCodePage::FromUnicode(char32_t u, unsigned char fallback) const {
  if (u < 0x80 || (u >= 0xA0 && u < 0x100)) return static_cast<unsigned char>(u);
  for (unsigned c = 0x80; c < 0xA0; ++c)
    if (m_toUnicode[c] == u) return static_cast<unsigned char>(c);
  return fallback;
}

void TCodePage::AppendFromUnicode(std::string& out, char32_t u, int& replaced) const {
  const unsigned char c = FromUnicode(u, 0);
  if (c == 0 && u != 0) {
    out += '?';
    ++replaced;
  } else {
    out += static_cast<char>(c);
  }
}

std::string TCodePage::ToUpper(std::string_view s) const {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(m_upper[static_cast<unsigned char>(c)]);
  return out;
}

std::string TCodePage::ToLower(std::string_view s) const {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(m_lower[static_cast<unsigned char>(c)]);
  return out;
}

bool TCodePage::SameText(std::string_view a, std::string_view b) const {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [this](char x, char y) {
           return m_upper[static_cast<unsigned char>(x)] == m_upper[static_cast<unsigned char>(y)];
         });
}

std::string TCodePage::ToUtf8(std::string_view text) const {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (unsigned char c : text) AppendUtf8(out, m_toUnicode[c]);
  return out;
}

std::string TCodePage::FromUtf8(std::string_view utf8, int* lost) const {
  std::string out;
  int replaced = 0;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    char32_t u;
    size_t extra;
    if (b < 0x80) { u = b; extra = 0; }
    else if ((b & 0xE0) == 0xC0) { u = b & 0x1F; extra = 1; }
    else if ((b & 0xF0) == 0xE0) { u = b & 0x0F; extra = 2; }
    else if ((b & 0xF8) == 0xF0) { u = b & 0x07; extra = 3; }
    else { out += '?'; ++replaced; ++i; continue; }
    size_t j = 1;
    for (; j <= extra && i + j < utf8.size(); ++j) {
      unsigned char n = static_cast<unsigned char>(utf8[i + j]);
      if ((n & 0xC0) != 0x80) break;
      u = (u << 6) | (n & 0x3F);
    }
    if (j <= extra) { out += '?'; ++replaced; i += j; continue; }
    AppendFromUnicode(out, u, replaced);
    i += extra + 1;
  }
  if (lost) *lost += replaced;
  return out;
}

std::u16string TCodePage::ToUtf16(std::string_view text) const {
  std::u16string out;
  out.reserve(text.size());
  for (unsigned char c : text) out += static_cast<char16_t>(m_toUnicode[c]);  // all in the BMP
  return out;
}

std::string TCodePage::FromUtf16(std::u16string_view utf16, int* lost) const {
  std::string out;
  out.reserve(utf16.size());
  int replaced = 0;
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t u = utf16[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000) {
      u = 0x10000 + ((u - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    }
    AppendFromUnicode(out, u, replaced);
  }
  if (lost) *lost += replaced;
  return out;
}

}  // namespace penwick
