// Block rules: conditions, claims, ranges and their closing, range texts, deferred analysis and the grammar.
#include <gtest/gtest.h>

#include <stdexcept>

#include "AnalysisTestSupport.h"

namespace penwick::test {
namespace {

constexpr std::uint32_t kWord = 1u << 1, kNumber = 1u << 2, kSymbol = 1u << 3;

TEST(TagConditions, ListsAreSortedWithoutDuplicatesAndTestedByTypeThenText) {
  TSingleTagCondition c;
  c.SetTagList({"b", "A", "a", "B"});
  EXPECT_EQ(c.TagList(), (std::vector<std::string>{"A", "B", "a", "b"}));
  c.SetIgnoreCase(true);
  EXPECT_EQ(c.TagList().size(), 2u);
  c.SetTokenTypes(kWord);
  EXPECT_TRUE(c.Test("a", 1));
  EXPECT_TRUE(c.Test("B", 1));
  EXPECT_FALSE(c.Test("a", 2));  // type not accepted
  EXPECT_FALSE(c.Test("c", 1));
  c.SetCondType(tcNotEqual);
  EXPECT_TRUE(c.Test("a", 2));   // type not accepted: not equal
  EXPECT_TRUE(c.Test("c", 1));
  EXPECT_FALSE(c.Test("a", 1));
  c.SetTagList({});
  EXPECT_FALSE(c.Test("anything", 1));  // no tags: "the type is not accepted"
  c.SetCondType(tcMask);
  c.SetTagList({"(bad", "ab+"});
  EXPECT_TRUE(c.Test("abbbz", 1));  // a prefix match is enough
  EXPECT_FALSE(c.Test("zab", 1));
  c.SetTagList({"(bad"});
  EXPECT_FALSE(c.Test("(bad", 1));  // a faulty mask matches nothing
  c.SetTagsText("one two\r\nthree");
  EXPECT_EQ(c.TagList().size(), 3u);
}

TEST(BlockRules, TagRulesClaimIdentifiersAndTheLaterListingWins) {
  TLexer l;
  l.WordsNumbersSymbols();
  l.Style("First");
  l.Style("Second");
  TTagBlockCondition* first = l.Block("first", btTagDetect, "First");
  l.Cond(first, "shared only1", kWord, tcEqual, true);
  TTagBlockCondition* second = l.Block("second", btTagDetect, "Second");
  l.Cond(second, "SHARED", kWord, tcEqual, true);
  second->SetTokenType(7);
  TRun r(l.A, "Shared only1 1 other");
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.StyleAt(0), "Second");
  EXPECT_EQ(r.Client->Token(0).TokenType, 7);
  EXPECT_EQ(r.StyleAt(1), "First");
  EXPECT_EQ(r.StyleAt(3), "-");
  second->SetCancelNextRules(true);  // does not stop rules before it
  l.A.BlockRules().Move(1, 0);       // now "second" runs first and cancels "first"
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.StyleAt(0), "Second");
}

TEST(BlockRules, SkipConditionsAbsorbTokensUntilTheNextConditionMeetsOne) {
  TLexer l;
  l.WordsNumbersSymbols();
  l.Style("S");
  TTagBlockCondition* rule = l.Block("call", btTagDetect, "S");
  rule->SetIdentIndex(0);
  l.Cond(rule, ")", kSymbol);
  l.Cond(rule, "", kNumber | kSymbol, tcSkip);  // numbers and commas ...
  l.Cond(rule, "(", kSymbol);                   // ... back to the bracket
  l.Cond(rule, "", kWord);
  TRun r(l.A, "f(1,2) g(x)");
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.Client->ConditionsMatch(*rule, 6), 0);   // "f" starts the sequence
  EXPECT_EQ(r.StyleAt(5), "S");                        // the ")" is claimed
  EXPECT_EQ(r.Client->ConditionsMatch(*rule, 10), -1); // "x" is not skippable
  EXPECT_EQ(r.StyleAt(9), "-");
}

