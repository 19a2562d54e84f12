// penwick-cli: headless access to the editor's core for batch use and tests.
#include "cli/CliCommand.h"

#include <algorithm>
#include <iostream>

namespace penwick::cli {

std::vector<TCliCommand>& CliCommands() {
  static std::vector<TCliCommand> commands;
  return commands;
}

}  // namespace penwick::cli

namespace {

void PrintHelp(std::ostream& out) {
  out << "Usage: penwick-cli COMMAND [ARGUMENTS]\n"
         "       penwick-cli --help | --version\n\n"
         "Headless access to the Varnok Penwick core.\n\nCommands:\n";
  auto commands = penwick::cli::CliCommands();
  std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });
  for (const auto& command : commands)
    out << "  " << command.Name << ' ' << command.Usage << "\n      " << command.Summary << '\n';
  if (commands.empty()) out << "  (none)\n";
  out << "\nExit status: 0 success, 1 reported error, 2 bad usage.\n";
}

}  // namespace

int main(int argc, char** argv) {
  using namespace penwick::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintHelp(std::cerr);
    return ExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    PrintHelp(std::cout);
    return ExitOk;
  }
  if (args[0] == "--version") {
    std::cout << "penwick-cli 2.0\n";
    return ExitOk;
  }
  for (const auto& command : CliCommands()) {
    if (command.Name != args[0]) continue;
    try {
      return command.Run(std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const std::exception& e) {
      std::cerr << e.what() << '\n';
      return ExitError;
    }
  }
  std::cerr << "penwick-cli: unknown command '" << args[0] << "' (try --help)\n";
  return ExitUsage;
}
