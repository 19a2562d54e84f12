// The text finder: a search text with its options, matched literally or as a
// regular expression at a position, and the scan of a range of positions.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace penwick {

class TCodePage;
class TecRegExpr;

// The search options, bit values of TSearchOptions.
enum TSearchOption : unsigned {
  ftCaseSensitive = 1,
  ftWholeWordOnly = 2,
  ftBackward = 4,
  ftSelectedText = 8,
  ftEntireScope = 16,
  ftRegularExpr = 32,
  ftPromtOnReplace = 64,
  ftReplaceTemplate = 128,
};
using TSearchOptions = unsigned;

// A stretch of the text to search: 1-based character positions, both ends
// inclusive. A range whose end lies before its start is empty.
struct TSearchRange {
  int StartPos = 1;
  int EndPos = 0;
  bool operator==(const TSearchRange&) const = default;
};

// The text a search reads: its tail from the 0-based offset `Start` to its
// end, and the byte just before the tail (-1 when the tail starts the text),
// so that line starts and word edges answer as on the whole text. A search
// in it never looks before `Start`.
struct TSearchText {
  std::string_view Tail;
  int Start = 0;
  int CharBefore = -1;
  TSearchText() = default;
  // The whole text.
  explicit TSearchText(std::string_view text) : Tail(text) {}
  TSearchText(std::string_view tail, int start, int charBefore) : Tail(tail), Start(start), CharBefore(charBefore) {}
  int Length() const { return Start + static_cast<int>(Tail.size()); }
};

// Finds FindText in a text under Flags. Positions are 1-based; a match runs
// from its start to its end exclusive, so an empty match has start == end.
//
// The regular-expression engine is made on first use and owned. It starts
// from the engine's default modifiers (i, r, g, m, x on; s off) with i on
// exactly when ftCaseSensitive is off, so blanks and "#" comments in a pattern
// are ignored. A pattern that does not compile raises ERegExprError from the
// call that needed it; a match that runs out of steps raises
// ERegExprTooComplex.
//
// The finder remembers where its last match started (forward) or ended
// (backward), so that an empty match is not found twice at one place by a
// search that goes on from there.
class TTextFinder {
public:
  TTextFinder();
  virtual ~TTextFinder();
  TTextFinder(const TTextFinder&) = delete;
  TTextFinder& operator=(const TTextFinder&) = delete;

  const std::string& FindText() const { return m_findText; }
  void SetFindText(std::string text) { m_findText = std::move(text); }
  TSearchOptions Flags() const { return m_flags; }
  void SetFlags(TSearchOptions flags) { m_flags = flags; }
  bool HasFlag(TSearchOption option) const { return (m_flags & option) != 0; }

  // Where the last match started (forward) or ended (backward); 0 before any.
  int LastPos() const { return m_lastPos; }
  void SetLastPos(int pos) { m_lastPos = pos; }

  // The code page of literal comparison and word characters; not owned, must
  // outlive the finder or be replaced first. nullptr restores the default.
  const TCodePage& CodePage() const { return *m_codePage; }
  void SetCodePage(const TCodePage* codePage);

  // The engine, or nullptr before the first regular-expression search.
  TecRegExpr* Engine() const { return m_engine.get(); }

  // Whether FindText matches at `pos`, and its length. Literally: the bytes at
  // `pos` equal FindText, by the code page without regard to case unless
  // ftCaseSensitive; a position beyond the text never matches, nor does an
  // empty FindText. With ftRegularExpr: the engine's anchored match (after it
  // the engine's groups describe this match). With ftWholeWordOnly a match
  // that continues a word at either end is refused.
  // `pos` before the text's Start never matches.
  bool MatchAt(const TSearchText& text, int pos, int& length);
  bool MatchAt(std::string_view text, int pos, int& length) { return MatchAt(TSearchText(text), pos, length); }

  // The first match in `range` (the last, backward). The range is clamped to
  // the text (an empty text gives the range 1 to 1); an empty range finds
  // nothing. A match must lie inside the range: one that would end past its
  // end is refused. An empty match is refused at the first position tried
  // when that equals LastPos. On success `matchStart`/`matchEnd` hold the
  // match (end exclusive) and LastPos is updated; otherwise they are unchanged.
  // A range starting before the text's Start is cut there.
  bool FindInRange(const TSearchText& text, TSearchRange range, bool backward, int& matchStart, int& matchEnd);
  bool FindInRange(std::string_view text, TSearchRange range, bool backward, int& matchStart, int& matchEnd) {
    return FindInRange(TSearchText(text), range, backward, matchStart, matchEnd);
  }

private:
  // Gives the engine FindText and the modifiers the flags ask for,
  // discarding its compiled program only when either changed.
  TecRegExpr& PreparedEngine();
  bool LiteralAt(const TSearchText& text, int pos) const;
  bool BreaksWord(const TSearchText& text, int pos, int length) const;

  std::string m_findText;
  TSearchOptions m_flags = 0;
  int m_lastPos = 0;
  const TCodePage* m_codePage;
  std::unique_ptr<TecRegExpr> m_engine;
};

}  // namespace penwick
