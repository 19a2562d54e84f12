// The escaped text form of a field in tab-separated output (command line, dumps, golden files).
#pragma once

#include <string>
#include <string_view>

namespace penwick {

// Escapes CR, LF, tab and backslash as \r, \n, \t and \\; every other byte
// is copied unchanged, so the result holds no line break and no tab.
std::string EscapeField(std::string_view text);

}  // namespace penwick
