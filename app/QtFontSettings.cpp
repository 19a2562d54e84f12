// Converting the editor font to and from its settings.
#include "app/QtFontSettings.h"

#include <algorithm>

namespace penwick {

namespace {

constexpr int kDotsPerInch = 96;
constexpr int kMaxPoints = 400;

// a * b / c rounded to the nearest integer, for non-negative values.
int MulDiv(int a, int b, int c) { return static_cast<int>((static_cast<long long>(a) * b + c / 2) / c); }

}  // namespace

int FontStyleBits(const QFont& font) {
  return (font.bold() ? 1 : 0) | (font.italic() ? 2 : 0) | (font.underline() ? 4 : 0) | (font.strikeOut() ? 8 : 0);
}

TFontSettings FontSettingsOf(const QFont& font, std::int32_t color, int charset) {
  TFontSettings settings;
  settings.Name = font.family().toStdString();
  settings.Size = font.pointSize() > 0 ? font.pointSize() : MulDiv(std::max(font.pixelSize(), 1), 72, kDotsPerInch);
  settings.Color = color;
  settings.Charset = charset;
  settings.Style = FontStyleBits(font);
  return settings;
}

QFont FontFromSettings(const TFontSettings& settings, QFont font) {
  if (!settings.Name.empty()) font.setFamily(QString::fromStdString(settings.Name));
  // Pixels, as the designed font is given: the editor's cells stay whole pixels.
  if (settings.Size >= 1) font.setPixelSize(MulDiv(std::min(settings.Size, kMaxPoints), kDotsPerInch, 72));
  const int bits = settings.Style | FontStyleBits(font);
  font.setBold(bits & 1);
  font.setItalic(bits & 2);
  font.setUnderline(bits & 4);
  font.setStrikeOut(bits & 8);
  return font;
}

}  // namespace penwick
