// One condition of a block rule (`TSingleTagCondition`): a test of one token's type and text.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "syntax/PatternMatcher.h"
#include "syntax/SyntCollection.h"

namespace penwick {

enum TTagConditionType { tcEqual, tcNotEqual, tcMask, tcSkip };

// Hashing and equality of tags, with or without regard to case.
struct TTagHash {
  bool IgnoreCase = false;
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const;
};
struct TTagEqual {
  bool IgnoreCase = false;
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

class TSingleTagCondition : public TSyntCollectionItem {
public:
  TSingleTagCondition();
  ~TSingleTagCondition() override;
  const char* KindName() const override { return "Condition"; }

  // The tags, sorted (case-insensitively with IgnoreCase) and free of
  // duplicates under the same comparison.
  const std::vector<std::string>& TagList() const { return m_tags; }
  // Each string becomes one tag (the stream form).
  void SetTagList(const std::vector<std::string>& tags);
  // The text is split at blanks and line breaks (the program form).
  void SetTagsText(std::string_view text);

  TTagConditionType CondType() const { return m_condType; }
  void SetCondType(TTagConditionType type) { m_condType = type; Changed(); }
  // Bit n accepts token type n (modulo 32); 0 accepts every type.
  std::uint32_t TokenTypes() const { return m_tokenTypes; }
  void SetTokenTypes(std::uint32_t types) { m_tokenTypes = types; Changed(); }
  bool IgnoreCase() const { return m_ignoreCase; }
  void SetIgnoreCase(bool ignoreCase);

  // An update bracket: inside it SetTagList and SetIgnoreCase only store,
  // and TagList() holds the tags as given; the end of the outermost bracket
  // sorts them and builds the lookup once, under the case rule set last. A
  // load applies the lines of a condition in one bracket, so that a file
  // setting IgnoreCase on many lines does not sort the tags each time.
  void BeginUpdate() { ++m_updates; }
  void EndUpdate();

  // Whether a token of text `text` and type `type` meets the condition.
  // Cost: a bit test, then one hash lookup (tcEqual, tcNotEqual) or one
  // anchored match per tag (tcMask). A tcMask tag that does not compile
  // never matches.
  bool Test(std::string_view text, int type) const;
  // The type part alone: whether `type` is accepted by TokenTypes.
  bool TypeAccepted(int type) const { return m_tokenTypes == 0 || (m_tokenTypes >> (static_cast<unsigned>(type) % 32)) & 1u; }

private:
  void Rebuild();
  bool Listed(std::string_view text) const;

  std::vector<std::string> m_tags;
  TTagConditionType m_condType = tcEqual;
  std::uint32_t m_tokenTypes = 0;
  bool m_ignoreCase = false;
  int m_updates = 0;      // open update brackets
  bool m_stale = false;   // a change inside them waits for Rebuild
  std::unordered_set<std::string, TTagHash, TTagEqual> m_lookup;
  // Quick rejection before hashing: the lengths (bit 63: 63 or more) and
  // first bytes (upper-cased with IgnoreCase) that some tag has.
  std::uint64_t m_lengths = 0;
  std::bitset<256> m_firstBytes;
  std::vector<std::unique_ptr<TPatternMatcher>> m_masks;
};

using TConditionCollection = TSyntCollection<TSingleTagCondition>;

}  // namespace penwick
