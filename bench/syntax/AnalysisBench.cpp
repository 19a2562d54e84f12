// Full analysis of a 10 MB mission script, the cost of one keystroke in a million-line script, and the memory of the result.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "editor/MemoTextSource.h"
#include "editor/SyntMemoStrings.h"
#include "language/MissionLexer.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace {

using namespace penwick;

// What the last run of each benchmark measured, printed as figures at the end.
struct TFigures {
  double AnalysisSeconds = 0;  // per full analysis
  double TextBytes = 0;
  std::vector<double> Typing;  // seconds per keystroke
  std::vector<double> First;   // seconds per first keystroke
} g_figures;

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Script lines of the shapes authors write: declarations, commands,
// conditions, comment runs and conditional blocks.
std::string GenerateScript(std::size_t minBytes, std::size_t minLines) {
  static const char* const kLines[] = {
      "GENERATOR rocket%d = (128.5,128.5) 0 COLLECT_02 0 0 99",
      "PLAYER_PED p%d = ( 127.5 , 127.5 , 255.0 ) 25 180",
      "PARKED_CAR_DATA car_%d = ( 128.5 , 127.5 , 255.0 ) 02 180 VTYPE",
      "COUNTER loop%d = 1",
      "// Note: a comment line number %d",
      "// and a second one",
      "SET_AMBIENT_LEVEL (0.75, 0) // use smaller first value when you add lights",
      "WHILE_EXEC ( loop%d = 1 )",
      "     DO_NOWT",
      "ENDWHILE",
      "IF ( IS_CHARACTER_IN_CAR ( p1 , car_%d ) ) THEN",
      "     DISPLAY_BRIEF ( 1%d )",
      "ENDIF",
      "#ifdef PSX\r\nSWITCH_GENERATOR (rocket%d, ON )\r\n#endif",
      "",
  };
  std::string s;
  std::mt19937 rng(5);
  std::size_t lines = 0;
  char buffer[160];
  while (s.size() < minBytes || lines < minLines) {
    const char* line = kLines[rng() % (sizeof kLines / sizeof kLines[0])];
    std::snprintf(buffer, sizeof buffer, line, static_cast<int>(rng() % 1000));
    s += buffer;
    s += "\r\n";
    ++lines;
  }
  return s;
}

void BM_FullAnalysis10MB(benchmark::State& state) {
  const std::string text = GenerateScript(10u << 20, 0);
  TSyntAnalyzer analyzer;
  BuildMissionLexer(analyzer);
  std::size_t memory = 0, tokens = 0, ranges = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    TStringTextSource source(text);
    auto client = analyzer.CreateClient(&source, nullptr);
    client->AnalyzeAll();
    memory = client->AnalysisMemory();
    tokens = static_cast<std::size_t>(client->TokenCount());
    ranges = static_cast<std::size_t>(client->RangeCount());
    benchmark::DoNotOptimize(client->CollapsibleRanges().size());
  }
  g_figures.AnalysisSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / static_cast<double>(state.iterations());
  g_figures.TextBytes = static_cast<double>(text.size());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.counters["tokens"] = static_cast<double>(tokens);
  state.counters["ranges"] = static_cast<double>(ranges);
  state.counters["memory_MB"] = static_cast<double>(memory) / (1024.0 * 1024.0);
}
BENCHMARK(BM_FullAnalysis10MB)->Unit(benchmark::kMillisecond)->Iterations(3);

// One keystroke near the top of a 1,000,000-line script held in the
// editor's store: the edit, the change reaching the analysis through the
// store's listeners, and AnalyzeTo the end of the screen (60 lines below).
struct TKeystrokeFixture {
  TKeystrokeFixture() : source(lines) {
    lines.SetText(GenerateScript(0, 1000000));
    BuildMissionLexer(analyzer);
    client = analyzer.CreateClient(&source, nullptr);
    client->AnalyzeAll();
    caret = static_cast<int>(source.LineStartOffset(10)) + 3;
    screenEnd = source.LineStartOffset(70);
  }
  double Keystroke(bool insert) {
    auto t0 = std::chrono::steady_clock::now();
    if (insert) lines.InsertText(caret, "x");
    else lines.DeleteText(caret, 1);
    client->AnalyzeTo(screenEnd);
    auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(t1 - t0).count();
  }
  TSyntMemoStrings lines;
  TMemoTextSource source;
  TSyntAnalyzer analyzer;
  std::unique_ptr<TClientSyntAnalyzer> client;
  int caret = 0;
  std::size_t screenEnd = 0;
};

TKeystrokeFixture& Keystrokes() {
  static TKeystrokeFixture fixture;
  return fixture;
}

void BM_KeystrokeWhileTyping(benchmark::State& state) {
  TKeystrokeFixture& f = Keystrokes();
  bool insert = true;
  g_figures.Typing.clear();
  for (auto _ : state) {
    const double seconds = f.Keystroke(insert);
    state.SetIterationTime(seconds);
    g_figures.Typing.push_back(seconds);
    insert = !insert;
  }
}
BENCHMARK(BM_KeystrokeWhileTyping)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(400);

// The first keystroke after the analysis had finished: it also sets aside
// the old tokens and drops every range below the caret.
void BM_FirstKeystrokeAfterFullAnalysis(benchmark::State& state) {
  TKeystrokeFixture& f = Keystrokes();
  bool insert = true;
  g_figures.First.clear();
  for (auto _ : state) {
    state.PauseTiming();
    f.client->AnalyzeAll();
    state.ResumeTiming();
    const double seconds = f.Keystroke(insert);
    state.SetIterationTime(seconds);
    g_figures.First.push_back(seconds);
    insert = !insert;
  }
}
BENCHMARK(BM_FirstKeystrokeAfterFullAnalysis)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(4);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  // The headline figures, one a line, for scripts (from the benchmarks that ran).
  if (g_figures.AnalysisSeconds > 0)
    std::printf("figure analysis_10mb_speed %.1f MB/s\n", g_figures.TextBytes / 1e6 / g_figures.AnalysisSeconds);
  if (!g_figures.Typing.empty()) std::printf("figure keystroke_typing_median %.1f us\n", Median(g_figures.Typing) * 1e6);
  if (!g_figures.First.empty()) std::printf("figure first_keystroke_after_analysis %.1f us\n", Median(g_figures.First) * 1e6);
  return 0;
}
