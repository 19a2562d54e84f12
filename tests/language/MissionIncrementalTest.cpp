// Random edit sequences: after every edit the incremental analysis must equal a fresh analysis of the same text.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "MissionAnalysisSupport.h"
#include "syntax/ManualScheduler.h"

namespace penwick::test {
namespace {

const std::vector<std::string> kFragments = {
    "LEVELSTART", "LEVELEND", "levelstart", "IF", "ENDIF", "WHILE_EXEC", "DO_NOWT", "ENDWHILE", "SET", "PSX",
    "CAR_DATA", "COUNTER", "CREATE_CAR", "IS_CAR_WRECKED", "COLLECT_02", "ON", "rocket1", "loop", "x", "_a9",
    "1", "5", "1.", ".5", "128.5", "3e5", "1e-", "07", "$ff", "#13", "#ifdef A", "#ifdef B", "#endif", "#ENDIF",
    "#endif // c", "// comment", "//", "/*", "*/", "/* block */", "'str'", "'open", "=", "(", ")", ",", ";", "+",
    "-", "*", "/", "@", "\r\n", "\r\n", "\r\n", "\n", " ", " ", "  ", "\t", "e", "5"};

std::string RandomScript(std::mt19937& rng, int pieces) {
  std::string s;
  std::uniform_int_distribution<std::size_t> pick(0, kFragments.size() - 1);
  for (int i = 0; i < pieces; ++i) {
    s += kFragments[pick(rng)];
    if (rng() % 3) s += ' ';
  }
  return s;
}

// The state a fresh analysis of the same text reaches.
std::string FreshDump(const std::string& text, bool deferred) {
  TMissionAnalysis fresh(text);
  if (deferred) fresh.Analyzer.SetAlwaysSyncBlockAnal(false);
  fresh.Client->AnalyzeAll();
  return fresh.Client->DebugDump();
}

// Characters that, typed right after a token, can change how the text
// before them reads ("1." + "5", "/" + "*", "'" + "'").
const std::string kTyped = "0123456789.e-+/*'a_# $\r\n";

void Edit(std::mt19937& rng, TStringTextSource& source, const TClientSyntAnalyzer& client) {
  const std::size_t size = source.String().size();
  const std::size_t at = size ? rng() % (size + 1) : 0;
  if (rng() % 3 == 0 && client.TokenCount() > 0) {
    // Typing at the end of a token, the way an author extends what is there.
    const TSyntToken& t = client.Token(static_cast<int>(rng() % static_cast<unsigned>(client.TokenCount())));
    source.Insert(t.EndPos, std::string(1, kTyped[rng() % kTyped.size()]));
    return;
  }
  switch (rng() % 3) {
    case 0: {  // insert a fragment or a single character from one
      std::string piece = kFragments[rng() % kFragments.size()];
      if (rng() % 2 && piece.size() > 1) piece = piece.substr(rng() % piece.size(), 1);
      source.Insert(at, piece);
      break;
    }
    case 1:  // delete a short run
      source.Delete(at, 1 + rng() % 6);
      break;
    default: {  // replace: delete then insert, two reports as the editor makes them
      source.Delete(at, 1 + rng() % 4);
      source.Insert(at, kFragments[rng() % kFragments.size()]);
      break;
    }
  }
}

// `threaded`: the finishing step runs on a real thread; some edits arrive
// while it runs, and their results must then be thrown away.
// `deferred`: block rules other than plain tag rules run after the end of
// the text instead of after every token.
// `pieces`: script size; 0 for small scripts of 40 to 160 pieces.
void RunEdits(unsigned seed, int scripts, int editsPerScript, bool threaded, bool deferred = false, int pieces = 0) {
  std::mt19937 rng(seed);
  for (int s = 0; s < scripts; ++s) {
    TManualScheduler scheduler(threaded);
    TMissionAnalysis a(RandomScript(rng, pieces > 0 ? pieces : 40 + static_cast<int>(rng() % 120)), &scheduler);
    if (deferred) a.Analyzer.SetAlwaysSyncBlockAnal(false);
    a.Client->AnalyzeAll();
    scheduler.WaitForJobs();
    if (pieces > 0) {
      ASSERT_GT(a.Client->TokenCount(), 70000);
    }
    for (int e = 0; e < editsPerScript; ++e) {
      Edit(rng, a.Source, *a.Client);
      // Painting may analyse part of the text before the next edit comes.
      if (rng() % 3 == 0) {
        a.Client->AnalyzeTo(rng() % (a.Source.String().size() + 1));
        if (rng() % 2) Edit(rng, a.Source, *a.Client);  // and typing goes on
      }
      if (threaded && rng() % 4 == 0) {
        a.Client->AnalyzeAll();  // starts a finishing thread ...
        Edit(rng, a.Source, *a.Client);     // ... that this edit must stop and discard
      }
      a.Client->AnalyzeAll();
      scheduler.WaitForJobs();
      ASSERT_TRUE(a.Client->Finished());
      ASSERT_FALSE(a.Client->FinishingPending());
      const std::string problems = a.Client->CheckInvariants();
      ASSERT_TRUE(problems.empty()) << problems;
      ASSERT_EQ(FreshDump(a.Source.String(), deferred), a.Client->DebugDump())
          << "script " << s << ", edit " << e << ", text:\n" << a.Source.String();
    }
  }
}

TEST(MissionIncremental, RandomEditsEqualFreshAnalysis) { RunEdits(20261209u, 60, 80, false); }

TEST(MissionIncremental, RandomEditsWithDeferredBlockAnalysisEqualFreshAnalysis) { RunEdits(4242u, 30, 60, false, true); }

TEST(MissionIncremental, RandomEditsWithFinishingThreadEqualFreshAnalysis) { RunEdits(77u, 20, 50, true); }

// Tens of thousands of tokens: the tokens a change sets aside span many
// chunks, and a delivery hands them to a worker to free.
TEST(MissionIncremental, RandomEditsInALargeScriptWithFinishingThreadEqualFreshAnalysis) {
  RunEdits(3131u, 1, 4, true, false, 300000);
}

}  // namespace
}  // namespace penwick::test
