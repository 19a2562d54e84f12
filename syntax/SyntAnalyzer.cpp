// The lexer definition: collections, switches, name resolution and the rule plan shared by its clients.
#include "syntax/SyntAnalyzer.h"

#include <algorithm>
#include <stdexcept>

#include "syntax/ClientSyntAnalyzer.h"

namespace penwick {

TSyntAnalyzer::TSyntAnalyzer() {
  for (TSyntCollectionBase* c : std::initializer_list<TSyntCollectionBase*>{&m_formats, &m_tokenRules, &m_blockRules, &m_codeTemplates}) {
    c->SetOwner(this);
    c->OnChanged = [this] { Changed(); };
    c->OnItemsDeleting = [this](const std::vector<TSyntCollectionItem*>& items) { ItemsDeleting(items); };
  }
  TSyntaxFormat* marked = m_formats.Add();
  marked->SetDisplayName(kMarkedBlockStyleName);
  marked->BgColor = clHighlight;
  marked->Font.Color = clHighlightText;
  marked->FormatType = ftColor;
  m_markedBlock.Item = marked;
  // Held like a name read from a file, so that a load that replaces the
  // styles finds a new style of that name.
  m_markedBlock.Held = kMarkedBlockStyleName;
  m_tokenTypeNames = {"Unknown", "Comment", "Identifier", "Symbol", "String",
                      "Integer const", "Float const", "Hex const", "Char const", "Preprocessor"};
}

TSyntAnalyzer::~TSyntAnalyzer() {
  for (TClientSyntAnalyzer* client : m_clients) client->DetachOwner();
  m_clients.clear();
  // Collections die after this; keep their callbacks from reaching a dead owner.
  for (TSyntCollectionBase* c : std::initializer_list<TSyntCollectionBase*>{&m_formats, &m_tokenRules, &m_blockRules, &m_codeTemplates}) {
    c->OnChanged = nullptr;
    c->OnItemsDeleting = nullptr;
  }
  for (int i = 0; i < m_blockRules.Count(); ++i) m_blockRules[i]->ConditionList().OnChanged = nullptr;
}

void TSyntAnalyzer::SetTokenTypeNames(const std::vector<std::string>& names) {
  m_tokenTypeNames = names;
  if (!m_loading) CompileGramma();  // a load compiles once, at its end
  Changed();
}

std::string TSyntAnalyzer::TokenTypeName(int type) const {
  if (type >= 0 && type < static_cast<int>(m_tokenTypeNames.size())) return m_tokenTypeNames[static_cast<std::size_t>(type)];
  return std::to_string(type);
}

void TSyntAnalyzer::SetGrammaText(const std::string& text) {
  m_gramma.SetGramma(text);
  if (!m_loading) CompileGramma();
  Changed();
}

void TSyntAnalyzer::CompileGramma() {
  m_gramma.CompileGramma(m_tokenTypeNames);
  for (int i = 0; i < m_blockRules.Count(); ++i) {
    TTagBlockCondition* rule = m_blockRules[i];
    rule->SetGrammaRule(rule->GrammaRuleName().empty() ? nullptr : m_gramma.RuleByName(rule->GrammaRuleName()));
  }
}

void TSyntAnalyzer::SetStyleRef(TNameRef<TSyntaxFormat>& ref, const std::string& name) {
  if (m_loading) ref.Held = name;
  else ref.Item = m_formats.Find(name);
  Changed();
}

void TSyntAnalyzer::EndLoading() {
  // One index per collection: a file may hold thousands of rules and styles.
  const TSyntNameIndex styles(m_formats), blocks(m_blockRules);
  for (int i = 0; i < m_tokenRules.Count(); ++i) m_tokenRules[i]->ResolveReferences(styles, blocks);
  for (int i = 0; i < m_blockRules.Count(); ++i) m_blockRules[i]->ResolveReferences(styles, blocks);
  for (TNameRef<TSyntaxFormat>* ref : {&m_markedBlock, &m_searchMatch, &m_currentLine, &m_defaultStyle, &m_collapseStyle})
    if (ref->Held) ref->Item = static_cast<TSyntaxFormat*>(styles.Find(*ref->Held));
  m_loading = false;
  CompileGramma();
  Changed();
}

void TSyntAnalyzer::ItemsDeleting(const std::vector<TSyntCollectionItem*>& items) {
  // Tokens and ranges point at rules: stop every finishing job before one dies.
  for (TClientSyntAnalyzer* client : m_clients) client->ResetAnalysis();
  // Emptying a collection passes all its items at once, so that each rule is
  // visited once rather than once per item.
  const TSyntItemSet dying(items.begin(), items.end());
  for (int i = 0; i < m_tokenRules.Count(); ++i) m_tokenRules[i]->DropReferences(dying);
  for (int i = 0; i < m_blockRules.Count(); ++i) m_blockRules[i]->DropReferences(dying);
  for (TNameRef<TSyntaxFormat>* ref : {&m_markedBlock, &m_searchMatch, &m_currentLine, &m_defaultStyle, &m_collapseStyle})
    if (dying.count(ref->Item)) ref->Item = nullptr;
  for (TSyntCollectionItem* item : items)
    if (auto* block = dynamic_cast<TTagBlockCondition*>(item)) block->ConditionList().OnChanged = nullptr;
}

void TSyntAnalyzer::Changed() {
  m_plan.reset();
  for (TClientSyntAnalyzer* client : m_clients) client->ResetAnalysis();
}

std::unique_ptr<TClientSyntAnalyzer> TSyntAnalyzer::CreateClient(TAnalysisTextSource* source, TAnalysisScheduler* scheduler) {
  if (!source) throw std::runtime_error("Source procedure not passed from syntax server");
  return std::make_unique<TClientSyntAnalyzer>(*this, *source, scheduler);
}

void TSyntAnalyzer::AddClient(TClientSyntAnalyzer* client) { m_clients.push_back(client); }

void TSyntAnalyzer::RemoveClient(TClientSyntAnalyzer* client) {
  m_clients.erase(std::remove(m_clients.begin(), m_clients.end(), client), m_clients.end());
}

const TAnalyzerPlan& TSyntAnalyzer::BuildPlan() const {
  auto plan = std::make_unique<TAnalyzerPlan>();
  const int tokenCount = m_tokenRules.Count();
  for (int i = 0; i < tokenCount; ++i) plan->RuleById.push_back(m_tokenRules[i]);
  for (int i = 0; i < m_blockRules.Count(); ++i) plan->RuleById.push_back(m_blockRules[i]);
  if (plan->RuleById.size() >= TSyntToken::kNoRule) plan->RuleById.resize(TSyntToken::kNoRule - 1);

  for (int i = 0; i < tokenCount && i < static_cast<int>(plan->RuleById.size()); ++i) {
    const TTokenRule* rule = m_tokenRules[i];
    if (!rule->BlockName().empty()) plan->AnyRuleUsesBlocks = true;
    if (!rule->Enabled()) continue;
    const auto index = static_cast<std::uint16_t>(plan->TokenRules.size());
    plan->TokenRules.push_back(rule);
    plan->TokenRuleIds.push_back(static_cast<std::uint16_t>(i));
    if (rule->HasColumnBounds()) plan->AnyColumnBounds = true;
    for (int c = 0; c < 256; ++c)
      if (rule->Matcher().CanStartWith(static_cast<unsigned char>(c))) plan->Candidates[static_cast<std::size_t>(c)].push_back(index);
  }
  bool blockStates = false;
  for (int i = 0; i < m_blockRules.Count() && tokenCount + i < static_cast<int>(plan->RuleById.size()); ++i) {
    const TTagBlockCondition* rule = m_blockRules[i];
    rule->SetPlanIndex(static_cast<int>(plan->BlockRules.size()));
    TBlockRulePlan entry;
    entry.Rule = rule;
    entry.Id = static_cast<std::uint16_t>(tokenCount + i);
    entry.Shift = rule->ConditionShift();
    entry.PlainTag = rule->BlockType() == btTagDetect && !rule->Block() && !rule->GrammaRule();
    for (int c = 0; c < rule->ConditionList().Count(); ++c) entry.Conditions.push_back(rule->ConditionList()[c]);
    if (!entry.Conditions.empty()) {
      const TSingleTagCondition* first = entry.Conditions[0];
      const bool absorbs = first->CondType() == tcSkip && entry.Conditions.size() > 1 && entry.Conditions[1]->CondType() != tcSkip;
      if (!absorbs && first->TokenTypes() != 0 && first->CondType() != tcNotEqual) entry.FirstTypes = first->TokenTypes();
    }
    plan->BlockRules.push_back(std::move(entry));
    if (rule->UsesStates()) blockStates = true;
  }
  for (TBlockRulePlan& closer : plan->BlockRules) {
    const TTagBlockCondition* e = closer.Rule;
    for (std::size_t r = 0; r < plan->BlockRules.size(); ++r) {
      const TTagBlockCondition* opener = plan->BlockRules[r].Rule;
      const bool fits = e->BlockType() == btRangeStart ? (e->SelfClose() && opener == e)
                                                       : (opener->BlockEndRule() == e || e->BlockEndRule() == opener);
      if (fits) closer.Closes.push_back(static_cast<int>(r));
    }
  }
  plan->Synchronous = m_alwaysSyncBlockAnal || blockStates || plan->AnyRuleUsesBlocks;
  m_plan = std::move(plan);
  return *m_plan;
}

}  // namespace penwick
