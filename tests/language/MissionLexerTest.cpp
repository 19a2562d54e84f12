// The built-in mission definition at work: keyword claims, numbers, comment and conditional folds, incremental repair, grammar.
#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "MissionAnalysisSupport.h"
#include "language/MissionLexerData.h"
#include "syntax/AnalysisDump.h"

namespace penwick::test {
namespace {

TEST(MissionLexer, KeywordsAreClaimedOnlyAsWholeIdentifiersInAnyCase) {
  TMissionAnalysis a("LEVELSTART levelstart LevelStart levelstart2\r\n"
                     "// LEVELSTART in a comment\r\n'LEVELSTART in a string'\r\nPSX WHILE_EXEC SWITCH_GENERATOR ON\r\n");
  a.Client->AnalyzeAll();
  EXPECT_EQ(a.StyleOf("LEVELSTART"), "Game Loops");
  EXPECT_EQ(a.StyleOf("levelstart"), "Game Loops");
  EXPECT_EQ(a.StyleOf("LevelStart"), "Game Loops");
  EXPECT_EQ(a.StyleOf("levelstart2"), "Variables");
  EXPECT_EQ(a.TypeOf("LEVELSTART"), "Identifier");
  EXPECT_EQ(a.StyleOf("// LEVELSTART in a comment"), "Comments");
  EXPECT_EQ(a.StyleOf("'LEVELSTART in a string'"), "-");
  EXPECT_EQ(a.StyleOf("PSX"), "Compiler Enums");
  EXPECT_EQ(a.StyleOf("WHILE_EXEC"), "Control Structures");
  EXPECT_EQ(a.StyleOf("SWITCH_GENERATOR"), "Functions");
  EXPECT_EQ(a.StyleOf("ON"), "Enums");
}

TEST(MissionLexer, NumbersBlanksAndStrayCharacters) {
  TMissionAnalysis floats("1.5");
  floats.Client->AnalyzeAll();
  ASSERT_EQ(floats.Client->TokenCount(), 1);
  EXPECT_EQ(floats.TypeOf("1.5"), "Float const");

  TMissionAnalysis blank("  \r\n\t \r\n  ");
  blank.Client->AnalyzeAll();
  EXPECT_EQ(blank.Client->TokenCount(), 0);
  EXPECT_TRUE(blank.Client->Finished());

  TMissionAnalysis stray("a@b");
  stray.Client->AnalyzeAll();
  ASSERT_EQ(stray.Client->TokenCount(), 2);
  EXPECT_EQ(stray.Client->Token(1).StartPos, 2u);
}

TEST(MissionLexer, TypingAfterATokenReadsTheLineAgain) {
  TMissionAnalysis a("x = 1.\r\ny = 2");
  a.Client->AnalyzeAll();
  ASSERT_EQ(a.TypeOf("1"), "Integer const");
  a.Source.Insert(6, "5");  // "1." becomes "1.5"
  a.Client->AnalyzeAll();
  EXPECT_EQ(a.TypeOf("1.5"), "Float const");
  EXPECT_EQ(a.Find("1"), -1);

  a.Source.Insert(1, "yz");  // an identifier grows instead of splitting
  a.Client->AnalyzeAll();
  EXPECT_EQ(a.TypeOf("xyz"), "Identifier");
  EXPECT_EQ(a.Find("x"), -1);
}

TEST(MissionLexer, UnterminatedCommentRunsToTheEndUntilClosed) {
  TMissionAnalysis a("x /* open\r\nLEVELSTART\r\nSET");
  a.Client->AnalyzeAll();
  ASSERT_EQ(a.Client->TokenCount(), 2);
  EXPECT_EQ(a.Client->TokenText(1), "/* open\r\nLEVELSTART\r\nSET");
  a.Source.Insert(9, " */");
  a.Client->AnalyzeAll();
  EXPECT_EQ(a.StyleOf("/* open */"), "Comments");
  EXPECT_EQ(a.StyleOf("LEVELSTART"), "Game Loops");
}

TEST(MissionLexer, CommentRunsFoldAsOneRangeAndOnlyWhenTheyCloseOverSeveralLines) {
  TMissionAnalysis a("// one\r\nx\r\n// a\r\n// b\r\n// c\r\ny\r\n// last");
  a.Client->AnalyzeAll();
  // One-line and open ranges are not offered for folding.
  EXPECT_EQ(DumpFolds(*a.Client), "3\t5\t\n");
  ASSERT_EQ(a.Client->CollapsibleRanges().size(), 2u);
  const TCollapsibleRange& run = a.Client->CollapsibleRanges()[1];
  EXPECT_EQ(run.StartPos, a.Client->Token(a.Find("// a")).StartPos);
  EXPECT_EQ(run.EndPos, a.Client->Token(a.Find("// c")).EndPos);
  EXPECT_EQ(a.Client->OpenRangeCount(), 1);  // "// last" stays open at the end

  EXPECT_EQ(a.Client->LineFoldState(2), 0);
  EXPECT_EQ(a.Client->LineFoldState(3), -2);
  EXPECT_EQ(a.Client->LineFoldState(4), -1);
  EXPECT_EQ(a.Client->LineFoldState(0), -3);  // the one-line range
  EXPECT_EQ(a.Client->LineFoldState(6), -3);  // the open range
  EXPECT_EQ(a.Client->RangeStartingOnLine(2), &run);
  EXPECT_EQ(a.Client->RangeStartingOnLine(3), nullptr);
  EXPECT_EQ(a.Client->InnermostRangeAt(run.StartPos + 1), &run);
}

TEST(MissionLexer, ConditionalBlocksNestCloseInAnyCaseAndShowTheirOpeningLine) {
  TMissionAnalysis a("#ifdef A\r\n#ifdef B\r\nx\r\n#endif\r\n#ENDIF\r\n#endif\r\n#ifdef C\r\n#endif // no\r\n");
  a.Client->AnalyzeAll();
  EXPECT_EQ(DumpFolds(*a.Client), "1\t5\t#ifdef A\n2\t4\t#ifdef B\n");
  // The stray third #endif closed nothing; "#endif // no" is not the bare tag.
  ASSERT_EQ(a.Client->OpenRangeCount(), 1);
  EXPECT_EQ(a.Client->TokenText(a.Client->OpenRange(0).StartIdx), "#ifdef C");
}

TEST(MissionLexer, EditingInsideAClosedConditionalReopensItUntilAnalysedAgain) {
  TMissionAnalysis a("#ifdef A\r\nx\r\n#endif\r\ny");
  a.Client->AnalyzeAll();
  ASSERT_EQ(a.Client->OpenRangeCount(), 0);
  a.Source.Insert(11, "z");  // inside line 2
  EXPECT_EQ(a.Client->OpenRangeCount(), 1);
  EXPECT_EQ(a.Client->Range(0).EndIdx, -1);
  a.Client->AnalyzeAll();
  EXPECT_EQ(a.Client->OpenRangeCount(), 0);
  EXPECT_EQ(DumpFolds(*a.Client), "1\t3\t#ifdef A\n");
}

TEST(MissionLexer, PaintingLookupWalksRunsAndKeepsOldColoursUntilReanalysed) {
  TMissionAnalysis a("SET x = 1");
  a.Client->AnalyzeAll();
  std::vector<const TSyntaxFormat*> styles;
  EXPECT_EQ(a.Client->TokenStyleAt(0, styles), 3u);
  ASSERT_EQ(styles.size(), 1u);
  EXPECT_EQ(styles[0]->DisplayName(), "Control Structures");
  styles.clear();
  EXPECT_EQ(a.Client->TokenStyleAt(3, styles), 4u);  // the blank before x
  EXPECT_TRUE(styles.empty());

  // Before re-analysis, "x = 1" shifted by the insertion keeps its styles.
  a.Source.Insert(0, "  ");
  styles.clear();
  EXPECT_EQ(a.Client->TokenStyleAt(6, styles), 7u);
  ASSERT_EQ(styles.size(), 1u);
  EXPECT_EQ(styles[0]->DisplayName(), "Variables");
}

TEST(MissionLexer, GrammarFindsTheFunctionPathBeforeATokenSkippingComments) {
  TMissionAnalysis a("a = /* c */ b = c");
  a.Client->AnalyzeAll();
  const TGrammaAnalyzer& g = a.Analyzer.Gramma();
  const TParserRule* path = g.RuleByName("funcpathname");
  ASSERT_NE(path, nullptr);
  ASSERT_NE(g.SkipRule(), nullptr);
  const int last = a.Client->TokenCount() - 1;
  EXPECT_EQ(g.FirstTokenOfMatch(last, path, *a.Client), 0);
  auto tree = g.MatchRuleBackward(last, path, *a.Client);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->LastTokenIndex(), last);
  // Ending at a symbol there is no identifier to start from.
  EXPECT_EQ(g.FirstTokenOfMatch(last - 1, path, *a.Client), -1);
}

TEST(MissionLexer, ReplacingTheStylesReattachesRulesByName) {
  TMissionAnalysis a("SET x");
  // What loading a file that holds only styles does.
  a.Analyzer.BeginLoading();
  a.Analyzer.Formats().Clear();
  TSyntaxFormat* control = a.Analyzer.Formats().Add();
  control->SetDisplayName("Control Structures");
  control->Font.Color = 0x0000FFu;
  a.Analyzer.EndLoading();
  a.Client->AnalyzeAll();
  ASSERT_EQ(a.Analyzer.Formats().Count(), 1);
  const TSyntaxFormat* set = a.Client->TokenStyle(a.Find("SET"));
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->Font.Color, 0x0000FFu);
  EXPECT_EQ(a.Client->TokenStyle(a.Find("x")), nullptr);  // "Variables" no longer exists
  EXPECT_EQ(a.Analyzer.TokenRules().Count(), 10);
  EXPECT_EQ(a.Analyzer.LexerName(), "VarnokMis");
}

}  // namespace
}  // namespace penwick::test

