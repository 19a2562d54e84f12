// penwick-cli compile: the editor's compile command without a window.
#include <iostream>

#include "cli/CliCommand.h"
#include "compile/CompileDriver.h"
#include "compile/ConsoleCompileHost.h"
#include "platform/FileOperations.h"
#include "platform/posix/WineCompilerSession.h"

namespace penwick::cli {
namespace {

int RunCompile(const std::vector<std::string>& args) {
  std::string script, compilerDir;
  bool verbose = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--compiler-dir" && i + 1 < args.size()) {
      compilerDir = args[++i];
    } else if (args[i] == "--verbose") {
      verbose = true;
    } else if (script.empty() && !args[i].empty() && args[i][0] != '-') {
      script = args[i];
    } else {
      std::cerr << "usage: penwick-cli compile SCRIPT [--compiler-dir DIR] [--verbose]\n";
      return ExitUsage;
    }
  }
  if (script.empty()) {
    std::cerr << "usage: penwick-cli compile SCRIPT [--compiler-dir DIR] [--verbose]\n";
    return ExitUsage;
  }
  TConsoleCompileHost host(script, std::cerr, verbose ? &std::cerr : nullptr);
  if (!FileExists(host.DocumentName())) {
    std::cerr << "Cannot open file \"" << host.DocumentName() << "\". No such file.\n";
    return ExitError;
  }
  TWineCompilerSession session(host.ExecutableFolder() + "/penwick-compile-bridge.exe");
  TCompileDriver driver(host, session);
  if (!compilerDir.empty()) driver.SetCompilerFolder(compilerDir);
  driver.Execute();
  for (const auto& line : host.DisplayLines()) std::cout << line << '\n';
  return ExitOk;
}

const TCliCommandRegistration registration({
    "compile",
    "SCRIPT [--compiler-dir DIR] [--verbose]",
    "compile SCRIPT with the game's mission compiler (through Wine) and print the compiler's messages",
    RunCompile,
});

}  // namespace
}  // namespace penwick::cli
