// The palette compiled into the program: the shipped mis2.lcf, loaded without
// an error, changing how tokens look and never what they are.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "language/MissionLexer.h"
#include "language/MissionPalette.h"
#include "support/TestFiles.h"
#include "syntax/AnalysisDump.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {
namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return fs::path(root ? root : ".");
}

std::string TokensAndFolds(TSyntAnalyzer& analyzer, const std::string& text) {
  TStringTextSource source(text);
  std::unique_ptr<TClientSyntAnalyzer> client = analyzer.CreateClient(&source, nullptr);
  client->AnalyzeAll();
  return DumpTokens(*client) + "-- folds --\n" + DumpFolds(*client);
}

TEST(MissionPalette, IsTheShippedFileAndLoadsWithoutAnyError) {
  EXPECT_TRUE(BuiltInLexerFileText() == ReadFile(SourceDir() / "themes" / "mis2.lcf")) << "a stale or mangled copy";
  TSyntAnalyzer analyzer;
  BuildMissionLexer(analyzer);
  std::vector<std::string> errors;
  analyzer.LoadFromText(BuiltInLexerFileText(), [&](const std::string& message) {
    errors.push_back(message);
    return true;
  });
  EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST(MissionPalette, GoldenScriptsKeepTheirTokensStylesAndFolds) {
  TSyntAnalyzer bare;
  BuildMissionLexer(bare);
  TSyntAnalyzer painted;
  BuildDefaultMissionLexer(painted);
  ASSERT_NE(painted.SaveToText(), bare.SaveToText()) << "the palette changed nothing";
  int scripts = 0;
  for (const auto& entry : fs::directory_iterator(SourceDir() / "tests" / "data" / "syntax")) {
    if (entry.path().extension() != ".mis") continue;
    ++scripts;
    const std::string text = ReadFile(entry.path());
    EXPECT_EQ(TokensAndFolds(painted, text), TokensAndFolds(bare, text)) << entry.path();
  }
  EXPECT_GE(scripts, 5);
}

}  // namespace
}  // namespace penwick::test
