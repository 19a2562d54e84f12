// The grammar of a lexer definition (`TGrammaAnalyzer`): rules over tokens, compiled from text and matched backwards.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace penwick {

class TTokenHolder;
struct TParserRule;

struct TParserRuleItem {
  enum TKind { ikLiteral, ikLiteralNoCase, ikTokenType, ikRule };
  TKind Kind = ikLiteral;
  std::string Text;                      // literal, type name or rule name
  int TokenType = -1;                    // ikTokenType: resolved type, 0 any, -1 nothing
  const TParserRule* Rule = nullptr;     // ikRule: resolved rule (named or Group)
  std::unique_ptr<TParserRule> Group;    // an inline group owned by the item
  int MinCount = 1;
  int MaxCount = 1;                      // -1: unlimited
};

struct TParserRuleBranch {
  const TParserRule* Owner = nullptr;
  std::vector<TParserRuleItem> Items;
};

struct TParserRule {
  std::string Name;  // empty for an inline group
  std::vector<std::unique_ptr<TParserRuleBranch>> Branches;
};

// A node of a match tree.
class TParserNode {
public:
  virtual ~TParserNode() = default;
  virtual int FirstTokenIndex() const = 0;  // leftmost token
  virtual int LastTokenIndex() const = 0;   // rightmost token
};

class TParserTermNode : public TParserNode {
public:
  explicit TParserTermNode(int index) : TokenIndex(index) {}
  int FirstTokenIndex() const override { return TokenIndex; }
  int LastTokenIndex() const override { return TokenIndex; }
  int TokenIndex;
};

class TParserBranchNode : public TParserNode {
public:
  explicit TParserBranchNode(const TParserRuleBranch* branch) : Branch(branch) {}
  const TParserRule* Rule() const { return Branch ? Branch->Owner : nullptr; }
  // Children are in right-to-left order: the last child is the leftmost.
  int FirstTokenIndex() const override;
  int LastTokenIndex() const override;
  const TParserRuleBranch* Branch;
  std::vector<std::unique_ptr<TParserNode>> Children;
};

class TGrammaAnalyzer {
public:
  TGrammaAnalyzer();
  ~TGrammaAnalyzer();

  const std::string& Gramma() const { return m_text; }
  // Stores the text; the owner compiles it.
  void SetGramma(const std::string& text) { m_text = text; }

  // Parses the text into rules. Parsing stops silently at the first text
  // that does not fit, or at a group nested more than kMaxGroupDepth deep;
  // the rules completed up to there stay. Cost: linear in the text (names
  // are looked up through hash tables).
  void CompileGramma(const std::vector<std::string>& tokenTypeNames);
  static constexpr int kMaxGroupDepth = 64;

  int RuleCount() const { return static_cast<int>(m_rules.size()); }
  const TParserRule* RuleAt(int index) const { return m_rules[static_cast<std::size_t>(index)].get(); }
  // Case-insensitive (the first rule of a name); nullptr when absent. O(1) on average.
  const TParserRule* RuleByName(std::string_view name) const;
  const TParserRule* SkipRule() const { return m_skip; }
  const TParserRule* RootRule() const { return m_root; }

  // Matches `rule` right to left ending at token `lastToken`. Throws
  // std::runtime_error("Circular stack") when a rule is tried again at a
  // position where it is already being tried, and ("Grammar rules nested
  // too deep") when more than kMaxMatchDepth rules are being tried at once
  // (each costs stack; a file may chain thousands of rules).
  static constexpr std::size_t kMaxMatchDepth = 500;
  std::unique_ptr<TParserNode> MatchRuleBackward(int lastToken, const TParserRule* rule, const TTokenHolder& tokens) const;
  // The leftmost token of such a match, -1 when none.
  int FirstTokenOfMatch(int lastToken, const TParserRule* rule, const TTokenHolder& tokens) const;

  // Canonical text of the compiled rules, for tests.
  std::string DebugDump() const;

private:
  std::string m_text;
  std::vector<std::unique_ptr<TParserRule>> m_rules;
  std::unordered_map<std::string, const TParserRule*> m_byName;  // upper-cased name -> first rule
  const TParserRule* m_skip = nullptr;
  const TParserRule* m_root = nullptr;
};

}  // namespace penwick
