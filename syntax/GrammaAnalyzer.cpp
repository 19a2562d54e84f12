// Compiling the grammar text and matching its rules backwards over tokens.
#include "syntax/GrammaAnalyzer.h"

#include <algorithm>
#include <set>
#include <stdexcept>
#include <utility>

#include "platform/CodePage.h"
#include "syntax/TokenHolder.h"

namespace penwick {

int TParserBranchNode::FirstTokenIndex() const { return Children.empty() ? -1 : Children.back()->FirstTokenIndex(); }
int TParserBranchNode::LastTokenIndex() const { return Children.empty() ? -1 : Children.front()->LastTokenIndex(); }

TGrammaAnalyzer::TGrammaAnalyzer() = default;
TGrammaAnalyzer::~TGrammaAnalyzer() = default;

namespace {

enum class TLex { Literal, LiteralNoCase, TypeName, Name, Equal, Bar, Semicolon, Repeat, Open, Close, Bad };

struct TGrammaToken {
  TLex Kind;
  std::string Text;
};

bool IsWordChar(char c) { return TCodePage::Default().IsWordChar(static_cast<unsigned char>(c)); }

// Splits the grammar text into its tokens; comments and white space are dropped.
std::vector<TGrammaToken> LexGramma(std::string_view s) {
  std::vector<TGrammaToken> out;
  std::size_t i = 0;
  auto delimited = [&](char close, TLex kind) {
    // Lazy match to the next delimiter on the same line; at least one character inside.
    std::size_t j = i + 1;
    while (j < s.size() && s[j] != close && s[j] != '\n' && s[j] != '\r') ++j;
    if (j >= s.size() || s[j] != close || j == i + 1) {
      out.push_back({TLex::Bad, {}});
      i = s.size();
      return;
    }
    out.push_back({kind, std::string(s.substr(i + 1, j - i - 1))});
    i = j + 1;
  };
  while (i < s.size()) {
    char c = s[i];
    if (TCodePage::Default().IsSpace(static_cast<unsigned char>(c))) { ++i; continue; }
    if (c == '/' && i + 1 < s.size() && s[i + 1] == '/') {
      while (i < s.size() && s[i] != '\n' && s[i] != '\r') ++i;
      continue;
    }
    if (c == '/' && i + 1 < s.size() && s[i + 1] == '*') {
      std::size_t end = s.find("*/", i + 2);
      i = end == std::string_view::npos ? s.size() : end + 2;
      continue;
    }
    if (c == '"') { delimited('"', TLex::Literal); continue; }
    if (c == '\'') { delimited('\'', TLex::LiteralNoCase); continue; }
    if (c == '<') { delimited('>', TLex::TypeName); continue; }
    if (IsWordChar(c)) {
      std::size_t j = i;
      while (j < s.size() && IsWordChar(s[j])) ++j;
      out.push_back({TLex::Name, std::string(s.substr(i, j - i))});
      i = j;
      continue;
    }
    TLex kind = TLex::Bad;
    switch (c) {
      case '=': kind = TLex::Equal; break;
      case '|': kind = TLex::Bar; break;
      case ';': kind = TLex::Semicolon; break;
      case '*': case '+': case '?': kind = TLex::Repeat; break;
      case '(': kind = TLex::Open; break;
      case ')': kind = TLex::Close; break;
      default: break;
    }
    out.push_back({kind, std::string(1, c)});
    ++i;
    if (kind == TLex::Bad) break;
  }
  return out;
}

class TGrammaParser {
public:
  TGrammaParser(const std::vector<TGrammaToken>& tokens, const std::vector<std::string>& typeNames) : m_t(tokens) {
    const TCodePage& cp = TCodePage::Default();
    m_typeIndex.reserve(typeNames.size());
    for (std::size_t i = 0; i < typeNames.size(); ++i) m_typeIndex.emplace(cp.ToUpper(typeNames[i]), static_cast<int>(i));
  }

  // Reads rules until the text stops fitting.
  std::vector<std::unique_ptr<TParserRule>> ParseRules() {
    std::vector<std::unique_ptr<TParserRule>> rules;
    while (m_pos < m_t.size()) {
      if (!StartsRule()) break;
      auto rule = std::make_unique<TParserRule>();
      rule->Name = m_t[m_pos].Text;
      m_pos += 2;
      if (!ParseAlternatives(*rule)) break;
      if (m_pos < m_t.size() && m_t[m_pos].Kind == TLex::Semicolon) ++m_pos;
      else if (!(m_pos >= m_t.size() || StartsRule())) break;
      rules.push_back(std::move(rule));
    }
    return rules;
  }

private:
  bool StartsRule() const {
    return m_pos + 1 < m_t.size() && m_t[m_pos].Kind == TLex::Name && m_t[m_pos + 1].Kind == TLex::Equal;
  }
  bool EndsAlternative() const {
    if (m_pos >= m_t.size()) return true;
    TLex k = m_t[m_pos].Kind;
    return k == TLex::Bar || k == TLex::Semicolon || k == TLex::Close || StartsRule();
  }

