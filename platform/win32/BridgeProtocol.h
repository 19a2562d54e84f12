// The line protocol between the editor and penwick-compile-bridge.exe, shared
// by both ends: one request line, one answer line, in order.
//
// Request: VERB or VERB SP ARGUMENT, ended by LF.
// Answer:  "OK", "OK SP PAYLOAD", "ERR SP MESSAGE" (a failure to report),
//          "MISSING SP MESSAGE" (the compiler cannot be reached at all) or
//          "REFUSED SP REASON" (the compiler cannot be told that path; the
//          reason does not repeat the path).
// Arguments, payloads and messages escape backslash, CR, LF and tab as
// \\, \r, \n and \t, so every value fits on one line whatever it holds.
// Paths travel as Windows paths in UTF-8; the compiler's messages in the
// ANSI code page.
// Verbs: HELLO, EXISTS (payload 1 or 0), CLOSE, NAME script (payload: the
// name to give the companions), HANDOVER path, START folder, PREPARE,
// COMPILE, READ (payload: the message text), SHORT path, QUIT.
#pragma once

#include <string>
#include <string_view>

#include "platform/TextEscape.h"

namespace penwick::bridge {

inline constexpr const char* kGreeting = "penwick-compile-bridge 2";

inline std::string Escape(std::string_view text) { return EscapeField(text); }

// Unknown escapes keep the character after the backslash; a lone trailing
// backslash is kept as it is.
inline std::string Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (text[++i]) {
      case 'r': out += '\r'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      default: out += text[i];
    }
  }
  return out;
}

// Splits "VERB ARG" at the first blank; the argument is still escaped.
inline void SplitLine(std::string_view line, std::string& verb, std::string& argument) {
  const size_t blank = line.find(' ');
  verb = std::string(line.substr(0, blank));
  argument = blank == std::string_view::npos ? std::string() : std::string(line.substr(blank + 1));
}

}  // namespace penwick::bridge
