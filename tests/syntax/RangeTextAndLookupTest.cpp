// Range texts, painting and token lookups, line breaks, refresh sizes and the text source's line table.
#include <gtest/gtest.h>

#include "AnalysisTestSupport.h"
#include "syntax/ManualScheduler.h"

namespace penwick::test {
namespace {

constexpr std::uint32_t kWord = 1u << 1, kSymbol = 1u << 3;

// "{ ... }" ranges whose closing rule sits one token after the brace.
struct TBraceLexer : TLexer {
  TBraceLexer() {
    WordsNumbersSymbols();
    open = Block("open", btRangeStart);
    Cond(open, "{", kSymbol);
    close = Block("close", btRangeEnd);
    Cond(close, "}", kSymbol);
    open->SetBlockEnd("close");
  }
  TTagBlockCondition* open;
  TTagBlockCondition* close;
};

TEST(RangeText, FieldsSelectTokensLinesParentsAndSpans) {
  TBraceLexer l;
  TRun r(l.A, "a { b c\r\nd { e } f ; g } h");
  r.Client->AnalyzeAll();
  ASSERT_EQ(r.Client->RangeCount(), 2);
  const TTextRange& outer = r.Client->Range(0);
  const TTextRange& inner = r.Client->Range(1);
  auto fmt = [&](const std::string& f, const TTextRange& range) { return r.Client->FormatRangeText(f, range); };
  EXPECT_EQ(fmt("%s0", outer), "{");
  EXPECT_EQ(fmt("%s-1", outer), "b");          // a negative number moves forwards
  EXPECT_EQ(fmt("%e0", outer), "}");
  EXPECT_EQ(fmt("%e1", outer), "g");
  EXPECT_EQ(fmt("%sl0|%sz0", outer), "a {|{ b c");
  EXPECT_EQ(fmt("%ps0 / %pps0", inner), "{ / ");  // the parent's start; no grandparent
  EXPECT_EQ(fmt("%s[;]0", outer), ";");          // search forwards within the range
  EXPECT_EQ(fmt("%e[d]0", outer), "d");          // and backwards from its end
  EXPECT_EQ(fmt("%s[zz]0", outer), "");
  EXPECT_EQ(fmt("%s0~e0", inner), "{ e }");
  EXPECT_EQ(fmt("%s0~e0~3", outer), "{ b c ...");
  EXPECT_EQ(fmt("%:Style:s0", outer), "{");
  EXPECT_EQ(fmt("100%", outer), "100%");
  EXPECT_EQ(fmt("%x0 %s", outer), "%x0 %s");   // not fields: copied through
  EXPECT_EQ(fmt("%s99", outer), "");            // outside the tokens: nothing
  l.open->SetCollapseFmt("%s0 ... %e0");
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.Client->CollapseText(r.Client->Range(0)), "{ ... }");
}

TEST(RangeText, AnEndWithoutAClosingRuleGivesNothing) {
  TBraceLexer l;
  l.open->SetBlockEnd("");
  l.close->SetBlockEnd("open");  // the closing rule names the opener instead
  TRun r(l.A, "{ a }");
  r.Client->AnalyzeAll();
  ASSERT_EQ(r.Client->RangeCount(), 1);
  EXPECT_EQ(r.Client->Range(0).EndIdx, 2);
  EXPECT_EQ(r.Client->FormatRangeText("[%e0]", r.Client->Range(0)), "[]");
}

TEST(BlockRules, AnEndThatClosesNothingLetsLaterRulesRun) {
  TBraceLexer l;
  l.Style("Stray");
  l.close->SetCancelNextRules(true);
  TTagBlockCondition* stray = l.Block("stray", btTagDetect, "Stray");
  l.Cond(stray, "}", kSymbol);
  l.A.SetAlwaysSyncBlockAnal(true);  // deferred, the tag rule would run first
  TRun r(l.A, "} { }");
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.StyleAt(0), "Stray");  // nothing to close: on to the next rule
  EXPECT_EQ(r.StyleAt(2), "-");      // closed a range: later rules cancelled
}

TEST(BlockRules, LineBreakRulesRecordTheirTokensPlace) {
  TLexer l;
  l.WordsNumbersSymbols();
  TTagBlockCondition* br = l.Block("break", btLineBreak);
  l.Cond(br, "section", kWord);
  br->SetLinePos(lbBottom);
  TRun r(l.A, "a\r\nsection b");
  r.Client->AnalyzeAll();
  ASSERT_EQ(r.Client->LineBreaks().size(), 1u);
  EXPECT_EQ(r.Client->LineBreaks()[0].Offset, 3u);
  EXPECT_TRUE(r.Client->LineBreaks()[0].Below);
  r.Source.Delete(3, 7);
  r.Client->AnalyzeAll();
  EXPECT_TRUE(r.Client->LineBreaks().empty());
}

