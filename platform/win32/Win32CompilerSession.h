// The conversation with the mission compiler through the Win32 window,
// process and registry functions, in the process that runs it.
#pragma once

#include <windows.h>

#include <string>

#include "platform/CompilerSession.h"
#include "platform/win32/HandOverPath.h"

namespace penwick {

// The window class of the compiler's main window and of its message list.
inline constexpr const char* kCompilerWindowClass = "VPSkelWinClass";
inline constexpr const char* kMessageListClass = "ListBox";
inline constexpr int kMessageListId = 200;
inline constexpr WPARAM kCommandPrepare = 40001;
inline constexpr WPARAM kCommandCompile = 40003;
inline constexpr UINT kCompileTimeoutMs = 10000;
// Registry location the compiler's hook library reads the script's name from.
inline constexpr const char* kHandOverKey = "Software\\Fennick";
inline constexpr const char* kHandOverValue = "varnokmiscompilerdllhookfilename";

// Paths are absolute Windows paths in UTF-8 here; each is turned into UTF-16
// once (WidePathOf) and passed to the wide Windows calls, so any name the
// file system holds can be reached. A path that is not valid UTF-8 names no
// file: the calls that take one throw EHandOverImpossible. Every call looks
// the compiler's window up afresh, so a compiler that closed or restarted in
// between is never addressed through a stale handle.
class TWin32CompilerSession : public TCompilerSession {
public:
  TWin32CompilerSession() = default;
  // `handOver` decides which form of a path the compiler is told.
  explicit TWin32CompilerSession(THandOverPath handOver) : m_handOver(std::move(handOver)) {}

  bool CompilerWindowExists() override;
  void CloseCompilerWindow() override;
  // The script's folder as given, with the file name the compiler can read
  // (THandOverPath::CompilerForm): the name itself, or its short form.
  std::string CompilerScriptName(const std::string& scriptName) override;
  // Writes THandOverPath::CompilerForm of the name. Throws
  // EHandOverImpossible when there is none, std::runtime_error when the key
  // cannot be opened or the value written.
  void WriteHandOverValue(const std::string& companionFileName) override;
  // Throws ECompilerUnavailable when `compilerFolder`compiler.exe is missing.
  void StartCompiler(const std::string& compilerFolder) override;
  void SendPrepare() override;
  void SendCompile() override;
  std::string ReadMessages() override;
  // The short form of an existing path; the path itself when it has none.
  std::string CompilerShortPath(const std::string& path) override;

  // The compiler's window, or nullptr.
  static HWND FindCompilerWindow();
  // The compiler's message list: the last window among the handle values
  // 0..8000 whose parent is the compiler's window, whose class name (read
  // into a 10-byte buffer) is "ListBox" and whose identifier is 200. Window
  // handles above that range exist on busy desktops, so when the scan finds
  // nothing the compiler's child windows are searched by the same test.
  // nullptr when there is no such window.
  static HWND FindCompilerMessageList();
  // Every line of the list, each followed by one CR; empty for nullptr or a
  // window that is not a list. Lines of any length are read whole.
  static std::string ReadCompilerMessages(HWND list);

private:
  THandOverPath m_handOver;
};

}  // namespace penwick
