// The template script as the editor paints it, compared with a recorded
// image: a painting regression shows as a failing test with the actual and
// the difference images written beside the reference. With PENWICK_REGENERATE
// set the reference is written instead (check it by eye before committing).
#include <QApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "editor/QtGutter.h"
#include "editor/SyntaxMemo.h"
#include "language/MissionLexer.h"
#include "language/MissionPalette.h"
#include "language/TemplateScript.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;

fs::path Reference(const char* name) {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return fs::path(root ? root : ".") / "tests" / "data" / "editor" / name;
}

// Pixels that differ by more than `channel` in some colour channel (font
// rasterising moves edges by a little); the differences painted red over a
// dimmed copy of the actual image into `diff`.
int DifferentPixels(const QImage& want, const QImage& got, int channel, QImage& diff) {
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

TEST(SyntaxMemoScreenshot, TheTemplateScriptWithAFoldedCommentRun) {
  TSyntAnalyzer lexer;
  BuildDefaultMissionLexer(lexer);  // the shipped palette, legible on black
  auto memo = std::make_unique<TSyntaxMemo>();
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(13);
  memo->SetEditorFont(font);
  memo->SetColor(Qt::black);
  memo->SetFontColor(QColor(192, 192, 192));
  memo->SetWordWrap(true);
  memo->SetTextMargin(6);
  memo->Gutter().SetWidth(40);
  memo->Gutter().SetColor(QColor(240, 240, 240));
  memo->Gutter().SetShowSeparator(false);
  memo->Gutter().SetCollapsePen(Qt::gray);
  memo->LineNumbers().SetFontColor(Qt::black);
  memo->LineNumbers().SetUnderColor(QColor(191, 205, 219));
  memo->SetSyntaxAnalyzer(&lexer);
  memo->resize(420, 520);
  memo->Lines().SetText(TemplateScriptText());
  memo->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(memo.get()));
  memo->clearFocus();  // no caret: it blinks
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        memo->SyntClient()->AnalyzeAll();
        return !memo->SyntClient()->FinishingPending() && !memo->SyntClient()->CollapsibleRanges().empty();
      },
      5000));
  ASSERT_EQ(memo->SyntClient()->LineFoldState(0), 0) << "the heading comments are a foldable run";
  memo->ToggleFold(0, false);
  ASSERT_EQ(memo->Folds().Count(), 1);

  const QImage got = memo->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const fs::path reference = Reference("template_view.png");
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
  // Anti-aliased edges may shade differently (the channel tolerance) and a
  // few pixels fall differently; a missing collapse box frame (80 pixels) or
  // a word in another colour does not fit in 0.01 % of the pixels.
  const int allowed = got.width() * got.height() / 10000;
  if (different > allowed) {
    const fs::path base = reference.parent_path() / reference.stem();
    got.save(QString::fromStdString(base.string() + ".actual.png"));
    diff.save(QString::fromStdString(base.string() + ".diff.png"));
  }
  EXPECT_LE(different, allowed) << "see " << reference.stem() << ".actual.png and .diff.png beside the reference";
}

}  // namespace
}  // namespace penwick
