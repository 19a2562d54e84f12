// Second look at TecRegExpr's subtle rules: continuations across nested
// groups, greedy items that end a group, group positions after backtracking,
// abandoned alternatives, modifier scope, x mode, line checks and sets.
#include "RegexTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace penwick;
using namespace penwick::regextest;

namespace {

constexpr uint16_t kNone = 0;
constexpr uint16_t kI = TecRegExpr::MaskModI;
constexpr uint16_t kG = TecRegExpr::MaskModG;
constexpr uint16_t kM = TecRegExpr::MaskModM;
constexpr uint16_t kX = TecRegExpr::MaskModX;

// Whether the zero-width pattern succeeds at `pos`.
bool At(const std::string& pattern, const std::string& text, int pos, uint16_t mods) {
  TecRegExpr re(pattern, mods);
  return re.Match(text, pos);
}

}  // namespace

TEST(RegexReview, ContinuationsAcrossNestedGroups) {
  // The inner group ends the outer group's first alternative: it settles on
  // x as if the pattern ended there, and the outer group cannot reopen it.
  EXPECT_EQ(Len("((x|xy)|z)$", "xy"), 0);
  // With the check inside the outer alternative the inner group sees it.
  EXPECT_EQ(Len("((x|xy)$|z)", "xy"), 2);
  // An inner group followed by more items of its alternative looks at them.
  EXPECT_EQ(Len("((x|xy)z|q)", "xyz"), 3);
  EXPECT_EQ(Len("((x|xy)z|q)", "xq"), 0);
  // Two levels of settling: the innermost group settles first.
  EXPECT_EQ(Len("(((a|ab)))b", "abb"), 2);
  EXPECT_EQ(Len("(((a|ab))b)c", "abbc"), 0);
  // An item after a group that settled partially decides the alternative.
  EXPECT_EQ(Len("((a|ab)c|abd)", "abd"), 3);
}

TEST(RegexReview, GreedyItemEndingAGroupTakesItsHighestCount) {
  // The last count whose continuation did not fail outright wins, even if
  // an earlier count completed the pattern.
  EXPECT_EQ(Len("(.*)x", "axb", kG), 0);
  EXPECT_EQ(Len("(a.?)b", "ab", kG), 0);
  EXPECT_EQ(Len("(a.?)b", "abb", kG), 3);
  // A lazy item stops at the first count that completes the pattern.
  EXPECT_EQ(Len("(.*?)x", "abx", kG), 3);
  EXPECT_EQ(Len("(a.?" "?)b", "ab", kG), 2);
  // A non-last item whose continuation gave partial at a higher count is
  // downgraded the same way: at count 3 "x" then fails to be followed by y.
  EXPECT_EQ(Len("(.*x)y", "axyxc", kG), 0);
  // ...and where the highest such count completes, the group is right.
  TecRegExpr re("(.*x)y", kG);
  const std::string text = "axyxy";
  ASSERT_EQ(re.MatchLength(text, 1), 5);
  EXPECT_EQ(re.SubExprText(text, 1), "axyx");
  EXPECT_EQ(re.SubExprText(text, 0), "axyxy");
  // With g off the same group is lazy and completes.
  EXPECT_EQ(Len("(a*)a", "aa", kNone), 1);
  EXPECT_EQ(Len("(.*)x", "axb", kNone), 2);
  EXPECT_EQ(Len("a??b", "ab", kG), 2);
}

