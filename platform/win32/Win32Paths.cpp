// Short and long path names through the Win32 path functions.
#include "platform/Paths.h"

#include <windows.h>

#include <vector>

namespace penwick {

std::optional<std::string> SystemShortPath(const std::string& path) {
  char buffer[260] = {};
  DWORD length = GetShortPathNameA(path.c_str(), buffer, 259);
  if (length == 0) return std::nullopt;
  if (length < 259) return std::string(buffer, length);
  // The short form does not fit: the result is the size it needs (with its
  // terminator), and the fixed buffer must not be read past its end.
  std::vector<char> large(length + 1, '\0');
  length = GetShortPathNameA(path.c_str(), large.data(), static_cast<DWORD>(large.size()));
  if (length == 0 || length >= large.size()) return std::nullopt;
  return std::string(large.data(), length);
}

std::string SystemLongPath(const std::string& path) {
  // Looked up at run time: systems before the long-name call lack it.
  using TGetLongPathName = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto getLongPathName =
      kernel ? reinterpret_cast<TGetLongPathName>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetLongPathNameA")))
             : nullptr;
  if (!getLongPathName) return path;
  char buffer[260] = {};
  const DWORD length = getLongPathName(path.c_str(), buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return path;
  return std::string(buffer, length);
}

}  // namespace penwick
