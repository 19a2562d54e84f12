// Answers to --help, --version and --paths, printed without a window.
#include "app/CommandLineInfo.h"

#include <filesystem>
#include <ostream>
#include <sstream>
#include <system_error>

#include "app/LexerFileLoader.h"
#include "compile/CompileDriver.h"
#include "platform/AbsolutePath.h"
#include "platform/SettingsLocation.h"
#include "platform/UserFolders.h"
#include "prefs/Themes.h"

#ifndef PENWICK_VERSION
#error "PENWICK_VERSION must come from the build (the project's version)"
#endif

namespace penwick {

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "Usage: penwick [SCRIPT]\n"
    "Opens the editor, with SCRIPT (a .mis file) opened when given.\n"
    "\n"
    "  --paths     print where the editor finds and keeps its files, then exit\n"
    "  --version   print the version, then exit\n"
    "  --help      print this text, then exit\n";

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

void Line(std::ostream& out, const std::string& name, const std::string& path) {
  out << name << ": " << AbsolutePath(path) << (Exists(path) ? "" : " (missing)") << '\n';
}

}  // namespace

std::string ProgramVersion() { return PENWICK_VERSION; }

std::string PathsReport(const std::string& programFolder, const std::string& executablePath) {
  std::ostringstream out;
  Line(out, "executable", executablePath);
  Line(out, "program folder", programFolder);
  const std::vector<std::string> places = TLexerFileLoader::Places(programFolder);
  bool languageFound = false;
  for (const std::string& place : places) {
    if (!Exists(place)) continue;
    Line(out, "language file", place);
    languageFound = true;
    break;
  }
  if (!languageFound)
    for (const std::string& place : places) Line(out, "language file", place);
  for (int index = 0; index < kThemeCount; ++index)
    Line(out, "theme \"" + ThemeCaption(index) + "\"", ThemeFilePath(programFolder, index));
  Line(out, "settings file", SettingsFileLocation(executablePath));
  for (const std::string& folder : TCompileDriver::DefaultCompilerFolders(programFolder, UserCompilerFolder()))
    Line(out, "compiler", folder + "compiler.exe");
  Line(out, "compile bridge", (fs::path(programFolder) / "penwick-compile-bridge.exe").string());
  return out.str();
}

bool IsInformationOption(const std::string& argument) { return argument.rfind("--", 0) == 0; }

int AnswerInformationOption(const std::string& option, std::ostream& out, std::ostream& err,
                            const std::string& programFolder, const std::string& executablePath) {
  if (option == "--version") {
    out << "Penwick " << ProgramVersion() << '\n';
    return 0;
  }
  if (option == "--paths") {
    out << PathsReport(programFolder, executablePath);
    return 0;
  }
  if (option == "--help") {
    out << kUsage;
    return 0;
  }
  err << "penwick: unknown option \"" << option << "\"\n" << kUsage;
  return 2;
}

}  // namespace penwick
