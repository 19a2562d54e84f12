// Block rule properties and their name references.
#include "syntax/TagBlockCondition.h"

#include "syntax/SyntAnalyzer.h"

namespace penwick {

TTagBlockCondition::TTagBlockCondition() {
  m_conditions.OnChanged = [this] { Changed(); };
}

void TTagBlockCondition::SetBlockType(TTagBlockType type) {
  m_blockType = type;
  if (type == btTagDetect || type == btLineBreak) {
    m_BlockOffset = 0;
    m_blockEnd.Item = nullptr;
    m_blockEnd.Held.reset();
  }
  Changed();
}

void TTagBlockCondition::SetGrammaRuleName(const std::string& name) {
  m_grammaRuleName = name;
  if (!Loading()) m_grammaRule = Analyzer() && !name.empty() ? Analyzer()->Gramma().RuleByName(name) : nullptr;
  Changed();
}

std::string TTagBlockCondition::BlockEnd() const { return m_blockEnd.Name(Loading()); }

void TTagBlockCondition::SetBlockEnd(const std::string& name) {
  if (Loading()) m_blockEnd.Held = name;
  else m_blockEnd.Item = Analyzer() ? Analyzer()->BlockRules().Find(name) : nullptr;
  Changed();
}

std::string TTagBlockCondition::TreeItemStyle() const { return m_treeItemStyle.Name(Loading()); }

void TTagBlockCondition::SetTreeItemStyle(const std::string& name) {
  if (Loading()) m_treeItemStyle.Held = name;
  else m_treeItemStyle.Item = Analyzer() ? Analyzer()->Formats().Find(name) : nullptr;
  Changed();
}

std::string TTagBlockCondition::TreeGroupStyle() const { return m_treeGroupStyle.Name(Loading()); }

void TTagBlockCondition::SetTreeGroupStyle(const std::string& name) {
  if (Loading()) m_treeGroupStyle.Held = name;
  else m_treeGroupStyle.Item = Analyzer() ? Analyzer()->Formats().Find(name) : nullptr;
  Changed();
}

void TTagBlockCondition::ResolveReferences(const TSyntNameIndex& styles, const TSyntNameIndex& blocks) {
  TRuleCollectionItem::ResolveReferences(styles, blocks);
  if (m_blockEnd.Held) m_blockEnd.Item = static_cast<TTagBlockCondition*>(blocks.Find(*m_blockEnd.Held));
  if (m_treeItemStyle.Held) m_treeItemStyle.Item = static_cast<TSyntaxFormat*>(styles.Find(*m_treeItemStyle.Held));
  if (m_treeGroupStyle.Held) m_treeGroupStyle.Item = static_cast<TSyntaxFormat*>(styles.Find(*m_treeGroupStyle.Held));
}

void TTagBlockCondition::DropReferences(const TSyntItemSet& items) {
  TRuleCollectionItem::DropReferences(items);
  if (items.count(m_blockEnd.Item)) m_blockEnd.Item = nullptr;
  if (items.count(m_treeItemStyle.Item)) m_treeItemStyle.Item = nullptr;
  if (items.count(m_treeGroupStyle.Item)) m_treeGroupStyle.Item = nullptr;
}

}  // namespace penwick
