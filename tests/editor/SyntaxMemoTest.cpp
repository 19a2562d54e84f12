// The editor widget driven by real key, mouse and wheel events: typing,
// the editing keys, selection, the system clipboard, undo keys and scrolling.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <memory>

#include "editor/QtClipboard.h"
#include "editor/SyntaxMemo.h"

namespace penwick {
namespace {

class SyntaxMemoWidget : public ::testing::Test {
protected:
  void SetUp() override {
    m_memo = std::make_unique<TSyntaxMemo>();
    m_memo->resize(400, 300);
    m_memo->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_memo.get()));
    m_memo->activateWindow();
    m_memo->setFocus();
    QApplication::clipboard()->clear();
  }
  void SetText(const char* text) {
    m_memo->Lines().SetText(text);
    m_memo->SetModified(false);
    m_memo->SetCaretPos(0, 0);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(m_memo.get(), key, mods);
  }
  std::string Text() const { return m_memo->Lines().Text(); }
  std::string Selected() const { return m_memo->SelText(); }
  // The viewport point in the middle of the cell before character `x` of `line`.
  QPoint CellPoint(int x, int line) const {
    QPoint at = m_memo->CaretPosToPoint(TPoint{x, line});
    return at + QPoint(1, m_memo->LineHeight() / 2);
  }
  QWidget* Viewport() const { return m_memo->viewport(); }

  std::unique_ptr<TSyntaxMemo> m_memo;
};

TEST_F(SyntaxMemoWidget, TypingEnterBackspaceAndDelete) {
  QTest::keyClicks(m_memo.get(), "abc");
  Key(Qt::Key_Return);
  QTest::keyClicks(m_memo.get(), "de");
  EXPECT_EQ(Text(), "abc\r\nde");
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{2, 1}));
  EXPECT_TRUE(m_memo->Modified());
  Key(Qt::Key_Home);
  Key(Qt::Key_Backspace);  // joins the lines: the CR LF goes as one
  EXPECT_EQ(Text(), "abcde");
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{3, 0}));
  Key(Qt::Key_Delete);
  EXPECT_EQ(Text(), "abce");
  // Control characters are never typed.
  QTest::keyClick(m_memo.get(), Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
  QTest::keyClick(m_memo.get(), Qt::Key_Escape);
  EXPECT_EQ(Text().find('\x1b'), std::string::npos);
}

TEST_F(SyntaxMemoWidget, TypedCharactersGoThroughTheCodePage) {
  // Keys of a layout with these letters: text without an ASCII key code.
  for (const QString& letter : {QString::fromUtf8("é"), QString::fromUtf8("€")}) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, letter);
    QApplication::sendEvent(m_memo.get(), &press);
  }
  EXPECT_EQ(Text(), "\xE9\x80");
}

TEST_F(SyntaxMemoWidget, TabInsertsSpacesToTheNextStop) {
  QTest::keyClicks(m_memo.get(), "abc");
  Key(Qt::Key_Tab);
  EXPECT_EQ(Text(), "abc ");
  Key(Qt::Key_Tab);
  EXPECT_EQ(Text(), "abc     ");
  EXPECT_TRUE(m_memo->hasFocus()) << "Tab does not move the focus";
}

TEST_F(SyntaxMemoWidget, CaretMovementKeys) {
  SetText("first line\r\nsecond\r\n\tthird");
  Key(Qt::Key_End);
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{10, 0}));
  Key(Qt::Key_Down);  // the column is kept beyond the shorter line's end
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{10, 1}));
  Key(Qt::Key_Home);
  Key(Qt::Key_Left);  // to the end of the line above
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{10, 0}));
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{6, 2}));
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{0, 0}));
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{6, 0}));
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{0, 0}));
}

TEST_F(SyntaxMemoWidget, TypingBeyondTheLineEndPadsWithSpaces) {
  SetText("ab\r\nlonger line");
  Key(Qt::Key_Down);
  Key(Qt::Key_End);
  Key(Qt::Key_Up);
  QTest::keyClicks(m_memo.get(), "x");
  EXPECT_EQ(m_memo->Lines().Line(0), "ab         x");
  // Backspace beyond the end only moves the caret.
  SetText("ab");
  m_memo->SetCaretPos(5, 0);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Text(), "ab");
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{4, 0}));
}

