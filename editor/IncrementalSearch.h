// Incremental search: the search string grows one typed character at a time
// and follows the text from where the search started.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/SearchMarks.h"
#include "platform/ListenerList.h"

namespace penwick {

class TCodePage;
class TSyntMemoStrings;

// The states told to OnIncSearchChange.
enum TIncSearchState { isStopped = 0, isStarted = 1, isStringChanged = 2 };

// The search state of one editor, without any drawing or keys.
//
// Start(offset) makes the search active with an empty string; AddChar tries
// the search string plus one character (the trial) and keeps it only when the
// trial occurs in the searched region:
//  - forward: the first occurrence that starts at or after the start offset;
//  - backward (Back): the last occurrence that lies wholly before the start
//    offset (it ends at or before it).
// The search never wraps around the end or the start of the text. With
// IgnoreCase (the default) characters compare by their upper case in the
// code page. A trial that is not found changes nothing and is dropped.
//
// Backspace removes the last character and finds the shorter string again
// from the start offset. An empty string has no match: the caret belongs at
// the start offset again.
//
// Notification order of a successful step: OnMatchChanged (the view marks the
// match and moves the caret to CaretOffset()), then OnIncSearchChange(2).
// Start raises 1, Stop 0. Setting Back or IgnoreCase to a different value
// ends an active search, except inside the handler of state 1: values set
// there apply to the search that is starting.
//
// The text may change while a search is active: the start offset follows the
// edit (an edit that removes it moves it to the edit's place), the remembered
// matches are forgotten, and a replacement of the whole text ends the search.
//
// Costs: a step scans the text from where the previous match of the shorter
// string stood (an occurrence of the longer string cannot lie nearer the start
// offset), reading the store in windows of WindowSize characters without
// moving its gap and copying only a window the gap splits; the cost is
// proportional to the distance scanned (Horspool skips make it usually less).
// Backspace reuses the match remembered for the shorter string: O(1).
class TIncrementalSearch {
public:
  explicit TIncrementalSearch(TSyntMemoStrings& lines);
  TIncrementalSearch(TSyntMemoStrings& lines, const TCodePage& codePage);
  TIncrementalSearch(const TIncrementalSearch&) = delete;
  TIncrementalSearch& operator=(const TIncrementalSearch&) = delete;

  bool Active() const { return m_active; }
  // The characters found so far (8-bit, as in the text).
  const std::string& SearchString() const { return m_search; }
  int StartOffset() const { return m_start; }
  // The match of the current string; none while the string is empty, when
  // inactive, or after an edit (until the next step finds it again).
  std::optional<TSearchMark> Match() const { return m_match; }
  // Where the caret belongs: the match's end (its start when searching
  // backward), or the start offset without a match.
  int CaretOffset() const;

  bool Back() const { return m_back; }
  void SetBack(bool back);
  bool IgnoreCase() const { return m_ignoreCase; }
  void SetIgnoreCase(bool ignoreCase);

  // Starts a search at `caretOffset` (clamped to the text); a search that is
  // active is stopped first.
  void Start(int caretOffset);
  // One typed character. True when the longer string was found (it is then
  // the search string); false, with nothing changed, when not, or when inactive.
  bool AddChar(char c);
  // Removes the last character and finds the shorter string again. False
  // when there was nothing to remove (nothing is told then).
  bool Backspace();
  // Ends an active search (state 0); the string stays readable until the next Start.
  void Stop();

  // Characters read per window of the store (at least 2 and more than the
  // string). Tests make it small to put matches across window borders.
  void SetWindowSize(int size) { m_windowSize = size < 2 ? 2 : size; }

  // First occurrence of `pattern` in [from, to) or -1; last occurrence lying
  // wholly in [from, to) when `backward`. Exposed for the find commands.
  int Find(std::string_view pattern, int from, int to, bool backward) const;

  std::function<void(int state)> OnIncSearchChange;
  std::function<void()> OnMatchChanged;

private:
  void Notify(int state);
  void TextChanged(int pos, int count);
  // Searches `pattern` from the start offset for the current options; when
  // the match of the pattern without its last character is known, the scan
  // starts there.
  int Search(std::string_view pattern) const;
  unsigned char Fold(char c) const { return m_fold[static_cast<unsigned char>(c)]; }
  // [from, from + count) as one view: straight from the store when the gap
  // does not split it, else copied into `buffer`.
  std::string_view Window(int from, int count, std::string& buffer) const;
  int FindForward(std::string_view folded, int from, int to) const;
  int FindBackward(std::string_view folded, int from, int to) const;

  TSyntMemoStrings& m_lines;
  unsigned char m_upper[256];
  unsigned char m_identity[256];
  const unsigned char* m_fold;
  bool m_active = false;
  bool m_back = false;
  bool m_ignoreCase = true;
  bool m_startingNotice = false;  // the handler of state 1 runs
  int m_start = 0;
  std::string m_search;
  // Start offsets of the matches of the string's prefixes: m_found[i] is the
  // match of its first i + 1 characters; emptied by an edit.
  std::vector<int> m_found;
  std::optional<TSearchMark> m_match;
  int m_windowSize = 1 << 16;
  TSubscription m_subscription;
};

}  // namespace penwick
