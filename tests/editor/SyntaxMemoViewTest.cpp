// The editor's view in a window: word wrap, the gutter and its line numbers,
// folding from the buttons and the collapse marks, the selection without
// focus, caret shapes, scrolling rules and hints, read from real events and
// from the painted pixels.
#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPicture>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/QtGutter.h"
#include "editor/QtHintWindow.h"
#include "editor/SyntaxMemo.h"
#include "language/MissionLexer.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {
namespace {

const QColor kBackground(0, 0, 0);
const QColor kGutter(255, 255, 255);
const QColor kNumber(255, 0, 0);
const QColor kUnder(0, 0, 255);
const QColor kSilver(192, 192, 192);

class SyntaxMemoView : public ::testing::Test {
protected:
  void SetUp() override {
    BuildMissionLexer(m_lexer);
    m_window = std::make_unique<QWidget>();
    auto* column = new QVBoxLayout(m_window.get());
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_other = new QLineEdit(m_window.get());
    m_memo = new TSyntaxMemo(m_window.get());
    column->addWidget(m_other);
    column->addWidget(m_memo, 1);
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    m_memo->SetEditorFont(font);
    m_memo->SetColor(kBackground);
    m_memo->SetFontColor(QColor(192, 192, 192));
    m_memo->SetTextMargin(6);
    m_memo->Gutter().SetWidth(40);
    m_memo->Gutter().SetColor(kGutter);
    m_memo->Gutter().SetShowSeparator(false);
    m_memo->LineNumbers().SetFontColor(kNumber);
    m_memo->LineNumbers().SetUnderColor(kUnder);
    m_memo->SetSyntaxAnalyzer(&m_lexer);
    m_window->resize(600, 400);
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    m_memo->setFocus();
    QApplication::processEvents();
  }
  void TearDown() override {
    m_memo = nullptr;
    m_window.reset();
  }

  QWidget* View() const { return m_memo->viewport(); }
  QImage Grab() const { return View()->grab().toImage(); }
  void SetText(const std::string& text) {
    m_memo->Lines().SetText(text);
    m_memo->SetCaretPos(0, 0);
  }
  // Waits until the analysis has delivered its foldable ranges.
  void WaitForFolds(std::size_t count) {
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          m_memo->SyntClient()->AnalyzeAll();
          return !m_memo->SyntClient()->FinishingPending() &&
                 m_memo->SyntClient()->CollapsibleRanges().size() == count;
        },
        5000));
  }
  // The gutter's button rectangle of a line shown in row `row` (one row high).
  QRect ButtonOfRow(int row) const {
    const int lh = m_memo->LineHeight();
    return m_memo->Gutter().ButtonRect(TVisibleLine{0, row, 1, row * lh, lh, false});
  }
  void ClickButton(int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mouseClick(View(), Qt::LeftButton, mods, ButtonOfRow(row).center());
  }
  static int Count(const QImage& image, QRect area, const std::function<bool(QColor)>& match) {
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (match(image.pixelColor(x, y))) ++n;
    return n;
  }
  // Number ink (red, also anti-aliased towards white) in the gutter band of a row.
  int NumberInk(const QImage& image, int row) const {
    const int lh = m_memo->LineHeight();
    const QRect band(0, row * lh, ButtonOfRow(row).left() - 1, lh);
    return Count(image, band, [](QColor c) { return c.red() > 200 && c.green() < 150 && c.blue() < 150; });
  }
  QImage GutterBand(const QImage& image, int row) const {
    const int lh = m_memo->LineHeight();
    return image.copy(0, row * lh, m_memo->Gutter().Width(), lh);
  }

  TSyntAnalyzer m_lexer;
  std::unique_ptr<QWidget> m_window;
  QLineEdit* m_other = nullptr;
  TSyntaxMemo* m_memo = nullptr;
};

