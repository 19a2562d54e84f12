// Undo and redo only ever give back texts the user saw: random editing
// sessions against the record of every text the operations produced.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "editor/MemoEditor.h"
#include "platform/TextEscape.h"

namespace penwick {
namespace {

const std::vector<std::string> kPieces = {"a", "b", "x", " ", "\t", "\tX", "\r\n", "ab\r\ncd", "\t\t", "\r"};

class TSession {
public:
  explicit TSession(unsigned seed) : m_random(seed) {
    m_editor.SetUndoLimit(0);
    m_editor.Lines().SetText(Piece() + Piece() + "\r\n" + Piece());
    m_editor.SetModified(false);
    m_original = m_editor.Lines().Text();
    m_seen.insert(m_original);
  }

  // One user operation; what it leaves on screen is a text the user saw.
  void Operate() {
    TMemoEditor& e = m_editor;
    const int length = e.Lines().TextLength();
    switch (m_random() % 9) {
      case 0:
      case 1:  // typing somewhere
        e.SetCaretStrPos(Offset(length));
        e.InsertText(Piece());
        break;
      case 2:  // Delete or Backspace
        e.SetCaretStrPos(Offset(length));
        e.DeleteText(m_random() % 2 ? 1 : -1);
        break;
      case 3:  // typing over a selection
        e.SetCaretStrPos(Offset(length));
        e.SetSelection(Offset(length), static_cast<int>(m_random() % 4));
        e.InsertText(Piece());
        break;
      case 4:  // pasting, tabs turned into spaces; over a selection or not
        e.Clipboard().SetText(Piece() + Piece(), false);
        e.SetCaretStrPos(Offset(length));
        if (m_random() % 2) e.SetSelection(e.CaretStrPos(), static_cast<int>(m_random() % 3));
        e.PasteFromClipboard();
        break;
      case 5:  // a column block pasted
        e.Clipboard().SetText("q\r\n\tr", true);
        e.SetCaretStrPos(Offset(length));
        e.PasteFromClipboard();
        break;
      case 6:  // a replacement (find and replace, parameter hints)
        e.ReplaceText(Offset(length), static_cast<int>(m_random() % 3), Piece());
        break;
      case 7:  // cut
        e.SetSelection(Offset(length), static_cast<int>(m_random() % 5));
        e.CutToClipboard();
        break;
      default:  // a column block deleted
        e.SetBlockRect(TBlockRect{static_cast<int>(m_random() % 3), 0, static_cast<int>(m_random() % 5), 1});
        e.ClearSelection();
        break;
    }
    m_seen.insert(e.Lines().Text());
  }

  void TypeAtStart(const std::string& text) {
    m_editor.SetSelection(0, 0);
    m_editor.SetCaretStrPos(0);
    m_editor.InsertText(text);
    m_seen.insert(m_editor.Lines().Text());
  }

  bool Seen(const std::string& text) const { return m_seen.count(text) > 0; }
  TMemoEditor& Editor() { return m_editor; }
  std::mt19937& Random() { return m_random; }
  const std::string& Original() const { return m_original; }

private:
  std::string Piece() { return kPieces[m_random() % kPieces.size()]; }
  int Offset(int length) { return static_cast<int>(m_random() % static_cast<unsigned>(length + 1)); }

  std::mt19937 m_random;
  TMemoEditor m_editor;
  std::set<std::string> m_seen;
  std::string m_original;
};

TEST(UndoProperty, AnyMixOfUndoAndRedoGivesOnlyTextsTheUserSawAndUndoingAllGivesTheOriginal) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    TSession session(seed);
    TMemoEditor& e = session.Editor();
    for (int step = 0; step < 40; ++step) {
      if (session.Random()() % 4 == 0) {
        // Some undo and redo, then editing goes on (which drops the redo tail).
        for (int k = static_cast<int>(session.Random()() % 5); k > 0; --k) {
          if (session.Random()() % 3) e.Undo();
          else e.Redo();
          ASSERT_TRUE(session.Seen(e.Lines().Text()))
              << "seed " << seed << " step " << step << ": |" << EscapeField(e.Lines().Text()) << "|";
          e.Lines().CheckInvariants();
        }
      }
      session.Operate();
    }
    // The session ends with an edit, so nothing is left to redo.
    session.TypeAtStart("z");
    const std::string final = e.Lines().Text();
    while (e.CanUndo()) {
      e.Undo();
      ASSERT_TRUE(session.Seen(e.Lines().Text())) << "seed " << seed << ": |" << EscapeField(e.Lines().Text()) << "|";
    }
    EXPECT_EQ(e.Lines().Text(), session.Original()) << "seed " << seed;
    EXPECT_FALSE(e.Modified()) << "seed " << seed;
    while (e.CanRedo()) {
      e.Redo();
      ASSERT_TRUE(session.Seen(e.Lines().Text())) << "seed " << seed << ": |" << EscapeField(e.Lines().Text()) << "|";
    }
    EXPECT_EQ(e.Lines().Text(), final) << "seed " << seed;
  }
}

// The case that once gave a text never on screen: Delete, then a paste of a
// tab at the same place (the paste turns its tab into spaces).
TEST(UndoProperty, ADeleteAndAPasteAtTheSamePlaceUndoAndRedoAsTheTwoOperationsTheyWere) {
  TMemoEditor e;
  e.Lines().SetText("abc");
  e.SetModified(false);
  e.SetCaretStrPos(1);
  e.DeleteText(1);
  ASSERT_EQ(e.Lines().Text(), "ac");
  e.Clipboard().SetText("\tX", false);
  e.PasteFromClipboard();
  ASSERT_EQ(e.Lines().Text(), "a   Xc");
  e.Undo();
  EXPECT_EQ(e.Lines().Text(), "ac");
  e.Undo();
  EXPECT_EQ(e.Lines().Text(), "abc");
  e.Redo();
  EXPECT_EQ(e.Lines().Text(), "ac");
  e.Redo();
  EXPECT_EQ(e.Lines().Text(), "a   Xc");
}

}  // namespace
}  // namespace penwick
