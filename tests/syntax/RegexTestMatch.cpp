// Matching of TecRegExpr: checks, repetition, continuations, groups,
// back-references, substitution, positions and the work budget.
#include "RegexTestSupport.h"

#include <gtest/gtest.h>

using namespace penwick;
using namespace penwick::regextest;

namespace {

constexpr uint16_t kNone = 0;
constexpr uint16_t kI = TecRegExpr::MaskModI;
constexpr uint16_t kS = TecRegExpr::MaskModS;
constexpr uint16_t kG = TecRegExpr::MaskModG;
constexpr uint16_t kM = TecRegExpr::MaskModM;

// Positions 1..size+1 of `text` at which the zero-width `pattern` succeeds.
std::string Where(const std::string& pattern, const std::string& text, uint16_t mods) {
  std::string found;
  TecRegExpr re(pattern, mods);
  for (int pos = 1; pos <= static_cast<int>(text.size()) + 1; ++pos) {
    int at = pos;
    if (re.Match(text, at)) found += std::to_string(pos);
  }
  return found;
}

}  // namespace

TEST(RegexMatch, LineChecksAtTextStartEndAndBetweenCrAndLf) {
  const std::string crlf = "a\r\nb";  // 1 a, 2 CR, 3 LF, 4 b, 5 end
  EXPECT_EQ(Where("^", crlf, kM), "14");
  EXPECT_EQ(Where("$", crlf, kM), "25");
  EXPECT_EQ(Where("^", "a\rb", kM), "13");  // a lone CR ends a line
  EXPECT_EQ(Where("^", "a\nb", kM), "13");
  EXPECT_EQ(Where("$", "a\nb", kM), "24");
  EXPECT_EQ(Where("^", "a\r", kM), "13");
  EXPECT_EQ(Where("$", "\n", kM), "12");  // LF at position 1 has nothing before it
  // Without m, ^ and $ are the text checks.
  EXPECT_EQ(Where("^", crlf, kNone), "1");
  EXPECT_EQ(Where("$", crlf, kNone), "5");
  EXPECT_EQ(Where("\\A", crlf, kM), "1");
  EXPECT_EQ(Where("\\Z", crlf, kM), "5");
  EXPECT_EQ(Where("^", "", kM), "1");
  EXPECT_EQ(Where("$", "", kM), "1");
}

TEST(RegexMatch, WordBoundaries) {
  // 1 a, 2 b, 3 blank, 4 c, 5 d, 6 end
  EXPECT_EQ(Where("\\b", "ab cd", kNone), "1346");
  EXPECT_EQ(Where("\\B", "ab cd", kNone), "25");
  // Position 1 and the end always count, whatever stands there.
  EXPECT_EQ(Where("\\b", " a ", kNone), "1234");
  // The word character of \b is the locale's, even without r.
  EXPECT_EQ(Where("\\b", "x\xE9 ", kNone), "134");
}

TEST(RegexMatch, LineBreakItemAndDot) {
  EXPECT_EQ(Len("\\z", "\r\nx"), 2);
  EXPECT_EQ(Len("\\z", "\rx"), 1);
  EXPECT_EQ(Len("\\z", "\nx"), 1);
  EXPECT_EQ(Len("\\z", "\n\r"), 1);  // LF CR is two line breaks
  EXPECT_EQ(Len("\\z", "x"), 0);
  EXPECT_EQ(Len("\\z+", "\r\n\r\n\nx"), 5);
  EXPECT_EQ(Len("a\\zb", "a\r\nb"), 4);
  EXPECT_EQ(Len(".", "\r", kNone), 0);
  EXPECT_EQ(Len(".", "\n", kNone), 0);
  EXPECT_EQ(Len(".", "\r", kS), 1);
  EXPECT_EQ(Len(".*", "ab\r\ncd", kG), 2);
  EXPECT_EQ(Len(".*", "ab\r\ncd", kG | kS), 6);
  EXPECT_EQ(Len(".", "", kS), 0);
}

TEST(RegexMatch, GreedyLazyAndTheGModifier) {
  EXPECT_EQ(Len("a*", "aaab", kG), 3);
  EXPECT_EQ(Len("<.*>", "<a><b>x", kG), 6);
  EXPECT_EQ(Len("<.*?>", "<a><b>x", kG), 3);
  EXPECT_EQ(Len("a{2,4}?", "aaaaa", kG), 2);
  EXPECT_EQ(Len("a+?", "aaaaa", kG), 1);
  // A lazy item that ends the pattern is done at its minimum.
  int pos = 1;
  TecRegExpr lazyStar("a*?", kG);
  EXPECT_TRUE(lazyStar.Match("aaa", pos));
  EXPECT_EQ(pos, 1);
  // With g off every quantifier is lazy; '?' keeps it lazy.
  EXPECT_EQ(Len("<.*>", "<a><b>x", kNone), 3);
  EXPECT_EQ(Len("a+", "aaa", kNone), 1);
  EXPECT_EQ(Len("a*?b", "aab", kNone), 3);
  EXPECT_EQ(Len("a{2,}", "aaaa", kNone), 2);
  // A lazy item still goes on until the rest matches.
  EXPECT_EQ(Len("a*?b", "aaab", kG), 4);
  EXPECT_EQ(Len("a*?b", "aaac", kG), 0);
}