TEST_F(SyntaxMemoView, ALongLineWrapsAtTheLastBlankAndGetsOneNumber) {
  m_memo->SetWordWrap(true);
  std::string line;
  for (int i = 0; line.size() < 200; ++i) line += std::string(3 + i % 5, char('a' + i % 26)) + ' ';
  line.resize(200);
  SetText(line + "\r\nnext");
  const TViewRows& rows = m_memo->Rows();
  const int lineRows = rows.LineRows(0);
  ASSERT_GT(lineRows, 1);
  const int cw = m_memo->CharWidth();
  const int right = View()->width();
  for (int sub = 0; sub + 1 < lineRows; ++sub) {
    const int end = rows.SubLineEnd(0, sub);
    EXPECT_EQ(line[end - 1], ' ') << "sub-line " << sub << " ends after a blank";
    // Its last character fits the window; the word after it would not have.
    const int start = rows.SubLineStart(0, sub);
    EXPECT_LE(m_memo->TextLeft() + (end - start) * cw, right);
    std::size_t wordEnd = line.find(' ', end);
    if (wordEnd == std::string::npos) wordEnd = line.size();
    EXPECT_GT(m_memo->TextLeft() + (int(wordEnd) - start) * cw, right - cw) << "sub-line " << sub;
  }
  // The caret on the second sub-line maps to its row and back.
  const int second = rows.SubLineStart(0, 1);
  const QPoint at = m_memo->CaretPosToPoint(TPoint{second + 1, 0});
  EXPECT_EQ(at.y(), m_memo->LineHeight());
  EXPECT_EQ(at.x(), m_memo->TextLeft() + cw);
  EXPECT_EQ(m_memo->PointToCaretPos(at + QPoint(1, 2)), (TPoint{second + 1, 0}));

  const QImage image = Grab();
  // The number ink of the wrapped line's rows lies within one number's height.
  int inkTop = -1, inkBottom = -1;
  for (int y = 0; y < lineRows * m_memo->LineHeight(); ++y) {
    if (Count(image, QRect(0, y, ButtonOfRow(0).left() - 1, 1),
              [](QColor c) { return c.red() > 200 && c.green() < 150 && c.blue() < 150; }) == 0)
      continue;
    if (inkTop < 0) inkTop = y;
    inkBottom = y;
  }
  ASSERT_GE(inkTop, 0) << "the line is numbered";
  EXPECT_LE(inkBottom - inkTop, QFontMetrics(m_memo->LineNumbers().Font()).height())
      << "one number for all rows of the wrapped line";
  EXPECT_GT(NumberInk(image, lineRows), 0) << "the next line is numbered on its own row";
  // Text is drawn on the last sub-line too.
  const QRect lastRow(m_memo->TextLeft(), (lineRows - 1) * m_memo->LineHeight(), cw * 5, m_memo->LineHeight());
  EXPECT_GT(Count(image, lastRow, [](QColor c) { return c.lightness() > 60; }), 0);
}

TEST_F(SyntaxMemoView, AWindowNarrowerThanOneCharacterStillLaysOutAndPaints) {
  m_memo->SetWordWrap(true);
  SetText("abcdefgh ij\r\n\tx\r\n");
  for (int width : {60, 45, 20, 1}) {
    m_window->resize(width, 200);
    QApplication::processEvents();
    (void)Grab();
    EXPECT_GE(m_memo->Rows().LineRows(0), 1);
  }
  // Narrower than the gutter and margin: every character stands on its own row.
  EXPECT_EQ(m_memo->Rows().LineRows(0), 11);
  m_memo->SetCaretPos(0, 0);
  QTest::keyClick(m_memo, Qt::Key_End);
  QTest::keyClicks(m_memo, "k");
  EXPECT_EQ(m_memo->Lines().Line(0).find('k') != std::string::npos, true);
}

TEST_F(SyntaxMemoView, TabStopsPlaceTheCharactersAfterTabs) {
  m_memo->SetTabListAsString("4 10");
  SetText("\tX\r\n\t\tX\r\n\t\t\tX");
  const int cw = m_memo->CharWidth();
  EXPECT_EQ(m_memo->CaretPosToPoint(TPoint{1, 0}).x(), m_memo->TextLeft() + 4 * cw);
  EXPECT_EQ(m_memo->CaretPosToPoint(TPoint{2, 1}).x(), m_memo->TextLeft() + 10 * cw);
  EXPECT_EQ(m_memo->CaretPosToPoint(TPoint{3, 2}).x(), m_memo->TextLeft() + 16 * cw);
  const QImage image = Grab();
  const int lh = m_memo->LineHeight();
  auto ink = [&](int cell, int row) {
    return Count(image, QRect(m_memo->TextLeft() + cell * cw, row * lh, cw, lh), [](QColor c) { return c.lightness() > 60; });
  };
  EXPECT_GT(ink(16, 2), 0);
  EXPECT_EQ(ink(15, 2), 0) << "nothing drawn in the tab's cells";
  // A change through the tab list itself shows at the next paint.
  m_memo->TabList().SetAsString("2");
  (void)Grab();
  EXPECT_EQ(m_memo->CaretPosToPoint(TPoint{1, 0}).x(), m_memo->TextLeft() + 2 * cw);
}

