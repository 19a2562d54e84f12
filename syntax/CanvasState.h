// The drawing state that styles are applied to: the attributes a painter or exporter keeps for the next run of text.
#pragma once

#include <cstdint>
#include <string>

namespace penwick {

// Colours are 32-bit values, red in the lowest byte; a top byte of 0xFF names
// a system colour by its low byte.
constexpr std::uint32_t clNone = 0x1FFFFFFFu;
constexpr std::uint32_t clDefault = 0x20000000u;
constexpr std::uint32_t clBlack = 0x000000u;
constexpr std::uint32_t SystemColor(unsigned index) { return 0xFF000000u | (index & 0xFFu); }
constexpr std::uint32_t clHighlight = SystemColor(13);
constexpr std::uint32_t clHighlightText = SystemColor(14);
constexpr std::uint32_t clWindowText = SystemColor(8);

// Font style bits.
enum TFontStyle : std::uint32_t { fsBold = 1u << 0, fsItalic = 1u << 1, fsUnderline = 1u << 2, fsStrikeOut = 1u << 3 };

// What a run of text is drawn with. No toolkit types: the editor maps these
// to its own font and pen when it paints.
struct TCanvasState {
  std::string FontName = "Courier New";
  int FontSize = 10;      // points
  int FontCharset = 1;    // DEFAULT_CHARSET
  std::uint32_t TextColor = clWindowText;
  std::uint32_t BgColor = clNone;
  std::uint32_t FontStyle = 0;  // set of TFontStyle bits

  bool operator==(const TCanvasState&) const = default;
};

}  // namespace penwick
