// TecRegExpr: the editor's own position-anchored regular-expression engine.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace penwick {

// A compile error of a pattern, or a match that ran out of work budget. The
// message is the text the user sees ("Invalid set range", ...).
class ERegExprError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// A match that spent its whole step budget: the pattern backtracks too much
// for the text (for example "(a|aa)*b" over a long line). Raised by Match
// with the message "Expression too complex"; the engine stays usable.
class ERegExprTooComplex : public ERegExprError {
public:
  ERegExprTooComplex() : ERegExprError("Expression too complex") {}
};

// A set of byte values, one bit per byte.
struct TRegExprCharSet {
  uint64_t Bits[4] = {0, 0, 0, 0};

  bool Has(unsigned char c) const { return (Bits[c >> 6] >> (c & 63)) & 1u; }
  void Add(unsigned char c) { Bits[c >> 6] |= uint64_t{1} << (c & 63); }
  void AddAll() { Bits[0] = Bits[1] = Bits[2] = Bits[3] = ~uint64_t{0}; }
  bool IsEmpty() const { return !(Bits[0] | Bits[1] | Bits[2] | Bits[3]); }
  bool IsFull() const { return !~(Bits[0] & Bits[1] & Bits[2] & Bits[3]); }
  TRegExprCharSet& operator|=(const TRegExprCharSet& other) {
    for (int i = 0; i < 4; ++i) Bits[i] |= other.Bits[i];
    return *this;
  }
  bool operator==(const TRegExprCharSet&) const = default;
};

class TRegExprProgram;

// Compiles a pattern lazily into an immutable program and answers one
// question: does the pattern match the text starting exactly at a position,
// and where does the match end. It never searches forward.
//
// Positions are 1-based byte indexes; an end position is the index of the
// first byte after the match. Text is 8-bit; character classes and case
// mapping come from TCodePage::Default().
//
// Copies share the compiled program (it is immutable) but each copy has its
// own match state, so copies may be used from different threads; one
// instance must not be used by two threads at once.
class TecRegExpr {
public:
  // Modifier bits, in the order of the letters of a modifier string.
  static constexpr uint16_t MaskModI = 1;   // ignore case
  static constexpr uint16_t MaskModR = 2;   // locale classes for \w \d \l
  static constexpr uint16_t MaskModS = 4;   // '.' matches CR and LF too
  static constexpr uint16_t MaskModG = 8;   // greedy quantifiers
  static constexpr uint16_t MaskModM = 16;  // ^ and $ at line starts and ends
  static constexpr uint16_t MaskModX = 32;  // blanks and # comments skipped in the pattern
  static constexpr uint16_t MaskModAll = 63;
  // A new engine: i, r, g, m, x on, s off.
  static constexpr uint16_t DefaultModifiers = 59;
  // The set the lexer's token rules and tag masks use: i, g, m, x on; r, s off.
  static constexpr uint16_t AnalyzerModifiers = 57;
  // Node steps one Match may take before it raises ERegExprTooComplex. Far
  // above what any sane pattern needs on a line of a script. The allowance
  // grows by a fixed number of steps for every character the match reaches
  // beyond its start, so a pattern whose work is linear in the text (a
  // block comment over megabytes) never runs out, while backtracking that
  // stays within a stretch of text does.
  static constexpr uint64_t DefaultStepBudget = 50'000'000;

  TecRegExpr();
  explicit TecRegExpr(std::string expression, uint16_t modifiers = DefaultModifiers);
  TecRegExpr(const TecRegExpr& other);
  TecRegExpr(TecRegExpr&& other) noexcept;
  TecRegExpr& operator=(const TecRegExpr& other);
  TecRegExpr& operator=(TecRegExpr&& other) noexcept;
  ~TecRegExpr();

  // The pattern. Setting it discards the compiled program.
  const std::string& Expression() const { return m_expression; }
  void SetExpression(std::string expression);

  // The modifier mask (low six bits used; other bits are kept but ignored).
  // Every change discards the compiled program.
  uint16_t Modifiers() const { return m_modifiers; }
  void SetModifiers(uint16_t mask);
  void SetModifier(uint16_t bits, bool on);

  // How a repetition that ends its group settles. Off (the lexer's rule,
  // which lexer files rely on): the group settles its own count as if the
  // pattern ended after it, so `(\w+)_DATA` never matches CAR_DATA, the
  // group having taken the whole word. On (searches typed by a user): a
  // count with which the whole rest of the pattern matched is kept over
  // higher counts that only match the group, so the group gives back what
  // the rest needs, also through groups that end an outer group
  // (`((\w+))_DATA`). Does not discard the compiled program.
  bool KeepCompleteMatches() const { return m_keepComplete; }
  void SetKeepCompleteMatches(bool keep) { m_keepComplete = keep; }

  // The mask as "(?" + the letters that are on + "-" + the letters that are
  // off + ")", letters in the order i r s g m x: a fresh engine gives
  // "(?irgmx-s)". The setter acts only on a value longer than two characters
  // that begins with "(?" (anything else leaves the mask alone): it applies
  // the letters after "(?" up to ')' to the current mask as an inline
  // modifier group does, named letters on before '-' and off after it,
  // others unchanged. Any other character raises
  // ERegExprError("Unexpected modifier") and leaves the mask unchanged.
  std::string ModifierStr() const;
  void SetModifierStr(std::string_view modifiers);
  // The mask a modifier string gives when applied to `base`: the same rules,
  // but the "(?" may also be left out ("igm-x"). Raises like SetModifierStr.
  static uint16_t ParseModifierStr(std::string_view modifiers, uint16_t base);

