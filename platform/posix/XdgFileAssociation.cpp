// The freedesktop.org association: the MIME package, the desktop entry and
// the default-application list, edited line by line.
#include "platform/posix/XdgFileAssociation.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/FileErrors.h"
#include "platform/SafeFileWriter.h"
#include "platform/posix/DesktopExec.h"
#include "platform/posix/DesktopFiles.h"
#include "platform/posix/KeyFile.h"

extern char** environ;

namespace penwick {

namespace {

namespace fs = std::filesystem;

const char* const kDefaultApplications = "Default Applications";
const char* const kAddedAssociations = "Added Associations";
const char* const kRemovedAssociations = "Removed Associations";
const char* const kDesktopEntry = "Desktop Entry";

bool Contains(const std::vector<std::string>& items, const std::string& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

// Takes `item` out of `items`; whether it was there.
bool Erase(std::vector<std::string>& items, const std::string& item) {
  const auto end = std::remove(items.begin(), items.end(), item);
  const bool found = end != items.end();
  items.erase(end, items.end());
  return found;
}

std::string XmlEscape(const std::string& text) {
  std::string result;
  for (char c : text) {
    switch (c) {
      case '&': result += "&amp;"; break;
      case '<': result += "&lt;"; break;
      case '>': result += "&gt;"; break;
      case '"': result += "&quot;"; break;
      default: result += c;
    }
  }
  return result;
}

void CreateFolder(const std::string& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) throw EFCreateError(folder, error.message());
}

}  // namespace

TXdgFileAssociation::TXdgFileAssociation(std::string dataFolder, std::string configFolder, TXdgSystemFolders system,
                                         TToolRunner runTool)
    : m_dataFolder(std::move(dataFolder)),
      m_configFolder(std::move(configFolder)),
      m_system(std::move(system)),
      m_lookup(m_dataFolder, m_configFolder, m_system),
      m_runTool(std::move(runTool)) {}

std::string TXdgFileAssociation::MimeTypeOf(const std::string& extension) {
  return extension == "mis" ? "text/x-varnok-mission" : "text/x-penwick-" + extension;
}

std::string TXdgFileAssociation::DesktopFile() const { return m_dataFolder + "/applications/" + kDesktopId; }

std::string TXdgFileAssociation::MimeAppsFile() const { return m_configFolder + "/mimeapps.list"; }

std::string TXdgFileAssociation::AssociatedProgram(const std::string& extension) {
  const std::string bare = !extension.empty() && extension[0] == '.' ? extension.substr(1) : extension;
  return m_lookup.ProgramOf(MimeTypeOf(bare), kDesktopId);
}

void TXdgFileAssociation::WriteMimePackage(const std::string& extension, const std::string& mimeType) const {
  const std::string folder = m_dataFolder + "/mime/packages";
  CreateFolder(folder);
  const std::string fileName = folder + "/penwick-" + extension + ".xml";
  if (extension == "mis") {
    WriteFileSafely(fileName, std::string(InstalledMimePackage()));
    return;
  }
  WriteFileSafely(fileName, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                            "  <mime-type type=\"" + XmlEscape(mimeType) + "\">\n"
                            "    <comment>Varnok mission script</comment>\n"
                            "    <sub-class-of type=\"text/plain\"/>\n"
                            "    <glob pattern=\"*." + XmlEscape(extension) + "\"/>\n"
                            "  </mime-type>\n"
                            "</mime-info>\n");
}

void TXdgFileAssociation::WriteDesktopEntry(const std::string& mimeType, const std::string& programPath) const {
  // The installed entry with our program: the user's copy shadows it, so it
  // keeps its name, icon and categories.
  TKeyFile entry = TKeyFile::Parse(std::string(InstalledDesktopEntry()));
  entry.SetValue(kDesktopEntry, "Exec", EscapeKeyFileString(DesktopExecOf(programPath)));
  if (entry.List(kDesktopEntry, "MimeType") != std::vector<std::string>{mimeType})
    entry.SetValue(kDesktopEntry, "MimeType", mimeType + ";");
  CreateFolder(m_dataFolder + "/applications");
  WriteFileSafely(DesktopFile(), entry.Text());
}

void TXdgFileAssociation::DropTypeFromDesktopEntry(const std::string& mimeType) const {
  if (!fs::exists(DesktopFile())) return;
  TKeyFile entry = TKeyFile::Read(DesktopFile());
  std::vector<std::string> types = entry.List(kDesktopEntry, "MimeType");
  if (!Erase(types, mimeType)) return;
  entry.SetList(kDesktopEntry, "MimeType", types);
  WriteFileSafely(DesktopFile(), entry.Text());
}

bool TXdgFileAssociation::InstalledEntryDeclares(const std::string& mimeType) const {
  for (const std::string& folder : m_system.dataDirs) {
    const TKeyFile entry = TKeyFile::Read(folder + "/applications/" + kDesktopId);
    if (Contains(entry.List(kDesktopEntry, "MimeType"), mimeType)) return true;
  }
  return false;
}

void TXdgFileAssociation::WriteAssociation(const std::string& extension, const std::string& programPath) {
  const std::string mimeType = MimeTypeOf(extension);
  TKeyFile mimeApps = TKeyFile::Read(MimeAppsFile());
  std::vector<std::string> ids = mimeApps.List(kDefaultApplications, mimeType);
  std::vector<std::string> removed = mimeApps.List(kRemovedAssociations, mimeType);
  const bool wasListed = Erase(ids, kDesktopId);
  if (programPath.empty()) {
    DropTypeFromDesktopEntry(mimeType);
    // The desktop opens the type with an added association too, default or
    // not: ours goes from there as well.
    std::vector<std::string> added = mimeApps.List(kAddedAssociations, mimeType);
    const bool wasAdded = Erase(added, kDesktopId);
    // An installed entry declaring the type would still open it: only a
    // removed association in the user's list overrides it. The user's own
    // copy may shadow it today and be deleted tomorrow, so this holds
    // whether it does or not.
    const bool mustRemove = InstalledEntryDeclares(mimeType) && !Contains(removed, kDesktopId);
    if (wasListed) mimeApps.SetList(kDefaultApplications, mimeType, ids);
    if (wasAdded) mimeApps.SetList(kAddedAssociations, mimeType, added);
    if (mustRemove) {
      removed.push_back(kDesktopId);
      mimeApps.SetList(kRemovedAssociations, mimeType, removed);
    }
    if (wasListed || wasAdded || mustRemove) {
      CreateFolder(m_configFolder);
      WriteFileSafely(MimeAppsFile(), mimeApps.Text());
    }
    RunTool({"update-desktop-database", m_dataFolder + "/applications"});
    return;
  }
  WriteMimePackage(extension, mimeType);
  WriteDesktopEntry(mimeType, programPath);
  ids.insert(ids.begin(), kDesktopId);
  mimeApps.SetList(kDefaultApplications, mimeType, ids);
  if (Erase(removed, kDesktopId)) mimeApps.SetList(kRemovedAssociations, mimeType, removed);
  CreateFolder(m_configFolder);
  WriteFileSafely(MimeAppsFile(), mimeApps.Text());
  RunTool({"update-mime-database", m_dataFolder + "/mime"});
  RunTool({"update-desktop-database", m_dataFolder + "/applications"});
  RunTool({"xdg-mime", "default", kDesktopId, mimeType});
}

void TXdgFileAssociation::RunTool(const std::vector<std::string>& argv) const {
  if (m_runTool) m_runTool(argv);
}

TXdgFileAssociation::TToolRunner TXdgFileAssociation::SystemToolRunner(const std::string& dataFolder,
                                                                      const std::string& configFolder) {
  return [dataFolder, configFolder](const std::vector<std::string>& argv) {
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
      if (std::strncmp(*variable, "XDG_DATA_HOME=", 14) != 0 && std::strncmp(*variable, "XDG_CONFIG_HOME=", 16) != 0)
        environment.emplace_back(*variable);
    }
    environment.push_back("XDG_DATA_HOME=" + dataFolder);
    environment.push_back("XDG_CONFIG_HOME=" + configFolder);
    std::vector<char*> envp;
    for (std::string& variable : environment) envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments = argv;
    std::vector<char*> args;
    for (std::string& argument : arguments) args.push_back(argument.data());
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    // A tool missing from PATH fails to spawn: nothing to wait for.
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  };
}

}  // namespace penwick
