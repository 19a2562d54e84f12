// The editor's informational command-line options, answered without opening
// a window: --help, --version and --paths.
#pragma once

#include <iosfwd>
#include <string>

namespace penwick {

// The program's version as the build gives it ("2.0").
std::string ProgramVersion();

// Where the program at `executablePath` (its real path, links resolved),
// lying in `programFolder`, finds and keeps its files, one "name: path" line
// each; a path that does not exist is followed by " (missing)". Lists the
// language file start-up would load (the first existing of its places, or
// every place when none exists), both theme files, the settings file, the
// places looked in for the mission compiler and the compile bridge. Nothing
// is created or changed.
std::string PathsReport(const std::string& programFolder, const std::string& executablePath);

// Whether a lone command-line argument is an option rather than a script:
// it starts with "--".
bool IsInformationOption(const std::string& argument);

// Answers the option on `out` and returns the exit status: 0 for "--help",
// "--version" and "--paths"; any other option is named on `err` with the
// usage, status 2, so that a mistyped option does not open a script of that
// name.
int AnswerInformationOption(const std::string& option, std::ostream& out, std::ostream& err,
                            const std::string& programFolder, const std::string& executablePath);

}  // namespace penwick