TEST(RegexReview, RepeatedGroupsReportTheOccurrenceTheMatchKept) {
  // The greedy star keeps count 1 (only 'a' in the group): the group must
  // not describe the later occurrence over the 'b' that the last item took.
  TecRegExpr ab("(a|b)*b", kG);
  ASSERT_EQ(ab.MatchLength("ab", 1), 2);
  EXPECT_EQ(ab.SubExprStart(1), 1);
  EXPECT_EQ(ab.SubExprEnd(1), 2);
  EXPECT_EQ(ab.SubExprText("ab", 1), "a");

  TecRegExpr aba("(a|b)*a", kG);
  ASSERT_EQ(aba.MatchLength("aba", 1), 3);
  EXPECT_EQ(aba.SubExprStart(1), 2);
  EXPECT_EQ(aba.SubExprText("aba", 1), "b");

  // Lazy: the first count that completes.
  TecRegExpr lazy("(a|b)*?b", kG);
  ASSERT_EQ(lazy.MatchLength("aab", 1), 3);
  EXPECT_EQ(lazy.SubExprStart(1), 2);
  EXPECT_EQ(lazy.SubExprEnd(1), 3);

  // A group repeated without moving stops, and the whole match is right.
  TecRegExpr empty("(a*)*b", kG);
  ASSERT_EQ(empty.MatchLength("b", 1), 1);
  EXPECT_EQ(empty.SubExprText("b", 1), "");
  EXPECT_EQ(empty.SubExprStart(0), 1);
  EXPECT_EQ(empty.SubExprEnd(0), 2);

  // Group 0 describes the match from the start position used.
  TecRegExpr from("b+", kG);
  ASSERT_EQ(from.MatchLength("aabb", 3), 2);
  EXPECT_EQ(from.SubExprStart(0), 3);
  EXPECT_EQ(from.SubExprEnd(0), 5);
}

TEST(RegexReview, AbandonedAlternativesLeaveNoGroupPositions) {
  // Group 2 matched inside the first alternative, which then failed: the
  // match took the second one, so group 2 took no part.
  TecRegExpr re("((a)x|ab)", kG);
  ASSERT_EQ(re.MatchLength("ab", 1), 2);
  EXPECT_EQ(re.SubExprText("ab", 1), "ab");
  EXPECT_EQ(re.SubExprText("ab", 2), "");
  EXPECT_EQ(re.SubExprStart(2), -1);
  EXPECT_EQ(re.Substitute("ab", "[\\2]"), "[]");
  // So a reference to it cannot match text of the abandoned path.
  EXPECT_EQ(Len("((a)x|a\\2)", "aa", kG), 0);
  // The same after an optional item: its abandoned branch set group 2.
  TecRegExpr nested("x?((a)b|a)c", kG);
  ASSERT_EQ(nested.MatchLength("ac", 1), 2);
  EXPECT_EQ(nested.SubExprText("ac", 1), "a");
  EXPECT_EQ(nested.SubExprStart(2), -1);
  // A continuation tried at one count and outbid by a later count leaves
  // nothing either: the star took the 'a', the group none.
  TecRegExpr star("a*(a)?b", kG);
  ASSERT_EQ(star.MatchLength("ab", 1), 2);
  EXPECT_EQ(star.SubExprStart(1), -1);
  EXPECT_EQ(star.SubExprText("ab", 1), "");
  TecRegExpr lazyStar("a*?(a)?b", kG);
  ASSERT_EQ(lazyStar.MatchLength("ab", 1), 2);
  EXPECT_EQ(lazyStar.SubExprText("ab", 1), "a");
  // The whole match ends where the kept count (none of the optional group)
  // put it, not where an abandoned occurrence left the root's end.
  TecRegExpr optional("(.+)?a", kG);
  const std::string text = "aaabab";
  ASSERT_EQ(optional.MatchLength(text, 1), 1);
  EXPECT_EQ(optional.SubExprEnd(0), 2);
  EXPECT_EQ(optional.SubExprStart(1), -1);
  // A group of a failed alternative that an earlier occurrence had set
  // keeps that earlier occurrence's positions.
  TecRegExpr again("((a)|b)+", kG);
  ASSERT_EQ(again.MatchLength("ab", 1), 2);
  EXPECT_EQ(again.SubExprText("ab", 1), "b");
  EXPECT_EQ(again.SubExprText("ab", 2), "a");
  // The best partial alternative keeps its own groups when a later
  // alternative sets others and then fails.
  TecRegExpr partial("((b)q?|(b)(b)z)+d", kG);
  ASSERT_EQ(partial.MatchLength("bbd", 1), 3);
  EXPECT_EQ(partial.SubExprStart(1), 2);
  EXPECT_EQ(partial.SubExprStart(2), 2);
  EXPECT_EQ(partial.SubExprStart(3), -1);
  EXPECT_EQ(partial.SubExprStart(4), -1);
}

