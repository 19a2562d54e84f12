// The stored properties of a lexer definition and of the items of its
// collections, in the order they are written.
#pragma once

#include "syntax/StreamProperties.h"

namespace penwick {

class TSyntAnalyzer;
class TSyntaxFormat;
class TTokenRule;
class TTagBlockCondition;
class TSingleTagCondition;
class TCodeTemplate;

// Each table is built once and never changes. Collections are applied as a
// load applies them: a value with items empties the collection and adds one
// new item (with the defaults of its class) per item block; `<>` leaves it.
const TStreamPropertyTable<TSyntAnalyzer>& AnalyzerProperties();
const TStreamPropertyTable<TSyntaxFormat>& FormatProperties();
const TStreamPropertyTable<TTokenRule>& TokenRuleProperties();
const TStreamPropertyTable<TTagBlockCondition>& BlockRuleProperties();
const TStreamPropertyTable<TSingleTagCondition>& ConditionProperties();
const TStreamPropertyTable<TCodeTemplate>& CodeTemplateProperties();

}  // namespace penwick
