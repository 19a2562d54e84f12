// The help viewer: the program only asks for a help file's table of
// contents or for one of its topics by name; showing them is the viewer's.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace penwick {

// Raised when help cannot be shown; the message is for the user.
class EHelpError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class THelpSystem {
public:
  virtual ~THelpSystem() = default;
  // Shows the table of contents of `helpFile` (a full path).
  virtual void ShowContents(const std::string& helpFile) = 0;
  // Shows the topic `topic` ("levelstart.html") of `helpFile`.
  virtual void ShowTopic(const std::string& helpFile, const std::string& topic) = 0;
};

// The desktop's viewer. On Windows: HTML Help. Elsewhere the help file is
// opened with the desktop's handler for its type (xdg-open); a topic opens
// on its own when it lies unpacked beside the help file, in a folder named
// like the file without its extension ("Varnok Penwick/levelstart.html"),
// since a viewer started by the desktop cannot be given a topic. A missing
// help file, or no handler, raises EHelpError.
std::shared_ptr<THelpSystem> SystemHelp();

// The posix viewer with its launcher replaced (tests): `launch` starts
// argv[0] with the arguments, without waiting for it; false when it could
// not be started.
using THelpLauncher = std::function<bool(const std::vector<std::string>& argv)>;
std::shared_ptr<THelpSystem> DesktopHelp(THelpLauncher launch);

}  // namespace penwick
