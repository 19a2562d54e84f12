// The Win32 compiler session: window messages, ShellExecuteA and the registry.
#include "platform/win32/Win32CompilerSession.h"

#include <shellapi.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace penwick {

namespace {

// GetWindowLongA's GWL_HWNDPARENT and GWL_ID indices; the 64-bit headers
// name them only in their pointer-sized form, which reads the same data.
constexpr int kIndexParent = GWLP_HWNDPARENT;
constexpr int kIndexId = GWLP_ID;

bool IsMessageList(HWND candidate, HWND compiler) {
  if (reinterpret_cast<HWND>(GetWindowLongPtrA(candidate, kIndexParent)) != compiler) return false;
  char className[10] = {};  // 9 characters and the terminator, as the class test reads it
  GetClassNameA(candidate, className, sizeof className);
  if (std::strcmp(className, kMessageListClass) != 0) return false;
  return GetWindowLongPtrA(candidate, kIndexId) == kMessageListId;
}

struct TChildSearch {
  HWND Compiler;
  HWND Found;
};

BOOL CALLBACK VisitChild(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<TChildSearch*>(data);
  if (IsMessageList(child, search->Compiler)) search->Found = child;
  return TRUE;
}

}  // namespace

HWND TWin32CompilerSession::FindCompilerWindow() { return FindWindowA(kCompilerWindowClass, nullptr); }

bool TWin32CompilerSession::CompilerWindowExists() { return FindCompilerWindow() != nullptr; }

void TWin32CompilerSession::CloseCompilerWindow() {
  if (HWND window = FindCompilerWindow()) SendMessageA(window, WM_CLOSE, 0, 0);
}

void TWin32CompilerSession::WriteHandOverValue(const std::string& companionFileName) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kHandOverKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("Failed to create key \\Software\\Fennick\\");
  const LONG result = RegSetValueExA(key, kHandOverValue, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(companionFileName.c_str()),
                                     static_cast<DWORD>(companionFileName.size() + 1));
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) throw std::runtime_error(std::string("Failed to set data for '") + kHandOverValue + "'");
}

void TWin32CompilerSession::StartCompiler(const std::string& compilerFolder) {
  const std::string program = compilerFolder + "compiler.exe";
  const DWORD attributes = GetFileAttributesA(program.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw ECompilerUnavailable("The mission compiler was not found: " + program);
  ShellExecuteA(nullptr, "open", program.c_str(), "", compilerFolder.c_str(), SW_HIDE);
}

void TWin32CompilerSession::SendPrepare() {
  if (HWND window = FindCompilerWindow()) SendMessageA(window, WM_COMMAND, kCommandPrepare, 0);
}

void TWin32CompilerSession::SendCompile() {
  DWORD_PTR result = 0;
  if (HWND window = FindCompilerWindow())
    SendMessageTimeoutA(window, WM_COMMAND, kCommandCompile, 0, SMTO_BLOCK, kCompileTimeoutMs, &result);
}

HWND TWin32CompilerSession::FindCompilerMessageList() {
  HWND found = nullptr;
  for (UINT_PTR value = 0; value <= 8000; ++value) {
    HWND candidate = reinterpret_cast<HWND>(value);
    if (IsMessageList(candidate, FindCompilerWindow())) found = candidate;
  }
  if (found) return found;
  TChildSearch search{FindCompilerWindow(), nullptr};
  if (search.Compiler) EnumChildWindows(search.Compiler, VisitChild, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

std::string TWin32CompilerSession::ReadCompilerMessages(HWND list) {
  std::string text;
  if (!list) return text;
  // The list lives in another process. Its lines are asked for in their
  // Unicode form and turned into the ANSI code page here: the ANSI request
  // across processes is not converted by every system (Wine hands back the
  // Unicode bytes, twice the length announced, overrunning a buffer sized by
  // LB_GETTEXTLEN).
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  if (count == LB_ERR) return text;
  std::vector<wchar_t> wide;
  std::string line;
  for (LRESULT index = 0; index < count; ++index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    const size_t size = (length == LB_ERR ? 0 : static_cast<size_t>(length)) + 1;
    wide.assign(size < 2048 ? 2048 : size, L'\0');
    if (length != LB_ERR)
      SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()));
    wide.back() = L'\0';
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    line.assign(bytes > 0 ? static_cast<size_t>(bytes) : 1, '\0');
    if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, line.data(), bytes, nullptr, nullptr);
    text += line.c_str();  // up to the terminator
    text += '\r';
  }
  return text;
}

std::string TWin32CompilerSession::ReadMessages() { return ReadCompilerMessages(FindCompilerMessageList()); }

std::string TWin32CompilerSession::CompilerShortPath(const std::string& path) {
  std::vector<char> buffer(MAX_PATH, '\0');
  DWORD length = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length >= buffer.size()) {  // too small: the length asked for includes the terminator
    buffer.assign(length + 1, '\0');
    length = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  }
  if (length == 0 || length >= buffer.size()) return path;
  return std::string(buffer.data(), length);
}

}  // namespace penwick
