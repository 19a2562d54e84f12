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

void TRuleCollectionItem::ResolveReferences(const TSyntNameIndex& styles, const TSyntNameIndex& blocks) {
  if (m_style.Held) m_style.Item = static_cast<TSyntaxFormat*>(styles.Find(*m_style.Held));
  if (m_block.Held) m_block.Item = static_cast<TTagBlockCondition*>(blocks.Find(*m_block.Held));
}

void TRuleCollectionItem::DropReferences(const TSyntItemSet& items) {
  if (items.count(m_style.Item)) m_style.Item = nullptr;
  if (items.count(m_block.Item)) m_block.Item = nullptr;
}

}  // namespace penwick
