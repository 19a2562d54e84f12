// Folded ranges: which ranges fold, nesting, and how edits move or undo them.
#include "editor/FoldState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "editor/SyntMemoStrings.h"

namespace penwick {
namespace {

// Lines 0..9: "L0 text", "L1 text", ... each 7 characters and CR LF.
std::string TenLines() {
  std::string text;
  for (int i = 0; i < 10; ++i) text += "L" + std::to_string(i) + " text\r\n";
  return text;
}

struct FoldState : ::testing::Test {
  FoldState() {
    lines.SetText(TenLines());
    folds.OnChanged = [this](int first, int last, bool byEdit) {
      told.push_back(std::to_string(first) + "-" + std::to_string(last) + (byEdit ? " edit" : ""));
    };
  }
  void TearDown() override { EXPECT_EQ(folds.CheckInvariants(), ""); }
  int At(int line, int column) { return lines.LineStart(line) + column; }
  std::vector<int> Hidden() {
    std::vector<int> hidden;
    for (int l = 0; l < lines.Count(); ++l)
      if (folds.IsLineHidden(l)) hidden.push_back(l);
    return hidden;
  }

  TSyntMemoStrings lines;
  TFoldState folds{lines};
  std::vector<std::string> told;
};

TEST_F(FoldState, OnlyRangesEndingOnALaterLineFoldAndTheLastLineIsTheOneBeforeALineStartEnd) {
  EXPECT_FALSE(folds.Fold(At(2, 1), At(2, 5), "one line"));
  EXPECT_FALSE(folds.Fold(At(2, 3), At(3, 0), "ends at the next line's start")) << "last line is line 2";
  EXPECT_FALSE(folds.Fold(At(2, 3), At(2, 3), ""));
  EXPECT_FALSE(folds.Fold(At(8, 0), lines.TextLength() + 1, "beyond the text"));
  ASSERT_TRUE(folds.Fold(At(2, 3), At(5, 0), "#ifdef"));
  EXPECT_EQ(folds.DebugDump(), "2+3 [21,45) \"#ifdef\"\nshown: 2\n");
  EXPECT_EQ(Hidden(), (std::vector<int>{3, 4}));
  EXPECT_FALSE(folds.Fold(At(2, 3), At(5, 0), "again")) << "the same range twice";
  EXPECT_FALSE(folds.Fold(At(4, 0), At(6, 2), "crossing"));
  EXPECT_EQ(folds.FoldStartingOn(2)->CollapseText, "#ifdef");
  EXPECT_EQ(folds.FoldStartingOn(3), nullptr);
  EXPECT_EQ(folds.FoldStartingOn(2)->MarkText(), "#ifdef");
  EXPECT_TRUE(folds.Fold(At(6, 0), At(8, 2), ""));
  EXPECT_EQ(folds.FoldStartingOn(6)->MarkText(), "...");
  EXPECT_EQ(folds.HiddenLinesBefore(9), 4);
  EXPECT_EQ(folds.HiddenLinesBefore(4), 1);
  EXPECT_TRUE(folds.UnfoldLine(2));
  EXPECT_FALSE(folds.UnfoldLine(2));
  EXPECT_EQ(Hidden(), (std::vector<int>{7, 8}));
  folds.Clear();
  EXPECT_TRUE(folds.Empty());
  EXPECT_EQ(told, (std::vector<std::string>{"2-4", "6-8", "2-4", "-1--1"}));
}

TEST_F(FoldState, NestedFoldsActOnlyWhileTheirFirstLineIsShown) {
  ASSERT_TRUE(folds.Fold(At(4, 0), At(6, 3), "inner"));
  ASSERT_TRUE(folds.Fold(At(1, 0), At(8, 3), "outer"));
  ASSERT_TRUE(folds.Fold(At(1, 2), At(2, 3), "same first line"));
  EXPECT_EQ(folds.ShownFolds().size(), 1u);
  EXPECT_EQ(folds.ShownFoldOn(1)->CollapseText, "outer");
  EXPECT_EQ(folds.FoldStartingOn(1)->CollapseText, "outer") << "the outermost fold of the line";
  EXPECT_EQ(Hidden(), (std::vector<int>{2, 3, 4, 5, 6, 7, 8}));
  EXPECT_TRUE(folds.Unfold(At(1, 0), At(8, 3)));
  EXPECT_EQ(folds.ShownFoldOn(1)->CollapseText, "same first line");
  EXPECT_EQ(Hidden(), (std::vector<int>{2, 5, 6}));
  EXPECT_EQ(folds.FoldHiding(6)->CollapseText, "inner");
  EXPECT_EQ(folds.DebugDump(),
            "1+2 [11,21) \"same first line\"\n4+3 [36,57) \"inner\"\nshown: 1 4\n");
}

TEST_F(FoldState, EditsInsideOrOverTheStartUnfoldAndEditsBeforeMoveTheFold) {
  ASSERT_TRUE(folds.Fold(At(2, 3), At(4, 5), "a"));
  ASSERT_TRUE(folds.Fold(At(6, 3), At(8, 5), "b"));
  told.clear();

  lines.InsertText(At(0, 2), "xx\r\n");  // before both: they move a line down
  EXPECT_EQ(folds.DebugDump(), "3+3 [25,45) \"a\"\n7+3 [61,81) \"b\"\nshown: 3 7\n");
  EXPECT_EQ(folds.CheckInvariants(), "");
  lines.InsertText(At(3, 3), "yy");  // at the start of "a": moves it
  EXPECT_EQ(folds.FoldStartingOn(3)->StartPos, At(3, 5));
  lines.DeleteText(At(3, 1), 2);  // ends just before "a"'s start
  EXPECT_EQ(folds.Count(), 2);
  EXPECT_TRUE(told.empty());

  lines.InsertText(At(4, 2), "!");  // on a hidden line of "a"
  EXPECT_EQ(folds.Count(), 1);
  EXPECT_EQ(told, std::vector<std::string>{"3-5 edit"});
  EXPECT_EQ(folds.FoldStartingOn(7)->CollapseText, "b");

  lines.DeleteText(At(7, 2), 2);  // deletes the start of "b"
  EXPECT_TRUE(folds.Empty());

  ASSERT_TRUE(folds.Fold(At(1, 0), At(3, 0), "c"));
  lines.InsertText(At(3, 0), "after\r\n");  // at the end: after the range, nothing happens
  EXPECT_EQ(folds.Count(), 1);
  lines.SetText(TenLines());  // whole text
  EXPECT_TRUE(folds.Empty());
  EXPECT_EQ(told.back(), "-1--1 edit");
}

// A fold as the model keeps it: offsets only.
struct TModelFold {
  int Start;
  int End;
  friend bool operator==(const TModelFold& a, const TModelFold& b) { return a.Start == b.Start && a.End == b.End; }
};

TEST_F(FoldState, RandomEditsAndFoldsAgreeWithAModelOfOffsets) {
  std::mt19937 random(5);
  std::vector<TModelFold> model;
  int folded = 0;
  const char* pieces[] = {"a", "\r\n", "bc\r\nd", " ", "\r\n\r\n"};
  for (int step = 0; step < 3000; ++step) {
    const int length = lines.TextLength();
    const int action = static_cast<int>(random() % 6);
    if (action <= 1 && length > 0) {
      // Fold a random range; it folds when it spans lines, crosses nothing and is new.
      int a = static_cast<int>(random() % length);
      int b = static_cast<int>(random() % (length + 1));
      if (a > b) std::swap(a, b);
      int last = lines.LineFromOffset(b);
      if (last > 0 && lines.LineStart(last) == b) --last;
      bool ok = a < b && last > lines.LineFromOffset(a);
      for (const TModelFold& f : model) {
        const bool disjoint = f.End <= a || b <= f.Start;
        const bool nested = (f.Start <= a && b <= f.End) || (a <= f.Start && f.End <= b);
        if ((f.Start == a && f.End == b) || (!disjoint && !nested)) ok = false;
      }
      ASSERT_EQ(folds.Fold(a, b, "t"), ok) << step;
      if (ok) model.push_back({a, b}), ++folded;
    } else if (action == 2 && !model.empty()) {
      const TModelFold f = model[random() % model.size()];
      ASSERT_TRUE(folds.Unfold(f.Start, f.End));
      model.erase(std::find(model.begin(), model.end(), f));
    } else if (action == 3 && length > 0) {
      const int pos = static_cast<int>(random() % length);
      const int n = std::min(length - pos, static_cast<int>(random() % 5) + 1);
      lines.DeleteText(pos, n);
      // An edit at the end of a fold that ends inside a line lands on its hidden last line.
      const bool afterLineText = pos > 0 && lines.CharAt(pos - 1) != '\n';
      std::vector<TModelFold> next;
      for (TModelFold f : model) {
        if (pos < f.End && pos + n > f.Start) continue;
        if (pos == f.End && afterLineText) continue;
        if (pos + n <= f.Start) f = {f.Start - n, f.End - n};
        next.push_back(f);
      }
      model = next;
    } else {
      const int pos = static_cast<int>(random() % (length + 1));
      const std::string piece = pieces[random() % 5];
      const int n = static_cast<int>(piece.size());
      lines.InsertText(pos, piece);
      const bool afterLineText = pos > 0 && lines.CharAt(pos - 1) != '\n';
      std::vector<TModelFold> next;
      for (TModelFold f : model) {
        if (f.Start < pos && pos < f.End) continue;
        if (pos == f.End && afterLineText) continue;
        if (pos <= f.Start) f = {f.Start + n, f.End + n};
        next.push_back(f);
      }
      model = next;
    }
    // A fold whose lines an edit joined into one is gone as well.
    std::vector<TModelFold> spanning;
    for (const TModelFold& f : model) {
      int last = lines.LineFromOffset(f.End);
      if (lines.LineStart(last) == f.End) --last;
      if (last > lines.LineFromOffset(f.Start)) spanning.push_back(f);
    }
    model = spanning;
    ASSERT_EQ(folds.CheckInvariants(), "") << step << "\n" << folds.DebugDump();
    std::vector<TModelFold> actual;
    for (const TFoldRange& f : folds.Folds()) actual.push_back({f.StartPos, f.EndPos});
    std::vector<TModelFold> sorted = model;
    std::sort(sorted.begin(), sorted.end(),
              [](const TModelFold& a, const TModelFold& b) { return a.Start != b.Start ? a.Start < b.Start : a.End > b.End; });
    ASSERT_EQ(actual, sorted) << step;
    // Hidden lines: those after the first line of a fold whose first line is itself shown.
    std::vector<bool> hidden(static_cast<size_t>(lines.Count()) + 1, false);
    std::vector<TFoldRange> byLine = folds.Folds();
    std::sort(byLine.begin(), byLine.end(), [](const TFoldRange& a, const TFoldRange& b) {
      return a.FirstLine != b.FirstLine ? a.FirstLine < b.FirstLine : a.LineCount > b.LineCount;
    });
    int shownUntil = -1;
    for (const TFoldRange& f : byLine) {
      if (f.FirstLine <= shownUntil) continue;
      for (int l = f.FirstLine + 1; l <= f.LastLine(); ++l) hidden[l] = true;
      shownUntil = f.LastLine();
    }
    int before = 0;
    for (int l = 0; l < lines.Count(); ++l) {
      ASSERT_EQ(folds.IsLineHidden(l), hidden[l]) << step << " line " << l;
      ASSERT_EQ(folds.HiddenLinesBefore(l), before) << step << " line " << l;
      before += hidden[l];
    }
    if (lines.TextLength() > 400) lines.SetText(TenLines()), model.clear();
  }
  EXPECT_GT(folded, 300) << "the walk folds often enough to mean something";
}

}  // namespace
}  // namespace penwick
