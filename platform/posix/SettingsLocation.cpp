// The settings file beside the program, or in the user's config folder.
#include "platform/SettingsLocation.h"

#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "platform/UserFolders.h"

namespace penwick {

namespace fs = std::filesystem;

std::string SettingsFileFor(const std::string& executablePath, const std::string& configFolder,
                            const std::function<bool(const std::string& path)>& mayWrite) {
  fs::path beside(executablePath);
  beside.replace_extension(".ini");
  const fs::path inConfig = fs::path(configFolder) / "penwick" / beside.filename();
  std::error_code error;
  const fs::path folder = beside.has_parent_path() ? beside.parent_path() : fs::path(".");
  if (fs::exists(folder / kInstalledMarker, error)) return inConfig.string();
  const bool exists = fs::exists(beside, error);
  if (exists ? (fs::is_regular_file(beside, error) && mayWrite(beside.string())) : mayWrite(folder.string()))
    return beside.string();
  return inConfig.string();
}

std::string SettingsFileLocation(const std::string& executablePath) {
  return SettingsFileFor(executablePath, UserConfigFolder(),
                         [](const std::string& path) { return ::access(path.c_str(), W_OK) == 0; });
}

std::string SettingsFileFor(const std::string& executablePath) {
  const std::string file = SettingsFileLocation(executablePath);
  std::error_code error;
  fs::create_directories(fs::path(file).parent_path(), error);  // a failure shows when the file is written
  return file;
}

}  // namespace penwick
