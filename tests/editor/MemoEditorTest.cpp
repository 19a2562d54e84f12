// The editing core: typing, deleting, replacing, selections, clipboard,
// undo runs and the notifications the view relies on.
#include "editor/MemoEditor.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace penwick {
namespace {

// Attaches a view the way the widget does (hooks and a store listener among
// those of derived content), so tests can see when each part hears what.
class TProbeEditor : public TMemoEditor {
public:
  int updates = 0;
  int clears = 0;
  std::vector<std::string> log;
  int readOnlyFrom = -1;  // offsets from here on may not be written

  TProbeEditor() {
    TMemoEditorHooks hooks;
    hooks.UpdateView = [this] { ++updates; };
    hooks.Cleared = [this] { ++clears; };
    hooks.ReadOnlyAt = [this](int offset) { return readOnlyFrom >= 0 && offset >= readOnlyFrom; };
    SetHooks(std::move(hooks));
    TStoreListener content;
    content.Changed = [this](int pos, int count, int lineChange) {
      log.push_back("hook " + std::to_string(pos) + " " + std::to_string(count) + " " + std::to_string(lineChange));
    };
    m_content = Lines().Subscribe(std::move(content), TStorePhase::Content);
  }

private:
  TSubscription m_content;
};

void Type(TMemoEditor& editor, const std::string& keys) {
  for (char c : keys) editor.InsertText(std::string(1, c));
}

TEST(MemoEditorUndo, ATypedRunUndoesAtOnceAndRedoesOneCharacterAtATime) {
  TMemoEditor editor;
  editor.Lines().SetText("x\r\n");
  editor.SetModified(false);
  editor.SetCaretPos(1, 0);
  Type(editor, "abc");
  EXPECT_EQ(editor.Lines().Text(), "xabc\r\n");
  editor.Undo();
  EXPECT_EQ(editor.Lines().Text(), "x\r\n");
  EXPECT_EQ(editor.CaretPos(), (TPoint{1, 0}));
  EXPECT_FALSE(editor.CanUndo());
  editor.Redo();
  EXPECT_EQ(editor.Lines().Text(), "xa\r\n");
  EXPECT_EQ(editor.CaretPos(), (TPoint{2, 0}));
  editor.Redo();
  editor.Redo();
  EXPECT_EQ(editor.Lines().Text(), "xabc\r\n");
  EXPECT_FALSE(editor.CanRedo());
  editor.Redo();  // nothing to redo: nothing happens
  EXPECT_EQ(editor.Lines().Text(), "xabc\r\n");
}

TEST(MemoEditorUndo, TypingOverASelectionIsOneRecordAndUndoPutsTheCaretAfterTheWord) {
  TMemoEditor editor;
  editor.Lines().SetText("say hello now");
  editor.SetCaretStrPos(4);
  editor.SetSelLength(5);
  EXPECT_EQ(editor.SelText(), "hello");
  editor.InsertText("y");
  EXPECT_EQ(editor.Lines().Text(), "say y now");
  EXPECT_EQ(editor.Lines().UndoHistory().Count(), 1);
  editor.Undo();
  EXPECT_EQ(editor.Lines().Text(), "say hello now");
  EXPECT_EQ(editor.CaretStrPos(), 9);
}

TEST(MemoEditorUndo, BackspaceAndDeleteRunsUndoTogether) {
  TMemoEditor editor;
  editor.Lines().SetText("abcdefgh");
  editor.SetCaretStrPos(5);
  for (int i = 0; i < 3; ++i) editor.DeleteText(-1);
  EXPECT_EQ(editor.Lines().Text(), "abfgh");
  editor.Undo();
  EXPECT_EQ(editor.Lines().Text(), "abcdefgh");
  EXPECT_EQ(editor.CaretStrPos(), 5);
  EXPECT_FALSE(editor.CanUndo());

  editor.SetCaretStrPos(2);
  for (int i = 0; i < 3; ++i) editor.DeleteText(1);
  EXPECT_EQ(editor.Lines().Text(), "abfgh");
  editor.Undo();
  EXPECT_EQ(editor.Lines().Text(), "abcdefgh");
  EXPECT_EQ(editor.CaretStrPos(), 2);
  EXPECT_FALSE(editor.CanUndo());
}

TEST(MemoEditorUndo, TheOldestRecordGoesPastTheLimitAndTheTextStaysModified) {
  TMemoEditor editor;
  EXPECT_EQ(editor.UndoLimit(), 1000);
  editor.SetModified(false);
  for (int i = 0; i < 1001; ++i) editor.InsertText(i % 50 == 49 ? "\r\n" : "a");
  EXPECT_EQ(editor.Lines().UndoHistory().Count(), 1000);
  while (editor.CanUndo()) editor.Undo();
  EXPECT_EQ(editor.Lines().TextLength(), 1);  // the first keystroke cannot be taken back
  EXPECT_TRUE(editor.Modified());
}

TEST(MemoEditorUndo, SavingEndsTheHistoryAndTheNextKeystrokeStartsIt) {
  TMemoEditor editor;
  int flips = 0;
  editor.OnModifiedChanged = [&] { ++flips; };
  editor.InsertText("abc");
  EXPECT_TRUE(editor.Modified());
  editor.SetModified(false);  // what the shell does after saving
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_FALSE(editor.Modified());
  editor.InsertText("d");
  EXPECT_TRUE(editor.CanUndo());
  EXPECT_TRUE(editor.Modified());
  EXPECT_EQ(flips, 3);
  editor.Undo();
  EXPECT_FALSE(editor.Modified());
  EXPECT_EQ(flips, 4);
}

TEST(MemoEditorUndo, RandomEditingUndoesBackToTheStartAndRedoesToTheLatestText) {
  std::mt19937 random(4242);
  const std::vector<std::string> pieces = {"a", "bc", "\r\n", "\n", "\r", "\t", "x\r\ny", ""};
  for (int round = 0; round < 20; ++round) {
    TMemoEditor editor;
    TMemoryClipboard clipboard;
    editor.SetClipboard(&clipboard);
    editor.SetUndoLimit(0);
    editor.Lines().SetText("start\r\nof\ttext\nhere");
    editor.SetModified(false);
    const std::string initial = editor.Lines().Text();
    std::string latest = initial;
    for (int step = 0; step < 120; ++step) {
      const int length = editor.Lines().TextLength();
      const std::string before = editor.Lines().Text();
      const std::string& piece = pieces[random() % pieces.size()];
      switch (random() % 9) {
        case 0: editor.SetCaretStrPos(static_cast<int>(random() % (length + 1))); break;
        case 1: editor.SetCaretPos(static_cast<int>(random() % 12), static_cast<int>(random() % 6)); break;
        case 2: editor.InsertText(piece); break;
        case 3: editor.DeleteText(static_cast<int>(random() % 7) - 3); break;
        case 4:
          editor.ReplaceText(static_cast<int>(random() % (length + 1)), static_cast<int>(random() % 4), piece);
          break;
        case 5:
          editor.SetSelection(static_cast<int>(random() % (length + 1)), static_cast<int>(random() % 5));
          if (random() % 2) editor.InsertText(piece);
          else editor.CutToClipboard();
          break;
        case 6:
          clipboard.SetText(piece + "\t" + piece, random() % 3 == 0);
          editor.PasteFromClipboard();
          break;
        case 7: editor.Undo(); break;
        case 8: editor.Redo(); break;
      }
      ASSERT_NO_THROW(editor.Lines().CheckInvariants()) << editor.Lines().DebugDump();
      ASSERT_LE(editor.SelStart() + editor.SelLength(), editor.Lines().TextLength());
      if (editor.Lines().Text() != before && !editor.CanRedo()) latest = editor.Lines().Text();
    }
    while (editor.CanUndo()) editor.Undo();
    ASSERT_EQ(editor.Lines().Text(), initial) << "round " << round;
    EXPECT_FALSE(editor.Modified());
    while (editor.CanRedo()) editor.Redo();
    ASSERT_EQ(editor.Lines().Text(), latest) << "round " << round;
  }
}

TEST(MemoEditorEditing, ACrLfPairIsDeletedWholeFromEitherSide) {
  TMemoEditor editor;
  editor.Lines().SetText("ab\r\ncd");
  editor.SetCaretPos(2, 0);
  editor.DeleteText(1);
  EXPECT_EQ(editor.Lines().Text(), "abcd");
  editor.Undo();
  editor.SetCaretPos(0, 1);
  editor.DeleteText(-1);
  EXPECT_EQ(editor.Lines().Text(), "abcd");
  EXPECT_EQ(editor.CaretPos(), (TPoint{2, 0}));
  editor.SetCaretStrPos(0);
  editor.DeleteText(-1);  // nothing before the start
  editor.SetCaretStrPos(4);
  editor.DeleteText(1);  // nothing after the end
  EXPECT_EQ(editor.Lines().Text(), "abcd");
}

TEST(MemoEditorEditing, CaretConversionsAndClampingFollowTheLineTable) {
  TMemoEditor editor;
  editor.Lines().SetText("one\r\ntwo\nthree");
  EXPECT_EQ(editor.CaretPosToStrPos(99, 1), 8);   // column limited to the line
  EXPECT_EQ(editor.CaretPosToStrPos(2, 5), 14);   // beyond the last line: the end
  EXPECT_EQ(editor.CaretPosToStrPos(2, -1), 0);
  EXPECT_EQ(editor.StrPosToCaretPos(4), (TPoint{3, 0}));  // between CR and LF
  EXPECT_EQ(editor.StrPosToCaretPos(9), (TPoint{0, 2}));
  EXPECT_EQ(editor.StrPosToCaretPos(-3), (TPoint{0, 0}));
  editor.SetCaretPos(-4, 40);
  EXPECT_EQ(editor.CaretPos(), (TPoint{0, 2}));
  // With nothing selected, the selection start follows the caret, so a length
  // set next selects from the caret (jumping to a compiler message does this).
  editor.SetSelection(0, 0);
  editor.SetCaretPos(1, 1);
  editor.SetSelLength(2);
  EXPECT_EQ(editor.SelText(), "wo");
  EXPECT_EQ(editor.CaretPos(), (TPoint{1, 1}));
  editor.SetSelLength(0);
  // Typing beyond the end of a line first pads it to the caret column.
  editor.SetCaretPos(6, 0);
  editor.InsertText("x");
  EXPECT_EQ(editor.Lines().Line(0), "one   x");
  EXPECT_EQ(editor.CaretPos(), (TPoint{7, 0}));
  editor.Undo();
  EXPECT_EQ(editor.Lines().Line(0), "one");
}

TEST(MemoEditorEditing, ReplaceTextIsOneRecordAndLeavesTheCaret) {
  TMemoEditor editor;
  editor.Lines().SetText("alpha beta");
  editor.SetCaretStrPos(2);
  EXPECT_TRUE(editor.ReplaceText(6, 4, "gamma\r\ndelta"));
  EXPECT_EQ(editor.Lines().Text(), "alpha gamma\r\ndelta");
  EXPECT_EQ(editor.Lines().Count(), 2);
  EXPECT_EQ(editor.CaretStrPos(), 2);
  EXPECT_EQ(editor.Lines().UndoHistory().Count(), 1);
  editor.Undo();
  EXPECT_EQ(editor.Lines().Text(), "alpha beta");
}

TEST(MemoEditorEditing, ReadOnlyTextIsNeitherChangedNorRecorded) {
  TProbeEditor editor;
  editor.Lines().SetText("free|locked");
  editor.readOnlyFrom = 5;
  editor.SetCaretStrPos(7);
  editor.InsertText("x");
  editor.DeleteText(-1);
  EXPECT_FALSE(editor.ReplaceText(6, 2, "y"));
  editor.SetSelection(2, 5);  // reaches into the locked part
  editor.ClearSelection();
  EXPECT_FALSE(editor.CanPaste());
  EXPECT_EQ(editor.Lines().Text(), "free|locked");
  EXPECT_FALSE(editor.CanUndo());
  editor.SetSelLength(0);
  editor.SetCaretStrPos(2);
  editor.InsertText("x");
  EXPECT_EQ(editor.Lines().Text(), "frxee|locked");
}

TEST(MemoEditorEditing, ClearEmptiesTextHistoryAndCaret) {
  TProbeEditor editor;
  editor.InsertText("abc\r\ndef");
  editor.Clear();
  EXPECT_EQ(editor.Lines().TextLength(), 0);
  EXPECT_FALSE(editor.CanUndo());
  EXPECT_EQ(editor.CaretPos(), (TPoint{0, 0}));
  EXPECT_EQ(editor.clears, 1);
}

TEST(MemoEditorNotification, EveryChangeReachesHookTextChangedAndChangeInOrderAndTheViewOncePerOperation) {
  TProbeEditor editor;
  editor.OnTextChanged = [&](int pos, int count, int lineChange) {
    editor.log.push_back("text " + std::to_string(pos) + " " + std::to_string(count) + " " +
                         std::to_string(lineChange));
  };
  editor.OnChange = [&] { editor.log.push_back("change"); };
  editor.Lines().SetText("ab");
  editor.SetSelection(1, 1);
  editor.InsertText("XY\r\n");  // replaces the selection: a deletion, then an insertion
  const std::vector<std::string> expected = {"hook -1 0 0", "text -1 0 0", "change", "hook 1 -1 0", "text 1 -1 0",
                                             "change", "hook 1 4 1",  "text 1 4 1",  "change"};
  EXPECT_EQ(editor.log, expected);
  EXPECT_EQ(editor.updates, 1);
  EXPECT_EQ(editor.UpdateDepth(), 0);

  // An edit before the selection moves it; one inside it stretches it.
  editor.Lines().SetText("0123456789");
  editor.SetSelection(4, 3);
  editor.Lines().InsertText(1, "ab");
  EXPECT_EQ(editor.SelStart(), 6);
  editor.Lines().InsertText(7, "c");
  EXPECT_EQ(editor.SelLength(), 4);
  editor.Lines().DeleteText(5, 3);
  EXPECT_EQ(editor.SelStart(), 5);
  EXPECT_EQ(editor.SelLength(), 2);
  EXPECT_EQ(editor.SelText(), "56");
}

TEST(MemoEditorNotification, AnExceptionInsideABracketStillClosesItAndItsGroup) {
  TMemoEditor editor;
  editor.OnChange = [] { throw std::runtime_error("handler failed"); };
  EXPECT_THROW(editor.InsertText("a"), std::runtime_error);
  EXPECT_EQ(editor.UpdateDepth(), 0);
  EXPECT_EQ(editor.Lines().UndoHistory().GroupDepth(), 0);
  EXPECT_EQ(editor.Lines().UndoHistory().CurrentGroup(), -1);
}

// ---------------------------------------------------------------- clipboard

class TFailingClipboard : public TClipboard {
public:
  bool HasText() const override { throw std::runtime_error("clipboard busy"); }
  std::string GetText(bool*) const override { throw std::runtime_error("clipboard busy"); }
  void SetText(const std::string&, bool) override { throw std::runtime_error("clipboard busy"); }
};

TEST(MemoEditorClipboard, PastedTabsBecomeSpacesToTheNextStopAndUndoInOneStep) {
  TMemoEditor editor;
  TMemoryClipboard clipboard;
  editor.SetClipboard(&clipboard);
  editor.Lines().SetText("ab");
  editor.SetCaretStrPos(1);
  clipboard.SetText("\tx\r\nyy\tz");
  editor.PasteFromClipboard();
  EXPECT_EQ(editor.Lines().Text(), "a   x\r\nyy  zb");  // stops at 4
  EXPECT_EQ(editor.CaretPos(), (TPoint{5, 1}));
  editor.Undo();
  EXPECT_EQ(editor.Lines().Text(), "ab");
  EXPECT_FALSE(editor.CanUndo());

  editor.SetTabMode(tmTabChar);
  editor.SetCaretStrPos(0);
  editor.PasteFromClipboard();
  EXPECT_EQ(editor.Lines().Line(0), "\tx");
}

TEST(MemoEditorClipboard, CutCopyAndPasteOfAStreamSelection) {
  TMemoEditor editor;
  TMemoryClipboard clipboard;
  editor.SetClipboard(&clipboard);
  editor.Lines().SetText("one two");
  EXPECT_TRUE(editor.CanPaste() == false);
  editor.SelectAll();
  EXPECT_EQ(editor.SelLength(), 7);
  EXPECT_EQ(editor.CaretPos(), (TPoint{0, 0}));  // SelectAll leaves the caret
  editor.SetSelection(4, 3);
  editor.CutToClipboard();
  bool column = true;
  EXPECT_EQ(clipboard.GetText(&column), "two");
  EXPECT_FALSE(column);
  EXPECT_EQ(editor.Lines().Text(), "one ");
  EXPECT_FALSE(editor.HaveSelection());
  editor.SetSelection(0, 3);
  editor.PasteFromClipboard();  // replaces the selection
  EXPECT_EQ(editor.Lines().Text(), "two ");
  editor.Undo();
  EXPECT_EQ(editor.Lines().Text(), "one ");

  TFailingClipboard failing;
  editor.SetClipboard(&failing);
  EXPECT_FALSE(editor.CanPaste());
}

TEST(MemoEditorClipboard, AColumnBlockCopiesWithTheMarkerAndPastesLineByLine) {
  TMemoEditor editor;
  TMemoryClipboard clipboard;
  editor.SetClipboard(&clipboard);
  editor.Lines().SetText("abcdef\r\ngh\r\nijklmn");
  editor.SetBlockRect(TBlockRect{1, 0, 4, 2});
  EXPECT_EQ(editor.SelectionMode(), smColumn);
  EXPECT_EQ(editor.SelText(), "bcd\r\nh\r\njkl\r\n");
  editor.CopyToClipboard();
  bool column = false;
  clipboard.GetText(&column);
  EXPECT_TRUE(column);

  editor.ClearSelection();  // from the last line up, one group
  EXPECT_EQ(editor.Lines().Text(), "aef\r\ng\r\nimn");
  EXPECT_EQ(editor.CaretPos(), (TPoint{1, 0}));
  editor.Undo();
  EXPECT_EQ(editor.Lines().Text(), "abcdef\r\ngh\r\nijklmn");

  // Pasting at column 3 of the last line pads short lines and adds lines.
  editor.SetSelectionMode(smNormal);
  editor.SetCaretPos(3, 1);
  editor.PasteFromClipboard();
  EXPECT_EQ(editor.Lines().Text(), "abcdef\r\ngh bcd\r\nijkhlmn\r\n   jkl");
  EXPECT_EQ(editor.CaretPos(), (TPoint{6, 3}));
  EXPECT_NO_THROW(editor.Lines().CheckInvariants());
  editor.Undo();
  EXPECT_EQ(editor.Lines().Text(), "abcdef\r\ngh\r\nijklmn");
}

}  // namespace
}  // namespace penwick
