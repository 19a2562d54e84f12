// Style and parent-block references of rules.
#include "syntax/RuleCollectionItem.h"

#include "syntax/SyntAnalyzer.h"

namespace penwick {

bool TRuleCollectionItem::Loading() const {
  const TSyntAnalyzer* a = Analyzer();
  return a && a->Loading();
}

std::string TRuleCollectionItem::StyleName() const { return m_style.Name(Loading()); }

void TRuleCollectionItem::SetStyleName(const std::string& name) {
  if (Loading()) m_style.Held = name;
  else m_style.Item = Analyzer() ? Analyzer()->Formats().Find(name) : nullptr;
  Changed();
}

std::string TRuleCollectionItem::BlockName() const { return m_block.Name(Loading()); }

void TRuleCollectionItem::SetBlockName(const std::string& name) {
  if (Loading()) m_block.Held = name;
  else m_block.Item = Analyzer() ? Analyzer()->BlockRules().Find(name) : nullptr;
  Changed();
}

void TRuleCollectionItem::ResolveReferences() {
  TSyntAnalyzer* a = Analyzer();
  if (!a) return;
  if (m_style.Held) m_style.Item = a->Formats().Find(*m_style.Held);
  if (m_block.Held) m_block.Item = a->BlockRules().Find(*m_block.Held);
}

void TRuleCollectionItem::DropReference(const TSyntCollectionItem* item) {
  if (m_style.Item == item) m_style.Item = nullptr;
  if (static_cast<const TSyntCollectionItem*>(m_block.Item) == item) m_block.Item = nullptr;
}

}  // namespace penwick
