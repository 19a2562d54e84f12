// The completion list in the live editor, driven by real keys and mouse events: opening, narrowing, the keys
// that accept or close it, insertion over the whole word, undo, and the focus that stays with the editor.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cctype>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "editor/AutoCompletePopup.h"
#include "editor/SyntaxMemo.h"
#include "platform/CodePage.h"

namespace penwick {
namespace {

using TWords = std::vector<std::string>;

// Part of the program's word list, in its stored order with its duplicates.
const TWords kWords = {"LEVELSTART", "LEVELEND", "LEVEL_END_POINT_ARROW_AT", "LEVEL_END_POINT_ARROW_AT",
                       "SET_GANG_INFO", "SET_ALL_CONTROLS_STATUS", "SET_CAR_DENSITY", "ENDEXEC", "EXEC",
                       "GENERATOR", "CREATE_GENERATOR", "ORDER_CAR_TO_BLOCK", "ORDER_DRIVER_OUT_CAR", "DELAY",
                       "DELAY_HERE", "COUNTER", "CONVEYOR", "LEVELSTART"};

class AutoCompletePopupTest : public ::testing::Test {
protected:
  void SetUp() override { Open(QPoint(300, 100)); }
  void TearDown() override { m_window.reset(); }

  void Open(QPoint at) {
    m_window = std::make_unique<QWidget>();
    auto* column = new QVBoxLayout(m_window.get());
    column->setContentsMargins(0, 0, 0, 0);
    m_memo = new TSyntaxMemo(m_window.get());
    column->addWidget(m_memo);
    m_window->setGeometry(QRect(at, QSize(400, 300)));
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    m_memo->setFocus();
    m_popup = new TAutoCompletePopup(m_memo, m_window.get());
    m_popup->SetItems(kWords);
    m_popup->SetDisplayItems(kWords);
    // The program's handler: nothing left to show closes the list.
    m_popup->OnChange = [this] {
      ++m_changes;
      if (m_popup->RowCount() == 0) m_popup->CloseUp(false);
    };
  }

  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(m_memo, key, mods);
    QApplication::processEvents();
  }
  void Type(const char* text) {
    QTest::keyClicks(m_memo, text);
    QApplication::processEvents();
  }
  // Puts `text` in the editor with the caret at `column` of its first line.
  void Start(const std::string& text, int column) {
    m_memo->Lines().SetText(text);
    m_memo->ClearUndo();
    m_memo->SetCaretPos(column, 0);
  }
  void CtrlSpace() { Key(Qt::Key_Space, Qt::ControlModifier); }
  std::string Text() const { return m_memo->Lines().Text(); }
  TWords Rows() const {
    TWords rows;
    for (int row = 0; row < m_popup->RowCount(); ++row) rows.push_back(m_popup->RowText(row));
    return rows;
  }
  bool Open() const { return m_popup->Showing() && m_popup->Container()->isVisible(); }
  QPoint RowCenter(int row) const {
    QListWidget* list = m_popup->ListBox();
    return list->visualItemRect(list->item(row)).center();
  }

