// Comparing a rendered image with a reference image kept in tests/data, with
// a tolerance for the small differences font rasterising brings.
#pragma once

#include <QImage>
#include <QString>

namespace penwick::test {

struct TImageComparison {
  bool SameSize = false;
  int DifferingPixels = 0;  // pixels with a channel off by more than the tolerance
  int TotalPixels = 0;
  int LargestChannelDifference = 0;
  QImage Difference;  // differing pixels in red over a faded copy of the reference
};

// Compares channel by channel (alpha ignored).
TImageComparison CompareImages(const QImage& actual, const QImage& expected, int channelTolerance);

// Compares `actual` with the reference `tests/data/<referenceName>`: at most
// `maxDifferingFraction` of the pixels may differ by more than
// `channelTolerance` in a channel. On a mismatch, writes
// "<name>.actual.png" and "<name>.diff.png" into "<binary dir>/screenshots/"
// and returns a message naming them; an empty string means the images match.
// With PENWICK_REGENERATE set the reference is written instead.
QString CheckAgainstReference(const QImage& actual, const QString& referenceName, int channelTolerance,
                              double maxDifferingFraction);

}  // namespace penwick::test
