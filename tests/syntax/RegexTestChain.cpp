// The quick paths of matching against the general backtracking matcher, on
// random patterns and texts: the one-walk matching of simple chains
// (literals and classes whose repetitions cannot compete with what follows),
// and the refusal by the bytes a match must consume.
#include "RegexTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "syntax/RegExprCompiler.h"
#include "syntax/RegExprMatcher.h"
#include "syntax/RegExprProgram.h"

using namespace penwick;
using namespace penwick::regextest;

namespace {

bool Deterministic(const std::string& pattern, uint16_t mods = kAnalyzer) {
  TRegExprCompiler compiler(pattern, mods);
  return compiler.Run()->Deterministic;
}

TEST(RegexChain, TheLexerRulesOfIdentifiersNumbersAndCommentsAreChains) {
  for (const char* pattern : {R"([a-z_]\w*)", R"(\d+)", R"(//.*)", R"(\#.*)", R"(\$[a-f\d]+)", R"([/\*,\.])"})
    EXPECT_TRUE(Deterministic(pattern)) << pattern;
  // Repetitions that share bytes with what follows, groups, alternatives,
  // checks and lazy items need the general matcher.
  for (const char* pattern : {R"(\d+\.?\d+)", R"(\w*a)", R"([ab]*b)", R"(a|b)", R"((a))", R"(a$)", R"(\w*?)",
                              R"(\d*x?\d)"})
    EXPECT_FALSE(Deterministic(pattern)) << pattern;
  // A repetition may be followed by anything that cannot start with its bytes.
  EXPECT_TRUE(Deterministic(R"(\d*[.]?[a-z]+;)"));
}

TEST(RegexChain, AnswersAsTheGeneralMatcherOnRandomPatterns) {
  // Pieces over a small alphabet, so that repetitions often meet what follows.
  const char* const atoms[] = {"a", "b", "A", "x", "[ab]", "[a-c]", R"(\d)", R"(\w)", ".", "[^a]", "1", " "};
  const char* const counts[] = {"", "", "*", "+", "?", "{2}", "{1,3}", "{0,2}", "{3,}"};
  const char alphabet[] = "aAbBcx1_ .\r";
  std::mt19937 rng(20261210);
  int chains = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string pattern;
    const int items = 1 + static_cast<int>(rng() % 5);
    for (int i = 0; i < items; ++i) {
      pattern += atoms[rng() % std::size(atoms)];
      pattern += counts[rng() % std::size(counts)];
    }
    const uint16_t mods = (rng() % 2) ? kAnalyzer : kDefault;
    if (!Deterministic(pattern, mods)) continue;
    ++chains;
    for (int t = 0; t < 6; ++t) {
      std::string text;
      const int length = static_cast<int>(rng() % 10);
      for (int i = 0; i < length; ++i) text += alphabet[rng() % (sizeof alphabet - 1)];
      const int pos = 1 + static_cast<int>(rng() % (text.size() + 1));
      TecRegExpr chain(pattern, mods);
      TecRegExpr general(pattern, mods);
      // Below this budget the general matcher is always used.
      general.SetStepBudget(TRegExprMatcher::DeterministicMinBudget - 1);
      chain.SetKeepCompleteMatches(t % 2);  // both ways of settling a group
      general.SetKeepCompleteMatches(t % 2);
      int chainEnd = pos;
      int generalEnd = pos;
      const bool chainHit = chain.Match(text, chainEnd);
      const bool generalHit = general.Match(text, generalEnd);
      ASSERT_EQ(chainHit, generalHit) << pattern << " on \"" << text << "\" at " << pos;
      ASSERT_EQ(chainEnd, generalEnd) << pattern << " on \"" << text << "\" at " << pos;
      if (chainHit) {
        ASSERT_EQ(chain.SubExprStart(0), general.SubExprStart(0)) << pattern;
        ASSERT_EQ(chain.SubExprEnd(0), general.SubExprEnd(0)) << pattern;
      }
    }
  }
  EXPECT_GT(chains, 500);  // the generator reaches the chains
}

