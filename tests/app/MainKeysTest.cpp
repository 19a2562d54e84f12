// Keys shared by the main window and the editor: the window's shortcuts come
// first, even while their actions are disabled.
#include <QTest>

#include "AppTestSupport.h"

namespace penwick::test {
namespace {

using MainWindowKeys = TMainWindowTest;

TEST_F(MainWindowKeys, CtrlYIsTheWindowsRedoWithOrWithoutSomethingToRedo) {
  Start();
  Type("ab");
  QTest::keyClick(&Editor(), Qt::Key_Return);
  Type("cd");
  Window().UpdateCommandStates();
  ASSERT_FALSE(Enabled("mniRedo"));
  // Nothing to redo: the key does nothing (it used to delete the caret line).
  for (int i = 0; i < 3; ++i) QTest::keyClick(&Editor(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Editor().Lines().Text(), "ab\r\ncd");
  EXPECT_EQ(Editor().CaretPos(), (TPoint{2, 1}));
  // Something to redo: the key redoes.
  QTest::keyClick(&Editor(), Qt::Key_Z, Qt::ControlModifier);
  ASSERT_NE(Editor().Lines().Text(), "ab\r\ncd");
  Window().UpdateCommandStates();
  ASSERT_TRUE(Enabled("mniRedo"));
  QTest::keyClick(&Editor(), Qt::Key_Y, Qt::ControlModifier);
  Window().UpdateCommandStates();
  while (Enabled("mniRedo")) {
    QTest::keyClick(&Editor(), Qt::Key_Y, Qt::ControlModifier);
    Window().UpdateCommandStates();
  }
  EXPECT_EQ(Editor().Lines().Text(), "ab\r\ncd");
  QTest::keyClick(&Editor(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Editor().Lines().Text(), "ab\r\ncd");
}

TEST_F(MainWindowKeys, EditorKeysThatTheWindowDoesNotUseReachTheEditor) {
  Start();
  Window().SetTabWidth(4);
  Type("one");
  QTest::keyClick(&Editor(), Qt::Key_Return);
  Type("two");
  // Ctrl+B (Delete to Line Begin) is no window shortcut.
  QTest::keyClick(&Editor(), Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(Editor().Lines().Text(), "one\r\n");
  // Shift+Tab unindents, Tab indents, Delete deletes.
  Type("x");
  QTest::keyClick(&Editor(), Qt::Key_Home);
  QTest::keyClick(&Editor(), Qt::Key_Tab);
  EXPECT_EQ(Editor().Lines().Text(), "one\r\n    x");
  QTest::keyClick(&Editor(), Qt::Key_Delete);
  EXPECT_EQ(Editor().Lines().Text(), "one\r\n    ");
}

}  // namespace
}  // namespace penwick::test
