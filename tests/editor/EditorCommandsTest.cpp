// The editing commands through the dispatcher, against a navigator that
// records what the commands ask of the view.
#include "editor/EditorCommands.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

#include "editor/EditorCommandIds.h"
#include "platform/CodePage.h"

namespace penwick {
namespace {

// Rows are lines; optionally one folded range hides lines FoldFirst+1..FoldLast
// with its mark at MarkX on FoldFirst.
class TFakeNavigator : public TCaretNavigator {
public:
  explicit TFakeNavigator(TMemoEditor& editor) : m_editor(editor) {}
  int Last() const { return std::max(0, m_editor.Lines().Count() - 1); }
  TPoint MoveByRows(TPoint caret, int rows) override {
    Calls.push_back("rows " + std::to_string(rows));
    int y = caret.Y + rows;
    if (Folded && rows > 0 && caret.Y <= FoldFirst && y > FoldFirst) y += FoldLast - FoldFirst;
    if (Folded && rows < 0 && y > FoldFirst && y <= FoldLast) y = FoldFirst;
    return TPoint{caret.X, std::clamp(y, 0, Last())};
  }
  TPoint RowHome(TPoint caret) override { return TPoint{0, caret.Y}; }
  TPoint RowEnd(TPoint caret) override { return TPoint{m_editor.Lines().LineLength(caret.Y), caret.Y}; }
  TPoint TopOfPage(TPoint caret) override { return TPoint{caret.X, Top}; }
  TPoint BottomOfPage(TPoint caret) override { return TPoint{caret.X, std::min(Last(), Top + Page - 1)}; }
  int PageRows() const override { return Page; }
  int TopRow() const override { return Top; }
  void SetTopRow(int row) override { Top = std::clamp(row, 0, Last()); }
  TPoint ClampToFolds(TPoint caret, bool forward) override {
    Calls.push_back(forward ? "clamp forward" : "clamp");
    if (!Folded) return caret;
    const bool pastMark = (caret.Y == FoldFirst && caret.X > MarkX) || (caret.Y > FoldFirst && caret.Y <= FoldLast);
    if (!pastMark) return caret;
    return forward ? TPoint{0, FoldLast + 1} : TPoint{MarkX, FoldFirst};
  }
  void ToggleCollapseNearest(TPoint caret) override { Calls.push_back("toggle " + std::to_string(caret.Y)); }
  void EnsureCaretVisible() override { Calls.push_back("visible"); }

  std::vector<std::string> Calls;
  int Top = 0;
  int Page = 3;
  bool Folded = false;
  int FoldFirst = 0, FoldLast = 0, MarkX = 0;

private:
  TMemoEditor& m_editor;
};

class EditorCommands : public ::testing::Test {
protected:
  EditorCommands() : m_nav(m_editor), m_commands(m_editor, m_nav, TCodePage::Default()) {
    m_commands.RegisterAll(m_dispatcher);
  }
  void SetText(const char* text, TPoint caret = {}) {
    m_editor.Lines().SetText(text);
    m_editor.ClearUndo();
    m_editor.SetCaretPos(caret);
  }
  void Run(int command, int times = 1) {
    for (int i = 0; i < times; ++i) m_dispatcher.Execute(command);
  }
  void Type(const char* text) {
    for (const char* p = text; *p; ++p) m_dispatcher.Execute(cmChar, *p);
  }
  std::string Text() const { return m_editor.Lines().Text(); }
  TPoint Caret() const { return m_editor.CaretPos(); }

