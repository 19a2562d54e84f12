// A token rule of a lexer definition (`TTokenRule`): a pattern that makes tokens of one type.
#pragma once

#include "syntax/PatternMatcher.h"
#include "syntax/RuleCollectionItem.h"

namespace penwick {

class TTokenRule : public TRuleCollectionItem {
public:
  const char* KindName() const override { return "Token rule"; }

  int TokenType() const { return m_tokenType; }
  void SetTokenType(int type) { m_tokenType = type; Changed(); }
  const std::string& Expression() const { return m_matcher.Expression(); }
  void SetExpression(const std::string& expression) { m_matcher.SetExpression(expression); Changed(); }
  // When above 0 the rule applies only where the 1-based column of the token
  // start is at least ColumnFrom and at most ColumnTo.
  int ColumnFrom() const { return m_columnFrom; }
  void SetColumnFrom(int column) { m_columnFrom = column; Changed(); }
  int ColumnTo() const { return m_columnTo; }
  void SetColumnTo(int column) { m_columnTo = column; Changed(); }
  bool HasColumnBounds() const { return m_columnFrom > 0 || m_columnTo > 0; }
  bool ColumnAllows(int column) const {
    return (m_columnFrom <= 0 || column >= m_columnFrom) && (m_columnTo <= 0 || column <= m_columnTo);
  }

  const TPatternMatcher& Matcher() const { return m_matcher; }

private:
  int m_tokenType = 0;
  int m_columnFrom = 0;
  int m_columnTo = 0;
  TPatternMatcher m_matcher;
};

}  // namespace penwick
