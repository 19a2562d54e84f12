// Byte-order marks, encodings, code pages and break styles of a document's file.
#include "editor/TextFileFormat.h"

#include "platform/CodePage.h"

namespace penwick {

const TCodePage& TTextFileFormat::TextCodePage() const {
  static const TCodePage oem(437);
  return m_charset == 255 ? oem : TCodePage::Default();
}

bool TTextFileFormat::ConvertsCodePage() const {
  return m_codePage != 0 && m_codePage != TextCodePage().Number();
}

void TTextFileFormat::ResetForNewDocument() {
  m_encoding = teAnsi;
  m_lineBreakStyle = lbCRLF;
  m_lostCharacters = 0;
}

std::size_t TTextFileFormat::ReadByteOrderMark(std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  TTextEncoding found = teAnsi;
  std::size_t length = 0;
  if (bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
    found = teUtf16LE;
    length = 2;
  } else if (bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
    found = teUtf16BE;
    length = 2;
  } else if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
    found = teUtf8;
    length = 3;
  }
  if (length > 0 || !m_keepEncoding) m_encoding = found;
  return length;
}

bool TTextFileFormat::TakesBytesAsText(std::size_t markLength) const {
  return m_encoding == teAnsi && markLength == 0 && !ConvertsCodePage();
}

std::string TTextFileFormat::Decode(std::string_view bytes) {
  m_lostCharacters = 0;
  const TCodePage& page = TextCodePage();
  switch (m_encoding) {
    case teUtf16LE:
    case teUtf16BE: {
      std::u16string units(bytes.size() / 2, u'\0');
      const bool big = m_encoding == teUtf16BE;
      for (std::size_t i = 0; i < units.size(); ++i) {
        const unsigned char a = static_cast<unsigned char>(bytes[2 * i]);
        const unsigned char b = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(big ? (a << 8) | b : (b << 8) | a);
      }
      return page.FromUtf16(units, &m_lostCharacters);
    }
    case teUtf8:
      return page.FromUtf8(bytes, &m_lostCharacters);
    case teAnsi:
      if (ConvertsCodePage()) return page.FromUtf16(TCodePage(m_codePage).ToUtf16(bytes), &m_lostCharacters);
      return std::string(bytes);
  }
  return std::string(bytes);
}

void TTextFileFormat::SetBreakStyleFromCounts(int crLf, int cr, int lf) {
  if (crLf == 0 && lf == 0 && cr > 0) m_lineBreakStyle = lbCR;
  else if (crLf == 0 && cr == 0 && lf > 0) m_lineBreakStyle = lbLF;
  else m_lineBreakStyle = lbAsHeld;
}

std::string_view TTextFileFormat::ByteOrderMark() const {
  switch (m_encoding) {
    case teUtf16LE: return "\xFF\xFE";
    case teUtf16BE: return "\xFE\xFF";
    case teUtf8: return "\xEF\xBB\xBF";
    case teAnsi: break;
  }
  return {};
}

std::string_view TTextFileFormat::StyleBreak() const {
  switch (m_lineBreakStyle) {
    case lbCRLF: return "\r\n";
    case lbCR: return "\r";
    case lbLF: return "\n";
    case lbAsHeld: break;
  }
  return {};
}

bool TTextFileFormat::WritesTextAsHeld() const {
  return m_encoding == teAnsi && !ConvertsCodePage() && m_lineBreakStyle == lbAsHeld;
}

std::string TTextFileFormat::Encode(std::string_view text) const {
  const TCodePage& page = TextCodePage();
  switch (m_encoding) {
    case teAnsi:
      if (ConvertsCodePage()) return TCodePage(m_codePage).FromUtf16(page.ToUtf16(text));
      return std::string(text);
    case teUtf8:
      return page.ToUtf8(text);
    case teUtf16LE:
    case teUtf16BE: {
      const std::u16string units = page.ToUtf16(text);
      std::string out(units.size() * 2, '\0');
      const bool big = m_encoding == teUtf16BE;
      for (std::size_t i = 0; i < units.size(); ++i) {
        const char hi = static_cast<char>(units[i] >> 8);
        const char lo = static_cast<char>(units[i] & 0xFF);
        out[2 * i] = big ? hi : lo;
        out[2 * i + 1] = big ? lo : hi;
      }
      return out;
    }
  }
  return std::string(text);
}

}  // namespace penwick