TEST(RegexChain, RefusalByBytesNeverRefusesAMatch) {
  // Numbers without a dot or an exponent are refused at once by the
  // float rule of the mission lexer; floats are not.
  TecRegExpr number(R"(\d+ \.? \d+ e [\+\-]? \d+ | \d+ \. \d+)", kAnalyzer);
  EXPECT_TRUE(number.RuledOut("180 , 25", 1));
  EXPECT_FALSE(number.RuledOut("127.5 ,", 1));
  EXPECT_FALSE(number.RuledOut("1E5", 1));
  EXPECT_FALSE(TecRegExpr("a*", kAnalyzer).RuledOut("bbb", 1));  // may match empty

  const char* const atoms[] = {"a", "b", "x", "[ab]", R"(\d)", ".", "(a|bx)", "(x|)", R"(\z)", "$", R"(\b)",
                               "(?:ab)", R"((a)\1)", "y"};
  const char* const counts[] = {"", "", "*", "+", "?", "{2}", "*?"};
  const char alphabet[] = "abxyAB1 \r\n";
  std::mt19937 rng(1210);
  int refused = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string pattern;
    const int items = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < items; ++i) {
      pattern += atoms[rng() % std::size(atoms)];
      pattern += counts[rng() % std::size(counts)];
      if (rng() % 6 == 0) pattern += "|";
    }
    const uint16_t mods = (rng() % 2) ? kAnalyzer : kDefault;
    TecRegExpr re(pattern, mods);
    try {
      re.Compile();
    } catch (const ERegExprError&) {
      continue;
    }
    for (int t = 0; t < 4; ++t) {
      std::string text;
      const int length = static_cast<int>(rng() % 8);
      for (int i = 0; i < length; ++i) text += alphabet[rng() % (sizeof alphabet - 1)];
      const int pos = 1 + static_cast<int>(rng() % (text.size() + 1));
      if (!re.RuledOut(text, pos)) continue;
      ++refused;
      int end = pos;
      ASSERT_FALSE(re.Match(text, end)) << pattern << " on \"" << text << "\" at " << pos;
    }
  }
  EXPECT_GT(refused, 1000);  // the generator reaches the refusal
}

TEST(RegexChain, QuickAnswersAgreeWithTheMatcherOnAlternatives) {
  // The float rule: "127.5" refuses the exponent alternative by its bytes and
  // walks the second; "1.5e-3" needs the whole matcher.
  TecRegExpr number(R"(\d+ \.? \d+ e [\+\-]? \d+ | \d+ \. \d+)", kAnalyzer);
  EXPECT_EQ(number.QuickMatchLength("127.5 ,", 1, -1), 5);
  EXPECT_EQ(number.QuickMatchLength("x1.5e-3", 2, 'x'), 6);
  EXPECT_EQ(number.QuickMatchLength("12 ", 1, -1), 0);

  const char* const atoms[] = {"a", "b", "x", "[ab]", R"(\d)", ".", "(?:a|bx)", "e", "[^a]", R"(\.)", "$"};
  const char* const counts[] = {"", "", "*", "+", "?", "{2}", "*?"};
  const char alphabet[] = "abxeE1. \r";
  std::mt19937 rng(99);
  int quick = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string pattern;
    const int alternatives = 2 + static_cast<int>(rng() % 3);
    for (int a = 0; a < alternatives; ++a) {
      if (a) pattern += "|";
      for (int i = static_cast<int>(rng() % 4); i > 0; --i) {
        pattern += atoms[rng() % std::size(atoms)];
        pattern += counts[rng() % std::size(counts)];
      }
    }
    const uint16_t mods = (rng() % 2) ? kAnalyzer : kDefault;
    for (int t = 0; t < 4; ++t) {
      std::string text;
      const int length = static_cast<int>(rng() % 8);
      for (int i = 0; i < length; ++i) text += alphabet[rng() % (sizeof alphabet - 1)];
      const int pos = 1 + static_cast<int>(rng() % (text.size() + 1));
      TecRegExpr fast(pattern, mods);
      TecRegExpr general(pattern, mods);
      int quickLength = 0;
      int generalLength = 0;
      try {
        quickLength = fast.QuickMatchLength(text, pos, -1);
        generalLength = general.MatchLength(text, pos, -1);
      } catch (const ERegExprError&) {
        break;  // does not compile
      }
      ASSERT_EQ(quickLength, generalLength) << pattern << " on \"" << text << "\" at " << pos;
      if (generalLength > 0) {
        ASSERT_EQ(fast.SubExprEnd(0), general.SubExprEnd(0)) << pattern;
        ++quick;
      }
    }
  }
  EXPECT_GT(quick, 1000);
}

