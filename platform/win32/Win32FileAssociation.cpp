// The registry's file association, read and written through the wide
// registry functions.
#include "platform/win32/Win32FileAssociation.h"

#include <shlobj.h>

#include <optional>
#include <vector>

#include "platform/win32/WidePath.h"

namespace penwick {

namespace {

// Closes a key on every way out.
class TKeyGuard {
public:
  explicit TKeyGuard(HKEY key) : m_key(key) {}
  ~TKeyGuard() { RegCloseKey(m_key); }
  TKeyGuard(const TKeyGuard&) = delete;
  TKeyGuard& operator=(const TKeyGuard&) = delete;

private:
  HKEY m_key;
};

const char* const kDefaultValueName = "";

EAssociationError SetDataFailure(const char* valueName) {
  return EAssociationError(std::string("Failed to set data for '") + valueName + "'");
}

}  // namespace

std::string TWin32FileAssociation::ReadDefaultValue(const std::string& subKey) {
  const std::optional<std::wstring> name = WidePathOf(subKey);
  if (!name) return std::string();
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, name->c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::string();
  TKeyGuard guard(key);
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::string();
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::string();
  // The value may change between the two calls: ask again while it grows.
  // Sizes are in bytes; room for one more character keeps a terminator.
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
  for (;;) {
    size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    const LONG status = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status == ERROR_MORE_DATA) {
      buffer.assign(size / sizeof(wchar_t) + 2, L'\0');
      continue;
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::string();
    break;
  }
  // A stored string need not end in a terminator, and may hold one early.
  std::wstring text(buffer.data(), size / sizeof(wchar_t));
  const size_t terminator = text.find(L'\0');
  if (terminator != std::wstring::npos) text.resize(terminator);
  return Utf8PathOf(text);
}

void TWin32FileAssociation::WriteDefaultValue(const std::string& subKey, const std::string* value) {
  const std::optional<std::wstring> name = WidePathOf(subKey);
  const std::optional<std::wstring> text = value ? WidePathOf(*value) : std::optional<std::wstring>(std::wstring());
  if (!name || !text) throw SetDataFailure(kDefaultValueName);  // not UTF-8: no registry text stands for it
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, name->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw SetDataFailure(kDefaultValueName);
  TKeyGuard guard(key);
  if (!value) return;
  if (RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                     static_cast<DWORD>((text->size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
    throw SetDataFailure(kDefaultValueName);
}

std::string TWin32FileAssociation::AssociatedProgram(const std::string& extension) {
  const std::string fileType = ReadDefaultValue(extension);
  if (fileType.empty()) return std::string();
  return ProgramOfOpenCommand(ReadDefaultValue(fileType + "\\Shell\\Open\\Command"));
}

void TWin32FileAssociation::WriteAssociation(const std::string& extension, const std::string& programPath) {
  const std::string fileType = extension + "file";
  const std::string icon = programPath + ",0";
  const std::string command = programPath + " \"%1\"";
  WriteDefaultValue("." + extension, &fileType);
  WriteDefaultValue(fileType, nullptr);
  WriteDefaultValue(fileType + "\\DefaultIcon", &icon);
  WriteDefaultValue(fileType + "\\shell\\open\\command", &command);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

std::unique_ptr<TFileAssociation> SystemFileAssociation() { return std::make_unique<TWin32FileAssociation>(); }

}  // namespace penwick
