// A child process spoken to through its standard input and output, one line
// at a time.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace penwick {

// Owns the child: the destructor closes its input and, when it has not ended
// within a moment, kills it, so no child outlives its owner. The child's
// standard error goes to the parent's.
class TPipeProcess {
public:
  // Starts `argv[0]`, looked up in PATH when it holds no slash, with the
  // parent's environment plus `extraEnvironment` ("NAME=value" entries,
  // replacing variables of the same name). Throws std::runtime_error when
  // the program cannot be started.
  TPipeProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment);
  ~TPipeProcess();
  TPipeProcess(const TPipeProcess&) = delete;
  TPipeProcess& operator=(const TPipeProcess&) = delete;

  // Writes `line` and a LF; false when the child no longer reads.
  bool WriteLine(const std::string& line);
  // The next line without its LF (and a CR before it), or nullopt when the
  // child closed its output or `limit` passed first.
  std::optional<std::string> ReadLine(std::chrono::milliseconds limit);
  // Ends the child: closes its input, waits up to `grace`, then kills it.
  void Stop(std::chrono::milliseconds grace = std::chrono::milliseconds(2000));
  bool Running() const { return m_pid > 0; }

  // Whether `program` names an executable file, directly or through PATH.
  static bool FindProgram(const std::string& program);

private:
  pid_t m_pid = -1;
  int m_in = -1;   // the child's standard input
  int m_out = -1;  // the child's standard output
  std::string m_pending;
};

}  // namespace penwick
