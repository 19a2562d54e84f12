// The incremental search's state machine and its scan of the store.
#include "editor/IncrementalSearch.h"

#include <algorithm>
#include <array>

#include "editor/SyntMemoStrings.h"
#include "platform/CodePage.h"

namespace penwick {

namespace {

using TSkipTable = std::array<int, 256>;

// Sets `flag` for its lifetime; clears it also when an exception unwinds.
class TFlagGuard {
public:
  explicit TFlagGuard(bool& flag) : m_flag(flag) { m_flag = true; }
  ~TFlagGuard() { m_flag = false; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
  bool& m_flag;
};

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// Horspool, left to right: the first i with fold(text[i..i+m)) == pattern.
// `pattern` is folded already.
int ScanForward(std::string_view text, std::string_view pattern, const unsigned char* fold, const TSkipTable& skip) {
  const int m = static_cast<int>(pattern.size());
  const int n = static_cast<int>(text.size());
  const unsigned char lastOfPattern = Byte(pattern[m - 1]);
  for (int i = 0; i + m <= n;) {
    const unsigned char last = fold[Byte(text[i + m - 1])];
    if (last == lastOfPattern) {
      int j = m - 2;
      while (j >= 0 && fold[Byte(text[i + j])] == Byte(pattern[j])) --j;
      if (j < 0) return i;
    }
    i += skip[last];
  }
  return -1;
}

// Horspool, right to left: the last i with fold(text[i..i+m)) == pattern.
int ScanBackward(std::string_view text, std::string_view pattern, const unsigned char* fold, const TSkipTable& skip) {
  const int m = static_cast<int>(pattern.size());
  const unsigned char firstOfPattern = Byte(pattern[0]);
  for (int i = static_cast<int>(text.size()) - m; i >= 0;) {
    const unsigned char first = fold[Byte(text[i])];
    if (first == firstOfPattern) {
      int j = 1;
      while (j < m && fold[Byte(text[i + j])] == Byte(pattern[j])) ++j;
      if (j == m) return i;
    }
    i -= skip[first];
  }
  return -1;
}

// Shift after a mismatch, keyed by the folded text character under the
// pattern's last place (forward) or first place (backward).
TSkipTable ForwardSkips(std::string_view pattern) {
  TSkipTable skip;
  const int m = static_cast<int>(pattern.size());
  skip.fill(m);
  for (int i = 0; i < m - 1; ++i) skip[Byte(pattern[i])] = m - 1 - i;
  return skip;
}

TSkipTable BackwardSkips(std::string_view pattern) {
  TSkipTable skip;
  const int m = static_cast<int>(pattern.size());
  skip.fill(m);
  for (int i = m - 1; i >= 1; --i) skip[Byte(pattern[i])] = i;
  return skip;
}

}  // namespace

TIncrementalSearch::TIncrementalSearch(TSyntMemoStrings& lines) : TIncrementalSearch(lines, TCodePage::Default()) {}

TIncrementalSearch::TIncrementalSearch(TSyntMemoStrings& lines, const TCodePage& codePage) : m_lines(lines) {
  for (int c = 0; c < 256; ++c) {
    m_upper[c] = codePage.ToUpper(static_cast<unsigned char>(c));
    m_identity[c] = static_cast<unsigned char>(c);
  }
  m_fold = m_ignoreCase ? m_upper : m_identity;
  TStoreListener listener;
  listener.Changed = [this](int pos, int count, int) { TextChanged(pos, count); };
  m_subscription = lines.Subscribe(std::move(listener), TStorePhase::Positions);
}

int TIncrementalSearch::CaretOffset() const {
  if (!m_match) return m_start;
  return m_back ? m_match->Start : m_match->End;
}

void TIncrementalSearch::SetBack(bool back) {
  if (back == m_back) return;
  m_back = back;
  if (m_active && !m_startingNotice) Stop();
}

void TIncrementalSearch::SetIgnoreCase(bool ignoreCase) {
  if (ignoreCase == m_ignoreCase) return;
  m_ignoreCase = ignoreCase;
  m_fold = m_ignoreCase ? m_upper : m_identity;
  if (m_active && !m_startingNotice) Stop();
}

void TIncrementalSearch::Start(int caretOffset) {
  if (m_active) Stop();
  m_active = true;
  m_search.clear();
  m_found.clear();
  m_match.reset();
  m_start = std::clamp(caretOffset, 0, m_lines.TextLength());
  TFlagGuard starting(m_startingNotice);
  Notify(isStarted);
}

bool TIncrementalSearch::AddChar(char c) {
  if (!m_active) return false;
  std::string trial = m_search;
  trial.push_back(c);
  const int at = Search(trial);
  if (at < 0) return false;
  const bool knowsPrefixes = m_found.size() == m_search.size();
  m_search = std::move(trial);
  if (knowsPrefixes) m_found.push_back(at);
  else m_found.clear();
  m_match = TSearchMark{at, at + static_cast<int>(m_search.size())};
  if (OnMatchChanged) OnMatchChanged();
  Notify(isStringChanged);
  return true;
}

bool TIncrementalSearch::Backspace() {
  if (!m_active || m_search.empty()) return false;
  const bool knowsPrefixes = m_found.size() == m_search.size();
  m_search.pop_back();
  if (knowsPrefixes) m_found.pop_back();
  m_match.reset();
  if (!m_search.empty()) {
    const int at = knowsPrefixes ? m_found.back() : Search(m_search);
    // After an edit the shorter string may be gone: no match then.
    if (at >= 0) m_match = TSearchMark{at, at + static_cast<int>(m_search.size())};
  }
  if (OnMatchChanged) OnMatchChanged();
  Notify(isStringChanged);
  return true;
}

void TIncrementalSearch::Stop() {
  if (!m_active) return;
  m_active = false;
  Notify(isStopped);
}

void TIncrementalSearch::Notify(int state) {
  if (OnIncSearchChange) OnIncSearchChange(state);
}

void TIncrementalSearch::TextChanged(int pos, int count) {
  if (!m_active) return;
  if (pos < 0) {
    Stop();
    return;
  }
  if (count > 0 && pos < m_start) {
    m_start += count;
  } else if (count < 0) {
    const int removedEnd = pos - count;
    if (m_start >= removedEnd) m_start += count;
    else if (m_start > pos) m_start = pos;
  }
  m_found.clear();
  m_match.reset();
}

int TIncrementalSearch::Search(std::string_view pattern) const {
  const int length = static_cast<int>(pattern.size());
  // An occurrence of the longer string begins with one of the shorter: it
  // cannot lie nearer the start offset than the shorter string's match.
  const bool narrowed = !m_found.empty() && m_found.size() + 1 == pattern.size();
  if (m_back) {
    const int to = narrowed ? std::min(m_start, m_found.back() + length) : m_start;
    return Find(pattern, 0, to, true);
  }
  return Find(pattern, narrowed ? m_found.back() : m_start, m_lines.TextLength(), false);
}

int TIncrementalSearch::Find(std::string_view pattern, int from, int to, bool backward) const {
  if (pattern.empty()) return -1;
  from = std::max(from, 0);
  to = std::min(to, m_lines.TextLength());
  if (to - from < static_cast<int>(pattern.size())) return -1;
  std::string folded(pattern);
  for (char& c : folded) c = static_cast<char>(Fold(c));
  return backward ? FindBackward(folded, from, to) : FindForward(folded, from, to);
}

std::string_view TIncrementalSearch::Window(int from, int count, std::string& buffer) const {
  std::string_view piece;
  if (m_lines.PieceAt(from, count, piece)) return piece;
  buffer = m_lines.TextRange(from, count);
  return buffer;
}

// Windows overlap by m - 1 characters, so an occurrence across a border is
// found whole in the window after it.
int TIncrementalSearch::FindForward(std::string_view folded, int from, int to) const {
  const int m = static_cast<int>(folded.size());
  const int size = std::max(m_windowSize, 2 * m);
  const TSkipTable skip = ForwardSkips(folded);
  std::string buffer;
  for (int a = from; to - a >= m;) {
    const int n = std::min(to - a, size);
    const int at = ScanForward(Window(a, n, buffer), folded, m_fold, skip);
    if (at >= 0) return a + at;
    if (a + n >= to) break;
    a += n - (m - 1);
  }
  return -1;
}

int TIncrementalSearch::FindBackward(std::string_view folded, int from, int to) const {
  const int m = static_cast<int>(folded.size());
  const int size = std::max(m_windowSize, 2 * m);
  const TSkipTable skip = BackwardSkips(folded);
  std::string buffer;
  for (int b = to; b - from >= m;) {
    const int a = std::max(from, b - size);
    const int at = ScanBackward(Window(a, b - a, buffer), folded, m_fold, skip);
    if (at >= 0) return a + at;
    if (a <= from) break;
    b = a + m - 1;
  }
  return -1;
}

}  // namespace penwick
