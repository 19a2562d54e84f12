// The system-wide folders the desktop searches besides the user's own, and
// the program search path.
#pragma once

#include <string>
#include <vector>

namespace penwick {

// Each list is in the desktop's order of precedence, most important first.
// Tests fill it with folders of their own; FromEnvironment reads the real one.
struct TXdgSystemFolders {
  std::vector<std::string> configDirs;  // $XDG_CONFIG_DIRS, default /etc/xdg
  std::vector<std::string> dataDirs;    // $XDG_DATA_DIRS, default /usr/local/share:/usr/share
  std::vector<std::string> searchPath;  // $PATH; an empty item is the current folder
  // $XDG_CURRENT_DESKTOP lower-cased ("gnome", "kde"): their own
  // "<desktop>-mimeapps.list" files come before each plain mimeapps.list.
  std::vector<std::string> desktops;

  // From the environment. Relative folders in the XDG variables are ignored,
  // as the desktop ignores them; an unset or empty variable (or one holding
  // only relative folders) gives its default. An unset PATH gives /bin:/usr/bin.
  static TXdgSystemFolders FromEnvironment();
};

}  // namespace penwick
