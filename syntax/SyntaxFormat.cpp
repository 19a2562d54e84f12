// Laying a style over a drawing state.
#include "syntax/SyntaxFormat.h"

namespace penwick {

void TSyntaxFormat::ApplyToCanvas(TCanvasState& state, bool allowFontChange) const {
  if (!Enabled()) return;
  if (BgColor != clNone) state.BgColor = BgColor;
  if (FormatType != ftBackGround && Font.Color != clNone) state.TextColor = Font.Color;
  if (FormatType != ftColor) {
    static constexpr struct { TFormatFlag flag; TFontStyle style; } kPairs[] = {
        {ffBold, fsBold}, {ffItalic, fsItalic}, {ffUnderline, fsUnderline}, {ffStrikeOut, fsStrikeOut}};
    for (const auto& p : kPairs) {
      if (!(FormatFlags & p.flag)) continue;
      if (Font.Style & p.style) state.FontStyle |= p.style;
      else state.FontStyle &= ~static_cast<std::uint32_t>(p.style);
    }
  }
  if (FormatType == ftCustomFont && allowFontChange) {
    if (FormatFlags & ffFontName) state.FontName = Font.Name;
    if (FormatFlags & ffFontCharset) state.FontCharset = Font.Charset;
    if (FormatFlags & ffFontSize) state.FontSize = Font.Size;
  }
}

}  // namespace penwick
