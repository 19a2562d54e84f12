// Lexer files that once came back different from a save and a load.
#include <gtest/gtest.h>

#include <string>

#include "syntax/SyntAnalyzer.h"

namespace penwick {
namespace {

// Loads a lexer file and returns how many lines could not be applied.
int LoadText(TSyntAnalyzer& analyzer, const std::string& text) {
  int errors = 0;
  analyzer.LoadFromText(text, [&errors](const std::string&) {
    ++errors;
    return true;
  });
  return errors;
}

// The same for a file of the property lines `body`.
int Load(TSyntAnalyzer& analyzer, const std::string& body) {
  return LoadText(analyzer, "object syntnlyzr1: TSyntAnalyzer\r\n" + body + "end\r\n");
}

// The text of a definition loaded from the save of `analyzer`.
std::string SaveLoadSave(const TSyntAnalyzer& analyzer) {
  TSyntAnalyzer reloaded;
  EXPECT_EQ(LoadText(reloaded, analyzer.SaveToText()), 0);
  return reloaded.SaveToText();
}

TEST(LexerFileRegressionTest, AStyleWithAnEmptyNameKeepsItThroughASaveAndALoad) {
  TSyntAnalyzer analyzer;
  ASSERT_EQ(Load(analyzer, "  Formats = <\r\n    item\r\n      DisplayName = ''\r\n    end\r\n    item\r\n    end>\r\n"), 0);
  ASSERT_EQ(analyzer.Formats().Count(), 2);
  EXPECT_EQ(analyzer.Formats()[0]->DisplayName(), "");
  EXPECT_EQ(analyzer.Formats()[1]->DisplayName(), "Style 1");

  TSyntAnalyzer reloaded;
  ASSERT_EQ(LoadText(reloaded, analyzer.SaveToText()), 0);
  ASSERT_EQ(reloaded.Formats().Count(), 2);
  EXPECT_EQ(reloaded.Formats()[0]->DisplayName(), "");
  EXPECT_EQ(reloaded.Formats()[1]->DisplayName(), "Style 1");
  EXPECT_EQ(SaveLoadSave(analyzer), analyzer.SaveToText());
}

TEST(LexerFileRegressionTest, ADefinitionWithoutTokenTypeNamesKeepsNoneThroughASaveAndALoad) {
  TSyntAnalyzer analyzer;
  ASSERT_FALSE(analyzer.TokenTypeNames().empty());
  ASSERT_EQ(Load(analyzer, "  TokenTypeNames.Strings = ()\r\n"), 0);
  EXPECT_TRUE(analyzer.TokenTypeNames().empty());

  TSyntAnalyzer reloaded;
  ASSERT_EQ(LoadText(reloaded, analyzer.SaveToText()), 0);
  EXPECT_TRUE(reloaded.TokenTypeNames().empty());
  EXPECT_EQ(SaveLoadSave(analyzer), analyzer.SaveToText());
}

}  // namespace
}  // namespace penwick
