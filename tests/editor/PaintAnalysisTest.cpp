// What painting reads when it may wait for the analysis only so long: the
// time-limited analysis step, the styles of text the analysis has not
// reached, and the watch that says when the idle run has passed the screen.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "editor/MemoTextSource.h"
#include "editor/StyledRuns.h"
#include "editor/SyntMemoStrings.h"
#include "language/MissionLexer.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/ManualScheduler.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {
namespace {

using TClock = TClientSyntAnalyzer::TClock;

std::string Script(int lines) {
  static const char* const kShapes[] = {"PLAYER_PED p1 = ( 127.5 , 127.5 , 255.0 ) 25 180",
                                        "WHILE_EXEC ( loop = 1 )",
                                        "     IF ( IS_CHARACTER_IN_CAR ( p1 , car_1 ) ) THEN",
                                        "          SET loop = 0 // done",
                                        "     ENDIF",
                                        "ENDWHILE",
                                        "#ifdef PSX",
                                        "SWITCH_GENERATOR (rocket1, ON )",
                                        "#endif",
                                        "/* wave */ COUNTER c = 12"};
  std::string text;
  for (int i = 0; i < lines; ++i) {
    text += kShapes[i % 10];
    text += "\r\n";
  }
  return text;
}

struct TMission {
  explicit TMission(const std::string& text) : Source(Lines) {
    Lines.SetText(text);
    BuildMissionLexer(Analyzer);
    Client = Analyzer.CreateClient(&Source, &Scheduler);
  }
  TSyntMemoStrings Lines;
  TMemoTextSource Source;
  TSyntAnalyzer Analyzer;
  TManualScheduler Scheduler;
  std::unique_ptr<TClientSyntAnalyzer> Client;
};

std::vector<std::pair<std::uint32_t, std::uint32_t>> Spans(const TClientSyntAnalyzer& client) {
  std::vector<std::pair<std::uint32_t, std::uint32_t>> spans;
  for (int i = 0; i < client.TokenCount(); ++i) spans.emplace_back(client.Token(i).StartPos, client.Token(i).EndPos);
  return spans;
}

// A clock that moves on by one nanosecond each time it is read.
std::function<TClock::time_point()> SteppingClock() {
  auto now = std::make_shared<long long>(0);
  return [now] { return TClock::time_point(std::chrono::nanoseconds(++*now)); };
}

TEST(PaintAnalysis, DeadlinePastAnalysesNothingAndLeavesTheRestToTheIdleRun) {
  TMission m(Script(200));
  EXPECT_FALSE(m.Client->AnalyzeTo(m.Lines.TextLength() - 1, TClock::time_point::min()));
  EXPECT_EQ(m.Client->TokenCount(), 0);
  EXPECT_TRUE(m.Client->IdleTimerActive());
  // Nothing to do is done at once, whatever the deadline.
  m.Client->AnalyzeTo(50);
  const int tokens = m.Client->TokenCount();
  EXPECT_TRUE(m.Client->AnalyzeTo(10, TClock::time_point::min()));
  EXPECT_EQ(m.Client->TokenCount(), tokens);
}

TEST(PaintAnalysis, DeadlineFarAwayAnalysesAsFarAsAnUnlimitedStep) {
  const std::string text = Script(300);
  for (std::size_t offset : {std::size_t{0}, std::size_t{777}, text.size() / 2, text.size() - 1, text.size() + 5}) {
    SCOPED_TRACE(offset);
    TMission timed(text), plain(text);
    EXPECT_TRUE(timed.Client->AnalyzeTo(offset, TClock::time_point::max()));
    plain.Client->AnalyzeTo(offset);
    EXPECT_EQ(Spans(*timed.Client), Spans(*plain.Client));
    EXPECT_EQ(timed.Client->NextParsePosition(), plain.Client->NextParsePosition());
    EXPECT_EQ(timed.Client->Finished(), plain.Client->Finished());
  }
}

TEST(PaintAnalysis, SlicesCutByTheDeadlineAddUpToTheWholeAnalysis) {
  const std::string text = Script(400);
  TMission sliced(text), whole(text);
  whole.Client->AnalyzeTo(text.size());
  sliced.Client->SetClock(SteppingClock());
  int slices = 0;
  for (;;) {
    const std::size_t before = sliced.Client->NextParsePosition();
    // Three clock reads away: each slice takes a few dozen steps.
    if (sliced.Client->AnalyzeTo(text.size(), sliced.Client->Now() + std::chrono::nanoseconds(3))) break;
    ASSERT_GT(sliced.Client->NextParsePosition(), before) << "a slice with time left makes progress";
    ASSERT_LT(++slices, 100000);
  }
  EXPECT_GT(slices, 10);
  EXPECT_EQ(Spans(*sliced.Client), Spans(*whole.Client));
}

TEST(PaintAnalysis, TextNotReachedHasTheDefaultStyleInOneRunAndOldTokensKeepTheirs) {
  TMission m(Script(100));
  const int far = 80;
  const int lineStart = m.Lines.LineStart(far), length = m.Lines.LineLength(far);
  m.Client->AnalyzeTo(static_cast<std::size_t>(m.Lines.LineStart(2)));
  const int tokens = m.Client->TokenCount();
  {
    TStyledRuns lookup(m.Client.get(), TCanvasState{});
    lookup.SetAnalyzeOnDemand(false);
    const std::vector<TStyledRun> runs = lookup.Runs(lineStart, length);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Start, lineStart);
    EXPECT_EQ(runs[0].End, lineStart + length);
    EXPECT_TRUE(runs[0].Styles.empty());
    EXPECT_EQ(runs[0].State, lookup.StateOf({}));
    EXPECT_EQ(m.Client->TokenCount(), tokens) << "the lookup took the analysis as it stood";
  }
  // Once analysed, the same line is styled; an edit above it then leaves
  // the line's old tokens styling it until the analysis comes back.
  m.Client->AnalyzeTo(m.Lines.TextLength());
  std::vector<TStyledRun> analysed;
  {
    TStyledRuns lookup(m.Client.get(), TCanvasState{});
    analysed = lookup.Runs(lineStart, length);
  }
  ASSERT_GT(analysed.size(), 1u);
  m.Lines.InsertText(0, "// x\r\n");
  const int shift = 6;
  TStyledRuns lookup(m.Client.get(), TCanvasState{});
  lookup.SetAnalyzeOnDemand(false);
  const std::vector<TStyledRun> kept = lookup.Runs(lineStart + shift, length);
  ASSERT_EQ(kept.size(), analysed.size());
  for (std::size_t i = 0; i < kept.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(kept[i].Start, analysed[i].Start + shift);
    EXPECT_EQ(kept[i].Styles, analysed[i].Styles);
  }
}

