// The mission definition drawn in the palette compiled into the program.
#include "language/MissionPalette.h"

#include <cassert>
#include <string>

#include "language/MissionLexer.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

// BuiltInLexerFileText() is defined in the source the build generates from
// themes/mis2.lcf (see language/CMakeLists.txt).

void BuildDefaultMissionLexer(TSyntAnalyzer& analyzer) {
  BuildMissionLexer(analyzer);
  analyzer.LoadFromText(BuiltInLexerFileText(), [](const std::string&) {
    assert(false && "a line of the built-in lexer file cannot be applied");
    return true;
  });
}

}  // namespace penwick
