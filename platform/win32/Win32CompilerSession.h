// The conversation with the mission compiler through the Win32 window,
// process and registry functions, in the process that runs it.
#pragma once

#include <windows.h>

#include <string>

#include "platform/CompilerSession.h"

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

// Paths are Windows paths here. Every call looks the compiler's window up
// afresh, so a compiler that closed or restarted in between is never
// addressed through a stale handle.
class TWin32CompilerSession : public TCompilerSession {
public:
  bool CompilerWindowExists() override;
  void CloseCompilerWindow() override;
  // Throws std::runtime_error when the key cannot be opened or the value written.
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
};

}  // namespace penwick