  std::unique_ptr<QWidget> m_window;
  TSyntaxMemo* m_memo = nullptr;
  TAutoCompletePopup* m_popup = nullptr;
  int m_changes = 0;
};

TEST_F(AutoCompletePopupTest, CtrlSpaceOpensTheSortedWordsThatStartWithTheTypedLettersInAnyCase) {
  Start("x = ", 4);
  Type("lEv");
  EXPECT_FALSE(Open());  // typing opens nothing by itself
  CtrlSpace();
  ASSERT_TRUE(Open());
  EXPECT_EQ((TWords{"LEVEL_END_POINT_ARROW_AT", "LEVEL_END_POINT_ARROW_AT", "LEVELEND", "LEVELSTART", "LEVELSTART"}),
            Rows());
  EXPECT_EQ(0, m_popup->SelectedRow());
  EXPECT_EQ((TPoint{4, 0}), m_popup->WordStart());
  EXPECT_GE(m_changes, 1);
  EXPECT_EQ("x = lEv", Text());
  // The editor keeps the keyboard; the list's window never becomes active.
  EXPECT_TRUE(m_memo->hasFocus());
  EXPECT_EQ(m_window.get(), QApplication::activeWindow());

  Type("els");  // a word stored twice stays two rows and does not close the list
  EXPECT_EQ((TWords{"LEVELSTART", "LEVELSTART"}), Rows());
  Key(Qt::Key_Backspace);  // refilters on the shortened word
  ASSERT_TRUE(Open());
  EXPECT_EQ(5, m_popup->RowCount());
  Type("q");  // nothing starts so: the program's handler closes the list
  EXPECT_FALSE(Open());
  EXPECT_EQ("x = lEvelq", Text());
}

// The program opens the list from the editor's change report, while the typed letter's edit is still going on.
TEST_F(AutoCompletePopupTest, OpenedFromTheChangeReportOfATypedLetterItNarrowsWithTheFollowingLetters) {
  m_memo->Core().OnTextChanged = [this](int pos, int count, int) {
    const std::string text = m_memo->Lines().Text();
    if (count == 1 && pos >= 0 && std::isalpha(static_cast<unsigned char>(text[pos])) &&
        (pos == 0 || text[pos - 1] == ' '))
      m_popup->Execute();
  };
  Start("x", 1);
  Type(" s");
  ASSERT_TRUE(Open());
  EXPECT_EQ((TPoint{2, 0}), m_popup->WordStart());
  EXPECT_EQ((TWords{"SET_ALL_CONTROLS_STATUS", "SET_CAR_DENSITY", "SET_GANG_INFO"}), Rows());
  Type("et_g");
  EXPECT_EQ((TWords{"SET_GANG_INFO"}), Rows());
  Key(Qt::Key_Return);
  EXPECT_EQ("x SET_GANG_INFO", Text());
}

TEST_F(AutoCompletePopupTest, TheCaretLeavingTheWordClosesTheList) {
  Start("a lev", 5);
  CtrlSpace();
  ASSERT_TRUE(Open());
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Left);
  ASSERT_TRUE(Open());  // at the word start every word matches
  EXPECT_EQ(static_cast<int>(kWords.size()), m_popup->RowCount());
  Key(Qt::Key_Right);
  EXPECT_EQ(5, m_popup->RowCount());  // "l"
  Key(Qt::Key_Left);
  Key(Qt::Key_Left);
  EXPECT_FALSE(Open());
  EXPECT_EQ("a lev", Text());
}

TEST_F(AutoCompletePopupTest, EnterReplacesTheWholeWordWithoutBreakingTheLineAndOneUndoTakesItBack) {
  Start("a levXYZ b", 5);  // the caret after "lev"
  CtrlSpace();
  ASSERT_TRUE(Open());
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Down);  // LEVEL_END_POINT_ARROW_AT twice, LEVELEND, then LEVELSTART
  EXPECT_EQ(3, m_popup->SelectedRow());
  Key(Qt::Key_Return);
  EXPECT_FALSE(Open());
  EXPECT_EQ("a LEVELSTART b", Text());
  EXPECT_EQ((TPoint{12, 0}), m_memo->CaretPos());
  EXPECT_FALSE(m_memo->HaveSelection());
  EXPECT_TRUE(m_memo->hasFocus());
  m_memo->Undo();
  EXPECT_EQ("a levXYZ b", Text());
}

TEST_F(AutoCompletePopupTest, EnterAcceptsTheFirstRowWhenTheUserPickedNone) {
  Start("", 0);
  Type("co");
  CtrlSpace();
  EXPECT_EQ((TWords{"CONVEYOR", "COUNTER"}), Rows());
  Key(Qt::Key_Enter);
  EXPECT_EQ("CONVEYOR", Text());
  EXPECT_EQ(1, m_memo->Lines().Count());
}

TEST_F(AutoCompletePopupTest, EnterAfterACompleteWordBreaksTheLineAndInsertsNothing) {
  std::vector<std::string> asked;
  m_popup->IsCompleteWord = [&](std::string_view word) {
    asked.emplace_back(word);
    return TCodePage::Default().SameText(word, "END");
  };
  Start("", 0);
  Type("end");
  CtrlSpace();
  ASSERT_TRUE(Open());
  EXPECT_EQ((TWords{"ENDEXEC"}), Rows());
  Key(Qt::Key_Return);
  EXPECT_FALSE(Open());
  EXPECT_EQ((std::vector<std::string>{"end"}), asked);
  EXPECT_EQ(2, m_memo->Lines().Count());
  EXPECT_EQ("end", m_memo->Lines().Line(0));
  EXPECT_EQ(1, m_memo->CaretPos().Y);
}