  bool ParseAlternatives(TParserRule& rule) {
    for (;;) {
      auto branch = std::make_unique<TParserRuleBranch>();
      branch->Owner = &rule;
      while (!EndsAlternative()) {
        TParserRuleItem item;
        if (!ParseItem(item)) return false;
        branch->Items.push_back(std::move(item));
      }
      if (branch->Items.empty()) return false;
      rule.Branches.push_back(std::move(branch));
      if (m_pos < m_t.size() && m_t[m_pos].Kind == TLex::Bar) {
        ++m_pos;
        continue;
      }
      return true;
    }
  }

  bool ParseItem(TParserRuleItem& item) {
    const TGrammaToken& t = m_t[m_pos];
    switch (t.Kind) {
      case TLex::Literal: item.Kind = TParserRuleItem::ikLiteral; item.Text = t.Text; ++m_pos; break;
      case TLex::LiteralNoCase: item.Kind = TParserRuleItem::ikLiteralNoCase; item.Text = t.Text; ++m_pos; break;
      case TLex::TypeName: {
        item.Kind = TParserRuleItem::ikTokenType;
        item.Text = t.Text;
        const auto type = m_typeIndex.find(TCodePage::Default().ToUpper(t.Text));
        item.TokenType = type == m_typeIndex.end() ? -1 : type->second;
        ++m_pos;
        break;
      }
      case TLex::Name: item.Kind = TParserRuleItem::ikRule; item.Text = t.Text; ++m_pos; break;
      case TLex::Open: {
        // Groups nest through the stack here, in ResolveItems and when the
        // rules are destroyed: a limit keeps a text of brackets from
        // exhausting it.
        if (m_depth >= TGrammaAnalyzer::kMaxGroupDepth) return false;
        ++m_pos;
        item.Kind = TParserRuleItem::ikRule;
        item.Group = std::make_unique<TParserRule>();
        ++m_depth;
        const bool parsed = ParseAlternatives(*item.Group);
        --m_depth;
        if (!parsed) return false;
        if (m_pos >= m_t.size() || m_t[m_pos].Kind != TLex::Close) return false;
        ++m_pos;
        item.Rule = item.Group.get();
        break;
      }
      default:
        return false;
    }
    if (m_pos < m_t.size() && m_t[m_pos].Kind == TLex::Repeat) {
      char r = m_t[m_pos].Text[0];
      item.MinCount = r == '+' ? 1 : 0;
      item.MaxCount = r == '?' ? 1 : -1;
      ++m_pos;
    }
    return true;
  }

  const std::vector<TGrammaToken>& m_t;
  std::unordered_map<std::string, int> m_typeIndex;  // upper-cased type name -> first index
  std::size_t m_pos = 0;
  int m_depth = 0;  // groups open around the current item
};

void ResolveItems(TParserRule& rule, const TGrammaAnalyzer& g) {
  for (auto& branch : rule.Branches)
    for (auto& item : branch->Items) {
      if (item.Group) ResolveItems(*item.Group, g);
      else if (item.Kind == TParserRuleItem::ikRule) item.Rule = g.RuleByName(item.Text);
    }
}

// One backward match: the rule/position pairs being tried and the skip state.
class TBackwardMatcher {
public:
  TBackwardMatcher(const TTokenHolder& tokens, const TParserRule* skip) : m_tokens(tokens), m_skip(skip) {}

  std::unique_ptr<TParserBranchNode> MatchRule(const TParserRule* rule, int& pos) {
    if (!rule) return nullptr;
    // The rules being tried are the ones on the stack.
    if (m_active.size() >= TGrammaAnalyzer::kMaxMatchDepth) throw std::runtime_error("Grammar rules nested too deep");
    auto key = std::make_pair(rule, pos);
    if (!m_active.insert(key).second) throw std::runtime_error("Circular stack");
    struct TGuard {
      std::set<std::pair<const TParserRule*, int>>& set;
      std::pair<const TParserRule*, int> key;
      ~TGuard() { set.erase(key); }
    } guard{m_active, key};
    for (auto it = rule->Branches.rbegin(); it != rule->Branches.rend(); ++it) {
      int p = pos;
      if (auto node = MatchBranch(it->get(), p)) {
        pos = p;
        return node;
      }
    }
    return nullptr;
  }

private:
  std::unique_ptr<TParserBranchNode> MatchBranch(const TParserRuleBranch* branch, int& pos) {
    auto node = std::make_unique<TParserBranchNode>(branch);
    int p = pos;
    for (auto it = branch->Items.rbegin(); it != branch->Items.rend(); ++it) {
      const TParserRuleItem& item = *it;
      int count = 0;
      while (item.MaxCount < 0 || count < item.MaxCount) {
        if (p < 0) break;
        int before = p;
        auto child = MatchItem(item, p);
        if (!child) break;
        node->Children.push_back(std::move(child));
        ++count;
        if (p == before) break;  // an empty match would repeat forever
      }
      if (count < item.MinCount) return nullptr;
    }
    pos = p;
    return node;
  }