TEST(RegexChain, SkippedContinuationsLeaveMatchesAndGroupsAsTheyWere) {
  // Every continuation tried, against the program that skips those that
  // cannot start on the byte at hand: same outcome, end and groups.
  const char* const atoms[] = {"a", "b", "x", "[ab]", ".", "(a|bx)", "(x|$)", R"(\Z)", "$", "^", R"(\b)",
                               R"(\z)", "(?:ab)", R"((a)\1)", "(a*?)", "(?s)."};
  const char* const counts[] = {"", "", "*", "+", "?", "{2}", "*?", "+?"};
  const char alphabet[] = "abxAB \r\n";
  std::mt19937 rng(4242);
  int guarded = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string pattern;
    for (int i = 1 + static_cast<int>(rng() % 5); i > 0; --i) {
      pattern += atoms[rng() % std::size(atoms)];
      pattern += counts[rng() % std::size(counts)];
      if (rng() % 8 == 0) pattern += "|";
    }
    const uint16_t mods = (rng() % 2) ? kAnalyzer : kDefault;
    std::shared_ptr<TRegExprProgram> skipping;
    try {
      skipping = TRegExprCompiler(pattern, mods).Run();
    } catch (const ERegExprError&) {
      continue;
    }
    skipping->Deterministic = false;  // the backtracking matcher on both
    TRegExprProgram trying = *skipping;
    bool any = false;
    for (TRegExprNode& node : trying.Nodes) {
      any = any || node.GuardContinuation;
      node.GuardContinuation = false;
    }
    if (!any) continue;
    ++guarded;
    const auto groups = static_cast<std::size_t>(skipping->GroupCount);
    for (int t = 0; t < 4; ++t) {
      std::string text;
      for (int i = static_cast<int>(rng() % 9); i > 0; --i) text += alphabet[rng() % (sizeof alphabet - 1)];
      const int pos = 1 + static_cast<int>(rng() % (text.size() + 1));
      const bool keepComplete = t % 2;  // both ways of settling a group
      std::vector<int> s1(groups), e1(groups), s2(groups), e2(groups);
      int end1 = pos, end2 = pos;
      const bool hit1 =
          TRegExprMatcher(*skipping, text, s1.data(), e1.data(), 1'000'000, -1, keepComplete).Run(end1);
      const bool hit2 = TRegExprMatcher(trying, text, s2.data(), e2.data(), 1'000'000, -1, keepComplete).Run(end2);
      ASSERT_EQ(hit1, hit2) << pattern << " on \"" << text << "\" at " << pos;
      ASSERT_EQ(end1, end2) << pattern << " on \"" << text << "\" at " << pos;
      if (hit1) {
        ASSERT_EQ(s1, s2) << pattern << " on \"" << text << "\" at " << pos;
        ASSERT_EQ(e1, e2) << pattern << " on \"" << text << "\" at " << pos;
      }
    }
  }
  EXPECT_GT(guarded, 1000);
}

}  // namespace

namespace {

// Random patterns over the whole dialect: nested groups and alternatives,
// back-references, anchors and word checks, lazy and bounded repetitions,
// inline modifiers, x-mode blanks and comments, bytes above 0x7F that the
// code page maps between cases.
class TPatternGrammar {
public:
  explicit TPatternGrammar(uint32_t seed) : m_rng(seed) {}