TEST_F(SyntaxMemoWidget, ShiftArrowsSelectAndTypingReplaces) {
  SetText("hello world\r\nnext");
  Key(Qt::Key_Right, Qt::ShiftModifier, 5);
  EXPECT_EQ(Selected(), "hello");
  Key(Qt::Key_Left, Qt::ShiftModifier, 2);
  EXPECT_EQ(Selected(), "hel");
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "hello world\r\nnex");
  Key(Qt::Key_Up, Qt::ShiftModifier);
  Key(Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "hello world");
  // Selecting backwards from a later anchor.
  Key(Qt::Key_Right);
  EXPECT_FALSE(m_memo->HaveSelection()) << "a plain move drops the selection";
  m_memo->SetCaretPos(5, 0);
  Key(Qt::Key_Home, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "hello");
  QTest::keyClicks(m_memo.get(), "J");
  EXPECT_EQ(m_memo->Lines().Line(0), "J world");
  QTest::keyClick(m_memo.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(m_memo->Lines().Line(0), "hello world") << "one Undo restores the replaced word";
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{5, 0}));
}

TEST_F(SyntaxMemoWidget, ShiftArrowsExtendASelectionMadeByTheProgram) {
  SetText("abcdefgh");
  // As a jump to a message's place leaves it: caret at the start of the word.
  m_memo->SetCaretPos(2, 0);
  m_memo->SetSelLength(3);
  Key(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "bcde");
  Key(Qt::Key_Home);
  m_memo->SelectAll();
  Key(Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "bcdefgh") << "the caret was at the start of the whole-text selection";
}

TEST_F(SyntaxMemoWidget, MouseClickPlacesCaretAndDragSelects) {
  SetText("abcdef\r\nghijkl\r\nmnop");
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellPoint(2, 1));
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{2, 1}));
  EXPECT_TRUE(m_memo->hasFocus());
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, CellPoint(1, 0));
  QMouseEvent move(QEvent::MouseMove, CellPoint(3, 2), Viewport()->mapToGlobal(CellPoint(3, 2)), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(Viewport(), &move);
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, CellPoint(3, 2));
  EXPECT_EQ(Selected(), "bcdef\r\nghijkl\r\nmno");
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{3, 2}));
  // Shift+click extends from the anchor.
  QTest::mouseClick(Viewport(), Qt::LeftButton, Qt::ShiftModifier, CellPoint(4, 0));
  EXPECT_EQ(Selected(), "bcd");
  // A click beyond the end of a line puts the caret there.
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellPoint(9, 2));
  EXPECT_EQ(m_memo->CaretPos(), (TPoint{9, 2}));
  EXPECT_FALSE(m_memo->HaveSelection());
  // A double click selects the word.
  QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, CellPoint(2, 1));
  EXPECT_EQ(Selected(), "ghijkl");
}

TEST_F(SyntaxMemoWidget, ClipboardKeysRoundTripThroughTheSystemClipboard) {
  SetText("one two");
  Key(Qt::Key_Right, Qt::ShiftModifier, 3);
  QTest::keyClick(m_memo.get(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "one");
  Key(Qt::Key_End);
  QTest::keyClick(m_memo.get(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), "one twoone");
  Key(Qt::Key_Home);
  Key(Qt::Key_Right, Qt::ShiftModifier, 4);
  QTest::keyClick(m_memo.get(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Text(), "twoone");
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "one ");
  // The other key pairs: Shift+Del cuts, Ctrl+Ins copies, Shift+Ins pastes.
  Key(Qt::Key_Right, Qt::ShiftModifier, 3);
  QTest::keyClick(m_memo.get(), Qt::Key_Delete, Qt::ShiftModifier);
  EXPECT_EQ(Text(), "one");
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "two");
  Key(Qt::Key_End, Qt::ShiftModifier);
  QTest::keyClick(m_memo.get(), Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "one");
  Key(Qt::Key_End);
  QTest::keyClick(m_memo.get(), Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(Text(), "oneone");
}

TEST_F(SyntaxMemoWidget, ClipboardConvertsTheCodePageAndMarksColumnBlocks) {
  TQtClipboard clipboard;
  clipboard.SetText("caf\xE9", false);
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("café"));
  bool column = true;
  EXPECT_EQ(clipboard.GetText(&column), "caf\xE9");
  EXPECT_FALSE(column);
  clipboard.SetText("ab\r\ncd\r\n", true);
  EXPECT_EQ(clipboard.GetText(&column), "ab\r\ncd\r\n");
  EXPECT_TRUE(column);
  // Text put there by another program carries no marker.
  QApplication::clipboard()->setText("plain");
  EXPECT_TRUE(clipboard.HasText());
  EXPECT_EQ(clipboard.GetText(&column), "plain");
  EXPECT_FALSE(column);
  QApplication::clipboard()->clear();
  EXPECT_FALSE(clipboard.HasText());
  // Empty text is text to Qt, but there is nothing to paste.
  auto* empty = new QMimeData;
  empty->setText(QString());
  QApplication::clipboard()->setMimeData(empty);
  EXPECT_FALSE(clipboard.HasText());
}

