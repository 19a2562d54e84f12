// Path forms on POSIX systems: there are no short names, so both are identity.
#include "platform/Paths.h"

namespace penwick {

std::optional<std::string> SystemShortPath(const std::string& path) { return path; }

std::string SystemLongPath(const std::string& path) { return path; }

}  // namespace penwick