TEST(RegexMatch, OptionalItemsGiveWay) {
  EXPECT_EQ(Len("a?ab", "ab", kG), 2);
  EXPECT_EQ(Len("a*a", "aa", kG), 2);
  EXPECT_EQ(Len("a*ab", "aaab", kG), 4);
  EXPECT_EQ(Len("\\d+\\d", "123", kG), 3);
  EXPECT_EQ(Len("a*a*a", "aaa", kG), 3);
}

TEST(RegexMatch, AlternativesAndTheGroupThatEndsAnAlternative) {
  // The first alternative that completes the pattern wins...
  EXPECT_EQ(Len("(x|xy|z)", "xy"), 1);
  // ...so what follows the group decides.
  EXPECT_EQ(Len("(x|xy|z)$", "xy"), 2);
  EXPECT_EQ(Len("(x|xy|z)$", "xyz"), 0);
  EXPECT_EQ(Len("(a|ab)c", "abc"), 3);
  EXPECT_EQ(Len("(a|ab)(c|bcd)", "abcd"), 4);
  // A group that ends an alternative of an outer group settles its own
  // choices as if the pattern ended after it: the inner group takes 'a' and
  // the outer group cannot go back on it.
  EXPECT_EQ(Len("((a|ab))c", "abc"), 0);
  EXPECT_EQ(Len("((a|ab)x?)c", "abc"), 3);
  // A greedy item at the end of a group keeps its highest count even when
  // what follows the group then fails: there is no backtracking into it.
  EXPECT_EQ(Len("(a*)a", "aa", kG), 0);
  EXPECT_EQ(Len("(a*?)a", "aa", kG), 1);
  // Alternatives tried at the same position inside a repeated group.
  EXPECT_EQ(Len("(ab|a)*c", "ababac", kG), 6);
  EXPECT_EQ(Len("(a|b)+", "abba!", kG), 4);
}

TEST(RegexMatch, GroupPositionsDescribeTheChosenPath) {
  const std::string text = "ab";
  TecRegExpr re("(a|b)+", kG);
  ASSERT_EQ(re.MatchLength(text, 1), 2);
  ASSERT_EQ(re.SubExprCount(), 2);
  EXPECT_EQ(re.SubExprText(text, 0), "ab");
  EXPECT_EQ(re.SubExprText(text, 1), "b");  // the last occurrence
  EXPECT_EQ(re.SubExprStart(1), 2);
  EXPECT_EQ(re.SubExprEnd(1), 3);

  // A group that took no part has no text.
  TecRegExpr optional("(a)(b)?", kG);
  ASSERT_TRUE(optional.MatchLength("ax", 1));
  EXPECT_EQ(optional.SubExprText("ax", 1), "a");
  EXPECT_EQ(optional.SubExprText("ax", 2), "");
  EXPECT_EQ(optional.SubExprText("ax", 3), "");
  EXPECT_EQ(optional.SubExprText("ax", -1), "");

  // The greedy a* keeps the outcome of an earlier count than the last one it
  // tried (at count 2 the group fails): the group and the whole match must
  // still describe the count that was kept.
  TecRegExpr kept("a*(a)", kG);
  const std::string aa = "aa";
  ASSERT_EQ(kept.MatchLength(aa, 1), 2);
  EXPECT_EQ(kept.SubExprStart(0), 1);
  EXPECT_EQ(kept.SubExprEnd(0), 3);
  EXPECT_EQ(kept.SubExprText(aa, 1), "a");
  EXPECT_EQ(kept.SubExprStart(1), 2);

  // Nested groups.
  TecRegExpr nested("((\\d+)-(\\d+))x", kG);
  const std::string range = "12-345x";
  ASSERT_EQ(nested.MatchLength(range, 1), 7);
  EXPECT_EQ(nested.SubExprText(range, 1), "12-345");
  EXPECT_EQ(nested.SubExprText(range, 2), "12");
  EXPECT_EQ(nested.SubExprText(range, 3), "345");

  // After a failed match no group has a position.
  EXPECT_EQ(nested.MatchLength("nope", 1), 0);
  EXPECT_FALSE(nested.LastMatched());
  EXPECT_EQ(nested.SubExprStart(0), -1);
  EXPECT_EQ(nested.SubExprText("nope", 0), "");
}

