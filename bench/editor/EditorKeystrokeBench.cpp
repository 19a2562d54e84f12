// Figures of a keystroke with the analysis attached: a 50 MB mission script in the store, analysed through the store's text source, typed into at the start, middle and end.
#include "editor/MemoEditor.h"
#include "editor/MemoTextSource.h"
#include "language/MissionLexer.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/ManualScheduler.h"
#include "syntax/SyntAnalyzer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace penwick;
using TClock = std::chrono::steady_clock;

constexpr int kLines = 1000000;
constexpr int kLineBytes = 50;  // with CR LF: 50,000,000 bytes in all
constexpr int kKeystrokes = 200;
constexpr int kLinesBelow = 60;

double Micros(TClock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

std::string MakeScript() {
  // Shapes authors write: declarations, commands, conditions, comments and
  // conditional blocks, so block rules open and close ranges throughout.
  static const char* const lines[] = {"GENERATOR rocket = (128.5,128.5) 0 COLLECT_02 0",
                                      "COUNTER loop = 1 // the main loop",
                                      "WHILE_EXEC ( loop = 1 )",
                                      "     IF ( IS_CAR_WRECKED ( car_1 ) )",
                                      "          SET loop = 0",
                                      "     ENDIF",
                                      "ENDWHILE",
                                      "/* wave */ #ifdef HARD",
                                      "PARKED_CAR_DATA car_1 = ( 128.5 , 127.5 )",
                                      "#endif"};
  std::string text;
  text.reserve(static_cast<std::size_t>(kLines) * kLineBytes);
  for (int i = 0; i < kLines; ++i) {
    std::string line = std::string(lines[i % 10]) + " " + std::to_string(i);
    line.resize(kLineBytes - 2, ' ');
    text += line;
    text += "\r\n";
  }
  return text;
}

struct TTiming {
  double First = 0;
  double Median = 0;
  double P99 = 0;
  double Max = 0;
};

// Each keystroke: the store edit, the change report and the analysis of the
// lines below. A finishing step it starts runs on a worker thread, as in the
// editor; its delivery (later, from the event loop there) is not timed.
TTiming TypeAt(TMemoEditor& editor, TClientSyntAnalyzer& client, TMemoTextSource& source, TManualScheduler& scheduler,
               int offset) {
  editor.SetCaretStrPos(offset);
  std::vector<double> micros;
  micros.reserve(kKeystrokes);
  for (int i = 0; i < kKeystrokes; ++i) {
    const auto start = TClock::now();
    editor.InsertText("x");
    const int line = source.LineFromOffset(static_cast<std::size_t>(editor.CaretStrPos()));
    // The end of the line kLinesBelow lines down: what a screen below the caret needs.
    client.AnalyzeTo(source.LineStartOffset(line + kLinesBelow + 1));
    micros.push_back(Micros(TClock::now() - start));
    scheduler.ProcessDeliveries();
  }
  // What the idle analysis does before the author types elsewhere.
  client.AnalyzeAll();
  scheduler.WaitForJobs();
  TTiming t;
  t.First = micros.front();
  std::sort(micros.begin(), micros.end());
  t.Median = micros[micros.size() / 2];
  t.P99 = micros[micros.size() * 99 / 100];
  t.Max = micros.back();
  return t;
}

}  // namespace

int main() {
  TMemoEditor editor;
  editor.Lines().SetText(MakeScript());
  editor.SetModified(false);
  std::printf("text: %.1f MB, %d lines\n", editor.Lines().TextLength() / 1e6, editor.Lines().Count());

  TSyntAnalyzer analyzer;
  BuildMissionLexer(analyzer);
  TMemoTextSource source(editor.Lines());
  TManualScheduler scheduler(true);
  std::unique_ptr<TClientSyntAnalyzer> client = analyzer.CreateClient(&source, &scheduler);

  auto start = TClock::now();
  client->AnalyzeAll();
  scheduler.WaitForJobs();
  const double seconds = Micros(TClock::now() - start) / 1e6;
  const double speed = editor.Lines().TextLength() / 1e6 / seconds;
  std::printf("full analysis: %.1f MB/s (%.0f ms, %d tokens)\n", speed, seconds * 1e3, client->TokenCount());
  std::vector<std::string> figures;
  auto figure = [&figures](const std::string& name, double value, const char* unit) {
    char line[128];
    std::snprintf(line, sizeof line, "figure %s %.*f %s", name.c_str(), std::string(unit) == "ms" ? 2 : 1, value, unit);
    figures.emplace_back(line);
  };
  figure("full_analysis_speed", speed, "MB/s");

  struct {
    const char* Name;
    int Offset;
  } places[] = {{"start", 7}, {"middle", editor.Lines().LineStart(kLines / 2) + 7}, {"end", -1}};
  for (auto& place : places) {
    const int offset = place.Offset < 0 ? editor.Lines().TextLength() : place.Offset;
    const TTiming t = TypeAt(editor, *client, source, scheduler, offset);
    std::printf("keystroke + analysis at %-6s: median %.1f us, p99 %.1f us, max %.1f us (first %.1f us)\n",
                place.Name, t.Median, t.P99, t.Max, t.First);
    const std::string prefix = std::string("keystroke_") + place.Name;
    figure(prefix + "_median", t.Median, "us");
    figure(prefix + "_p99", t.P99, "us");
    figure(prefix + "_first", t.First / 1e3, "ms");
  }
  // The headline figures, one a line, for scripts.
  for (const std::string& line : figures) std::printf("%s\n", line.c_str());
  return 0;
}
