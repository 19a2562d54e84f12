// Figures of the settings file: what start-up spends reading it and shut-down
// writing it (every key a write of its own, each flushed to disk), for the
// usual small file and for one that carries 100,000 keys of other programs.
#include "app/MRUfiles.h"
#include "app/SettingsFile.h"
#include "platform/IniFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using namespace penwick;
using TClock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Ms(TClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Start-up's reads: the capacity, the list, then every key.
double StartUp(const std::string& file) {
  const auto start = TClock::now();
  const TIniFile ini(file);
  TMRUFiles recent;
  recent.SetMaxEntries(ReadMaxMru(ini));
  recent.LoadFromIni(file, "HISTORY");
  const TEditorSettings settings = ReadEditorSettings(ini, TEditorSettings{});
  const double ms = Ms(TClock::now() - start);
  if (settings.TabW != 5 || recent.Count() != 9) std::printf("unexpected settings read back\n");
  return ms;
}

// Shut-down's writes: the list, then every key.
double ShutDown(const std::string& file) {
  TMRUFiles recent;
  for (int i = 9; i >= 1; --i) recent.AddFile("/home/author/missions/level" + std::to_string(i) + ".mis");
  const auto start = TClock::now();
  TIniFile ini(file);
  recent.SaveToIni(file, "HISTORY");
  WriteEditorSettings(ini, TEditorSettings{});
  return Ms(TClock::now() - start);
}

void Measure(const char* name, const std::string& file, const std::string& otherKeys) {
  std::vector<double> reads, writes;
  for (int round = 0; round < 7; ++round) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << otherKeys;
    writes.push_back(ShutDown(file));
    reads.push_back(StartUp(file));
  }
  std::printf("figure settings_shutdown_write%s %.1f ms\n", name, Median(writes));
  std::printf("figure settings_startup_read%s %.2f ms\n", name, Median(reads));
}

}  // namespace

int main() {
  const fs::path folder = fs::temp_directory_path() / ("penwick-settings-bench-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string file = (folder / "penwick.ini").string();
  Measure("", file, "");
  std::string otherKeys = "[Other]\n";
  for (int i = 0; i < 100000; ++i) otherKeys += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  std::printf("file with other keys: %.1f MB\n", otherKeys.size() / 1e6);
  Measure("_100k_keys", file, otherKeys);
  fs::remove_all(folder);
  return 0;
}
