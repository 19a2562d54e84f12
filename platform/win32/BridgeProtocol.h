// The line protocol between the editor and penwick-compile-bridge.exe, shared
// by both ends: one request line, one answer line, in order.
//
// Request: VERB or VERB SP ARGUMENT, ended by LF.
// Answer:  "OK", "OK SP PAYLOAD", "ERR SP MESSAGE" (a failure to report) or
//          "MISSING SP MESSAGE" (the compiler cannot be reached at all).
// Arguments, payloads and messages escape backslash, CR, LF and tab as
// \\, \r, \n and \t, so every value fits on one line whatever it holds.
// Verbs: HELLO, EXISTS (payload 1 or 0), CLOSE, HANDOVER path, START folder,
// PREPARE, COMPILE, READ (payload: the message text), SHORT path, QUIT.
#pragma once

#include <string>
#include <string_view>

#include "platform/TextEscape.h"

namespace penwick::bridge {

inline constexpr const char* kGreeting = "penwick-compile-bridge 1";

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
