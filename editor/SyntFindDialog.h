// The find component of the editor: the "Find Text" run over the search
// ranges, Search All with search marks, Search Again and the current-word
// searches.
#pragma once

#include <vector>

#include "editor/BaseFindDialog.h"
#include "editor/SearchMarks.h"

namespace penwick {

class TMemoEditor;

// The state one run carries from range to range. It may hold the editor's
// edit bracket for the rest of the run; the bracket is closed by
// CloseBracket or, at the latest, when the run goes (also while an error
// unwinds it). Not copied.
struct TSearchRun {
  bool All = false;        // every match, not only the first
  bool Prompt = false;     // ask before each replacement (replace only)
  bool Stop = false;       // set by a range: the run is over (Cancel, or a single match handled)
  bool Shown = false;      // a match of this run was already shown with ShowFound
  int Shift = 0;           // length change of the text made by the run so far
  bool Replaced = false;   // some match was replaced
  int CaretOffset = 0;     // where the caret goes after the last replacement
  // Matches of a Search All after the shown one, marked when the run ends:
  // added in text order, each new mark goes at the end of the editor's
  // list, where a backward run would put every one at its front.
  std::vector<TSearchMark> MoreMarks;

  TSearchRun() = default;
  TSearchRun(const TSearchRun&) = delete;
  TSearchRun& operator=(const TSearchRun&) = delete;
  ~TSearchRun();
  // Opens `editor`'s edit bracket unless the run holds one already.
  void OpenBracket(TMemoEditor& editor);
  // Closes the bracket the run holds; whether there was one.
  bool CloseBracket();

private:
  TMemoEditor* m_bracketed = nullptr;
};

// Finds in the bound editor and shows what it found by the caret and the
// search marks (it does not select). All positions are 1-based character
// positions of the editor's whole text.
class TSyntFindDialog : public TBaseFindDialog {
public:
  bool AutoFill() const { return m_autoFill; }
  void SetAutoFill(bool on) { m_autoFill = on; }
  // Select a shown match instead of marking it.
  bool SelectResult() const { return m_selectResult; }
  void SetSelectResult(bool on) { m_selectResult = on; }
  // Leave the editor's selection alone when showing a match.
  bool KeepSelection() const { return m_keepSelection; }
  void SetKeepSelection(bool on) { m_keepSelection = on; }

  bool FindCommand(bool all, bool backward, bool fromCaret) override;
  // With AutoFill the form gets the selected text (Scope "Selected text",
  // Origin "Entire scope"; a column block's lines joined by line breaks,
  // none after the last), or without a selection the word at the caret
  // (Scope "Global", Origin "From cursor").
  void FillDialog(TFindFormData& data) override;

  // Searches one range. `range` is moved as the search goes on (its end
  // follows replacements). The run's first match is shown; with run.All the
  // later ones go to run.MoreMarks. Returns whether any match was found.
  virtual bool SearchRange(TSearchRange& range, bool backward, TSearchRun& run);
  // Shows the form and searches: one undo group for the whole run, the
  // ranges in reverse order when searching backward, the not-found message,
  // the focus. Returns whether anything was found; false when unbound or
  // cancelled. An error (ESearchBlank, a pattern that does not compile)
  // ends the run with the undo group and any edit bracket closed and
  // passes on.
  virtual bool Execute();

  // Ctrl+Shift+Down (`next`) or Ctrl+Shift+Up: the selected text (a normal
  // selection) or the word at the caret becomes FindText, the caret goes to
  // its end (start), and FindCommand runs from the caret. False, and nothing
  // changes, when there is neither.
  bool FindCurrentWord(bool next);

  // The ranges Execute searches under the current Flags: the whole text, or
  // with ftSelectedText the selection (one range per line of a column block,
  // empty spans skipped), cut at the caret unless ftEntireScope. A column
  // block's columns are character columns of each line, clipped to the
  // line's text. ftSelectedText without a selection searches the whole text.
  std::vector<TSearchRange> SearchRanges() const;

protected:
  // Moves the caret over the match so that both ends are in view and leaves
  // it at the end (start, backward); the match becomes the only search mark
  // (or the selection with SelectResult); the editor gets the focus.
  void ShowFound(int matchStart, int matchEnd, bool backward);
  // The text from 1-based `pos` on, without moving the store's gap when it
  // lies before `pos` (so a run of replacements costs what it changes, not
  // the text's length per replacement). Valid until the text changes or the
  // store is read again (painting may do that).
  TSearchText SearchTextFrom(int pos) const;
  // FindInRange on the editor's text. Backward, the text is read through
  // windows that reach back from the range's end, each twice as wide as the
  // one before, until one holds a match or the whole range: a backward run
  // of replacements moves the store's gap only over what it searched.
  bool FindNext(const TSearchRange& range, bool backward, int& matchStart, int& matchEnd);
  // The range of the whole text; with `fromCaret` only after (before) the caret.
  TSearchRange WholeTextRange(bool backward, bool fromCaret) const;
  // Called once after the last range of a run that ended without an error
  // (Execute, FindCommand), before the run's undo group closes: marks
  // run.MoreMarks and repaints when there were any.
  virtual void EndRun(TSearchRun& run);

private:
  bool m_autoFill = true;
  bool m_selectResult = false;
  bool m_keepSelection = false;
};

}  // namespace penwick
