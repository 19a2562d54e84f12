// The association of an extension with a program the freedesktop.org way:
// a MIME type, a desktop entry and the user's default-application list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/FileAssociation.h"
#include "platform/posix/XdgAppLookup.h"
#include "platform/posix/XdgSystemFolders.h"

namespace penwick {

// Works on the user's data folder (XDG_DATA_HOME) and config folder
// (XDG_CONFIG_HOME) given to it, and reads the system folders given to it,
// so tests can use folders of their own.
// Associating "mis" with a program writes, each file through
// WriteFileSafely and creating folders as needed:
//   <data>/mime/packages/penwick-mis.xml   the installed MIME package, byte
//                                           for byte ("text/x-varnok-mission")
//   <data>/applications/penwick.desktop     the installed desktop entry but
//                                           for Exec="<program>" %f; it
//                                           shadows the installed one
//   <config>/mimeapps.list                  [Default Applications]
//                                           text/x-varnok-mission=penwick.desktop;
// takes penwick.desktop out of the type's [Removed Associations], and then
// runs update-mime-database, update-desktop-database and "xdg-mime default"
// through the tool runner, so the desktop's caches follow.
// Only those keys of mimeapps.list are touched: every other line and section
// stays as it was; programs that were defaults for the type stay listed
// after ours. Another extension "ext" gets the type "text/x-penwick-ext",
// a package penwick-ext.xml of our own making, and the desktop entry names
// the type of the extension associated last.
class TXdgFileAssociation : public TFileAssociation {
public:
  // Runs one desktop tool, argv[0] looked up in PATH, and waits for it. A
  // tool that is missing or fails is no error: the files are what counts.
  using TToolRunner = std::function<void(const std::vector<std::string>& argv)>;

  // `runTool` may be empty: no tool is run.
  TXdgFileAssociation(std::string dataFolder, std::string configFolder, TXdgSystemFolders system,
                      TToolRunner runTool);

  // The program the desktop opens the extension's type with
  // (TXdgAppLookup::ProgramOf, our own entry penwick.desktop being the one
  // that may declare the type): the first argument of the entry's Exec,
  // found in PATH when bare and with symbolic links resolved, so an
  // installed "penwick" link reads as the executable it leads to. "" when
  // no program opens the type.
  std::string AssociatedProgram(const std::string& extension) override;
  // With a program: writes the three files above (a program path may hold
  // any character but NUL). With an empty path: takes penwick.desktop out of
  // the type's entries under [Default Applications] and [Added Associations]
  // (dropping an entry when nothing else is left) and the type out of
  // penwick.desktop's MimeType, and, when an installed penwick.desktop in
  // a system data folder declares the type, lists penwick.desktop under the
  // type's [Removed Associations], so the desktop no longer opens the type
  // with it; defaults of other programs and every other file stay.
  // A file or folder that cannot be written throws EFCreateError.
  void WriteAssociation(const std::string& extension, const std::string& programPath) override;

  // The MIME type of files with `extension` (without its dot).
  static std::string MimeTypeOf(const std::string& extension);
  // The runner for the real desktop: tools found in PATH run with
  // XDG_DATA_HOME and XDG_CONFIG_HOME set to the two folders (so they act on
  // the same files) and their output discarded.
  static TToolRunner SystemToolRunner(const std::string& dataFolder, const std::string& configFolder);

  static constexpr const char* kDesktopId = "penwick.desktop";

private:
  std::string DesktopFile() const;
  std::string MimeAppsFile() const;
  void WriteMimePackage(const std::string& extension, const std::string& mimeType) const;
  void WriteDesktopEntry(const std::string& mimeType, const std::string& programPath) const;
  void DropTypeFromDesktopEntry(const std::string& mimeType) const;
  bool InstalledEntryDeclares(const std::string& mimeType) const;
  void RunTool(const std::vector<std::string>& argv) const;

  std::string m_dataFolder;
  std::string m_configFolder;
  TXdgSystemFolders m_system;
  TXdgAppLookup m_lookup;
  TToolRunner m_runTool;
};

}  // namespace penwick
