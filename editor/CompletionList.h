// The model behind the completion list: its words, their sorted order, the
// rows that match a typed prefix, and the rules that decide whether the list
// closes by itself or inserts a row when a word ends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace penwick {

class TCodePage;

// The key the words are sorted by before they are first shown after a change.
enum TAutoSortType { asNone, asItems, asItems_Desc, asDisplay, asDisplay_Desc };
// Bits of TCompletionList::Options. Only aoCaseSensitive and aoExactClose act;
// the other two are kept for the form's settings.
enum TAutoCompleteOption : unsigned { aoCaseSensitive = 1, aoExactClose = 2, aoFormatted = 4, aoColumns = 8 };
// How a word is tested against the typed prefix: afNone lets every word
// through, afCmpStart those that start with the prefix.
enum TAutoFilterType { afNone, afCmpStart };

// The inserted words (Items) and the texts shown for them (DisplayItems, one
// per index; an index the display list lacks shows the word itself). The
// visible rows are indices into Items in list order, recomputed by Filter.
//
// Sorting happens once per change: a change of either list or of SortType
// marks the list dirty; Prepare sorts both lists together by the sort key
// (without regard to case, signs before digits before letters, then by the
// upper-cased bytes of the code page; equal keys keep their order) and
// clears the mark. Sorting pads DisplayItems to the
// length of Items.
//
// The code page must outlive the list. All operations are linear in the
// number of words, Prepare is O(n log n).
class TCompletionList {
public:
  explicit TCompletionList(const TCodePage& codePage);

  const std::vector<std::string>& Items() const { return m_items; }
  void SetItems(std::vector<std::string> items);
  const std::vector<std::string>& DisplayItems() const { return m_displayItems; }
  void SetDisplayItems(std::vector<std::string> items);
  TAutoSortType SortType() const { return m_sortType; }
  void SetSortType(TAutoSortType sortType);
  unsigned Options() const { return m_options; }
  void SetOptions(unsigned options) { m_options = options; }
  TAutoFilterType FilterType() const { return m_filterType; }
  void SetFilterType(TAutoFilterType filterType) { m_filterType = filterType; }

  bool Dirty() const { return m_dirty; }
  // Sorts when dirty and SortType is not asNone; clears the dirty mark.
  void Prepare();

  // The shown text of word `index`: its display text, or the word when the
  // display list has none. An index out of range gives the empty string.
  std::string DisplayText(int index) const;

  // Makes the rows the words that match `prefix` (upper-cased unless
  // aoCaseSensitive; the empty prefix matches every word).
  void Filter(std::string_view prefix);
  // The words the last Filter let through, as indices into Items.
  const std::vector<int>& Rows() const { return m_rows; }
  int RowCount() const { return static_cast<int>(m_rows.size()); }
  // Display text and inserted word of a row; out of range gives "".
  std::string RowText(int row) const;
  std::string RowItem(int row) const;
  // How many different words (by their exact text) the rows hold: the two
  // rows of a word stored twice count once.
  int DistinctRowCount() const;

  // With aoExactClose: exactly one row, and its word equals `prefix`
  // without regard to case. The list then closes by itself without inserting.
  bool ClosesExactly(std::string_view prefix) const;
  // Whether a character that ends the word inserts `selectedRow`: only a row
  // the user picked (`chosen`), or the only word the prefix leaves. Otherwise
  // the list closes without inserting, so a short word that is not in the
  // list (a control word) is never turned into a longer one.
  bool CharacterAccepts(int selectedRow, bool chosen) const;

private:
  bool Matches(const std::string& item, std::string_view upperPrefix) const;

  const TCodePage& m_codePage;
  std::vector<std::string> m_items;
  std::vector<std::string> m_displayItems;
  TAutoSortType m_sortType = asNone;
  unsigned m_options = 0;
  TAutoFilterType m_filterType = afCmpStart;
  bool m_dirty = false;
  std::vector<int> m_rows;
};

// ---- The word at the caret, on one line of text ----

// The column where the word left of `caretColumn` starts: moves left while
// the character to the left is a word character. A column beyond the line's
// end starts no word (it is returned as is); a negative column gives 0.
int WordStartColumn(std::string_view line, int caretColumn, const TCodePage& codePage);

// Whether the caret still types into the word that starts at `wordStart`:
// same line, not left of the word start, not beyond the line's end, and only
// word characters between them. `prefix` receives that text when valid.
bool TypedPrefix(std::string_view line, int wordStart, int caretColumn, bool sameLine, const TCodePage& codePage,
                 std::string* prefix);

// The end column (exclusive) of the span a completion replaces: from
// `wordStart` over the characters that are word characters or lie left of
// the caret, so the whole word under the caret goes, its part right of the
// caret too. Never beyond the line's end.
int ReplacedSpanEnd(std::string_view line, int wordStart, int caretColumn, const TCodePage& codePage);

}  // namespace penwick
