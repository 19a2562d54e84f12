// Quoting and unquoting of the program in a desktop entry's Exec key.
#include "platform/posix/DesktopExec.h"

namespace penwick {

namespace {

// Undoes EscapeKeyFileString; an escape it does not know stays as it
// stands, so that the Exec layer sees its "\$" or "\"".
std::string UnescapeString(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      result += text[i];
      continue;
    }
    switch (text[i + 1]) {
      case 's': result += ' '; break;
      case 'n': result += '\n'; break;
      case 't': result += '\t'; break;
      case 'r': result += '\r'; break;
      case '\\': result += '\\'; break;
      default: result += text[i]; result += text[i + 1]; break;
    }
    ++i;
  }
  return result;
}

bool EscapedInQuotes(char c) { return c == '"' || c == '`' || c == '$' || c == '\\'; }

}  // namespace

std::string EscapeKeyFileString(const std::string& text) {
  std::string result;
  for (char c : text) {
    switch (c) {
      case '\\': result += "\\\\"; break;
      case '\n': result += "\\n"; break;
      case '\t': result += "\\t"; break;
      case '\r': result += "\\r"; break;
      default: result += c;
    }
  }
  if (!result.empty() && result[0] == ' ') result.replace(0, 1, "\\s");
  return result;
}

std::string DesktopExecOf(const std::string& programPath) {
  std::string quoted = "\"";
  for (char c : programPath) {
    if (EscapedInQuotes(c)) quoted += '\\';
    if (c == '%') quoted += '%';  // "%%" is a literal percent sign, not a field code
    quoted += c;
  }
  return quoted + "\" %f";
}

std::string ProgramOfDesktopExec(const std::string& execValue) {
  const std::string exec = UnescapeString(execValue);
  size_t i = exec.find_first_not_of(" \t\n");
  if (i == std::string::npos) return std::string();
  std::string program;
  bool quoted = false;
  for (; i < exec.size(); ++i) {
    const char c = exec[i];
    if (!quoted && (c == ' ' || c == '\t' || c == '\n')) break;
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '\\' && i + 1 < exec.size() && (!quoted || EscapedInQuotes(exec[i + 1]))) {
      program += exec[++i];
    } else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
      program += exec[++i];
    } else {
      program += c;
    }
  }
  return program;
}

}  // namespace penwick
