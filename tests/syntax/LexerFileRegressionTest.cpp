// Lexer files that once came back different from a save and a load, or
// overflowed while they were read.
#include <gtest/gtest.h>

#include <climits>
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

TEST(LexerFileRegressionTest, AFontSizeTooLargeForAPixelHeightGetsTheLargestCharacterHeight) {
  // 1610612736 points are exactly 2^31 pixels, and 2000000000 points more
  // than an int holds: the height stays a (negative) character height.
  for (const char* size : {"1610612736", "2000000000", "2147483647"}) {
    TSyntAnalyzer analyzer;
    ASSERT_EQ(Load(analyzer, std::string("  Formats = <\r\n    item\r\n      Font.Size = ") + size + "\r\n    end>\r\n"), 0);
    EXPECT_EQ(analyzer.Formats()[0]->Font.Height, INT_MIN) << size;
    EXPECT_EQ(SaveLoadSave(analyzer), analyzer.SaveToText()) << size;
  }
  TSyntAnalyzer analyzer;
  ASSERT_EQ(Load(analyzer, "  Formats = <\r\n    item\r\n      Font.Size = -2147483648\r\n    end>\r\n"), 0);
  EXPECT_EQ(analyzer.Formats()[0]->Font.Height, INT_MAX);
}

}  // namespace
}  // namespace penwick
