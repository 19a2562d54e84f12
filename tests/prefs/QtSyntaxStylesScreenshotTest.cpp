// The "Syntax Highlighting" form over the shipped lexer, compared with a
// recorded image: a layout or painting regression shows as a failing test
// with the actual and the difference images written beside the reference.
// With PENWICK_REGENERATE set the reference is written instead (check it by
// eye before committing).
#include <QApplication>
#include <QComboBox>
#include <QStyleOptionComboBox>
#include <QImage>
#include <QListWidget>
#include <QStyleFactory>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "editor/SyntaxMemo.h"
#include "prefs/QtBorderLineBox.h"
#include "prefs/QtColorBox.h"
#include "prefs/QtSyntStyleFrame.h"
#include "prefs/QtSyntaxStylesForm.h"
#include "prefs/SyntaxStylesDialog.h"
#include "support/ScreenshotCompare.h"
#include "support/ScriptedDialogs.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return fs::path(root ? root : ".");
}

TEST(SyntaxStylesScreenshot, TheFormOverTheShippedLexerWithTheFirstElementSelected) {
  // Independent of the desktop: one style, one font.
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setPalette(QApplication::style()->standardPalette());
  QApplication::setFont(QFont("DejaVu Sans", 9));

  test::TScriptedDialogs dialogs;
  TSyntAnalyzer lexer;
  lexer.LoadFromFile((SourceDir() / "themes" / "mis2.lcf").string(), &dialogs);
  TSyntaxStylesDialog dialog(lexer, dialogs);
  TQtSyntaxStylesForm form(dialog, dialogs);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_EQ(form.size(), QSize(463, 552)) << "the client area";
  ASSERT_EQ(form.Preview()->size(), QSize(449, 173));
  ASSERT_EQ(form.ElementList()->currentRow(), 0);
  form.Preview()->clearFocus();  // no caret: it blinks
  form.ElementList()->setFocus();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        form.Preview()->SyntClient()->AnalyzeAll();
        return !form.Preview()->SyntClient()->FinishingPending();
      },
      5000));
  QTest::qWait(50);

  // A control moved by a pixel or a missing caption does not fit in 0.05 %
  // of the pixels.
  test::ExpectLooksLike(form.grab().toImage(), SourceDir() / "tests" / "data" / "prefs" / "syntax_highlighting.png", 2000);
}

// The width a drop-down list needs to show `index`'s caption and icon whole.
int WidthToShow(const QComboBox& box, int index) {
  QStyleOptionComboBox option;
  option.initFrom(&box);
  option.currentText = box.itemText(index);
  const int iconWidth = box.itemIcon(index).isNull() ? 0 : box.iconSize().width() + 4;
  const QSize content(box.fontMetrics().horizontalAdvance(box.itemText(index)) + iconWidth, box.fontMetrics().height());
  return box.style()->sizeFromContents(QStyle::CT_ComboBox, &option, content, &box).width();
}

// In the same desktop-independent setting: the rows of "Borders ..." show
// every colour name whole and every line sample whole.
TEST(SyntaxStylesScreenshot, TheBorderRowsShowTheirEntriesWhole) {
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setFont(QFont("DejaVu Sans", 9));
  test::TScriptedDialogs dialogs;
  TSyntAnalyzer lexer;
  lexer.LoadFromFile((SourceDir() / "themes" / "mis2.lcf").string(), &dialogs);
  TSyntaxStylesDialog dialog(lexer, dialogs);
  TQtSyntaxStylesForm form(dialog, dialogs);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  for (int side = bsLeft; side <= bsBottom; ++side) {
    for (const QComboBox* box : std::initializer_list<const QComboBox*>{form.StyleFrame()->BorderColorBox(static_cast<TBorderSide>(side)),
                                                                       form.StyleFrame()->BorderTypeBox(static_cast<TBorderSide>(side))}) {
      for (int i = 0; i < box->count(); ++i)
        EXPECT_GE(box->width(), WidthToShow(*box, i)) << "side " << side << ": " << qPrintable(box->itemText(i)) << " is cut off";
    }
  }
}

}  // namespace
}  // namespace penwick
