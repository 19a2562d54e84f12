// The palette compiled into the program: it is the shipped mis2.lcf, it loads
// without errors, and it changes how tokens look, never what they are.
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

// The token and fold listings of `text` analysed with `analyzer`.
std::string Listings(TSyntAnalyzer& analyzer, const std::string& text) {
  TStringTextSource source(text);
  std::unique_ptr<TClientSyntAnalyzer> client = analyzer.CreateClient(&source, nullptr);
  client->AnalyzeAll();
  return DumpTokens(*client) + "-- folds --\n" + DumpFolds(*client);
}

TEST(MissionPalette, BuiltInTextIsTheShippedLexerFileByteForByte) {
  const std::string shipped = ReadFile(SourceDir() / "themes" / "mis2.lcf");
  ASSERT_FALSE(shipped.empty());
  // A stale or mangled embedding (lost line ends, a cut tail) shows here.
  EXPECT_TRUE(BuiltInLexerFileText() == shipped);
  EXPECT_EQ(BuiltInLexerFileText().size(), shipped.size());
}

TEST(MissionPalette, BuiltInTextLoadsOverTheBuiltInDefinitionWithoutAnyError) {
  TSyntAnalyzer bare;
  BuildMissionLexer(bare);
  TSyntAnalyzer painted;
  BuildMissionLexer(painted);
  std::vector<std::string> errors;
  ASSERT_NO_THROW(painted.LoadFromText(BuiltInLexerFileText(), [&](const std::string& message) {
    errors.push_back(message);
    return true;
  }));
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_NE(painted.SaveToText(), bare.SaveToText()) << "the palette changed nothing";

  // BuildDefaultMissionLexer is exactly that, also over a definition that held something else.
  TSyntAnalyzer built;
  built.SetLexerName("something else");
  BuildDefaultMissionLexer(built);
  EXPECT_EQ(built.SaveToText(), painted.SaveToText());
}

TEST(MissionPalette, GoldenScriptsGetTheSameTokensStylesAndFoldsAsWithTheBareDefinition) {
  TSyntAnalyzer bare;
  BuildMissionLexer(bare);
  TSyntAnalyzer painted;
  BuildDefaultMissionLexer(painted);
  int scripts = 0;
  for (const auto& entry : fs::directory_iterator(SourceDir() / "tests" / "data" / "syntax")) {
    if (entry.path().extension() != ".mis") continue;
    ++scripts;
    const std::string text = ReadFile(entry.path());
    EXPECT_EQ(Listings(painted, text), Listings(bare, text)) << entry.path();
  }
  EXPECT_GE(scripts, 5);
}

}  // namespace
}  // namespace penwick::test
