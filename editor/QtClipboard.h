// The system clipboard for the editing core: 8-bit text converted through
// the code page, and a private MIME type marking a column block.
#pragma once

#include "editor/Clipboard.h"

namespace penwick {

class TCodePage;

class TQtClipboard : public TClipboard {
public:
  // The MIME type whose presence marks the text as a column block; its data
  // is the selection mode as one decimal digit ("1": column block).
  static constexpr const char* ColumnBlockMimeType = "application/x-penwick-selection-mode";

  // Converts with `codePage` (the default code page when null); not owned.
  explicit TQtClipboard(const TCodePage* codePage = nullptr) : m_codePage(codePage) {}

  bool HasText() const override;
  std::string GetText(bool* columnBlock = nullptr) const override;
  void SetText(const std::string& text, bool columnBlock = false) override;

private:
  const TCodePage& CodePage() const;
  const TCodePage* m_codePage;
};

}  // namespace penwick
