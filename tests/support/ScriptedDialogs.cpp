// Scripted answers to the program's questions, for tests.
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace penwick::test {

std::vector<TAskedDialog> TScriptedDialogs::Asked(const std::string& kind) const {
  std::vector<TAskedDialog> result;
  for (const TAskedDialog& asked : m_asked)
    if (asked.Kind == kind) result.push_back(asked);
  return result;
}

TDialogAnswer TScriptedDialogs::Confirm(const std::string& text) {
  m_asked.push_back({"Confirm", "Confirm", text, {}});
  if (m_confirms.empty()) {
    ADD_FAILURE() << "unexpected question: " << text;
    return TDialogAnswer::Cancel;
  }
  TDialogAnswer answer = m_confirms.front();
  m_confirms.pop_front();
  return answer;
}

TDialogAnswer TScriptedDialogs::AskIgnoreError(const std::string& text) {
  m_asked.push_back({"IgnoreError", "Error", text, {}});
  if (m_ignoreErrors.empty()) {
    ADD_FAILURE() << "unexpected error question: " << text;
    return TDialogAnswer::No;
  }
  TDialogAnswer answer = m_ignoreErrors.front();
  m_ignoreErrors.pop_front();
  return answer;
}

void TScriptedDialogs::ShowError(const std::string& text) { m_asked.push_back({"Error", "Error", text, {}}); }

void TScriptedDialogs::ShowMessage(const std::string& text) { m_asked.push_back({"Message", "", text, {}}); }

bool TScriptedDialogs::RunFileDialog(const char* kind, std::deque<std::optional<std::string>>& answers,
                                     TFileDialog& dialog) {
  m_asked.push_back({kind, dialog.Title, dialog.FileName, dialog});
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected " << kind << " dialog";
    return false;
  }
  std::optional<std::string> answer = answers.front();
  answers.pop_front();
  if (!answer) return false;
  dialog.FileName = *answer;
  return true;
}

bool TScriptedDialogs::ExecuteOpen(TFileDialog& dialog) { return RunFileDialog("Open", m_opens, dialog); }

bool TScriptedDialogs::ExecuteSave(TFileDialog& dialog) { return RunFileDialog("Save", m_saves, dialog); }

bool TScriptedDialogs::ExecuteFont(TFontChoice& font) {
  m_asked.push_back({"Font", "", font.Name + " " + std::to_string(font.Size) + " " + std::to_string(font.Style), {}});
  if (m_fonts.empty()) {
    ADD_FAILURE() << "unexpected font dialog";
    return false;
  }
  std::optional<TFontChoice> answer = m_fonts.front();
  m_fonts.pop_front();
  if (!answer) return false;
  font = *answer;
  return true;
}

bool TScriptedDialogs::ExecuteColor(std::uint32_t& color) {
  char offered[16];
  std::snprintf(offered, sizeof offered, "%08X", static_cast<unsigned>(color));
  m_asked.push_back({"Color", "", offered, {}});
  if (m_colors.empty()) {
    ADD_FAILURE() << "unexpected colour dialog";
    return false;
  }
  std::optional<std::uint32_t> answer = m_colors.front();
  m_colors.pop_front();
  if (!answer) return false;
  color = *answer;
  return true;
}

}  // namespace penwick::test
