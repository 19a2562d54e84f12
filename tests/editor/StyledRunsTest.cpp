// The styled runs that painting and export read: runs cover what is asked,
// carry the token and range styles in order, and their states layer them.
#include "editor/StyledRuns.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/MemoTextSource.h"
#include "editor/SyntMemoStrings.h"
#include "language/MissionLexer.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {
namespace {

std::string NameOf(const TSyntaxFormat* style) { return style ? style->DisplayName() : "-"; }

struct TMission {
  explicit TMission(const std::string& text) : Source(Lines) {
    Lines.SetText(text);
    BuildMissionLexer(Analyzer);
    Client = Analyzer.CreateClient(&Source, nullptr);
  }
  TSyntMemoStrings Lines;
  TMemoTextSource Source;
  TSyntAnalyzer Analyzer;
  std::unique_ptr<TClientSyntAnalyzer> Client;
};

TCanvasState Base() {
  TCanvasState base;
  base.FontName = "Base Font";
  base.TextColor = 0x123456;
  return base;
}

TEST(StyledRuns, RunsCoverTheRequestAndFollowTheTokensStyles) {
  TMission m("LEVELSTART\r\nWHILE_EXEC ( loop = 1 )\r\n  SET x = 12 // note\r\nLEVELEND");
  TStyledRuns lookup(m.Client.get(), Base());
  const int from = m.Lines.LineStart(1), to = m.Lines.TextLength();
  const std::vector<TStyledRun> runs = lookup.Runs(from, to - from);
  ASSERT_FALSE(runs.empty());
  EXPECT_EQ(runs.front().Start, from);
  EXPECT_EQ(runs.back().End, to);
  for (std::size_t i = 0; i < runs.size(); ++i) {
    SCOPED_TRACE(i);
    const TStyledRun& run = runs[i];
    ASSERT_LT(run.Start, run.End);
    if (i > 0) {
      EXPECT_EQ(run.Start, runs[i - 1].End);
      EXPECT_NE(run.Styles, runs[i - 1].Styles) << "neighbours in the same styles are one run";
    }
    EXPECT_EQ(run.State, lookup.StateOf(run.Styles));
    for (int offset = run.Start; offset < run.End; ++offset) {
      // Every character of the run: the style of its token, if it has one.
      const int token = m.Client->TokenIndexAt(static_cast<std::size_t>(offset));
      const TSyntaxFormat* style = token >= 0 ? m.Client->TokenStyle(token) : nullptr;
      EXPECT_EQ(run.Styles, style ? std::vector<const TSyntaxFormat*>{style} : std::vector<const TSyntaxFormat*>{})
          << "offset " << offset;
      EXPECT_EQ(lookup.StateAt(offset), run.State) << "offset " << offset;
    }
  }
  // The first word of the second line is a control word; its state is the
  // base state with the style's colours and font attributes over it.
  ASSERT_EQ(runs.front().End, from + 10);
  ASSERT_EQ(runs.front().Styles.size(), 1u);
  EXPECT_EQ(NameOf(runs.front().Styles[0]), "Control Structures");
  TCanvasState expected = Base();
  runs.front().Styles[0]->ApplyToCanvas(expected, true);
  EXPECT_EQ(runs.front().State, expected);
  EXPECT_TRUE(lookup.Runs(from, 0).empty());
}

TEST(StyledRuns, WithoutAnAnalysisTheTextIsOneRunInTheBaseState) {
  TSyntMemoStrings lines;
  lines.SetText("plain text");
  TStyledRuns lookup(nullptr, Base());
  const std::vector<TStyledRun> runs = lookup.Runs(2, 5);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].Start, 2);
  EXPECT_EQ(runs[0].End, 7);
  EXPECT_TRUE(runs[0].Styles.empty());
  EXPECT_EQ(runs[0].State, Base());
}

// A block rule that styles what lies between its braces, as a range style or
// as dynamic highlighting.
TEST(StyledRuns, RangeStylesLayOverTokenStylesAndHighlightingOnlyWhenAsked) {
  TSyntAnalyzer analyzer;
  TSyntaxFormat* word = analyzer.Formats().Add();
  word->SetDisplayName("Word");
  TSyntaxFormat* inside = analyzer.Formats().Add();
  inside->SetDisplayName("Inside");
  TTokenRule* rule = analyzer.TokenRules().Add();
  rule->SetExpression("[a-z]+");
  rule->SetTokenType(1);
  rule->SetStyleName("Word");
  TTokenRule* symbol = analyzer.TokenRules().Add();
  symbol->SetExpression("[{}]");
  symbol->SetTokenType(2);
  TTagBlockCondition* open = analyzer.BlockRules().Add();
  open->SetDisplayName("open");
  open->SetBlockType(btRangeStart);
  open->SetStyleName("Inside");
  TSingleTagCondition* c = open->ConditionList().Add();
  c->SetTagsText("{");
  TTagBlockCondition* close = analyzer.BlockRules().Add();
  close->SetDisplayName("close");
  close->SetBlockType(btRangeEnd);
  c = close->ConditionList().Add();
  c->SetTagsText("}");
  open->SetBlockEnd("close");
  open->SetDynHighlight(dhRangeNoBound);

  TSyntMemoStrings lines;
  lines.SetText("ab { cd } ef");
  TMemoTextSource source(lines);
  auto client = analyzer.CreateClient(&source, nullptr);
  client->AnalyzeAll();
  ASSERT_EQ(client->StyledRanges().size(), 1u);
  auto stylesAt = [&](TStyledRuns& lookup, int offset) {
    std::vector<const TSyntaxFormat*> styles;
    lookup.StylesAt(offset, offset + 1, styles);
    std::string names;
    for (const TSyntaxFormat* s : styles) names += NameOf(s) + ";";
    return names;
  };
  {
    TStyledRuns lookup(client.get(), Base());
    EXPECT_EQ(stylesAt(lookup, 0), "Word;");
    EXPECT_EQ(stylesAt(lookup, 4), "Inside;");  // a blank inside the braces
    EXPECT_EQ(stylesAt(lookup, 5), "Word;Inside;");
    EXPECT_EQ(stylesAt(lookup, 8), "");  // the closing brace is outside
    EXPECT_EQ(stylesAt(lookup, 10), "Word;");
  }
  // As dynamic highlighting, it is a layer only when asked for.
  open->SetHighlight(true);
  client->AnalyzeAll();
  TStyledRuns without(client.get(), Base(), false);
  EXPECT_EQ(stylesAt(without, 5), "Word;");
  TStyledRuns with(client.get(), Base(), true);
  EXPECT_EQ(stylesAt(with, 5), "Word;Inside;");

  // Text typed before the range: the derived range moves with the text until
  // the analysis has finished again.
  lines.InsertText(0, "zz ");
  TStyledRuns moved(client.get(), Base(), true);
  EXPECT_EQ(stylesAt(moved, 8), "Word;Inside;");
}

}  // namespace
}  // namespace penwick
