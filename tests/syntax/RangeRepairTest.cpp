// Random edits under block rules of many kinds (self-closing, same-ident, end-of-text, ignored parents, claims and line breaks behind the newest token): the repaired analysis must equal a fresh one, and text not analysed again keeps its colours.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "AnalysisTestSupport.h"
#include "syntax/ManualScheduler.h"

namespace penwick::test {
namespace {

constexpr std::uint32_t kWord = 1u << 1, kNumber = 1u << 2, kSymbol = 1u << 3;

// Rules whose ranges a change must reopen or drop in the ways the analysis
// knows: ranges closed passing over others, closed by a later range of
// their own rule, closed at the end of the text, opened by a token after
// their start, and claims and breaks made for a token before the newest.
struct TRepairLexer : TLexer {
  TRepairLexer() {
    WordsNumbersSymbols();
    Style("Inner");
    Style("Free");
    TTagBlockCondition* brace = Block("brace", btRangeStart);
    Cond(brace, "{", kSymbol);
    TTagBlockCondition* braceEnd = Block("brace end", btRangeEnd);
    Cond(braceEnd, "}", kSymbol);
    brace->SetBlockEnd("brace end");
    // "begin NAME" ... "end NAME": the end closes the innermost begin of
    // the same name, passing over others.
    TTagBlockCondition* begin = Block("begin", btRangeStart);
    Cond(begin, "", kWord);
    Cond(begin, "begin", kWord);
    begin->SetBlockOffset(1);
    TTagBlockCondition* end = Block("end", btRangeEnd);
    Cond(end, "", kWord);
    Cond(end, "end", kWord);
    end->SetSameIdent(true);
    begin->SetBlockEnd("end");
    // A section runs to "fin", the next section or the end of the text.
    TTagBlockCondition* sect = Block("sect", btRangeStart);
    Cond(sect, "sect", kWord);
    sect->SetSelfClose(true);
    sect->SetEndOfTextClose(true);
    TTagBlockCondition* fin = Block("fin", btRangeEnd);
    Cond(fin, "fin", kWord);
    sect->SetBlockEnd("fin");
    // Parentheses are passed over as parents.
    TTagBlockCondition* paren = Block("paren", btRangeStart);
    Cond(paren, "(", kSymbol);
    paren->SetIgnoreAsParent(true);
    TTagBlockCondition* parenEnd = Block("paren end", btRangeEnd);
    Cond(parenEnd, ")", kSymbol);
    paren->SetBlockEnd("paren end");
    // "x" right inside a brace, "y" outside any begin.
    TTagBlockCondition* inner = Block("inner", btTagDetect, "Inner");
    Cond(inner, "x", kWord);
    inner->SetBlockName("brace");
    inner->SetStrictParent(true);
    TTagBlockCondition* free = Block("free", btTagDetect, "Free");
    Cond(free, "y", kWord);
    free->SetBlockName("begin");
    free->SetNotParent(true);
    // "N =" makes a range closed at once; "@ w" opens one at "w".
    TTagBlockCondition* pair = Block("pair", btRangeStart);
    Cond(pair, "=", kSymbol);
    Cond(pair, "", kNumber);
    pair->SetNoEndRule(true);
    TTagBlockCondition* at = Block("at", btRangeStart);
    Cond(at, "@", kSymbol);
    at->SetBlockOffset(-1);
    // ";" breaks the line below the token before it.
    TTagBlockCondition* semi = Block("semi", btLineBreak);
    Cond(semi, ";", kSymbol);
    semi->SetIdentIndex(1);
    semi->SetLinePos(lbBottom);
    // "k" claims the token two before it: from then on every change drops
    // two more tokens.
    TTagBlockCondition* back = Block("back", btTagDetect, "Free");
    Cond(back, "k", kWord);
    back->SetIdentIndex(2);
    A.SetAlwaysSyncBlockAnal(true);
  }
};

const std::vector<std::string> kPieces = {
    "{", "}", "begin a", "end a", "begin b", "end b", "sect", "fin", "(", ")", "x", "y", "1 =", "2 =",
    "@ w", "@", ";", "a", "b", "7", "z", "k", "\r\n", "\r\n", " ", "  ", "end", "begin"};

std::string RandomText(std::mt19937& rng, int pieces) {
  std::string s;
  for (int i = 0; i < pieces; ++i) {
    s += kPieces[rng() % kPieces.size()];
    s += rng() % 4 ? " " : "\r\n";
  }
  return s;
}

struct TFresh {
  std::string Dump;
  std::vector<std::pair<std::uint32_t, bool>> Breaks;
};

TFresh Fresh(TSyntAnalyzer& a, const std::string& text) {
  TRun fresh(a, text);
  fresh.Client->AnalyzeAll();
  TFresh out{fresh.Client->DebugDump(), {}};
  for (const auto& b : fresh.Client->LineBreaks()) out.Breaks.emplace_back(b.Offset, b.Below);
  return out;
}

void Edit(std::mt19937& rng, TStringTextSource& source) {
  const std::size_t size = source.String().size();
  const std::size_t at = size ? rng() % (size + 1) : 0;
  switch (rng() % 3) {
    case 0: {
      std::string piece = kPieces[rng() % kPieces.size()];
      if (rng() % 2 && piece.size() > 1) piece = piece.substr(rng() % piece.size(), 1);
      source.Insert(at, piece);
      break;
    }
    case 1:
      source.Delete(at, 1 + rng() % 5);
      break;
    default:
      source.Delete(at, 1 + rng() % 3);
      source.Insert(at, kPieces[rng() % kPieces.size()] + " ");
      break;
  }
}

TEST(RangeRepair, RandomEditsUnderEveryKindOfBlockRuleEqualFreshAnalysis) {
  TRepairLexer l;
  std::mt19937 rng(6151u);
  for (int script = 0; script < 50; ++script) {
    TManualScheduler scheduler(false);
    TRun r(l.A, RandomText(rng, 20 + static_cast<int>(rng() % 60)), &scheduler);
    r.Client->AnalyzeAll();
    for (int e = 0; e < 60; ++e) {
      Edit(rng, r.Source);
      // Partial analysis between edits cuts the tokens at many places.
      if (rng() % 2) {
        r.Client->AnalyzeTo(rng() % (r.Source.String().size() + 1));
        Edit(rng, r.Source);
      }
      r.Client->AnalyzeAll();
      const std::string problems = r.Client->CheckInvariants();
      ASSERT_TRUE(problems.empty()) << problems << "text:\n" << r.Source.String();
      const TFresh fresh = Fresh(l.A, r.Source.String());
      ASSERT_EQ(fresh.Dump, r.Client->DebugDump()) << "script " << script << ", edit " << e << ", text:\n" << r.Source.String();
      std::vector<std::pair<std::uint32_t, bool>> breaks;
      for (const auto& b : r.Client->LineBreaks()) breaks.emplace_back(b.Offset, b.Below);
      ASSERT_EQ(fresh.Breaks, breaks) << "script " << script << ", edit " << e;
    }
  }
}

// The style runs TokenStyleAt paints from `from` to the end of the text.
std::vector<std::pair<std::size_t, std::string>> Runs(const TClientSyntAnalyzer& client, std::size_t from, std::size_t length) {
  std::vector<std::pair<std::size_t, std::string>> runs;
  std::vector<const TSyntaxFormat*> styles;
  for (std::size_t at = from; at < length;) {
    styles.clear();
    const std::size_t end = client.TokenStyleAt(at, styles);
    if (end <= at) break;
    runs.emplace_back(end, styles.empty() ? "-" : styles[0]->DisplayName());
    at = end;
  }
  return runs;
}

TEST(RangeRepair, TextBelowAChangeKeepsItsColoursUntilItIsAnalysedAgain) {
  TLexer l;
  l.WordsNumbersSymbols();
  l.Style("W");
  l.Style("N");
  l.A.TokenRules()[0]->SetStyleName("W");
  l.A.TokenRules()[1]->SetStyleName("N");
  std::mt19937 rng(808u);
  std::string text;
  for (int i = 0; i < 12000; ++i) text += rng() % 3 ? (rng() % 2 ? "word " : "12 ") : "; \r\n";
  // Three chunks of tokens: the cut falls before, inside or after the middle one.
  TRun r(l.A, text);
  r.Client->AnalyzeAll();
  for (int round = 0; round < 6; ++round) {
    const std::size_t length = r.Source.String().size();
    const auto before = Runs(*r.Client, 0, length);
    // Typing and deleting in two places, the second below the first; the
    // text after the second is the old text moved by `moved`.
    const std::size_t first = rng() % (length / 2), second = first + 1 + rng() % (length / 4);
    std::size_t moved = 0;
    for (std::size_t place : {first, second}) {
      place += moved;
      for (std::size_t k = 0; k < 5; ++k) r.Source.Insert(place + k, "q");
      r.Source.Delete(place + 3, 2);  // backspace twice
      r.Source.Delete(place, 1);      // and delete at the start of the typing
      moved += 2;
    }
    ASSERT_FALSE(r.Client->OldTokens().empty());
    auto after = Runs(*r.Client, second + moved + 8, length + moved);
    ASSERT_GT(after.size(), 1u);
    after.erase(after.begin());  // it may begin inside a run
    std::vector<std::pair<std::size_t, std::string>> expected;
    for (const auto& [end, style] : before)
      if (end + moved >= after.front().first) expected.emplace_back(end + moved, style);
    ASSERT_EQ(expected, after) << "round " << round;
    r.Client->AnalyzeAll();
  }
}

}  // namespace
}  // namespace penwick::test
