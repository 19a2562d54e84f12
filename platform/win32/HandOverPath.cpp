// The choice between a path's own form and its short form for the compiler.
#include "platform/win32/HandOverPath.h"

#include <windows.h>

#include <vector>

#include "platform/CompilerSession.h"
#include "platform/win32/WidePath.h"

namespace penwick {

THandOverPath::THandOverPath() : THandOverPath(GetACP(), SystemShortPath) {}

THandOverPath::THandOverPath(unsigned codePage, TShortPathLookup shortPath)
    : m_codePage(codePage), m_shortPath(std::move(shortPath)) {}

std::string THandOverPath::ToCodePage(std::wstring_view text) const { return NarrowOf(text, m_codePage); }

bool THandOverPath::SurvivesCodePage(std::wstring_view text) const {
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  // No best-fit mapping: "é" must not quietly become "e" and name another file.
  const DWORD flags = m_codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultArg = m_codePage == CP_UTF8 ? nullptr : &usedDefault;  // UTF-8 refuses the argument
  const int length = WideCharToMultiByte(m_codePage, flags, text.data(), size, nullptr, 0, nullptr, usedDefaultArg);
  if (length <= 0 || usedDefault) return false;
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(m_codePage, flags, text.data(), size, bytes.data(), length, nullptr, usedDefaultArg);
  if (usedDefault) return false;
  const int back = MultiByteToWideChar(m_codePage, 0, bytes.data(), length, nullptr, 0);
  if (back != size) return false;
  std::wstring again(static_cast<size_t>(back), L'\0');
  MultiByteToWideChar(m_codePage, 0, bytes.data(), length, again.data(), back);
  return again == text;
}

std::optional<std::wstring> THandOverPath::SurvivingShortForm(const std::wstring& path, bool nameOnly) const {
  std::optional<std::wstring> shortForm = m_shortPath(path);
  if (shortForm && nameOnly) {
    // Only the file's own component is wanted; the folder has its own form.
    const size_t separator = shortForm->rfind(L'\\');
    if (separator != std::wstring::npos) shortForm->erase(0, separator + 1);
  }
  if (shortForm && SurvivesCodePage(*shortForm)) return shortForm;
  return std::nullopt;
}

std::wstring THandOverPath::CompilerForm(const std::wstring& path) const {
  if (SurvivesCodePage(path)) return path;
  const size_t separator = path.rfind(L'\\');
  const std::wstring folder = separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
  const std::wstring name = separator == std::wstring::npos ? path : path.substr(separator + 1);
  auto refuse = [&](const char* what, const std::wstring& part) {
    throw EHandOverImpossible(Utf8PathOf(path), std::string(what) + " \"" + Utf8PathOf(part) +
                                                    "\" holds characters that the compiler's code page (" +
                                                    std::to_string(m_codePage) +
                                                    ") lacks, and the system keeps no short (8.3) name for it");
  };
  std::wstring result = folder;
  if (!SurvivesCodePage(folder)) {
    std::optional<std::wstring> shortFolder = SurvivingShortForm(folder, false);
    if (!shortFolder) refuse("the folder", folder);
    result = *shortFolder;
  }
  std::wstring nameForm = name;
  if (!SurvivesCodePage(name)) {
    std::optional<std::wstring> shortName = SurvivingShortForm(path, true);
    if (!shortName) refuse("the file name", name);
    nameForm = *shortName;
  }
  if (separator != std::wstring::npos) result += L'\\';
  return result + nameForm;
}

std::optional<std::wstring> THandOverPath::SystemShortPath(const std::wstring& path) {
  std::vector<wchar_t> buffer(MAX_PATH, L'\0');
  DWORD length = GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length >= buffer.size()) {  // too small: the length asked for includes the terminator
    buffer.assign(length + 1, L'\0');
    length = GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  }
  if (length == 0 || length >= buffer.size()) return std::nullopt;
  return std::wstring(buffer.data(), length);
}

}  // namespace penwick
