// A block rule of a lexer definition (`TTagBlockCondition`): a token pattern that claims a token, opens or closes a range.
#pragma once

#include <cstdint>
#include <string>

#include "syntax/RuleCollectionItem.h"
#include "syntax/SingleTagCondition.h"

namespace penwick {

enum TTagBlockType { btTagDetect, btLineBreak, btRangeStart, btRangeEnd };
enum TLineBreakPos { lbTop, lbBottom };
enum TDynamicHighlight { dhNone, dhBound, dhRangeNoBound, dhRange };
enum THighlightPos { cpAny, cpBound, cpBoundTag, cpRange, cpBoundTagBegin, cpOutOfRange };
enum TAutoCloseMode { acmDisabled, acmCloseNearest, acmCloseOpened };

struct TSyntPen {
  std::uint32_t Color = 0;
  int Mode = 4;    // pmCopy
  int Style = 0;   // psSolid
  int Width = 1;
};

class TParserRule;

// Simple value properties: a getter Name() and a setter SetName() that tells
// the definition about the change.
#define PENWICK_RULE_PROPERTY(Type, Name, init) \
public:                                         \
  Type Name() const { return m_##Name; }        \
  void Set##Name(Type value) {                  \
    m_##Name = value;                           \
    Changed();                                  \
  }                                             \
                                                \
private:                                        \
  Type m_##Name = init;

class TTagBlockCondition : public TRuleCollectionItem {
public:
  TTagBlockCondition();
  const char* KindName() const override { return "Tag block rule"; }

  TTagBlockType BlockType() const { return m_blockType; }
  // btTagDetect and btLineBreak also set BlockOffset to 0 and clear BlockEnd.
  void SetBlockType(TTagBlockType type);

  // The token pattern; condition 0 tests the newest token. No conditions: never matches.
  TConditionCollection& ConditionList() { return m_conditions; }
  const TConditionCollection& ConditionList() const { return m_conditions; }

  // The block rule that closes ranges opened by this rule.
  std::string BlockEnd() const;
  void SetBlockEnd(const std::string& name);
  TTagBlockCondition* BlockEndRule() const { return m_blockEnd.Item; }

  // The grammar rule that replaces the condition list when set and found.
  const std::string& GrammaRuleName() const { return m_grammaRuleName; }
  // Outside loading the rule is looked up at once; a load looks it up at its end.
  void SetGrammaRuleName(const std::string& name);
  const TParserRule* GrammaRule() const { return m_grammaRule; }
  void SetGrammaRule(const TParserRule* rule) { m_grammaRule = rule; }

  std::string TreeItemStyle() const;
  void SetTreeItemStyle(const std::string& name);
  std::string TreeGroupStyle() const;
  void SetTreeGroupStyle(const std::string& name);

  TSyntPen& Pen() { return m_pen; }
  const TSyntPen& Pen() const { return m_pen; }

  void ResolveReferences(const TSyntNameIndex& styles, const TSyntNameIndex& blocks) override;
  void DropReferences(const TSyntItemSet& items) override;

  // How far back from the newest token the condition list starts: 0 with
  // RefToCondEnd, else -BlockOffset or -IdentIndex when negative.
  int ConditionShift() const {
    if (m_RefToCondEnd) return 0;
    if (m_BlockOffset < 0 && m_BlockOffset < m_IdentIndex) return -m_BlockOffset;
    if (m_IdentIndex < 0) return -m_IdentIndex;
    return 0;
  }

  // Position among the block rules as of the definition's last rule plan.
  int PlanIndex() const { return m_planIndex; }
  void SetPlanIndex(int index) const { m_planIndex = index; }

  PENWICK_RULE_PROPERTY(int, IdentIndex, 0)
  PENWICK_RULE_PROPERTY(TLineBreakPos, LinePos, lbTop)
  PENWICK_RULE_PROPERTY(int, BlockOffset, 0)
  PENWICK_RULE_PROPERTY(bool, EndOfTextClose, false)
  PENWICK_RULE_PROPERTY(bool, NotCollapsed, false)
  PENWICK_RULE_PROPERTY(bool, SameIdent, false)
  PENWICK_RULE_PROPERTY(bool, Highlight, false)
  PENWICK_RULE_PROPERTY(bool, InvertColors, false)
  PENWICK_RULE_PROPERTY(bool, DisplayInTree, true)
  PENWICK_RULE_PROPERTY(std::string, NameFmt, {})
  PENWICK_RULE_PROPERTY(std::string, GroupFmt, {})
  PENWICK_RULE_PROPERTY(bool, RefToCondEnd, false)
  PENWICK_RULE_PROPERTY(TDynamicHighlight, DynHighlight, dhNone)
  PENWICK_RULE_PROPERTY(THighlightPos, HighlightPos, cpAny)
  PENWICK_RULE_PROPERTY(bool, DynSelectMin, false)
  PENWICK_RULE_PROPERTY(bool, CancelNextRules, false)
  PENWICK_RULE_PROPERTY(bool, DrawStaple, false)
  PENWICK_RULE_PROPERTY(int, GroupIndex, 0)
  PENWICK_RULE_PROPERTY(std::string, CollapseFmt, {})
  PENWICK_RULE_PROPERTY(bool, SelfClose, false)
  PENWICK_RULE_PROPERTY(bool, NoEndRule, false)
  PENWICK_RULE_PROPERTY(int, TokenType, -1)
  PENWICK_RULE_PROPERTY(int, TreeItemImage, -1)
  PENWICK_RULE_PROPERTY(int, TreeGroupImage, -1)
  PENWICK_RULE_PROPERTY(bool, UseCustomPen, false)
  PENWICK_RULE_PROPERTY(bool, IgnoreAsParent, false)
  PENWICK_RULE_PROPERTY(TAutoCloseMode, AutoCloseMode, acmDisabled)
  PENWICK_RULE_PROPERTY(std::string, AutoCloseText, {})

private:
  TTagBlockType m_blockType = btRangeStart;
  TConditionCollection m_conditions;
  TNameRef<TTagBlockCondition> m_blockEnd;
  TNameRef<TSyntaxFormat> m_treeItemStyle;
  TNameRef<TSyntaxFormat> m_treeGroupStyle;
  std::string m_grammaRuleName;
  const TParserRule* m_grammaRule = nullptr;
  TSyntPen m_pen;
  mutable int m_planIndex = -1;
};

#undef PENWICK_RULE_PROPERTY

}  // namespace penwick
