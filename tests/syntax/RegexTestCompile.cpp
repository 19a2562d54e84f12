// Pattern compilation of TecRegExpr: constructs, error messages, x mode,
// modifier scope, character sets and quantifier syntax.
#include "RegexTestSupport.h"

#include <gtest/gtest.h>

using namespace penwick;
using namespace penwick::regextest;

namespace {

constexpr uint16_t kNone = 0;
constexpr uint16_t kX = TecRegExpr::MaskModX;
constexpr uint16_t kI = TecRegExpr::MaskModI;
constexpr uint16_t kR = TecRegExpr::MaskModR;
constexpr uint16_t kG = TecRegExpr::MaskModG;

}  // namespace

TEST(RegexCompile, EveryErrorMessage) {
  struct Case {
    const char* pattern;
    const char* message;
  };
  const Case cases[] = {
      {"(?q)", "Unexpected modifier"},
      {"a(?i+)", "Unexpected modifier"},
      {"a\\x", "Invalid escape char"},
      {"\\x00", "Invalid HEX char"},
      {"\\x{100}", "Invalid HEX char"},  // only the low 8 bits count
      {"\\xZZ", "'ZZ' is not a valid integer value"},
      {"\\x{ 4G }", "'4G' is not a valid integer value"},
      {"\\x{}", "'' is not a valid integer value"},
      {"[abc", "Unexpected end of expression"},
      {"[]", "Unexpected end of expression"},
      {"[a-", "Unexpected end of expression"},
      {"[^", "Unexpected end of expression"},
      {"a{,3}", "Number is expected"},
      {"a{x}", "Number is expected"},
      {"a{2,x}", "Number is expected"},
      {"a{2,3", "There is no closing \"}\""},
      {"a{2,3x}", "There is no closing \"}\""},
      {"a{2x}", "Invalid loop specifier"},
      {"a{2;3}", "Invalid loop specifier"},
      {"a{2,1}", "Loop minimum must be less then loop maximum"},
      {"[z-a]", "Invalid set range"},
      {"\\1", "Invalid reference"},
      {"(a)\\2", "Invalid reference"},
      {"(ab", "Do not closed sub expression"},
      {"((a)", "Do not closed sub expression"},
  };
  for (const Case& c : cases) EXPECT_EQ(CompileError(c.pattern, kNone), c.message) << c.pattern;
  // Errors are ERegExprError, itself a std::runtime_error.
  TecRegExpr re("(a", kNone);
  EXPECT_THROW(re.Compile(), std::runtime_error);
}

TEST(RegexCompile, FaultyPatternStaysUncompiledAndRaisesOnEveryMatch) {
  TecRegExpr re("[z-a]");
  int pos = 1;
  EXPECT_THROW(re.Match("z", pos), ERegExprError);
  EXPECT_FALSE(re.IsCompiled());
  EXPECT_THROW(re.Match("z", pos), ERegExprError);
  EXPECT_EQ(pos, 1);
  EXPECT_TRUE(re.IsEmpty());  // swallows the error
  re.SetExpression("[a-z]");
  EXPECT_FALSE(re.IsEmpty());
  EXPECT_EQ(re.MatchLength("z", 1), 1);
}

TEST(RegexCompile, EmptyPatternsNeverMatch) {
  for (const char* pattern : {"", "(?i)", "(?#note)", "(?i)(?-m)"}) {
    TecRegExpr re(pattern, kNone);
    EXPECT_TRUE(re.IsEmpty()) << pattern;
    int pos = 1;
    EXPECT_FALSE(re.Match("abc", pos)) << pattern;
    EXPECT_FALSE(re.Match("", pos)) << pattern;
  }
  // An empty group compiles to something, but it can never match either;
  // an empty alternative is dropped, so (a|) is not optional.
  EXPECT_FALSE(Matches("()", "abc", kNone));
  EXPECT_FALSE(Matches("x()", "x", kNone));
  EXPECT_EQ(Len("(a|)", "a", kNone), 1);
  EXPECT_FALSE(Matches("(a|)", "b", kNone));
  EXPECT_FALSE(Matches("(|)b", "b", kNone));
}

TEST(RegexCompile, UnopenedParenthesisEndsThePattern) {
  EXPECT_EQ(CompileError("ab)cd"), "");
  EXPECT_EQ(Len("ab)cd", "abcd"), 2);
  EXPECT_EQ(Len("ab)(", "ab"), 2);  // the rest is ignored, even if malformed
}

