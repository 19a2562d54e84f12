// An anchored pattern of a rule or tag: compiled on first use, silent when faulty, and quick to reject by its first character.
#pragma once

#include <bitset>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace penwick {

class TecRegExpr;

// Modifier set of the analyser: i, g, m, x on; s, r off.
constexpr unsigned kAnalyzerModifiers = 57;

class TPatternMatcher {
public:
  TPatternMatcher();
  ~TPatternMatcher();
  TPatternMatcher(const TPatternMatcher&) = delete;
  TPatternMatcher& operator=(const TPatternMatcher&) = delete;

  const std::string& Expression() const { return m_expression; }
  // Stores the pattern; it is compiled at the first match attempt.
  void SetExpression(const std::string& expression);

  // Length of the match anchored at the 0-based `offset` of `text`; 0 when
  // there is none. A pattern that does not compile, or an engine error while
  // matching, counts as no match and is not reported. `text` may be a window
  // of a longer text; `charBefore` is then the byte (0..255) before it, -1
  // when it starts the text (see TecRegExpr::Match).
  std::size_t MatchAt(std::string_view text, std::size_t offset, int charBefore = -1) const;

  // Whether a match can start with byte `c` (true when the engine cannot
  // tell). A faulty pattern can start with nothing.
  bool CanStartWith(unsigned char c) const {
    Prepare();
    return m_firstChars.test(c);
  }
  bool Faulty() const {
    Prepare();
    return m_state == TState::Faulty;
  }

private:
  enum class TState { Uncompiled, Ready, Faulty };
  void Prepare() const;

  std::string m_expression;
  mutable TState m_state = TState::Uncompiled;
  mutable std::unique_ptr<TecRegExpr> m_regex;
  mutable std::bitset<256> m_firstChars;
};

}  // namespace penwick
