// The editor widget's search side: where a match stands on the screen as the
// view scrolls, and the forms it shows by default.
#include <QDialog>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "editor/QtSearchControl.h"
#include "editor/QtSearchForms.h"
#include "editor/SyntaxMemo.h"

namespace penwick {
namespace {

class MemoSearchControl : public ::testing::Test {
protected:
  void SetUp() override {
    m_memo = std::make_unique<TSyntaxMemo>();
    m_memo->resize(400, 300);
    m_memo->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_memo.get()));
    std::string text;
    for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i) + " of the script text, long enough to scroll sideways in a narrow view\r\n";
    m_memo->Lines().SetText(text);
  }
  TSearchControl& Control() { return m_memo->SearchControl(); }
  // The cell of (column, line) computed from the view's metrics alone.
  QPoint CellOf(int column, int line) const {
    const int row = line - m_memo->TopLine();
    return m_memo->viewport()->mapToGlobal(
        QPoint(m_memo->TextLeft() + column * m_memo->CharWidth(), row * m_memo->LineHeight()));
  }

  std::unique_ptr<TSyntaxMemo> m_memo;
};

TEST_F(MemoSearchControl, CharRectOnScreenFollowsTheScrolledView) {
  const int offset = m_memo->CaretPosToStrPos(7, 30);
  const int before = m_memo->CaretStrPos();
  for (int top : {0, 25, 28}) {
    m_memo->SetTopLine(top);
    const TPopupRect rect = Control().CharRectOnScreen(offset);
    EXPECT_EQ(QPoint(rect.Left, rect.Top), CellOf(7, 30)) << "top line " << top;
    EXPECT_EQ(rect.Height, m_memo->LineHeight());
  }
  m_memo->SetTopLine(25);
  const TPopupRect vertical = Control().CharRectOnScreen(offset);
  m_memo->horizontalScrollBar()->setValue(3 * m_memo->CharWidth());
  const TPopupRect shifted = Control().CharRectOnScreen(offset);
  EXPECT_EQ(shifted.Left, vertical.Left - 3 * m_memo->CharWidth());
  EXPECT_EQ(shifted.Top, vertical.Top);
  // Asking scrolls nothing and leaves the caret.
  EXPECT_EQ(m_memo->TopLine(), 25);
  EXPECT_EQ(m_memo->CaretStrPos(), before);
}

TEST_F(MemoSearchControl, TheDefaultFormsAreTheWidgetsOwnDialogs) {
  ASSERT_TRUE(Control().HasForms());
  auto& forms = static_cast<TMemoSearchControl&>(Control()).QtForms();
  EXPECT_EQ(&Control().Forms(), &forms);
  QWidget* parent = nullptr;
  forms.OnShown = [&](QDialog& dialog) {
    parent = dialog.parentWidget();
    dialog.reject();
  };
  forms.ShowInformation("nothing");
  EXPECT_EQ(parent, m_memo->window());
}

}  // namespace
}  // namespace penwick
