// Which program the desktop opens a MIME type with, found the way the
// desktop finds it: the default-application lists, then the entries that
// declare the type, each desktop id resolved through the data folders.
#pragma once

#include <string>
#include <vector>

#include "platform/posix/XdgSystemFolders.h"

namespace penwick {

// Reads only; every file or folder that is missing or unreadable counts as
// empty. Works on the user's data and config folders and the system folders
// given to it.
class TXdgAppLookup {
public:
  TXdgAppLookup(std::string dataHome, std::string configHome, TXdgSystemFolders system);

  // The mimeapps.list files in precedence order: <config home>, each config
  // dir, <data home>/applications, each data dir's applications folder; in
  // each, the current desktops' "<desktop>-mimeapps.list" before the plain one.
  std::vector<std::string> MimeAppsFiles() const;
  // The folders holding desktop entries in shadowing order, the user's first.
  std::vector<std::string> ApplicationFolders() const;

  // The file of the installed entry `desktopId`: the first applications
  // folder holding it, which shadows the rest. An entry whose program cannot
  // be run (TryExec or Exec names no executable file) gives way to the next
  // one of the id, as the desktop starts that one instead (a user's entry
  // left over from a deleted build over the installed entry); when none can
  // be run, the first. "" when none is there, when the first is Hidden (the
  // user removed it), or when the id is no plain file name (it holds "/" or
  // is empty). Ids naming a sub-folder with "-" are not resolved.
  std::string DesktopFileOf(const std::string& desktopId) const;

  // The desktop id that opens `mimeType`: the first installed id of
  // [Default Applications] over MimeAppsFiles in order; without one, the
  // first installed id of [Added Associations] in the same order that no
  // [Removed Associations] removes; without one, `ownId` when its installed
  // entry declares the type in MimeType and no [Removed Associations]
  // removes it. "" when none of it holds. Other entries that declare the
  // type are not searched: the type is ours, only our entry declares it.
  std::string ApplicationOf(const std::string& mimeType, const std::string& ownId) const;

  // Whether any mimeapps.list removes `desktopId` for `mimeType`.
  bool IsRemoved(const std::string& mimeType, const std::string& desktopId) const;

  // The program an Exec key names as a path to compare: a bare name (no "/")
  // is looked up in the search path (the first executable regular file
  // wins; not found, it stays as it is), then symbolic links are resolved
  // when the file exists. "" stays "".
  std::string ResolvedProgram(const std::string& program) const;

  // The program of ApplicationOf's entry (its Exec, resolved), or "".
  std::string ProgramOf(const std::string& mimeType, const std::string& ownId) const;

private:
  std::string m_dataHome;
  std::string m_configHome;
  TXdgSystemFolders m_system;
};

}  // namespace penwick
