// A path in the form messages and reports show it.
#pragma once

#include <string>

namespace penwick {

// `path` made absolute against the working directory and normalised ("a/../b"
// becomes "b"); unchanged when it cannot be made absolute. The file need not
// exist; links are not followed.
std::string AbsolutePath(const std::string& path);

}  // namespace penwick
