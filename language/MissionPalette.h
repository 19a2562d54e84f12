// The mission definition with the palette of the shipped lexer file mis2.lcf compiled into the program.
#pragma once

#include <string_view>

namespace penwick {

class TSyntAnalyzer;

// The bytes of themes/mis2.lcf as they were when the program was built (the
// build regenerates them whenever that file changes). The view refers to
// static data and stays valid for the life of the program.
std::string_view BuiltInLexerFileText();

// BuildMissionLexer, then BuiltInLexerFileText() loaded over it: the rules of
// the built-in definition drawn in the shipped palette, which is legible on
// the editor's default black background (the bare definition draws in
// black). Start-up falls back to it when no lexer file can be read. The text
// is tested to load without a single error, so an error here is a
// programmer's: it is asserted, and a release build skips the line it names.
void BuildDefaultMissionLexer(TSyntAnalyzer& analyzer);

}  // namespace penwick
