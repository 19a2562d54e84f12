// Token rules, the definition's collections and name references, and laying styles over a drawing state.
#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"

namespace penwick::test {
namespace {

TEST(TokenRules, EarlierRuleWinsAndUnmatchedCharactersMakeNoToken) {
  TLexer l;
  l.Rule("Short", "ab", 1);
  l.Rule("Long", "abc", 2);
  TRun r(l.A, "abc @ab");
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.Texts(), "ab|ab");  // "c" and "@" match nothing
  EXPECT_EQ(r.Client->Token(0).TokenType, 1);
  EXPECT_EQ(r.Client->Token(1).StartPos, 5u);
}

TEST(TokenRules, ColumnBoundsStatesAndFaultyPatterns) {
  TLexer l;
  TTokenRule* first = l.Rule("FirstColumn", "x", 1);
  first->SetColumnFrom(1);
  first->SetColumnTo(1);
  l.Rule("Broken", "(unclosed", 4);  // never matches, never reported
  TTokenRule* open = l.Rule("Open", "\\[", 2);
  open->SetStatesAdd(1);
  TTokenRule* inside = l.Rule("Inside", "y", 3);
  inside->SetStatesPresent(1);
  TTokenRule* close = l.Rule("Close", "\\]", 2);
  close->SetStatesRemove(1);
  TRun r(l.A, "x x\r\nx y [y] y");
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.Texts(), "x|x|[|y|]");
  EXPECT_EQ(r.Client->Token(1).StartPos, 5u);
  // States are recorded after the tokens that changed them and survive a
  // change that keeps those tokens.
  ASSERT_EQ(r.Client->StateHistory().size(), 2u);
  EXPECT_EQ(r.Client->StateHistory()[0], std::make_pair(3, 1u));
  r.Source.Insert(12, " ");  // after "]"
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.Texts(), "x|x|[|y|]");
  r.Source.Delete(11, 1);  // removes "]": the last y is inside again
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.Texts(), "x|x|[|y|y");
  EXPECT_EQ(r.Client->States(), 1u);

  // A state set by the last token kept must hold for the tokens made again.
  TRun edge(l.A, "y [\r\ny");
  edge.Client->AnalyzeAll();
  EXPECT_EQ(edge.Texts(), "[|y");
  edge.Source.Insert(6, "y");
  edge.Client->AnalyzeAll();
  EXPECT_EQ(edge.Texts(), "[|y|y");
}

TEST(TokenRules, SpaceSkippingSwitches) {
  TLexer l;
  l.Rule("Break", "\\r\\n", 5);
  l.Rule("Blank", "\\x20", 6);
  l.Rule("Word", "\\w+", 1);
  TRun r(l.A, "a b\r\nc");
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.Texts(), "a|b|c");
  l.A.SetParseEndOfLine(true);
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.Texts(), "a|b|\r\n|c");
  l.A.SetSkipSpaces(false);
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.Texts(), "a| |b|\r\n|c");
}

TEST(SyntDefinition, DefaultsNamesAndReferences) {
  TLexer l;
  ASSERT_EQ(l.A.Formats().Count(), 1);
  EXPECT_EQ(l.A.Formats()[0]->DisplayName(), "Marked block");
  EXPECT_EQ(l.A.MarkedBlockStyle(), "Marked block");
  EXPECT_EQ(l.A.TokenTypeNames().size(), 10u);
  EXPECT_EQ(l.A.TokenTypeName(9), "Preprocessor");

  TTokenRule* a = l.A.TokenRules().Add();
  TTokenRule* b = l.A.TokenRules().Add();
  EXPECT_EQ(a->DisplayName(), "Token rule 1");
  EXPECT_EQ(b->DisplayName(), "Token rule 2");
  a->SetDisplayName("Token rule 3");
  EXPECT_EQ(l.A.TokenRules().Add()->DisplayName(), "Token rule 1");
  EXPECT_EQ(l.A.Formats().Add()->DisplayName(), "Style 1");

  TSyntaxFormat* s = l.Style("Words");
  b->SetStyleName("Words");
  EXPECT_EQ(b->Style(), s);
  s->SetDisplayName("Renamed");
  EXPECT_EQ(b->StyleName(), "Renamed");  // a reference follows the item
  b->SetStyleName("missing");            // case-sensitive, exact
  EXPECT_EQ(b->Style(), nullptr);
  b->SetStyleName("Renamed");
  l.A.Formats().Delete(s->Index());
  EXPECT_EQ(b->Style(), nullptr);
  EXPECT_EQ(b->StyleName(), "");

  TTagBlockCondition* block = l.Block("Range", btRangeStart);
  block->SetBlockOffset(2);
  block->SetBlockEnd("Range");
  EXPECT_EQ(block->BlockEndRule(), block);
  block->SetBlockType(btTagDetect);
  EXPECT_EQ(block->BlockOffset(), 0);
  EXPECT_EQ(block->BlockEnd(), "");
}