TEST_F(SyntaxMemoView, FoldingAnIfdefShowsItsFirstLineAndABoxAndNumbersJump) {
  SetText("#ifdef A\r\nSET x = 1\r\nSET y = 2\r\n#endif\r\nSET z = 3\r\n");
  WaitForFolds(1);
  const QImage before = Grab();
  EXPECT_GT(Count(before, ButtonOfRow(0), [](QColor c) { return c.rgb() == qRgb(0, 0, 0); }), 20)
      << "a button on the first line";
  EXPECT_EQ(NumberInk(before, 0), 0) << "its number is in UnderColor";
  EXPECT_GT(Count(before, QRect(0, 0, 20, m_memo->LineHeight()), [](QColor c) { return c.blue() > 200 && c.red() < 100; }), 0);
  const QImage numberFive = GutterBand(before, 4);

  ClickButton(0);
  ASSERT_EQ(m_memo->Folds().Count(), 1);
  EXPECT_EQ(m_memo->Rows().LineRows(1), 0);
  EXPECT_EQ(m_memo->Rows().RowCount(), 2);  // #ifdef, SET z
  m_memo->SetCaretPos(0, 4);  // the caret away from the box
  const QImage after = Grab();
  EXPECT_EQ(GutterBand(after, 1), numberFive) << "the second row is numbered 5";
  // The first line up to the fold's start, then the box in silver.
  const TFoldRange& fold = m_memo->Folds().Folds().front();
  const int cw = m_memo->CharWidth(), lh = m_memo->LineHeight();
  const QPoint mark = m_memo->CaretPosToPoint(TPoint{m_memo->Rows().ShownEnd(0), 0});
  const QRect box(mark.x(), 0, fold.MarkCells() * cw, lh);
  const auto silver = [](QColor c) { return c == kSilver; };
  EXPECT_GE(Count(after, QRect(box.left() + 1, 1, box.width() - 2, 1), silver), box.width() - 4) << "top border";
  EXPECT_GE(Count(after, QRect(box.left() + 1, lh - 3, box.width() - 2, 1), silver), box.width() - 4) << "bottom border";
  EXPECT_GE(Count(after, QRect(box.left() + 1, 1, 1, lh - 2), silver), lh - 4) << "left border";
  EXPECT_GE(Count(after, QRect(box.right() - 2, 1, 1, lh - 2), silver), lh - 4) << "right border";
  EXPECT_GT(Count(after, box.adjusted(3, 3, -3, -3), [](QColor c) { return c.lightness() > 40; }), 0)
      << "the collapse text \"" << fold.MarkText() << "\" inside";
  if (m_memo->Rows().ShownEnd(0) > 0) {
    EXPECT_GT(Count(after, QRect(m_memo->TextLeft(), 0, mark.x() - m_memo->TextLeft(), lh),
                    [](QColor c) { return c.lightness() > 40; }),
              0);
  }
  EXPECT_GT(Count(after, ButtonOfRow(0), [](QColor c) { return c.rgb() == qRgb(0, 0, 0); }), 20) << "a plus button";
  EXPECT_NE(after.copy(ButtonOfRow(0)), before.copy(ButtonOfRow(0)));

  ClickButton(0);
  EXPECT_EQ(m_memo->Folds().Count(), 0);
  EXPECT_EQ(m_memo->Rows().LineRows(1), 1);
  EXPECT_EQ(GutterBand(Grab(), 4), numberFive);
}