  std::string Pattern() {
    m_groups = 0;
    return Alternatives(0);
  }
  int Pick(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

private:
  std::string Alternatives(int depth) {
    std::string s = Chain(depth);
    while (Pick(depth == 0 ? 2 : 4) == 0) s += "|" + (Pick(5) ? Chain(depth) : std::string());
    return s;
  }
  std::string Chain(int depth) {
    std::string s;
    for (int i = 1 + Pick(4); i > 0; --i) s += Item(depth);
    return s;
  }
  std::string Item(int depth) {
    static const char* const counts[] = {"", "", "", "*", "+", "?", "{2}", "{1,3}", "{0,2}", "{2,}", "*?", "+?", "??",
                                         "{1,2}?"};
    static const char* const atoms[] = {
        "a", "b", "A", "x", "\xE9", "\xC9", "\xFF", "\x9F", "\x9A", "ab", "1", " ", "\\ ", "\\#", "[ab]", "[a-c]",
        "[^a]", "[\xE0-\xEF]", "[\\d-x]", "[A\xC9]", "\\d", "\\w", "\\W", "\\s", "\\l", ".", "\\z", "\\r", "\\n",
        "\\x41"};
    static const char* const bare[] = {"^", "$", "\\b", "\\B", "\\A", "\\Z", "(?i)", "(?-i)", "(?s)", "(?-g)", "#c\n"};
    const std::string count = counts[Pick(static_cast<int>(std::size(counts)))];
    switch (Pick(14)) {
      case 0:
        if (depth < 3) {
          ++m_groups;
          return "(" + Alternatives(depth + 1) + ")" + count;
        }
        break;
      case 1:
        if (m_groups > 0) return "\\" + std::to_string(1 + Pick(m_groups)) + (Pick(3) ? "" : count);
        break;
      case 2:
      case 3: return bare[Pick(static_cast<int>(std::size(bare)))];
      default: break;
    }
    return atoms[Pick(static_cast<int>(std::size(atoms)))] + count;
  }

  std::mt19937 m_rng;
  int m_groups = 0;
};

TEST(RegexChain, QuickPathsAgreeWithTheFullMatcherOverTheWholeDialect) {
  const char alphabet[] = "aAbx1_ \r\n\xE9\xC9\xFF\x9F\x9A\x8A-#";
  TPatternGrammar grammar(31337);
  int matched = 0;
  for (int round = 0; round < 6000; ++round) {
    const std::string pattern = grammar.Pattern();
    const uint16_t mods = grammar.Pick(2) ? kAnalyzer : static_cast<uint16_t>(grammar.Pick(64));
    std::shared_ptr<TRegExprProgram> program;
    try {
      program = TRegExprCompiler(pattern, mods).Run();
    } catch (const ERegExprError&) {
      continue;
    }
    // The full matcher: no chain walk, every continuation tried.
    TRegExprProgram full = *program;
    full.Deterministic = false;
    for (TRegExprNode& node : full.Nodes) node.GuardContinuation = false;
    const auto groups = static_cast<std::size_t>(program->GroupCount);
    for (int t = 0; t < 6; ++t) {
      std::string text;
      for (int i = grammar.Pick(12); i > 0; --i) text += alphabet[grammar.Pick(sizeof alphabet - 1)];
      const int pos = 1 + grammar.Pick(static_cast<int>(text.size()) + 1);
      // A window that does not start the text sees the byte before it.
      const int charBefore = grammar.Pick(3) ? -1 : static_cast<unsigned char>(alphabet[grammar.Pick(sizeof alphabet - 1)]);
      const bool keep = t % 2;
      std::vector<int> starts(groups), ends(groups);
      int fullEnd = pos;
      const bool fullHit = !full.IsEmpty() &&
                           TRegExprMatcher(full, text, starts.data(), ends.data(), 1'000'000, charBefore, keep).Run(fullEnd);
      const std::string where = pattern + " (mods " + std::to_string(mods) + ") at " + std::to_string(pos) + " of \"" +
                                text + "\" after " + std::to_string(charBefore) + (keep ? ", keeping" : "");
      TecRegExpr re(pattern, mods);
      re.SetKeepCompleteMatches(keep);
      int end = pos;
      ASSERT_EQ(re.Match(text, end, charBefore), fullHit) << where;
      ASSERT_EQ(end, fullHit ? fullEnd : pos) << where;
      if (fullHit) {
        ++matched;
        for (std::size_t g = 0; g < groups; ++g) {
          ASSERT_EQ(re.SubExprStart(static_cast<int>(g)), starts[g]) << where << " group " << g;
          ASSERT_EQ(re.SubExprEnd(static_cast<int>(g)), ends[g]) << where << " group " << g;
        }
      }
      if (keep) continue;  // the lexer's answers are for its own rule only
      TecRegExpr lexer(pattern, mods);
      ASSERT_EQ(lexer.QuickMatchLength(text, pos, charBefore), fullHit ? fullEnd - pos : 0) << where;
      if (fullHit && fullEnd > pos) {
        ASSERT_EQ(lexer.SubExprText(text, 0), text.substr(pos - 1, fullEnd - pos)) << where;
      }
      ASSERT_FALSE(fullHit && TecRegExpr(pattern, mods).RuledOut(text, pos)) << where;
    }
  }
  EXPECT_GT(matched, 8000);  // the generator reaches matches
}

}  // namespace

namespace {

// The refusal reads a bounded stretch: a long run of bytes a match could
// consume leaves it unsure instead of reading to the run's end at every
// position (quadratic over one long line), and the answer stays the
// matcher's.
TEST(RegexChain, RefusalReadsABoundedStretch) {
  TecRegExpr number(R"(\d+ \.? \d+ e [\+\-]? \d+ | \d+ \. \d+)", kAnalyzer);
  std::string run;
  while (run.size() < 4 * TecRegExpr::RuleOutReach) run += "12+";
  EXPECT_FALSE(number.RuledOut(run, 1));
  EXPECT_TRUE(number.RuledOut(run.substr(0, TecRegExpr::RuleOutReach / 2), 1));
  EXPECT_EQ(number.QuickMatchLength(run, 1, -1), 0);
  EXPECT_EQ(number.QuickMatchLength(run + "1.5", static_cast<int>(run.size()) + 1, '+'), 3);
}

}  // namespace