TEST(RegexCompile, MetacharactersWithNothingToRepeatAreLiterals) {
  EXPECT_EQ(Len("*a", "*a", kNone), 2);
  EXPECT_EQ(Len("+", "+", kNone), 1);
  EXPECT_EQ(Len("?", "?", kNone), 1);
  EXPECT_EQ(Len("{1}", "{1}", kNone), 3);
  EXPECT_EQ(Len("]}", "]}", kNone), 2);
  EXPECT_EQ(Len("a|*", "*", kNone), 1);
  // Anchors take no quantifier, so what follows them is a new item.
  EXPECT_EQ(Len("^*", "*", kNone), 1);
  EXPECT_EQ(Len("(?i)*", "*", kNone), 1);
  // A quantifier after a quantifier (other than the lazy mark) is a literal.
  EXPECT_EQ(Len("a*+", "aa+", kNone | kG), 3);
  // '{' after an item always starts a quantifier.
  EXPECT_EQ(CompileError("a{", kNone), "Number is expected");
}

TEST(RegexCompile, Escapes) {
  EXPECT_EQ(Len("\\a\\e\\f\\n\\r\\t", std::string("\x07\x1b\x0c\n\r\t"), kNone), 6);
  EXPECT_EQ(Len("\\x41\\x{ 42 }\\x{143}", "ABC", kNone), 3);
  EXPECT_EQ(Len("\\x4", std::string("\x04"), kNone), 1);  // fewer than two characters left
  EXPECT_EQ(Len("\\x61", "A", kI), 1);                     // escaped literals follow i too
  EXPECT_EQ(Len("\\q\\0\\.\\(\\[", "q0.([", kNone), 5);
  EXPECT_EQ(Len("a\\", "a\\", kNone), 2);  // a backslash at the very end is literal
  EXPECT_EQ(Len("a\\*", "a*", kNone), 2);
  EXPECT_EQ(Len("a\\*", "aa", kNone), 0);
  // An escape item takes a quantifier.
  EXPECT_EQ(Len("\\x41+", "AAA", kG), 3);
  EXPECT_EQ(Len("\\.{2}", "...", kG), 2);
  // A back-reference to the group it stands in is allowed: the group is
  // registered when its parenthesis opens.
  EXPECT_EQ(CompileError("(a\\1)"), "");
}

TEST(RegexCompile, ClassLettersFollowTheRModifier) {
  const std::string eAcute("\xE9");
  const std::string nbsp("\xA0");
  // Without r, \w \d \l are the ASCII classes c, k, g.
  EXPECT_EQ(Len("\\w", eAcute, kNone), 0);
  EXPECT_EQ(Len("\\w", eAcute, kR), 1);
  EXPECT_EQ(Len("\\W", eAcute, kNone), 1);
  EXPECT_EQ(Len("\\W", eAcute, kR), 0);
  EXPECT_EQ(Len("\\l", "_", kNone), 1);  // g includes the underscore
  EXPECT_EQ(Len("\\l", "_", kR), 0);
  EXPECT_EQ(Len("\\l", eAcute, kR), 1);
  EXPECT_EQ(Len("\\L", "_", kR), 1);
  EXPECT_EQ(Len("\\d+", "0129x", kG), 4);
  // c, g, k, s, h keep their meaning either way.
  EXPECT_EQ(Len("\\c", eAcute, kR), 0);
  EXPECT_EQ(Len("\\g", "5", kR), 0);
  EXPECT_EQ(Len("\\G", "5", kR), 1);
  EXPECT_EQ(Len("\\k", "5", kR), 1);
  EXPECT_EQ(Len("\\K", "5", kR), 0);
  EXPECT_EQ(Len("\\s", nbsp, kNone), 1);  // the locale's extra blank
  EXPECT_EQ(Len("\\s\\s\\s\\s", "\t\r\n\v", kNone), 4);
  EXPECT_EQ(Len("\\S", " ", kNone), 0);
  EXPECT_EQ(Len("\\h\\h", "fA", kNone), 2);
  EXPECT_EQ(Len("\\H", "g", kNone), 1);
}

