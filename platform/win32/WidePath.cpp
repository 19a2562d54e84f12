// UTF-8 and UTF-16 paths through the system's own converter.
#include "platform/win32/WidePath.h"

#include <windows.h>

namespace penwick {

std::optional<std::wstring> WidePathOf(std::string_view utf8) {
  if (utf8.empty()) return std::wstring();
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length);
  // A NUL inside the text would cut the path short at the system's side.
  if (wide.find(L'\0') != std::wstring::npos) return std::nullopt;
  return wide;
}

std::string NarrowOf(std::wstring_view wide, unsigned codePage) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::string Utf8PathOf(std::wstring_view wide) { return NarrowOf(wide, CP_UTF8); }

}  // namespace penwick
