// A TUserDialogs for tests: answers from queues set up by the test and
// records every question, so a test can check what the user was asked.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/UserDialogs.h"

namespace penwick::test {

struct TAskedDialog {
  std::string Kind;     // "Confirm", "IgnoreError", "Error", "Message", "Open", "Save", "Font", "Color"
  std::string Caption;  // the caption the real dialog would show
  std::string Text;     // message text; for file dialogs the name offered; for a font
                        // dialog the font offered ("Courier New 10 0"), for a colour
                        // dialog the colour offered in hexadecimal ("00FFFFFF")
  TFileDialog File;     // the file dialog as it was shown (file dialogs only)
};

// A question without a scripted answer fails the running test (ADD_FAILURE)
// and is answered with Cancel, so the code under test unwinds harmlessly.
class TScriptedDialogs : public TUserDialogs {
public:
  void AnswerConfirm(TDialogAnswer answer) { m_confirms.push_back(answer); }
  // Answers to "Ignore this error?" (Kind "IgnoreError").
  void AnswerIgnoreError(TDialogAnswer answer) { m_ignoreErrors.push_back(answer); }
  // std::nullopt cancels the dialog; a name is returned as chosen.
  void AnswerOpen(std::optional<std::string> fileName) { m_opens.push_back(std::move(fileName)); }
  void AnswerSave(std::optional<std::string> fileName) { m_saves.push_back(std::move(fileName)); }
  // std::nullopt cancels the font or colour dialog; a value is returned as chosen.
  void AnswerFont(std::optional<TFontChoice> font) { m_fonts.push_back(std::move(font)); }
  void AnswerColor(std::optional<std::uint32_t> color) { m_colors.push_back(color); }

  const std::vector<TAskedDialog>& Asked() const { return m_asked; }
  // The asked dialogs of one kind, in order.
  std::vector<TAskedDialog> Asked(const std::string& kind) const;
  void ClearAsked() { m_asked.clear(); }
  // Every scripted answer has been used.
  bool AllAnswered() const {
    return m_confirms.empty() && m_ignoreErrors.empty() && m_opens.empty() && m_saves.empty() && m_fonts.empty() &&
           m_colors.empty();
  }

  TDialogAnswer Confirm(const std::string& text) override;
  void ShowError(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  TDialogAnswer AskIgnoreError(const std::string& text) override;
  bool ExecuteOpen(TFileDialog& dialog) override;
  bool ExecuteSave(TFileDialog& dialog) override;
  bool ExecuteFont(TFontChoice& font) override;
  bool ExecuteColor(std::uint32_t& color) override;

private:
  bool RunFileDialog(const char* kind, std::deque<std::optional<std::string>>& answers, TFileDialog& dialog);

  std::deque<TDialogAnswer> m_confirms;
  std::deque<TDialogAnswer> m_ignoreErrors;
  std::deque<std::optional<std::string>> m_opens;
  std::deque<std::optional<std::string>> m_saves;
  std::deque<std::optional<TFontChoice>> m_fonts;
  std::deque<std::optional<std::uint32_t>> m_colors;
  std::vector<TAskedDialog> m_asked;
};

}  // namespace penwick::test
