// libFuzzer target: compiles a random pattern with random modifiers and
// matches it at random positions of a random text. The engine's own errors
// are expected; anything else, a crash, or a broken result invariant is a
// finding, as is a quick answer of the lexer that differs from the matcher's.
#include "syntax/ecRegExpr.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using penwick::ERegExprError;
using penwick::TecRegExpr;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// The groups and the end of a successful match must lie inside the text.
void CheckMatch(const TecRegExpr& re, const std::string& text, int start, int end) {
  const int size = static_cast<int>(text.size());
  Require(end >= start && end <= size + 1);
  Require(re.SubExprStart(0) == start && re.SubExprEnd(0) == end);
  for (int k = 0; k < re.SubExprCount(); ++k) {
    const int s = re.SubExprStart(k);
    const int e = re.SubExprEnd(k);
    Require(s >= -1 && s <= size + 1);
    Require(e >= -1 && e <= size + 1);
    const std::string part = re.SubExprText(text, k);
    Require(part.size() <= text.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const uint16_t modifiers = data[0] & TecRegExpr::MaskModAll;
  const size_t patternLength = data[1] % (size - 2);
  const uint8_t seed = data[2];
  const std::string pattern(reinterpret_cast<const char*>(data + 3), patternLength < size - 3 ? patternLength : size - 3);
  const size_t textStart = 3 + pattern.size();
  const std::string text(reinterpret_cast<const char*>(data + textStart), size - textStart);

  TecRegExpr re(pattern, modifiers);
  re.SetStepBudget(200000);
  try {
    re.Compile();
  } catch (const ERegExprError&) {
    Require(!re.IsCompiled());
    Require(re.IsEmpty());
    return 0;
  }
  const int textSize = static_cast<int>(text.size());
  const int positions[] = {1, textSize + 1, static_cast<int>(seed % (textSize + 3)) - 1, textSize / 2 + 1};
  for (int pos : positions) {
    const int start = pos < 1 ? 1 : pos;
    int end = pos;
    try {
      if (re.Match(text, end)) {
        CheckMatch(re, text, start, end);
        // A non-empty match starts with a character of the first-character set.
        if (end > start) Require(re.CanStartWith(static_cast<unsigned char>(text[start - 1])));
        try {
          (void)re.Substitute(text, pattern);
        } catch (const ERegExprError&) {
        }
      } else {
        Require(end == pos);
      }
    } catch (const penwick::ERegExprTooComplex&) {
      Require(end == pos);
    }
  }
  // The lexer's quick answers agree with the matcher wherever it answers,
  // and a refusal by the bytes is never wrong.
  const int charBefore = seed & 1 ? -1 : seed;
  for (int pos : positions) {
    TecRegExpr quick(pattern, modifiers);
    quick.SetStepBudget(200000);
    int length = 0;
    try {
      length = re.MatchLength(text, pos, charBefore);
    } catch (const penwick::ERegExprTooComplex&) {
      continue;
    }
    const bool refused = quick.RuledOut(text, pos < 1 ? 1 : pos);
    Require(!refused || length == 0);
    Require(quick.QuickMatchLength(text, pos, charBefore) == length);
  }
  // Search mode: the same invariants of a match.
  re.SetKeepCompleteMatches(true);
  for (int pos : positions) {
    const int start = pos < 1 ? 1 : pos;
    int end = pos;
    try {
      if (re.Match(text, end, charBefore)) CheckMatch(re, text, start, end);
      else Require(end == pos);
    } catch (const penwick::ERegExprTooComplex&) {
      Require(end == pos);
    }
  }
  re.SetKeepCompleteMatches(false);
  // A copy shares the program and must answer the same.
  TecRegExpr copy = re;
  try {
    int a = 1, b = 1;
    TecRegExpr other(pattern, modifiers);
    other.SetStepBudget(200000);
    const bool first = copy.Match(text, a);
    const bool second = other.Match(text, b);
    Require(first == second && a == b);
  } catch (const penwick::ERegExprTooComplex&) {
  }
  return 0;
}
