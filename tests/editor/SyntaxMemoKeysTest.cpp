// The editor widget's key map, typing keys, mouse clicks in the text and
// context menu, driven by real key and mouse events.
#include <QApplication>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <random>

#include "editor/EditorCommandIds.h"
#include "editor/MemoryClipboard.h"
#include "editor/SyntaxMemo.h"

namespace penwick {
namespace {

class SyntaxMemoKeys : public ::testing::Test {
protected:
  void SetUp() override {
    m_memo = std::make_unique<TSyntaxMemo>();
    m_memo->resize(400, 300);
    m_memo->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_memo.get()));
    m_memo->activateWindow();
    m_memo->setFocus();
    // The menu tests must not depend on the system clipboard.
    m_memo->Core().SetClipboard(&m_clipboard);
  }
  void TearDown() override {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    m_memo->Core().SetClipboard(nullptr);
  }
  void SetText(const char* text, TPoint caret = {}) {
    m_memo->Lines().SetText(text);
    m_memo->ClearUndo();
    m_memo->SetModified(false);
    m_memo->SetCaretPos(caret);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::keyClick(m_memo.get(), key, mods);
  }
  std::string Text() const { return m_memo->Lines().Text(); }
  TPoint Caret() const { return m_memo->CaretPos(); }
  QPoint CellPoint(int x, int line) const {
    return m_memo->CaretPosToPoint(TPoint{x, line}) + QPoint(1, m_memo->LineHeight() / 2);
  }
  QWidget* Viewport() const { return m_memo->viewport(); }
  // Right-clicks at the cell and returns the menu's items (caption, enabled), closing the menu.
  std::vector<std::pair<std::string, bool>> MenuAt(int x, int line) {
    QTest::mouseClick(Viewport(), Qt::RightButton, {}, CellPoint(x, line));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_NE(menu, nullptr);
    std::vector<std::pair<std::string, bool>> items;
    if (!menu) return items;
    for (QAction* action : menu->actions())
      items.emplace_back(action->isSeparator() ? "-" : action->text().toStdString(),
                         !action->isSeparator() && action->isEnabled());
    menu->close();
    return items;
  }

  TMemoryClipboard m_clipboard;
  std::unique_ptr<TSyntaxMemo> m_memo;
};

TEST_F(SyntaxMemoKeys, TabGoesToTheNextStopOfTheList) {
  m_memo->TabList().SetAsString("4");
  for (const auto& [column, spaces] : {std::pair{0, 4}, {3, 1}, {4, 4}, {5, 3}}) {
    SetText("", TPoint{column, 0});
    Key(Qt::Key_Tab);
    EXPECT_EQ(Text(), std::string(static_cast<size_t>(column + spaces), ' ')) << "column " << column;
    EXPECT_EQ(Caret(), (TPoint{column + spaces, 0}));
  }
  m_memo->TabList().SetAsString("4 10");
  SetText("");
  Key(Qt::Key_Tab, Qt::NoModifier, 4);
  EXPECT_EQ(Text().size(), 22u) << "stops 4, 10, 16, 22";
  EXPECT_TRUE(m_memo->hasFocus()) << "Tab does not move the focus";
  // "0" names no stop: each Tab is one column, nothing divides by zero.
  m_memo->TabList().SetAsString("0");
  SetText("\tx");
  Key(Qt::Key_End);
  Key(Qt::Key_Tab);
  EXPECT_EQ(Text(), "\tx ");
  m_memo->repaint();  // painting the tab must not hang either
}

TEST_F(SyntaxMemoKeys, EnterIndentsAndBackspaceUnindentsOrJoins) {
  SetText("    abc");
  Key(Qt::Key_End);
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(), "    abc\r\n    ");
  EXPECT_EQ(Caret(), (TPoint{4, 1}));
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Text(), "    abc\r\n") << "all four at once";
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Text(), "    abc") << "an empty line joins the one above";
  SetText("one\r\ntwo", TPoint{0, 1});
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Text(), "onetwo") << "an unindented line joins the one above";
  EXPECT_EQ(Caret(), (TPoint{3, 0}));
  SetText("ab", TPoint{6, 0});
  Key(Qt::Key_Backspace);
  EXPECT_EQ(Text(), "ab") << "beyond the end only the caret moves";
  EXPECT_EQ(Caret(), (TPoint{5, 0}));
}

TEST_F(SyntaxMemoKeys, InsertTogglesOverwrite) {
  SetText("abcd", TPoint{1, 0});
  Key(Qt::Key_Insert);
  EXPECT_TRUE(m_memo->Core().ReplaceMode());
  QTest::keyClicks(m_memo.get(), "XY");
  EXPECT_EQ(Text(), "aXYd");
  QTest::keyClicks(m_memo.get(), "ZW");
  EXPECT_EQ(Text(), "aXYZW");
  Key(Qt::Key_Insert);
  Key(Qt::Key_Home);
  QTest::keyClicks(m_memo.get(), "-");
  EXPECT_EQ(Text(), "-aXYZW");
}

