// The status bar's caret panel: line and visual column from 1, following every caret move and the document's lifecycle.
#include <QTest>

#include "AppTestSupport.h"

namespace penwick::test {
namespace {

class CaretPanel : public TMainWindowTest {
protected:
  QString Panel() { return Window().StatusPanelText(2); }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&Editor(), key, mods); }
};

TEST_F(CaretPanel, EmptyWithoutADocumentAndShownFromNewToClose) {
  Start(TStartup::Welcome());
  EXPECT_EQ(Panel(), "");
  Trigger("mniNew");
  EXPECT_EQ(Panel(), "Ln 1, Col 1");
  Type("abc");
  Key(Qt::Key_Return);
  Type("dq");  // no command starts with DQ: the command list does not take the arrows
  EXPECT_EQ(Panel(), "Ln 2, Col 3");
  Key(Qt::Key_Up);
  EXPECT_EQ(Panel(), "Ln 1, Col 3");
  // A move by the program is shown too.
  Editor().SetCaretPos(0, 1);
  EXPECT_EQ(Panel(), "Ln 2, Col 1");
  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  Trigger("mniClose");
  EXPECT_EQ(Panel(), "");
}

TEST_F(CaretPanel, OpeningShowsTheStartAndTabsCountToTheirStops) {
  const std::string path = PathOf("tabs.mis");
  WriteFile(path, "\tx\r\nab\tc\r\n");
  Start();
  Window().SetTabWidth(4);
  Editor().SetCaretPos(1, 0);  // beyond the end of the empty line
  EXPECT_EQ(Panel(), "Ln 1, Col 2");
  m_dialogs.AnswerOpen(path);
  Trigger("mniOpen");
  // A new text starts with the caret at its start.
  ASSERT_EQ(Editor().CaretPos(), (TPoint{0, 0}));
  EXPECT_EQ(Panel(), "Ln 1, Col 1");
  Key(Qt::Key_Right);  // after the tab
  EXPECT_EQ(Panel(), "Ln 1, Col 5");
  Key(Qt::Key_End);  // after "\tx": the tab fills columns 1 to 4 (stops every 4)
  EXPECT_EQ(Panel(), "Ln 1, Col 6");
  Key(Qt::Key_Down);  // the caret keeps its place on screen: after the "c" behind the tab
  EXPECT_EQ(Editor().CaretPos(), (TPoint{4, 1}));
  EXPECT_EQ(Panel(), "Ln 2, Col 6");
  Key(Qt::Key_Left);  // before the "c", where the tab ends
  EXPECT_EQ(Panel(), "Ln 2, Col 5");
}

}  // namespace
}  // namespace penwick::test
