// Image comparison for the screenshot tests.
#include "support/ImageCompare.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>
#include <cmath>

namespace penwick::test {

TImageComparison CompareImages(const QImage& actualIn, const QImage& expectedIn, int channelTolerance) {
  TImageComparison result;
  const QImage actual = actualIn.convertToFormat(QImage::Format_RGB32);
  const QImage expected = expectedIn.convertToFormat(QImage::Format_RGB32);
  result.SameSize = actual.size() == expected.size();
  if (!result.SameSize) return result;
  result.TotalPixels = actual.width() * actual.height();
  result.Difference = QImage(actual.size(), QImage::Format_RGB32);
  for (int y = 0; y < actual.height(); ++y) {
    const QRgb* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
    const QRgb* e = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
    QRgb* d = reinterpret_cast<QRgb*>(result.Difference.scanLine(y));
    for (int x = 0; x < actual.width(); ++x) {
      const int diff = std::max({std::abs(qRed(a[x]) - qRed(e[x])), std::abs(qGreen(a[x]) - qGreen(e[x])),
                                 std::abs(qBlue(a[x]) - qBlue(e[x]))});
      result.LargestChannelDifference = std::max(result.LargestChannelDifference, diff);
      if (diff > channelTolerance) {
        ++result.DifferingPixels;
        d[x] = qRgb(255, 0, 0);
      } else {
        const int grey = 128 + qGray(e[x]) / 2;
        d[x] = qRgb(grey, grey, grey);
      }
    }
  }
  return result;
}

QString CheckAgainstReference(const QImage& actual, const QString& referenceName, int channelTolerance,
                              double maxDifferingFraction) {
  const char* sourceDir = std::getenv("PENWICK_SOURCE_DIR");
  const char* binaryDir = std::getenv("PENWICK_BINARY_DIR");
  if (!sourceDir || !binaryDir) return "PENWICK_SOURCE_DIR and PENWICK_BINARY_DIR must be set";
  const QString referencePath = QDir(QString::fromLocal8Bit(sourceDir)).filePath("tests/data/" + referenceName);
  if (std::getenv("PENWICK_REGENERATE")) {
    QDir().mkpath(QFileInfo(referencePath).path());
    if (!actual.save(referencePath, "PNG")) return "cannot write " + referencePath;
    return {};
  }
  const QImage expected(referencePath);
  if (expected.isNull()) return referencePath + " is missing; run the test with PENWICK_REGENERATE=1";
  const TImageComparison comparison = CompareImages(actual, expected, channelTolerance);
  const bool fits = comparison.SameSize &&
                    comparison.DifferingPixels <= std::floor(maxDifferingFraction * comparison.TotalPixels);
  if (fits) return {};
  const QString outDir = QDir(QString::fromLocal8Bit(binaryDir)).filePath("screenshots");
  QDir().mkpath(outDir);
  const QString stem = QDir(outDir).filePath(QFileInfo(referenceName).completeBaseName());
  actual.save(stem + ".actual.png", "PNG");
  if (!comparison.SameSize)
    return QString("size %1x%2 differs from the reference's %3x%4; the image is in %5.actual.png")
        .arg(actual.width()).arg(actual.height()).arg(expected.width()).arg(expected.height()).arg(stem);
  comparison.Difference.save(stem + ".diff.png", "PNG");
  return QString("%1 of %2 pixels differ (largest channel difference %3); see %4.actual.png and %4.diff.png")
      .arg(comparison.DifferingPixels).arg(comparison.TotalPixels).arg(comparison.LargestChannelDifference).arg(stem);
}

}  // namespace penwick::test
