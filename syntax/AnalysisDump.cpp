// Text forms of tokens and folds.
#include "syntax/AnalysisDump.h"

#include "platform/TextEscape.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

std::string DumpTokens(const TClientSyntAnalyzer& client) {
  std::string out;
  const TSyntAnalyzer* owner = client.Owner();
  for (int i = 0; i < client.TokenCount(); ++i) {
    const TSyntToken& t = client.Token(i);
    const TSyntaxFormat* style = client.TokenStyle(i);
    out += std::to_string(t.StartPos);
    out += '\t';
    out += std::to_string(t.EndPos);
    out += '\t';
    out += EscapeField(owner ? owner->TokenTypeName(t.TokenType) : std::to_string(t.TokenType));
    out += '\t';
    out += style ? EscapeField(style->DisplayName()) : std::string("-");
    out += '\t';
    out += EscapeField(client.TokenText(i));
    out += '\n';
  }
  return out;
}

std::string DumpFolds(const TClientSyntAnalyzer& client) {
  std::string out;
  for (const TCollapsibleRange& r : client.CollapsibleRanges()) {
    if (!client.SpansLines(r)) continue;
    out += std::to_string(client.FirstLineOf(r) + 1);
    out += '\t';
    out += std::to_string(client.LastLineOf(r) + 1);
    out += '\t';
    out += EscapeField(client.CollapseText(r));
    out += '\n';
  }
  return out;
}

}  // namespace penwick