TEST_F(SyntaxMemoKeys, ShiftAltArrowsSelectAColumn) {
  SetText("abcdef\r\nghijkl\r\nmnopqr", TPoint{1, 0});
  Key(Qt::Key_Right, Qt::ShiftModifier | Qt::AltModifier, 3);
  Key(Qt::Key_Down, Qt::ShiftModifier | Qt::AltModifier, 2);
  EXPECT_EQ(m_memo->SelectionMode(), smColumn);
  EXPECT_EQ(m_memo->SelText(), "bcd\r\nhij\r\nnop\r\n");
  Key(Qt::Key_Delete);
  EXPECT_EQ(Text(), "aef\r\ngkl\r\nmqr");
  // Ctrl+O, C makes Shift+arrows select columns; Ctrl+O, K back to normal.
  SetText("abcdef\r\nghijkl", TPoint{0, 0});
  Key(Qt::Key_O, Qt::ControlModifier);
  Key(Qt::Key_C);
  Key(Qt::Key_Right, Qt::ShiftModifier, 2);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(m_memo->SelText(), "ab\r\ngh\r\n");
  EXPECT_EQ(Text(), "abcdef\r\nghijkl") << "the second stroke is not typed";
  Key(Qt::Key_O, Qt::ControlModifier);
  Key(Qt::Key_K);
  EXPECT_EQ(m_memo->SelectionMode(), smNormal);
  EXPECT_EQ(m_memo->SelText(), "abcdef\r\ngh") << "the block's corners make the normal selection";
  // A prefix followed by a key it does not complete: the key counts alone.
  Key(Qt::Key_End, Qt::ControlModifier);
  Key(Qt::Key_O, Qt::ControlModifier);
  QTest::keyClicks(m_memo.get(), "q");
  EXPECT_EQ(Text(), "abcdef\r\nghijklq");
}

TEST_F(SyntaxMemoKeys, DoubleClickSelectsTheWordAndAThirdClickTheLine) {
  SetText("alpha beta\r\ngamma");
  QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, CellPoint(7, 0));
  EXPECT_EQ(m_memo->SelText(), "beta");
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellPoint(7, 0));
  EXPECT_EQ(m_memo->SelText(), "alpha beta\r\n");
  // A plain click after that places the caret again.
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellPoint(2, 1));
  EXPECT_FALSE(m_memo->HaveSelection());
  EXPECT_EQ(Caret(), (TPoint{2, 1}));
}

// On the first line of a folded range the row shows the whole range: a line
// selection takes it whole, so that the caret after it is on a shown line.
TEST_F(SyntaxMemoKeys, ALineSelectionOnAFoldedLineTakesTheFoldedLinesToo) {
  SetText("one\r\n#ifdef A\r\nSET x = 1\r\n#endif\r\nlast");
  const TSyntMemoStrings& lines = m_memo->Lines();
  ASSERT_TRUE(m_memo->Folds().Fold(lines.LineStart(1) + 6, lines.LineStart(3) + 6, ""));
  QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, CellPoint(2, 1));
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellPoint(2, 1));
  EXPECT_EQ(m_memo->SelText(), "#ifdef A\r\nSET x = 1\r\n#endif\r\n");
  EXPECT_EQ(Caret(), (TPoint{0, 4}));
  EXPECT_FALSE(m_memo->Folds().IsLineHidden(Caret().Y));
  // Line selection mode (Ctrl+O, L) from the folded line does the same.
  m_memo->SetSelection(lines.LineStart(1) + 2, 0);
  m_memo->SetCaretPos(2, 1);
  Key(Qt::Key_O, Qt::ControlModifier);
  Key(Qt::Key_L);
  EXPECT_EQ(m_memo->SelText(), "#ifdef A\r\nSET x = 1\r\n#endif\r\n");
  EXPECT_EQ(Caret(), (TPoint{0, 4}));
  EXPECT_EQ(m_memo->Folds().Count(), 1);
  // A line without a fold is selected alone.
  QTest::qWait(QApplication::doubleClickInterval() + 50);
  QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, CellPoint(1, 0));
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellPoint(1, 0));
  EXPECT_EQ(m_memo->SelText(), "one\r\n");
}

