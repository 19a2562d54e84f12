// The user's own folders for settings and data, where a program may write
// without any rights beyond the user's.
#pragma once

#include <string>

namespace penwick {

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, else $HOME/.config; "/tmp" when there is no home either (settings
// then last as long as the machine's scratch folder). No trailing separator;
// the folder may not exist yet.
std::string UserConfigFolder();

// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else
// $HOME/.local/share; "/tmp" without a home. No trailing separator; the
// folder may not exist yet.
std::string UserDataFolder();

// Where a user without rights to the program's folder puts the game's
// mission compiler: "penwick/compiler" in UserDataFolder().
std::string UserCompilerFolder();

}  // namespace penwick
