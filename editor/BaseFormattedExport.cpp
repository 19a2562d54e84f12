// The style entries of the run being exported, and letter-case formatting.
#include "editor/BaseFormattedExport.h"

#include "platform/CodePage.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {
namespace {

void ChangeCase(std::string& text, TChangeCase change) {
  const TCodePage& page = TCodePage::Default();
  bool wordStart = true;
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (change) {
      case ccUpper: c = static_cast<char>(page.ToUpper(byte)); break;
      case ccLower: c = static_cast<char>(page.ToLower(byte)); break;
      case ccToggle:
        c = static_cast<char>(page.IsUpper(byte) ? page.ToLower(byte) : page.ToUpper(byte));
        break;
      case ccTitle:
        c = static_cast<char>(wordStart ? page.ToUpper(byte) : page.ToLower(byte));
        wordStart = !page.IsLetter(byte) && !page.IsDigit(byte);
        break;
      case ccNone: return;
    }
  }
}

}  // namespace

int TBaseFormattedExport::BeginRun(int offset, int limit) {
  m_entries.clear();
  return CollectStyles(offset, limit, m_entries);
}

void TBaseFormattedExport::BeginExport() {
  TPlainTextSyntExport::BeginExport();
  m_entries.clear();
}

std::string_view TBaseFormattedExport::GetText(int offset, int count) {
  const std::string_view text = TPlainTextSyntExport::GetText(offset, count);
  if (!m_useCaseFormatting) return text;
  bool changed = false;
  for (const TStyleEntry& entry : m_entries) {
    if (!entry.Style || entry.Style->ChangeCase == ccNone) continue;
    if (!changed) m_caseBuffer.assign(text);
    changed = true;
    ChangeCase(m_caseBuffer, entry.Style->ChangeCase);
  }
  return changed ? std::string_view(m_caseBuffer) : text;
}

}  // namespace penwick
