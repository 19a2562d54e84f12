// The desktop's association for the running user, in the folders the XDG
// base-directory variables name.
#include <cstdlib>

#include "platform/posix/XdgFileAssociation.h"

namespace penwick {

namespace {

// The variable's value when it is an absolute path, otherwise $HOME + `fallback`.
std::string BaseFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + fallback;
}

}  // namespace

std::unique_ptr<TFileAssociation> SystemFileAssociation() {
  const std::string data = BaseFolder("XDG_DATA_HOME", "/.local/share");
  const std::string config = BaseFolder("XDG_CONFIG_HOME", "/.config");
  return std::make_unique<TXdgFileAssociation>(data, config, TXdgFileAssociation::SystemToolRunner(data, config));
}

}  // namespace penwick