// A folded #ifdef range ends at the end of its "#endif": Backspace at the
// start of the next line joins that line to the hidden one. The fold opens,
// or the line would vanish from view with the caret.
TEST_F(SyntaxMemoKeys, JoiningALineToTheHiddenLastLineOfAFoldUnfoldsIt) {
  for (const auto& [key, mods] : {std::pair{Qt::Key_Backspace, Qt::KeyboardModifiers{}},
                                  std::pair{Qt::Key_Backspace, Qt::KeyboardModifiers{Qt::ControlModifier}}}) {
    SetText("one\r\n#ifdef A\r\nSET x = 1\r\n#endif\r\nlast", TPoint{0, 4});
    const TSyntMemoStrings& lines = m_memo->Lines();
    ASSERT_TRUE(m_memo->Folds().Fold(lines.LineStart(1), lines.LineStart(3) + 6, ""));
    Key(key, mods);
    EXPECT_EQ(Text(), "one\r\n#ifdef A\r\nSET x = 1\r\n#endiflast");
    EXPECT_EQ(Caret(), (TPoint{6, 3}));
    EXPECT_EQ(m_memo->Folds().Count(), 0);
    EXPECT_FALSE(m_memo->Folds().IsLineHidden(3));
  }
  // A fold whose range takes its last line break along ends at a line
  // start: deleting there edits the shown line after it, and the fold stays.
  SetText("one\r\n#ifdef A\r\nSET x = 1\r\n#endif\r\nlast", TPoint{0, 4});
  const TSyntMemoStrings& lines = m_memo->Lines();
  ASSERT_TRUE(m_memo->Folds().Fold(lines.LineStart(1), lines.LineStart(4), ""));
  Key(Qt::Key_Delete);
  EXPECT_EQ(Text(), "one\r\n#ifdef A\r\nSET x = 1\r\n#endif\r\nast");
  EXPECT_EQ(m_memo->Folds().Count(), 1);
}

// One typed character outside the code page is one replacement character,
// also when it takes two UTF-16 units (a surrogate pair).
TEST_F(SyntaxMemoKeys, ACharacterBeyondTheBasicPlaneTypesOneReplacement) {
  SetText("ab", TPoint{1, 0});
  QTest::sendKeyEvent(QTest::Click, m_memo.get(), Qt::Key_unknown, QString::fromUtf8("\xF0\x9F\x98\x80"),
                      Qt::NoModifier);
  EXPECT_EQ(Text(), "a?b");
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("\xF0\x9F\x98\x80\xC3\xA9"));
  QApplication::sendEvent(m_memo.get(), &commit);
  EXPECT_EQ(Text(), "a??\xE9" "b");
}

TEST_F(SyntaxMemoKeys, MousePressReachesItsHook) {
  int presses = 0;
  m_memo->OnMousePress = [&] { ++presses; };
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, CellPoint(0, 0));
  EXPECT_EQ(presses, 1);
}

TEST_F(SyntaxMemoKeys, ContextMenuItemsFollowTheirCommands) {
  using TItems = std::vector<std::pair<std::string, bool>>;
  SetText("hello world");
  TItems items = MenuAt(2, 0);
  EXPECT_EQ(items, (TItems{{"&Undo", false},
                           {"&Redo", false},
                           {"-", false},
                           {"Cu&t", false},
                           {"&Copy", false},
                           {"&Paste", false},
                           {"&Delete", false},
                           {"-", false},
                           {"Select &All", true}}));
  EXPECT_EQ(Caret(), (TPoint{2, 0})) << "the right click moved the caret";
  // A selection, something to undo and something to paste.
  QTest::keyClicks(m_memo.get(), "x");
  m_memo->SetSelection(0, 5);
  m_memo->CopyToClipboard();
  items = MenuAt(3, 0);
  EXPECT_TRUE(items[0].second) << "Undo";
  EXPECT_FALSE(items[1].second) << "Redo";
  EXPECT_TRUE(items[3].second) << "Cut";
  EXPECT_TRUE(items[4].second) << "Copy";
  EXPECT_TRUE(items[5].second) << "Paste";
  EXPECT_TRUE(items[6].second) << "Delete";
  EXPECT_EQ(m_memo->SelText(), "hexll") << "a click inside the selection keeps it";
  // Read-only: only Copy and Select All.
  m_memo->SetReadOnly(true);
  items = MenuAt(3, 0);
  EXPECT_FALSE(items[0].second);
  EXPECT_FALSE(items[3].second);
  EXPECT_TRUE(items[4].second);
  EXPECT_FALSE(items[5].second);
  EXPECT_FALSE(items[6].second);
  EXPECT_TRUE(items[8].second);
  m_memo->SetReadOnly(false);
  // An item runs its command.
  QTest::mouseClick(Viewport(), Qt::RightButton, {}, CellPoint(3, 0));
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(menu, nullptr);
  menu->actions().at(6)->trigger();
  menu->close();
  EXPECT_EQ(Text(), "o world");
  // A click outside the selection moves the caret and empties it.
  m_memo->SetSelection(0, 2);
  MenuAt(5, 0);
  EXPECT_FALSE(m_memo->HaveSelection());
  EXPECT_EQ(Caret(), (TPoint{5, 0}));
}