TEST(RegexReview, BackReferencesIntoRepeatedGroups) {
  // The reference sees the occurrence just made.
  TecRegExpr re("(a|b)+\\1", kG);
  ASSERT_EQ(re.MatchLength("abb", 1), 3);
  EXPECT_EQ(re.SubExprStart(1), 2);
  EXPECT_EQ(Len("(\\w)+\\1", "abcc", kG), 4);
  EXPECT_EQ(Len("(\\w)+\\1", "abcd", kG), 0);
  // A greedy item ending the group takes its highest count whose
  // continuation did not fail outright (4: the reference fails, but the
  // item is last), so the reference after the group cannot match.
  EXPECT_EQ(Len("(a+)\\1", "aaaa", kG), 0);
  EXPECT_EQ(Len("(a+)\\1", "aaa", kG), 0);
  // A reference to the group it stands in: the group has no end yet.
  EXPECT_EQ(Len("(a\\1)", "aa", kG), 0);
  // References to a group opened later in the pattern are refused.
  EXPECT_EQ(CompileError("(a)\\2(b)", kNone), "Invalid reference");
  EXPECT_EQ(CompileError("(a(b))\\2", kNone), "");
  // Case-insensitive reference compares by the code page's upper case.
  EXPECT_EQ(Len("(\\xE9)\\1", "\xE9\xC9", kI), 2);
}

TEST(RegexReview, InlineModifiersAcrossGroupsAndAlternatives) {
  // Set before a group, a modifier reaches every alternative of that group.
  EXPECT_EQ(Len("(?i)(a|b)", "B", kNone), 1);
  // Set inside one alternative, it ends with that alternative: after the
  // group the outer mask holds again.
  EXPECT_EQ(Len("(a|(?i)b)c", "Bc", kNone), 2);
  EXPECT_EQ(Len("(a|(?i)b)c", "BC", kNone), 0);
  EXPECT_EQ(Len("(a|(?i)b)c", "A", kNone), 0);
  // Other modifiers follow the same scope.
  EXPECT_EQ(Len("(?-g)a*", "aaa", kG), 0);
  EXPECT_TRUE(Matches("(?-g)a*", "aaa", kG));
  TecRegExpr lazyInside("((?-g)a*)a*", kG);
  ASSERT_EQ(lazyInside.MatchLength("aaa", 1), 3);
  EXPECT_EQ(lazyInside.SubExprEnd(1), 1);
  TecRegExpr greedyInside("(a*)a*", kG);
  ASSERT_EQ(greedyInside.MatchLength("aaa", 1), 3);
  EXPECT_EQ(greedyInside.SubExprEnd(1), 4);
  EXPECT_FALSE(At("(?-m)$", "a\nb", 2, kM));
  EXPECT_TRUE(At("(?m)$", "a\nb", 2, kNone));
  EXPECT_EQ(Len("(?r)\\w", "\xE9", kAnalyzer), 1);
  EXPECT_EQ(Len("\\w", "\xE9", kAnalyzer), 0);
  // A modifier group takes no quantifier, and its letters apply in order.
  EXPECT_EQ(Len("a(?-i)(?i)b", "aB", kNone), 2);
}

TEST(RegexReview, ExtendedModeCorners) {
  // Blanks between an item and its quantifier, and inside braces.
  EXPECT_EQ(Len("a +", "aaa", kX | kG), 3);
  EXPECT_EQ(Len("a {2 ,3} ?", "aaaa", kX | kG), 2);
  EXPECT_EQ(Len("a\t\r\n\vb", "ab", kX), 2);
  // A comment inside a set runs to the line break, ']' included.
  EXPECT_EQ(Len("[a#]\r\nb]", "b", kX), 1);
  EXPECT_EQ(Len("[a#]\r\nb]", "#", kX), 0);
  // An escaped blank or '#' is literal inside a set too.
  EXPECT_EQ(Len("[\\ \\#]+", " #", kX | kG), 2);
  // A comment that runs to the end of the pattern leaves what came before.
  EXPECT_EQ(Len("ab # c d", "abc", kX), 2);
  EXPECT_EQ(Len("a#", "a", kX), 1);
  // Blanks before a closing parenthesis and around alternatives.
  EXPECT_EQ(Len("( a | b ) c", "bc", kX), 2);
}

