// penwick-cli tokens: prints every token of the analysed script: start, end, type, style, text.
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "cli/CliCommand.h"
#include "language/MissionLexer.h"
#include "syntax/AnalysisDump.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::cli {
namespace {

int RunTokens(const std::vector<std::string>& args) {
  std::string file;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lexer") {
      if (i + 1 >= args.size()) {
        std::cerr << "penwick-cli tokens: --lexer needs a file\n";
        return ExitUsage;
      }
      std::cerr << "penwick-cli tokens: lexer files are not supported yet\n";
      return ExitError;
    }
    if (!file.empty()) {
      std::cerr << "usage: penwick-cli tokens FILE [--lexer F.lcf]\n";
      return ExitUsage;
    }
    file = args[i];
  }
  if (file.empty()) {
    std::cerr << "usage: penwick-cli tokens FILE [--lexer F.lcf]\n";
    return ExitUsage;
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::cerr << "Cannot open file \"" << file << "\".\n";
    return ExitError;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TSyntAnalyzer analyzer;
  BuildMissionLexer(analyzer);
  TStringTextSource source(std::move(text));
  auto client = analyzer.CreateClient(&source, nullptr);
  client->AnalyzeAll();
  std::cout << DumpTokens(*client);
  return ExitOk;
}

const TCliCommandRegistration registration({"tokens", "FILE [--lexer F.lcf]", "Prints every token of the analysed script: start, end, type, style, text", RunTokens});

}  // namespace
}  // namespace penwick::cli
