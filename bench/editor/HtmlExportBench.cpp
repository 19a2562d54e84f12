// Figures of the HTML export of a generated 10 MB mission script through
// `penwick-cli export-html` (the whole process: loading, analysis, export,
// writing), beside kate-syntax-highlighter and GNU source-highlight running
// equivalent definitions of the language (mission.xml, mission.lang and
// mission.style beside this file). A tool that is not installed is reported
// and skipped.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "editor/HTMLSyntExport.h"
#include "editor/MemoTextSource.h"
#include "editor/SyntMemoStrings.h"
#include "language/MissionLexer.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"

namespace {

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

constexpr std::size_t kScriptBytes = 10u * 1000u * 1000u;
constexpr int kRounds = 3;

// Varied content of a real script: declarations, commands, conditions,
// comments of both kinds, preprocessor lines, strings, numbers of each kind.
void WriteScript(const fs::path& path) {
  static const char* const lines[] = {
      "// Mission %d: escort the convoy to the docks",
      "PLAYER_PED p%d = ( 127.5 , 127.5 , 255.0 ) 25 180",
      "CAR_DATA car_%d = ( 130.5 , 130.5 , 255.0 ) 0 180 TAXI",
      "PARKED_CAR_DATA parked_%d = ( 128.5 , 127.5 , 255.0 ) 02 180 VTYPE",
      "COUNTER loop_%d = 1",
      "GENERATOR rocket%d = (128.5,128.5) 0 COLLECT_02 0 0 99",
      "#ifdef HARD_%d",
      "    SET_CAR_BULLETPROOF ( car_1 , ON )  // armour on hard",
      "#endif",
      "/* block comment %d",
      "   spanning two lines with <angle> & ampersand */",
      "LEVELSTART",
      "WHILE_EXEC ( loop_%d = 1 )",
      "    IF ( IS_CAR_WRECKED ( car_1 ) ) THEN",
      "        DISPLAY_MESSAGE ( %d )",
      "        SET loop_1 = 0",
      "    ELSE",
      "        ADD_SCORE ( p1 , 10 ) 'a string here' $1A0 #13 1.5e-3",
      "    ENDIF",
      "ENDWHILE",
      "LEVELEND",
      "",
  };
  constexpr int kCount = sizeof(lines) / sizeof(lines[0]);
  std::ofstream out(path, std::ios::binary);
  std::string chunk;
  std::size_t written = 0;
  char line[256];
  for (int i = 0; written < kScriptBytes; ++i) {
    const int n = std::snprintf(line, sizeof line, lines[i % kCount], i);
    chunk.append(line, static_cast<std::size_t>(n));
    chunk += "\r\n";
    if (chunk.size() >= (1u << 20) || written + chunk.size() >= kScriptBytes) {
      out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      written += chunk.size();
      chunk.clear();
    }
  }
}

struct TResult {
  double Seconds = 0;  // best of the rounds
  long PeakRssKiB = 0;  // of the best round's child
};

// Runs `args` with `env` added, output to /dev/null; nothing when it cannot
// start or fails.
std::optional<TResult> RunOnce(const std::vector<std::string>& args, const std::vector<std::string>& env) {
  const TClock::time_point start = TClock::now();
  const pid_t pid = ::fork();
  if (pid < 0) return std::nullopt;
  if (pid == 0) {
    for (const std::string& e : env) ::putenv(const_cast<char*>(e.c_str()));
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::dup2(null, 2);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (::wait4(pid, &status, 0, &usage) != pid) return std::nullopt;
  const double seconds = std::chrono::duration<double>(TClock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return TResult{seconds, usage.ru_maxrss};
}

std::optional<TResult> Best(const char* name, const std::vector<std::string>& args,
                            const std::vector<std::string>& env = {}) {
  std::optional<TResult> best;
  for (int round = 0; round < kRounds; ++round) {
    const std::optional<TResult> r = RunOnce(args, env);
    if (!r) {
      std::printf("skipped %s: it did not run (not installed, or it failed)\n", name);
      return std::nullopt;
    }
    if (!best || r->Seconds < best->Seconds) best = r;
  }
  return best;
}

double Since(TClock::time_point start) { return std::chrono::duration<double>(TClock::now() - start).count(); }

// The phases of our export in this process, best of the rounds each: where
// the time of the whole process goes.
void PrintPhases(const fs::path& script) {
  double load = 1e9, analysis = 1e9, exporting = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    penwick::TSyntMemoStrings lines;
    TClock::time_point start = TClock::now();
    lines.LoadFromFile(script.string());
    load = std::min(load, Since(start));
    penwick::TSyntAnalyzer analyzer;
    penwick::BuildMissionLexer(analyzer);
    penwick::TMemoTextSource source(lines);
    auto client = analyzer.CreateClient(&source, nullptr);
    start = TClock::now();
    client->AnalyzeTo(static_cast<std::size_t>(lines.TextLength()));
    analysis = std::min(analysis, Since(start));
    penwick::THTMLSyntExport exporter;
    exporter.SetSyntMemo(penwick::TExportSource{&lines, client.get(), {}, 0});
    start = TClock::now();
    exporter.ExportAll();
    exporting = std::min(exporting, Since(start));
  }
  std::printf("figure html_export_phase_load_seconds %.3f s\n", load);
  std::printf("figure html_export_phase_analysis_seconds %.3f s\n", analysis);
  std::printf("figure html_export_phase_export_seconds %.3f s\n", exporting);
}

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / ("penwick-html-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path script = dir / "big.mis";
  WriteScript(script);
  const double scriptBytes = static_cast<double>(fs::file_size(script));
  const fs::path data = PENWICK_BENCH_DATA;

  // Ours.
  const std::optional<TResult> ours =
      Best("penwick-cli", {PENWICK_CLI, "export-html", script.string(), (dir / "ours.html").string()});
  if (!ours) {
    fs::remove_all(dir);
    return 1;
  }
  std::printf("figure html_export_10mb_seconds %.3f s\n", ours->Seconds);
  std::printf("figure html_export_peak_rss_ratio %.2f x\n", ours->PeakRssKiB * 1024.0 / scriptBytes);

  PrintPhases(script);

  // kate-syntax-highlighter finds syntax files in the data folders only.
  const fs::path syntaxDir = dir / "xdg" / "org.kde.syntax-highlighting" / "syntax";
  fs::create_directories(syntaxDir);
  fs::copy_file(data / "mission.xml", syntaxDir / "mission.xml");
  const std::optional<TResult> kate =
      Best("kate-syntax-highlighter",
           {"kate-syntax-highlighter", "-s", "Varnok Mission", "-f", "html", "-o", (dir / "kate.html").string(),
            script.string()},
           {"XDG_DATA_HOME=" + (dir / "xdg").string(), "QT_QPA_PLATFORM=offscreen"});
  if (kate) std::printf("figure kate_syntax_highlighter_10mb_seconds %.3f s\n", kate->Seconds);

  const std::optional<TResult> gnu =
      Best("source-highlight", {"source-highlight", "--lang-def=" + (data / "mission.lang").string(),
                                "--style-file=" + (data / "mission.style").string(), "-f", "html", "-i",
                                script.string(), "-o", (dir / "gnu.html").string()});
  if (gnu) std::printf("figure source_highlight_10mb_seconds %.3f s\n", gnu->Seconds);

  double fastest = 0;
  for (const auto& other : {kate, gnu})
    if (other && (fastest == 0 || other->Seconds < fastest)) fastest = other->Seconds;
  if (fastest > 0) std::printf("figure html_export_speedup_vs_fastest %.2f x\n", fastest / ours->Seconds);
  fs::remove_all(dir);
  return 0;
}
