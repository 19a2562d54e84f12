// The XDG base folders of the running user.
#include "platform/UserFolders.h"

#include <cstdlib>

namespace penwick {

namespace {

// The variable's value when it is an absolute path, otherwise $HOME + `fallback`.
std::string BaseFolder(const char* variable, const char* fallback) {
  if (const char* value = std::getenv(variable); value && value[0] == '/') return value;
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + fallback;
  return "/tmp";
}

}  // namespace

std::string UserConfigFolder() { return BaseFolder("XDG_CONFIG_HOME", "/.config"); }

std::string UserDataFolder() { return BaseFolder("XDG_DATA_HOME", "/.local/share"); }

std::string UserCompilerFolder() { return UserDataFolder() + "/penwick/compiler"; }

}  // namespace penwick
