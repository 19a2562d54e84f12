// The desktop's choice of application for a MIME type, read from its files.
#include "platform/posix/XdgAppLookup.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/posix/DesktopExec.h"
#include "platform/posix/KeyFile.h"

namespace penwick {

namespace {

namespace fs = std::filesystem;

const char* const kDesktopEntry = "Desktop Entry";

bool Contains(const std::vector<std::string>& items, const std::string& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

bool IsExecutableFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

TXdgAppLookup::TXdgAppLookup(std::string dataHome, std::string configHome, TXdgSystemFolders system)
    : m_dataHome(std::move(dataHome)), m_configHome(std::move(configHome)), m_system(std::move(system)) {}

std::vector<std::string> TXdgAppLookup::MimeAppsFiles() const {
  std::vector<std::string> folders = {m_configHome};
  folders.insert(folders.end(), m_system.configDirs.begin(), m_system.configDirs.end());
  for (const std::string& folder : ApplicationFolders()) folders.push_back(folder);
  std::vector<std::string> files;
  for (const std::string& folder : folders) {
    for (const std::string& desktop : m_system.desktops) files.push_back(folder + "/" + desktop + "-mimeapps.list");
    files.push_back(folder + "/mimeapps.list");
  }
  return files;
}

std::vector<std::string> TXdgAppLookup::ApplicationFolders() const {
  std::vector<std::string> folders = {m_dataHome + "/applications"};
  for (const std::string& folder : m_system.dataDirs) folders.push_back(folder + "/applications");
  return folders;
}

std::string TXdgAppLookup::DesktopFileOf(const std::string& desktopId) const {
  if (desktopId.empty() || desktopId.find('/') != std::string::npos) return std::string();
  std::string first;
  for (const std::string& folder : ApplicationFolders()) {
    const std::string file = folder + "/" + desktopId;
    std::error_code error;
    if (!fs::is_regular_file(file, error)) continue;
    const TKeyFile entry = TKeyFile::Read(file);
    if (first.empty()) {
      if (entry.Value(kDesktopEntry, "Hidden").value_or("false") == "true") return std::string();
      first = file;
    }
    const std::optional<std::string> tryExec = entry.Value(kDesktopEntry, "TryExec");
    const std::string program =
        ResolvedProgram(ProgramOfDesktopExec(entry.Value(kDesktopEntry, "Exec").value_or(std::string())));
    if ((!tryExec || IsExecutableFile(ResolvedProgram(*tryExec))) && IsExecutableFile(program)) return file;
  }
  return first;
}

bool TXdgAppLookup::IsRemoved(const std::string& mimeType, const std::string& desktopId) const {
  for (const std::string& file : MimeAppsFiles()) {
    if (Contains(TKeyFile::Read(file).List("Removed Associations", mimeType), desktopId)) return true;
  }
  return false;
}

std::string TXdgAppLookup::ApplicationOf(const std::string& mimeType, const std::string& ownId) const {
  const std::vector<std::string> files = MimeAppsFiles();
  for (const std::string& file : files) {
    for (const std::string& id : TKeyFile::Read(file).List("Default Applications", mimeType)) {
      if (!DesktopFileOf(id).empty()) return id;
    }
  }
  for (const std::string& file : files) {
    for (const std::string& id : TKeyFile::Read(file).List("Added Associations", mimeType)) {
      if (!DesktopFileOf(id).empty() && !IsRemoved(mimeType, id)) return id;
    }
  }
  const std::string ownFile = DesktopFileOf(ownId);
  if (ownFile.empty() || IsRemoved(mimeType, ownId)) return std::string();
  return Contains(TKeyFile::Read(ownFile).List(kDesktopEntry, "MimeType"), mimeType) ? ownId : std::string();
}

std::string TXdgAppLookup::ResolvedProgram(const std::string& program) const {
  std::string path = program;
  if (!path.empty() && path.find('/') == std::string::npos) {
    for (const std::string& folder : m_system.searchPath) {
      const std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
      if (IsExecutableFile(candidate)) {
        path = candidate;
        break;
      }
    }
  }
  std::error_code error;
  if (path.empty() || !fs::exists(path, error)) return path;
  const fs::path canonical = fs::canonical(path, error);
  return error ? path : canonical.string();
}

std::string TXdgAppLookup::ProgramOf(const std::string& mimeType, const std::string& ownId) const {
  const std::string id = ApplicationOf(mimeType, ownId);
  if (id.empty()) return std::string();
  const TKeyFile entry = TKeyFile::Read(DesktopFileOf(id));
  return ResolvedProgram(ProgramOfDesktopExec(entry.Value(kDesktopEntry, "Exec").value_or(std::string())));
}

}  // namespace penwick
