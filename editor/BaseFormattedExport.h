// The exporters that mark up styles: the style entries of the current run
// (`TBaseFormattedExport`).
#pragma once

#include "editor/PlainTextSyntExport.h"

namespace penwick {

// Keeps the style entries of the run being exported: BeginRun replaces them
// with the entries covering the run, BeginExport empties them. A subclass
// marks them up around the run's text.
class TBaseFormattedExport : public TPlainTextSyntExport {
public:
  // With it, GetText applies the letter-case change of the entries' styles.
  bool UseCaseFormatting() const { return m_useCaseFormatting; }
  void SetUseCaseFormatting(bool use) { m_useCaseFormatting = use; }
  const TStyleEntries& StyleEntries() const { return m_entries; }

protected:
  int BeginRun(int offset, int limit) override;
  void BeginExport() override;
  // The text unchanged, or with UseCaseFormatting each entry's case change
  // applied in entry order (letters of the display code page).
  std::string_view GetText(int offset, int count) override;

  TStyleEntries& Entries() { return m_entries; }

private:
  TStyleEntries m_entries;
  bool m_useCaseFormatting = false;
  std::string m_caseBuffer;
};

}  // namespace penwick
