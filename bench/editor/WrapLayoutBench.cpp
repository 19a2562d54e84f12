// Figures of word wrap on a large script: switching word wrap on with every
// line laid out, a keystroke's re-layout, and row-to-line lookups.
#include "editor/SyntMemoStrings.h"
#include "editor/TabList.h"
#include "editor/TextMeasure.h"
#include "editor/WrapLayout.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace penwick;
using TClock = std::chrono::steady_clock;

constexpr int kLines = 1000000;

double Ms(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// About 50 bytes a line on average: most lines fit a 75-cell row, one in
// twenty is long enough to wrap, one in eight is indented with a tab.
std::string MakeScript() {
  static const char* const words[] = {"CreateObject", "Tank", "SetTrigger", "Zone", "Waypoint", "Path",
                                      "IsAlive", "Commander", "MoveTo", "Group", "(1,", "2);"};
  std::mt19937 random(1);
  std::string text;
  text.reserve(52u * kLines);
  for (int i = 0; i < kLines; ++i) {
    const size_t target = i % 20 == 0 ? 180 : 42;
    const size_t start = text.size();
    if (i % 8 == 0) text += '\t';
    while (text.size() - start < target) {
      text += words[random() % 12];
      text += ' ';
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace

int main() {
  TSyntMemoStrings lines;
  const std::string script = MakeScript();
  lines.SetText(script);
  std::printf("script: %d lines, %.1f MB\n", lines.Count(), script.size() / 1e6);

  TTabList tabs;
  TFixedTextMeasure measure(8, 16);
  TWrapLayout wrap(lines, tabs, measure);
  wrap.SetWrapWidth(600);  // 75 cells

  std::vector<double> switchOn;
  int rows = 0;
  for (int round = 0; round < 7; ++round) {
    wrap.SetWordWrap(false);
    const auto t0 = TClock::now();
    wrap.SetWordWrap(true);
    rows = wrap.RowCount();
    switchOn.push_back(Ms(TClock::now() - t0));
  }
  std::printf("rows with word wrap: %d\n", rows);

  std::vector<double> keystrokes;
  for (int k = 0; k < 200; ++k) {
    const int line = (k * 4999) % kLines;
    const auto t0 = TClock::now();
    lines.InsertText(lines.LineStart(line) + 3, "x");
    rows = wrap.RowCount();
    keystrokes.push_back(Ms(TClock::now() - t0) * 1000.0);
  }

  std::mt19937 random(2);
  const int queries = 1000000;
  long long sink = 0;
  const auto q0 = TClock::now();
  for (int i = 0; i < queries; ++i) {
    int sub = 0;
    sink += wrap.LineOfRow(static_cast<int>(random() % rows), &sub) + sub;
  }
  const double perQuery = Ms(TClock::now() - q0) * 1e6 / queries;

  std::printf("figure wrap_layout_all %.1f ms\n", Median(switchOn));
  std::printf("figure wrap_keystroke_relayout_median %.1f us\n", Median(keystrokes));
  std::printf("figure wrap_row_to_line %.0f ns\n", perQuery);
  return sink == 42 ? 1 : 0;
}
