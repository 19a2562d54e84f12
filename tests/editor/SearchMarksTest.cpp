// Search marks following the text: moved by edits before them, dropped by edits that touch them, and the spans asked for painting.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "editor/SearchMarks.h"
#include "editor/SyntMemoStrings.h"

namespace penwick {
namespace {

using TMarks = std::vector<TSearchMark>;

struct TMarksFixture {
  TSyntMemoStrings Lines;
  TSearchMarks Marks{Lines};
  int Changes = 0;

  explicit TMarksFixture(const std::string& text) {
    Lines.SetText(text);
    Marks.OnChanged = [this] { ++Changes; };
  }
};

TEST(SearchMarks, AddKeepsThemSortedIgnoresEmptySpansAndDropsTheOnesANewMarkOverlaps) {
  TMarksFixture f("0123456789abcdefghij");
  f.Marks.Add(10, 12);
  f.Marks.Add(2, 4);
  f.Marks.Add(6, 8);
  f.Marks.Add(5, 5);  // empty
  f.Marks.Add(9, 7);  // reversed: empty
  EXPECT_EQ((TMarks{{2, 4}, {6, 8}, {10, 12}}), f.Marks.Marks());
  EXPECT_EQ(3, f.Changes);
  // Touching neighbours stay; overlapped ones go.
  f.Marks.Add(4, 6);
  EXPECT_EQ((TMarks{{2, 4}, {4, 6}, {6, 8}, {10, 12}}), f.Marks.Marks());
  f.Marks.Add(3, 11);
  EXPECT_EQ((TMarks{{3, 11}}), f.Marks.Marks());
  f.Marks.Clear();
  EXPECT_TRUE(f.Marks.Marks().empty());
  const int changes = f.Changes;
  f.Marks.Clear();  // nothing to clear: nothing told
  EXPECT_EQ(changes, f.Changes);
}

// Adding finds the overlapped marks by search; the result must be what
// dropping every overlapped mark and inserting in order gives.
TEST(SearchMarks, AddMatchesDroppingOverlapsAndInsertingInOrder) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    TMarksFixture f(std::string(60, 'x'));
    TMarks model;
    for (int i = 0; i < 30; ++i) {
      const int start = static_cast<int>(random() % 60);
      const int end = start + static_cast<int>(random() % 6);
      f.Marks.Add(start, end);
      if (end > start) {
        std::erase_if(model, [&](const TSearchMark& m) { return m.Start < end && start < m.End; });
        model.insert(std::lower_bound(model.begin(), model.end(), start,
                                      [](const TSearchMark& m, int value) { return m.Start < value; }),
                     TSearchMark{start, end});
      }
      ASSERT_EQ(f.Marks.Marks(), model) << "round " << round << " add " << i;
    }
  }
}

TEST(SearchMarks, BetweenGivesTheMarksOverlappingASpan) {
  TMarksFixture f("0123456789abcdefghij");
  f.Marks.Add(2, 4);
  f.Marks.Add(6, 8);
  f.Marks.Add(10, 12);
  EXPECT_EQ((TMarks{{2, 4}, {6, 8}, {10, 12}}), f.Marks.Between(0, 20));
  EXPECT_EQ((TMarks{{6, 8}}), f.Marks.Between(4, 10));  // ends and starts touching the span do not count
  EXPECT_EQ((TMarks{{2, 4}, {6, 8}}), f.Marks.Between(3, 7));
  EXPECT_EQ((TMarks{}), f.Marks.Between(12, 20));
  EXPECT_EQ((TMarks{}), f.Marks.Between(0, 2));
  EXPECT_EQ((TMarks{{6, 8}}), f.Marks.Between(7, 7));  // a place strictly inside
  EXPECT_EQ((TMarks{}), f.Marks.Between(6, 6));
}

