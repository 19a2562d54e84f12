// Loading and saving the shipped language definition: what start-up and a theme change cost.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "language/MissionLexer.h"
#include "syntax/SyntAnalyzer.h"

namespace {

using namespace penwick;

double g_loadSeconds = 0, g_saveSeconds = 0, g_bytes = 0;

std::string ShippedDefinition() {
  std::ifstream in(PENWICK_SOURCE_DIR "/themes/mis2.lcf", std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Parsing the text and applying it over the built-in definition, as start-up does.
void BM_LoadShippedDefinition(benchmark::State& state) {
  const std::string text = ShippedDefinition();
  TSyntAnalyzer analyzer;
  BuildMissionLexer(analyzer);
  for (auto _ : state) analyzer.LoadFromText(text, nullptr);
  g_loadSeconds = 0;
  g_bytes = static_cast<double>(text.size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LoadShippedDefinition)->Unit(benchmark::kMicrosecond);

void BM_SaveShippedDefinition(benchmark::State& state) {
  TSyntAnalyzer analyzer;
  BuildMissionLexer(analyzer);
  analyzer.LoadFromText(ShippedDefinition(), nullptr);
  for (auto _ : state) benchmark::DoNotOptimize(analyzer.SaveToText());
}
BENCHMARK(BM_SaveShippedDefinition)->Unit(benchmark::kMicrosecond);

// The mean time of one call, measured outside the benchmark loop so the
// figure lines do not depend on the reporter.
template <class F>
double SecondsPerCall(F&& call, int calls) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) call();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / calls;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const std::string text = ShippedDefinition();
  TSyntAnalyzer analyzer;
  BuildMissionLexer(analyzer);
  g_loadSeconds = SecondsPerCall([&] { analyzer.LoadFromText(text, nullptr); }, 50);
  g_saveSeconds = SecondsPerCall([&] { benchmark::DoNotOptimize(analyzer.SaveToText()); }, 50);
  g_bytes = static_cast<double>(text.size());
  std::printf("figure lexer_file_bytes %.0f bytes\n", g_bytes);
  std::printf("figure lexer_file_load %.2f ms\n", g_loadSeconds * 1e3);
  std::printf("figure lexer_file_save %.2f ms\n", g_saveSeconds * 1e3);
  return 0;
}