TEST(RegexReview, LineChecksAndLineBreaks) {
  // Between CR and LF there is neither a line start nor a line end.
  const std::string crlf = "a\r\nb";
  EXPECT_FALSE(At("^", crlf, 3, kM));
  EXPECT_FALSE(At("$", crlf, 3, kM));
  EXPECT_EQ(Len("a$\\z^b", crlf, kM), 4);
  // LF CR is two line breaks: a line end before each, a line start after.
  const std::string lfcr = "a\n\rb";
  EXPECT_TRUE(At("$", lfcr, 2, kM));
  EXPECT_TRUE(At("$", lfcr, 3, kM));
  EXPECT_TRUE(At("^", lfcr, 3, kM));
  EXPECT_TRUE(At("^", lfcr, 4, kM));
  EXPECT_EQ(Len("a\\zb", lfcr), 0);
  EXPECT_EQ(Len("a\\z\\zb", lfcr), 4);
  // A quantified line break takes CR LF as one.
  EXPECT_EQ(Len("\\z{2}x", "\r\n\rx"), 4);
  // \b: the text start and end are always boundaries.
  EXPECT_EQ(Len("\\b-", "-"), 1);
  EXPECT_EQ(Len("-\\b", "-"), 1);
  EXPECT_EQ(Len("\\Ba", "a"), 0);
  EXPECT_EQ(Len("a\\B", "a"), 0);
  EXPECT_EQ(Len("a\\Bb", "ab"), 2);
}

TEST(RegexReview, SetMinusRulesAndCase) {
  // ']' first is literal and may start a range.
  EXPECT_EQ(Len("[]-a]", "^", kNone), 1);
  EXPECT_EQ(Len("[]-a]", "b", kNone), 0);
  EXPECT_EQ(Len("[^]]", "]", kNone), 0);
  EXPECT_EQ(Len("[^]]", "a", kNone), 1);
  // '-' as the first member may start a range too.
  EXPECT_EQ(Len("[--/]", ".", kNone), 1);
  EXPECT_EQ(Len("[--/]", "0", kNone), 0);
  // '-' after a range and before ']'.
  EXPECT_EQ(Len("[a-c-]", "-", kNone), 1);
  EXPECT_EQ(Len("[a-c-]", "d", kNone), 0);
  // A range of escaped characters.
  EXPECT_EQ(Len("[\\n-\\r]", "\v", kNone), 1);
  EXPECT_EQ(Len("[\\n-\\r]", "\t", kNone), 0);
  EXPECT_EQ(CompileError("[\\r-\\n]", kNone), "Invalid set range");
  // Under i a negated set refuses both cases, digits stay digits.
  EXPECT_EQ(Len("[^a-z]", "Q", kI), 0);
  EXPECT_EQ(Len("[^a-z]", "5", kI), 1);
  EXPECT_EQ(Len("[a-f0-9]+", "Fe09Ag", kI | kG), 5);
}

TEST(RegexReview, PatternEndsAndEmptyParts) {
  // An unmatched ')' ends the pattern, inside alternatives too.
  EXPECT_EQ(Len("a|b)c", "bc"), 1);
  EXPECT_EQ(Len("a|b)c", "c"), 0);
  EXPECT_EQ(Len("(a))b", "ab"), 1);
  // Empty alternatives are dropped; an optional empty group gives way.
  EXPECT_EQ(Len("a||b", "b"), 1);
  EXPECT_EQ(Len("(|a)b", "b"), 0);
  EXPECT_EQ(Len("()?a", "a"), 1);
  // Repeated zero times, even an empty group gives way.
  EXPECT_TRUE(Matches("()*", "a"));
  // A match of length zero succeeds and leaves the position.
  TecRegExpr re("x*", kG);
  int pos = 2;
  EXPECT_TRUE(re.Match("abc", pos));
  EXPECT_EQ(pos, 2);
}

