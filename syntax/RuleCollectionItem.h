// The common part of token rules and block rules (`TRuleCollectionItem`): style and parent-block references and state conditions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>

#include "syntax/SyntCollection.h"

namespace penwick {

class TSyntaxFormat;
class TTagBlockCondition;
class TSyntAnalyzer;

using TSyntItemSet = std::unordered_set<const TSyntCollectionItem*>;

// A reference to another item by DisplayName. While the owning definition is
// loading, a name set is only held as text; at the end of every load the held
// text (if any) is resolved again, so a load that replaces the styles
// re-attaches rules to the new styles of the same names. Outside loading a
// set name resolves at once and the held text stays as it was.
template <class T>
struct TNameRef {
  T* Item = nullptr;
  std::optional<std::string> Held;

  std::string Name(bool loading) const {
    if (loading && Held) return *Held;
    return Item ? Item->DisplayName() : std::string();
  }
};

class TRuleCollectionItem : public TSyntCollectionItem {
public:
  // Style of what the rule produces; empty: none of its own.
  std::string StyleName() const;
  void SetStyleName(const std::string& name);
  TSyntaxFormat* Style() const { return m_style.Item; }

  // Block rule whose open range the rule needs (or, with NotParent, must not have).
  std::string BlockName() const;
  void SetBlockName(const std::string& name);
  TTagBlockCondition* Block() const { return m_block.Item; }

  bool StrictParent() const { return m_strictParent; }
  void SetStrictParent(bool v) { m_strictParent = v; Changed(); }
  bool NotParent() const { return m_notParent; }
  void SetNotParent(bool v) { m_notParent = v; Changed(); }
  bool AlwaysEnabled() const { return m_alwaysEnabled; }
  void SetAlwaysEnabled(bool v) { m_alwaysEnabled = v; Changed(); }

  std::uint32_t StatesAdd() const { return m_statesAdd; }
  void SetStatesAdd(std::uint32_t v) { m_statesAdd = v; Changed(); }
  std::uint32_t StatesRemove() const { return m_statesRemove; }
  void SetStatesRemove(std::uint32_t v) { m_statesRemove = v; Changed(); }
  std::uint32_t StatesPresent() const { return m_statesPresent; }
  void SetStatesPresent(std::uint32_t v) { m_statesPresent = v; Changed(); }
  std::uint32_t StatesAbsent() const { return m_statesAbsent; }
  void SetStatesAbsent(std::uint32_t v) { m_statesAbsent = v; Changed(); }
  bool UsesStates() const { return m_statesAdd | m_statesRemove | m_statesPresent | m_statesAbsent; }

  // All StatesPresent bits set and no StatesAbsent bit set in `states`.
  bool StatesAllow(std::uint32_t states) const {
    return (states & m_statesPresent) == m_statesPresent && (states & m_statesAbsent) == 0;
  }
  std::uint32_t ApplyStates(std::uint32_t states) const { return (states & ~m_statesRemove) | m_statesAdd; }

  // End of a load: resolve held names against the current collections,
  // through indexes of the definition's styles and block rules.
  virtual void ResolveReferences(const TSyntNameIndex& styles, const TSyntNameIndex& blocks);
  // `items` are being deleted: every reference to one of them becomes empty.
  virtual void DropReferences(const TSyntItemSet& items);

protected:
  TRuleCollectionItem() = default;
  TSyntAnalyzer* Analyzer() const { return Collection() ? Collection()->Owner() : nullptr; }
  bool Loading() const;

private:
  TNameRef<TSyntaxFormat> m_style;
  TNameRef<TTagBlockCondition> m_block;
  bool m_strictParent = false;
  bool m_notParent = false;
  bool m_alwaysEnabled = false;
  std::uint32_t m_statesAdd = 0, m_statesRemove = 0, m_statesPresent = 0, m_statesAbsent = 0;
};

}  // namespace penwick
