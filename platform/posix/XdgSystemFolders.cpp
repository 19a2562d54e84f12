// The desktop's system folders and the program search path, from the environment.
#include "platform/posix/XdgSystemFolders.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace penwick {

namespace {

std::vector<std::string> SplitColons(const std::string& value) {
  std::vector<std::string> items;
  size_t start = 0;
  while (true) {
    const size_t end = value.find(':', start);
    items.push_back(value.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return items;
    start = end + 1;
  }
}

std::vector<std::string> AbsoluteFolders(const char* variable, const char* fallback) {
  std::vector<std::string> folders;
  if (const char* value = std::getenv(variable)) {
    for (std::string& folder : SplitColons(value)) {
      if (!folder.empty() && folder[0] == '/') folders.push_back(std::move(folder));
    }
  }
  return folders.empty() ? SplitColons(fallback) : folders;
}

}  // namespace

TXdgSystemFolders TXdgSystemFolders::FromEnvironment() {
  TXdgSystemFolders folders;
  folders.configDirs = AbsoluteFolders("XDG_CONFIG_DIRS", "/etc/xdg");
  folders.dataDirs = AbsoluteFolders("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
  const char* path = std::getenv("PATH");
  folders.searchPath = SplitColons(path ? path : "/bin:/usr/bin");
  if (const char* current = std::getenv("XDG_CURRENT_DESKTOP")) {
    for (std::string& desktop : SplitColons(current)) {
      if (desktop.empty()) continue;
      std::transform(desktop.begin(), desktop.end(), desktop.begin(),
                     [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      folders.desktops.push_back(std::move(desktop));
    }
  }
  return folders;
}

}  // namespace penwick
