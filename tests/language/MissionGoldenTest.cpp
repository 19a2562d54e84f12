// Golden files: the token and fold listings of the scripts in tests/data/syntax against their expected outputs.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "MissionAnalysisSupport.h"
#include "syntax/AnalysisDump.h"
#include "support/TestFiles.h"

namespace penwick::test {
namespace {

namespace fs = std::filesystem;

fs::path DataDir() {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return fs::path(root ? root : ".") / "tests" / "data" / "syntax";
}

using test::ReadFile;

// On a mismatch, the unified diff of expected against actual.
std::string Diff(const fs::path& expected, const std::string& actual) {
  const fs::path actualPath = fs::temp_directory_path() / (expected.filename().string() + ".actual");
  std::ofstream(actualPath, std::ios::binary) << actual;
  std::string command = "diff -u '" + expected.string() + "' '" + actualPath.string() + "' 2>&1";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

TEST(MissionGolden, EveryScriptMatchesItsListings) {
  int scripts = 0;
  for (const auto& entry : fs::directory_iterator(DataDir())) {
    if (entry.path().extension() != ".mis") continue;
    ++scripts;
    TMissionAnalysis a(ReadFile(entry.path()));
    a.Client->AnalyzeAll();
    ASSERT_TRUE(a.Client->CheckInvariants().empty()) << a.Client->CheckInvariants();
    const std::pair<const char*, std::string> listings[] = {{".tokens", DumpTokens(*a.Client)}, {".folds", DumpFolds(*a.Client)}};
    for (const auto& [extension, actual] : listings) {
      fs::path expected = entry.path();
      expected.replace_extension(extension);
      ASSERT_TRUE(fs::exists(expected)) << expected << " is missing; run tests/data/syntax/regenerate.sh";
      EXPECT_EQ(ReadFile(expected), actual) << Diff(expected, actual);
    }
  }
  EXPECT_GE(scripts, 5);
}

}  // namespace
}  // namespace penwick::test
