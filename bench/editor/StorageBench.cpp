// Figures of the text store on a large script: load and save speed, the cost
// of one keystroke at the start, middle and end, undo, and peak memory.
#include "editor/MemoEditor.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace penwick;
using TClock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kLines = 1000000;
constexpr int kLineBytes = 50;  // with CR LF: 50,000,000 bytes in all
constexpr int kKeystrokes = 1000;

double Seconds(TClock::duration d) { return std::chrono::duration<double>(d).count(); }

long PeakRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Writes the script in pieces so the generator itself holds little memory.
void WriteScript(const std::string& path) {
  static const char* const words[] = {"CreateObject Tank", "SetTrigger Zone", "#ifdef HARD", "Waypoint Path",
                                      "// patrol route", "IsAlive Commander", "#endif", "MoveTo Group"};
  std::ofstream out(path, std::ios::binary);
  std::string chunk;
  chunk.reserve(1 << 20);
  for (int i = 0; i < kLines; ++i) {
    std::string line = std::string(words[i % 8]) + " " + std::to_string(i % 977) + " " + std::to_string(i);
    line.resize(kLineBytes - 2, ' ');
    chunk += line;
    chunk += "\r\n";
    if (chunk.size() >= (1u << 20)) {
      out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      chunk.clear();
    }
  }
  out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

struct TTiming {
  double median = 0;
  double p99 = 0;
  double max = 0;
};

TTiming TypeAt(TMemoEditor& editor, int offset) {
  editor.SetCaretStrPos(offset);
  std::vector<double> micros;
  micros.reserve(kKeystrokes);
  for (int i = 0; i < kKeystrokes; ++i) {
    const char* key = i % 50 == 49 ? "\r\n" : "x";
    const auto start = TClock::now();
    editor.InsertText(key);
    micros.push_back(Seconds(TClock::now() - start) * 1e6);
  }
  std::sort(micros.begin(), micros.end());
  return TTiming{micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back()};
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("penwick-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string script = (folder / "big.mis").string();
  const std::string saved = (folder / "saved.mis").string();
  WriteScript(script);
  const double fileBytes = static_cast<double>(fs::file_size(script));
  const double megabytes = fileBytes / 1e6;
  const long baseRss = PeakRssKiB();

  TMemoEditor editor;
  long changes = 0;
  editor.OnTextChanged = [&](int, int, int) { ++changes; };
  editor.SetUndoLimit(0);  // keep every keystroke undoable

  auto start = TClock::now();
  editor.Lines().LoadFromFile(script);
  const double loadSeconds = Seconds(TClock::now() - start);
  editor.SetModified(false);
  std::printf("text: %.1f MB, %d lines\n", megabytes, editor.Lines().Count());
  std::printf("load: %.0f MB/s (%.1f ms)\n", megabytes / loadSeconds, loadSeconds * 1e3);
  std::printf("figure storage_load_speed %.0f MB/s\n", megabytes / loadSeconds);

  struct {
    const char* name;
    int offset;
  } places[] = {{"start", 0}, {"middle", editor.Lines().LineStart(kLines / 2) + 7}, {"end", -1}};
  for (auto& place : places) {
    const int offset = place.offset < 0 ? editor.Lines().TextLength() : place.offset;
    const TTiming t = TypeAt(editor, offset);
    std::printf("keystroke at %-6s: median %.2f us, p99 %.2f us, max %.2f us\n", place.name, t.median, t.p99,
                t.max);
    std::printf("figure storage_keystroke_%s_median %.2f us\nfigure storage_keystroke_%s_p99 %.2f us\n", place.name,
                t.median, place.name, t.p99);
  }
  std::printf("change notifications: %ld\n", changes);

  start = TClock::now();
  int undoSteps = 0;
  while (editor.CanUndo()) {
    editor.Undo();
    ++undoSteps;
  }
  std::printf("undo of %d keystrokes: %d steps, %.2f ms\n", 3 * kKeystrokes, undoSteps,
              Seconds(TClock::now() - start) * 1e3);

  start = TClock::now();
  editor.Lines().SaveToFile(saved);
  const double saveSeconds = Seconds(TClock::now() - start);
  std::printf("save: %.0f MB/s (%.1f ms)\n", megabytes / saveSeconds, saveSeconds * 1e3);
  std::printf("figure storage_save_speed %.0f MB/s\n", megabytes / saveSeconds);
  const bool same = fs::file_size(saved) == fs::file_size(script);
  std::printf("saved file %s the original size\n", same ? "has" : "DOES NOT have");

  const long peak = PeakRssKiB();
  std::printf("peak RSS: %.1f MB (%.2fx the file; %.1f MB before loading)\n", peak * 1024.0 / 1e6,
              peak * 1024.0 / fileBytes, baseRss * 1024.0 / 1e6);
  std::printf("figure storage_peak_rss_ratio %.2f x\n", peak * 1024.0 / fileBytes);
  fs::remove_all(folder);
  return same ? 0 : 1;
}
