// Figures of the editor view on a 1,000,000-line, 50 MB mission script: opening to the first painted screen, a repaint, scrolling, a keystroke, Ctrl+End right after opening, and word wrap.
//
// The widget is driven the way the main window drives it: configured as the
// main window's form configures it (word wrap on, gutter, line numbers), one
// mission lexer built once and bound to the editor, the file read by the store's
// LoadFromFile, then the window painted. Painting is forced synchronously
// (viewport()->repaint()), so every figure includes it; a paint counter
// checks that a paint really happened. Runs offscreen.
//
// `bench_editor_view --write <path>` only writes the script, for profiling
// the program itself on it.
#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "editor/QtFormSettings.h"
#include "editor/SyntaxMemo.h"
#include "language/MissionLexer.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"

namespace {

using namespace penwick;
using TClock = std::chrono::steady_clock;

constexpr int kLines = 1000000;
constexpr std::size_t kTargetBytes = 50'000'000;

double Millis(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A script the way authors write them: object declarations, then commands
// in loops and conditions, comments, and conditional blocks, indented, with
// numbered names. Short lines get a trailing comment now and then, so the
// lines average about 50 bytes (CR LF included).
std::string MakeScript(int lineCount) {
  static const char* const kShapes[] = {
      "GENERATOR rocket%d = (128.5,128.5) 0 COLLECT_02 0 0 99",
      "PLAYER_PED p%d = ( 127.5 , 127.5 , 255.0 ) 25 180",
      "PARKED_CAR_DATA car_%d = ( 128.5 , 127.5 , 255.0 ) 02 180 VTYPE",
      "COUNTER loop%d = 1",
      "// Note: this respawns instantly and gives maximum ammo (%d).",
      "SET_AMBIENT_LEVEL (0.75, 0) // use smaller first value when you add lights",
      "DECLARE_POLICELEVEL (4) // SWAT; 5 = FBI; 6 = Army",
      "WHILE_EXEC ( loop%d = 1 )",
      "     IF ( IS_CHARACTER_IN_CAR ( p1 , car_%d ) ) THEN",
      "          DISPLAY_BRIEF ( 1%d )",
      "          SET loop%d = 0",
      "     ENDIF",
      "     DO_NOWT",
      "ENDWHILE",
      "#ifdef PSX",
      "SWITCH_GENERATOR (rocket%d, ON )",
      "#endif",
      "/* wave %d of the attack */",
      "",
      "LEVELSTART",
  };
  static const char* const kComments[] = {" // check the car first", " // the main loop", " // wave",
                                          " // TODO: tune"};
  std::string text;
  text.reserve(kTargetBytes + 1024);
  std::mt19937 rng(11);
  char buffer[200];
  for (int i = 0; i < lineCount; ++i) {
    const char* shape = kShapes[rng() % (sizeof kShapes / sizeof kShapes[0])];
    std::snprintf(buffer, sizeof buffer, shape, static_cast<int>(rng() % 1000));
    std::string line = buffer;
    // Keep the running average near the target.
    const std::size_t want = kTargetBytes / static_cast<std::size_t>(kLines) * static_cast<std::size_t>(i + 1);
    while (text.size() + line.size() + 2 < want && line.size() < 110 && !line.empty()) line += kComments[rng() % 4];
    text += line;
    if (i + 1 < lineCount) text += "\r\n";
  }
  return text;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// The editor as the main window holds it, with a paint counter.
class TBenchMemo : public TSyntaxMemo {
public:
  int Paints = 0;

protected:
  void paintEvent(QPaintEvent* event) override {
    TSyntaxMemo::paintEvent(event);
    ++Paints;
  }
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

class TBench {
public:
  TBench() {
    BuildMissionLexer(m_lexer);
    ApplyFormSettings(m_memo);
    m_memo.resize(760, 420);
    m_memo.SetSyntaxAnalyzer(&m_lexer);
    m_memo.show();
    QApplication::processEvents();
  }

  // The file loaded and the first screen painted, synchronously.
  double Open(const std::string& path) {
    const int paints = m_memo.Paints;
    const auto start = TClock::now();
    m_memo.Lines().LoadFromFile(path);
    m_memo.setFocus();
    m_memo.SetModified(false);
    Paint();
    const double ms = Millis(TClock::now() - start);
    Check(paints);
    return ms;
  }

  double Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    const int paints = m_memo.Paints;
    const auto start = TClock::now();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&m_memo, &press);
    Paint();
    const double ms = Millis(TClock::now() - start);
    Check(paints);
    return ms;
  }

  double Repaint() {
    const int paints = m_memo.Paints;
    const auto start = TClock::now();
    Paint();
    const double ms = Millis(TClock::now() - start);
    Check(paints);
    return ms;
  }

  double ScrollPage() {
    const int paints = m_memo.Paints;
    const auto start = TClock::now();
    m_memo.SetTopLine(m_memo.TopLine() + m_memo.VisibleLineCount());
    Paint();
    const double ms = Millis(TClock::now() - start);
    Check(paints);
    return ms;
  }

  // Word wrap switched on from off: the whole text laid out again, and painted.
  double WordWrapOn() {
    m_memo.SetWordWrap(false);
    Paint();
    const int paints = m_memo.Paints;
    const auto start = TClock::now();
    m_memo.SetWordWrap(true);
    Paint();
    const double ms = Millis(TClock::now() - start);
    Check(paints);
    return ms;
  }

  // The whole text analysed, its foldable ranges known to the gutter.
  void AnalyzeAll() {
    TClientSyntAnalyzer& client = *m_memo.SyntClient();
    client.AnalyzeAll();
    while (client.FinishingPending()) QApplication::processEvents(QEventLoop::AllEvents, 10);
  }

  TBenchMemo& Memo() { return m_memo; }

private:
  void Paint() { m_memo.viewport()->repaint(); }
  void Check(int paintsBefore) {
    if (m_memo.Paints == paintsBefore) {
      std::fprintf(stderr, "no paint happened: the figures would not include painting\n");
      std::exit(1);
    }
  }

  TSyntAnalyzer m_lexer;
  TBenchMemo m_memo;
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
    WriteFile(argv[2], MakeScript(kLines));
    return 0;
  }
  QApplication app(argc, argv);
  QTemporaryDir folder;
  const std::string big = folder.filePath("big.mis").toStdString();
  const std::string small = folder.filePath("small.mis").toStdString();
  {
    const std::string text = MakeScript(kLines);
    WriteFile(big, text);
    std::printf("script: %.1f MB, %d lines\n", static_cast<double>(text.size()) / 1e6, kLines);
  }
  WriteFile(small, "COUNTER loop = 1\r\nLEVELSTART\r\n");

  std::vector<std::string> figures;
  auto figure = [&figures](const char* name, double value, const char* unit) {
    char line[128];
    std::snprintf(line, sizeof line, "figure %s %.2f %s", name, value, unit);
    figures.emplace_back(line);
    std::printf("%s\n", line);
    std::fflush(stdout);
  };

  TBench bench;
  // Opening, and Ctrl+End right after it: three fresh opens each (the file
  // is in the page cache after the first). The small script shows what
  // opening costs apart from the text.
  std::vector<double> opens, ends, smallOpens;
  for (int i = 0; i < 3; ++i) {
    smallOpens.push_back(bench.Open(small));
    opens.push_back(bench.Open(big));
    ends.push_back(bench.Key(Qt::Key_End, Qt::ControlModifier));
  }
  figure("view_open_small_first_screen", Median(smallOpens), "ms");
  figure("view_open_first_screen", Median(opens), "ms");
  figure("view_ctrl_end_after_open", Median(ends), "ms");

  // The rest from a fresh open, at the top.
  bench.Open(big);
  std::vector<double> repaints;
  for (int i = 0; i < 100; ++i) repaints.push_back(bench.Repaint());
  figure("view_repaint_median", Median(repaints), "ms");

  bench.Memo().SetCaretPos(0, 0);
  std::vector<double> keys;
  for (int i = 0; i < 100; ++i) keys.push_back(bench.Key(Qt::Key_X, Qt::NoModifier, "x"));
  figure("view_keystroke_top_median", Median(keys), "ms");
  figure("view_keystroke_top_max", *std::max_element(keys.begin(), keys.end()), "ms");

  std::vector<double> pages;
  for (int i = 0; i < 100; ++i) pages.push_back(bench.ScrollPage());
  figure("view_scroll_page_median", Median(pages), "ms");
  figure("view_scroll_page_max", *std::max_element(pages.begin(), pages.end()), "ms");

  figure("view_word_wrap_on", bench.WordWrapOn(), "ms");

  // At the end of a fully analysed text the gutter asks every visible line
  // for its folding state among all the foldable ranges above it.
  bench.AnalyzeAll();
  bench.Key(Qt::Key_End, Qt::ControlModifier);
  std::vector<double> endRepaints;
  for (int i = 0; i < 100; ++i) endRepaints.push_back(bench.Repaint());
  figure("view_repaint_end_analysed_median", Median(endRepaints), "ms");
  return 0;
}
