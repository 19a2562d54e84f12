// The Win32 compiler session: window messages, ShellExecuteW and the registry.
#include "platform/win32/Win32CompilerSession.h"

#include "platform/win32/WidePath.h"

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

constexpr const wchar_t* kHandOverKeyW = L"Software\\Fennick";
constexpr const wchar_t* kHandOverValueW = L"varnokmiscompilerdllhookfilename";

// The UTF-16 form of a path given to the session; a path that is not valid
// UTF-8 cannot name any file.
std::wstring Wide(const std::string& path) {
  std::optional<std::wstring> wide = WidePathOf(path);
  if (!wide) throw EHandOverImpossible(path, "the path is not valid UTF-8 text, the encoding file names are read in");
  return *wide;
}

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

std::string TWin32CompilerSession::CompilerScriptName(const std::string& scriptName) {
  const std::wstring form = m_handOver.CompilerForm(Wide(scriptName));
  const std::wstring name = form.substr(form.rfind(L'\\') + 1);
  const size_t separator = scriptName.find_last_of("\\/");
  return scriptName.substr(0, separator == std::string::npos ? 0 : separator + 1) + Utf8PathOf(name);
}

void TWin32CompilerSession::WriteHandOverValue(const std::string& companionFileName) {
  const std::wstring value = m_handOver.CompilerForm(Wide(companionFileName));
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kHandOverKeyW, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("Failed to create key \\Software\\Fennick\\");
  // Stored as UTF-16; the hook's 8-bit read turns it into the code page's
  // bytes, which CompilerForm made sure name the same file.
  const LONG result = RegSetValueExW(key, kHandOverValueW, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) throw std::runtime_error(std::string("Failed to set data for '") + kHandOverValue + "'");
}

void TWin32CompilerSession::StartCompiler(const std::string& compilerFolder) {
  const std::string program = compilerFolder + "compiler.exe";
  const std::wstring wideFolder = Wide(compilerFolder);
  const std::wstring wideProgram = wideFolder + L"compiler.exe";
  const DWORD attributes = GetFileAttributesW(wideProgram.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw ECompilerUnavailable("The mission compiler was not found: " + program);
  ShellExecuteW(nullptr, L"open", wideProgram.c_str(), L"", wideFolder.c_str(), SW_HIDE);
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
  std::optional<std::wstring> shortForm = THandOverPath::SystemShortPath(Wide(path));
  return shortForm ? Utf8PathOf(*shortForm) : path;
}

}  // namespace penwick