TEST(RegexCompile, ExtendedModeSkipsBlanksAndComments) {
  EXPECT_EQ(Len("a b", "ab", kX), 2);
  EXPECT_EQ(Len("a b", "a b", kNone), 3);
  EXPECT_EQ(Len("a # comment\r\n b", "ab", kX), 2);
  EXPECT_EQ(Len("# leading comment\r\nab", "ab", kX), 2);
  // Not after a backslash.
  EXPECT_EQ(Len("a\\ b", "a b", kX), 3);
  EXPECT_EQ(Len("a\\#b", "a#b", kX), 3);
  EXPECT_EQ(CompileError("\\x4 1", kX), "'4 ' is not a valid integer value");
  // Inside sets.
  EXPECT_EQ(Len("[a b]", " ", kX), 0);
  EXPECT_EQ(Len("[a b]", "b", kX), 1);
  EXPECT_EQ(Len("[a b]", " ", kNone), 1);
  EXPECT_EQ(Len("[ a - c ]", "b", kX), 1);
  // Inside braces, but not inside a number.
  EXPECT_EQ(Len("a{ 2 , 3 }", "aaaa", kX | kG), 3);
  EXPECT_EQ(CompileError("a{ 2}", kNone), "Number is expected");
  EXPECT_EQ(CompileError("a{1 0}", kX), "Invalid loop specifier");
  // Not among the letters of a modifier group.
  EXPECT_EQ(CompileError("(?i m)", kX), "Unexpected modifier");
  // In x mode the '#' of a comment group starts an x comment: the group only
  // closes on a later line.
  TecRegExpr re("(?#c)a", kX);
  EXPECT_TRUE(re.IsEmpty());
  EXPECT_EQ(Len("(?#c\r\n)a", "a", kX), 1);
  EXPECT_EQ(Len("(?#c)a", "a", kNone), 1);
}

TEST(RegexCompile, InlineModifiersReachTheRestOfTheirAlternative) {
  // i switched on after 'a' covers 'b' and groups opened later...
  EXPECT_EQ(Len("a(?i)b", "aB", kNone), 2);
  EXPECT_EQ(Len("a(?i)b", "AB", kNone), 0);
  EXPECT_EQ(Len("a(?i)(b)", "aB", kNone), 2);
  // ...but not the other alternatives of the enclosing group.
  EXPECT_EQ(Len("a(?i)b|b", "B", kNone), 0);
  EXPECT_EQ(Len("(x(?i)a|a)", "A", kNone), 0);
  // A modifier inside a group does not leak out of it.
  EXPECT_EQ(Len("((?i)a)b", "Ab", kNone), 2);
  EXPECT_EQ(Len("((?i)a)b", "AB", kNone), 0);
  // Clearing with '-', and switching x on changes how the rest is read.
  EXPECT_EQ(Len("(?-i)a", "A", kAnalyzer), 0);
  EXPECT_EQ(Len("(?x)a b", "ab", kNone), 2);
  EXPECT_EQ(Len("(?-x)a b", "a b", kX), 3);
  EXPECT_EQ(Len("(?s).", "\n", kNone), 1);
  EXPECT_EQ(Len("(?i-i)a", "A", kNone), 0);
}

TEST(RegexCompile, ModifierMaskAndString) {
  TecRegExpr fresh;
  EXPECT_EQ(fresh.Modifiers(), 59);
  EXPECT_EQ(fresh.ModifierStr(), "(?irgmx-s)");
  fresh.SetModifiers(TecRegExpr::AnalyzerModifiers);
  EXPECT_EQ(fresh.ModifierStr(), "(?igmx-rs)");
  fresh.SetModifierStr("(?s)");
  EXPECT_EQ(fresh.Modifiers(), 57 | TecRegExpr::MaskModS);
  fresh.SetModifierStr("(?r-sx)");
  EXPECT_EQ(fresh.ModifierStr(), "(?irgm-sx)");
  // Only a value that begins with "(?" and has letters is applied.
  fresh.SetModifierStr("s");
  fresh.SetModifierStr("(?");
  EXPECT_EQ(fresh.ModifierStr(), "(?irgm-sx)");
  EXPECT_EQ(TecRegExpr::ParseModifierStr("s-i", 0), TecRegExpr::MaskModS);
  fresh.SetModifierStr("(?irsgmx)");
  EXPECT_EQ(fresh.Modifiers(), TecRegExpr::MaskModAll);
  EXPECT_EQ(fresh.ModifierStr(), "(?irsgmx)");
  EXPECT_THROW(fresh.SetModifierStr("(?iq)"), ERegExprError);
  EXPECT_EQ(fresh.Modifiers(), TecRegExpr::MaskModAll);  // unchanged by the failure
  fresh.SetModifiers(0);
  EXPECT_EQ(fresh.ModifierStr(), "(?-irsgmx)");

  // Every change of the mask discards the compiled pattern.
  TecRegExpr re("a", kI);
  EXPECT_EQ(re.MatchLength("A", 1), 1);
  EXPECT_TRUE(re.IsCompiled());
  re.SetModifier(kI, false);
  EXPECT_FALSE(re.IsCompiled());
  EXPECT_EQ(re.MatchLength("A", 1), 0);
  re.SetModifier(kI, true);
  EXPECT_EQ(re.MatchLength("A", 1), 1);
  re.SetExpression("b");
  EXPECT_FALSE(re.IsCompiled());
  EXPECT_EQ(re.MatchLength("B", 1), 1);
}

