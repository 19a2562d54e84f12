// Matching in a window of a text (the text from some point on, plus the byte before it) must answer exactly as matching the whole text.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "RegexTestSupport.h"

namespace penwick::regextest {
namespace {

// Patterns from a small grammar of the dialect, weighted towards the parts
// that look at the byte before the match position.
class TPatternGen {
public:
  explicit TPatternGen(std::mt19937& rng) : m_rng(rng) {}

  std::string Alternation(int depth) {
    std::string s = Sequence(depth);
    if (Roll(4) == 0) {
      s += '|';
      s += Sequence(depth);
    }
    return s;
  }

private:
  int Roll(int n) { return static_cast<int>(m_rng() % static_cast<unsigned>(n)); }

  std::string Sequence(int depth) {
    std::string s;
    for (int i = 1 + Roll(4); i > 0; --i) s += Item(depth);
    return s;
  }

  std::string Item(int depth) {
    static const char* const atoms[] = {"a", "b", "x", "_", "1", ".", "\\w", "\\W", "\\d", "\\s", "\\r", "\\n",
                                        "[ab_]", "[^a\\r\\n]", "\\x20"};
    static const char* const checks[] = {"^", "$", "\\b", "\\B", "\\A", "\\Z"};
    static const char* const quantifiers[] = {"*", "+", "?", "{1,2}", "*?", "+?"};
    const int kind = Roll(10);
    if (kind < 3) return checks[Roll(6)];
    std::string atom;
    if (kind == 3 && depth > 0) {
      atom = '(';
      atom += Alternation(depth - 1);
      atom += ')';
    } else {
      atom = atoms[Roll(15)];
    }
    if (Roll(3) == 0) atom += quantifiers[Roll(6)];
    return atom;
  }

  std::mt19937& m_rng;
};

std::string RandomText(std::mt19937& rng) {
  static const char chars[] = "ab x_1\r\n\r\n.";
  std::string s;
  for (int n = static_cast<int>(rng() % 24); n > 0; --n) s += chars[rng() % (sizeof chars - 1)];
  return s;
}

struct TOutcome {
  bool Matched = false;
  int End = 0;
  std::vector<int> Starts, Ends;
  std::vector<std::string> Texts;
};

// Positions are reported shifted by `shift` so that window results compare
// with whole-text ones directly.
TOutcome MatchOutcome(TecRegExpr& re, std::string_view text, int pos, int charBefore, int shift) {
  TOutcome out;
  int end = pos;
  out.Matched = re.Match(text, end, charBefore);
  if (!out.Matched) return out;
  out.End = end + shift;
  for (int g = 0; g < re.SubExprCount(); ++g) {
    const int s = re.SubExprStart(g), e = re.SubExprEnd(g);
    out.Starts.push_back(s < 0 ? s : s + shift);
    out.Ends.push_back(e < 0 ? e : e + shift);
    out.Texts.push_back(re.SubExprText(text, g));
  }
  return out;
}

bool Same(const TOutcome& a, const TOutcome& b) {
  return a.Matched == b.Matched && a.End == b.End && a.Starts == b.Starts && a.Ends == b.Ends && a.Texts == b.Texts;
}

std::string Show(const std::string& s) {
  std::string out;
  for (char c : s) out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

TEST(RegexWindow, RandomPatternsMatchInAWindowAsOnTheWholeText) {
  std::mt19937 rng(5150u);
  TPatternGen gen(rng);
  const uint16_t modifierSets[] = {kAnalyzer, kDefault, static_cast<uint16_t>(kAnalyzer & ~TecRegExpr::MaskModM),
                                   static_cast<uint16_t>(kAnalyzer | TecRegExpr::MaskModS)};
  int compared = 0;
  int beforeMattered = 0;  // windows whose answer the byte before changed
  for (int p = 0; p < 1500; ++p) {
    const std::string pattern = gen.Alternation(2);
    const uint16_t mods = modifierSets[p % 4];
    TecRegExpr whole(pattern, mods);
    try {
      whole.Compile();
    } catch (const ERegExprError&) {
      continue;
    }
    TecRegExpr window(pattern, mods);
    for (int t = 0; t < 8; ++t) {
      const std::string text = RandomText(rng);
      const int size = static_cast<int>(text.size());
      const int pos = 1 + static_cast<int>(rng() % static_cast<unsigned>(size + 1));
      const int k = static_cast<int>(rng() % static_cast<unsigned>(pos));  // window = text from index k
      const std::string_view rest = std::string_view(text).substr(static_cast<std::size_t>(k));
      const int before = k > 0 ? static_cast<unsigned char>(text[static_cast<std::size_t>(k) - 1]) : -1;
      const TOutcome expected = MatchOutcome(whole, text, pos, -1, 0);
      const TOutcome got = MatchOutcome(window, rest, pos - k, before, k);
      ASSERT_TRUE(Same(expected, got)) << "pattern '" << Show(pattern) << "' mods " << mods << " text '" << Show(text)
                                       << "' pos " << pos << " window from " << k << ": whole "
                                       << (expected.Matched ? "matches to " + std::to_string(expected.End) : "fails")
                                       << ", window " << (got.Matched ? "matches to " + std::to_string(got.End) : "fails");
      ++compared;
      if (k > 0 && !Same(expected, MatchOutcome(window, rest, pos - k, -1, k))) ++beforeMattered;
    }
  }
  // The property only means something if windows often start at the match
  // position with a byte before them that decides the answer.
  EXPECT_GT(compared, 5000);
  EXPECT_GT(beforeMattered, 100);
}

TEST(RegexWindow, TheByteBeforeTheWindowDecidesTheChecksAtItsFirstPosition) {
  struct TCase {
    const char* Pattern;
    uint16_t Mods;
    const char* Window;
    int Before;
    int Length;  // of the match at the window's first position; -1: no match
  } cases[] = {
      // A line starts after LF or a lone CR, not between CR and LF, and not
      // merely because a window starts there.
      {"^a", kAnalyzer, "a", '\n', 1},
      {"^a", kAnalyzer, "a", '\r', 1},
      {"^a", kAnalyzer, "a", 'x', -1},
      {"^\\n", kAnalyzer, "\n", '\r', -1},
      {"^a", kAnalyzer & ~TecRegExpr::MaskModM, "a", '\n', -1},
      // A line ends before CR and before an LF that does not end a CR LF.
      {"$", kAnalyzer, "\n", '\r', -1},
      {"$", kAnalyzer, "\n", 'a', 0},
      // \A only at the true start of the text.
      {"\\Aa", kAnalyzer, "a", -1, 1},
      {"\\Aa", kAnalyzer, "a", ' ', -1},
      // Word boundaries look at the byte before the window.
      {"\\ba", kAnalyzer, "a", 'b', -1},
      {"\\ba", kAnalyzer, "a", ' ', 1},
      {"\\Ba", kAnalyzer, "a", '_', 1},
      {"\\Ba", kAnalyzer, "a", 0xE9, 1},  // a letter of the code page
      {"\\ba", kAnalyzer, "a", -1, 1},
  };
  for (const TCase& c : cases) {
    TecRegExpr re(c.Pattern, c.Mods);
    int end = 1;
    const bool matched = re.Match(std::string_view(c.Window), end, c.Before);
    EXPECT_EQ(c.Length >= 0, matched) << Show(c.Pattern) << " before " << c.Before;
    if (matched && c.Length >= 0) {
      EXPECT_EQ(1 + c.Length, end) << Show(c.Pattern) << " before " << c.Before;
    }
  }
}

}  // namespace
}  // namespace penwick::regextest
