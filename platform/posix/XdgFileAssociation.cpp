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
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/FileErrors.h"
#include "platform/SafeFileWriter.h"

extern char** environ;

namespace penwick {

namespace {

namespace fs = std::filesystem;

const char* const kDefaultApplications = "Default Applications";
const char* const kAddedAssociations = "Added Associations";
const char* const kDesktopEntry = "Desktop Entry";

// --- Key files (desktop entries, mimeapps.list) as lines ---------------------
// Lines are kept as they were read (a CR before the LF included), so a file
// rewritten after one key changed differs from the old one in that key only.

struct TKeyFile {
  std::vector<std::string> lines;
  bool endsWithNewline = true;
};

std::string ReadWholeFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TKeyFile ParseKeyFile(const std::string& text) {
  TKeyFile file;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      file.lines.push_back(text.substr(start));
      file.endsWithNewline = false;
      break;
    }
    file.lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return file;
}

std::string KeyFileText(const TKeyFile& file) {
  std::string text;
  for (size_t i = 0; i < file.lines.size(); ++i) {
    text += file.lines[i];
    if (i + 1 < file.lines.size() || file.endsWithNewline) text += '\n';
  }
  return text;
}

std::string StripCarriageReturn(const std::string& line) {
  return !line.empty() && line.back() == '\r' ? line.substr(0, line.size() - 1) : line;
}

std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The group a "[name]" line opens, or nullopt for any other line.
std::optional<std::string> GroupOf(const std::string& line) {
  const std::string text = TrimBlanks(StripCarriageReturn(line));
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
  return text.substr(1, text.size() - 2);
}

// The key and value of a "key=value" line (blanks around "=" ignored), or
// nullopt for comments, blank lines and group headers.
std::optional<std::pair<std::string, std::string>> EntryOf(const std::string& line) {
  const std::string text = StripCarriageReturn(line);
  const std::string trimmed = TrimBlanks(text);
  if (trimmed.empty() || trimmed[0] == '#' || trimmed[0] == '[') return std::nullopt;
  const size_t equals = text.find('=');
  if (equals == std::string::npos) return std::nullopt;
  const std::string value = text.substr(equals + 1);
  const size_t valueStart = value.find_first_not_of(" \t");
  return std::make_pair(TrimBlanks(text.substr(0, equals)),
                        valueStart == std::string::npos ? std::string() : value.substr(valueStart));
}

// The value of `key` in the first place `group` holds it.
std::optional<std::string> ValueOf(const TKeyFile& file, const std::string& group, const std::string& key) {
  bool inGroup = false;
  for (const std::string& line : file.lines) {
    if (auto name = GroupOf(line)) {
      inGroup = *name == group;
    } else if (inGroup) {
      auto entry = EntryOf(line);
      if (entry && entry->first == key) return entry->second;
    }
  }
  return std::nullopt;
}

// Sets `key` of `group` to `value`, or removes it when `value` is nullopt.
// The first line of the key is replaced and later ones (also in a repeated
// group of the same name) removed; a new key goes after the last non-blank
// line of the group's first occurrence, a new group at the end of the file.
void SetValue(TKeyFile& file, const std::string& group, const std::string& key,
              const std::optional<std::string>& value) {
  const std::string newLine = key + "=" + value.value_or(std::string());
  bool done = !value;
  bool inGroup = false;
  int groupsSeen = 0;
  std::optional<size_t> insertAt;  // within the group's first occurrence
  for (size_t i = 0; i < file.lines.size();) {
    std::string& line = file.lines[i];
    if (auto name = GroupOf(line)) {
      inGroup = *name == group;
      if (inGroup && ++groupsSeen == 1) insertAt = i + 1;
      ++i;
      continue;
    }
    if (!inGroup) {
      ++i;
      continue;
    }
    auto entry = EntryOf(line);
    if (entry && entry->first == key) {
      if (done) {
        file.lines.erase(file.lines.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      const bool carriageReturn = !line.empty() && line.back() == '\r';
      line = newLine + (carriageReturn ? "\r" : "");
      done = true;
    } else if (groupsSeen == 1 && !TrimBlanks(StripCarriageReturn(line)).empty()) {
      insertAt = i + 1;
    }
    ++i;
  }
  if (done) return;
  if (insertAt) {
    file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(*insertAt), newLine);
    return;
  }
  if (!file.lines.empty() && !TrimBlanks(StripCarriageReturn(file.lines.back())).empty()) file.lines.push_back("");
  file.lines.push_back("[" + group + "]");
  file.lines.push_back(newLine);
  file.endsWithNewline = true;
}

// The items of a ";"-separated list, blanks trimmed, empty items dropped.
std::vector<std::string> ListItems(const std::string& value) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    const std::string item = TrimBlanks(value.substr(start, end - start));
    if (!item.empty()) items.push_back(item);
    start = end + 1;
  }
  return items;
}

