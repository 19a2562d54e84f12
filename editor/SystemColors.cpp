// The classic Windows system colour table.
#include "editor/SystemColors.h"

#include <array>

namespace penwick {
namespace {

constexpr std::uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

// By index: scroll bar, desktop, active caption, inactive caption, menu,
// window, window frame, menu text, window text, caption text, active border,
// inactive border, application work space, highlight, highlight text, button
// face, button shadow, grey text, button text, inactive caption text, button
// highlight, 3D dark shadow, 3D light, info text, info background, (unused),
// hot light, gradient active caption, gradient inactive caption, menu
// highlight, menu bar.
constexpr std::array<std::uint32_t, 31> kClassic = {
    Rgb(212, 208, 200), Rgb(58, 110, 165),  Rgb(10, 36, 106),   Rgb(128, 128, 128), Rgb(212, 208, 200),
    Rgb(255, 255, 255), Rgb(0, 0, 0),       Rgb(0, 0, 0),       Rgb(0, 0, 0),       Rgb(255, 255, 255),
    Rgb(212, 208, 200), Rgb(212, 208, 200), Rgb(128, 128, 128), Rgb(10, 36, 106),   Rgb(255, 255, 255),
    Rgb(212, 208, 200), Rgb(128, 128, 128), Rgb(128, 128, 128), Rgb(0, 0, 0),       Rgb(212, 208, 200),
    Rgb(255, 255, 255), Rgb(64, 64, 64),    Rgb(212, 208, 200), Rgb(0, 0, 0),       Rgb(255, 255, 225),
    Rgb(181, 181, 181), Rgb(0, 0, 128),     Rgb(166, 202, 240), Rgb(192, 192, 192), Rgb(10, 36, 106),
    Rgb(212, 208, 200)};

}  // namespace

std::uint32_t DefaultSystemColor(unsigned index) { return index < kClassic.size() ? kClassic[index] : 0; }

std::uint32_t DefaultColorToRGB(std::uint32_t color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return DefaultSystemColor(color & 0xFFu);
  return color & 0x00FFFFFFu;
}

}  // namespace penwick
