// The conversation with the game's mission compiler, a separate Windows
// program driven by window messages; implemented in-process on Windows and
// through a bridge program inside Wine elsewhere.
#pragma once

#include <stdexcept>
#include <string>

namespace penwick {

// Raised when the compiler cannot be reached at all (Wine, the bridge or the
// compiler itself is missing, the bridge died). The message is for the user.
class ECompilerUnavailable : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Raised when the compiler cannot be told a path at all, so the compile must
// stop before it writes anything. The message names the path and the reason.
class EHandOverImpossible : public std::runtime_error {
public:
  EHandOverImpossible(const std::string& path, const std::string& reason)
      : std::runtime_error("The mission compiler cannot be told the path \"" + path + "\": " + reason +
                           ". Rename or move the script and compile again."),
        m_reason(reason) {}
  // Why, without the path: lets a caller that knows the path in another form
  // name it again.
  const std::string& Reason() const { return m_reason; }

private:
  std::string m_reason;
};

// One compile's worth of calls to the compiler. Every call looks the
// compiler's window up afresh (the first top-level window of the class
// "VPSkelWinClass"); a call that needs the window does nothing when there is
// none. Paths are given and returned in the host's own form (on Linux a POSIX
// path); an implementation translates them for the compiler's side.
// None of the calls examines whether the compiler obeyed: the results of
// closing, starting and the timed command are not looked at, as the caller
// reads the compiler's effects (its window, its list, its files) instead.
class TCompilerSession {
public:
  virtual ~TCompilerSession() = default;

  // Whether a compiler window exists now.
  virtual bool CompilerWindowExists() = 0;
  // Sends WM_CLOSE (0, 0) to the compiler's window and waits until it is handled.
  virtual void CloseCompilerWindow() = 0;
  // The name the script's companion files are to be named from (by replacing
  // its extension) so that the compiler, which reads the hand-over value as
  // 8-bit text, reaches them: the script's own name where the compiler can
  // read it as it stands, otherwise a form of it the compiler can read (the
  // short name), in the script's folder. Asked before any companion exists;
  // writes nothing. Throws EHandOverImpossible when the compiler cannot be
  // told the script's folder or name in any form. A session whose compiler
  // reads host paths as they are keeps this default.
  virtual std::string CompilerScriptName(const std::string& scriptName) { return scriptName; }
  // Writes the hand-over value "varnokmiscompilerdllhookfilename" (REG_SZ)
  // under HKEY_CURRENT_USER "\Software\Fennick\" (created when missing):
  // the full name of the file the compiler is to take, in a form its 8-bit
  // reading names the same file by. Throws EHandOverImpossible when there is
  // no such form (a name not from CompilerScriptName).
  virtual void WriteHandOverValue(const std::string& companionFileName) = 0;
  // Starts `compilerFolder`/compiler.exe hidden, with that folder as its
  // working directory. Throws ECompilerUnavailable when the program or the
  // means to run it is missing; otherwise returns at once.
  virtual void StartCompiler(const std::string& compilerFolder) = 0;
  // WM_COMMAND 40001, waiting without limit until the compiler handled it.
  virtual void SendPrepare() = 0;
  // WM_COMMAND 40003, waiting at most 10,000 ms (SMTO_BLOCK).
  virtual void SendCompile() = 0;
  // The lines of the compiler's message list (the "ListBox" child with the
  // identifier 200 of the compiler's window), each followed by one CR; empty
  // when there is no window or no list.
  virtual std::string ReadMessages() = 0;
  // The name under which the compiler, naming the existing file `path` in its
  // short form, reaches it, as a host path. The compiler writes its output
  // under that name. In-process on Windows this is the path's short form.
  virtual std::string CompilerShortPath(const std::string& path) = 0;
};

}  // namespace penwick
