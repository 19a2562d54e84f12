// Lexer files that once came back different from a save and a load, broke a
// load or the analysis, or took far too long to load.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "syntax/AnalysisTestSupport.h"
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

// The large loads below took minutes before their faults were mended and
// take a fraction of a second now; a relapse shows as a test that runs into
// the test runner's time limit. Their figures are not asserted here.

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

TEST(LexerFileRegressionTest, ADefinitionWithoutAMarkedBlockStyleKeepsNoneThroughASaveAndALoad) {
  // A new definition has a style "Marked block"; the file sets no style (a
  // name that finds none, or none at all) for the marked block.
  for (const char* name : {"'no such style'", "''"}) {
    TSyntAnalyzer analyzer;
    ASSERT_EQ(Load(analyzer, std::string("  MarkedBlockStyle = ") + name + "\r\n"), 0);
    ASSERT_NE(analyzer.Formats().Find(TSyntAnalyzer::kMarkedBlockStyleName), nullptr);
    EXPECT_EQ(analyzer.MarkedBlock(), nullptr);

    TSyntAnalyzer reloaded;
    ASSERT_EQ(LoadText(reloaded, analyzer.SaveToText()), 0);
    EXPECT_EQ(reloaded.MarkedBlock(), nullptr) << name;
    EXPECT_EQ(SaveLoadSave(analyzer), analyzer.SaveToText());
  }
  // Styles without one of that name: a load finds none anyway, so none is written.
  TSyntAnalyzer analyzer;
  ASSERT_EQ(Load(analyzer, "  Formats = <\r\n    item\r\n      DisplayName = 'Text'\r\n    end>\r\n"), 0);
  EXPECT_EQ(analyzer.MarkedBlock(), nullptr);
  EXPECT_EQ(analyzer.SaveToText().find("MarkedBlockStyle"), std::string::npos);
}