std::optional<std::string> ListValue(const std::vector<std::string>& items) {
  if (items.empty()) return std::nullopt;
  std::string value;
  for (const std::string& item : items) value += item + ";";
  return value;
}

// --- Desktop-entry strings --------------------------------------------------

// The key-file escapes of a string value (the Exec layer comes before).
std::string EscapeString(const std::string& text) {
  std::string result;
  for (char c : text) {
    switch (c) {
      case '\\': result += "\\\\"; break;
      case '\n': result += "\\n"; break;
      case '\t': result += "\\t"; break;
      case '\r': result += "\\r"; break;
      default: result += c;
    }
  }
  if (!result.empty() && result[0] == ' ') result.replace(0, 1, "\\s");
  return result;
}

// Undoes EscapeString; an escape it does not know stays as it stands, so
// that the Exec layer sees its "\$" or "\"".
std::string UnescapeString(const std::string& text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      result += text[i];
      continue;
    }
    switch (text[i + 1]) {
      case 's': result += ' '; break;
      case 'n': result += '\n'; break;
      case 't': result += '\t'; break;
      case 'r': result += '\r'; break;
      case '\\': result += '\\'; break;
      default: result += text[i]; result += text[i + 1]; break;
    }
    ++i;
  }
  return result;
}

bool EscapedInQuotes(char c) { return c == '"' || c == '`' || c == '$' || c == '\\'; }

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

TXdgFileAssociation::TXdgFileAssociation(std::string dataFolder, std::string configFolder, TToolRunner runTool)
    : m_dataFolder(std::move(dataFolder)), m_configFolder(std::move(configFolder)), m_runTool(std::move(runTool)) {}

std::string TXdgFileAssociation::MimeTypeOf(const std::string& extension) {
  return extension == "mis" ? "text/x-varnok-mission" : "text/x-penwick-" + extension;
}

std::string TXdgFileAssociation::DesktopFile() const { return m_dataFolder + "/applications/" + kDesktopId; }

std::string TXdgFileAssociation::MimeAppsFile() const { return m_configFolder + "/mimeapps.list"; }

std::string TXdgFileAssociation::ExecOf(const std::string& programPath) {
  std::string quoted = "\"";
  for (char c : programPath) {
    if (EscapedInQuotes(c)) quoted += '\\';
    if (c == '%') quoted += '%';  // "%%" is a literal percent sign, not a field code
    quoted += c;
  }
  return quoted + "\" %f";
}

std::string TXdgFileAssociation::ProgramOfExec(const std::string& execValue) {
  const std::string exec = UnescapeString(execValue);
  size_t i = exec.find_first_not_of(" \t\n");
  if (i == std::string::npos) return std::string();
  std::string program;
  bool quoted = false;
  for (; i < exec.size(); ++i) {
    const char c = exec[i];
    if (!quoted && (c == ' ' || c == '\t' || c == '\n')) break;
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '\\' && i + 1 < exec.size() && (!quoted || EscapedInQuotes(exec[i + 1]))) {
      program += exec[++i];
    } else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
      program += exec[++i];
    } else {
      program += c;
    }
  }
  return program;
}

std::string TXdgFileAssociation::AssociatedProgram(const std::string& extension) {
  const std::string bare = !extension.empty() && extension[0] == '.' ? extension.substr(1) : extension;
  const TKeyFile mimeApps = ParseKeyFile(ReadWholeFile(MimeAppsFile()));
  const std::vector<std::string> ids =
      ListItems(ValueOf(mimeApps, kDefaultApplications, MimeTypeOf(bare)).value_or(std::string()));
  // A desktop id is a file name; one that climbs out of the folder names none.
  if (ids.empty() || ids[0].find('/') != std::string::npos) return std::string();
  const TKeyFile entry = ParseKeyFile(ReadWholeFile(m_dataFolder + "/applications/" + ids[0]));
  return ProgramOfExec(ValueOf(entry, kDesktopEntry, "Exec").value_or(std::string()));
}

