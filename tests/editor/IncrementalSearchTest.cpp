// The incremental search's state machine over the store: steps, options, edits, and a model check of its windowed scan.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "editor/IncrementalSearch.h"
#include "editor/SyntMemoStrings.h"
#include "platform/CodePage.h"

namespace penwick {
namespace {

// A search over its own store that records what it tells.
struct TSearchFixture {
  TSyntMemoStrings Lines;
  TIncrementalSearch Search{Lines};
  std::vector<std::string> Told;  // "state N" and "match S-E" / "match none"

  explicit TSearchFixture(const std::string& text) {
    Lines.SetText(text);
    Search.OnIncSearchChange = [this](int state) { Told.push_back("state " + std::to_string(state)); };
    Search.OnMatchChanged = [this] {
      const auto match = Search.Match();
      Told.push_back(match ? "match " + std::to_string(match->Start) + "-" + std::to_string(match->End)
                           : std::string("match none"));
    };
  }
  // Types each character; returns which were taken ('+') or dropped ('-').
  std::string Type(const std::string& chars) {
    std::string taken;
    for (char c : chars) taken += Search.AddChar(c) ? '+' : '-';
    return taken;
  }
};

TEST(IncrementalSearch, FoundStepsMarkTheMatchAndMoveTheCaretToItsEndThenTell) {
  TSearchFixture f("alpha beta gamma beta\r\n");
  f.Search.Start(3);
  EXPECT_TRUE(f.Search.Active());
  EXPECT_EQ("", f.Search.SearchString());
  EXPECT_EQ(3, f.Search.CaretOffset());
  EXPECT_EQ("++++", f.Type("beta"));
  EXPECT_EQ("beta", f.Search.SearchString());
  ASSERT_TRUE(f.Search.Match());
  EXPECT_EQ((TSearchMark{6, 10}), *f.Search.Match());
  EXPECT_EQ(10, f.Search.CaretOffset());
  // The match is told before the state, so a handler of state 2 sees the caret moved.
  EXPECT_EQ((std::vector<std::string>{"state 1", "match 6-7", "state 2", "match 6-8", "state 2", "match 6-9", "state 2",
                                      "match 6-10", "state 2"}),
            f.Told);
}

TEST(IncrementalSearch, TheCharacterThatMakesTheStringAbsentIsDroppedAndNothingElseChanges) {
  TSearchFixture f("one two three\r\n");
  f.Search.Start(0);
  EXPECT_EQ("++-+", f.Type("twxo"));
  EXPECT_EQ("two", f.Search.SearchString());
  EXPECT_EQ((TSearchMark{4, 7}), *f.Search.Match());
  f.Told.clear();
  EXPECT_EQ("-", f.Type("z"));
  EXPECT_TRUE(f.Told.empty());
  EXPECT_EQ("two", f.Search.SearchString());
  EXPECT_EQ((TSearchMark{4, 7}), *f.Search.Match());
  // Inactive: nothing is searched.
  f.Search.Stop();
  EXPECT_EQ("-", f.Type("t"));
  EXPECT_EQ("two", f.Search.SearchString());
}

TEST(IncrementalSearch, ALongerStringMayJumpFurtherButNeverBack) {
  TSearchFixture f("ab ac ab ad ab\r\n");
  f.Search.Start(1);
  EXPECT_EQ("+", f.Type("a"));
  EXPECT_EQ(3, f.Search.Match()->Start);  // the "a" at 0 lies before the start
  EXPECT_EQ("+", f.Type("d"));
  EXPECT_EQ((TSearchMark{9, 11}), *f.Search.Match());
  EXPECT_EQ(11, f.Search.CaretOffset());
}

TEST(IncrementalSearch, ForwardAndBackwardNeverWrapAround) {
  TSearchFixture f("beta alpha beta\r\n");
  // Forward from just after the last "beta": nothing ahead.
  f.Search.Start(12);
  EXPECT_EQ("-", f.Type("b"));
  // Backward from the same place: the last occurrence wholly before it.
  f.Search.SetBack(true);
  f.Search.Start(12);
  EXPECT_EQ("+++", f.Type("bet"));
  EXPECT_EQ((TSearchMark{0, 3}), *f.Search.Match());
  EXPECT_EQ(0, f.Search.CaretOffset());  // at the match's start
  // From the very start backward nothing lies before.
  f.Search.Start(0);
  EXPECT_EQ("-", f.Type("b"));
  // Backward from the end: the nearest one, then a longer string jumps back.
  f.Search.Start(f.Lines.TextLength());
  EXPECT_EQ("+", f.Type("a"));
  EXPECT_EQ(14, f.Search.Match()->Start);
  EXPECT_EQ("+", f.Type("l"));
  EXPECT_EQ((TSearchMark{5, 7}), *f.Search.Match());
  EXPECT_EQ(5, f.Search.CaretOffset());
}

TEST(IncrementalSearch, CaseIsIgnoredByTheCodePageUnlessTurnedOff) {
  // 0xC9 and 0xE9 are the upper and lower e with acute accent in the code page.
  TSearchFixture f("Caf\xC9 cafe caf\xE9\r\n");
  f.Search.Start(0);
  EXPECT_EQ("++++", f.Type("CAF\xE9"));
  EXPECT_EQ((TSearchMark{0, 4}), *f.Search.Match());

  f.Search.SetIgnoreCase(false);  // ends the search
  EXPECT_FALSE(f.Search.Active());
  f.Search.Start(0);
  EXPECT_EQ("+++-+", f.Type("caf\xC9\xE9"));
  EXPECT_EQ((TSearchMark{10, 14}), *f.Search.Match());
}

TEST(IncrementalSearch, BackspaceFindsTheShorterStringAgainFromTheStart) {
  TSearchFixture f("bx beta\r\n");
  f.Search.Start(0);
  EXPECT_EQ("++", f.Type("be"));
  EXPECT_EQ((TSearchMark{3, 5}), *f.Search.Match());
  f.Told.clear();
  EXPECT_TRUE(f.Search.Backspace());
  EXPECT_EQ("b", f.Search.SearchString());
  EXPECT_EQ((TSearchMark{0, 1}), *f.Search.Match());
  EXPECT_EQ(1, f.Search.CaretOffset());
  // Empty: no match, the caret belongs at the start offset again.
  EXPECT_TRUE(f.Search.Backspace());
  EXPECT_EQ("", f.Search.SearchString());
  EXPECT_FALSE(f.Search.Match());
  EXPECT_EQ(0, f.Search.CaretOffset());
  EXPECT_EQ((std::vector<std::string>{"match 0-1", "state 2", "match none", "state 2"}), f.Told);
  // Nothing left to remove: nothing happens and nothing is told.
  f.Told.clear();
  EXPECT_FALSE(f.Search.Backspace());
  EXPECT_TRUE(f.Told.empty());
  EXPECT_TRUE(f.Search.Active());
  // The search goes on from the start offset.
  EXPECT_EQ("++", f.Type("be"));
  EXPECT_EQ((TSearchMark{3, 5}), *f.Search.Match());
}

TEST(IncrementalSearch, StartAndStopTellTheirStatesOnce) {
  TSearchFixture f("text\r\n");
  f.Search.Stop();
  EXPECT_TRUE(f.Told.empty());
  f.Search.Start(2);
  f.Type("x");
  f.Search.Start(1);  // a second start ends the running search first
  f.Search.Stop();
  f.Search.Stop();
  EXPECT_EQ((std::vector<std::string>{"state 1", "match 2-3", "state 2", "state 0", "state 1", "state 0"}), f.Told);
  EXPECT_EQ("", f.Search.SearchString());
  // A start offset beyond the text is clamped.
  f.Search.Start(1000);
  EXPECT_EQ(f.Lines.TextLength(), f.Search.StartOffset());
}

TEST(IncrementalSearch, OptionsSetWhileTheStartIsToldApplyToTheStartingSearch) {
  TSearchFixture f("beta alpha beta\r\n");
  f.Search.OnIncSearchChange = [&](int state) {
    f.Told.push_back("state " + std::to_string(state));
    if (state == isStarted) {
      f.Search.SetBack(true);
      f.Search.SetIgnoreCase(false);
    }
  };
  f.Search.Start(12);
  EXPECT_TRUE(f.Search.Active());
  EXPECT_TRUE(f.Search.Back());
  EXPECT_FALSE(f.Search.IgnoreCase());
  EXPECT_EQ("-+", f.Type("Bb"));  // case respected, searched backward
  EXPECT_EQ((TSearchMark{11, 12}), *f.Search.Match());  // ends at the start offset
}

TEST(IncrementalSearch, ChangingAnOptionLaterEndsTheSearchAndKeepsTheValue) {
  TSearchFixture f("beta\r\n");
  for (int option = 0; option < 2; ++option) {
    f.Search.Start(option == 0 ? 0 : f.Lines.TextLength());  // the second round searches backward
    ASSERT_EQ("+", f.Type("b"));
    f.Told.clear();
    // The same value changes nothing.
    if (option == 0) f.Search.SetBack(f.Search.Back());
    else f.Search.SetIgnoreCase(f.Search.IgnoreCase());
    EXPECT_TRUE(f.Search.Active());
    EXPECT_TRUE(f.Told.empty());
    if (option == 0) f.Search.SetBack(true);
    else f.Search.SetIgnoreCase(false);
    EXPECT_FALSE(f.Search.Active()) << option;
    EXPECT_EQ((std::vector<std::string>{"state 0"}), f.Told);
    EXPECT_EQ("b", f.Search.SearchString());  // still readable by the handler
  }
  EXPECT_TRUE(f.Search.Back());
  EXPECT_FALSE(f.Search.IgnoreCase());
  // Inactive: a change just stores the value.
  f.Told.clear();
  f.Search.SetBack(false);
  EXPECT_TRUE(f.Told.empty());
  EXPECT_FALSE(f.Search.Back());
}

TEST(IncrementalSearch, TheStartOffsetFollowsEditsAndAWholeTextChangeEndsTheSearch) {
  TSearchFixture f("xx ab ab\r\n");
  f.Search.Start(4);
  EXPECT_EQ("++", f.Type("ab"));
  EXPECT_EQ((TSearchMark{6, 8}), *f.Search.Match());
  f.Lines.InsertText(0, "ab ");  // before the start: the start moves
  EXPECT_EQ(7, f.Search.StartOffset());
  EXPECT_FALSE(f.Search.Match());  // forgotten until found again
  EXPECT_TRUE(f.Search.Backspace());
  EXPECT_EQ((TSearchMark{9, 10}), *f.Search.Match());
  EXPECT_EQ("+", f.Type("b"));
  EXPECT_EQ((TSearchMark{9, 11}), *f.Search.Match());
  // A deletion that takes the start away leaves it at the deletion's place.
  f.Lines.DeleteText(5, 4);
  EXPECT_EQ(5, f.Search.StartOffset());
  EXPECT_TRUE(f.Search.Active());
}

TEST(IncrementalSearch, ReplacingTheWholeTextEndsTheSearch) {
  TSearchFixture f("abc\r\n");
  f.Search.Start(0);
  f.Type("b");
  f.Told.clear();
  f.Lines.SetText("other");
  EXPECT_FALSE(f.Search.Active());
  EXPECT_EQ((std::vector<std::string>{"state 0"}), f.Told);
}

TEST(IncrementalSearch, AfterAnEditTheShorterStringMayBeGone) {
  TSearchFixture f("ab\r\n");
  f.Search.Start(0);
  EXPECT_EQ("++", f.Type("ab"));
  f.Lines.DeleteText(0, 2);
  EXPECT_TRUE(f.Search.Backspace());
  EXPECT_EQ("a", f.Search.SearchString());
  EXPECT_FALSE(f.Search.Match());
  EXPECT_EQ(0, f.Search.CaretOffset());
}

// ---- The windowed scan against a plain model ----

std::string Fold(const std::string& s, bool ignoreCase) {
  return ignoreCase ? TCodePage::Default().ToUpper(s) : s;
}

// First occurrence at or after `start`, or last one ending at or before it.
std::optional<int> ModelFind(const std::string& text, const std::string& pattern, int start, bool back,
                             bool ignoreCase) {
  const std::string t = Fold(text, ignoreCase), p = Fold(pattern, ignoreCase);
  if (!back) {
    const auto at = t.find(p, static_cast<std::size_t>(start));
    return at == std::string::npos ? std::nullopt : std::optional<int>(static_cast<int>(at));
  }
  if (static_cast<int>(p.size()) > start) return std::nullopt;
  const auto at = t.rfind(p, static_cast<std::size_t>(start) - p.size());
  return at == std::string::npos ? std::nullopt : std::optional<int>(static_cast<int>(at));
}

TEST(IncrementalSearch, WindowedStepsAgreeWithAPlainSearchWhereverTheGapAndTheWindowBordersLie) {
  std::mt19937 random(20261209);
  const std::string alphabet = "aAbB\xE9\xC9\r\n";
  for (int round = 0; round < 400; ++round) {
    std::string text;
    const int length = std::uniform_int_distribution<int>(0, 60)(random);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    TSyntMemoStrings lines;
    lines.SetText(text.substr(0, text.size() / 3));
    // Puts the store's gap somewhere inside the text.
    lines.InsertText(lines.TextLength(), text.substr(text.size() / 3));
    const int gapAt = std::uniform_int_distribution<int>(0, length)(random);
    lines.InsertText(gapAt, "a");
    lines.DeleteText(gapAt, 1);
    ASSERT_EQ(text, lines.Text());

    TIncrementalSearch search(lines);
    search.SetWindowSize(std::uniform_int_distribution<int>(2, 9)(random));
    const bool back = random() % 2, ignoreCase = random() % 2;
    search.SetBack(back);
    search.SetIgnoreCase(ignoreCase);
    const int start = std::uniform_int_distribution<int>(0, length)(random);
    search.Start(start);
    std::string model;
    for (int step = 0; step < 12; ++step) {
      if (random() % 4 == 0) {
        EXPECT_EQ(!model.empty(), search.Backspace());
        if (!model.empty()) model.pop_back();
      } else {
        const char c = alphabet[random() % alphabet.size()];
        const bool found = ModelFind(text, model + c, start, back, ignoreCase).has_value();
        ASSERT_EQ(found, search.AddChar(c)) << "round " << round << " step " << step;
        if (found) model += c;
      }
      ASSERT_EQ(model, search.SearchString());
      const auto at = model.empty() ? std::nullopt : ModelFind(text, model, start, back, ignoreCase);
      ASSERT_EQ(at.has_value(), search.Match().has_value()) << "round " << round;
      if (at) {
        ASSERT_EQ(*at, search.Match()->Start) << "round " << round << " step " << step;
        ASSERT_EQ(back ? *at : *at + static_cast<int>(model.size()), search.CaretOffset());
      } else {
        ASSERT_EQ(start, search.CaretOffset());
      }
    }
  }
}

TEST(IncrementalSearch, FindReadsAcrossWindowBordersAndTheGap) {
  std::mt19937 random(7);
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "abc"[random() % 3];
  TSyntMemoStrings lines;
  lines.SetText(text);
  lines.InsertText(1501, "c");  // leaves the gap inside the text
  lines.DeleteText(1501, 1);
  TIncrementalSearch search(lines);
  search.SetWindowSize(64);
  for (int round = 0; round < 200; ++round) {
    const int length = std::uniform_int_distribution<int>(1, 40)(random);
    const int from = std::uniform_int_distribution<int>(0, 2999)(random);
    const std::string pattern = text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(length));
    const auto forward = text.find(pattern, static_cast<std::size_t>(from / 2));
    EXPECT_EQ(static_cast<int>(forward), search.Find(pattern, from / 2, 3000, false)) << round;
    const int to = std::min(3000, from + length + 7);
    const auto backward = text.rfind(pattern, static_cast<std::size_t>(to) - pattern.size());
    EXPECT_EQ(static_cast<int>(backward), search.Find(pattern, 0, to, true)) << round;
  }
  EXPECT_EQ(-1, search.Find("", 0, 3000, false));
  EXPECT_EQ(-1, search.Find("abc", 10, 12, false));
}

}  // namespace
}  // namespace penwick
