// Word wrap of lines: break positions, narrow windows, tabs, and the row
// table kept up to date edit by edit.
#include "editor/WrapLayout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ViewModelFixture.h"
#include "editor/SyntMemoStrings.h"
#include "editor/TabList.h"
#include "editor/TextMeasure.h"
#include "platform/CodePage.h"

namespace penwick {
namespace {

std::vector<int> SubLineStarts(const TWrapLayout& wrap, int line) {
  std::vector<int> starts;
  for (int sub = 0; sub < wrap.SubLineCount(line); ++sub) starts.push_back(wrap.SubLineStart(line, sub));
  return starts;
}

// Wraps one line the slow way: each sub-line takes the longest run of
// characters that fits, then gives back up to the last break candidate.
std::vector<int> ReferenceWrap(const std::string& s, const TTabList& tabs, int maxCells) {
  const int n = static_cast<int>(s.size());
  std::vector<int> col(static_cast<size_t>(n) + 1, 0);
  for (int i = 0; i < n; ++i) col[i + 1] = s[i] == '\t' ? tabs.NextTabStop(col[i]) : col[i] + 1;
  const TCodePage& page = TCodePage::Default();
  auto word = [&](int i) { return page.IsWordChar(static_cast<unsigned char>(s[i])); };
  std::vector<int> starts{0};
  int a = 0;
  for (;;) {
    int e = a;
    while (e < n && col[e + 1] - col[a] <= maxCells) ++e;
    if (e == n) break;
    if (e == a) {
      e = a + 1;
    } else {
      for (int j = e; j > a; --j) {
        if (!word(j) || !word(j - 1)) {
          e = j;
          break;
        }
      }
    }
    if (e >= n) break;
    starts.push_back(e);
    a = e;
  }
  return starts;
}

TEST(WrapLayout, ALongLineWrapsAtTheLastBlankBeforeTheEdgeOfA600PixelTextArea) {
  // 200 characters of words in a 600 px text area of 8 px cells: 75 cells a row.
  std::string line;
  for (int i = 0; line.size() < 200; ++i) line += (i % 3 ? "Waypoint " : "Go ");
  line.resize(200);
  TViewModel view(line + "\r\nnext");
  view.wrap.SetWordWrap(true);
  view.wrap.SetWrapWidth(600);
  const std::vector<int> starts = SubLineStarts(view.wrap, 0);
  EXPECT_EQ(starts, ReferenceWrap(line, view.editor.TabList(), 75));
  ASSERT_EQ(starts.size(), 3u);
  for (size_t k = 1; k < starts.size(); ++k) {
    EXPECT_EQ(line[starts[k] - 1], ' ') << "sub-line " << k << " starts after a blank";
    EXPECT_LE(starts[k] - starts[k - 1], 75);
    // The word after the break would not have fitted on the row before.
    const size_t wordEnd = line.find(' ', starts[k]);
    EXPECT_GT(static_cast<int>(std::min(wordEnd, line.size())) - starts[k - 1], 75);
  }
  EXPECT_EQ(view.wrap.RowCount(), 4);
  EXPECT_EQ(view.wrap.LineOfRow(2), 0);
  EXPECT_EQ(view.wrap.LineOfRow(3), 1);
  EXPECT_EQ(view.wrap.FirstRowOf(1), 3);
}

TEST(WrapLayout, WordsLongerThanTheWidthAndWindowsNarrowerThanOneCharacterStillAdvance) {
  TViewModel view("abcdefghij\r\nab cdefghijk\r\n\t\tx\r\n");
  view.wrap.SetWordWrap(true);
  view.wrap.SetWrapWidth(4 * 8);
  // A word longer than the width breaks where the width ends.
  EXPECT_EQ(SubLineStarts(view.wrap, 0), (std::vector<int>{0, 4, 8}));
  // Before the word when a blank precedes it, then inside it.
  EXPECT_EQ(SubLineStarts(view.wrap, 1), (std::vector<int>{0, 3, 7, 11}));
  // Each 4-cell tab fills a row by itself.
  EXPECT_EQ(SubLineStarts(view.wrap, 2), (std::vector<int>{0, 1, 2}));
  for (int width : {7, 1, 0, -50}) {
    view.wrap.SetWrapWidth(width);  // less than one 8 px cell: one character a row
    EXPECT_EQ(SubLineStarts(view.wrap, 0), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9})) << width;
    EXPECT_EQ(SubLineStarts(view.wrap, 2), (std::vector<int>{0, 1, 2})) << width;
    EXPECT_EQ(view.wrap.SubLineCount(3), 1) << "the empty last line is one row";
    EXPECT_EQ(view.wrap.RowCount(), 10 + 11 + 3 + 1);
  }
}

