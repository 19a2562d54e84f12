// The Exec key of desktop entries: writing a program into it and reading the
// program back, through both of its quoting layers.
#pragma once

#include <string>

namespace penwick {

// Exec's text for running `programPath` on one file: the path quoted as
// desktop entries quote arguments (with "%" doubled), then " %f". Any
// character but NUL survives. The key-file escapes (EscapeKeyFileString)
// still go over it before it is written.
std::string DesktopExecOf(const std::string& programPath);

// The program (first argument) of an Exec value as the key file holds it:
// the key-file string escapes are undone, then argument quoting, then "%%".
// "" when the value names none.
std::string ProgramOfDesktopExec(const std::string& execValue);

// The key-file escapes of a string value: backslash, newline, tab, CR and a
// leading space, so the value stays on one line and keeps its blanks.
std::string EscapeKeyFileString(const std::string& text);

}  // namespace penwick