TEST(SyntDefinition, NamesReadWhileLoadingAreHeldAndResolvedAtTheEnd) {
  TLexer l;
  l.A.BeginLoading();
  TTokenRule* r = l.Rule("Word", "\\w+", 1, "Later");
  EXPECT_EQ(r->StyleName(), "Later");  // held text while loading
  EXPECT_EQ(r->Style(), nullptr);
  TSyntaxFormat* later = l.Style("Later");
  l.A.EndLoading();
  EXPECT_EQ(r->Style(), later);
  // A later load that replaces the styles re-attaches by the held name.
  l.A.BeginLoading();
  l.A.Formats().Clear();
  TSyntaxFormat* again = l.Style("Later");
  l.A.EndLoading();
  EXPECT_EQ(r->Style(), again);
}

TEST(SyntDefinition, AnyChangeOfTheRulesResetsEveryClient) {
  TLexer l;
  l.WordsNumbersSymbols();
  TRun one(l.A, "a 1");
  TRun two(l.A, "b");
  one.Client->AnalyzeAll();
  two.Client->AnalyzeAll();
  l.A.TokenRules()[1]->SetExpression("x");
  EXPECT_EQ(one.Client->TokenCount(), 0);
  EXPECT_FALSE(two.Client->Finished());
  EXPECT_TRUE(one.Client->IdleTimerActive());
  one.Client->AnalyzeAll();
  EXPECT_EQ(one.Texts(), "a");
}

TEST(SyntaxFormat, ApplyToCanvasLaysOnlyWhatTheTypeAndFlagsAllow) {
  TSyntaxFormat bold;
  bold.Font.Color = 0x0000FF;
  bold.Font.Style = fsBold;
  bold.FormatFlags = ffBold | ffItalic;
  TCanvasState state;
  state.FontStyle = fsItalic | fsUnderline;
  bold.ApplyToCanvas(state, true);
  EXPECT_EQ(state.TextColor, 0x0000FFu);
  EXPECT_EQ(state.FontStyle, static_cast<std::uint32_t>(fsBold | fsUnderline));  // italic off, underline untouched
  EXPECT_EQ(state.BgColor, clNone);

  TSyntaxFormat colour;
  colour.FormatType = ftColor;
  colour.BgColor = 0x00FF00;
  colour.Font.Color = clNone;
  colour.Font.Style = 0;
  TCanvasState before = state;
  colour.ApplyToCanvas(state, true);
  EXPECT_EQ(state.BgColor, 0x00FF00u);
  EXPECT_EQ(state.TextColor, before.TextColor);  // clNone keeps the colour beneath
  EXPECT_EQ(state.FontStyle, before.FontStyle);

  TSyntaxFormat background;
  background.FormatType = ftBackGround;
  background.Font.Color = 0x123456;
  background.Font.Style = 0;
  background.ApplyToCanvas(state, true);
  EXPECT_EQ(state.TextColor, before.TextColor);
  EXPECT_EQ(state.FontStyle, 0u);  // font attributes do apply

  TSyntaxFormat custom;
  custom.FormatType = ftCustomFont;
  custom.Font.Name = "Mono";
  custom.Font.Size = 14;
  TCanvasState fixed;
  custom.ApplyToCanvas(fixed, false);
  EXPECT_EQ(fixed.FontName, "Courier New");
  custom.ApplyToCanvas(fixed, true);
  EXPECT_EQ(fixed.FontName, "Mono");
  EXPECT_EQ(fixed.FontSize, 14);

  TCanvasState untouched;
  custom.SetEnabled(false);
  custom.ApplyToCanvas(untouched, true);
  EXPECT_EQ(untouched, TCanvasState{});
}

}  // namespace
}  // namespace penwick::test