TEST(WrapLayout, RandomLinesWrapAsTheReferenceAndEverySubLineHoldsACharacter) {
  std::mt19937 random(7);
  const char alphabet[] = {'a', 'b', 'c', ' ', '\t', '(', '.', '_', '1', '\xe9'};
  for (const char* stops : {"4", "4 10", "1", "3 5"}) {
    TViewModel view;
    view.editor.TabList().SetAsString(stops);
    view.wrap.SetWordWrap(true);
    for (int round = 0; round < 30; ++round) {
      std::vector<std::string> texts;
      std::string all;
      for (int l = 0; l < 8; ++l) {
        std::string line(random() % 40, ' ');
        for (char& c : line) c = alphabet[random() % sizeof alphabet];
        texts.push_back(line);
        all += line + "\r\n";
      }
      view.Lines().SetText(all);
      const int cells = static_cast<int>(random() % 14) + 1;
      view.wrap.SetWrapWidth(cells * 8 + static_cast<int>(random() % 8));
      int rows = 0;
      for (int l = 0; l < 8; ++l) {
        const std::vector<int> starts = SubLineStarts(view.wrap, l);
        ASSERT_EQ(starts, ReferenceWrap(texts[l], view.editor.TabList(), cells)) << stops << " |" << texts[l] << "|";
        for (size_t k = 1; k < starts.size(); ++k) ASSERT_GT(starts[k], starts[k - 1]);
        if (starts.size() > 1) {
          ASSERT_LT(starts.back(), static_cast<int>(texts[l].size()));
        }
        ASSERT_EQ(view.wrap.FirstRowOf(l), rows);
        for (size_t k = 0; k < starts.size(); ++k) {
          int sub = -1;
          ASSERT_EQ(view.wrap.LineOfRow(rows + static_cast<int>(k), &sub), l);
          ASSERT_EQ(sub, static_cast<int>(k));
          ASSERT_EQ(view.wrap.SubLineOf(l, starts[k]), static_cast<int>(k));
        }
        rows += static_cast<int>(starts.size());
      }
    }
  }
}

// A cut provider that counts the lines laid out.
struct TLayoutCounter {
  std::vector<int> lines;
  std::function<TLineCut(int)> Provider() {
    return [this](int line) {
      lines.push_back(line);
      return TLineCut{};
    };
  }
};

