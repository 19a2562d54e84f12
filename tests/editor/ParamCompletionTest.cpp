// The parameter hint in the live editor: placed above the caret line, moved, redrawn on a new parameter, closed by Esc and mouse, never taking the keyboard.
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "editor/ParamCompletion.h"
#include "editor/SyntaxMemo.h"

namespace penwick {
namespace {

class ParamCompletionWidget : public ::testing::Test {
protected:
  void SetUp() override {
    m_window = std::make_unique<QWidget>();
    auto* column = new QVBoxLayout(m_window.get());
    column->setContentsMargins(0, 0, 0, 0);
    m_memo = new TSyntaxMemo(m_window.get());
    column->addWidget(m_memo);
    m_window->setGeometry(100, 300, 400, 200);
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    m_memo->setFocus();
    m_memo->Lines().SetText("line one\r\nplayer_ped p1 = (12.5, 30\r\n");
    m_memo->SetCaretPos(0, 0);
    m_hint = std::make_unique<TParamCompletion>(m_memo);
    m_hint->Declarations() = {"Float X, Float Y, Float Z"};
    m_hint->OnChange = [this] { ++m_changes; };
  }
  void TearDown() override {
    m_hint.reset();
    m_window.reset();
  }

  QRect CellAt(TPoint pos) const {
    return QRect(m_memo->viewport()->mapToGlobal(m_memo->CaretPosToPoint(pos)), QSize(10, m_memo->LineHeight()));
  }
  QRect HintRect() const { return m_hint->Container()->geometry(); }
  QImage Picture() const { return m_hint->InnerControl()->grab().toImage(); }
  std::vector<std::string> BoldTexts() const {
    std::vector<std::string> bold;
    for (const auto& piece : m_hint->Layout().Pieces)
      if (piece.Bold) bold.push_back(piece.Text);
    return bold;
  }

  std::unique_ptr<QWidget> m_window;
  TSyntaxMemo* m_memo = nullptr;
  std::unique_ptr<TParamCompletion> m_hint;
  int m_changes = 0;
};

TEST_F(ParamCompletionWidget, ShowAtPutsTheHintAboveTheCellAndASecondShowAtMovesIt) {
  m_hint->ShowAt(10 + 16);  // line 1, column 16: the "("
  ASSERT_TRUE(m_hint->Showing());
  EXPECT_TRUE(m_hint->Container()->isVisible());
  const QRect cell = CellAt({16, 1});
  EXPECT_EQ(cell, m_hint->Anchor());
  EXPECT_EQ(cell.top(), HintRect().bottom() + 1);
  EXPECT_EQ(cell.left(), HintRect().left());
  EXPECT_EQ(QSize(m_hint->Layout().Width, m_hint->Layout().Height), m_hint->InnerControl()->size());
  EXPECT_EQ((std::vector<std::string>{"Float X,"}), BoldTexts());
  EXPECT_EQ(1, m_changes);  // raised when shown
  // Shown without taking the keyboard.
  EXPECT_TRUE(m_memo->hasFocus());

  // The painted window: the background, its grey frame, some dark text.
  const QImage picture = Picture();
  EXPECT_EQ(QColor(128, 128, 128), picture.pixelColor(0, 0));
  EXPECT_EQ(QColor(128, 128, 128), picture.pixelColor(picture.width() - 1, picture.height() - 1));
  EXPECT_EQ(QColor(255, 255, 215), picture.pixelColor(1, 1));
  int dark = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 1; x < picture.width() - 1; ++x)
      if (picture.pixelColor(x, y).lightness() < 100) ++dark;
  EXPECT_GT(dark, 20);