TEST_F(SyntaxMemoView, ArrowKeysWalkThroughWrappedRowsAndOverAFold) {
  m_memo->SetWordWrap(true);
  std::string words;
  for (int i = 0; i < 40; ++i) words += "word" + std::to_string(10 + i) + " ";
  SetText(words + "\r\nSET a = 0\r\n#ifdef A\r\nSET x = 1\r\n#endif\r\nSET z = 3");
  const int wrapped = m_memo->Rows().LineRows(0);
  ASSERT_GE(wrapped, 3) << "the first line wraps";
  auto key = [&](Qt::Key k) { QTest::keyClick(m_memo, k); };
  auto row = [&] { return m_memo->Rows().RowOfCaret(m_memo->CaretPos()); };
  // Down walks the sub-lines of the wrapped line before it leaves it.
  for (int r = 1; r < wrapped; ++r) {
    key(Qt::Key_Down);
    EXPECT_EQ(m_memo->CaretPos().Y, 0) << "row " << r;
    EXPECT_EQ(row(), r);
  }
  key(Qt::Key_Down);
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{0, 1})) << "the pixel column of the line start is kept";
  key(Qt::Key_Up);
  EXPECT_EQ(row(), wrapped - 1);
  // Home and End act on the caret's own sub-line.
  key(Qt::Key_End);
  EXPECT_EQ(row(), wrapped - 1);
  EXPECT_EQ(m_memo->CaretPos().X, m_memo->Lines().LineLength(0));
  key(Qt::Key_Up);
  key(Qt::Key_Home);
  EXPECT_EQ(row(), wrapped - 2);
  EXPECT_EQ(m_memo->CaretPos().X, m_memo->Rows().SubLineStart(0, wrapped - 2));
  key(Qt::Key_End);
  EXPECT_EQ(row(), wrapped - 2) << "the end of a middle row stays on it";

  // A folded range is one row: Down from the line above reaches its first
  // line, and the next Down the line after the range.
  WaitForFolds(1);
  m_memo->ToggleFold(2, false);
  ASSERT_EQ(m_memo->Folds().Count(), 1);
  m_memo->SetCaretPos(0, 1);
  key(Qt::Key_Down);
  EXPECT_EQ(m_memo->CaretPos().Y, 2);
  key(Qt::Key_Down);
  EXPECT_EQ(m_memo->CaretPos().Y, 5);
  key(Qt::Key_Up);
  EXPECT_EQ(m_memo->CaretPos().Y, 2);
  EXPECT_EQ(m_memo->Folds().Count(), 1) << "moving over a fold leaves it folded";
}

TEST_F(SyntaxMemoView, ACaretPutWhereAFoldHidesTheTextGoesToItsMark) {
  SetText("SET a = 0\r\n#ifdef A\r\nSET x = 1\r\n#endif\r\nSET z = 3");
  WaitForFolds(1);
  m_memo->ToggleFold(1, false);
  ASSERT_EQ(m_memo->Folds().Count(), 1);
  const TPoint mark{m_memo->Rows().ShownEnd(1), 1};
  m_memo->SetCaretPos(3, 2);  // a hidden line
  EXPECT_EQ(m_memo->CaretPos(), mark);
  m_memo->SetCaretPos(mark.X + 4, 1);  // past the mark on the folded line
  EXPECT_EQ(m_memo->CaretPos(), mark);
  // A column paste from the line above would end on the hidden line.
  m_memo->Clipboard().SetText("p\r\nq\r\n", true);
  m_memo->SetCaretPos(0, 0);
  QTest::keyClick(m_memo, Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_FALSE(m_memo->Folds().IsLineHidden(m_memo->CaretPos().Y)) << m_memo->CaretPos().Y;
  m_memo->SetCaretPos(1, 4);
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{1, 4})) << "shown text keeps the caret where it is put";
}

TEST_F(SyntaxMemoView, AnEditInsideAFoldUnfoldsItAndOneAfterItMovesIt) {
  SetText("SET a = 0\r\n#ifdef A\r\nSET x = 1\r\n#endif\r\nSET z = 3\r\n");
  WaitForFolds(1);
  ClickButton(1);
  ASSERT_EQ(m_memo->Folds().Count(), 1);
  m_memo->ReplaceText(0, 0, "\r\n");  // before the fold: it moves
  ASSERT_EQ(m_memo->Folds().Count(), 1);
  EXPECT_EQ(m_memo->Folds().Folds().front().FirstLine, 2);
  EXPECT_EQ(m_memo->Rows().LineRows(3), 0);
  const int inside = m_memo->Lines().LineStart(3) + 4;
  m_memo->ReplaceText(inside, 0, "q");
  EXPECT_EQ(m_memo->Folds().Count(), 0);
  EXPECT_EQ(m_memo->Rows().LineRows(3), 1);
}

