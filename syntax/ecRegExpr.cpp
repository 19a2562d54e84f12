// TecRegExpr: pattern and modifier state, lazy compilation, groups and substitution.
#include "syntax/ecRegExpr.h"

#include "syntax/RegExprCompiler.h"
#include "syntax/RegExprMatcher.h"
#include "syntax/RegExprProgram.h"

namespace penwick {

namespace {

constexpr char kModifierLetters[] = "irsgmx";

}  // namespace

TecRegExpr::TecRegExpr() = default;

TecRegExpr::TecRegExpr(std::string expression, uint16_t modifiers)
    : m_expression(std::move(expression)), m_modifiers(modifiers) {}

TecRegExpr::TecRegExpr(const TecRegExpr& other) = default;
TecRegExpr::TecRegExpr(TecRegExpr&& other) noexcept = default;
TecRegExpr& TecRegExpr::operator=(const TecRegExpr& other) = default;
TecRegExpr& TecRegExpr::operator=(TecRegExpr&& other) noexcept = default;
TecRegExpr::~TecRegExpr() = default;

void TecRegExpr::Invalidate() {
  m_program.reset();
  m_groupStart.clear();
  m_groupEnd.clear();
  m_matched = false;
}

void TecRegExpr::SetExpression(std::string expression) {
  m_expression = std::move(expression);
  Invalidate();
}

void TecRegExpr::SetModifiers(uint16_t mask) {
  m_modifiers = mask;
  Invalidate();
}

void TecRegExpr::SetModifier(uint16_t bits, bool on) {
  SetModifiers(on ? static_cast<uint16_t>(m_modifiers | bits) : static_cast<uint16_t>(m_modifiers & ~bits));
}

std::string TecRegExpr::ModifierStr() const {
  std::string on, off;
  for (int i = 0; i < 6; ++i) (m_modifiers & (1u << i) ? on : off) += kModifierLetters[i];
  std::string result = "(?" + on;
  if (!off.empty()) result += "-" + off;
  return result + ")";
}

uint16_t TecRegExpr::ParseModifierStr(std::string_view modifiers, uint16_t base) {
  if (modifiers.substr(0, 2) == "(?") modifiers.remove_prefix(2);
  uint16_t mask = base;
  bool setting = true;
  // As an inline modifier group: the letters up to ')'.
  for (char c : modifiers) {
    if (c == ')') break;
    if (c == '-') {
      setting = false;
      continue;
    }
    int bit = -1;
    for (int i = 0; i < 6; ++i)
      if (kModifierLetters[i] == c) bit = i;
    if (bit < 0) throw ERegExprError("Unexpected modifier");
    if (setting) mask = static_cast<uint16_t>(mask | (1u << bit));
    else mask = static_cast<uint16_t>(mask & ~(1u << bit));
  }
  return mask;
}

void TecRegExpr::SetModifierStr(std::string_view modifiers) {
  if (modifiers.size() <= 2 || modifiers.substr(0, 2) != "(?") return;
  SetModifiers(ParseModifierStr(modifiers, m_modifiers));
}

void TecRegExpr::Compile() {
  Invalidate();
  TRegExprCompiler compiler(m_expression, m_modifiers);
  m_program = compiler.Run();
  m_groupStart.assign(m_program->GroupCount, -1);
  m_groupEnd.assign(m_program->GroupCount, -1);
}

void TecRegExpr::EnsureCompiled() {
  if (!m_program) Compile();
}

bool TecRegExpr::TryCompile() {
  if (m_program) return true;
  try {
    Compile();
    return true;
  } catch (const ERegExprError&) {
    return false;
  }
}

bool TecRegExpr::IsEmpty() { return !TryCompile() || m_program->IsEmpty(); }

const TRegExprCharSet& TecRegExpr::FirstChars() {
  static const TRegExprCharSet none;
  return TryCompile() ? m_program->FirstChars : none;
}

bool TecRegExpr::CanMatchEmpty() { return TryCompile() && m_program->CanMatchEmpty; }

bool TecRegExpr::RunHolds(const TRegExprCharSet& set, std::string_view text, int pos) const {
  const TRegExprCharSet& alphabet = m_program->Alphabet;
  const std::size_t from = pos < 1 ? 0 : static_cast<std::size_t>(pos - 1);
  if (from >= text.size()) return false;
  const std::size_t stop = text.size() - from > RuleOutReach ? from + RuleOutReach : text.size();
  for (std::size_t i = from; i < stop; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (set.Has(c)) return true;
    if (!alphabet.Has(c)) return false;
  }
  return stop < text.size();  // the run goes on past the reach: unsure
}

bool TecRegExpr::RuledOut(std::string_view text, int pos) {
  return TryCompile() && m_program->HasRequired && !RunHolds(m_program->Required, text, pos);
}

int TecRegExpr::QuickMatchLength(std::string_view text, int pos, int charBefore) {
  EnsureCompiled();
  const int start = pos < 1 ? 1 : pos;
  if (RuledOut(text, start) || start > static_cast<int>(text.size()) + 1) {
    m_matched = false;
    return 0;
  }
  // The root takes its first alternative that matches: one refused by its
  // bytes fails, a chain is walked once, any other needs the whole matcher.
  const std::vector<TRegExprAlternative>& alternatives = m_program->RootAlternatives;
  if (alternatives.size() > 1) {
    bool general = false;
    for (const TRegExprAlternative& alternative : alternatives) {
      if (alternative.HasRequired && !RunHolds(alternative.Required, text, start)) continue;
      if (!alternative.Deterministic) {
        general = true;
        break;
      }
      TRegExprMatcher matcher(*m_program, text, m_groupStart.data(), m_groupEnd.data(), m_stepBudget, charBefore);
      int end = start;
      if (matcher.RunChain(alternative.First, end)) {
        m_matched = true;
        return end - start;
      }
    }
    if (!general) {
      m_matched = false;
      return 0;
    }
  }
  return MatchLength(text, pos, charBefore);
}

bool TecRegExpr::Match(std::string_view text, int& pos, int charBefore) {
  EnsureCompiled();
  m_matched = false;
  const TRegExprProgram& program = *m_program;
  const int start = pos < 1 ? 1 : pos;
  const int size = static_cast<int>(text.size());
  if (start > size + 1 || program.IsEmpty()) return false;
  // Cheap refusal: the first byte cannot begin a match and nothing can match empty.
  if (!program.CanMatchEmpty && (start > size || !program.FirstChars.Has(static_cast<unsigned char>(text[start - 1]))))
    return false;
  TRegExprMatcher matcher(program, text, m_groupStart.data(), m_groupEnd.data(), m_stepBudget, charBefore,
                          m_keepComplete);
  int end = start;
  if (!matcher.Run(end)) return false;
  m_matched = true;
  pos = end;
  return true;
}

int TecRegExpr::MatchLength(std::string_view text, int pos, int charBefore) {
  const int start = pos < 1 ? 1 : pos;
  int end = start;
  return Match(text, end, charBefore) ? end - start : 0;
}

int TecRegExpr::SubExprCount() const { return m_program ? m_program->GroupCount : 0; }

int TecRegExpr::SubExprStart(int index) const {
  if (!m_matched || index < 0 || index >= static_cast<int>(m_groupStart.size())) return -1;
  return m_groupStart[index];
}

int TecRegExpr::SubExprEnd(int index) const {
  if (!m_matched || index < 0 || index >= static_cast<int>(m_groupEnd.size())) return -1;
  return m_groupEnd[index];
}

std::string TecRegExpr::SubExprText(std::string_view text, int index) const {
  const int start = SubExprStart(index);
  const int end = SubExprEnd(index);
  if (start < 1 || end < 1 || end < start || start > static_cast<int>(text.size()) + 1) return {};
  const size_t from = static_cast<size_t>(start - 1);
  return std::string(text.substr(from, static_cast<size_t>(end - start)));
}

std::string TecRegExpr::Substitute(std::string_view text, std::string_view tmpl) const {
  std::string result;
  result.reserve(tmpl.size());
  for (size_t i = 0; i < tmpl.size(); ++i) {
    const char c = tmpl[i];
    if (c != '\\' || i + 1 == tmpl.size()) {
      result += c;  // includes a backslash at the very end
      continue;
    }
    const char e = tmpl[++i];
    switch (e) {
      case 'a': result += '\a'; break;
      case 'e': result += '\x1b'; break;
      case 'f': result += '\f'; break;
      case 'n': result += '\n'; break;
      case 'r': result += '\r'; break;
      case 't': result += '\t'; break;
      case 'x': result += static_cast<char>(TRegExprCompiler::ReadHexEscape(tmpl, i)); break;
      default:
        if (e >= '0' && e <= '9') result += SubExprText(text, e - '0');
        else result += e;
        break;
    }
  }
  return result;
}

}  // namespace penwick