TEST(BlockRules, RangesOpenCloseNestAndReportTheirText) {
  TLexer l;
  l.WordsNumbersSymbols();
  TTagBlockCondition* begin = l.Block("begin", btRangeStart);
  l.Cond(begin, "begin", kWord);
  TTagBlockCondition* end = l.Block("end", btRangeEnd);
  l.Cond(end, "end", kWord);
  begin->SetBlockEnd("end");
  begin->SetCollapseFmt("[%s0 %sz0 %s0~e0~2]");
  TRun r(l.A, "begin a\r\nbegin b\r\nend\r\nend end");
  r.Client->AnalyzeAll();
  ASSERT_EQ(r.Client->RangeCount(), 2);
  const TTextRange& outer = r.Client->Range(0);
  const TTextRange& inner = r.Client->Range(1);
  EXPECT_EQ(inner.Parent, &outer);
  EXPECT_EQ(r.Client->TokenText(inner.EndIdx), "end");
  EXPECT_EQ(inner.EndIdx, 4);
  EXPECT_EQ(outer.EndIdx, 5);  // the third "end" closes nothing
  EXPECT_EQ(r.Client->OpenRangeCount(), 0);
  EXPECT_EQ(r.Client->CollapseText(outer), "[begin begin a begin a ...]");
  EXPECT_EQ(r.Client->CheckInvariants(), "");
}

TEST(BlockRules, SelfCloseSameIdentNoEndAndEndOfText) {
  TLexer l;
  l.WordsNumbersSymbols();
  TTagBlockCondition* section = l.Block("section", btRangeStart);
  l.Cond(section, "section", kWord);
  section->SetSelfClose(true);
  section->SetEndOfTextClose(true);
  TTagBlockCondition* open = l.Block("open", btRangeStart);
  l.Cond(open, "", kWord);
  l.Cond(open, "open", kWord);
  open->SetIdentIndex(0);
  TTagBlockCondition* close = l.Block("close", btRangeEnd);
  l.Cond(close, "", kWord);
  l.Cond(close, "close", kWord);
  close->SetSameIdent(true);
  open->SetBlockEnd("close");
  TTagBlockCondition* pair = l.Block("pair", btRangeStart);
  l.Cond(pair, "+", kSymbol);
  l.Cond(pair, "", kNumber);
  pair->SetNoEndRule(true);
  TRun r(l.A, "section open a open b close a section 1 + close b");
  r.Client->AnalyzeAll();
  // A range starts at its anchor, the newest token of the match ("open a" starts
  // at "a"). Section 1 ends one token before section 2, section 2 at the end.
  std::vector<std::string> spans;
  for (int i = 0; i < r.Client->RangeCount(); ++i) {
    const TTextRange& range = r.Client->Range(i);
    spans.push_back(range.Rule->DisplayName() + ":" + std::to_string(range.StartIdx) + "-" + std::to_string(range.EndIdx));
  }
  EXPECT_EQ(spans, (std::vector<std::string>{"section:0-6", "open:2-6", "open:4-11", "section:7-11", "pair:8-9"}));
  // "close a" closed "open a" past the inner "open b"; "close b" closed "open b".
  EXPECT_EQ(r.Client->OpenRangeCount(), 0);
}

TEST(BlockRules, AnEndSharedByTwoRulesClosesTheInnermostRangeOfEither) {
  TLexer l;
  l.WordsNumbersSymbols();
  TTagBlockCondition* a = l.Block("a", btRangeStart);
  l.Cond(a, "a", kWord);
  TTagBlockCondition* b = l.Block("b", btRangeStart);
  l.Cond(b, "b", kWord);
  TTagBlockCondition* stop = l.Block("stop", btRangeEnd);
  l.Cond(stop, "stop", kWord);
  a->SetBlockEnd("stop");
  b->SetBlockEnd("stop");
  TTagBlockCondition* other = l.Block("other", btRangeStart);  // passed over
  l.Cond(other, "o", kWord);
  TRun r(l.A, "a b o stop stop b a o stop stop");
  r.Client->AnalyzeAll();
  std::vector<std::string> spans;
  for (int i = 0; i < r.Client->RangeCount(); ++i) {
    const TTextRange& range = r.Client->Range(i);
    spans.push_back(range.Rule->DisplayName() + ":" + std::to_string(range.StartIdx) + "-" + std::to_string(range.EndIdx));
  }
  EXPECT_EQ(spans, (std::vector<std::string>{"a:0-4", "b:1-3", "other:2--1", "b:5-9", "a:6-8", "other:7--1"}));
  ASSERT_EQ(r.Client->OpenRangeCount(), 2);
  EXPECT_EQ(r.Client->OpenRange(1).StartIdx, 7);  // the innermost is last
}