  // Builds the program from Expression and the mask. Raises ERegExprError with
  // the compile message; after an error the engine is uncompiled again, so the
  // next Match compiles and raises again.
  void Compile();
  bool IsCompiled() const { return m_program != nullptr; }
  // Compiles if needed, swallowing errors: true for an empty or faulty
  // pattern, or one that holds no alternative (only modifiers or comments),
  // none of which can ever match.
  bool IsEmpty();

  // One anchored match at `pos` (below 1 counts as 1). True: `pos` is set to
  // the end of the match. False: `pos` is unchanged. Compiles first if
  // needed (compile errors propagate). A start beyond the end of the text + 1
  // never matches. Raises ERegExprTooComplex when the step budget is spent.
  bool Match(std::string_view text, int& pos) { return Match(text, pos, -1); }
  // The same match in a window of a longer text: `window` runs from some
  // point of the text to its end, positions are 1-based within the window,
  // and `charBefore` is the byte (0..255) just before the window, or -1 when
  // the window starts the text. Line starts and ends, \A, \b and \B then
  // answer as on the whole text, so a reader never needs the text before
  // the place it matches at as part of one view.
  bool Match(std::string_view window, int& pos, int charBefore);
  bool Match(const std::string& text, int& pos) { return Match(std::string_view(text), pos); }
  bool Match(const char* text, int& pos) { return Match(std::string_view(text), pos); }
  // End minus start of a match at `pos`, 0 when there is none (so a match of
  // length zero looks like no match).
  int MatchLength(std::string_view text, int pos) { return MatchLength(text, pos, -1); }
  int MatchLength(std::string_view window, int pos, int charBefore);
  int MatchLength(const std::string& text, int pos) { return MatchLength(std::string_view(text), pos); }
  int MatchLength(const char* text, int pos) { return MatchLength(std::string_view(text), pos); }
  // Whether the last Match succeeded.
  bool LastMatched() const { return m_matched; }

  // Groups of the last successful match: 0 is the whole match, then the
  // capturing groups in the order of their opening parentheses.
  // SubExprCount is the number of groups of the compiled pattern (0 when
  // uncompiled). Start/End are 1-based positions, -1 when the group took no
  // part; out-of-range indexes, and every index after a failed match, give -1.
  int SubExprCount() const;
  int SubExprStart(int index) const;
  int SubExprEnd(int index) const;
  // The text of a group of the last match; empty when the index is out of
  // range or the group has no recorded start or end. `text` must be the text
  // the match ran on.
  std::string SubExprText(std::string_view text, int index) const;
  // A replacement string built from a template after a match: \d inserts
  // group d, \a \e \f \n \r \t \xHH \x{H..} insert that character, a
  // backslash before anything else inserts that character, a trailing
  // backslash is kept, every other character is copied.
  std::string Substitute(std::string_view text, std::string_view tmpl) const;

  // The bytes a match of length above zero can start with. Conservative: a
  // byte outside the set never starts a non-empty match; a byte inside may
  // not either. Compiles if needed, swallowing errors (a faulty pattern gives
  // the empty set). Lets callers skip a pattern without calling Match.
  const TRegExprCharSet& FirstChars();
  bool CanStartWith(unsigned char c) { return FirstChars().Has(c); }
  // Whether a match may have length zero (conservative: may say yes wrongly).
  bool CanMatchEmpty();
  // Whether the bytes from `pos` (1-based) on rule out a match at `pos`,
  // judged by which bytes a match can consume and which it must: false when
  // unsure or when the pattern does not compile. Never runs the matcher, so
  // a pattern that would run out of its step budget is refused here too.
  // Reads at most RuleOutReach bytes: a longer run leaves it unsure, so that
  // asking at every position of a long line stays linear.
  static constexpr std::size_t RuleOutReach = 256;
  bool RuledOut(std::string_view text, int pos);
  // As MatchLength, for callers to whom a budget error is no match: the
  // bytes at `pos` may settle the answer first (RuledOut, then alternatives
  // of the pattern refused the same way or matched as simple chains), so a
  // pattern that would have run out of its budget may be answered instead.
  // Raises as MatchLength otherwise.
  int QuickMatchLength(std::string_view window, int pos, int charBefore);

  uint64_t StepBudget() const { return m_stepBudget; }
  void SetStepBudget(uint64_t steps) { m_stepBudget = steps; }

private:
  void Invalidate();
  // Whether the run of alphabet bytes from `pos` holds a byte of `set`; true
  // (unsure) when the run is longer than RuleOutReach.
  bool RunHolds(const TRegExprCharSet& set, std::string_view text, int pos) const;
  void EnsureCompiled();
  bool TryCompile();

  std::string m_expression;
  uint16_t m_modifiers = DefaultModifiers;
  uint64_t m_stepBudget = DefaultStepBudget;
  bool m_keepComplete = false;
  std::shared_ptr<const TRegExprProgram> m_program;
  // Match state: group start and end positions of the last match.
  std::vector<int> m_groupStart;
  std::vector<int> m_groupEnd;
  bool m_matched = false;
};

}  // namespace penwick
