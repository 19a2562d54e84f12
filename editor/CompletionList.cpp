// The completion list's words, their order and the rows a prefix leaves.
#include "editor/CompletionList.h"

#include <algorithm>
#include <numeric>
#include <unordered_set>

#include "platform/CodePage.h"

namespace penwick {

namespace {

// The key a word sorts by, in the order of a locale's word list rather than
// of the bytes: without regard to case, and by character class first, signs
// before digits before letters (so "SET_ALL" comes before "SETUP"). Each byte
// becomes its class and its upper-cased byte; letters of one class compare by
// their upper-cased bytes, so letters above 0x7F follow Z.
std::string SortKey(std::string_view text, const TCodePage& codePage) {
  std::string key;
  key.reserve(2 * text.size());
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    key.push_back(codePage.IsLetter(c) ? '\x02' : codePage.IsDigit(c) ? '\x01' : '\x00');
    key.push_back(static_cast<char>(codePage.ToUpper(c)));
  }
  return key;
}

}  // namespace

TCompletionList::TCompletionList(const TCodePage& codePage) : m_codePage(codePage) {}

void TCompletionList::SetItems(std::vector<std::string> items) {
  m_items = std::move(items);
  m_rows.clear();
  m_dirty = true;
}

void TCompletionList::SetDisplayItems(std::vector<std::string> items) {
  m_displayItems = std::move(items);
  m_dirty = true;
}

void TCompletionList::SetSortType(TAutoSortType sortType) {
  if (sortType == m_sortType) return;
  m_sortType = sortType;
  m_dirty = true;
}

std::string TCompletionList::DisplayText(int index) const {
  if (index < 0 || index >= static_cast<int>(m_items.size())) return {};
  if (index < static_cast<int>(m_displayItems.size())) return m_displayItems[static_cast<size_t>(index)];
  return m_items[static_cast<size_t>(index)];
}

void TCompletionList::Prepare() {
  if (!m_dirty) return;
  m_dirty = false;
  if (m_sortType == asNone) return;
  const bool byDisplay = m_sortType == asDisplay || m_sortType == asDisplay_Desc;
  const bool descending = m_sortType == asItems_Desc || m_sortType == asDisplay_Desc;
  const int count = static_cast<int>(m_items.size());
  std::vector<std::string> keys(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    keys[static_cast<size_t>(i)] = SortKey(byDisplay ? DisplayText(i) : m_items[static_cast<size_t>(i)], m_codePage);
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const std::string& ka = keys[static_cast<size_t>(a)];
    const std::string& kb = keys[static_cast<size_t>(b)];
    // Bytes compare unsigned, so letters above 0x7F sort after ASCII ones.
    const int c = std::string_view(ka).compare(kb);
    return descending ? c > 0 : c < 0;
  });
  std::vector<std::string> items;
  std::vector<std::string> display;
  items.reserve(order.size());
  display.reserve(order.size());
  for (int i : order) {
    display.push_back(DisplayText(i));
    items.push_back(std::move(m_items[static_cast<size_t>(i)]));
  }
  m_items = std::move(items);
  m_displayItems = std::move(display);
  m_rows.clear();
}

bool TCompletionList::Matches(const std::string& item, std::string_view upperPrefix) const {
  if (m_filterType == afNone) return true;
  if (item.size() < upperPrefix.size()) return false;
  const std::string_view head(item.data(), upperPrefix.size());
  if (m_options & aoCaseSensitive) return head == upperPrefix;
  return m_codePage.ToUpper(head) == upperPrefix;
}

void TCompletionList::Filter(std::string_view prefix) {
  const std::string wanted = (m_options & aoCaseSensitive) ? std::string(prefix) : m_codePage.ToUpper(prefix);
  m_rows.clear();
  for (int i = 0; i < static_cast<int>(m_items.size()); ++i)
    if (Matches(m_items[static_cast<size_t>(i)], wanted)) m_rows.push_back(i);
}

std::string TCompletionList::RowText(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return DisplayText(m_rows[static_cast<size_t>(row)]);
}

std::string TCompletionList::RowItem(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return m_items[static_cast<size_t>(m_rows[static_cast<size_t>(row)])];
}

int TCompletionList::DistinctRowCount() const {
  std::unordered_set<std::string_view> seen;
  for (int index : m_rows) seen.insert(m_items[static_cast<size_t>(index)]);
  return static_cast<int>(seen.size());
}

bool TCompletionList::ClosesExactly(std::string_view prefix) const {
  return (m_options & aoExactClose) && RowCount() == 1 && m_codePage.SameText(RowItem(0), prefix);
}

bool TCompletionList::CharacterAccepts(int selectedRow, bool chosen) const {
  if (selectedRow < 0 || selectedRow >= RowCount()) return false;
  return chosen || DistinctRowCount() == 1;
}

// ---- The word at the caret ----

int WordStartColumn(std::string_view line, int caretColumn, const TCodePage& codePage) {
  int column = std::max(caretColumn, 0);
  if (column > static_cast<int>(line.size())) return column;
  while (column > 0 && codePage.IsWordChar(static_cast<unsigned char>(line[static_cast<size_t>(column - 1)])))
    --column;
  return column;
}

bool TypedPrefix(std::string_view line, int wordStart, int caretColumn, bool sameLine, const TCodePage& codePage,
                 std::string* prefix) {
  if (!sameLine || caretColumn < wordStart || wordStart < 0 || caretColumn > static_cast<int>(line.size()))
    return false;
  const std::string_view typed = line.substr(static_cast<size_t>(wordStart), static_cast<size_t>(caretColumn - wordStart));
  for (char c : typed)
    if (!codePage.IsWordChar(static_cast<unsigned char>(c))) return false;
  if (prefix) prefix->assign(typed);
  return true;
}

int ReplacedSpanEnd(std::string_view line, int wordStart, int caretColumn, const TCodePage& codePage) {
  const int length = static_cast<int>(line.size());
  int end = std::clamp(wordStart, 0, length);
  while (end < length && (end < caretColumn || codePage.IsWordChar(static_cast<unsigned char>(line[static_cast<size_t>(end)]))))
    ++end;
  return end;
}

}  // namespace penwick
