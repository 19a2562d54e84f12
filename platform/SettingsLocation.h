// Where a program keeps its settings file.
#pragma once

#include <functional>
#include <string>

namespace penwick {

// A file of this name beside the executable marks an installed copy: its
// program folder belongs to the system (the package manager), never to one
// user's settings, even when the process may write there (run as root).
inline constexpr const char* kInstalledMarker = "penwick.installed";

// The settings file of the program at `executablePath`. An installed copy
// (kInstalledMarker beside the executable) always keeps it in "penwick" under
// `configFolder`, named like the executable with the extension ".ini".
// Otherwise it lies beside the executable, named the same way, when that
// file can be written there (it exists and may be written, or it does not
// exist and the folder may be written), else in the config folder as above.
// `mayWrite` answers whether the process may write a path; the marker is
// looked for on disk.
std::string SettingsFileFor(const std::string& executablePath, const std::string& configFolder,
                            const std::function<bool(const std::string& path)>& mayWrite);

// The same for the running system and user (UserConfigFolder(), and the
// process's own write access); nothing is created.
std::string SettingsFileLocation(const std::string& executablePath);

// SettingsFileLocation, with the folder under the user's config folder
// created when that is the one chosen.
std::string SettingsFileFor(const std::string& executablePath);

}  // namespace penwick
