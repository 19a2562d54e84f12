// The one conversion of paths between the UTF-8 form the session is given
// and the UTF-16 form the wide Windows calls take.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace penwick {

// The UTF-16 form of a UTF-8 path; std::nullopt when `utf8` is not valid
// UTF-8 (a byte sequence no file name of the wide calls can match).
std::optional<std::wstring> WidePathOf(std::string_view utf8);

// The UTF-8 form of a UTF-16 path; an unpaired surrogate becomes U+FFFD.
std::string Utf8PathOf(std::wstring_view wide);

// UTF-16 text in a code page's bytes (the system's conversion, default
// characters where the page lacks one).
std::string NarrowOf(std::wstring_view wide, unsigned codePage);

}  // namespace penwick
