// Lexer files that once came back different from a save and a load, broke a
// load, or took far too long to load.
#include <gtest/gtest.h>

#include <chrono>
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

// A long string in the text form: quoted parts of 60 characters joined by '+'.
std::string StringValue(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); i += 60) out += (i ? " +\r\n    '" : "\r\n    '") + text.substr(i, 60) + "'";
  return out;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The limit is generous: these loads take a fraction of a second, a few
// seconds under the sanitizers; the faults it guards against made each of
// them take minutes.
constexpr double kSlowLoadSeconds = 20;

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

TEST(LexerFileRegressionTest, GrammarGroupsNestedTooDeepEndTheGrammarNotTheProgram) {
  TSyntAnalyzer analyzer;
  const std::string deep = "Root = \"a\"; Deep = " + std::string(100000, '(') + "\"b\"" + std::string(100000, ')') + ";";
  ASSERT_EQ(Load(analyzer, "  Gramma.Gramma =" + StringValue(deep) + "\r\n"), 0);
  EXPECT_EQ(analyzer.Gramma().RuleCount(), 1);
  EXPECT_NE(analyzer.Gramma().RootRule(), nullptr);
  EXPECT_EQ(analyzer.Gramma().RuleByName("Deep"), nullptr);
  EXPECT_EQ(SaveLoadSave(analyzer), analyzer.SaveToText());

  // Up to the limit, groups nest as written.
  const int limit = TGrammaAnalyzer::kMaxGroupDepth;
  analyzer.SetGrammaText("Root = " + std::string(limit, '(') + "\"a\"" + std::string(limit, ')') + ";");
  EXPECT_EQ(analyzer.Gramma().RuleCount(), 1);
  analyzer.SetGrammaText("Root = " + std::string(limit + 1, '(') + "\"a\"" + std::string(limit + 1, ')') + ";");
  EXPECT_EQ(analyzer.Gramma().RuleCount(), 0);
}

TEST(LexerFileRegressionTest, AGrammarOfManyRulesLoadsInLinearTime) {
  // Each rule names the next: every name is looked up once.
  std::string gramma;
  const int rules = 200000;
  for (int i = 0; i < rules; ++i) gramma += "r" + std::to_string(i) + " = r" + std::to_string(i + 1) + ";";
  TSyntAnalyzer analyzer;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Load(analyzer, "  Gramma.Gramma =" + StringValue(gramma) + "\r\n"), 0);
  EXPECT_LT(SecondsSince(start), kSlowLoadSeconds);
  ASSERT_EQ(analyzer.Gramma().RuleCount(), rules);
  EXPECT_EQ(analyzer.Gramma().RuleAt(0)->Branches[0]->Items[0].Rule, analyzer.Gramma().RuleAt(1));
  EXPECT_EQ(analyzer.Gramma().RuleByName("R199999"), analyzer.Gramma().RuleAt(rules - 1));
}

TEST(LexerFileRegressionTest, ALoadCompilesTheGrammarOnceHoweverOftenTheTokenTypesAreNamed) {
  std::string gramma;
  for (int i = 0; i < 20000; ++i) gramma += "r" + std::to_string(i) + " = <Identifier> r" + std::to_string(i + 1) + ";";
  std::string body = "  Gramma.Gramma =" + StringValue(gramma) + "\r\n";
  for (int i = 0; i < 15000; ++i) body += "  TokenTypeNames.Strings = ('Unknown' 'Identifier')\r\n";
  TSyntAnalyzer analyzer;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Load(analyzer, body), 0);
  EXPECT_LT(SecondsSince(start), kSlowLoadSeconds);
  // Compiled at the end, with the names as they were then.
  ASSERT_EQ(analyzer.Gramma().RuleCount(), 20000);
  EXPECT_EQ(analyzer.Gramma().RuleAt(0)->Branches[0]->Items[0].TokenType, 1);
}

}  // namespace
}  // namespace penwick
