// Starting a child process with pipes and reading its answers line by line.
#include "platform/posix/PipeProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace penwick {

namespace {

bool IsExecutable(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

bool TPipeProcess::FindProgram(const std::string& program) {
  if (program.find('/') != std::string::npos) return IsExecutable(program);
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string candidate = end > start ? dirs.substr(start, end - start) : std::string(".");
    candidate.push_back('/');
    candidate.append(program);
    if (IsExecutable(candidate)) return true;
    start = end + 1;
  }
  return false;
}

TPipeProcess::TPipeProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment) {
  if (argv.empty()) throw std::runtime_error("No program to start.");
  int toChild[2], fromChild[2];
  if (::pipe2(toChild, O_CLOEXEC) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  if (::pipe2(fromChild, O_CLOEXEC) != 0) {
    ::close(toChild[0]);
    ::close(toChild[1]);
    throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
  }

  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const auto& extra : extraEnvironment)
      if (extra.substr(0, extra.find('=')) == name) replaced = true;
    if (!replaced) environment.push_back(std::move(entry));
  }
  environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
  std::vector<char*> envp, args;
  for (auto& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> argCopy = argv;
  for (auto& a : argCopy) args.push_back(a.data());
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], STDOUT_FILENO);
  const int result = ::posix_spawnp(&m_pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(toChild[0]);
  ::close(fromChild[1]);
  if (result != 0) {
    ::close(toChild[1]);
    ::close(fromChild[0]);
    m_pid = -1;
    throw std::runtime_error("Cannot start " + argv[0] + ": " + std::strerror(result));
  }
  m_in = toChild[1];
  m_out = fromChild[0];
}

TPipeProcess::~TPipeProcess() { Stop(); }

bool TPipeProcess::WriteLine(const std::string& line) {
  if (m_in < 0) return false;
  std::string data;
  data.reserve(line.size() + 1);
  data.append(line).push_back('\n');
  const char* p = data.data();
  size_t left = data.size();
  // A child that ended must not take the editor down with SIGPIPE. The
  // signal is blocked for this thread only and a SIGPIPE this write raised is
  // taken off the pending set, so other threads' signal handling is untouched.
  sigset_t pipeSet, previousSet, pendingBefore;
  sigemptyset(&pipeSet);
  sigaddset(&pipeSet, SIGPIPE);
  ::pthread_sigmask(SIG_BLOCK, &pipeSet, &previousSet);
  sigpending(&pendingBefore);
  bool ok = true;
  while (left > 0) {
    ssize_t written = ::write(m_in, p, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    p += written;
    left -= static_cast<size_t>(written);
  }
  if (!ok && errno == EPIPE && !sigismember(&pendingBefore, SIGPIPE)) {
    const timespec noWait{0, 0};
    ::sigtimedwait(&pipeSet, nullptr, &noWait);
  }
  ::pthread_sigmask(SIG_SETMASK, &previousSet, nullptr);
  return ok;
}

std::optional<std::string> TPipeProcess::ReadLine(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    const size_t end = m_pending.find('\n');
    if (end != std::string::npos) {
      std::string line = m_pending.substr(0, end);
      m_pending.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    if (m_out < 0) return std::nullopt;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd fd{m_out, POLLIN, 0};
    const int ready = ::poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) return std::nullopt;
    if (ready <= 0) continue;
    char buffer[4096];
    const ssize_t got = ::read(m_out, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ::close(m_out);
      m_out = -1;
      continue;
    }
    m_pending.append(buffer, static_cast<size_t>(got));
  }
}

void TPipeProcess::Stop(std::chrono::milliseconds grace) {
  if (m_in >= 0) ::close(m_in);
  m_in = -1;
  if (m_pid > 0) {
    const auto deadline = std::chrono::steady_clock::now() + grace;
    int status = 0;
    pid_t done = 0;
    while ((done = ::waitpid(m_pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (done == 0) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, &status, 0);
    }
    m_pid = -1;
  }
  if (m_out >= 0) ::close(m_out);
  m_out = -1;
}

}  // namespace penwick
