// The Qt side of the editor's incremental search: which keys feed it, which
// end it, and how a match shows in the editor.
#pragma once

#include <QObject>

class QEvent;
class QKeyEvent;
class QWidget;

namespace penwick {

class TIncrementalSearch;
class TSearchMarks;
class TSyntaxMemo;

// What a key does while the search is active.
//  - A character (text without Ctrl or Alt, or with both as AltGr gives
//    it), Space included, is searched for; one the code page cannot hold is
//    dropped like a failed step. Several characters at once (a composed
//    key) are tried in turn until one fails.
//  - Backspace, alone or with Shift, shortens the string.
//  - Shift, Caps Lock, Num Lock, AltGr and Meta alone are ignored: they only
//    prepare the next character.
//  - Esc, Enter, and Ctrl or Alt alone end the search and do nothing else
//    (a real Ctrl+letter therefore ends the search with the Ctrl press and
//    then acts as usual).
//  - Every other key ends the search and then acts as usual: the arrows,
//    Home, End, the page keys, Tab, Insert, Delete, and keys that are no
//    character (F-keys, Ctrl or Alt with a key, the menu key).
// A mouse press on the editor or its viewport and the loss of the focus end
// the search; the press then acts as usual. Input-method text is searched
// like typed characters.
//
// A found step unfolds the folds that hide part of the match, empties the
// selection, marks the match (the previous search marks go) and puts the
// caret at TIncrementalSearch::CaretOffset(); an
// empty string after Backspace clears the marks and returns the caret to the
// start offset.
class TQtIncSearchInput : public QObject {
public:
  // Watches `memo` and its viewport; lives no longer than the memo, its
  // search and its marks.
  TQtIncSearchInput(TSyntaxMemo& memo, TIncrementalSearch& search, TSearchMarks& marks);

  // Takes the focus and starts a search at the caret.
  void Start();
  // True when the key was taken by the search (or started it: Ctrl+E until
  // the key map binds the command); false lets the editor handle the key.
  bool HandleKey(QKeyEvent* event);
  // Also ends the search on mouse presses over `widget` (a gutter, say).
  void Watch(QWidget* widget);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void ShowMatch();
  // Feeds characters to the search; stops at the first that is not found.
  void SearchText(const QString& text);

  TSyntaxMemo& m_memo;
  TIncrementalSearch& m_search;
  TSearchMarks& m_marks;
};

}  // namespace penwick