TEST(PaintAnalysis, TheWatchFiresOnceWhenTheIdleRunPassesItsOffset) {
  TMission m(Script(300));
  const std::size_t offset = static_cast<std::size_t>(m.Lines.LineStart(150));
  int fired = 0;
  std::size_t firedAt = 0;
  bool earlyOrLate = false;
  // The watch replaced before it fires: only the second one counts.
  m.Client->WatchParsePosition(offset / 2, [&] { ADD_FAILURE() << "a replaced watch fired"; });
  m.Client->WatchParsePosition(offset, [&] {
    ++fired;
    firedAt = m.Client->NextParsePosition() - 1;
  });
  EXPECT_TRUE(m.Client->Watching());
  m.Scheduler.OnYield = [&] {
    const std::size_t parsed = m.Client->NextParsePosition() - 1;
    if ((fired > 0) != (parsed > offset) && !m.Client->Finished()) earlyOrLate = true;
  };
  m.Scheduler.Advance(1000);
  EXPECT_TRUE(m.Client->Finished());
  EXPECT_EQ(fired, 1);
  EXPECT_GT(firedAt, offset);
  EXPECT_FALSE(earlyOrLate) << "fired before the offset was passed, or not at the first step past it";
  EXPECT_FALSE(m.Client->Watching());

  // A watch on the end of the text fires when the parse position gets there;
  // one already passed fires at the next step.
  m.Lines.InsertText(m.Lines.TextLength(), "ENDWHILE");
  fired = 0;
  m.Client->WatchParsePosition(m.Lines.TextLength(), [&] { ++fired; });
  m.Scheduler.Advance(1000);
  EXPECT_EQ(fired, 1);
  m.Client->WatchParsePosition(0, [&] { ++fired; });
  m.Client->AnalyzeTo(0, TClock::time_point::min());
  EXPECT_EQ(fired, 2);
}

}  // namespace
}  // namespace penwick
