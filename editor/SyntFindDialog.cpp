// The find component of the editor.
#include "editor/SyntFindDialog.h"

#include <algorithm>

#include "editor/MemoEditor.h"
#include "editor/SearchControl.h"
#include "editor/SearchMarks.h"
#include "editor/WordAt.h"

namespace penwick {

TSearchRun::~TSearchRun() { CloseBracket(); }

void TSearchRun::OpenBracket(TMemoEditor& editor) {
  if (m_bracketed) return;
  editor.BeginUpdate();
  m_bracketed = &editor;
}

bool TSearchRun::CloseBracket() {
  if (!m_bracketed) return false;
  TMemoEditor* editor = m_bracketed;
  m_bracketed = nullptr;
  editor->EndUpdate();
  return true;
}

void TSyntFindDialog::FillDialog(TFindFormData& data) {
  TBaseFindDialog::FillDialog(data);
  if (!m_autoFill || !Control()) return;
  TMemoEditor& core = Control()->Core();
  if (!core.HaveSelection()) {
    data.Text = WordTextAt(core.Lines(), core.CaretPos(), CodePage());
    data.Scope = 0;
    data.Origin = 0;
  } else {
    data.Text = core.SelText();
    // A column block's text ends every line with a break; the search runs
    // inside the block's lines, where the last break can never be found.
    if (core.SelectionMode() == smColumn && data.Text.ends_with("\r\n")) data.Text.resize(data.Text.size() - 2);
    data.Scope = 1;
    data.Origin = 1;
  }
}

TSearchRange TSyntFindDialog::WholeTextRange(bool backward, bool fromCaret) const {
  TMemoEditor& core = Control()->Core();
  TSearchRange range{1, core.Lines().TextLength()};
  if (fromCaret) {
    const int caret = core.CaretStrPos();
    if (backward) range.EndPos = caret;  // the character right before the caret
    else range.StartPos = caret + 1;     // the character right after it
  }
  return range;
}

std::vector<TSearchRange> TSyntFindDialog::SearchRanges() const {
  TMemoEditor& core = Control()->Core();
  const TSyntMemoStrings& lines = core.Lines();
  std::vector<TSearchRange> ranges;
  if (HasFlag(ftSelectedText) && core.HaveSelection()) {
    if (core.SelectionMode() == smColumn) {
      const TBlockRect block = core.BlockRect();
      const int last = std::min(block.Bottom, lines.Count() - 1);
      for (int y = block.Top; y <= last; ++y) {
        const int length = lines.LineLength(y);
        const int from = std::min(block.Left, length);
        const int to = std::min(block.Right, length);
        if (to > from) ranges.push_back({lines.LineStart(y) + from + 1, lines.LineStart(y) + to});
      }
    } else {
      ranges.push_back({core.SelStart() + 1, core.SelStart() + core.SelLength()});
    }
  } else {
    ranges.push_back({1, lines.TextLength()});
  }
  if (!HasFlag(ftEntireScope)) {
    const int caret = core.CaretStrPos();
    for (TSearchRange& range : ranges) {
      if (HasFlag(ftBackward)) range.EndPos = std::min(range.EndPos, caret);
      else range.StartPos = std::max(range.StartPos, caret + 1);
    }
  }
  return ranges;
}

TSearchText TSyntFindDialog::SearchTextFrom(int pos) const {
  const TSyntMemoStrings& lines = Control()->Core().Lines();
  int start = 0;
  const std::string_view tail = lines.WindowFrom(pos - 1, start);
  return TSearchText(tail, start, start > 0 ? static_cast<unsigned char>(lines.CharAt(start - 1)) : -1);
}

bool TSyntFindDialog::FindNext(const TSearchRange& range, bool backward, int& matchStart, int& matchEnd) {
  if (!backward) return FindInRange(SearchTextFrom(range.StartPos), range, false, matchStart, matchEnd);
  // A wider window tries the positions of the narrower ones again; as the
  // width doubles, that at most doubles the work. The range itself, and so
  // the first position tried, stays the same in every window.
  const int first = std::max(range.StartPos, 1);
  int from = std::max(first, range.EndPos - 255);
  for (;;) {
    const TSearchText text = SearchTextFrom(from);
    if (FindInRange(text, range, true, matchStart, matchEnd)) return true;
    if (text.Start + 1 <= first) return false;
    const int width = range.EndPos - text.Start;
    from = std::max(first, text.Start + 1 - width);
  }
}

void TSyntFindDialog::ShowFound(int matchStart, int matchEnd, bool backward) {
  TSearchControl& control = *Control();
  TMemoEditor& core = control.Core();
  const int startOffset = matchStart - 1;
  const int endOffset = matchEnd - 1;
  if (!m_keepSelection) {
    core.SetSelectionMode(smNormal);
    core.SetSelection(core.CaretStrPos(), 0);
  }
  core.SetCaretStrPos(backward ? endOffset : startOffset);
  control.EnsureCaretVisible();
  core.SetCaretStrPos(backward ? startOffset : endOffset);
  control.EnsureCaretVisible();
  if (m_selectResult) {
    core.SetSelectionMode(smNormal);
    core.SetSelection(startOffset, endOffset - startOffset);
  } else {
    control.SearchMarks().Clear();
    control.SearchMarks().Add(startOffset, endOffset);
  }
  FocusControl();
}

bool TSyntFindDialog::SearchRange(TSearchRange& range, bool backward, TSearchRun& run) {
  bool found = false;
  int matchStart = 0, matchEnd = 0;
  while (FindNext(range, backward, matchStart, matchEnd)) {
    found = true;
    if (!run.Shown) {
      ShowFound(matchStart, matchEnd, backward);
      run.Shown = true;
    } else {
      run.MoreMarks.push_back(TSearchMark{matchStart - 1, matchEnd - 1});
    }
    if (!run.All) {
      run.Stop = true;
      break;
    }
    if (backward) range.EndPos = matchStart - 1;
    else range.StartPos = matchEnd + (matchEnd == matchStart ? 1 : 0);
  }
  return found;
}

void TSyntFindDialog::EndRun(TSearchRun& run) {
  if (run.MoreMarks.empty()) return;
  std::sort(run.MoreMarks.begin(), run.MoreMarks.end(),
            [](const TSearchMark& a, const TSearchMark& b) { return a.Start < b.Start; });
  TSearchControl& control = *Control();
  for (const TSearchMark& mark : run.MoreMarks) control.SearchMarks().Add(mark.Start, mark.End);
  run.MoreMarks.clear();
  control.Repaint();
}

bool TSyntFindDialog::FindCommand(bool all, bool backward, bool fromCaret) {
  if (!Control()) return false;
  TSearchRange range = WholeTextRange(backward, fromCaret);
  bool found = false;
  {
    TSearchRun run;
    run.All = all;
    run.Prompt = HasFlag(ftPromtOnReplace);
    found = SearchRange(range, backward, run);
    EndRun(run);
  }
  if (!found) ReportNotFound();
  return found;
}

bool TSyntFindDialog::Execute() {
  TSearchControl* control = Control();
  if (!control) return false;
  const TFindFormResult result = ShowDialog();
  if (result == TFindFormResult::Cancel) {
    FocusControl();
    return false;
  }
  std::vector<TSearchRange> ranges = SearchRanges();
  const bool backward = HasFlag(ftBackward);
  if (backward) std::reverse(ranges.begin(), ranges.end());
  bool found = false;
  {
    TUndoGroupGuard group(control->Core().Lines());
    // Inside the group: the run's edit bracket closes before the group does.
    TSearchRun run;
    run.All = result == TFindFormResult::All;
    run.Prompt = HasFlag(ftPromtOnReplace);
    for (TSearchRange range : ranges) {
      // Going forward, the ranges already searched lie before this one, so
      // their replacements moved it by the run's length change.
      if (!backward) {
        range.StartPos += run.Shift;
        range.EndPos += run.Shift;
      }
      if (SearchRange(range, backward, run)) found = true;
      if (run.Stop) break;
    }
    EndRun(run);
  }
  if (!found) ReportNotFound();
  FocusControl();
  return found;
}

bool TSyntFindDialog::FindCurrentWord(bool next) {
  if (!Control()) return false;
  TMemoEditor& core = Control()->Core();
  int start = 0, end = 0;
  std::string word;
  if (core.SelectionMode() == smNormal && core.SelLength() > 0) {
    start = core.SelStart();
    end = start + core.SelLength();
    word = core.SelText();
  } else {
    const TWordSpan span = WordAt(core.Lines(), core.CaretPos(), CodePage());
    if (span.Empty()) return false;
    start = span.Start;
    end = span.End;
    word = core.Lines().TextRange(start, end - start);
  }
  SetFindText(std::move(word));
  core.SetCaretStrPos(next ? end : start);
  return FindCommand(false, !next, true);
}

}  // namespace penwick