TEST_F(SyntaxMemoView, AFoldKeepsItsPlusButtonWhenTheAnalysisNoLongerStartsARangeThere) {
  SetText("x\r\n// a\r\n// b\r\n// c\r\ny\r\n");
  WaitForFolds(1);
  ClickButton(1);
  ASSERT_EQ(m_memo->Folds().Count(), 1);
  const QImage plus = Grab().copy(ButtonOfRow(1));
  // The line above becomes a comment too: the run, as analysed now, starts
  // there, while the folded lines stay folded.
  m_memo->ReplaceText(0, 1, "// z");
  WaitForFolds(1);
  ASSERT_EQ(m_memo->SyntClient()->LineFoldState(1), -2);
  ASSERT_EQ(m_memo->Folds().Count(), 1);
  EXPECT_EQ(Grab().copy(ButtonOfRow(1)), plus) << "the folded line shows its plus button";
  ClickButton(1);
  EXPECT_EQ(m_memo->Folds().Count(), 0) << "and the button unfolds it";
  EXPECT_EQ(m_memo->Rows().RowCount(), 5);
}

TEST_F(SyntaxMemoView, CtrlOnAButtonFoldsAndUnfoldsTheNestedRangesToo) {
  SetText("#ifdef A\r\n#ifdef B\r\nx\r\n#endif\r\ny\r\n#endif\r\nz\r\n");
  WaitForFolds(2);
  ClickButton(0, Qt::ControlModifier);
  EXPECT_EQ(m_memo->Folds().Count(), 2);
  EXPECT_EQ(m_memo->Rows().RowCount(), 2);
  ClickButton(0);  // the outer one only: the inner stays folded beneath it
  EXPECT_EQ(m_memo->Folds().Count(), 1);
  EXPECT_EQ(m_memo->Rows().LineRows(2), 0);
  EXPECT_EQ(m_memo->Rows().LineRows(4), 1);
  ClickButton(0);  // folded again: both
  EXPECT_EQ(m_memo->Folds().Count(), 2);
  ClickButton(0, Qt::ControlModifier);  // everything inside unfolds
  EXPECT_EQ(m_memo->Folds().Count(), 0);
  EXPECT_EQ(m_memo->Rows().RowCount(), 7);
  // A press in the gutter beside the buttons changes nothing and leaves the caret.
  m_memo->SetCaretPos(0, 4);
  QTest::mouseClick(View(), Qt::LeftButton, {}, QPoint(3, 2));
  EXPECT_EQ(m_memo->Folds().Count(), 0);
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{0, 4}));
}

TEST_F(SyntaxMemoView, ADoubleClickOrCtrlClickOnACollapseMarkUnfoldsIt) {
  SetText("SET a = 0\r\n#ifdef A\r\nSET x = 1\r\n#endif\r\n");
  WaitForFolds(1);
  for (int ctrl = 0; ctrl < 2; ++ctrl) {
    ClickButton(1);
    ASSERT_EQ(m_memo->Folds().Count(), 1);
    const QPoint mark = m_memo->CaretPosToPoint(TPoint{m_memo->Rows().ShownEnd(1), 1});
    const QPoint inBox = mark + QPoint(m_memo->CharWidth(), m_memo->LineHeight() / 2);
    if (ctrl) QTest::mouseClick(View(), Qt::LeftButton, Qt::ControlModifier, inBox);
    else QTest::mouseDClick(View(), Qt::LeftButton, {}, inBox);
    EXPECT_EQ(m_memo->Folds().Count(), 0) << (ctrl ? "ctrl+click" : "double click");
  }
  // Folds go with the analysis that offered them.
  ClickButton(1);
  ASSERT_EQ(m_memo->Folds().Count(), 1);
  m_memo->SetSyntaxAnalyzer(nullptr);
  EXPECT_EQ(m_memo->Folds().Count(), 0);
  EXPECT_EQ(m_memo->Rows().LineRows(2), 1);
}