namespace penwick::test {
namespace {

// The fold state of every line, answered from the indexes, against a walk
// over all ranges, on random nestings of conditionals and comment runs
// (ranges that end on a line where others start or end, nested and side by side).
TEST(MissionLexer, LineFoldStatesAgreeWithAWalkOverEveryRange) {
  std::mt19937 random(20261209);
  const char* pieces[] = {"#ifdef PSX", "#endif", "// c", "x = 1", "", "#ifdef A // c", "#endif // c", "/* a\r\nb */"};
  for (int round = 0; round < 60; ++round) {
    std::string text;
    const int lines = 5 + static_cast<int>(random() % 60);
    for (int i = 0; i < lines; ++i) text += std::string(pieces[random() % std::size(pieces)]) + "\r\n";
    TMissionAnalysis a(text);
    a.Client->AnalyzeAll();
    const auto& ranges = a.Client->CollapsibleRanges();
    for (int line = 0; line < a.Source.LineCount(); ++line) {
      const auto lineStart = static_cast<std::uint32_t>(a.Source.LineStartOffset(line));
      const auto nextStart = static_cast<std::uint32_t>(a.Source.LineStartOffset(line + 1));
      int want = -3;
      for (const TCollapsibleRange& r : ranges)
        if (r.StartPos >= lineStart && r.StartPos < nextStart && r.EndPos > nextStart) want = 0;
      if (want != 0) {
        bool inside = false, endsHere = false;
        for (const TCollapsibleRange& r : ranges) {
          if (r.StartPos >= lineStart || r.EndPos <= lineStart) continue;
          (r.EndPos <= nextStart ? endsHere : inside) = true;
        }
        want = endsHere ? -1 : inside ? -2 : -3;
      }
      ASSERT_EQ(a.Client->LineFoldState(line), want) << "round " << round << " line " << line << "\n" << text;
    }
  }
}

}  // namespace
}  // namespace penwick::test
