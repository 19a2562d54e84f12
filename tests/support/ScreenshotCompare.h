// Compares a grabbed picture of a widget with a recorded reference image: a
// layout or painting regression fails the test and leaves the actual and a
// difference image beside the reference. With PENWICK_REGENERATE set the
// reference is written instead (check it by eye before committing).
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace penwick::test {

// Pixels that differ by more than `channel` in some colour channel; the
// differences painted red over a dimmed copy of `got` into `diff`.
inline int DifferentPixels(const QImage& want, const QImage& got, int channel, QImage& diff) {
  diff = got.convertToFormat(QImage::Format_RGB32);
  int n = 0;
  for (int y = 0; y < got.height(); ++y)
    for (int x = 0; x < got.width(); ++x) {
      const QColor a = want.pixelColor(x, y), b = got.pixelColor(x, y);
      const bool differs = std::abs(a.red() - b.red()) > channel || std::abs(a.green() - b.green()) > channel ||
                           std::abs(a.blue() - b.blue()) > channel;
      n += differs;
      diff.setPixelColor(x, y, differs ? QColor(255, 0, 0) : b.darker(300));
    }
  return n;
}

// `got` against the image at `reference`. Anti-aliased edges may shade
// differently (a channel may differ by up to 64) and a few pixels may fall
// differently: at most one pixel in `oneIn` may differ.
inline void ExpectLooksLike(const QImage& grabbed, const std::filesystem::path& reference, int oneIn) {
  namespace fs = std::filesystem;
  const QImage got = grabbed.convertToFormat(QImage::Format_RGB32);
  if (std::getenv("PENWICK_REGENERATE")) {
    fs::create_directories(reference.parent_path());
    ASSERT_TRUE(got.save(QString::fromStdString(reference.string())));
    GTEST_SKIP() << "wrote " << reference;
  }
  QImage want(QString::fromStdString(reference.string()));
  ASSERT_FALSE(want.isNull()) << reference << " is missing; run with PENWICK_REGENERATE=1";
  want = want.convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(want.size(), got.size());
  QImage diff;
  const int different = DifferentPixels(want, got, 64, diff);
  const int allowed = got.width() * got.height() / oneIn;
  if (different > allowed) {
    const fs::path base = reference.parent_path() / reference.stem();
    got.save(QString::fromStdString(base.string() + ".actual.png"));
    diff.save(QString::fromStdString(base.string() + ".diff.png"));
  }
  EXPECT_LE(different, allowed) << "see " << reference.stem() << ".actual.png and .diff.png beside the reference";
}

}  // namespace penwick::test
