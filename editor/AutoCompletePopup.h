// The completion list of the editor: the words that start like the word being
// typed, narrowed with every change, inserted over the whole word.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/CompletionList.h"
#include "editor/MemoEditor.h"
#include "editor/SyntMemoPopupList.h"

namespace penwick {

// Opened by Execute (the editor command cmAutoCompletion, Ctrl+Space, or the
// program's trigger) at the start of the word left of the caret, beside it
// (lsLeft, 200 x 80 pixels). Configured as this program uses it: sorted by
// the words (asItems), aoExactClose, afCmpStart.
//
// While open, every change of the editor's text or caret refilters the rows
// once the editor's operation is over (and before the next key or mouse
// event is judged): the typed prefix runs from the word start to the caret;
// it is invalid, and the list closes without inserting, when the caret left
// the line, stands left of the word start or beyond the line's end, or a
// non-word character lies between. Rows are the words that start with the
// prefix (without regard to case unless aoCaseSensitive), the first one
// selected. With aoExactClose a prefix that equals the only matching word
// closes the list without inserting. No match does not close the list: the
// program's OnChange handler does that.
//
// Keys in the editor, besides those of the list popup:
//  - a typed character that is not a word character (Backspace is not a
//    character here, Tab ends the word through the spaces it types) closes
//    the list, inserting the selected row only when the user picked it (keys
//    or mouse) or the prefix leaves a single distinct word; the character is
//    then typed as usual;
//  - Enter inserts the selected row and is swallowed, unless no row is
//    selected, or the user picked none and IsCompleteWord says the typed
//    word is complete: then the list closes without inserting and Enter goes
//    on to the editor.
// Inserting replaces the whole word at the word start (also its part right
// of the caret) with the row's word from Items, as one undo group, and the
// editor keeps the focus.
//
// OnChange is raised when the list is shown, after every refilter that
// leaves it open, and when the mouse changes the selected row.
class TAutoCompletePopup : public TSyntMemoPopupList {
  Q_OBJECT
public:
  explicit TAutoCompletePopup(TSyntaxMemo* memo, QObject* parent = nullptr);
  ~TAutoCompletePopup() override;

  // The words inserted, and the texts shown for them (see TCompletionList).
  // Changing either list while open takes effect at the next Execute.
  void SetItems(std::vector<std::string> items) { m_model.SetItems(std::move(items)); }
  const std::vector<std::string>& Items() const { return m_model.Items(); }
  void SetDisplayItems(std::vector<std::string> items) { m_model.SetDisplayItems(std::move(items)); }
  const std::vector<std::string>& DisplayItems() const { return m_model.DisplayItems(); }
  TAutoSortType SortType() const { return m_model.SortType(); }
  void SetSortType(TAutoSortType sortType) { m_model.SetSortType(sortType); }
  unsigned Options() const { return m_model.Options(); }
  void SetOptions(unsigned options) { m_model.SetOptions(options); }
  TAutoFilterType FilterType() const { return m_model.FilterType(); }
  void SetFilterType(TAutoFilterType filterType) { m_model.SetFilterType(filterType); }

  // Read only by the program's trigger; Execute and Ctrl+Space ignore it.
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled) { m_enabled = enabled; }

  // Opens at the caret, or re-opens at the caret when open. False when it
  // did not open: no editor, a selection, no words, the caret beyond the end
  // of its line, or a typed word that closes it at once (aoExactClose).
  bool Execute() override;

  // Where the word being completed starts (fixed by Execute).
  TPoint WordStart() const { return m_wordStart; }

  // The typed word (word start to caret) is already a complete word of the
  // language: Enter then closes the list without inserting and breaks the
  // line, unless the user picked a row. Empty: never.
  std::function<bool(std::string_view typedWord)> IsCompleteWord;

protected:
  void CloseHook(bool accept) override;
  bool OwnerEvent(QEvent* event) override;

private:
  // The prefix from the word start to the caret; false when invalid.
  bool CurrentPrefix(std::string* prefix) const;
  // Filters now: closes on an invalid prefix or an exact match, else raises OnChange.
  void Refilter();
  // After a change of text or caret: filters at once outside an edit
  // operation, else once the operation is over.
  void ScheduleRefilter();
  void FlushRefilter();
  void ShowRows();
  void Insert();

  TCompletionList m_model;
  bool m_enabled = true;
  TPoint m_wordStart;
  bool m_refilterPending = false;
};

}  // namespace penwick
