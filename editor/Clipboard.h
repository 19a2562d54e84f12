// The clipboard as the editing core sees it: 8-bit text, optionally marked as
// a column block.
#pragma once

#include <string>

namespace penwick {

// Text on the clipboard is 8-bit in the editor's code page; an implementation
// that talks to a system clipboard converts at its boundary. Any method may
// throw when the clipboard cannot be reached; callers that only ask (CanPaste)
// treat an error as "no text".
class TClipboard {
public:
  virtual ~TClipboard() = default;
  // Whether the clipboard holds text (possibly empty).
  virtual bool HasText() const = 0;
  // The text; `columnBlock`, when given, receives whether the text carries the
  // editor's private column-block marker.
  virtual std::string GetText(bool* columnBlock = nullptr) const = 0;
  // Replaces the clipboard's content by `text`, with the column-block marker
  // when `columnBlock` is set.
  virtual void SetText(const std::string& text, bool columnBlock = false) = 0;
};

}  // namespace penwick
