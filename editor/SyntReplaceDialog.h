// The replace component of the editor: the "Replace Text" run, replacing
// with or without a question per match, literally or by a group template.
#pragma once

#include <string>
#include <vector>

#include "editor/SyntFindDialog.h"

namespace penwick {

// Finds like TSyntFindDialog and replaces what it finds by ReplaceText.
// Without prompting, or from the answer All on, a run is one edit bracket
// of the editor over all its ranges (one repaint, and the analysis brought
// up to the end of the text once, when the run ends); the whole Execute is
// one undo group either way.
class TSyntReplaceDialog : public TSyntFindDialog {
public:
  const std::string& ReplaceText() const { return m_replaceText; }
  void SetReplaceText(std::string text) { m_replaceText = std::move(text); }
  // Earlier replacement texts, most recent first.
  const std::vector<std::string>& ReplaceHistory() const { return m_replaceHistory; }
  // The question before a replacement; "%s" stands for FindText.
  const std::string& ReplacePrompt() const { return m_replacePrompt; }
  void SetReplacePrompt(std::string text) { m_replacePrompt = std::move(text); }
  // Whether the question stands next to the match (else centred).
  bool AutoPosPrompt() const { return m_autoPosPrompt; }
  void SetAutoPosPrompt(bool on) { m_autoPosPrompt = on; }

  void FillDialog(TFindFormData& data) override;
  void ReadDialog(const TFindFormData& data) override;
  TFindFormData CreateDialogForm() override;
  // Replaces in one range. With run.Prompt each match is shown and asked
  // about: No leaves it, Cancel stops the run, All replaces it and every
  // later match without asking. Without run.All the run stops after the
  // first replacement. Forward, the range's end and run.Shift follow the
  // length changes. The editor's search marks are cleared before a match is
  // replaced. Replacements through the editor's ReplaceText: a span
  // the editor refuses to write is passed over like No. After a
  // replacement the caret stands right after the last one (forward) or at
  // its start (backward). Returns whether any match was found, replaced
  // or not.
  bool SearchRange(TSearchRange& range, bool backward, TSearchRun& run) override;

protected:
  // Closes the run's edit bracket and, when there was one, analyses the text to its end.
  void EndRun(TSearchRun& run) override;

private:
  // Shows the match, asks, and keeps idle analysis off while asking.
  TDialogAnswer Ask(int matchStart, int matchEnd, bool backward);

  std::string m_replaceText;
  std::vector<std::string> m_replaceHistory;
  std::string m_replacePrompt = "Replace this occurence of '%s'?";
  bool m_autoPosPrompt = true;
};

}  // namespace penwick
