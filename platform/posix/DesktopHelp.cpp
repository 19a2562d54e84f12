// The help viewer on desktops without HTML Help: the desktop's handler of
// the help file's type, started through xdg-open.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/HelpSystem.h"
#include "platform/posix/PipeProcess.h"

extern char** environ;

namespace penwick {
namespace {

constexpr const char* kOpener = "xdg-open";

// Starts the program detached: an intermediate child starts it and ends at
// once, so the viewer is nobody's child to wait for and leaves no zombie.
bool LaunchDetached(const std::vector<std::string>& argv) {
  if (argv.empty() || !TPipeProcess::FindProgram(argv[0])) return false;
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const pid_t middle = fork();
  if (middle < 0) return false;
  if (middle == 0) {
    setsid();
    pid_t viewer = 0;
    const int status = posix_spawnp(&viewer, args[0], nullptr, nullptr, args.data(), environ);
    _exit(status == 0 ? 0 : 127);
  }
  int status = 0;
  while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class TDesktopHelp : public THelpSystem {
public:
  explicit TDesktopHelp(THelpLauncher launch) : m_launch(std::move(launch)) {}

  void ShowContents(const std::string& helpFile) override { Open(Existing(helpFile)); }

  void ShowTopic(const std::string& helpFile, const std::string& topic) override {
    const std::string file = Existing(helpFile);
    std::error_code error;
    const std::filesystem::path unpacked = std::filesystem::path(file).replace_extension() / topic;
    if (!topic.empty() && std::filesystem::is_regular_file(unpacked, error)) {
      Open(unpacked.string());
      return;
    }
    Open(file);
  }

private:
  static std::string Existing(const std::string& helpFile) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(helpFile, error))
      throw EHelpError("The help file \"" + helpFile + "\" is not installed.");
    return helpFile;
  }

  void Open(const std::string& file) {
    if (!m_launch({kOpener, file}))
      throw EHelpError("No help viewer could be started: \"" + std::string(kOpener) +
                       "\" is missing or failed. Open \"" + file + "\" with a viewer of your choice.");
  }

  THelpLauncher m_launch;
};

}  // namespace

std::shared_ptr<THelpSystem> DesktopHelp(THelpLauncher launch) {
  return std::make_shared<TDesktopHelp>(std::move(launch));
}

std::shared_ptr<THelpSystem> SystemHelp() { return DesktopHelp(LaunchDetached); }

}  // namespace penwick
