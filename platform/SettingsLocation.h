// Where a program keeps its settings file.
#pragma once

#include <functional>
#include <string>

namespace penwick {

// The settings file of the program at `executablePath`: beside it, named
// like it with the extension ".ini", when that file can be written there
// (it exists and may be written, or it does not exist and the folder may be
// written); otherwise the same name in "penwick" under `configFolder`.
// `mayWrite` answers whether the process may write a path.
std::string SettingsFileFor(const std::string& executablePath, const std::string& configFolder,
                            const std::function<bool(const std::string& path)>& mayWrite);

// The same for the running system: the user's config folder is
// $XDG_CONFIG_HOME, else ~/.config; the folder under it is created when it
// is chosen.
std::string SettingsFileFor(const std::string& executablePath);

}  // namespace penwick