TEST_F(SyntaxMemoView, TheSelectionIsHiddenWithoutFocusAndShownWithIt) {
  m_memo->SetOptions(kDefaultSyntaxMemoOptions);
  SetText("SELECTED TEXT HERE\r\n");
  m_memo->SetSelection(0, 8);
  const QColor highlight = m_memo->palette().color(QPalette::Highlight);
  const QRect cells(m_memo->TextLeft(), 0, 8 * m_memo->CharWidth(), m_memo->LineHeight());
  auto selected = [&] { return Count(Grab(), cells, [&](QColor c) { return c == highlight; }); };
  ASSERT_TRUE(m_memo->hasFocus());
  EXPECT_GT(selected(), 0);
  m_other->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !m_memo->hasFocus(); }));
  EXPECT_EQ(selected(), 0);
  m_memo->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_memo->hasFocus(); }));
  EXPECT_GT(selected(), 0);
  // Without soHideSelection it stays.
  m_memo->SetOptions(kDefaultSyntaxMemoOptions & ~soHideSelection);
  m_other->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !m_memo->hasFocus(); }));
  EXPECT_GT(selected(), 0);
}

TEST_F(SyntaxMemoView, SearchMarksAndTheCurrentLineLieOverTheTokensAndUnderTheSelection) {
  SetText("abc def ghi\r\nsecond\r\n");
  m_memo->SetCaretPos(0, 1);
  const int cw = m_memo->CharWidth(), lh = m_memo->LineHeight();
  auto cells = [&](int x, int count, int line) { return QRect(m_memo->TextLeft() + x * cw, line * lh, count * cw, lh); };
  const auto white = [](QColor c) { return c == QColor(255, 255, 255); };
  ASSERT_EQ(m_lexer.SearchMatch(), nullptr) << "the mission lexer leaves search marks to the editor's style";
  EXPECT_EQ(Count(Grab(), cells(4, 3, 0), white), 0);
  m_memo->SearchMarks().Add(4, 7);
  QImage image = Grab();
  EXPECT_GT(Count(image, cells(4, 3, 0), white), 0) << "white text on black";
  EXPECT_EQ(Count(image, cells(0, 3, 0), white), 0);
  // The selection is drawn over the mark.
  m_memo->SetSelection(0, 9);
  const QColor highlight = m_memo->palette().color(QPalette::Highlight);
  image = Grab();
  EXPECT_GT(Count(image, cells(4, 3, 0), [&](QColor c) { return c == highlight; }), 0);
  EXPECT_EQ(Count(image, cells(4, 3, 0), [](QColor c) { return c == QColor(0, 0, 0); }), 0)
      << "no part of the mark's black background shows";
  m_memo->SetSelection(0, 0);
  // The current line is off by default; enabled, it fills the caret's row.
  const auto green = [](QColor c) { return c == QColor(0, 255, 0); };
  EXPECT_EQ(Count(Grab(), cells(20, 5, 1), green), 0);
  m_memo->DefaultStyles().CurrentLine.BgColor = 0x00FF00;
  m_memo->DefaultStyles().CurrentLine.SetEnabled(true);
  m_memo->DefaultStyles().Changed();
  image = Grab();
  EXPECT_EQ(Count(image, cells(20, 5, 1), green), 5 * cw * lh) << "the whole row";
  EXPECT_EQ(Count(image, cells(20, 5, 0), green), 0) << "only the caret's";
}

TEST_F(SyntaxMemoView, TheCaretTakesTheShapeOfItsMode) {
  SetText("ab\tc\r\n");
  const int cw = m_memo->CharWidth(), lh = m_memo->LineHeight();
  m_memo->SetCaretPos(0, 0);
  QRect caret = m_memo->CaretRect();
  EXPECT_EQ(caret, QRect(m_memo->TextLeft(), 0, 2, lh)) << "insert: 2 pixels, the whole line";
  const QImage image = Grab();
  EXPECT_NE(image.pixelColor(caret.left(), lh - 1), kBackground) << "drawn";
  m_memo->SetReplaceMode(true);
  EXPECT_TRUE(m_memo->Core().ReplaceMode());
  EXPECT_EQ(m_memo->CaretRect().width(), cw) << "overwrite: the character's width";
  m_memo->SetCaretPos(2, 0);
  EXPECT_EQ(m_memo->CaretRect().width(), 2 * cw) << "over a tab: the tab's width";
  m_memo->SetCaretPos(4, 0);
  EXPECT_EQ(m_memo->CaretRect().width(), 2) << "beyond the text: the insert shape";
  m_memo->Caret().Insert = TecCaretShape{100, 50};
  EXPECT_EQ(m_memo->CaretRect(), QRect(m_memo->TextLeft() + 5 * cw, lh - lh / 2, cw, lh / 2))
      << "a percentage of the default width, at the bottom of the line";
  m_memo->SetReadOnly(true);
  EXPECT_TRUE(m_memo->CaretRect().isEmpty()) << "read-only: none";
  m_memo->SetReadOnly(false);
  m_other->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !m_memo->hasFocus(); }));
  EXPECT_TRUE(m_memo->CaretRect().isEmpty()) << "no caret without focus";
}

