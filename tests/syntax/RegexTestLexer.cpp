// The mission lexer's token-rule patterns run through TecRegExpr with the
// analyser's modifiers, and the first-character sets callers skip rules by.
#include "RegexTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace penwick;
using namespace penwick::regextest;

namespace {

// The ten token rules of the mission lexer, in order, as the lexer stores them.
const char* const kRules[] = {
    "[a-z_]\\w*",
    "'.*?('|$)\r\n",
    "#with exp. dot is optional \r\n\\d+ \\.? \\d+ e [\\+\\-]? \\d+ |\r\n#without exp. dot is required\r\n\\d+ \\. \\d+",
    "\\d+",
    "\\#.*",
    "(?s)/\\*.*?(\\*/|\\Z)\r\n",
    "//.*",
    "\\$[a-f\\d]+",
    "[/\\*,\\.;:\\(\\)=<>\\+\\-\\[\\]]",
    "\\#(\\d+|\\$[\\da-f]+)",
};
enum { kVariables = 1, kString, kFloat, kInteger, kPreprocessor, kComment1, kComment3, kHex, kSymbol, kChar };

int RuleLen(int rule, const std::string& text, int pos = 1) { return Len(kRules[rule - 1], text, kAnalyzer, pos); }

struct TToken {
  int rule;
  std::string text;
  bool operator==(const TToken&) const = default;
};

// Tokenises as the analyser does: at each position the first rule with a
// match longer than zero wins; otherwise one character is skipped.
std::vector<TToken> Tokenise(const std::string& text) {
  std::vector<TecRegExpr> rules;
  for (const char* rule : kRules) rules.emplace_back(rule, kAnalyzer);
  std::vector<TToken> tokens;
  int pos = 1;
  while (pos <= static_cast<int>(text.size())) {
    int length = 0;
    int rule = 0;
    for (; rule < 10 && length == 0; ++rule) length = rules[rule].MatchLength(text, pos);
    if (length > 0) {
      tokens.push_back({rule, text.substr(pos - 1, length)});
      pos += length;
    } else {
      ++pos;
    }
  }
  return tokens;
}

}  // namespace

TEST(RegexLexer, IdentifiersAreAsciiAndCaseInsensitive) {
  EXPECT_EQ(RuleLen(kVariables, "LEVELSTART x"), 10);
  EXPECT_EQ(RuleLen(kVariables, "levelStart_2(x)"), 12);
  EXPECT_EQ(RuleLen(kVariables, "ab\xE9"), 2);  // \w is ASCII without r
  EXPECT_EQ(RuleLen(kVariables, "\xE9"), 0);
  EXPECT_EQ(RuleLen(kVariables, "2ab"), 0);
}

TEST(RegexLexer, FloatRuleWithCommentLines) {
  EXPECT_EQ(RuleLen(kFloat, "1.5"), 3);
  EXPECT_EQ(RuleLen(kFloat, "15e3"), 4);
  EXPECT_EQ(RuleLen(kFloat, "1.5E-3"), 6);
  EXPECT_EQ(RuleLen(kFloat, "25e+10,"), 6);
  EXPECT_EQ(RuleLen(kFloat, "2e+10"), 0);  // the exponent form needs two digits before e
  EXPECT_EQ(RuleLen(kFloat, "128.5,128.5"), 5);
  EXPECT_EQ(RuleLen(kFloat, "15. "), 0);
  EXPECT_EQ(RuleLen(kFloat, "15 "), 0);
  EXPECT_EQ(RuleLen(kFloat, "15e"), 0);
  EXPECT_EQ(RuleLen(kInteger, "15. "), 2);
}

TEST(RegexLexer, BlockCommentRunsToItsCloseOrTheEnd) {
  const std::string closed = "/* a\r\nb */ c";
  EXPECT_EQ(RuleLen(kComment1, closed), 10);
  const std::string open = "/* a\r\nb  c";
  EXPECT_EQ(RuleLen(kComment1, open), static_cast<int>(open.size()));
  EXPECT_EQ(RuleLen(kComment1, "/*/ x */"), 8);  // the star of the opener does not close
  EXPECT_EQ(RuleLen(kComment1, "/**/"), 4);
  EXPECT_EQ(RuleLen(kComment1, "/ *"), 0);
}

TEST(RegexLexer, StringsStopAtTheirQuoteOrTheLineEnd) {
  EXPECT_EQ(RuleLen(kString, "'abc\r\nx'"), 4);
  EXPECT_EQ(RuleLen(kString, "'abc\nx'"), 4);
  EXPECT_EQ(RuleLen(kString, "'ab'cd'"), 4);
  EXPECT_EQ(RuleLen(kString, "''"), 2);
  EXPECT_EQ(RuleLen(kString, "'abc"), 4);
}

TEST(RegexLexer, OtherRules) {
  EXPECT_EQ(RuleLen(kPreprocessor, "#ifdef PSX\r\nx"), 10);
  EXPECT_EQ(RuleLen(kComment3, "// note\r\nx"), 7);
  EXPECT_EQ(RuleLen(kHex, "$1aF g"), 4);
  EXPECT_EQ(RuleLen(kHex, "$g"), 0);
  EXPECT_EQ(RuleLen(kSymbol, "[x"), 1);
  EXPECT_EQ(RuleLen(kSymbol, "]"), 1);
  EXPECT_EQ(RuleLen(kSymbol, "-"), 1);
  EXPECT_EQ(RuleLen(kSymbol, "!"), 0);
  EXPECT_EQ(RuleLen(kChar, "#12 "), 3);
  EXPECT_EQ(RuleLen(kChar, "#$1f "), 4);
  EXPECT_EQ(RuleLen(kChar, "#x"), 0);
}

