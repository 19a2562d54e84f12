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
#include "support/ScreenshotCompare.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;

fs::path Reference(const char* name) {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return fs::path(root ? root : ".") / "tests" / "data" / "editor" / name;
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

  // A missing collapse box frame (80 pixels) or a word in another colour
  // does not fit in 0.01 % of the pixels.
  test::ExpectLooksLike(memo->viewport()->grab().toImage(), Reference("template_view.png"), 10000);
}

}  // namespace
}  // namespace penwick