TEST(SearchMarks, EditsBeforeMoveThemEditsAfterLeaveThemEditsThatTouchDropThem) {
  TMarksFixture f("0123456789abcdefghij");
  f.Marks.Add(2, 4);
  f.Marks.Add(6, 8);
  f.Marks.Add(10, 12);
  f.Changes = 0;
  f.Lines.InsertText(12, "xx");  // at the end of the last: after it
  EXPECT_EQ((TMarks{{2, 4}, {6, 8}, {10, 12}}), f.Marks.Marks());
  EXPECT_EQ(0, f.Changes);
  f.Lines.InsertText(6, "xx");  // at the start of one: before it
  EXPECT_EQ((TMarks{{2, 4}, {8, 10}, {12, 14}}), f.Marks.Marks());
  EXPECT_EQ(1, f.Changes);
  f.Lines.InsertText(3, "y");  // inside one
  EXPECT_EQ((TMarks{{9, 11}, {13, 15}}), f.Marks.Marks());
  f.Lines.DeleteText(6, 3);  // ends where a mark starts
  EXPECT_EQ((TMarks{{6, 8}, {10, 12}}), f.Marks.Marks());
  f.Lines.DeleteText(8, 2);  // between two: the one after moves
  EXPECT_EQ((TMarks{{6, 8}, {8, 10}}), f.Marks.Marks());
  f.Lines.DeleteText(7, 2);  // across the border of both
  EXPECT_EQ((TMarks{}), f.Marks.Marks());
  // An undoable edit and its undo are ordinary edits too.
  f.Marks.Add(0, 2);
  f.Lines.UndoableInsert(0, "zz");
  EXPECT_EQ((TMarks{{2, 4}}), f.Marks.Marks());
  f.Lines.Undo(false);
  EXPECT_EQ((TMarks{{0, 2}}), f.Marks.Marks());
}

TEST(SearchMarks, ReplacingTheWholeTextDropsThemAll) {
  for (int way = 0; way < 2; ++way) {
    TMarksFixture f("0123456789\r\nabc\r\n");
    f.Marks.Add(0, 2);
    f.Marks.Add(12, 13);
    if (way == 0) f.Lines.SetText("0123456789\r\nabc\r\n");
    else f.Lines.Clear();
    EXPECT_TRUE(f.Marks.Marks().empty()) << way;
    EXPECT_EQ(3, f.Changes) << way;
  }
}

// Whatever the edits, a mark that survives still marks the same characters,
// and a mark is dropped exactly when an edit touched its inside.
TEST(SearchMarks, SurvivingMarksKeepMarkingTheSameText) {
  std::mt19937 random(42);
  for (int round = 0; round < 200; ++round) {
    std::string text;
    for (int i = 0; i < 40; ++i) text += static_cast<char>('a' + random() % 26);
    TMarksFixture f(text);
    struct TModel {
      int Start, End;
      std::string Marked;
    };
    std::vector<TModel> model;
    for (int start = 0; start + 3 <= 40; start += 4 + static_cast<int>(random() % 4)) {
      const int end = start + 1 + static_cast<int>(random() % 3);
      f.Marks.Add(start, end);
      const std::string marked = text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
      model.push_back({start, end, marked});
    }
    for (int step = 0; step < 10; ++step) {
      const int length = f.Lines.TextLength();
      const int pos = std::uniform_int_distribution<int>(0, length)(random);
      int count;
      if (random() % 2 && pos < length) {
        count = -std::uniform_int_distribution<int>(1, std::min(5, length - pos))(random);
        f.Lines.DeleteText(pos, -count);
      } else {
        count = 1 + static_cast<int>(random() % 4);
        f.Lines.InsertText(pos, std::string(static_cast<std::size_t>(count), 'Z'));
      }
      std::vector<TModel> kept;
      for (TModel m : model) {
        const int changedEnd = count < 0 ? pos - count : pos;
        if (m.End <= pos) kept.push_back(m);
        else if (m.Start >= changedEnd) kept.push_back({m.Start + count, m.End + count, m.Marked});
      }
      model = kept;
      const std::string now = f.Lines.Text();
      ASSERT_EQ(model.size(), f.Marks.Marks().size()) << round << " " << step;
      for (std::size_t i = 0; i < model.size(); ++i) {
        const TSearchMark& mark = f.Marks.Marks()[i];
        ASSERT_EQ((TSearchMark{model[i].Start, model[i].End}), mark);
        ASSERT_EQ(model[i].Marked, now.substr(static_cast<std::size_t>(mark.Start),
                                              static_cast<std::size_t>(mark.End - mark.Start)));
      }
    }
  }
}

}  // namespace
}  // namespace penwick