TEST(LexerFileRegressionTest, AFontSizeReadsBackAsTheSizeItsHeightGives) {
  // Only the height is written; the size read must be the one it gives.
  for (const char* size : {"10", "11", "0", "-5", "2000000000"}) {
    TSyntAnalyzer analyzer;
    ASSERT_EQ(Load(analyzer, std::string("  Formats = <\r\n    item\r\n      Font.Size = ") + size + "\r\n    end>\r\n"), 0);
    TSyntAnalyzer reloaded;
    ASSERT_EQ(LoadText(reloaded, analyzer.SaveToText()), 0);
    EXPECT_EQ(reloaded.Formats()[0]->Font.Height, analyzer.Formats()[0]->Font.Height) << size;
    EXPECT_EQ(reloaded.Formats()[0]->Font.Size, analyzer.Formats()[0]->Font.Size) << size;
  }
  TSyntAnalyzer analyzer;
  ASSERT_EQ(Load(analyzer, "  Formats = <\r\n    item\r\n      Font.Size = 11\r\n    end\r\n"
                           "    item\r\n      Font.Size = -5\r\n    end>\r\n"),
            0);
  EXPECT_EQ(analyzer.Formats()[0]->Font.Size, 11);
  EXPECT_EQ(analyzer.Formats()[0]->Font.Height, -15);
  EXPECT_EQ(analyzer.Formats()[1]->Font.Size, 5);
  EXPECT_EQ(analyzer.Formats()[1]->Font.Height, 7);
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

TEST(LexerFileRegressionTest, AGrammarChainingThousandsOfRulesIsReportedByTheAnalysisNotTheStack) {
  // r0 = r1; r1 = r2; ... names its way down to "x": matching r0 backwards
  // tries every rule of the chain at once.
  auto chain = [](int rules) {
    std::string gramma;
    for (int i = 0; i < rules; ++i) gramma += "r" + std::to_string(i) + " = r" + std::to_string(i + 1) + ";";
    return gramma + "r" + std::to_string(rules) + " = \"x\";";
  };
  auto analyse = [&chain](int rules, std::vector<std::string>& reported) {
    TSyntAnalyzer analyzer;
    EXPECT_EQ(Load(analyzer,
                   "  TokenRules = <\r\n    item\r\n      Expression = '\\w+'\r\n      TokenType = 2\r\n    end>\r\n"
                   "  BlockRules = <\r\n    item\r\n      BlockType = btTagDetect\r\n      GrammaRuleName = 'r0'\r\n"
                   "      TokenType = 5\r\n    end>\r\n"
                   "  Gramma.Gramma =" + StringValue(chain(rules)) + "\r\n"),
              0);
    test::TRun run(analyzer, "x");
    run.Client->SetErrorHandler([&reported](const std::exception& e) { reported.push_back(e.what()); });
    run.Client->AnalyzeAll();
    EXPECT_EQ(run.Client->TokenCount(), 1);
    return run.Client->TokenCount() == 1 ? run.Client->Token(0).TokenType : -1;
  };
  std::vector<std::string> reported;
  EXPECT_EQ(analyse(100000, reported), 2);
  ASSERT_FALSE(reported.empty());
  EXPECT_EQ(reported.front(), "Grammar rules nested too deep");

  // A chain within the limit matches (and the block rule retypes the token).
  reported.clear();
  EXPECT_EQ(analyse(static_cast<int>(TGrammaAnalyzer::kMaxMatchDepth) - 2, reported), 5);
  EXPECT_TRUE(reported.empty());
}

TEST(LexerFileRegressionTest, AGrammarOfManyRulesLoadsInLinearTime) {
  // Each rule names the next: every name is looked up once.
  std::string gramma;
  const int rules = 200000;
  for (int i = 0; i < rules; ++i) gramma += "r" + std::to_string(i) + " = r" + std::to_string(i + 1) + ";";
  TSyntAnalyzer analyzer;
  ASSERT_EQ(Load(analyzer, "  Gramma.Gramma =" + StringValue(gramma) + "\r\n"), 0);
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
  ASSERT_EQ(Load(analyzer, body), 0);
  // Compiled at the end, with the names as they were then.
  ASSERT_EQ(analyzer.Gramma().RuleCount(), 20000);
  EXPECT_EQ(analyzer.Gramma().RuleAt(0)->Branches[0]->Items[0].TokenType, 1);
}

TEST(LexerFileRegressionTest, AConditionWhoseCaseRuleIsSetOnManyLinesLoadsInLinearTime) {
  const int tags = 20000;
  std::string body = "  BlockRules = <\r\n    item\r\n      ConditionList = <\r\n        item\r\n          TagList.Strings = (";
  for (int i = 0; i < tags; ++i) body += "\r\n            't" + std::to_string(i) + "'";
  body += ")\r\n";
  for (int i = 0; i < tags; ++i) body += i % 2 ? "          IgnoreCase = False\r\n" : "          IgnoreCase = True\r\n";
  body += "        end>\r\n    end>\r\n";
  TSyntAnalyzer analyzer;
  ASSERT_EQ(Load(analyzer, body), 0);
  const TSingleTagCondition& condition = *analyzer.BlockRules()[0]->ConditionList()[0];
  EXPECT_FALSE(condition.IgnoreCase());
  EXPECT_EQ(condition.TagList().size(), static_cast<std::size_t>(tags));
  EXPECT_TRUE(condition.Test("t123", 0));

  // The tags are sorted and made unique once, under the case rule set last.
  TSyntAnalyzer flipped;
  ASSERT_EQ(Load(flipped,
                 "  BlockRules = <\r\n    item\r\n      ConditionList = <\r\n        item\r\n"
                 "          TagList.Strings = ('b' 'A' 'a')\r\n          IgnoreCase = True\r\n          IgnoreCase = False\r\n"
                 "        end\r\n        item\r\n"
                 "          TagList.Strings = ('b' 'A' 'a')\r\n          IgnoreCase = True\r\n"
                 "        end>\r\n    end>\r\n"),
            0);
  EXPECT_EQ(flipped.BlockRules()[0]->ConditionList()[0]->TagList(), (std::vector<std::string>{"A", "a", "b"}));
  EXPECT_EQ(flipped.BlockRules()[0]->ConditionList()[1]->TagList(), (std::vector<std::string>{"A", "b"}));
  EXPECT_TRUE(flipped.BlockRules()[0]->ConditionList()[1]->Test("B", 0));
}

TEST(LexerFileRegressionTest, CollectionsOfManyItemsLoadInLinearTime) {
  // Ten thousand styles and token rules; block rules replaced thirty times,
  // each time dropping every reference to the old ones; and rules whose
  // references find nothing.
  const int items = 10000;
  std::string body = "  Formats = <\r\n";
  for (int i = 0; i < items; ++i) body += "    item DisplayName = 'S" + std::to_string(i) + "' end\r\n";
  body += "  >\r\n  TokenRules = <\r\n";
  for (int i = 0; i < items; ++i) body += "    item StyleName = 'S" + std::to_string(items - 1) + "' BlockName = 'none' end\r\n";
  body += "  >\r\n";
  const int replacements = 30;
  for (int k = 0; k < replacements; ++k) {
    body += "  BlockRules = <\r\n";
    for (int i = 0; i < items; ++i)
      body += k < replacements - 1 ? "    item end\r\n"
                     : "    item StyleName = 'none' BlockName = 'none' BlockEnd = 'none' TreeItemStyle = 'none' TreeGroupStyle = 'none' end\r\n";
    body += "  >\r\n";
  }
  TSyntAnalyzer analyzer;
  ASSERT_EQ(Load(analyzer, body), 0);
  ASSERT_EQ(analyzer.BlockRules().Count(), items);
  EXPECT_EQ(analyzer.TokenRules()[items - 1]->Style(), analyzer.Formats()[items - 1]);
  EXPECT_EQ(analyzer.TokenRules()[items - 1]->Block(), nullptr);
  EXPECT_EQ(analyzer.BlockRules()[items - 1]->DisplayName(), "Tag block rule " + std::to_string(items));
}

TEST(LexerFileRegressionTest, EachNewItemFindsItsDefaultNameQuickly) {
  TSyntAnalyzer analyzer;
  const int items = 200000;
  for (int i = 1; i < items; ++i) analyzer.Formats().Add();  // after "Marked block"
  EXPECT_EQ(analyzer.Formats()[items - 1]->DisplayName(), "Style " + std::to_string(items - 1));
}

TEST(LexerFileRegressionTest, TheEndOfALoadResolvesManyNamesInLinearTime) {
  // Names of one length, so that no comparison is cut short by the length.
  auto name = [](int i) {
    std::string digits = std::to_string(i);
    return "S" + std::string(6 - digits.size(), '0') + digits;
  };
  const int items = 150000;
  TSyntAnalyzer analyzer;
  analyzer.BeginLoading();
  analyzer.Formats().Clear();
  for (int i = 0; i < items; ++i) analyzer.Formats().Add()->SetDisplayName(name(i));
  for (int i = 0; i < items; ++i) analyzer.TokenRules().Add()->SetStyleName(name(items - 1));
  analyzer.EndLoading();
  EXPECT_EQ(analyzer.TokenRules()[0]->Style(), analyzer.Formats()[items - 1]);
  EXPECT_EQ(analyzer.TokenRules()[items - 1]->Style(), analyzer.Formats()[items - 1]);
}

TEST(LexerFileRegressionTest, DefaultNamesTakeTheLeastFreeNumberWhateverTheOtherNames) {
  TSyntAnalyzer analyzer;
  ASSERT_EQ(Load(analyzer,
                 "  Formats = <\r\n"
                 "    item DisplayName = 'Style 2' end\r\n"
                 "    item DisplayName = 'Style 02' end\r\n"
                 "    item end\r\n"
                 "    item DisplayName = 'Style 4' end\r\n"
                 "    item end\r\n"
                 "    item end>\r\n"),
            0);
  std::vector<std::string> names;
  for (int i = 0; i < analyzer.Formats().Count(); ++i) names.push_back(analyzer.Formats()[i]->DisplayName());
  EXPECT_EQ(names, (std::vector<std::string>{"Style 2", "Style 02", "Style 1", "Style 4", "Style 3", "Style 5"}));

  // A number given up is taken again; a deleted item's number too.
  analyzer.Formats()[0]->SetDisplayName("Keyword");
  EXPECT_EQ(analyzer.Formats().Add()->DisplayName(), "Style 2");
  analyzer.Formats().Delete(2);  // "Style 1"
  EXPECT_EQ(analyzer.Formats().Add()->DisplayName(), "Style 1");
  EXPECT_EQ(analyzer.Formats().Add()->DisplayName(), "Style 6");
  analyzer.Formats().Clear();
  EXPECT_EQ(analyzer.Formats().Add()->DisplayName(), "Style 1");
}

}  // namespace
}  // namespace penwick