  TMemoEditor m_editor;
  TFakeNavigator m_nav;
  TEditorCommands m_commands;
  TCommandDispatcher m_dispatcher;
};

TEST(CommandDispatcher, RunsRegisteredCommandsWhenAvailable) {
  TCommandDispatcher dispatcher;
  int runs = 0;
  char seen = 0;
  bool available = false;
  EXPECT_FALSE(dispatcher.Execute(600)) << "unregistered: nothing";
  EXPECT_FALSE(dispatcher.IsAvailable(600));
  dispatcher.Register(600, [&](char c) { ++runs; seen = c; }, [&] { return available; });
  EXPECT_FALSE(dispatcher.Execute(600));
  available = true;
  EXPECT_TRUE(dispatcher.IsAvailable(600));
  EXPECT_TRUE(dispatcher.Execute(600, 'x'));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(seen, 'x');
  // Re-registering replaces; a handler may unregister itself while it runs.
  dispatcher.Register(600, [&](char) { ++runs; dispatcher.Unregister(600); });
  EXPECT_TRUE(dispatcher.Execute(600));
  EXPECT_FALSE(dispatcher.IsRegistered(600));
  EXPECT_EQ(runs, 2);
}

TEST_F(EditorCommands, MovesAskTheNavigatorAndClampToFolds) {
  SetText("alpha beta\r\ngamma\r\ndelta\r\nomega", TPoint{2, 0});
  Run(cmDown);
  EXPECT_EQ(Caret(), (TPoint{2, 1}));
  EXPECT_EQ(m_nav.Calls, (std::vector<std::string>{"rows 1", "clamp forward", "visible"}));
  Run(cmLastChar);
  EXPECT_EQ(Caret(), (TPoint{5, 1}));
  Run(cmFirstChar);
  EXPECT_EQ(Caret(), (TPoint{0, 1}));
  Run(cmLeft);
  EXPECT_EQ(Caret(), (TPoint{10, 0})) << "Left at column 0 goes to the end of the line above";
  Run(cmWordLeft);
  EXPECT_EQ(Caret(), (TPoint{6, 0}));
  Run(cmWordRight);
  EXPECT_EQ(Caret(), (TPoint{0, 1}));
  Run(cmTextBottom);
  EXPECT_EQ(Caret(), (TPoint{5, 3}));
  Run(cmTextTop);
  EXPECT_EQ(Caret(), (TPoint{0, 0}));
  Run(cmRight, 12);
  EXPECT_EQ(Caret(), (TPoint{12, 0})) << "the caret may stand beyond the end";
  // Page moves scroll the window by a page and move the caret by as many rows.
  Run(cmPageDown);
  EXPECT_EQ(m_nav.Top, 3);
  EXPECT_EQ(Caret(), (TPoint{12, 3}));
  Run(cmPageTop);
  EXPECT_EQ(Caret().Y, 3);
  m_nav.Top = 0;
  Run(cmPageBottom);
  EXPECT_EQ(Caret().Y, 2);
  EXPECT_EQ(m_editor.SelLength(), 0);

  // A folded range over lines 0..2 with its mark at column 5.
  m_nav.Folded = true;
  m_nav.FoldFirst = 0;
  m_nav.FoldLast = 2;
  m_nav.MarkX = 5;
  m_editor.SetCaretPos(5, 0);
  Run(cmRight);
  EXPECT_EQ(Caret(), (TPoint{0, 3})) << "a move that continues past the mark lands after the range";
  m_editor.SetCaretPos(0, 3);
  Run(cmLeft);
  EXPECT_EQ(Caret(), (TPoint{5, 0})) << "coming back it stops at the mark";
  Run(cmLastChar);
  EXPECT_EQ(Caret(), (TPoint{5, 0})) << "End stops at the mark";
}

TEST_F(EditorCommands, ShiftMovesExtendFromTheFarEndOfTheSelection) {
  SetText("one two\r\nthree", TPoint{4, 0});
  Run(cmRight + cmSelectionOffset, 3);
  EXPECT_EQ(m_editor.SelText(), "two");
  Run(cmLeft);
  EXPECT_FALSE(m_editor.HaveSelection()) << "a plain move empties the selection";
  // A selection made by the program keeps its far end as the anchor.
  m_editor.SetCaretPos(7, 0);
  m_editor.SetSelection(4, 3);
  Run(cmDown + cmSelectionOffset);
  EXPECT_EQ(m_editor.SelText(), "two\r\nthree");
  Run(cmUp + cmSelectionOffset);
  EXPECT_EQ(m_editor.SelText(), "two");
  Run(cmLeft + cmSelectionOffset, 7);
  EXPECT_EQ(m_editor.SelText(), "one ") << "through the anchor to the other side";
}

TEST_F(EditorCommands, ShiftAltMovesMakeAColumnBlockAndClearingTheOptionMakesItNormal) {
  SetText("abcdef\r\nghijkl\r\nmnopqr", TPoint{1, 0});
  Run(cmRight + cmColumnOffset, 2);
  Run(cmDown + cmColumnOffset, 2);
  EXPECT_EQ(m_editor.SelectionMode(), smColumn);
  EXPECT_EQ(m_editor.BlockRect(), (TBlockRect{1, 0, 3, 2}));
  EXPECT_EQ(m_editor.SelText(), "bc\r\nhi\r\nno\r\n");
  Run(cmLeft + cmColumnOffset, 3);  // through the anchor column
  EXPECT_EQ(m_editor.BlockRect(), (TBlockRect{0, 0, 1, 2}));
  // A zero-width block keeps its anchor.
  SetText("abcdef\r\nghijkl\r\nmnopqr", TPoint{2, 0});
  Run(cmDown + cmColumnOffset, 2);
  Run(cmRight + cmColumnOffset);
  EXPECT_EQ(m_editor.BlockRect(), (TBlockRect{2, 0, 3, 2}));
  m_editor.SetOptions(m_editor.Options() & ~soEnableBlockSel);
  EXPECT_EQ(m_editor.SelectionMode(), smNormal);
  EXPECT_EQ(m_editor.SelText(), "cdef\r\nghijkl\r\nmno");
  // Without the option Shift+Alt extends a normal selection.
  Run(cmTextTop);
  Run(cmRight + cmColumnOffset, 2);
  EXPECT_EQ(m_editor.SelectionMode(), smNormal);
  EXPECT_EQ(m_editor.SelText(), "ab");
}

TEST_F(EditorCommands, ColumnSelectionModeMakesShiftMovesColumnUntilNormalOrEsc) {
  SetText("abcdef\r\nghijkl", TPoint{1, 0});
  Run(cmRight + cmSelectionOffset, 2);
  Run(cmColumnSelection);
  EXPECT_EQ(m_editor.BlockRect(), (TBlockRect{1, 0, 3, 0}));
  Run(cmDown + cmSelectionOffset);
  EXPECT_EQ(m_editor.SelText(), "bc\r\nhi\r\n");
  Run(cmNormalSelection);
  EXPECT_EQ(m_editor.SelectionMode(), smNormal);
  EXPECT_EQ(m_editor.SelText(), "bcdef\r\nghi");
  Run(cmColumnSelection);
  Run(cmResetSelection);
  EXPECT_FALSE(m_editor.HaveSelection());
  Run(cmRight + cmSelectionOffset);
  EXPECT_EQ(m_editor.SelectionMode(), smNormal) << "Esc returns to normal selection";
  Run(cmLineSelection);
  EXPECT_EQ(m_editor.SelText(), "ghijkl") << "Line Selection widens to whole lines";
  Run(cmTextTop);
  Run(cmLineSelection);
  EXPECT_EQ(m_editor.SelText(), "abcdef\r\n");
}

TEST_F(EditorCommands, TypingOverwritesInsideTheTextAndPadsBeyondIt) {
  SetText("abc", TPoint{1, 0});
  m_editor.SetOptions(m_editor.Options() & ~soGroupUndo);
  Run(cmToggleInsertMode);
  EXPECT_TRUE(m_editor.ReplaceMode());
  Type("XY");
  EXPECT_EQ(Text(), "aXY");
  Type("Z");
  EXPECT_EQ(Text(), "aXYZ") << "at the end of the text it inserts";
  m_editor.Undo();
  EXPECT_EQ(Text(), "aXY");
  m_editor.Undo();
  EXPECT_EQ(Text(), "aXc") << "one replacement record per character";
  m_editor.SetCaretPos(6, 0);
  Type("q");
  EXPECT_EQ(Text(), "aXc   q");
  m_dispatcher.Execute(cmChar, '\x07');
  m_dispatcher.Execute(cmChar, '\t');
  EXPECT_EQ(Text(), "aXc   q") << "control characters are ignored";
  m_dispatcher.Execute(cmChar, '\xE9');
  EXPECT_EQ(Text(), "aXc   q\xE9") << "bytes above 127 are characters";
  // A selection is replaced, not overwritten character by character.
  m_editor.SetSelection(0, 3);
  Type("!");
  EXPECT_EQ(Text(), "!   q\xE9");
  Run(cmToggleInsertMode);
  EXPECT_FALSE(m_editor.ReplaceMode());
}

TEST_F(EditorCommands, EnterIndentsAndBackspaceTakesTheIndentationBackAtOnce) {
  SetText("    abc", TPoint{7, 0});
  Run(cmNewLine);
  EXPECT_EQ(Text(), "    abc\r\n    ");
  EXPECT_EQ(Caret(), (TPoint{4, 1}));
  Run(cmBackspace);
  EXPECT_EQ(Text(), "    abc\r\n");
  EXPECT_EQ(Caret(), (TPoint{0, 1}));
  Run(cmBackspace);
  EXPECT_EQ(Text(), "    abc") << "at column 0 of an empty line Backspace joins";
  // Enter beyond the end breaks at the end of the text, without padding.
  m_editor.SetCaretPos(10, 0);
  Run(cmNewLine);
  EXPECT_EQ(Text(), "    abc\r\n    ");
  // Without auto-indent the new line starts at column 0.
  m_editor.SetOptions(m_editor.Options() & ~soAutoIndentMode);
  SetText("  x", TPoint{3, 0});
  Run(cmNewLine);
  EXPECT_EQ(Text(), "  x\r\n");
  // Enter is one undo step.
  m_editor.SetOptions(m_editor.Options() | soAutoIndentMode);
  SetText("  x", TPoint{3, 0});
  Run(cmNewLine);
  m_editor.Undo();
  EXPECT_EQ(Text(), "  x");
}

TEST_F(EditorCommands, BackspaceJoinsUnindentedLinesAndOnlyMovesBeyondTheEnd) {
  SetText("ab\r\ncd", TPoint{0, 1});
  Run(cmBackspace);
  EXPECT_EQ(Text(), "abcd");
  EXPECT_EQ(Caret(), (TPoint{2, 0}));
  SetText("ab\r\n\r\ncd", TPoint{0, 1});
  Run(cmBackspace);
  EXPECT_EQ(Text(), "ab\r\ncd") << "an empty line joins too";
  SetText("ab", TPoint{5, 0});
  Run(cmBackspace);
  EXPECT_EQ(Text(), "ab");
  EXPECT_EQ(Caret(), (TPoint{4, 0}));
  // Inside a word: one character.
  SetText("  abc", TPoint{4, 0});
  Run(cmBackspace);
  EXPECT_EQ(Text(), "  ac");
  // A selection goes whole.
  m_editor.SetSelection(0, 3);
  Run(cmBackspace);
  EXPECT_EQ(Text(), "c");
}

TEST_F(EditorCommands, DeleteBeyondTheEndPadsAndJoinsAtTheCaret) {
  SetText("ab\r\ncd", TPoint{4, 0});
  Run(cmDeleteChar);
  EXPECT_EQ(Text(), "ab  cd");
  EXPECT_EQ(Caret(), (TPoint{4, 0}));
  m_editor.Undo();
  EXPECT_EQ(Text(), "ab\r\ncd");
  m_editor.SetCaretPos(1, 0);
  Run(cmDeleteChar);
  EXPECT_EQ(Text(), "a\r\ncd");
  Run(cmDeleteChar);
  EXPECT_EQ(Text(), "acd");
  m_editor.SetCaretPos(9, 0);
  Run(cmDeleteChar);
  EXPECT_EQ(Text(), "acd") << "nothing to join on the last line";
}

TEST_F(EditorCommands, WordAndLineDeletions) {
  SetText("foo bar baz\r\nnext", TPoint{4, 0});
  Run(cmDeleteWord);
  EXPECT_EQ(Text(), "foo baz\r\nnext");
  Run(cmBackDeleteWord);
  EXPECT_EQ(Text(), "baz\r\nnext");
  EXPECT_EQ(Caret(), (TPoint{0, 0}));
  m_editor.SetCaretPos(3, 0);
  Run(cmDeleteWord);
  EXPECT_EQ(Text(), "baznext") << "at the end of a line Delete Word joins";
  SetText("abc def\r\nghi", TPoint{5, 0});
  Run(cmDeleteToLineBegin);
  EXPECT_EQ(Text(), "ef\r\nghi");
  EXPECT_EQ(Caret(), (TPoint{0, 0}));
  Run(cmDeleteLine);
  EXPECT_EQ(Text(), "ghi");
  Run(cmDeleteLine);
  EXPECT_EQ(Text(), "");
  SetText("a\r\nb", TPoint{0, 0});
  m_editor.SetReadOnly(true);
  Run(cmDeleteLine);
  Run(cmBackspace);
  Type("x");
  EXPECT_EQ(Text(), "a\r\nb");
}

TEST_F(EditorCommands, TabGoesToTheNextStop) {
  m_editor.TabList().SetAsString("4 10");
  for (const auto& [column, spaces] : {std::pair{0, 4}, {3, 1}, {4, 6}, {9, 1}, {10, 6}, {17, 5}}) {
    SetText("", TPoint{column, 0});
    Run(cmTab);
    EXPECT_EQ(Text(), std::string(static_cast<size_t>(column + spaces), ' ')) << column;
  }
  // A tab before the caret counts by its stop.
  SetText("\tx", TPoint{2, 0});
  Run(cmTab);
  EXPECT_EQ(Text(), "\tx     ");
  m_editor.TabList().SetAsString("0");
  SetText("ab", TPoint{2, 0});
  Run(cmTab);
  EXPECT_EQ(Text(), "ab ") << "no stops: one column";
  Run(cmTabChar);
  EXPECT_EQ(Text(), "ab \t");
  m_editor.SetTabMode(tmTabChar);
  Run(cmTab);
  EXPECT_EQ(Text(), "ab \t\t");
}

TEST_F(EditorCommands, IndentAndUnindentShiftTheSelectedLinesByBlockIndent) {
  SetText("a\r\n\r\n  b\r\nc", TPoint{0, 0});
  m_editor.SetSelection(0, m_editor.CaretPosToStrPos(0, 3));  // ends at column 0 of "c"
  m_editor.SetCaretStrPos(0);
  m_editor.SetSelection(0, m_editor.CaretPosToStrPos(0, 3));
  Run(cmIndent);
  EXPECT_EQ(Text(), "  a\r\n\r\n    b\r\nc");
  EXPECT_EQ(m_editor.SelText(), "  a\r\n\r\n    b\r\n");
  Run(cmUnindent, 2);
  EXPECT_EQ(Text(), "a\r\n\r\nb\r\nc");
  // Without a selection the caret's line, the caret moving with its text.
  SetText("\tx", TPoint{2, 0});
  Run(cmUnindent);
  EXPECT_EQ(Text(), "x") << "a tab reaching past the indent goes whole";
  EXPECT_EQ(Caret(), (TPoint{1, 0}));
  m_commands.SetBlockIndent(3);
  Run(cmIndent);
  EXPECT_EQ(Text(), "   x");
  EXPECT_EQ(Caret(), (TPoint{4, 0}));
}

TEST_F(EditorCommands, ClipboardUndoAndTheirAvailability) {
  SetText("hello", TPoint{0, 0});
  EXPECT_FALSE(m_dispatcher.IsAvailable(cmCopy));
  EXPECT_FALSE(m_dispatcher.IsAvailable(cmCut));
  EXPECT_FALSE(m_dispatcher.IsAvailable(cmDeleteSelection));
  EXPECT_FALSE(m_dispatcher.IsAvailable(cmUndo));
  EXPECT_FALSE(m_dispatcher.IsAvailable(cmRedo));
  EXPECT_TRUE(m_dispatcher.IsAvailable(cmSelectAll));
  Run(cmRight + cmSelectionOffset, 2);
  EXPECT_TRUE(m_dispatcher.IsAvailable(cmCut));
  Run(cmCopy);
  EXPECT_TRUE(m_dispatcher.IsAvailable(cmPaste));
  Run(cmTextBottom);
  Run(cmPaste);
  EXPECT_EQ(Text(), "hellohe");
  EXPECT_TRUE(m_dispatcher.IsAvailable(cmUndo));
  Run(cmUndo);
  EXPECT_EQ(Text(), "hello");
  EXPECT_TRUE(m_dispatcher.IsAvailable(cmRedo));
  Run(cmRedo);
  EXPECT_EQ(Text(), "hellohe");
  Run(cmSelectAll);
  Run(cmDeleteSelection);
  EXPECT_EQ(Text(), "");
  EXPECT_FALSE(m_dispatcher.IsAvailable(cmSelectAll));
  m_editor.Lines().SetText("x");
  m_editor.SelectAll();
  m_editor.SetReadOnly(true);
  EXPECT_TRUE(m_dispatcher.IsAvailable(cmCopy));
  EXPECT_FALSE(m_dispatcher.IsAvailable(cmCut));
  EXPECT_FALSE(m_dispatcher.IsAvailable(cmPaste));
  EXPECT_FALSE(m_dispatcher.IsAvailable(cmDeleteSelection));
}

TEST_F(EditorCommands, ScrollBreakLineAndCollapseReachTheView) {
  SetText("ab\r\ncd\r\nef\r\ngh", TPoint{1, 0});
  Run(cmScrollDown, 2);
  EXPECT_EQ(m_nav.Top, 2);
  EXPECT_EQ(Caret(), (TPoint{1, 0})) << "scrolling leaves the caret";
  Run(cmScrollUp);
  EXPECT_EQ(m_nav.Top, 1);
  Run(cmBreakLine);
  EXPECT_EQ(Text(), "a\r\nb\r\ncd\r\nef\r\ngh");
  EXPECT_EQ(Caret(), (TPoint{1, 0}));
  m_nav.Calls.clear();
  m_editor.SetCaretPos(0, 2);
  Run(cmToggleCollapseNearest);
  EXPECT_EQ(m_nav.Calls, (std::vector<std::string>{"toggle 2"}));
}

// Property: any run of commands keeps the caret on a line of the text and
// the selection inside it, and undoing everything gives the text back.
TEST_F(EditorCommands, RandomCommandRunsStayInTheTextAndUndoCompletely) {
  const int commands[] = {cmLeft, cmRight, cmUp, cmDown, cmWordLeft, cmWordRight, cmFirstChar, cmLastChar,
                          cmTextTop, cmTextBottom, 101, 102, 103, 104, 202, 204, cmBackspace, cmDeleteChar,
                          cmDeleteWord, cmBackDeleteWord, cmDeleteToLineBegin, cmDeleteLine, cmNewLine,
                          cmBreakLine, cmIndent, cmUnindent, cmTab, cmTabChar, cmToggleInsertMode, cmChar,
                          cmChar, cmColumnSelection, cmNormalSelection, cmLineSelection, cmResetSelection,
                          cmDeleteSelection, cmCut, cmPaste};
  std::mt19937 random(7);
  m_editor.SetUndoLimit(100000);
  for (int round = 0; round < 60; ++round) {
    const std::string original = "  if x\r\n\t\tcall(y)\r\n\r\n    end\r\nlast";
    SetText(original.c_str(), TPoint{static_cast<int>(random() % 6), static_cast<int>(random() % 5)});
    m_editor.SetReplaceMode(false);
    for (int step = 0; step < 40; ++step) {
      const int command = commands[random() % std::size(commands)];
      m_dispatcher.Execute(command, static_cast<char>("ab ;\xE9"[random() % 5]));
      const TSyntMemoStrings& lines = m_editor.Lines();
      ASSERT_LT(Caret().Y, std::max(1, lines.Count())) << command;
      ASSERT_GE(Caret().X, 0);
      ASSERT_LE(m_editor.SelStart() + m_editor.SelLength(), lines.TextLength());
    }
    while (m_editor.CanUndo()) m_editor.Undo();
    ASSERT_EQ(Text(), original) << "round " << round;
  }
}

}  // namespace
}  // namespace penwick