TEST_F(SyntaxMemoKeys, WindowShortcutsAreNotEditorCommandsExceptDelete) {
  SetText("one\r\ntwo", TPoint{1, 0});
  m_memo->SetWindowShortcutTest([](const QKeySequence& key) {
    return key == QKeySequence("Ctrl+Y") || key == QKeySequence("Delete");
  });
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Text(), "one\r\ntwo") << "Ctrl+Y belongs to the window";
  Key(Qt::Key_Delete);
  EXPECT_EQ(Text(), "oe\r\ntwo") << "Delete always goes to the editor";
  m_memo->SetWindowShortcutTest({});
  Key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Text(), "two") << "without the window, Ctrl+Y is Delete Line";
}

TEST_F(SyntaxMemoKeys, OnKeyDownSeesKeysFirstAndCanTakeThem) {
  SetText("");
  std::vector<int> seen;
  m_memo->OnKeyDown = [&](TKeyStroke& key) {
    seen.push_back(key.Key);
    if (key.Key == vkF1 || key.Key == 'Q') key.Key = 0;
  };
  Key(Qt::Key_F1);
  QTest::keyClicks(m_memo.get(), "aq");
  EXPECT_EQ(seen, (std::vector<int>{vkF1, 'A', 'Q'}));
  EXPECT_EQ(Text(), "a");
  // Commands registered later run from their keys.
  int finds = 0;
  m_memo->Commands().Register(cmFindDialog, [&](char) { ++finds; });
  Key(Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(finds, 1);
  EXPECT_EQ(Text(), "a");
}

// Property: whatever keys and clicks arrive, with word wrap on or off and a
// folded range in the text, the caret stays on a line of the text that no
// fold hides (there it would not be drawn, and typing would go unseen).
TEST_F(SyntaxMemoKeys, RandomKeysAndClicksNeverLeaveTheCaretOnAHiddenLine) {
  const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End,
                          Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return,
                          Qt::Key_Tab, Qt::Key_Insert, Qt::Key_Escape, Qt::Key_A, Qt::Key_X, Qt::Key_V, Qt::Key_C,
                          Qt::Key_Z, Qt::Key_Y, Qt::Key_T, Qt::Key_B, Qt::Key_N, Qt::Key_I, Qt::Key_E, Qt::Key_O,
                          Qt::Key_K, Qt::Key_L, Qt::Key_Equal, Qt::Key_Space, Qt::Key_Q};
  const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                        Qt::ShiftModifier | Qt::AltModifier, Qt::ControlModifier | Qt::ShiftModifier,
                                        Qt::AltModifier};
  std::mt19937 random(5);
  const std::string text = "one two\r\n#ifdef A\r\n  SET x = 1 and a long line that wraps somewhere\r\n#endif\r\n\tlast\r\n";
  const TSyntMemoStrings& lines = m_memo->Lines();
  for (int round = 0; round < 1500; ++round) {
    SetText(text.c_str(), TPoint{static_cast<int>(random() % 6), random() % 2 ? 0 : 4});
    m_memo->SetWordWrap(round % 2);
    m_memo->resize(round % 3 ? 400 : 60, 300);
    // Starting after "#ifdef", as a comment run after code starts inside its line.
    ASSERT_TRUE(m_memo->Folds().Fold(lines.LineStart(1) + 6, lines.LineStart(3) + 6, ""));
    for (int step = 0; step < 40; ++step) {
      const std::string before = lines.Text();
      const Qt::Key key = keys[random() % std::size(keys)];
      const Qt::KeyboardModifiers mod = mods[random() % std::size(mods)];
      if (random() % 10 == 0) {
        QTest::mouseClick(Viewport(), random() % 4 ? Qt::LeftButton : Qt::RightButton, {},
                          QPoint(random() % 300, random() % 200));
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
      } else {
        QTest::keyClick(m_memo.get(), key, mod);
      }
      const TPoint c = Caret();
      ASSERT_LT(c.Y, std::max(1, lines.Count()));
      ASSERT_FALSE(m_memo->Folds().IsLineHidden(c.Y))
          << "round " << round << " step " << step << ", key " << std::hex << key << " with " << mod.toInt()
          << std::dec << " on [" << before << "] left the caret at " << c.X << "," << c.Y;
    }
    if (m_memo->IncSearchActive()) Key(Qt::Key_Escape);
    m_memo->SetReplaceMode(false);
  }
}

}  // namespace
}  // namespace penwick