TEST(RegexLexer, TokenisesAScriptInRuleOrder) {
  const std::string script =
      "GENERATOR rocket1 = (128.5,128.5) 0 COLLECT_02 0 0 99 // lights\r\n"
      "#12 PSX\r\n"
      "x = 'it''s\r\n"
      "/* a\r\nb */ $1F 1.5E-3;";
  const std::vector<TToken> expected = {
      {kVariables, "GENERATOR"}, {kVariables, "rocket1"}, {kSymbol, "="},        {kSymbol, "("},
      {kFloat, "128.5"},         {kSymbol, ","},          {kFloat, "128.5"},     {kSymbol, ")"},
      {kInteger, "0"},           {kVariables, "COLLECT_02"}, {kInteger, "0"},    {kInteger, "0"},
      {kInteger, "99"},          {kComment3, "// lights"},
      {kPreprocessor, "#12 PSX"},  // a '#' never starts a Char token: rule 5 comes first
      {kVariables, "x"},         {kSymbol, "="},          {kString, "'it'"},     {kString, "'s"},
      {kComment1, "/* a\r\nb */"}, {kHex, "$1F"},         {kFloat, "1.5E-3"},    {kSymbol, ";"},
  };
  EXPECT_EQ(Tokenise(script), expected);
}

TEST(RegexLexer, FirstCharactersOfPatterns) {
  TecRegExpr ident(kRules[0], kAnalyzer);
  EXPECT_TRUE(ident.CanStartWith('Q'));
  EXPECT_TRUE(ident.CanStartWith('q'));
  EXPECT_TRUE(ident.CanStartWith('_'));
  EXPECT_FALSE(ident.CanStartWith('1'));
  EXPECT_FALSE(ident.CanStartWith(' '));
  EXPECT_FALSE(ident.CanMatchEmpty());

  TecRegExpr optional("a*b", TecRegExpr::MaskModG);
  EXPECT_TRUE(optional.CanStartWith('a'));
  EXPECT_TRUE(optional.CanStartWith('b'));
  EXPECT_FALSE(optional.CanStartWith('A'));
  TecRegExpr checks("\\b^\\z", TecRegExpr::MaskModM);
  EXPECT_TRUE(checks.CanStartWith('\r'));
  EXPECT_TRUE(checks.CanStartWith('\n'));
  EXPECT_FALSE(checks.CanStartWith('x'));
  TecRegExpr faulty("[z-a]");
  EXPECT_TRUE(faulty.FirstChars().IsEmpty());
  EXPECT_FALSE(faulty.CanMatchEmpty());

  EXPECT_TRUE(TecRegExpr("a*").CanMatchEmpty());
  EXPECT_TRUE(TecRegExpr("(a|b*)").CanMatchEmpty());
  EXPECT_TRUE(TecRegExpr("^").CanMatchEmpty());
  EXPECT_FALSE(TecRegExpr("()").CanMatchEmpty());
  EXPECT_FALSE(TecRegExpr("(a|b)c*").CanMatchEmpty());
}

// Whenever a pattern matches with a length above zero, its first-character
// set must hold the character it started on. The pattern is checked inside
// a wrapper that can match empty, so Match cannot use the set itself.
TEST(RegexLexer, FirstCharacterSetsNeverRefuseARealMatch) {
  std::vector<std::string> patterns(std::begin(kRules), std::end(kRules));
  for (const char* extra : {"(?i)x|\\d", "a?b*(c|d?)e", "\\s+\\w", "[^a-c]+", "\\B.", "(?s)\\z*.", "x{0,2}y",
                            "(ab|(?i)c)+", "\\b[^\\w]", "$\\z", "^ab", "((a)?(b)?)+c"})
    patterns.push_back(extra);
  std::mt19937 random(20261209);
  const std::string alphabet = "aAbBcCdDeExX_19 \t\r\n'\"#$/*.,;:()[]=<>+-\xE9\xC9";
  std::string text;
  for (int i = 0; i < 3000; ++i) text += alphabet[random() % alphabet.size()];
  int nonEmpty = 0;
  for (const std::string& pattern : patterns) {
    for (uint16_t mods : {kAnalyzer, kDefault, static_cast<uint16_t>(0)}) {
      TecRegExpr plain(pattern, mods);
      if (plain.IsEmpty()) continue;
      // In x mode a trailing comment line must not swallow the ')'.
      const std::string body = (mods & TecRegExpr::MaskModX) ? pattern + "\r\n" : pattern;
      TecRegExpr wrapped("(" + body + ")|\\Z*", mods);
      ASSERT_TRUE(wrapped.CanMatchEmpty());
      for (int pos = 1; pos <= static_cast<int>(text.size()); ++pos) {
        const int length = wrapped.MatchLength(text, pos);
        if (length > 0) {
          ++nonEmpty;
          ASSERT_TRUE(plain.CanStartWith(static_cast<unsigned char>(text[pos - 1])))
              << pattern << " at " << pos << " mods " << mods;
        }
        // The refusal inside Match must agree with the full procedure.
        ASSERT_EQ(plain.MatchLength(text, pos), length) << pattern << " at " << pos << " mods " << mods;
      }
    }
  }
  EXPECT_GT(nonEmpty, 5000);  // the text gives every pattern real matches
}
