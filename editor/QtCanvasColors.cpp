// Colours of drawing states mapped onto the palette of the widget that draws them.
#include "editor/QtCanvasColors.h"

#include "syntax/CanvasState.h"

namespace penwick {

namespace {

// The palette colour standing for a system colour index (the Windows
// COLOR_* numbering the lexer files use); an invalid colour for none.
QColor SystemPaletteColor(unsigned index, const QPalette& palette) {
  switch (index) {
    case 0: return palette.color(QPalette::Button);            // scroll bar
    case 1: return palette.color(QPalette::Window);            // desktop
    case 2: return palette.color(QPalette::Active, QPalette::Highlight);    // active caption
    case 3: return palette.color(QPalette::Inactive, QPalette::Highlight);  // inactive caption
    case 4: return palette.color(QPalette::Window);            // menu
    case 5: return palette.color(QPalette::Base);              // window background
    case 6: return palette.color(QPalette::Shadow);            // window frame
    case 7: return palette.color(QPalette::WindowText);        // menu text
    case 8: return palette.color(QPalette::Text);              // window text
    case 9: return palette.color(QPalette::Active, QPalette::HighlightedText);    // caption text
    case 10: case 11: return palette.color(QPalette::Window);  // borders
    case 12: return palette.color(QPalette::Dark);             // application workspace
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Button);           // button face
    case 16: return palette.color(QPalette::Dark);             // button shadow
    case 17: return palette.color(QPalette::Disabled, QPalette::Text);  // grey text
    case 18: return palette.color(QPalette::ButtonText);
    case 19: return palette.color(QPalette::Inactive, QPalette::HighlightedText);  // inactive caption text
    case 20: return palette.color(QPalette::Light);            // button highlight
    case 21: return palette.color(QPalette::Shadow);           // 3D dark shadow
    case 22: return palette.color(QPalette::Midlight);         // 3D light
    case 23: return palette.color(QPalette::ToolTipText);      // info text
    case 24: return palette.color(QPalette::ToolTipBase);      // info background
    case 26: return palette.color(QPalette::Link);             // hot light
    case 27: case 28: case 29: return palette.color(QPalette::Highlight);  // caption gradients, menu highlight
    case 30: return palette.color(QPalette::Window);           // menu bar
    default: return QColor();
  }
}

}  // namespace

std::uint32_t ColorValue(const QColor& color) {
  const QRgb rgb = color.rgb();
  return static_cast<std::uint32_t>(qRed(rgb)) | static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
         static_cast<std::uint32_t>(qBlue(rgb)) << 16;
}

QColor CanvasColor(std::uint32_t color, const QPalette& palette, const QColor& fallback) {
  if (color == clNone || color == clDefault) return fallback;
  if ((color >> 24) == 0xFF) {
    const QColor system = SystemPaletteColor(color & 0xFFu, palette);
    return system.isValid() ? system : fallback;
  }
  return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                static_cast<int>((color >> 16) & 0xFFu));
}

}  // namespace penwick