TEST(RegexReview, ModifierStrWritesAndSubstitute) {
  TecRegExpr re("a", TecRegExpr::DefaultModifiers);
  re.SetModifierStr("(?-ig)");
  EXPECT_EQ(re.ModifierStr(), "(?rmx-isg)");
  re.SetModifierStr("(?s-)");  // a trailing '-' clears nothing
  EXPECT_EQ(re.ModifierStr(), "(?rsmx-ig)");
  re.SetModifierStr("(?i)tail ignored");
  EXPECT_EQ(re.ModifierStr(), "(?irsmx-g)");
  EXPECT_EQ(re.MatchLength("A", 1), 1);
  re.SetModifierStr("(?-i)");
  EXPECT_EQ(re.MatchLength("A", 1), 0);

  TecRegExpr sub("(a)(b)?", kG);
  const std::string text = "ac";
  ASSERT_EQ(sub.MatchLength(text, 1), 1);
  EXPECT_EQ(sub.Substitute(text, "<\\1\\2\\0>"), "<aa>");
  EXPECT_EQ(sub.Substitute(text, "\\x{ 4A }\\x4b"), "JK");
  EXPECT_EQ(sub.Substitute(text, "\\\\1"), "\\1");
  EXPECT_EQ(sub.Substitute(text, ""), "");
}

TEST(RegexReview, ErrorsInsideOtherConstructs) {
  // The innermost construct reports its own fault.
  EXPECT_EQ(CompileError("(a[b", kNone), "Unexpected end of expression");
  EXPECT_EQ(CompileError("(a|b", kNone), "Do not closed sub expression");
  EXPECT_EQ(CompileError("x(a(?i-q))", kNone), "Unexpected modifier");
  EXPECT_EQ(CompileError("[\\x", kNone), "Invalid escape char");
  EXPECT_EQ(CompileError("[a\\x00]", kNone), "Invalid HEX char");
  EXPECT_EQ(CompileError("(a{2,1})", kNone), "Loop minimum must be less then loop maximum");
  EXPECT_EQ(CompileError("(b-a|[b-a])", kNone), "Invalid set range");
  // A fault after an unmatched ')' is never read.
  EXPECT_EQ(CompileError("a)[", kNone), "");
  // After a quantifier, '{' has nothing to repeat and is literal.
  EXPECT_EQ(Len("a{2}{", "aa{", kNone), 3);
  // An empty modifier group is allowed and changes nothing.
  TecRegExpr empty("(?)", kNone);
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_EQ(Len("(?)a", "a", kNone), 1);
}

// Searches typed by a user keep a count that completed the pattern over
// higher counts that only satisfy the group; the lexer's rule stays as above.
TEST(RegexReview, KeepingCompleteMatchesLetsAGroupGiveBack) {
  auto length = [](const char* pattern, const char* text, std::string* group1 = nullptr) {
    TecRegExpr re(pattern, kG);
    re.SetKeepCompleteMatches(true);
    int pos = 1;
    if (!re.Match(std::string(text), pos)) return -1;
    if (group1) *group1 = re.SubExprText(text, 1);
    return pos - 1;
  };
  std::string group;
  EXPECT_EQ(length("(\\w+)_DATA", "CAR_DATA", &group), 8);
  EXPECT_EQ(group, "CAR");
  EXPECT_EQ(length("(\\w+)_DATA", "PLAYER_PED_DATA x", &group), 15);
  EXPECT_EQ(group, "PLAYER_PED");
  EXPECT_EQ(length("(.*)x", "axb", &group), 2);
  EXPECT_EQ(group, "a");
  // Still greedy: the highest count that completes wins.
  EXPECT_EQ(length("(a+)a", "aaaa", &group), 4);
  EXPECT_EQ(group, "aaa");
  EXPECT_EQ(length("(.*)x", "axbxc", &group), 4);
  EXPECT_EQ(group, "axb");
  // Where the group alone decides, nothing changes.
  EXPECT_EQ(length("(a.?)b", "abb"), 3);
  EXPECT_EQ(length("(.*?)x", "abx"), 3);
  EXPECT_EQ(length("(ab|a)c", "ac", &group), 2);
  EXPECT_EQ(group, "a");
  EXPECT_EQ(length("(x+)y", "xxz"), -1);
  // Nested groups give back through both levels.
  EXPECT_EQ(length("((\\w+)_)DATA", "A_B_DATA", &group), 8);
  EXPECT_EQ(group, "A_B_");
}

