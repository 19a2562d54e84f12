// penwick-cli tokens and folds: a script analysed in full with the mission lexer, printed as tokens or as foldable ranges.
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>

#include "cli/CliCommand.h"
#include "cli/CliLexer.h"
#include "syntax/AnalysisDump.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::cli {
namespace {

using TDump = std::function<std::string(const TClientSyntAnalyzer&)>;

// Arguments: FILE [--lexer F.lcf]. Loads the file byte for byte, analyses
// the whole text and prints what `dump` makes of it.
int RunAnalysis(const std::string& command, const std::vector<std::string>& args, const TDump& dump) {
  const std::string usage = "usage: penwick-cli " + command + " FILE [--lexer F.lcf]\n";
  std::string file, lexer;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lexer") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        std::cerr << "penwick-cli " << command << ": --lexer needs a file\n";
        return ExitUsage;
      }
      lexer = args[++i];
      continue;
    }
    if (!file.empty()) {
      std::cerr << usage;
      return ExitUsage;
    }
    file = args[i];
  }
  if (file.empty()) {
    std::cerr << usage;
    return ExitUsage;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << "Cannot open file \"" << file << "\".\n";
    return ExitError;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Errors in the lexer file are reported and skipped; the listing is still
  // printed, but the exit status tells that the definition was not whole.
  TSyntAnalyzer analyzer;
  const int lexerErrors = LoadCliLexer(analyzer, lexer, std::cerr);
  TStringTextSource source(std::move(text));
  auto client = analyzer.CreateClient(&source, nullptr);
  client->AnalyzeAll();
  std::cout << dump(*client);
  return lexerErrors == 0 ? ExitOk : ExitError;
}

const TCliCommandRegistration tokens({"tokens", "FILE [--lexer F.lcf]",
                                      "Prints every token of the analysed script: start, end, type, style, text",
                                      [](const std::vector<std::string>& args) {
                                        return RunAnalysis("tokens", args, DumpTokens);
                                      }});

const TCliCommandRegistration folds({"folds", "FILE [--lexer F.lcf]",
                                     "Prints every foldable range of the script: first line, last line, collapse text",
                                     [](const std::vector<std::string>& args) {
                                       return RunAnalysis("folds", args, DumpFolds);
                                     }});

}  // namespace
}  // namespace penwick::cli