// A complete word keeps Enter for the line break only while the user has not picked a row.
TEST_F(AutoCompletePopupTest, EnterAfterACompleteWordInsertsARowTheUserPicked) {
  m_popup->IsCompleteWord = [](std::string_view word) { return TCodePage::Default().SameText(word, "DELAY"); };
  Start("", 0);
  Type("delay");
  CtrlSpace();
  ASSERT_EQ((TWords{"DELAY", "DELAY_HERE"}), Rows());
  Key(Qt::Key_Down);
  Key(Qt::Key_Return);
  EXPECT_FALSE(Open());
  EXPECT_EQ("DELAY_HERE", Text());

  Start("", 0);
  Type("delay");
  CtrlSpace();
  QTest::mouseMove(m_popup->ListBox()->viewport(), RowCenter(0));
  QTest::mouseMove(m_popup->ListBox()->viewport(), RowCenter(1));
  QApplication::processEvents();
  ASSERT_EQ(1, m_popup->SelectedRow());
  Key(Qt::Key_Enter);
  EXPECT_EQ("DELAY_HERE", Text());
}

TEST_F(AutoCompletePopupTest, TypingAWholeWordInTheListOnceClosesItWithoutInserting) {
  Start("", 0);
  Type("gen");
  CtrlSpace();
  ASSERT_TRUE(Open());
  Type("erato");
  EXPECT_TRUE(Open());
  Type("r");
  EXPECT_FALSE(Open());
  EXPECT_EQ("generator", Text());
  // Opening on a word typed whole closes at once.
  EXPECT_FALSE(m_popup->Execute());
  EXPECT_FALSE(Open());
}

// A word that is not in the list (a control word) is never turned into a longer command.
TEST_F(AutoCompletePopupTest, ACharacterEndingTheWordInsertsOnlyAChosenRowOrTheOnlyWordLeft) {
  struct TCase {
    const char* Before;  // typed before Ctrl+Space
    const char* After;   // typed while open
    int Downs;
    const char* Ending;
    const char* Want;
  };
  const TCase cases[] = {
      {"set", "", 0, " ", "set "},
      {"set", "", 1, " ", "SET_CAR_DENSITY "},
      {"se", "", 1, "t ", "set "},  // a further letter forgets the choice
      {"or", "", 0, "(", "or("},
      {"levels", "", 0, "(", "LEVELSTART("},  // two rows of one word
      {"del", "ay_", 0, ".", "DELAY_HERE."},
      {"x", "", 0, "", "x"},
  };
  for (const TCase& c : cases) {
    Start("", 0);
    Type(c.Before);
    CtrlSpace();
    Type(c.After);
    for (int i = 0; i < c.Downs; ++i) Key(Qt::Key_Down);
    Type(c.Ending);
    EXPECT_FALSE(Open()) << c.Before << c.After;
    EXPECT_EQ(c.Want, Text()) << c.Before << c.After;
  }
}

TEST_F(AutoCompletePopupTest, TabEndsTheWordWithoutInserting) {
  Start("", 0);
  Type("set");
  CtrlSpace();
  Key(Qt::Key_Down);
  Key(Qt::Key_Tab);
  EXPECT_FALSE(Open());
  EXPECT_EQ(0u, Text().find("set"));
  EXPECT_EQ(std::string::npos, Text().find("SET_"));
}

TEST_F(AutoCompletePopupTest, EscClosesAndIsNotTyped) {
  Start("", 0);
  Type("lev");
  CtrlSpace();
  ASSERT_TRUE(Open());
  Key(Qt::Key_Escape);
  EXPECT_FALSE(Open());
  EXPECT_EQ("lev", Text());
  EXPECT_TRUE(m_memo->hasFocus());
}

TEST_F(AutoCompletePopupTest, AMousePressInTheEditorClosesButTheWheelScrollsTheList) {
  Start("x ", 2);
  CtrlSpace();
  ASSERT_TRUE(Open());
  QScrollBar* bar = m_popup->ListBox()->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 2);
  const int before = bar->value();
  const QPoint inside(40, 10);
  QWheelEvent wheel(inside, m_memo->viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -240), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(m_memo->viewport(), &wheel);
  EXPECT_TRUE(Open());
  EXPECT_EQ(before + 2, bar->value());
  EXPECT_EQ(0, m_popup->SelectedRow());  // scrolling picks nothing
  // The moving keys move the list's selection, not the caret.
  Key(Qt::Key_End);
  EXPECT_EQ(m_popup->RowCount() - 1, m_popup->SelectedRow());
  Key(Qt::Key_Home);
  EXPECT_EQ(0, m_popup->SelectedRow());
  Key(Qt::Key_PageDown);
  EXPECT_GT(m_popup->SelectedRow(), 1);
  Key(Qt::Key_Up);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(0, m_popup->SelectedRow());
  EXPECT_EQ((TPoint{2, 0}), m_memo->CaretPos());
  EXPECT_TRUE(Open());
  QTest::mouseClick(m_memo->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(60, 40));
  EXPECT_FALSE(Open());
  EXPECT_EQ("x ", Text());
}