TEST(RegexMatch, BackReferences) {
  EXPECT_EQ(Len("(\\w+) \\1", "abc abc!", kG), 7);
  EXPECT_EQ(Len("(\\w+) \\1", "abc abd", kG), 0);
  EXPECT_EQ(Len("(a)\\1", "aA", kI), 2);
  EXPECT_EQ(Len("(a)\\1", "aA", kNone), 0);
  EXPECT_EQ(Len("(a)\\1", "AA", kNone), 0);
  // The group's end is recorded before its continuation is tried, so a
  // reference right after the group sees the text matched so far.
  EXPECT_EQ(Len("(a+?)\\1", "aaaa", kG), 2);
  // Not enough text left for the reference.
  EXPECT_EQ(Len("(ab)\\1", "aba", kG), 0);
  // A reference to a group that took no part fails.
  EXPECT_EQ(Len("(x)?\\1y", "y", kG), 0);
  // A reference to an empty group matches empty.
  EXPECT_EQ(Len("a(b*)\\1c", "ac", kG), 2);
  // A quantified reference.
  EXPECT_EQ(Len("(ab)\\1+", "abababx", kG), 6);
}

TEST(RegexMatch, SubstituteBuildsFromTheLastMatch) {
  const std::string text = "ab-cd";
  TecRegExpr re("(\\w+)-(\\w+)", kG);
  ASSERT_EQ(re.MatchLength(text, 1), 5);
  EXPECT_EQ(re.Substitute(text, "\\2=\\1"), "cd=ab");
  EXPECT_EQ(re.Substitute(text, "[\\0]"), "[ab-cd]");
  EXPECT_EQ(re.Substitute(text, "\\n\\t\\r\\a\\e\\f"), "\n\t\r\a\x1b\f");
  EXPECT_EQ(re.Substitute(text, "\\x41\\x{42}"), "AB");
  EXPECT_EQ(re.Substitute(text, "\\q\\\\\\$"), "q\\$");
  EXPECT_EQ(re.Substitute(text, "end\\"), "end\\");
  EXPECT_EQ(re.Substitute(text, "\\9|\\3"), "|");  // groups that do not exist
  EXPECT_EQ(re.Substitute(text, "plain"), "plain");
  EXPECT_THROW(re.Substitute(text, "\\x00"), ERegExprError);
}

TEST(RegexMatch, PositionsAreOneBasedAndUpdatedOnlyOnSuccess) {
  TecRegExpr re("b+", kG);
  const std::string text = "abbc";
  int pos = 2;
  EXPECT_TRUE(re.Match(text, pos));
  EXPECT_EQ(pos, 4);
  pos = 1;
  EXPECT_FALSE(re.Match(text, pos));
  EXPECT_EQ(pos, 1);
  EXPECT_EQ(re.MatchLength(text, 3), 1);
  // Below 1 counts as 1; beyond the end + 1 never matches.
  TecRegExpr any(".", kG);
  pos = -5;
  EXPECT_TRUE(any.Match("x", pos));
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(any.MatchLength("x", 0), 1);
  TecRegExpr end("$", kM);
  pos = 2;
  EXPECT_TRUE(end.Match("x", pos));
  pos = 3;
  EXPECT_FALSE(end.Match("x", pos));
  EXPECT_EQ(pos, 3);
}

TEST(RegexMatch, CopiesAreIndependent) {
  TecRegExpr original("(a)b", kG);
  ASSERT_EQ(original.MatchLength("ab", 1), 2);
  TecRegExpr copy = original;
  EXPECT_TRUE(copy.IsCompiled());
  EXPECT_EQ(copy.SubExprText("ab", 1), "a");
  copy.SetExpression("(x)");
  EXPECT_EQ(copy.MatchLength("x", 1), 1);
  EXPECT_EQ(original.Expression(), "(a)b");
  EXPECT_EQ(original.SubExprText("ab", 1), "a");  // the copy's match left it alone
  EXPECT_EQ(original.MatchLength("ab", 1), 2);
  TecRegExpr assigned;
  assigned = original;
  EXPECT_EQ(assigned.Modifiers(), kG);
  EXPECT_EQ(assigned.MatchLength("xab", 2), 2);
}

