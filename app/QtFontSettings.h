// The editor font between Qt and the settings file's description of it.
#pragma once

#include <QFont>
#include <cstdint>

#include "app/SettingsFile.h"

namespace penwick {

// The style as bits: 1 bold, 2 italic, 4 underline, 8 strike-out.
int FontStyleBits(const QFont& font);

// The settings of `font`; its size in points (a font sized in pixels counts
// at 96 dots per inch, so 13 pixels are 10 points).
TFontSettings FontSettingsOf(const QFont& font, std::int32_t color, int charset);

// `font` with the name, size and style of `settings`; the style bits are
// only added. A size below 1 point keeps the font's size and one above 400
// points is taken as 400, so that a damaged file cannot make the editor
// unusable.
QFont FontFromSettings(const TFontSettings& settings, QFont font);

}  // namespace penwick
