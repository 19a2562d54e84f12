// Reading painted text back from an image of the editor: which pixels are
// glyph ink of a colour, and how many of them lie in a stretch of cells.
#pragma once

#include <QColor>
#include <QImage>
#include <cstdlib>

#include "editor/SyntaxMemo.h"

namespace penwick::test {

// Whether a pixel is ink of `color` on `background`: the colour itself or, at
// the anti-aliased edges of a glyph, at least halfway from the background to it.
inline bool InkOf(QColor pixel, const QColor& color, const QColor& background) {
  const int p[3] = {pixel.red(), pixel.green(), pixel.blue()};
  const int c[3] = {color.red(), color.green(), color.blue()};
  const int b[3] = {background.red(), background.green(), background.blue()};
  int strongest = 0;
  for (int i = 1; i < 3; ++i)
    if (std::abs(c[i] - b[i]) > std::abs(c[strongest] - b[strongest])) strongest = i;
  if (c[strongest] == b[strongest]) return pixel.rgb() == color.rgb();
  const double t = double(p[strongest] - b[strongest]) / double(c[strongest] - b[strongest]);
  if (t < 0.5 || t > 1.05) return false;
  for (int i = 0; i < 3; ++i)
    if (std::abs(p[i] - (b[i] + t * (c[i] - b[i]))) > 12) return false;
  return true;
}

// Ink pixels of `color` in the cells of characters [x, x + count) of `line`.
inline int CountInk(const TSyntaxMemo& memo, const QImage& image, int line, int x, int count, const QColor& color,
                    const QColor& background) {
  const QPoint at = memo.CaretPosToPoint(TPoint{x, line});
  const QRect cells(at.x(), at.y(), count * memo.CharWidth(), memo.LineHeight());
  int n = 0;
  for (int py = cells.top(); py <= cells.bottom(); ++py)
    for (int px = cells.left(); px <= cells.right(); ++px)
      if (image.rect().contains(px, py) && InkOf(image.pixelColor(px, py), color, background)) ++n;
  return n;
}

}  // namespace penwick::test