  // Shown again further right on the next line: moved, not reopened.
  m_memo->Lines().SetText("line one\r\nplayer_ped p1 = (12.5, 30\r\nplayer_ped p2 = (1, 2, 3) 4\r\n");
  m_hint->ShowAt(10 + 27 + 24);  // line 2, column 24: the ")"
  EXPECT_TRUE(m_hint->Showing());
  const QRect later = CellAt({24, 2});
  EXPECT_EQ(later.top(), HintRect().bottom() + 1);
  EXPECT_EQ(later.left(), HintRect().left());
  EXPECT_GT(later.left(), cell.left());
  EXPECT_EQ(1, m_changes);
  EXPECT_EQ(10 + 27 + 24, m_hint->AnchorOffset());
}

TEST_F(ParamCompletionWidget, WithoutRoomAboveTheCaretLineTheHintGoesBelowIt) {
  m_window->move(100, 0);
  QTest::qWait(0);
  const QRect cell = CellAt({0, 0});
  ASSERT_LT(cell.top(), 15);  // less room than the hint is high
  m_hint->ShowAt(0);
  ASSERT_TRUE(m_hint->Showing());
  EXPECT_EQ(cell.bottom() + 1, HintRect().top());
}

TEST_F(ParamCompletionWidget, ANewParameterRedrawsTheShownHintAndOneWithNothingToShowClosesIt) {
  m_hint->SetCurrentParam(1);  // hidden: stored and told, nothing shown
  EXPECT_FALSE(m_hint->Showing());
  EXPECT_EQ(1, m_changes);
  m_hint->ShowAt(10 + 18);
  ASSERT_TRUE(m_hint->Showing());
  EXPECT_EQ((std::vector<std::string>{" Float Y,"}), BoldTexts());
  const QImage before = Picture();
  const int changes = m_changes;

  m_hint->SetCurrentParam(1);  // the same index: nothing happens
  m_hint->SetCurrentParam(-1);  // a negative one neither
  EXPECT_EQ(changes, m_changes);
  EXPECT_EQ(1, m_hint->CurrentParam());

  m_hint->SetCurrentParam(2);
  EXPECT_TRUE(m_hint->Showing());
  EXPECT_EQ((std::vector<std::string>{" Float Z"}), BoldTexts());
  EXPECT_NE(before, Picture());
  EXPECT_EQ(changes + 1, m_changes);

  // Two declarations: two lines and a dotted line between them; the second
  // comma leaves only the 3D one.
  m_hint->Declarations() = {"Float X, Float Y", "Float X, Float Y, Float Z"};
  m_hint->SetCurrentParam(0);
  EXPECT_EQ(1u, m_hint->Layout().SeparatorY.size());
  EXPECT_EQ(2u, BoldTexts().size());
  const QImage two = Picture();
  const int lineY = m_hint->Layout().SeparatorY.front();
  int silver = 0;  // a dotted line: silver and background in turn
  for (int x = 1; x < two.width() - 1; ++x)
    if (two.pixelColor(x, lineY) == QColor(192, 192, 192)) ++silver;
  EXPECT_GT(silver, two.width() / 4);
  EXPECT_LT(silver, two.width() * 3 / 4);
  m_hint->SetCurrentParam(2);
  EXPECT_TRUE(m_hint->Layout().SeparatorY.empty());
  EXPECT_LT(m_hint->InnerControl()->height(), two.height());

  // Past the last parameter there is nothing to show: the hint closes, and
  // showing it again keeps it closed.
  m_hint->SetCurrentParam(3);
  EXPECT_FALSE(m_hint->Showing());
  EXPECT_FALSE(m_hint->Container()->isVisible());
  m_hint->ShowAt(10 + 18);
  EXPECT_FALSE(m_hint->Showing());
  m_hint->SetCurrentParam(1);
  m_hint->Declarations().clear();
  m_hint->ShowAt(10 + 18);
  EXPECT_FALSE(m_hint->Showing());
}

TEST_F(ParamCompletionWidget, TypingGoesOnIntoTheEditorAndEscClosesWithoutBeingTyped) {
  m_memo->SetCaretPos(25, 1);
  m_hint->ShowAt(m_memo->CaretStrPos());
  ASSERT_TRUE(m_hint->Showing());
  QTest::keyClicks(m_memo, ", 7");
  EXPECT_TRUE(m_hint->Showing());
  EXPECT_EQ("line one\r\nplayer_ped p1 = (12.5, 30, 7\r\n", m_memo->Lines().Text());
  QTest::keyClick(m_memo, Qt::Key_Escape);
  EXPECT_FALSE(m_hint->Showing());
  EXPECT_EQ("line one\r\nplayer_ped p1 = (12.5, 30, 7\r\n", m_memo->Lines().Text());
  EXPECT_TRUE(m_memo->hasFocus());
  // Esc with the hint closed goes to the editor as usual: no error, no text.
  QTest::keyClick(m_memo, Qt::Key_Escape);
  EXPECT_EQ("line one\r\nplayer_ped p1 = (12.5, 30, 7\r\n", m_memo->Lines().Text());

  // A mouse press in the text closes it too, and still moves the caret.
  m_hint->ShowAt(0);
  ASSERT_TRUE(m_hint->Showing());
  QTest::mouseClick(m_memo->viewport(), Qt::LeftButton, Qt::NoModifier, m_memo->CaretPosToPoint({2, 0}) + QPoint(1, 2));
  EXPECT_FALSE(m_hint->Showing());
  EXPECT_EQ((TPoint{2, 0}), m_memo->CaretPos());
}

TEST_F(ParamCompletionWidget, ItsEditorCommandDoesNothingWhileAutomaticIsOff) {
  EXPECT_EQ(702, m_hint->CommandID());
  EXPECT_FALSE(m_hint->Execute());
  QTest::keyClick(m_memo, Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_FALSE(m_hint->Showing());
  EXPECT_EQ(0, m_changes);
  m_hint->SetAutomatic(true);
  EXPECT_TRUE(m_hint->Execute());
  EXPECT_TRUE(m_hint->Showing());
}

}  // namespace
}  // namespace penwick
