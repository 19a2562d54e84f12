// Which form of a path the mission compiler can be told: it reads the
// hand-over value as 8-bit text in the system's ANSI code page.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace penwick {

// A path reaches the compiler intact only when its text converted to the
// code page and back is the same text. Where the folder or the file name
// fails that, its short (8.3) form is taken instead, as the system names it;
// where that fails too (no short names, or short names that the code page
// cannot hold either), the path cannot be handed over at all. Paths are
// absolute Windows paths with backslashes. Costs one short-name lookup per
// part that needs one.
class THandOverPath {
public:
  // The short form of an existing path; std::nullopt when there is none.
  using TShortPathLookup = std::function<std::optional<std::wstring>(const std::wstring& path)>;

  // The system's ANSI code page and GetShortPathNameW.
  THandOverPath();
  THandOverPath(unsigned codePage, TShortPathLookup shortPath);

  // Whether `text` survives the trip into the code page and back unchanged.
  bool SurvivesCodePage(std::wstring_view text) const;
  // The code page's bytes for `text`; characters it lacks become '?'.
  std::string ToCodePage(std::wstring_view text) const;

  // The form of `path` whose 8-bit text names the same file: its folder and
  // its file name each as they stand when they survive, otherwise in their
  // short form. Only the parts that need a short form must exist. Throws
  // EHandOverImpossible (naming `path`) when a part has no form that survives.
  std::wstring CompilerForm(const std::wstring& path) const;

  // GetShortPathNameW, whatever the length of the result.
  static std::optional<std::wstring> SystemShortPath(const std::wstring& path);

private:
  // The short form of `path` (only its last component when `nameOnly`) when
  // there is one that survives the code page.
  std::optional<std::wstring> SurvivingShortForm(const std::wstring& path, bool nameOnly) const;

  unsigned m_codePage;
  TShortPathLookup m_shortPath;
};

}  // namespace penwick