TEST(BlockRules, AStrictParentTestPassesOverTheInnermostRangeOfASelfClosingRule) {
  TLexer l;
  l.WordsNumbersSymbols();
  TTagBlockCondition* group = l.Block("group", btRangeStart);
  l.Cond(group, "group", kWord);
  // An item opens only right inside a group; a new item first closes the
  // one before it, so the open item does not hide the group.
  TTagBlockCondition* item = l.Block("item", btRangeStart);
  l.Cond(item, "item", kWord);
  item->SetSelfClose(true);
  item->SetBlockName("group");
  item->SetStrictParent(true);
  TRun r(l.A, "item group item x item item");
  r.Client->AnalyzeAll();
  std::vector<std::string> spans;
  for (int i = 0; i < r.Client->RangeCount(); ++i) {
    const TTextRange& range = r.Client->Range(i);
    spans.push_back(range.Rule->DisplayName() + ":" + std::to_string(range.StartIdx) + "-" + std::to_string(range.EndIdx));
  }
  EXPECT_EQ(spans, (std::vector<std::string>{"group:1--1", "item:2-3", "item:4-4", "item:5--1"}));
}

TEST(BlockRules, StrictParentAndNotParentTestTheOpenRanges) {
  TLexer l;
  l.WordsNumbersSymbols();
  l.Style("In");
  TTagBlockCondition* paren = l.Block("paren", btRangeStart);
  l.Cond(paren, "(", kSymbol);
  TTagBlockCondition* closing = l.Block("closing", btRangeEnd);
  l.Cond(closing, ")", kSymbol);
  paren->SetBlockEnd("closing");
  TTagBlockCondition* square = l.Block("square", btRangeStart);
  l.Cond(square, "[", kSymbol);
  square->SetIgnoreAsParent(true);
  TTagBlockCondition* inside = l.Block("inside", btTagDetect, "In");
  l.Cond(inside, "", kWord);
  inside->SetBlockName("paren");
  inside->SetStrictParent(true);
  TRun r(l.A, "a ( b [ c");
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.StyleAt(0), "-");
  EXPECT_EQ(r.StyleAt(2), "In");
  EXPECT_EQ(r.StyleAt(4), "In");  // "[" is passed over as a parent
  inside->SetNotParent(true);
  r.Client->AnalyzeAll();
  EXPECT_EQ(r.StyleAt(0), "In");
  EXPECT_EQ(r.StyleAt(2), "-");
}

TEST(BlockRules, StatesSetByBlockRulesSurviveAChangeAfterTheirToken) {
  TLexer l;
  TTokenRule* z = l.Rule("Z", "z", 4);
  z->SetStatesPresent(2);
  l.WordsNumbersSymbols();
  TTagBlockCondition* on = l.Block("on", btTagDetect);
  l.Cond(on, "on", kWord);
  on->SetStatesAdd(2);
  ASSERT_TRUE(l.A.Plan().Synchronous);  // block rules with states run after every token
  TRun r(l.A, "on\r\nz");
  r.Client->AnalyzeAll();
  ASSERT_EQ(r.Client->TokenCount(), 2);
  EXPECT_EQ(r.Client->Token(1).TokenType, 4);
  r.Source.Insert(5, "z");  // the second line is read again from the state after "on"
  r.Client->AnalyzeAll();
  ASSERT_EQ(r.Client->TokenCount(), 3);
  EXPECT_EQ(r.Client->Token(2).TokenType, 4);
}

TEST(BlockRules, DerivedRangesFollowCollapsingAndHighlightSettings) {
  TLexer l;
  l.WordsNumbersSymbols();
  TSyntaxFormat* mark = l.Style("Mark");
  TTagBlockCondition* open = l.Block("open", btRangeStart, "Mark");
  l.Cond(open, "{", kSymbol);
  TTagBlockCondition* close = l.Block("close", btRangeEnd);
  l.Cond(close, "}", kSymbol);
  open->SetBlockEnd("close");
  open->SetDynHighlight(dhRangeNoBound);
  open->SetHighlight(true);
  TRun r(l.A, "{ a\r\nb }");
  r.Client->AnalyzeAll();
  ASSERT_EQ(r.Client->CollapsibleRanges().size(), 1u);
  EXPECT_EQ(r.Client->CollapsibleRanges()[0].StartPos, 0u);
  EXPECT_EQ(r.Client->CollapsibleRanges()[0].EndPos, 8u);
  ASSERT_EQ(r.Client->StyledRanges().size(), 1u);
  EXPECT_EQ(r.Client->StyledRanges()[0].StartPos, 1u);
  EXPECT_EQ(r.Client->StyledRanges()[0].EndPos, 7u);
  EXPECT_EQ(r.Client->StyledRanges()[0].Style, mark);
  EXPECT_EQ(r.Client->StyledRanges()[0].Flags, static_cast<std::uint32_t>(srHighlight));
  open->SetNotCollapsed(true);
  r.Client->AnalyzeAll();
  EXPECT_TRUE(r.Client->CollapsibleRanges().empty());
  EXPECT_EQ(r.Client->StyledRanges().size(), 1u);
}