TEST_F(SyntaxMemoView, WheelAndScrollRangeCountRows) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "SET x = " + std::to_string(i) + "\r\n";
  SetText(text);
  const int rows = m_memo->Rows().RowCount();
  EXPECT_EQ(m_memo->verticalScrollBar()->maximum(), rows - 1) << "the last row may reach the top";
  m_memo->SetOptions(kDefaultSyntaxMemoOptions & ~soScrollLastLine);
  EXPECT_EQ(m_memo->verticalScrollBar()->maximum(), rows - m_memo->VisibleLineCount());
  m_memo->SetOptions(kDefaultSyntaxMemoOptions);
  m_memo->SetTopRow(50);
  auto wheel = [&](int delta) {
    const QPointF at(100, 50);
    QWheelEvent event(at, View()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(View(), &event);
    return m_memo->TopRow();
  };
  EXPECT_EQ(wheel(120), 47);
  EXPECT_EQ(wheel(-120), 50);
  EXPECT_EQ(wheel(39), 50);
  EXPECT_EQ(wheel(-79), 51) << "truncated toward zero";
  EXPECT_EQ(wheel(79), 50);
}

TEST_F(SyntaxMemoView, SwitchingWordWrapKeepsTheTopLineAndScrollsNoMoreSideways) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "SET x = " + std::to_string(i) + std::string(120, ' ') + "END\r\n";
  SetText(text);
  m_memo->SetWordWrap(false);
  m_memo->SetTopLine(50);
  m_memo->horizontalScrollBar()->setValue(200);
  EXPECT_EQ(m_memo->horizontalScrollBar()->value(), 200);
  m_memo->SetWordWrap(true);
  EXPECT_EQ(m_memo->TopLine(), 50);
  EXPECT_GT(m_memo->Rows().RowCount(), 100);
  EXPECT_EQ(m_memo->horizontalScrollBar()->value(), 0);
  EXPECT_EQ(m_memo->horizontalScrollBar()->maximum(), 0);
  // A narrower window: more rows, the same line at the top.
  m_window->resize(400, 400);
  QApplication::processEvents();
  EXPECT_EQ(m_memo->TopLine(), 50);
  m_memo->SetWordWrap(false);
  EXPECT_EQ(m_memo->TopLine(), 50);
  EXPECT_EQ(m_memo->TopRow(), 50);
}

TEST_F(SyntaxMemoView, DraggingTheThumbToTheTopShowsLineOne) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "SET x = " + std::to_string(i) + "\r\n";
  SetText(text);
  m_memo->SetTopLine(150);
  QScrollBar* bar = m_memo->verticalScrollBar();
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.orientation = Qt::Vertical;
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  option.pageStep = bar->pageStep();
  option.singleStep = bar->singleStep();
  const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
  ASSERT_FALSE(thumb.isEmpty());
  QTest::mousePress(bar, Qt::LeftButton, {}, thumb.center());
  for (int y = thumb.center().y(); y >= -20; y -= 10) QTest::mouseMove(bar, QPoint(thumb.center().x(), y));
  const TQtHintWindow& hint = m_memo->HintWindow();
  EXPECT_EQ(hint.Kind(), TQtHintWindow::hkScroll);
  EXPECT_EQ(hint.Text().toStdString(), "Line: 1");
  EXPECT_EQ(m_memo->TopLine(), 0);
  QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(thumb.center().x(), 0));
  EXPECT_EQ(hint.Kind(), TQtHintWindow::hkNone);
}

