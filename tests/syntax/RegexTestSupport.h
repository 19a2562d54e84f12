// Small helpers shared by the regular-expression tests.
#pragma once

#include "syntax/ecRegExpr.h"

#include <string>

namespace penwick::regextest {

constexpr uint16_t kAnalyzer = TecRegExpr::AnalyzerModifiers;
constexpr uint16_t kDefault = TecRegExpr::DefaultModifiers;

// Length of an anchored match at pos, 0 when there is none.
inline int Len(const std::string& pattern, const std::string& text, uint16_t mods = kAnalyzer, int pos = 1) {
  TecRegExpr re(pattern, mods);
  return re.MatchLength(text, pos);
}

// Whether Match succeeds (a zero-length match counts as success).
inline bool Matches(const std::string& pattern, const std::string& text, uint16_t mods = kAnalyzer, int pos = 1) {
  TecRegExpr re(pattern, mods);
  return re.Match(text, pos);
}

// The compile error of a pattern, or "" when it compiles.
inline std::string CompileError(const std::string& pattern, uint16_t mods = kAnalyzer) {
  TecRegExpr re(pattern, mods);
  try {
    re.Compile();
  } catch (const ERegExprError& e) {
    return e.what();
  }
  return "";
}

}  // namespace penwick::regextest