// The scroll bars belong to the editor's frame: pressing them moves the text away from the word, so the list closes.
TEST_F(AutoCompletePopupTest, APressOnTheEditorsScrollBarClosesTheList) {
  std::string text = "lev";
  for (int i = 0; i < 100; ++i) text += "\r\nline";
  Start(text, 3);
  CtrlSpace();
  ASSERT_TRUE(Open());
  QScrollBar* bar = m_memo->verticalScrollBar();
  ASSERT_TRUE(bar->isVisible());
  QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() / 2, bar->height() - 20));
  EXPECT_FALSE(Open());
  EXPECT_EQ(text, Text());
}

// The focus going to another control of the window closes the list and stays where the user put it.
TEST_F(AutoCompletePopupTest, FocusMovingToAnotherControlClosesTheListAndStaysThere) {
  auto* field = new QLineEdit(m_window.get());
  m_window->layout()->addWidget(field);
  field->show();
  Start("lev", 3);
  CtrlSpace();
  ASSERT_TRUE(Open());
  QTest::mouseClick(field, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_FALSE(Open());
  EXPECT_TRUE(field->hasFocus());
  EXPECT_EQ("lev", Text());
}

TEST_F(AutoCompletePopupTest, TheMouseOverARowPicksItAndReleasingTheButtonInsertsIt) {
  Start("", 0);
  Type("set");
  CtrlSpace();
  ASSERT_TRUE(Open());
  QWidget* rows = m_popup->ListBox()->viewport();
  // A pointer resting where the list appears picks nothing: it has to move.
  QTest::mouseMove(rows, RowCenter(0));
  QApplication::processEvents();
  const int changes = m_changes;
  QTest::mouseMove(rows, RowCenter(2));
  QApplication::processEvents();
  EXPECT_EQ(2, m_popup->SelectedRow());
  EXPECT_GT(m_changes, changes);
  Type(" ");  // the row the mouse picked is the user's choice
  EXPECT_EQ("SET_GANG_INFO ", Text());

  Start("", 0);
  Type("set");
  CtrlSpace();
  QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, RowCenter(1));
  EXPECT_FALSE(Open());
  EXPECT_EQ("SET_CAR_DENSITY", Text());
  EXPECT_TRUE(m_memo->hasFocus());
  EXPECT_EQ(m_window.get(), QApplication::activeWindow());
}

TEST_F(AutoCompletePopupTest, TheListStandsLeftOfTheWordStartOrRightOfItAtTheScreensLeftEdge) {
  Start("lev", 3);
  CtrlSpace();
  ASSERT_TRUE(Open());
  QRect anchor = m_popup->Anchor();
  EXPECT_EQ(anchor.left(), m_popup->Container()->geometry().right() + 1);
  EXPECT_EQ(anchor.top(), m_popup->Container()->geometry().top());
  m_popup->CloseUp(false);

  TearDown();
  Open(QPoint(0, 100));
  Start("lev", 3);
  CtrlSpace();
  ASSERT_TRUE(Open());
  anchor = m_popup->Anchor();
  ASSERT_LT(anchor.left(), 200);
  EXPECT_EQ(anchor.right() + 1, m_popup->Container()->geometry().left());
  EXPECT_EQ(QSize(200, 80), m_popup->ListBox()->size());
}

TEST_F(AutoCompletePopupTest, NothingOpensWithASelectionOrWithoutWords) {
  Start("lev", 3);
  m_memo->SetSelection(0, 2);
  EXPECT_FALSE(m_popup->Execute());
  m_memo->SetSelection(0, 0);
  m_popup->SetItems({});
  EXPECT_FALSE(m_popup->Execute());
  EXPECT_FALSE(Open());
}

}  // namespace
}  // namespace penwick
