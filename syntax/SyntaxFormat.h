// A style of a lexer definition (`TSyntaxFormat`) and how it is laid over a drawing state.
#pragma once

#include <cstdint>
#include <string>

#include "syntax/CanvasState.h"
#include "syntax/SyntCollection.h"

namespace penwick {

enum TFormatType { ftCustomFont, ftFontAttr, ftColor, ftBackGround };
enum TVertAlignment { vaTop, vaCenter, vaBottom };
enum TBorderLineType { blNone, blSolid, blDash, blDot, blDashDot, blDashDotDot, blSolid2, blSolid3, blWavyLine, blDouble };
enum TChangeCase { ccNone, ccUpper, ccLower, ccToggle, ccTitle };
enum TFormatFlag : std::uint32_t {
  ffBold = 1u << 0, ffItalic = 1u << 1, ffUnderline = 1u << 2, ffStrikeOut = 1u << 3,
  ffReadOnly = 1u << 4, ffHidden = 1u << 5, ffFontName = 1u << 6, ffFontSize = 1u << 7,
  ffFontCharset = 1u << 8, ffVertAlign = 1u << 9
};
constexpr std::uint32_t kAllFormatFlags = (1u << 10) - 1;

struct TSyntFont {
  std::string Name = "Courier New";
  int Size = 10;          // points
  int Height = -13;       // negative: character height in pixels
  int Pitch = 0;          // fpDefault
  std::uint32_t Color = clWindowText;
  std::uint32_t Style = 0;  // set of TFontStyle bits
  int Charset = 1;          // DEFAULT_CHARSET
};

class TSyntaxFormat : public TSyntCollectionItem {
public:
  TSyntaxFormat() = default;
  const char* KindName() const override { return "Style"; }

  // The public attribute fields below are plain data; whoever changes them
  // calls Changed() so that the analyses using the definition repaint.
  TSyntFont Font;
  std::uint32_t BgColor = clNone;
  TVertAlignment VertAlignment = vaCenter;
  TFormatType FormatType = ftFontAttr;
  bool Hidden = false;
  TBorderLineType BorderTypeLeft = blNone, BorderTypeTop = blNone, BorderTypeRight = blNone, BorderTypeBottom = blNone;
  std::uint32_t BorderColorLeft = 0, BorderColorTop = 0, BorderColorRight = 0, BorderColorBottom = 0;
  bool MultiLineBorder = false;
  bool ReadOnly = false;
  TChangeCase ChangeCase = ccNone;
  std::uint32_t FormatFlags = kAllFormatFlags;

  // Lays the style over `state`: a disabled style changes nothing; the
  // background, then the text colour (not for ftBackGround), then the four
  // font styles named in FormatFlags (not for ftColor), then, for
  // ftCustomFont and only when `allowFontChange`, name, charset and size.
  // clNone colours leave the state's colour as it was.
  void ApplyToCanvas(TCanvasState& state, bool allowFontChange) const;
};

}  // namespace penwick