TEST(RegexCompile, SetMembersRangesAndClasses) {
  EXPECT_EQ(Len("[]a]", "]", kNone), 1);
  EXPECT_EQ(Len("[]a]", "a", kNone), 1);
  EXPECT_EQ(Len("[^]a]", "]", kNone), 0);
  EXPECT_EQ(Len("[^]a]", "b", kNone), 1);
  EXPECT_EQ(Len("[a-]", "-", kNone), 1);
  EXPECT_EQ(Len("[-a]", "-", kNone), 1);
  // '-' after a class is a member, not a range.
  EXPECT_EQ(Len("[\\d-x]", "-", kNone), 1);
  EXPECT_EQ(Len("[\\d-x]", "x", kNone), 1);
  EXPECT_EQ(Len("[\\d-x]", "7", kNone), 1);
  EXPECT_EQ(Len("[\\d-x]", "a", kNone), 0);
  // '-' after a range is a member.
  EXPECT_EQ(Len("[a-c-e]", "-", kNone), 1);
  EXPECT_EQ(Len("[a-c-e]", "b", kNone), 1);
  EXPECT_EQ(Len("[a-c-e]", "d", kNone), 0);
  // Escapes inside a set: \b is the letter, \] \- \\ are literal.
  EXPECT_EQ(Len("[\\b]", "b", kNone), 1);
  EXPECT_EQ(Len("[\\b]", "\b", kNone), 0);
  EXPECT_EQ(Len("[\\]\\-\\\\]+", "]-\\", kG), 3);
  EXPECT_EQ(Len("[\\x41-\\x43]", "B", kNone), 1);
  EXPECT_EQ(Len("[\\t]", "\t", kNone), 1);
  EXPECT_EQ(Len("[a\\sb]", " ", kNone), 1);
  // A class cannot bound a range; its '-' stays a member.
  EXPECT_EQ(Len("[a-\\d]", "-", kNone), 1);
  EXPECT_EQ(Len("[a-\\d]", "5", kNone), 1);
  EXPECT_EQ(Len("[a-\\d]", "b", kNone), 0);
  // A range with equal bounds is allowed.
  EXPECT_EQ(Len("[a-a]", "a", kNone), 1);
  // A negated set matches line breaks.
  EXPECT_EQ(Len("[^a]", "\r", kNone), 1);
  EXPECT_EQ(Len("[^a]", "\n", kNone), 1);
  EXPECT_EQ(Len("[^a]", "", kNone), 0);
}

TEST(RegexCompile, SetsUnderIgnoreCase) {
  EXPECT_EQ(Len("[a-z]", "Q", kI), 1);
  EXPECT_EQ(Len("[A-Z]", "q", kI), 1);
  EXPECT_EQ(Len("[a-z]", "Q", kNone), 0);
  EXPECT_EQ(Len("[xy]", "Y", kI), 1);
  EXPECT_EQ(Len("[^xy]", "Y", kI), 0);
  // Case mapping of the code page: e acute and E acute.
  EXPECT_EQ(Len("[\\xE9]", "\xC9", kI), 1);
  EXPECT_EQ(Len("[\\xE9]", "\xC9", kNone), 0);
  // Upper-casing happens before the comparison, so a range between '[' and
  // '`' (which holds no letter) does not take lower-case letters.
  EXPECT_EQ(Len("[Z-a]", "_", kNone), 1);
  EXPECT_EQ(Len("[_-`]", "a", kI), 0);
}

TEST(RegexCompile, QuantifierCounts) {
  EXPECT_EQ(Len("a{2}", "aaa", kG), 2);
  EXPECT_EQ(Len("a{3}", "aa", kG), 0);
  EXPECT_EQ(Len("a{2,}", "aaaaa", kG), 5);
  EXPECT_EQ(Len("a{2,3}", "aaaaa", kG), 3);
  EXPECT_EQ(Len("a{2,2}", "aaaaa", kG), 2);
  EXPECT_EQ(Len("a{0}b", "b", kG), 1);
  EXPECT_EQ(Len("a{12}", std::string(12, 'a'), kG), 12);
  EXPECT_EQ(Len("a+", "", kG), 0);
  EXPECT_EQ(Len("ab?c", "ac", kG), 2);
  EXPECT_EQ(Len("ab*", "abbb", kG), 4);  // the quantifier binds to the last literal only
  EXPECT_EQ(Len("ab*", "abab", kG), 2);
  EXPECT_EQ(CompileError("a{99999999999}", kNone), "'99999999999' is not a valid integer value");
}
