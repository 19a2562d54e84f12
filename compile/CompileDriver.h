// The Compile command: hands the editor's script to the game's mission
// compiler, collects its messages for the output panel and cleans up.
#pragma once

#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "compile/CompileHost.h"
#include "platform/CompilerSession.h"

namespace penwick {

// A compile that cannot go on; the message is for the user.
class ECompileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// How long the driver waits for the compiler. The compiler's own calls carry
// their limits (the 10 s of the compile command); these bound the loops the
// driver runs itself.
struct TCompileTimings {
  // Waiting for the started compiler's window. Wine's first start of a
  // prefix can take far longer than a native start, hence the margin.
  std::chrono::milliseconds WindowWait{30000};
  // Closing compilers left open: at most this many WM_CLOSE rounds...
  int CloseTries = 20;
  // ...with this pause after each round that left a window open.
  std::chrono::milliseconds ClosePause{250};
  // Pause between two looks for the compiler's window.
  std::chrono::milliseconds PollPause{20};
};

// The status texts of the progress panel, in the order they are shown.
namespace compile_status {
inline constexpr const char* Killing = "Killing previous instances of compiler...";
inline constexpr const char* HandOver = "Doing fake stuff to convince the compiler";
inline constexpr const char* TempFile = "Temp. file creation";
inline constexpr const char* Executing = "Executing compiler";
inline constexpr const char* Prepared = "Compiler is prepared!";
inline constexpr const char* Compiling = "Compiling...";
inline constexpr const char* Checking = "Checking compiler output...";
inline constexpr const char* Closing = "Closing compiler...";
}  // namespace compile_status

// Runs one compile. The driver owns nothing but its references; host and
// session must outlive it. Not re-entrant: the host's window is disabled for
// the whole command.
class TCompileDriver {
public:
  TCompileDriver(TCompileHost& host, TCompilerSession& session, TCompileTimings timings = {});

  // Makes `folder` the only place the compiler is looked for; empty goes back
  // to the default places. Always ends with a separator once set.
  void SetCompilerFolder(const std::string& folder);
  // Where the compiler is looked for, in order, each ending with a separator:
  // the folder set with SetCompilerFolder alone; else "compiler" beside the
  // executable, then the host's user compiler folder when it names one.
  std::vector<std::string> CompilerFolderCandidates() const;
  // The default places for a program in `executableFolder` and a user whose
  // own compiler folder is `userFolder` (may be empty), in the order they
  // are looked at, each ending with a separator.
  static std::vector<std::string> DefaultCompilerFolders(const std::string& executableFolder,
                                                         const std::string& userFolder);
  // The folder set with SetCompilerFolder, whether it holds the compiler or
  // not; else the first default place holding compiler.exe; else empty.
  std::string CompilerFolder() const;

  // The whole command. Returns normally when the compiler ran (whatever it
  // reported) and when the user cancelled Save As of an untitled script.
  // Throws ECompileError (or the host's, the session's errors) otherwise; the
  // main window is enabled again and the progress panel hidden in every case.
  // A missing compiler.exe is reported (ECompilerUnavailable, naming every
  // place looked at) before the session is asked anything or any file is
  // touched, a script the compiler cannot be told about (EHandOverImpossible)
  // before any file is written. The compiler folder is chosen once at the
  // start and serves the whole command (start, working directory, cleaning).
  void Execute();

  // Deletes every file matching "*.tmp", then "*.###" in CompilerFolder();
  // read-only files and failures are left alone silently, and without a
  // compiler folder nothing is deleted.
  void CleanCompilerFolder();

  // The file name with its extension replaced (or appended when it has none).
  static std::string ChangeFileExt(std::string_view fileName, std::string_view ext);
  // Splits a text at CR, LF or CR LF; a final line break adds no empty line.
  static std::vector<std::string> SplitLines(std::string_view text);
  // Top-left corner that centres a panel on a window, by truncated halves.
  static TPanelSize CentredOrigin(TPanelSize window, TPanelSize panel);
  // Whether the script's own extension coincides with a companion file's
  // (".###", ".tmp", ".txt", any case), which the compile would overwrite.
  static bool IsCompanionExtension(std::string_view fileName);

private:
  // The folder of the command's compiler; throws ECompilerUnavailable when
  // no candidate holds compiler.exe.
  std::string FindCompilerFolder() const;
  static void CleanFolder(const std::string& folder);
  void SetStatus(const char* text);
  void CloseRunningCompilers();
  void WaitForCompilerWindow();
  static void RemoveCompanions(const std::string& scriptName);
  static void RemoveScratchAfterFailure(const std::string& scriptName, const std::string& compilerFolder) noexcept;

  TCompileHost& m_host;
  TCompilerSession& m_session;
  TCompileTimings m_timings;
  std::string m_compilerFolder;
};

}  // namespace penwick
