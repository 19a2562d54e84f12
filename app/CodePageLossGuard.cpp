// The question before "?" is written over characters a file really holds.
#include "app/CodePageLossGuard.h"

#include <filesystem>
#include <system_error>

#include "platform/UserDialogs.h"

namespace penwick {

void TCodePageLossGuard::Opened(const std::string& fileName, int lost) {
  m_fileName.clear();
  if (lost <= 0) return;
  m_fileName = fileName;
  m_lost = lost;
  m_dialogs.ShowMessage("The file \"" + fileName + "\" holds " + std::to_string(lost) +
                        (lost == 1 ? " character" : " characters") +
                        " that the editor's code page cannot show. They are shown as \"?\", and saving the file "
                        "would write \"?\" in their place.");
}

bool TCodePageLossGuard::IsGuarded(const std::string& target) const {
  if (m_fileName.empty()) return false;
  std::error_code error;
  if (std::filesystem::equivalent(target, m_fileName, error)) return true;
  // A file that is gone cannot be compared by identity: compare the names.
  return std::filesystem::absolute(target, error).lexically_normal() ==
         std::filesystem::absolute(m_fileName, error).lexically_normal();
}

bool TCodePageLossGuard::MayWrite(const std::string& target) {
  if (!IsGuarded(target)) return true;
  const std::string question = "Saving \"" + target + "\" writes \"?\" in place of the " + std::to_string(m_lost) +
                               (m_lost == 1 ? " character" : " characters") +
                               " the editor could not show when the file was opened; they are then lost. Save anyway?";
  return m_dialogs.Confirm(question) == TDialogAnswer::Yes;
}

void TCodePageLossGuard::Written(const std::string& target) {
  if (IsGuarded(target)) m_fileName.clear();
}

}  // namespace penwick
