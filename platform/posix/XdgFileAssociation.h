// The association of an extension with a program the freedesktop.org way:
// a MIME type, a desktop entry and the user's default-application list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/FileAssociation.h"

namespace penwick {

// Works on the user's data folder (XDG_DATA_HOME) and config folder
// (XDG_CONFIG_HOME) given to it, so tests can use folders of their own.
// Associating "mis" with a program writes, each file through
// WriteFileSafely and creating folders as needed:
//   <data>/mime/packages/penwick-mis.xml   the type "text/x-varnok-mission"
//                                           (a kind of text/plain) for *.mis
//   <data>/applications/penwick.desktop     "Varnok Penwick", Exec="<program>" %f,
//                                           MimeType=text/x-varnok-mission;
//   <config>/mimeapps.list                  [Default Applications]
//                                           text/x-varnok-mission=penwick.desktop;
// and then runs update-mime-database, update-desktop-database and
// "xdg-mime default" through the tool runner, so the desktop's caches follow.
// Only the one key of mimeapps.list is touched: every other line and section
// stays as it was; programs that were defaults for the type stay listed
// after ours. Another extension "ext" gets the type "text/x-penwick-ext" and
// the package penwick-ext.xml; the desktop entry names the type of the
// extension associated last.
class TXdgFileAssociation : public TFileAssociation {
public:
  // Runs one desktop tool, argv[0] looked up in PATH, and waits for it. A
  // tool that is missing or fails is no error: the files are what counts.
  using TToolRunner = std::function<void(const std::vector<std::string>& argv)>;

  // `runTool` may be empty: no tool is run.
  TXdgFileAssociation(std::string dataFolder, std::string configFolder, TToolRunner runTool);

  // The default application of the extension's type in mimeapps.list
  // ([Default Applications], the first desktop id of the list), then the
  // program of that desktop entry under <data>/applications: the first
  // argument of its Exec key, unquoted. "" when any of it is missing.
  std::string AssociatedProgram(const std::string& extension) override;
  // With a program: writes the three files above (a program path may hold
  // any character but NUL). With an empty path: takes penwick.desktop out of
  // the type's entries under [Default Applications] and [Added Associations]
  // (dropping an entry when nothing else is left) and the type out of
  // penwick.desktop's MimeType, so the desktop no longer
  // opens the type with it; defaults of other programs and every other file
  // stay. A file or folder that cannot be written throws EFCreateError.
  void WriteAssociation(const std::string& extension, const std::string& programPath) override;

  // The MIME type of files with `extension` (without its dot).
  static std::string MimeTypeOf(const std::string& extension);
  // Exec's text for running `programPath` on one file: the path quoted as
  // desktop entries quote arguments, then "%f"; before the key-file escapes.
  static std::string ExecOf(const std::string& programPath);
  // The program (first argument) of an Exec value as the key-file holds it
  // (string escapes, then argument quoting, then "%%"); "" when none.
  static std::string ProgramOfExec(const std::string& execValue);
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
  void RunTool(const std::vector<std::string>& argv) const;

  std::string m_dataFolder;
  std::string m_configFolder;
  TToolRunner m_runTool;
};

}  // namespace penwick