  std::unique_ptr<TParserNode> MatchItem(const TParserRuleItem& item, int& pos) {
    if (item.Kind == TParserRuleItem::ikRule) return MatchRule(item.Rule, pos);
    if (pos < 0 || pos >= m_tokens.TokenCount()) return nullptr;
    bool ok = false;
    switch (item.Kind) {
      case TParserRuleItem::ikLiteral: ok = m_tokens.TokenText(pos) == item.Text; break;
      case TParserRuleItem::ikLiteralNoCase: ok = TCodePage::Default().SameText(m_tokens.TokenText(pos), item.Text); break;
      case TParserRuleItem::ikTokenType: ok = item.TokenType == 0 || (item.TokenType > 0 && m_tokens.Token(pos).TokenType == item.TokenType); break;
      default: break;
    }
    if (!ok) return nullptr;
    auto term = std::make_unique<TParserTermNode>(pos);
    --pos;
    if (m_skip && !m_inSkip && pos >= 0) {
      m_inSkip = true;
      int q = pos;
      try {
        if (MatchRule(m_skip, q)) pos = q;
      } catch (...) {
        m_inSkip = false;
        throw;
      }
      m_inSkip = false;
    }
    return term;
  }

  const TTokenHolder& m_tokens;
  const TParserRule* m_skip;
  bool m_inSkip = false;
  std::set<std::pair<const TParserRule*, int>> m_active;
};

void DumpRule(const TParserRule& rule, std::string& out);

void DumpItem(const TParserRuleItem& item, std::string& out) {
  switch (item.Kind) {
    case TParserRuleItem::ikLiteral: out += '"' + item.Text + '"'; break;
    case TParserRuleItem::ikLiteralNoCase: out += '\'' + item.Text + '\''; break;
    case TParserRuleItem::ikTokenType: out += '<' + item.Text + ':' + std::to_string(item.TokenType) + '>'; break;
    case TParserRuleItem::ikRule:
      if (item.Group) {
        out += '(';
        DumpRule(*item.Group, out);
        out += ')';
      } else {
        out += item.Text + (item.Rule ? "" : "?unresolved");
      }
      break;
  }
  if (item.MinCount != 1 || item.MaxCount != 1) {
    out += '{';
    out += std::to_string(item.MinCount);
    out += ',';
    out += std::to_string(item.MaxCount);
    out += '}';
  }
}

void DumpRule(const TParserRule& rule, std::string& out) {
  for (std::size_t b = 0; b < rule.Branches.size(); ++b) {
    if (b) out += " | ";
    for (std::size_t i = 0; i < rule.Branches[b]->Items.size(); ++i) {
      if (i) out += ' ';
      DumpItem(rule.Branches[b]->Items[i], out);
    }
  }
}

}  // namespace

void TGrammaAnalyzer::CompileGramma(const std::vector<std::string>& tokenTypeNames) {
  m_byName.clear();
  m_rules.clear();
  m_skip = m_root = nullptr;
  auto tokens = LexGramma(m_text);
  TGrammaParser parser(tokens, tokenTypeNames);
  m_rules = parser.ParseRules();
  const TCodePage& cp = TCodePage::Default();
  m_byName.reserve(m_rules.size());
  for (const auto& rule : m_rules) m_byName.emplace(cp.ToUpper(rule->Name), rule.get());
  for (auto& rule : m_rules) ResolveItems(*rule, *this);
  m_skip = RuleByName("Skip");
  m_root = RuleByName("Root");
}

const TParserRule* TGrammaAnalyzer::RuleByName(std::string_view name) const {
  const auto it = m_byName.find(TCodePage::Default().ToUpper(name));
  return it == m_byName.end() ? nullptr : it->second;
}

std::unique_ptr<TParserNode> TGrammaAnalyzer::MatchRuleBackward(int lastToken, const TParserRule* rule,
                                                                 const TTokenHolder& tokens) const {
  if (!rule || lastToken < 0 || lastToken >= tokens.TokenCount()) return nullptr;
  TBackwardMatcher matcher(tokens, m_skip);
  int pos = lastToken;
  auto node = matcher.MatchRule(rule, pos);
  if (node && node->Children.empty()) return nullptr;  // matched no token at all
  return node;
}

int TGrammaAnalyzer::FirstTokenOfMatch(int lastToken, const TParserRule* rule, const TTokenHolder& tokens) const {
  auto node = MatchRuleBackward(lastToken, rule, tokens);
  return node ? node->FirstTokenIndex() : -1;
}

std::string TGrammaAnalyzer::DebugDump() const {
  std::string out;
  for (const auto& rule : m_rules) {
    out += rule->Name + " = ";
    DumpRule(*rule, out);
    out += ";\n";
  }
  return out;
}

}  // namespace penwick
