// How the text store's 8-bit text stands in a file: byte-order mark and
// encoding, line-break style and code page, in both directions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace penwick {

class TCodePage;

// The file encoding found by loading (by its byte-order mark) and used by saving.
enum TTextEncoding : uint8_t {
  teAnsi = 0,     // 8-bit text in the code page
  teUtf16LE = 1,  // FF FE
  teUtf16BE = 2,  // FE FF
  teUtf8 = 3,     // EF BB BF
};

// How saving writes line breaks.
enum TLineBreakStyle : uint8_t {
  lbAsHeld = 0,  // every break as it stands in the text (mixed styles survive)
  lbCRLF = 1,
  lbCR = 2,
  lbLF = 3,
};

// The format of one document's file. A new document (and one loaded from an
// empty file) is 8-bit text with CR LF breaks. Loading sets the encoding from
// the byte-order mark and the break style from the breaks found; saving
// writes the mark and converts the text back.
//
// Characters that the code page cannot hold become '?' when a UTF-8 or
// UTF-16 file (or an 8-bit file in another code page) is read; how many did
// so is kept (LostCharacters) until the next load or reset, so that whoever
// saves over that file can ask first.
class TTextFileFormat {
public:
  TTextEncoding Encoding() const { return m_encoding; }
  void SetEncoding(TTextEncoding encoding) { m_encoding = encoding; }
  // When set, a load without a byte-order mark keeps the previous encoding.
  bool KeepEncoding() const { return m_keepEncoding; }
  void SetKeepEncoding(bool keep) { m_keepEncoding = keep; }
  TLineBreakStyle LineBreakStyle() const { return m_lineBreakStyle; }
  void SetLineBreakStyle(TLineBreakStyle style) { m_lineBreakStyle = style; }
  // Font character set that picks the 8-bit code page (1: the default set,
  // giving the system ANSI page; 255: OEM).
  int Charset() const { return m_charset; }
  void SetCharset(int charset) { m_charset = charset; }
  // Explicit 8-bit code page of the file; 0 derives it from Charset.
  unsigned CodePage() const { return m_codePage; }
  void SetCodePage(unsigned codePage) { m_codePage = codePage; }
  // The code page the text is held in (from Charset).
  const TCodePage& TextCodePage() const;

  // 8-bit text, CR LF breaks, nothing lost; charset and code page stay.
  void ResetForNewDocument();

  // ---- Loading ----
  // Reads the byte-order mark at the start of a file's bytes and answers how
  // many bytes it takes (0 without one). A mark sets the encoding; without
  // one the encoding becomes 8-bit unless KeepEncoding is set.
  std::size_t ReadByteOrderMark(std::string_view bytes);
  // Whether the bytes after the mark are the text as they stand.
  bool TakesBytesAsText(std::size_t markLength) const;
  // The 8-bit text of the bytes after the mark; counts what was lost. An odd
  // last byte of UTF-16 is ignored.
  std::string Decode(std::string_view bytes);
  // The style loading finds: lbCR when every break is a lone CR, lbLF when
  // every one is a lone LF, else lbAsHeld.
  void SetBreakStyleFromCounts(int crLf, int cr, int lf);
  int LostCharacters() const { return m_lostCharacters; }
  void ClearLostCharacters() { m_lostCharacters = 0; }

  // ---- Saving ----
  std::string_view ByteOrderMark() const;
  // The break every line break is written as; empty for lbAsHeld.
  std::string_view StyleBreak() const;
  // Whether the text is written byte for byte (8-bit, no code-page change,
  // breaks as held).
  bool WritesTextAsHeld() const;
  // Whether Encode changes the bytes (a Unicode encoding or another code page).
  bool EncodesText() const { return m_encoding != teAnsi || ConvertsCodePage(); }
  // A piece of the text in the file's encoding (no mark).
  std::string Encode(std::string_view text) const;

private:
  bool ConvertsCodePage() const;

  TTextEncoding m_encoding = teAnsi;
  bool m_keepEncoding = false;
  TLineBreakStyle m_lineBreakStyle = lbCRLF;
  int m_charset = 1;
  unsigned m_codePage = 0;
  int m_lostCharacters = 0;
};

}  // namespace penwick