TEST(Lookups, PaintingRunsTokenIndexesAndPartialAnalysis) {
  TLexer l;
  l.WordsNumbersSymbols();
  l.Style("W");
  l.A.TokenRules()[0]->SetStyleName("W");
  TRun r(l.A, "ab  12\r\ncd");
  std::vector<const TSyntaxFormat*> styles;
  EXPECT_EQ(r.Client->TokenIndexAt(4), 1);
  EXPECT_FALSE(r.Client->Finished());  // only analysed as far as asked
  EXPECT_EQ(r.Client->TokenCount(), 2);
  EXPECT_EQ(r.Client->TokenIndexAt(3), -1);  // a blank
  r.Client->AnalyzeAll();
  std::vector<std::pair<std::size_t, std::size_t>> runs;  // run end, styles
  for (std::size_t at = 0; at < r.Source.String().size();) {
    styles.clear();
    const std::size_t end = r.Client->TokenStyleAt(at, styles);
    ASSERT_GT(end, at);
    runs.emplace_back(end, styles.size());
    at = end;
  }
  EXPECT_EQ(runs, (std::vector<std::pair<std::size_t, std::size_t>>{{2, 1}, {4, 0}, {6, 0}, {8, 0}, {10, 1}}));
  // Deleted text before old tokens: they keep their colour, shifted back.
  r.Source.Delete(0, 4);
  styles.clear();
  EXPECT_EQ(r.Client->TokenStyleAt(4, styles), 6u);
  EXPECT_EQ(styles.size(), 1u);
}

TEST(Lookups, SmallTextsAreReadAgainFromTheStart) {
  TLexer l;
  l.WordsNumbersSymbols();
  l.A.SetFullRefreshSize(100);
  TRun r(l.A, "a b\r\nc d");
  r.Client->AnalyzeAll();
  r.Source.Insert(8, "e");
  EXPECT_EQ(r.Client->TokenCount(), 0);
  l.A.SetFullRefreshSize(0);
  r.Client->AnalyzeAll();
  r.Source.Insert(9, "f");
  EXPECT_EQ(r.Client->TokenCount(), 2);  // the first line stays
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.Texts(), "a|b|c|def");
}

TEST(Lookups, DeferredBlockAnalysisYieldsAndGivesUpOnAChange) {
  TBraceLexer l;
  TManualScheduler scheduler;
  TRun r(l.A, "{ a } { b }", &scheduler);
  int yields = 0;
  scheduler.OnYield = [&] {
    // The first yield of the block pass comes after all six tokens exist.
    if (++yields == 7) r.Source.Insert(0, "x ");
  };
  scheduler.Advance(100);
  EXPECT_FALSE(r.Client->Finished());
  scheduler.OnYield = nullptr;
  scheduler.Advance(100);
  EXPECT_TRUE(r.Client->Finished());
  EXPECT_EQ(r.Client->RangeCount(), 2);
  EXPECT_EQ(r.Client->CollapsibleRanges().size(), 2u);
  EXPECT_EQ(r.Client->CheckInvariants(), "");
}

TEST(StringTextSource, LinesEndAtLfCrLfOrALoneCr) {
  TStringTextSource s("a\nb\r\nc\rd");
  EXPECT_EQ(s.LineCount(), 4);
  EXPECT_EQ(s.LineStartOffset(1), 2u);
  EXPECT_EQ(s.LineStartOffset(2), 5u);
  EXPECT_EQ(s.LineStartOffset(3), 7u);
  EXPECT_EQ(s.LineStartOffset(9), 8u);
  EXPECT_EQ(s.LineFromOffset(3), 1);  // the CR of a CR LF
  EXPECT_EQ(s.LineFromOffset(6), 2);
  EXPECT_EQ(s.LineFromOffset(100), 3);
  // The scanning defaults of the interface agree with the table.
  struct TPlain : TAnalysisTextSource {
    std::string_view Text() const override { return "a\nb\r\nc\rd"; }
  } plain;
  EXPECT_EQ(plain.LineCount(), 4);
  EXPECT_EQ(plain.LineStartOffset(3), 7u);
  EXPECT_EQ(plain.LineFromOffset(6), 2);
}

}  // namespace
}  // namespace penwick::test
