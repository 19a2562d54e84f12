// The replace component of the editor.
#include "editor/SyntReplaceDialog.h"

#include "editor/MemoEditor.h"
#include "editor/SearchControl.h"
#include "editor/SearchMarks.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/ecRegExpr.h"

namespace penwick {

namespace {

// Keeps the idle analysis of a text switched off while it lives.
class TIdleAnalysisOff {
public:
  explicit TIdleAnalysisOff(TClientSyntAnalyzer* client) : m_client(client) {
    if (m_client) m_client->DisableIdleAnalysis(true);
  }
  ~TIdleAnalysisOff() {
    if (m_client) m_client->DisableIdleAnalysis(false);
  }
  TIdleAnalysisOff(const TIdleAnalysisOff&) = delete;
  TIdleAnalysisOff& operator=(const TIdleAnalysisOff&) = delete;

private:
  TClientSyntAnalyzer* m_client;
};

}  // namespace

void TSyntReplaceDialog::FillDialog(TFindFormData& data) {
  TSyntFindDialog::FillDialog(data);
  data.ReplaceHistory = m_replaceHistory;
  data.ReplaceText = m_replaceText;
  data.PromptOnReplace = HasFlag(ftPromtOnReplace);
  data.ReplaceWithTemplate = HasFlag(ftReplaceTemplate);
}

void TSyntReplaceDialog::ReadDialog(const TFindFormData& data) {
  TSyntFindDialog::ReadDialog(data);
  m_replaceText = data.ReplaceText;
  AddToHistory(m_replaceHistory, data.ReplaceText);
  TSearchOptions flags = Flags();
  if (data.PromptOnReplace) flags |= ftPromtOnReplace;
  if (data.ReplaceWithTemplate) flags |= ftReplaceTemplate;
  SetFlags(flags);
}

TFindFormData TSyntReplaceDialog::CreateDialogForm() {
  TFindFormData data;
  data.Replace = true;
  return data;
}

TDialogAnswer TSyntReplaceDialog::Ask(int matchStart, int matchEnd, bool backward) {
  TSearchControl& control = *Control();
  ShowFound(matchStart, matchEnd, backward);
  TIdleAnalysisOff idleOff(control.SyntClient());
  const TPopupRect at = control.CharRectOnScreen(matchStart - 1);
  TPromptAnchor anchor;
  anchor.AutoPlace = m_autoPosPrompt;
  anchor.X = at.Left;
  anchor.LineTop = at.Top;
  anchor.LineBottom = at.Bottom();
  return control.Forms().AskReplace(FormatWithFindText(m_replacePrompt), anchor);
}

bool TSyntReplaceDialog::SearchRange(TSearchRange& range, bool backward, TSearchRun& run) {
  TSearchControl& control = *Control();
  TMemoEditor& core = control.Core();
  if (!run.Prompt) run.OpenBracket(core);
  bool found = false;
  bool replacedHere = false;
  int matchStart = 0, matchEnd = 0;
  while (FindNext(range, backward, matchStart, matchEnd)) {
    found = true;
    if (run.Prompt) {
      const TDialogAnswer answer = Ask(matchStart, matchEnd, backward);
      if (answer == TDialogAnswer::Cancel) {
        run.Stop = true;
        break;
      }
      if (answer == TDialogAnswer::No) {
        // Backward the next search must end before this match: ending at
        // its start could find a one-character pattern there again.
        if (backward) range.EndPos = matchStart - 1;
        else range.StartPos = matchStart + 1;
        continue;
      }
      if (answer == TDialogAnswer::All) {
        run.Prompt = false;
        run.All = true;
        run.OpenBracket(core);
      }
    }
    const int removed = matchEnd - matchStart;
    std::string replacement = m_replaceText;
    if (HasFlag(ftRegularExpr) && HasFlag(ftReplaceTemplate)) {
      // The question may have let the store be read elsewhere: match again
      // on a fresh view so that the groups describe the text in hand.
      const TSearchText text = SearchTextFrom(matchStart);
      int length = 0;
      if (MatchAt(text, matchStart, length)) replacement = Engine()->Substitute(text.Tail, m_replaceText);
    }
    const int inserted = static_cast<int>(replacement.size());
    // The marks belong to an earlier search (a question's mark is this very
    // match): they go before the text changes, so that a replacement does
    // not have to move them all; a match that may not be written keeps them.
    if (!core.IsReadOnlySpan(matchStart - 1, removed)) control.SearchMarks().Clear();
    if (!core.ReplaceText(matchStart - 1, removed, replacement)) {
      if (backward) range.EndPos = matchStart - 1;
      else range.StartPos = matchEnd + (removed == 0 ? 1 : 0);
      continue;
    }
    run.Replaced = true;
    replacedHere = true;
    if (backward) {
      range.EndPos = matchStart - 1;
      run.CaretOffset = matchStart - 1;
    } else {
      range.StartPos = matchStart + inserted + (removed == 0 ? 1 : 0);
      range.EndPos += inserted - removed;
      run.Shift += inserted - removed;
      run.CaretOffset = matchStart - 1 + inserted;
    }
    if (!run.All) {
      run.Stop = true;
      break;
    }
  }
  if (replacedHere) core.SetCaretStrPos(run.CaretOffset);
  return found;
}

void TSyntReplaceDialog::EndRun(TSearchRun& run) {
  TSyntFindDialog::EndRun(run);
  if (!run.CloseBracket()) return;
  TSearchControl& control = *Control();
  if (TClientSyntAnalyzer* client = control.SyntClient())
    client->AnalyzeTo(static_cast<std::size_t>(control.Core().Lines().TextLength()));
}

}  // namespace penwick