TEST(BlockRules, DeferredAnalysisGivesTheSameRangesAsSynchronous) {
  TLexer l;
  l.WordsNumbersSymbols();
  l.Style("K");
  TTagBlockCondition* keyword = l.Block("keyword", btTagDetect, "K");
  l.Cond(keyword, "if", kWord);
  TTagBlockCondition* open = l.Block("open", btRangeStart);
  l.Cond(open, "(", kSymbol);
  TTagBlockCondition* close = l.Block("close", btRangeEnd);
  l.Cond(close, ")", kSymbol);
  open->SetBlockEnd("close");
  const std::string text = "if ( a ( b ) \r\n c ) if ( d";
  ASSERT_FALSE(l.A.Plan().Synchronous);
  TRun deferred(l.A, text);
  deferred.Client->AnalyzeTo(text.size());
  EXPECT_EQ(deferred.Client->RangeCount(), 0);  // ranges wait for the end
  EXPECT_EQ(deferred.StyleAt(0), "K");         // plain tag rules do not
  deferred.Client->AnalyzeAll();
  const std::string deferredDump = deferred.Client->DebugDump();
  l.A.SetAlwaysSyncBlockAnal(true);
  TRun sync(l.A, text);
  sync.Client->AnalyzeAll();
  EXPECT_EQ(sync.Client->DebugDump(), deferredDump);
  EXPECT_EQ(sync.Client->RangeCount(), 3);
}

TEST(Gramma, CompilesRulesMatchesBackwardsAndDetectsCircularRules) {
  TLexer l;
  l.WordsNumbersSymbols();
  l.A.SetTokenTypeNames({"Unknown", "Word", "Number", "Symbol"});
  l.A.SetGrammaText(
      "// comment\r\nSkip = ';';\r\nList = <Word> (',' <Word>)* ;\r\nAny = <unknown>+\r\n"
      "Loop = <Word> Loop2; Loop2 = Loop | ','\r\nBad = \"\" ;");
  const TGrammaAnalyzer& g = l.A.Gramma();
  EXPECT_EQ(g.RuleCount(), 5);  // parsing stopped at the empty literal
  EXPECT_NE(g.RuleByName("list"), nullptr);
  EXPECT_EQ(g.RuleByName("bad"), nullptr);
  TRun r(l.A, "x 1 a , b ; , c");
  r.Client->AnalyzeAll();
  const int last = r.Client->TokenCount() - 1;
  // Backwards from "c": ", b" and then ", c"... the ';' after b is skipped.
  EXPECT_EQ(g.FirstTokenOfMatch(last, g.RuleByName("List"), *r.Client), 2);
  EXPECT_EQ(g.FirstTokenOfMatch(last, g.RuleByName("Any"), *r.Client), 0);
  EXPECT_EQ(g.FirstTokenOfMatch(1, g.RuleByName("List"), *r.Client), -1);
  EXPECT_THROW(g.MatchRuleBackward(last, g.RuleByName("Loop2"), *r.Client), std::runtime_error);

  // Inside block rules the error is reported and the token's other rules skipped.
  TTagBlockCondition* rule = l.Block("circular", btTagDetect);
  rule->SetGrammaRuleName("Loop2");
  ASSERT_EQ(rule->GrammaRule(), g.RuleByName("Loop2"));
  std::vector<std::string> reported;
  r.Client->SetErrorHandler([&](const std::exception& e) { reported.push_back(e.what()); });
  r.Client->AnalyzeAll();
  ASSERT_FALSE(reported.empty());
  EXPECT_EQ(reported.front(), "Circular stack");
  EXPECT_EQ(r.Client->TokenCount(), last + 1);
}

}  // namespace
}  // namespace penwick::test
