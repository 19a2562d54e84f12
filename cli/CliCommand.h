// Registration of penwick-cli subcommands: each subcommand's source file
// declares one static TCliCommandRegistration, and main() dispatches by name.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace penwick::cli {

// Exit codes shared by every subcommand.
constexpr int ExitOk = 0;
constexpr int ExitError = 1;   // a reported error; the message went to stderr
constexpr int ExitUsage = 2;   // bad usage

struct TCliCommand {
  std::string Name;
  std::string Usage;    // one line: arguments after the name
  std::string Summary;  // one line: what it does
  // Receives the arguments after the subcommand's name.
  std::function<int(const std::vector<std::string>& args)> Run;
};

// Commands in the order they registered; the registry outlives main().
std::vector<TCliCommand>& CliCommands();

struct TCliCommandRegistration {
  explicit TCliCommandRegistration(TCliCommand command) { CliCommands().push_back(std::move(command)); }
};

}  // namespace penwick::cli
