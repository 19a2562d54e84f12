// Colours of drawing states on screen: 32-bit colour values (red lowest, a
// top byte of 0xFF naming a system colour) to Qt colours and back.
#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

namespace penwick {

// A colour of a drawing state on screen: a system colour is taken from
// `palette`; clNone and clDefault (and unknown system colours) give `fallback`.
QColor CanvasColor(std::uint32_t color, const QPalette& palette, const QColor& fallback);
// The 32-bit value (red lowest) of a screen colour.
std::uint32_t ColorValue(const QColor& color);

}  // namespace penwick
