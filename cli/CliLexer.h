// Lexer files for penwick-cli: loading one over the built-in definition as
// the editor does, with every error reported.
#pragma once

#include <iosfwd>
#include <string>

namespace penwick {
class TSyntAnalyzer;
}

namespace penwick::cli {

// Builds the mission definition into `analyzer` (named as the editor names
// it) and, when `lexerFile` is not empty, loads that file over it. Each line
// that cannot be applied is written to `err` and skipped, as the editor's
// "All" answer would; a file that cannot be read or parsed is written to
// `err` too. Returns the number of errors reported (0: all applied).
int LoadCliLexer(TSyntAnalyzer& analyzer, const std::string& lexerFile, std::ostream& err);

}  // namespace penwick::cli