TEST(RegexMatch, StepBudgetStopsRunawayPatterns) {
  // Nested greedy items backtrack polynomially: far beyond any budget.
  TecRegExpr runaway("a*a*a*a*a*a*b", kG);
  const std::string line(300, 'a');
  int pos = 1;
  try {
    runaway.Match(line, pos);
    FAIL() << "no budget error";
  } catch (const ERegExprTooComplex& e) {
    EXPECT_STREQ(e.what(), "Expression too complex");
  }
  EXPECT_EQ(pos, 1);
  // The engine is still usable afterwards.
  EXPECT_EQ(runaway.MatchLength("aab", 1), 3);
  // A smaller budget bites sooner; it counts per Match call, and work that
  // advances through the text earns more of it.
  TecRegExpr small("a*a*b", kG);
  small.SetStepBudget(50);
  EXPECT_THROW(small.MatchLength(std::string(100, 'a'), 1), ERegExprTooComplex);
  EXPECT_EQ(small.MatchLength("aab", 1), 3);
  TecRegExpr linear("a*b", kG);
  linear.SetStepBudget(50);
  EXPECT_EQ(linear.MatchLength(std::string(100000, 'a') + "b", 1), 100001);
  // Alternation under a star settles each occurrence: a long line is no
  // problem for the default budget.
  EXPECT_EQ(Len("(a|aa)*b", std::string(200000, 'a'), kG), 0);
  EXPECT_EQ(Len("(a|aa)*b", std::string(200000, 'a') + "b", kG), 200001);
}

TEST(RegexMatch, LongTextsDoNotDeepenTheRecursion) {
  // A megabyte of comment: repetitions are counted in a loop.
  const std::string body(1 << 20, 'x');
  const std::string open = "/*" + body + "\r\n" + body;
  EXPECT_EQ(Len("(?s)/\\*.*?(\\*/|\\Z)", open), static_cast<int>(open.size()));
  EXPECT_EQ(Len("(?s)/\\*.*?(\\*/|\\Z)", open + "*/ tail"), static_cast<int>(open.size()) + 2);
  EXPECT_EQ(Len(".*", body, kG), static_cast<int>(body.size()));
  std::string pairs;
  for (int i = 0; i < 300000; ++i) pairs += "ab";
  EXPECT_EQ(Len("(ab|c)*d", pairs + "d", kG), static_cast<int>(pairs.size()) + 1);
  EXPECT_EQ(Len("(a(b))*", pairs, kG), static_cast<int>(pairs.size()));
}

TEST(RegexMatch, PatternSizeIsBounded) {
  // Matching recurses once per item, so huge patterns are refused at compile.
  std::string many;
  for (int i = 0; i < 3000; ++i) many += "a?";
  EXPECT_EQ(Len(many + "b", "b", kG), 1);
  for (int i = 0; i < 3000; ++i) many += "a?";
  EXPECT_EQ(CompileError(many), "Expression too complex");
  EXPECT_EQ(CompileError(std::string(1000, '(') + std::string(1000, ')')), "Expression too complex");
  EXPECT_EQ(Len(std::string(100, '(') + "a" + std::string(100, ')'), "a"), 1);
  // Long literal runs become one item and stay well inside the bound.
  const std::string literal(20000, 'q');
  EXPECT_EQ(Len(literal, literal, kNone), 20000);
}

namespace penwick::regextest {
namespace {

// A greedy class that ends the pattern takes its longest run in one go; the
// counts, the bounds and the group it ends must come out as they would one
// repetition at a time.
TEST(RegexGreedyRunAtTheEnd, CountsBoundsAndGroupEnds) {
  EXPECT_EQ(Len("[ab]{2,4}", "ababab"), 4);
  EXPECT_EQ(Len("[ab]{2,4}", "abc"), 2);
  EXPECT_EQ(Len("[ab]{3,4}", "abc"), 0);
  EXPECT_EQ(Len("x[ab]{0,2}", "xabab"), 3);
  EXPECT_EQ(Len("x[ab]{0}", "xab"), 1);
  EXPECT_EQ(Len("\\d+", "2026-12"), 4);
  EXPECT_EQ(Len(".*", "abc\r\ndef"), 3);
  EXPECT_EQ(Len("[a-z_]\\w*", std::string(100000, 'q') + " tail"), 100000);

  TecRegExpr re("(\\d+)|(x[yz]*)", kAnalyzer);
  int pos = 1;
  ASSERT_TRUE(re.Match(std::string("123x"), pos));
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(re.SubExprText("123x", 1), "123");
  EXPECT_EQ(re.SubExprText("123x", 2), "");
  pos = 1;
  ASSERT_TRUE(re.Match(std::string("xzyz!"), pos));
  EXPECT_EQ(re.SubExprText("xzyz!", 2), "xzyz");

  // The lazy form still stops at its minimum, and a run that a later item
  // needs still gives way.
  EXPECT_EQ(Len("[ab]+?", "abab"), 1);
  EXPECT_EQ(Len("[ab]*b", "abab"), 4);
}

}  // namespace
}  // namespace penwick::regextest