TEST_F(SyntaxMemoWidget, UndoAndRedoKeys) {
  QTest::keyClicks(m_memo.get(), "abc");
  QTest::keyClick(m_memo.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), "");
  EXPECT_FALSE(m_memo->Modified());
  QTest::keyClick(m_memo.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Text(), "a");
  QTest::keyClick(m_memo.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Text(), "ab");
  QTest::keyClick(m_memo.get(), Qt::Key_Backspace, Qt::AltModifier);
  EXPECT_EQ(Text(), "");
  // Ctrl+Y deletes the caret line with its break.
  SetText("one\r\ntwo\r\nthree");
  Key(Qt::Key_Down);
  QTest::keyClick(m_memo.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Text(), "one\r\nthree");
  QTest::keyClick(m_memo.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Text(), "one\r\ntwo\r\nthree");
}

TEST_F(SyntaxMemoWidget, SignalsReportModifiedAndCaretChanges) {
  int modifiedChanges = 0, caretMoves = 0;
  QObject::connect(m_memo.get(), &TSyntaxMemo::ModifiedChanged, [&] { ++modifiedChanges; });
  QObject::connect(m_memo.get(), &TSyntaxMemo::CaretPosChanged, [&] { ++caretMoves; });
  QTest::keyClicks(m_memo.get(), "ab");
  EXPECT_EQ(modifiedChanges, 1);
  EXPECT_EQ(caretMoves, 2);
  m_memo->SetModified(false);
  EXPECT_EQ(modifiedChanges, 2);
}

TEST_F(SyntaxMemoWidget, LongTextScrollsByKeysPagesAndWheel) {
  std::string text;
  const int count = 1000000;
  text.reserve(count * 8);
  for (int i = 0; i < count; ++i) {
    text.append("line ");
    text.append(std::to_string(i % 1000));
    text.append("\r\n");
  }
  text.resize(text.size() - 2);
  SetText(text.c_str());
  const int page = m_memo->VisibleLineCount();
  ASSERT_GT(page, 3);
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(m_memo->CaretPos().Y, count - 1);
  EXPECT_LE(m_memo->TopLine(), count - 1);
  EXPECT_GE(m_memo->TopLine(), count - page);
  m_memo->viewport()->repaint();  // paints the visible lines only
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(m_memo->TopLine(), 0);
  Key(Qt::Key_PageDown);
  EXPECT_EQ(m_memo->CaretPos().Y, page);
  EXPECT_EQ(m_memo->TopLine(), page);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(m_memo->CaretPos().Y, 0);
  EXPECT_EQ(m_memo->TopLine(), 0);
  // One wheel notch down moves the top line by three.
  const QPointF at(10, 10);
  QWheelEvent wheel(at, Viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(Viewport(), &wheel);
  EXPECT_EQ(m_memo->TopLine(), 3);
  EXPECT_EQ(m_memo->verticalScrollBar()->maximum(), count - 1) << "the last line may scroll to the top";
}

TEST_F(SyntaxMemoWidget, DisabledEditorIgnoresInput) {
  SetText("abc");
  m_memo->setEnabled(false);
  QTest::keyClicks(m_memo.get(), "x");
  EXPECT_EQ(Text(), "abc");
}

}  // namespace
}  // namespace penwick
