// penwick-cli lexer-check and lexer-dump: a lexer file loaded as the editor loads it.
#include "cli/CliLexer.h"

#include <iostream>

#include "cli/CliCommand.h"
#include "language/MissionLexer.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::cli {

int LoadCliLexer(TSyntAnalyzer& analyzer, const std::string& lexerFile, std::ostream& err) {
  analyzer.SetName("syntnlyzr1");
  BuildMissionLexer(analyzer);
  if (lexerFile.empty()) return 0;
  int errors = 0;
  try {
    analyzer.LoadFromFile(lexerFile, [&](const std::string& message) {
      err << message << '\n';
      ++errors;
      return true;
    });
  } catch (const std::exception& e) {
    err << e.what() << '\n';
    ++errors;
  }
  return errors;
}

namespace {

// Arguments: exactly one lexer file.
bool OneFile(const std::string& command, const std::vector<std::string>& args, std::string& file) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    std::cerr << "usage: penwick-cli " << command << " F.lcf\n";
    return false;
  }
  file = args[0];
  return true;
}

const TCliCommandRegistration check({"lexer-check", "F.lcf",
                                     "Loads a lexer file as the editor would and reports every error in it",
                                     [](const std::vector<std::string>& args) {
                                       std::string file;
                                       if (!OneFile("lexer-check", args, file)) return ExitUsage;
                                       TSyntAnalyzer analyzer;
                                       return LoadCliLexer(analyzer, file, std::cerr) == 0 ? ExitOk : ExitError;
                                     }});

const TCliCommandRegistration dump({"lexer-dump", "F.lcf",
                                    "Loads a lexer file over the built-in definition and writes the result as a lexer file",
                                    [](const std::vector<std::string>& args) {
                                      std::string file;
                                      if (!OneFile("lexer-dump", args, file)) return ExitUsage;
                                      TSyntAnalyzer analyzer;
                                      const int errors = LoadCliLexer(analyzer, file, std::cerr);
                                      analyzer.SaveToStream(std::cout);
                                      return errors == 0 ? ExitOk : ExitError;
                                    }});

}  // namespace

}  // namespace penwick::cli