TEST(WrapLayout, AnEditLaysOutOnlyTheChangedLinesAndTheRowTotalsFollow) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "short line " + std::to_string(i) + "\r\n";
  TViewModel view(text, 20);
  TLayoutCounter counter;
  view.wrap.SetCutProvider(counter.Provider());
  EXPECT_EQ(view.wrap.RowCount(), 50);
  EXPECT_EQ(counter.lines.size(), 50u) << "the first query lays out everything";

  counter.lines.clear();
  view.Lines().InsertText(view.Lines().LineStart(10) + 5, " grows well past the width");
  EXPECT_EQ(view.wrap.RowCount(), 52);
  EXPECT_EQ(counter.lines, std::vector<int>{10});
  EXPECT_EQ(view.wrap.FirstRowOf(11), 13);
  EXPECT_EQ(view.wrap.LineOfRow(12), 10);

  counter.lines.clear();
  view.Lines().InsertText(view.Lines().LineStart(3), "a\r\nb\r\n");  // two new lines
  EXPECT_EQ(view.wrap.RowCount(), 54);
  EXPECT_EQ(counter.lines, (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(view.wrap.SubLineCount(12), 3) << "the long line moved down with its layout";

  counter.lines.clear();
  view.Lines().DeleteText(view.Lines().LineStart(2), view.Lines().LineStart(13) - view.Lines().LineStart(2));
  EXPECT_EQ(view.wrap.RowCount(), 41);
  EXPECT_EQ(counter.lines, std::vector<int>{2});

  counter.lines.clear();
  view.wrap.SetWrapWidth(200);
  EXPECT_EQ(view.wrap.RowCount(), 41);
  EXPECT_EQ(counter.lines.size(), 41u) << "a resize lays out everything again";

  counter.lines.clear();
  view.wrap.SetWordWrap(false);
  view.Lines().InsertText(0, "x\r\n");
  EXPECT_EQ(view.wrap.RowCount(), view.Lines().Count());
  EXPECT_EQ(view.wrap.LineOfRow(7), 7);
  EXPECT_EQ(view.wrap.SubLineCount(0), 1);
  EXPECT_TRUE(counter.lines.empty()) << "nothing is laid out without word wrap";
}

TEST(WrapLayout, IncrementalLayoutAgreesWithAFreshOneThroughRandomEdits) {
  std::mt19937 random(11);
  const char* pieces[] = {"word ", "\r\n", "\t", "longerwordthanthewidth", "x", " ", "\r\n\r\n", "a.b(c)"};
  TViewModel view("start\r\n", 9);
  for (int step = 0; step < 400; ++step) {
    TSyntMemoStrings& lines = view.Lines();
    const int length = lines.TextLength();
    if (length > 0 && random() % 3 == 0) {
      const int pos = static_cast<int>(random() % length);
      lines.DeleteText(pos, static_cast<int>(random() % 12) + 1);
    } else {
      lines.InsertText(length ? static_cast<int>(random() % (length + 1)) : 0, pieces[random() % 8]);
    }
    if (step % 7 == 0) view.wrap.RowCount();  // lay out now and then, not after every edit
    if (step % 50 == 49) view.editor.TabList().SetAsString(step % 100 == 49 ? "3" : "4");
    if (step % 50 == 49) view.wrap.InvalidateAll();
    TWrapLayout fresh(lines, view.editor.TabList(), view.measure);
    fresh.SetWordWrap(true);
    fresh.SetWrapWidth(9 * 8);
    ASSERT_EQ(view.wrap.RowCount(), fresh.RowCount()) << step;
    ASSERT_EQ(view.wrap.LineCount(), fresh.LineCount());
    for (int l = 0; l < fresh.LineCount(); ++l) {
      ASSERT_EQ(SubLineStarts(view.wrap, l), SubLineStarts(fresh, l)) << step << " line " << l;
      ASSERT_EQ(view.wrap.FirstRowOf(l), fresh.FirstRowOf(l));
    }
  }
}

TEST(WrapLayout, ACutLineEndsAtItsCutAndItsMarkWrapsAsOnePiece) {
  TViewModel view("abcdefgh tail\r\nnext\r\n", 10);
  TLineCut cut{6, 5};
  view.wrap.SetCutProvider([&](int line) { return line == 0 ? cut : TLineCut{}; });
  // "abcdef" then a 5-cell mark: 11 cells do not fit in 10, the mark goes down.
  EXPECT_EQ(SubLineStarts(view.wrap, 0), (std::vector<int>{0, 6}));
  EXPECT_EQ(view.wrap.SubLineEnd(0, 0), 6);
  EXPECT_EQ(view.wrap.SubLineEnd(0, 1), 6);
  EXPECT_EQ(view.wrap.SubLineOf(0, 6), 1);
  cut = TLineCut{4, 5};
  view.wrap.InvalidateLine(0);
  EXPECT_EQ(SubLineStarts(view.wrap, 0), std::vector<int>{0});
  EXPECT_EQ(view.wrap.SubLineEnd(0, 0), 4);
  EXPECT_EQ(view.wrap.RowCount(), 2);
}

TEST(WrapLayout, AnEmptyStoreShowsOneRow) {
  TViewModel view(std::string(), 5);
  EXPECT_EQ(view.wrap.LineCount(), 1);
  EXPECT_EQ(view.wrap.RowCount(), 1);
  EXPECT_EQ(view.wrap.LineOfRow(3), 0);
  view.Lines().InsertText(0, "abcdefghijkl");
  EXPECT_EQ(view.wrap.RowCount(), 3);
  view.Lines().Clear();
  EXPECT_EQ(view.wrap.RowCount(), 1);
}

}  // namespace
}  // namespace penwick
