// The editor's incremental search driven by real key, mouse and focus events: Ctrl+E, typed steps, the keys that end it, and its marks.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "editor/SyntaxMemo.h"

namespace penwick {
namespace {

using TMarks = std::vector<TSearchMark>;

class IncSearchWidget : public ::testing::Test {
protected:
  void SetUp() override {
    m_window = std::make_unique<QWidget>();
    auto* column = new QVBoxLayout(m_window.get());
    m_memo = new TSyntaxMemo(m_window.get());
    m_other = new QLineEdit(m_window.get());
    column->addWidget(m_memo);
    column->addWidget(m_other);
    m_window->resize(400, 300);
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    m_memo->Lines().SetText("alpha beta gamma\r\nBeta delta\r\n");
    m_memo->SetModified(false);
    m_memo->SetCaretPos(0, 0);
    m_memo->OnIncSearchChange = [this](int state) {
      m_states.push_back(state);
      m_toldString.push_back(m_memo->IncSearchString());
    };
    m_other->setFocus();  // Ctrl+E must take the focus itself
  }
  // Closing the window takes the focus away, which ends a running search and
  // tells the handler: the window goes while the handler's state still lives.
  void TearDown() override { m_window.reset(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(m_memo, key, mods); }
  void StartByKey() { Key(Qt::Key_E, Qt::ControlModifier); }
  std::string Text() const { return m_memo->Lines().Text(); }
  TMarks Marks() const { return m_memo->SearchMarks().Marks(); }

  std::unique_ptr<QWidget> m_window;
  TSyntaxMemo* m_memo = nullptr;
  QLineEdit* m_other = nullptr;
  std::vector<int> m_states;
  std::vector<std::string> m_toldString;
};

TEST_F(IncSearchWidget, CtrlEThenAWordMovesTheCaretToItsEndAndMarksIt) {
  m_memo->SetCaretPos(2, 0);
  StartByKey();
  EXPECT_TRUE(m_memo->hasFocus());
  EXPECT_TRUE(m_memo->IncSearchActive());
  QTest::keyClicks(m_memo, "gam");
  EXPECT_EQ("gam", m_memo->IncSearchString());
  EXPECT_EQ((TPoint{14, 0}), m_memo->CaretPos());
  EXPECT_EQ((TMarks{{11, 14}}), Marks());
  EXPECT_FALSE(m_memo->HaveSelection());
  // The typed characters went to the search, not into the text.
  EXPECT_EQ("alpha beta gamma\r\nBeta delta\r\n", Text());
  EXPECT_FALSE(m_memo->Modified());
  EXPECT_EQ((std::vector<int>{1, 2, 2, 2}), m_states);
  EXPECT_EQ((std::vector<std::string>{"", "g", "ga", "gam"}), m_toldString);
}

TEST_F(IncSearchWidget, TheCharacterThatMakesAWordAbsentIsNotAddedAndEscEndsTheSearch) {
  m_memo->SetSelection(0, 2);  // a selection elsewhere, and then a failed step
  StartByKey();
  QTest::keyClicks(m_memo, "be");
  const TPoint caret = m_memo->CaretPos();
  EXPECT_EQ((TPoint{8, 0}), caret);
  QTest::keyClicks(m_memo, "x");  // "bex" is absent
  EXPECT_EQ("be", m_memo->IncSearchString());
  EXPECT_EQ(caret, m_memo->CaretPos());
  EXPECT_EQ((TMarks{{6, 8}}), Marks());
  EXPECT_FALSE(m_memo->HaveSelection());
  EXPECT_EQ((std::vector<int>{1, 2, 2}), m_states);
  // A longer string is still found after the dropped character.
  QTest::keyClicks(m_memo, "t");
  EXPECT_EQ("bet", m_memo->IncSearchString());

  Key(Qt::Key_Escape);
  EXPECT_FALSE(m_memo->IncSearchActive());
  EXPECT_EQ((std::vector<int>{1, 2, 2, 2, 0}), m_states);
  EXPECT_EQ("bet", m_toldString.back());  // readable by the handler of state 0
  EXPECT_EQ((TPoint{9, 0}), m_memo->CaretPos());  // Esc only ends it
  EXPECT_EQ((TMarks{{6, 9}}), Marks());           // the marks stay
  // Keys type again.
  QTest::keyClicks(m_memo, "z");
  EXPECT_EQ("alpha betza gamma\r\nBeta delta\r\n", Text());
}

TEST_F(IncSearchWidget, BackspaceShortensTheStringAndAnEmptyOneReturnsToTheStart) {
  m_memo->SetCaretPos(1, 0);
  StartByKey();
  QTest::keyClicks(m_memo, "a b");  // Space is searched like any character
  EXPECT_EQ((TPoint{7, 0}), m_memo->CaretPos());
  Key(Qt::Key_Backspace);
  EXPECT_EQ("a ", m_memo->IncSearchString());
  EXPECT_EQ((TPoint{6, 0}), m_memo->CaretPos());
  Key(Qt::Key_Backspace);
  Key(Qt::Key_Backspace);
  EXPECT_EQ("", m_memo->IncSearchString());
  EXPECT_EQ((TPoint{1, 0}), m_memo->CaretPos());
  EXPECT_TRUE(Marks().empty());
  Key(Qt::Key_Backspace);  // nothing to remove: the text is not touched either
  EXPECT_TRUE(m_memo->IncSearchActive());
  EXPECT_EQ("alpha beta gamma\r\nBeta delta\r\n", Text());
}

TEST_F(IncSearchWidget, ShiftTypesCapitalsAndCaseIsIgnoredByDefault) {
  StartByKey();
  QTest::keyClick(m_memo, 'D', Qt::ShiftModifier);  // the Shift press does not end the search
  EXPECT_TRUE(m_memo->IncSearchActive());
  EXPECT_EQ("D", m_memo->IncSearchString());
  EXPECT_EQ((TPoint{6, 1}), m_memo->CaretPos());
}

// Shift still held from typing a capital must not turn Backspace into an
// edit of the text: it shortens the search string like a plain Backspace.
TEST_F(IncSearchWidget, BackspaceWithShiftHeldShortensTheStringAndLeavesTheText) {
  StartByKey();
  QTest::keyClick(m_memo, 'D', Qt::ShiftModifier);
  QTest::keyClick(m_memo, 'E', Qt::ShiftModifier);
  EXPECT_EQ("DE", m_memo->IncSearchString());
  Key(Qt::Key_Backspace, Qt::ShiftModifier);
  EXPECT_TRUE(m_memo->IncSearchActive());
  EXPECT_EQ("D", m_memo->IncSearchString());
  EXPECT_EQ((TPoint{6, 1}), m_memo->CaretPos());
  EXPECT_EQ("alpha beta gamma\r\nBeta delta\r\n", Text());
}

// A match hidden in a folded range (or in a range folded inside another) is
// shown: the caret must not stand on a hidden line, where it is not drawn.
TEST_F(IncSearchWidget, AMatchInsideFoldedRangesUnfoldsThem) {
  m_memo->Lines().SetText("one\r\n#ifdef A\r\n#ifdef B\r\nSET xyz = 1\r\n#endif\r\n#endif\r\nlast\r\n");
  m_memo->SetCaretPos(0, 0);
  const TSyntMemoStrings& lines = m_memo->Lines();
  ASSERT_TRUE(m_memo->Folds().Fold(lines.LineStart(2) + 6, lines.LineStart(4) + 6, ""));
  ASSERT_TRUE(m_memo->Folds().Fold(lines.LineStart(1) + 6, lines.LineStart(5) + 6, ""));
  const int rowsFolded = m_memo->Rows().RowCount();
  StartByKey();
  QTest::keyClicks(m_memo, "xyz");
  EXPECT_EQ((TPoint{7, 3}), m_memo->CaretPos());
  EXPECT_FALSE(m_memo->Folds().IsLineHidden(3));
  EXPECT_EQ(m_memo->Folds().Count(), 0);
  EXPECT_GT(m_memo->Rows().RowCount(), rowsFolded);
  // A match outside every fold leaves the folds alone.
  Key(Qt::Key_Escape);
  ASSERT_TRUE(m_memo->Folds().Fold(lines.LineStart(1) + 6, lines.LineStart(5) + 6, ""));
  m_memo->SetCaretPos(0, 0);
  StartByKey();
  QTest::keyClicks(m_memo, "last");
  EXPECT_EQ((TPoint{4, 6}), m_memo->CaretPos());
  EXPECT_EQ(m_memo->Folds().Count(), 1);
}

TEST_F(IncSearchWidget, OptionsSetWhileTheStartIsToldApplyAndLaterOnesEndTheSearch) {
  m_memo->OnIncSearchChange = [this](int state) {
    m_states.push_back(state);
    if (state == 1) {
      m_memo->SetIncSearchBack(true);
      m_memo->SetIncSearchIgnoreCase(false);
    }
  };
  m_memo->SetCaretPos(10, 1);
  StartByKey();
  QTest::keyClicks(m_memo, "Be");
  EXPECT_EQ("Be", m_memo->IncSearchString());
  EXPECT_EQ((TPoint{0, 1}), m_memo->CaretPos());  // backward: at the match's start, case respected
  m_memo->SetIncSearchBack(false);
  EXPECT_FALSE(m_memo->IncSearchActive());
  EXPECT_EQ((std::vector<int>{1, 2, 2, 0}), m_states);
}

TEST_F(IncSearchWidget, AnArrowEndsTheSearchAndMovesTheCaret) {
  StartByKey();
  QTest::keyClicks(m_memo, "alp");
  Key(Qt::Key_Right);
  EXPECT_FALSE(m_memo->IncSearchActive());
  EXPECT_EQ((TPoint{4, 0}), m_memo->CaretPos());
  // Enter ends it without breaking the line.
  StartByKey();
  QTest::keyClicks(m_memo, "de");
  Key(Qt::Key_Return);
  EXPECT_FALSE(m_memo->IncSearchActive());
  EXPECT_EQ("alpha beta gamma\r\nBeta delta\r\n", Text());
}

TEST_F(IncSearchWidget, CtrlWithAKeyEndsTheSearchAndTheKeyActs) {
  StartByKey();
  QTest::keyClicks(m_memo, "gam");
  Key(Qt::Key_Control);  // pressed alone it only ends the search
  EXPECT_FALSE(m_memo->IncSearchActive());
  EXPECT_EQ((TPoint{14, 0}), m_memo->CaretPos());
  m_states.clear();
  m_memo->SetCaretPos(0, 0);
  StartByKey();
  QTest::keyClicks(m_memo, "alp");
  Key(Qt::Key_A, Qt::ControlModifier);  // Select All
  EXPECT_FALSE(m_memo->IncSearchActive());
  EXPECT_EQ(static_cast<int>(Text().size()), m_memo->SelLength());
  EXPECT_EQ((std::vector<int>{1, 2, 2, 2, 0}), m_states);
}

TEST_F(IncSearchWidget, AMouseClickEndsTheSearchAndPlacesTheCaret) {
  StartByKey();
  QTest::keyClicks(m_memo, "delta");
  const QPoint cell = m_memo->CaretPosToPoint(TPoint{2, 0}) + QPoint(1, m_memo->LineHeight() / 2);
  QTest::mouseClick(m_memo->viewport(), Qt::LeftButton, {}, cell);
  EXPECT_FALSE(m_memo->IncSearchActive());
  EXPECT_EQ(0, m_states.back());
  EXPECT_EQ((TPoint{2, 0}), m_memo->CaretPos());
  QTest::keyClicks(m_memo, "q");
  EXPECT_EQ("alqpha beta gamma\r\nBeta delta\r\n", Text());
}

TEST_F(IncSearchWidget, LosingTheFocusEndsTheSearch) {
  StartByKey();
  QTest::keyClicks(m_memo, "b");
  ASSERT_TRUE(m_memo->IncSearchActive());
  m_other->setFocus();
  EXPECT_FALSE(m_memo->hasFocus());
  EXPECT_FALSE(m_memo->IncSearchActive());
  EXPECT_EQ(0, m_states.back());
}

TEST_F(IncSearchWidget, EditsMoveTheMarksAndANewSearchReplacesThem) {
  StartByKey();
  QTest::keyClicks(m_memo, "gamma");
  Key(Qt::Key_Escape);
  m_memo->SetCaretPos(0, 0);
  QTest::keyClicks(m_memo, "xy");
  EXPECT_EQ((TMarks{{13, 18}}), Marks());
  // A new search replaces the old marks with its own match.
  StartByKey();
  QTest::keyClicks(m_memo, "del");
  EXPECT_EQ((TMarks{{25, 28}}), Marks());
}

}  // namespace
}  // namespace penwick
