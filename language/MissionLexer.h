// Building the built-in mission-script lexer definition `syntnlyzr1` from its data.
#pragma once

namespace penwick {

class TSyntAnalyzer;
struct TMissionLexerData;

// Fills `analyzer` with the mission definition as a lexer-file load would:
// collections named in the data are emptied and refilled, every style and
// rule name is held as text and resolved at the end, the grammar is
// compiled, and the clients of the definition are reset. A later load that
// replaces only the styles therefore re-attaches the rules by name.
void BuildMissionLexer(TSyntAnalyzer& analyzer);
void BuildMissionLexer(TSyntAnalyzer& analyzer, const TMissionLexerData& data);

}  // namespace penwick