// A group that ends its alternative inside another group: its repetitions
// (and those of the items ending it) must still reach what follows the
// outer group before they settle, at any depth.
TEST(RegexReview, KeepingCompleteMatchesReachesPastGroupsEndingAGroup) {
  auto match = [](const char* pattern, const std::string& text, int& end, std::string& g1, std::string& g2) {
    TecRegExpr re(pattern, kG);
    re.SetKeepCompleteMatches(true);
    end = 1;
    if (!re.Match(text, end)) return false;
    g1 = re.SubExprText(text, 1);
    g2 = re.SubExprText(text, 2);
    return true;
  };
  int end = 0;
  std::string g1, g2;
  ASSERT_TRUE(match("((\\w+))_DATA", "CAR_DATA", end, g1, g2));
  EXPECT_EQ(end, 9);
  EXPECT_EQ(g1, "CAR");
  EXPECT_EQ(g2, "CAR");
  ASSERT_TRUE(match("(P(\\w+))_DATA", "PLAYER_PED_DATA x", end, g1, g2));
  EXPECT_EQ(end, 16);
  EXPECT_EQ(g1, "PLAYER_PED");
  EXPECT_EQ(g2, "LAYER_PED");
  ASSERT_TRUE(match("(a|(\\w+))_DATA", "CAR_DATA", end, g1, g2));
  EXPECT_EQ(g1, "CAR");
  EXPECT_EQ(g2, "CAR");
  ASSERT_TRUE(match("(((\\w)+))_DATA", "CAR_DATA", end, g1, g2));
  EXPECT_EQ(end, 9);
  EXPECT_EQ(g1, "CAR");
  // A back-reference to a group the repetition ends with it.
  ASSERT_TRUE(match("(a(\\w+))_\\1", "aCAR_aCAR", end, g1, g2));
  EXPECT_EQ(end, 10);
  EXPECT_EQ(g1, "aCAR");
  // The lexer's rule is unchanged: the inner group settles alone.
  TecRegExpr lexer("((\\w+))_DATA", kG);
  EXPECT_EQ(lexer.MatchLength("CAR_DATA", 1), 0);

  // Wrapping a group in one more group changes no match of a search.
  const char* const atoms[] = {"a", "b", "x", "[ab]", "\\w", ".", "_", "(a|bx)", "(x|ab)", "$", "\\b"};
  const char* const counts[] = {"", "", "*", "+", "?", "{1,2}", "*?"};
  std::mt19937 rng(1210);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto chain = [&](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += std::string(atoms[pick(11)]) + counts[pick(7)];
    return s;
  };
  int hits = 0;
  for (int round = 0; round < 20000; ++round) {
    const std::string before = chain(pick(2));
    std::string inner = chain(1 + pick(3));
    if (pick(3) == 0) inner += "|" + chain(1 + pick(2));
    const std::string count = counts[pick(3) ? 0 : pick(7)];
    const std::string after = chain(pick(3));
    std::string text;
    for (int i = pick(10); i > 0; --i) text += "abx_ "[pick(5)];
    TecRegExpr once(before + "(" + inner + ")" + count + after, kDefault);
    TecRegExpr twice(before + "((" + inner + "))" + count + after, kDefault);
    once.SetKeepCompleteMatches(true);
    twice.SetKeepCompleteMatches(true);
    int onceEnd = 1, twiceEnd = 1;
    const bool onceHit = once.Match(text, onceEnd);
    ASSERT_EQ(onceHit, twice.Match(text, twiceEnd)) << twice.Expression() << " on " << text;
    ASSERT_EQ(onceEnd, twiceEnd) << twice.Expression() << " on " << text;
    hits += onceHit;
  }
  EXPECT_GT(hits, 4000);  // the generator reaches matches
}
