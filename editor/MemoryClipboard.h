// A clipboard held in memory: the editing core's default and the tests' clipboard.
#pragma once

#include "editor/Clipboard.h"

namespace penwick {

class TMemoryClipboard : public TClipboard {
public:
  bool HasText() const override { return m_hasText; }
  std::string GetText(bool* columnBlock = nullptr) const override {
    if (columnBlock) *columnBlock = m_hasText && m_columnBlock;
    return m_hasText ? m_text : std::string();
  }
  void SetText(const std::string& text, bool columnBlock = false) override {
    m_text = text;
    m_columnBlock = columnBlock;
    m_hasText = true;
  }
  // Empties the clipboard, so that HasText reads false.
  void Clear() {
    m_text.clear();
    m_columnBlock = false;
    m_hasText = false;
  }

private:
  std::string m_text;
  bool m_columnBlock = false;
  bool m_hasText = false;
};

}  // namespace penwick