TEST_F(SyntaxMemoView, RestingOnAFoldedButtonShowsTheHiddenLines) {
  m_memo->HintProps().SetDelayBefore(20);
  EXPECT_THROW(m_memo->HintProps().SetTimeCollapsed(0), EHintPropsError);
  SetText("#ifdef A\r\nSET x = 1\r\nSET y = 2\r\n#endif\r\nSET z = 3\r\n");
  WaitForFolds(1);
  ClickButton(0);
  ASSERT_EQ(m_memo->Folds().Count(), 1);
  const TQtHintWindow& hint = m_memo->HintWindow();
  QTest::mouseMove(View(), ButtonOfRow(0).center());
  ASSERT_TRUE(QTest::qWaitFor([&] { return hint.Kind() == TQtHintWindow::hkCollapsed; }, 3000));
  // The three hidden lines, one row each.
  EXPECT_GE(hint.height(), 3 * m_memo->LineHeight());
  EXPECT_LT(hint.height(), 4 * m_memo->LineHeight());
  QTest::mouseMove(View(), QPoint(200, 100));
  EXPECT_EQ(hint.Kind(), TQtHintWindow::hkNone);
  // A press closes it too.
  QTest::mouseMove(View(), ButtonOfRow(0).center());
  ASSERT_TRUE(QTest::qWaitFor([&] { return hint.Kind() == TQtHintWindow::hkCollapsed; }, 3000));
  const QPoint gutter(2, ButtonOfRow(0).center().y());  // beside the button: no fold toggles
  QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, gutter);
  EXPECT_EQ(hint.Kind(), TQtHintWindow::hkNone);
  QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, gutter);
  EXPECT_EQ(m_memo->Folds().Count(), 1);
}

TEST_F(SyntaxMemoView, ANewTextIsShownFromItsTopWhereTheCaretIs) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "SET x = " + std::to_string(i) + std::string(200, ' ') + "END\r\n";
  m_memo->SetWordWrap(false);
  SetText(text);
  m_memo->SetTopLine(150);  // scrolled away from the caret, as by the wheel
  m_memo->horizontalScrollBar()->setValue(300);
  m_memo->Lines().SetText(text);
  EXPECT_EQ(m_memo->horizontalScrollBar()->value(), 0);
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{0, 0}));
  EXPECT_EQ(m_memo->TopRow(), 0) << "a new text starts at its top, with the caret";
  EXPECT_EQ(m_memo->verticalScrollBar()->value(), 0);
  m_memo->SetTopLine(150);
  m_memo->Lines().SetText("a\r\nb\r\nc\r\nd");
  EXPECT_EQ(m_memo->TopRow(), 0) << "not the last line of a short text";
  // The old scroll position does not come back when the text grows again.
  m_memo->Lines().InsertText(m_memo->Lines().TextLength(), text);
  EXPECT_EQ(m_memo->TopRow(), 0);
  EXPECT_EQ(m_memo->verticalScrollBar()->value(), 0);
}

TEST_F(SyntaxMemoView, AVeryLongLineCostsOnlyWhatTheWindowShowsOfIt) {
  // What a paint draws, by the size of its recorded drawing commands.
  auto recorded = [&] {
    QPicture picture;
    View()->render(&picture);
    return picture.size();
  };
  m_memo->SetWordWrap(false);
  const std::string piece = "SET x = 1; ";
  std::string screenful;
  while (screenful.size() < 200) screenful += piece;
  SetText(screenful + "\r\nnext");
  const uint shortLine = recorded();
  std::string line;
  for (int i = 0; i < 2000; ++i) line += piece;
  SetText(line + "\r\nnext");
  EXPECT_LT(recorded(), 2 * shortLine) << "the characters beyond the right edge are not drawn";
  m_memo->horizontalScrollBar()->setValue(m_memo->horizontalScrollBar()->maximum() / 2);
  EXPECT_LT(recorded(), 2 * shortLine) << "nor those scrolled out on the left";
  // What shows is drawn: the window scrolled half way along shows ink.
  EXPECT_GT(Count(Grab(), QRect(m_memo->TextLeft(), 0, View()->width() - m_memo->TextLeft(), m_memo->LineHeight()),
                  [](QColor c) { return c.lightness() > 60; }), 0);
}

}  // namespace
}  // namespace penwick
