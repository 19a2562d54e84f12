// The Wine compiler session: requests to the bridge and path translation.
#include "platform/posix/WineCompilerSession.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/FileOperations.h"
#include "platform/posix/PipeProcess.h"
#include "platform/win32/BridgeProtocol.h"

namespace penwick {

TWineCompilerSession::TWineCompilerSession(std::string bridge, std::string wine)
    : m_bridge(std::move(bridge)), m_wine(std::move(wine)) {}

TWineCompilerSession::~TWineCompilerSession() {
  if (m_process) {
    m_process->WriteLine("QUIT");
    m_process->ReadLine(std::chrono::milliseconds(2000));
  }
}

std::string TWineCompilerSession::ToWinePath(const std::string& path) {
  std::string absolute = path;
  if (absolute.empty() || absolute[0] != '/') {
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd)) absolute = std::string(cwd) + "/" + absolute;
  }
  std::string result = "Z:";
  for (char c : absolute) result += c == '/' ? '\\' : c;
  return result;
}

void TWineCompilerSession::EnsureBridge() {
  if (m_process && m_process->Running()) return;
  if (!TPipeProcess::FindProgram(m_wine))
    throw ECompilerUnavailable("The mission compiler needs Wine on this system: install the package wine.");
  if (!FileExists(m_bridge))
    throw ECompilerUnavailable("The compiler bridge was not found: " + m_bridge +
                               " (it is built with the package g++-mingw-w64-x86-64-posix).");
  std::vector<std::string> environment;
  if (!std::getenv("WINEDEBUG")) environment.push_back("WINEDEBUG=-all");
  // Without these a new Wine prefix stops to offer downloads in a dialog.
  if (!std::getenv("WINEDLLOVERRIDES")) environment.push_back("WINEDLLOVERRIDES=mscoree,mshtml=d");
  try {
    m_process = std::make_unique<TPipeProcess>(std::vector<std::string>{m_wine, m_bridge}, environment);
  } catch (const std::exception& e) {
    throw ECompilerUnavailable(std::string("The mission compiler cannot be run through Wine: ") + e.what());
  }
  if (!m_process->WriteLine("HELLO")) {
    m_process.reset();
    throw ECompilerUnavailable("The compiler bridge did not start under Wine.");
  }
  std::optional<std::string> answer = m_process->ReadLine(m_firstAnswerLimit);
  if (!answer || *answer != std::string("OK ") + bridge::kGreeting) {
    m_process.reset();
    throw ECompilerUnavailable("The compiler bridge did not start under Wine" +
                               (answer ? ": it answered \"" + *answer + "\"." : std::string(".")));
  }
}

std::string TWineCompilerSession::Request(const std::string& verb, const std::string& argument,
                                          const std::string& hostPath) {
  EnsureBridge();
  const std::string line = argument.empty() ? verb : verb + " " + bridge::Escape(argument);
  std::optional<std::string> answer;
  if (m_process->WriteLine(line)) answer = m_process->ReadLine(m_answerLimit);
  if (!answer) {
    // A bridge that died or hangs is of no further use; the next compile
    // starts a new one.
    m_process.reset();
    throw ECompilerUnavailable("The compiler bridge stopped answering (request " + verb + ").");
  }
  std::string status, payload;
  bridge::SplitLine(*answer, status, payload);
  payload = bridge::Unescape(payload);
  if (status == "OK") return payload;
  if (status == "MISSING") throw ECompilerUnavailable(payload);
  if (status == "REFUSED") throw EHandOverImpossible(hostPath.empty() ? argument : hostPath, payload);
  if (status == "ERR") throw std::runtime_error(payload);
  m_process.reset();
  throw ECompilerUnavailable("The compiler bridge answered nonsense: " + *answer);
}

bool TWineCompilerSession::CompilerWindowExists() { return Request("EXISTS") == "1"; }

void TWineCompilerSession::CloseCompilerWindow() { Request("CLOSE"); }

std::string TWineCompilerSession::CompilerScriptName(const std::string& scriptName) {
  const std::string form = Request("NAME", ToWinePath(scriptName), scriptName);
  // The folder is the script's own; only the file name may have become the
  // short form Wine knows it by, which the companions then carry on disk.
  return WithFileName(scriptName, form);
}

void TWineCompilerSession::WriteHandOverValue(const std::string& companionFileName) {
  Request("HANDOVER", ToWinePath(companionFileName), companionFileName);
}

void TWineCompilerSession::StartCompiler(const std::string& compilerFolder) {
  std::string folder = compilerFolder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  if (!FileExists(folder + "compiler.exe"))
    throw ECompilerUnavailable("The mission compiler was not found: " + folder + "compiler.exe");
  Request("START", ToWinePath(folder));
}

void TWineCompilerSession::SendPrepare() { Request("PREPARE"); }

void TWineCompilerSession::SendCompile() { Request("COMPILE"); }

std::string TWineCompilerSession::ReadMessages() { return Request("READ"); }

std::string TWineCompilerSession::CompilerShortPath(const std::string& path) {
  // Wine invents short names for its mapped drive; only the file's own
  // component names a file the compiler creates, in the file's real folder.
  return WithFileName(path, Request("SHORT", ToWinePath(path), path));
}

std::string TWineCompilerSession::WithFileName(const std::string& hostPath, const std::string& windowsPath) {
  const size_t backslash = windowsPath.rfind('\\');
  if (backslash == std::string::npos) return hostPath;
  const size_t slash = hostPath.rfind('/');
  return hostPath.substr(0, slash == std::string::npos ? 0 : slash + 1) + windowsPath.substr(backslash + 1);
}

}  // namespace penwick
