// Short (8.3) and long forms of a path, as the platform knows them.
#pragma once

#include <optional>
#include <string>

namespace penwick {

// The platform's short form of an existing path; std::nullopt when the
// platform cannot convert it (for instance because it does not exist). Where
// the file system has no short names the path comes back unchanged.
std::optional<std::string> SystemShortPath(const std::string& path);

// The platform's long form of a path; the path unchanged when there is none
// or the conversion fails.
std::string SystemLongPath(const std::string& path);

}  // namespace penwick