void TXdgFileAssociation::WriteMimePackage(const std::string& extension, const std::string& mimeType) const {
  const std::string folder = m_dataFolder + "/mime/packages";
  CreateFolder(folder);
  WriteFileSafely(folder + "/penwick-" + extension + ".xml",
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                  "  <mime-type type=\"" + XmlEscape(mimeType) + "\">\n"
                  "    <comment>Varnok mission script</comment>\n"
                  "    <sub-class-of type=\"text/plain\"/>\n"
                  "    <glob pattern=\"*." + XmlEscape(extension) + "\"/>\n"
                  "  </mime-type>\n"
                  "</mime-info>\n");
}

void TXdgFileAssociation::WriteDesktopEntry(const std::string& mimeType, const std::string& programPath) const {
  CreateFolder(m_dataFolder + "/applications");
  WriteFileSafely(DesktopFile(), "[Desktop Entry]\n"
                                 "Type=Application\n"
                                 "Name=Varnok Penwick\n"
                                 "Comment=Edit Varnok mission scripts\n"
                                 "Exec=" + EscapeString(ExecOf(programPath)) + "\n"
                                 "MimeType=" + mimeType + ";\n"
                                 "Terminal=false\n"
                                 "Categories=Development;TextEditor;\n");
}

void TXdgFileAssociation::DropTypeFromDesktopEntry(const std::string& mimeType) const {
  if (!fs::exists(DesktopFile())) return;
  TKeyFile entry = ParseKeyFile(ReadWholeFile(DesktopFile()));
  std::vector<std::string> types = ListItems(ValueOf(entry, kDesktopEntry, "MimeType").value_or(std::string()));
  const auto end = std::remove(types.begin(), types.end(), mimeType);
  if (end == types.end()) return;
  types.erase(end, types.end());
  SetValue(entry, kDesktopEntry, "MimeType", ListValue(types));
  WriteFileSafely(DesktopFile(), KeyFileText(entry));
}

void TXdgFileAssociation::WriteAssociation(const std::string& extension, const std::string& programPath) {
  const std::string mimeType = MimeTypeOf(extension);
  TKeyFile mimeApps = ParseKeyFile(ReadWholeFile(MimeAppsFile()));
  std::vector<std::string> ids =
      ListItems(ValueOf(mimeApps, kDefaultApplications, mimeType).value_or(std::string()));
  const bool wasListed = std::find(ids.begin(), ids.end(), kDesktopId) != ids.end();
  ids.erase(std::remove(ids.begin(), ids.end(), kDesktopId), ids.end());
  if (programPath.empty()) {
    DropTypeFromDesktopEntry(mimeType);
    // The desktop opens the type with an added association too, default or
    // not: ours goes from there as well.
    std::vector<std::string> added =
        ListItems(ValueOf(mimeApps, kAddedAssociations, mimeType).value_or(std::string()));
    const auto addedEnd = std::remove(added.begin(), added.end(), kDesktopId);
    const bool wasAdded = addedEnd != added.end();
    added.erase(addedEnd, added.end());
    if (wasListed) SetValue(mimeApps, kDefaultApplications, mimeType, ListValue(ids));
    if (wasAdded) SetValue(mimeApps, kAddedAssociations, mimeType, ListValue(added));
    if (wasListed || wasAdded) WriteFileSafely(MimeAppsFile(), KeyFileText(mimeApps));
    RunTool({"update-desktop-database", m_dataFolder + "/applications"});
    return;
  }
  WriteMimePackage(extension, mimeType);
  WriteDesktopEntry(mimeType, programPath);
  ids.insert(ids.begin(), kDesktopId);
  SetValue(mimeApps, kDefaultApplications, mimeType, ListValue(ids));
  CreateFolder(m_configFolder);
  WriteFileSafely(MimeAppsFile(), KeyFileText(mimeApps));
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
