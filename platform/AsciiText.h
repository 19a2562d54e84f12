// Comparing names without regard to the case of ASCII letters, as settings
// keys, file names in lists and stored identifiers are compared; every other
// byte compares exactly.
#pragma once

#include <string_view>

namespace penwick {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool SameAsciiText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

}  // namespace penwick
