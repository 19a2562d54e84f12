// Anchored, error-silent pattern matching for rules and tag masks.
#include "syntax/PatternMatcher.h"

#include "syntax/ecRegExpr.h"

namespace penwick {

TPatternMatcher::TPatternMatcher() = default;
TPatternMatcher::~TPatternMatcher() = default;

void TPatternMatcher::SetExpression(const std::string& expression) {
  m_expression = expression;
  m_state = TState::Uncompiled;
  m_regex.reset();
}

void TPatternMatcher::Prepare() const {
  if (m_state != TState::Uncompiled) return;
  m_regex = std::make_unique<TecRegExpr>(m_expression, TecRegExpr::AnalyzerModifiers);
  try {
    m_regex->Compile();
    m_state = TState::Ready;
    const TRegExprCharSet& first = m_regex->FirstChars();
    for (int c = 0; c < 256; ++c) m_firstChars.set(static_cast<std::size_t>(c), first.Has(static_cast<unsigned char>(c)));
  } catch (const std::exception&) {
    // A faulty pattern never matches; nothing is reported.
    m_state = TState::Faulty;
    m_firstChars.reset();
  }
}

std::size_t TPatternMatcher::MatchAt(std::string_view text, std::size_t offset, int charBefore) const {
  Prepare();
  if (m_state != TState::Ready || offset >= text.size()) return 0;
  if (!m_firstChars.test(static_cast<unsigned char>(text[offset]))) return 0;
  try {
    // An engine error counts as no match here: the quick answer serves.
    int length = m_regex->QuickMatchLength(text, static_cast<int>(offset) + 1, charBefore);
    return length > 0 ? static_cast<std::size_t>(length) : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace penwick
