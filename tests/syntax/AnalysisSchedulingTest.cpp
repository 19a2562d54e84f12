// When analysis runs: the idle timer, yielding, restarts on change, disabling, and the finishing job on a worker thread.
#include <gtest/gtest.h>

#include <stdexcept>

#include "AnalysisTestSupport.h"
#include "syntax/ManualScheduler.h"

namespace penwick::test {
namespace {

constexpr std::uint32_t kSymbol = 1u << 3;

struct TBracketLexer : TLexer {
  TBracketLexer() {
    WordsNumbersSymbols();
    TTagBlockCondition* open = Block("open", btRangeStart);
    Cond(open, "(", kSymbol);
    TTagBlockCondition* close = Block("close", btRangeEnd);
    Cond(close, ")", kSymbol);
    open->SetBlockEnd("close");
    A.SetAlwaysSyncBlockAnal(true);
  }
};

TEST(IdleAnalysis, RunsAHundredMillisecondsAfterTheLastChangeAndYieldsAfterEveryToken) {
  TBracketLexer l;
  TManualScheduler scheduler;
  TRun r(l.A, "(a b\r\nc)", &scheduler);
  EXPECT_TRUE(r.Client->IdleTimerActive());
  scheduler.Advance(60);
  r.Source.Insert(0, "x ");  // typing postpones the run
  scheduler.Advance(60);
  EXPECT_EQ(r.Client->TokenCount(), 0);
  int finished = 0;
  r.Client->OnFinished = [&] { ++finished; };
  scheduler.Advance(40);
  EXPECT_TRUE(r.Client->Finished());
  EXPECT_EQ(r.Client->TokenCount(), 6);
  EXPECT_EQ(scheduler.YieldCount(), 6);
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(r.Client->IdleTimerActive());
  EXPECT_EQ(r.Client->CollapsibleRanges().size(), 1u);
}

TEST(IdleAnalysis, AChangeDuringAYieldEndsTheRunAndTheNextRunCatchesUp) {
  TBracketLexer l;
  TManualScheduler scheduler;
  TRun r(l.A, "a b c d e f", &scheduler);
  bool edited = false;
  scheduler.OnYield = [&] {
    if (!edited && r.Client->TokenCount() == 3) {
      edited = true;
      r.Source.Insert(0, "( ");
    }
  };
  scheduler.Advance(100);
  EXPECT_TRUE(edited);
  EXPECT_FALSE(r.Client->Finished());
  EXPECT_FALSE(r.Client->Busy());
  scheduler.Advance(100);
  EXPECT_TRUE(r.Client->Finished());
  EXPECT_EQ(r.Texts(), "(|a|b|c|d|e|f");
  EXPECT_EQ(r.Client->OpenRangeCount(), 1);
}

TEST(IdleAnalysis, DisablingHoldsRunsAndDestructionOrShutdownEndsThem) {
  TBracketLexer l;
  TManualScheduler scheduler;
  {
    TRun r(l.A, "a b c", &scheduler);
    r.Client->DisableIdleAnalysis(true);
    scheduler.Advance(500);
    EXPECT_EQ(r.Client->TokenCount(), 0);
    r.Client->DisableIdleAnalysis(false);  // runs at once
    EXPECT_TRUE(r.Client->Finished());
  }
  auto run = std::make_unique<TRun>(l.A, "a b c d", &scheduler);
  scheduler.OnYield = [&] { run.reset(); };  // the text is closed while analysing
  scheduler.Advance(100);
  EXPECT_EQ(run, nullptr);

  TRun r(l.A, "a b c d", &scheduler);
  scheduler.OnYield = [&] { scheduler.Running = false; };
  scheduler.Advance(100);
  EXPECT_EQ(r.Client->TokenCount(), 1);
  EXPECT_FALSE(r.Client->Busy());
}

TEST(FinishingJob, AChangeWhileItRunsDiscardsItsResults) {
  TBracketLexer l;
  TManualScheduler scheduler(true);
  TRun r(l.A, "(a\r\nb)", &scheduler);
  int delivered = 0;
  r.Client->OnFinished = [&] { ++delivered; };
  r.Client->AnalyzeAll();
  EXPECT_TRUE(r.Client->FinishingPending());
  r.Source.Insert(0, "x");  // arrives while the job may still run
  EXPECT_FALSE(r.Client->FinishingPending());
  scheduler.WaitForJobs();
  EXPECT_EQ(delivered, 0);
  EXPECT_TRUE(r.Client->CollapsibleRanges().empty());
  r.Client->AnalyzeAll();
  scheduler.WaitForJobs();
  EXPECT_EQ(delivered, 1);
  ASSERT_EQ(r.Client->CollapsibleRanges().size(), 1u);
  EXPECT_EQ(r.Client->CollapsibleRanges()[0].StartPos, 1u);
  EXPECT_TRUE(r.Client->Changes().Count() == 0 && r.Client->OldTokens().empty());
}

TEST(ClientLifecycle, CreationNeedsATextSource) {
  TLexer l;
  try {
    l.A.CreateClient(nullptr, nullptr);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Source procedure not passed from syntax server");
  }
}

TEST(ChangeFixer, MapsOffsetsAcrossInsertionsAndDeletions) {
  TChangeFixer f;
  f.Add(5, 3);   // "abcdefgh" becomes "abcdeXYZfgh"
  f.Add(2, -2);  // and then "abeXYZfgh"
  EXPECT_EQ(f.MapBack(0), 0);
  EXPECT_EQ(f.MapBack(2), 4);             // "e" was at 4
  EXPECT_EQ(f.MapBack(3), std::nullopt);  // inside the insertion
  EXPECT_EQ(f.MapBack(6), 5);             // "f"
  EXPECT_EQ(f.MapForward(5), 6);
  EXPECT_EQ(f.MapForward(3), 2);  // inside the deletion
  EXPECT_EQ(f.MapForward(4), 2);
}

}  // namespace
}  // namespace penwick::test
