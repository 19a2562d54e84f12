// The text finder: literal and regular-expression matching and range scans.
#include "editor/TextFinder.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "syntax/ecRegExpr.h"

namespace penwick {

TTextFinder::TTextFinder() : m_codePage(&TCodePage::Default()) {}

TTextFinder::~TTextFinder() = default;

void TTextFinder::SetCodePage(const TCodePage* codePage) {
  m_codePage = codePage ? codePage : &TCodePage::Default();
}

TecRegExpr& TTextFinder::PreparedEngine() {
  if (!m_engine) {
    m_engine = std::make_unique<TecRegExpr>();
    // A pattern typed into a search box means what it means elsewhere: a
    // group gives back what the rest of the pattern needs.
    m_engine->SetKeepCompleteMatches(true);
  }
  uint16_t modifiers = TecRegExpr::DefaultModifiers;
  if (HasFlag(ftCaseSensitive)) modifiers &= ~TecRegExpr::MaskModI;
  else modifiers |= TecRegExpr::MaskModI;
  if (m_engine->Expression() != m_findText) m_engine->SetExpression(m_findText);
  if (m_engine->Modifiers() != modifiers) m_engine->SetModifiers(modifiers);
  return *m_engine;
}

bool TTextFinder::LiteralAt(const TSearchText& text, int pos) const {
  const int n = static_cast<int>(m_findText.size());
  if (n == 0 || pos - 1 < text.Start || pos - 1 > text.Length() - n) return false;
  const char* at = text.Tail.data() + (pos - 1 - text.Start);
  if (HasFlag(ftCaseSensitive)) return std::equal(m_findText.begin(), m_findText.end(), at);
  for (int i = 0; i < n; ++i) {
    if (m_codePage->ToUpper(static_cast<unsigned char>(at[i])) !=
        m_codePage->ToUpper(static_cast<unsigned char>(m_findText[i])))
      return false;
  }
  return true;
}

bool TTextFinder::BreaksWord(const TSearchText& text, int pos, int length) const {
  if (length <= 0) return false;
  auto word = [&](int p) {  // 1-based; outside the text is no word character
    int c = -1;
    if (p - 1 >= text.Start && p - 1 < text.Length()) c = static_cast<unsigned char>(text.Tail[p - 1 - text.Start]);
    else if (p == text.Start) c = text.CharBefore;
    return c >= 0 && m_codePage->IsWordChar(static_cast<unsigned char>(c));
  };
  const int last = pos + length - 1;
  return (word(pos - 1) && word(pos)) || (word(last) && word(last + 1));
}

bool TTextFinder::MatchAt(const TSearchText& text, int pos, int& length) {
  int found = 0;
  if (HasFlag(ftRegularExpr)) {
    if (pos < 1 || pos - 1 < text.Start) return false;
    const int local = pos - text.Start;  // 1-based in the tail
    int end = local;
    if (!PreparedEngine().Match(text.Tail, end, text.CharBefore)) return false;
    found = end - local;
  } else {
    if (!LiteralAt(text, pos)) return false;
    found = static_cast<int>(m_findText.size());
  }
  if (HasFlag(ftWholeWordOnly) && BreaksWord(text, pos, found)) return false;
  length = found;
  return true;
}

bool TTextFinder::FindInRange(const TSearchText& text, TSearchRange range, bool backward, int& matchStart,
                              int& matchEnd) {
  const int size = text.Length();
  const bool regular = HasFlag(ftRegularExpr);
  TecRegExpr* engine = nullptr;
  if (regular) {
    engine = &PreparedEngine();
    if (!engine->IsCompiled()) engine->Compile();  // a faulty pattern fails even on an empty range
  }
  int start, end;
  if (size == 0) {
    // Only an empty match can stand in an empty text, at its one position.
    if (range.StartPos > 1) return false;
    start = end = 1;
  } else {
    if (range.EndPos < range.StartPos) return false;
    start = std::max(range.StartPos, text.Start + 1);
    end = std::min(range.EndPos, size);
    if (end < start) return false;
  }
  int lastStart = end;
  if (!regular) {
    const int n = static_cast<int>(m_findText.size());
    if (n == 0 || end - start + 1 < n) return false;
    lastStart = end - n + 1;
  }
  // Positions whose character cannot begin a match are skipped without
  // running the engine, unless the pattern may match nothing.
  const bool skipByFirstChar = regular && !engine->CanMatchEmpty();
  const int first = backward ? lastStart : start;
  const int step = backward ? -1 : 1;
  for (int pos = first; backward ? pos >= start : pos <= lastStart; pos += step) {
    if (skipByFirstChar &&
        (pos > size || !engine->CanStartWith(static_cast<unsigned char>(text.Tail[pos - 1 - text.Start]))))
      continue;
    int length = 0;
    if (!MatchAt(text, pos, length)) continue;
    if (pos + length - 1 > end) continue;  // would run past the range
    if (length == 0 && pos == first && pos == m_lastPos) continue;
    matchStart = pos;
    matchEnd = pos + length;
    m_lastPos = backward ? matchEnd : matchStart;
    return true;
  }
  return false;
}

}  // namespace penwick
