// Turns the mission lexer data into a live definition, field by field.
#include "language/MissionLexer.h"

#include <string>
#include <vector>

#include "language/MissionLexerData.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

namespace {

void ApplyRuleFields(TRuleCollectionItem& rule, const TMissionRuleData& d) {
  rule.SetDisplayName(d.DisplayName);
  rule.SetEnabled(d.Enabled);
  rule.SetStyleName(d.StyleName);
  rule.SetBlockName(d.BlockName);
  rule.SetStrictParent(d.StrictParent);
  rule.SetNotParent(d.NotParent);
  rule.SetAlwaysEnabled(d.AlwaysEnabled);
  rule.SetStatesAdd(d.StatesAdd);
  rule.SetStatesRemove(d.StatesRemove);
  rule.SetStatesPresent(d.StatesPresent);
  rule.SetStatesAbsent(d.StatesAbsent);
}

void ApplyFormat(TSyntaxFormat& f, const TMissionFormatData& d) {
  f.SetDisplayName(d.DisplayName);
  f.SetEnabled(d.Enabled);
  f.Font.Name = d.Font.Name;
  f.Font.Size = d.Font.Size;
  f.Font.Height = -d.Font.HeightPx;
  f.Font.Color = d.Font.Color;
  f.Font.Style = d.Font.Style;  // same bit order as TFontStyle
  f.Font.Charset = d.Font.Charset;
  f.BgColor = d.BgColor;
  f.VertAlignment = static_cast<TVertAlignment>(d.VertAlignment);
  f.FormatType = static_cast<TFormatType>(d.FormatType);
  f.Hidden = d.Hidden;
  f.BorderTypeLeft = static_cast<TBorderLineType>(d.BorderTypeLeft);
  f.BorderTypeTop = static_cast<TBorderLineType>(d.BorderTypeTop);
  f.BorderTypeRight = static_cast<TBorderLineType>(d.BorderTypeRight);
  f.BorderTypeBottom = static_cast<TBorderLineType>(d.BorderTypeBottom);
  f.BorderColorLeft = d.BorderColorLeft;
  f.BorderColorTop = d.BorderColorTop;
  f.BorderColorRight = d.BorderColorRight;
  f.BorderColorBottom = d.BorderColorBottom;
  f.MultiLineBorder = d.MultiLineBorder;
  f.ReadOnly = d.ReadOnly;
  f.ChangeCase = static_cast<TChangeCase>(d.ChangeCase);
  f.FormatFlags = d.FormatFlags;  // same bit order as TFormatFlag
  f.Changed();
}

void ApplyBlockRule(TTagBlockCondition& r, const TMissionBlockRuleData& d) {
  ApplyRuleFields(r, d);
  r.SetBlockType(static_cast<TTagBlockType>(d.BlockType));
  for (const TMissionConditionData& cd : d.ConditionList) {
    TSingleTagCondition* c = r.ConditionList().Add();
    c->SetCondType(static_cast<TTagConditionType>(cd.CondType));
    c->SetTokenTypes(cd.TokenTypes);
    c->SetIgnoreCase(cd.IgnoreCase);
    c->SetTagList(std::vector<std::string>(cd.TagList.begin(), cd.TagList.end()));
  }
  r.SetIdentIndex(d.IdentIndex);
  r.SetLinePos(static_cast<TLineBreakPos>(d.LinePos));
  r.SetBlockOffset(d.BlockOffset);
  r.SetBlockEnd(d.BlockEnd);
  r.SetEndOfTextClose(d.EndOfTextClose);
  r.SetNotCollapsed(d.NotCollapsed);
  r.SetSameIdent(d.SameIdent);
  r.SetHighlight(d.Highlight);
  r.SetInvertColors(d.InvertColors);
  r.SetDisplayInTree(d.DisplayInTree);
  r.SetNameFmt(d.NameFmt);
  r.SetGroupFmt(d.GroupFmt);
  r.SetRefToCondEnd(d.RefToCondEnd);
  r.SetDynHighlight(static_cast<TDynamicHighlight>(d.DynHighlight));
  r.SetHighlightPos(static_cast<THighlightPos>(d.HighlightPos));
  r.SetDynSelectMin(d.DynSelectMin);
  r.SetCancelNextRules(d.CancelNextRules);
  r.SetDrawStaple(d.DrawStaple);
  r.SetGroupIndex(d.GroupIndex);
  r.SetCollapseFmt(d.CollapseFmt);
  r.SetSelfClose(d.SelfClose);
  r.SetNoEndRule(d.NoEndRule);
  r.SetGrammaRuleName(d.GrammaRuleName);
  r.SetTokenType(d.TokenType);
  r.SetTreeItemStyle(d.TreeItemStyle);
  r.SetTreeGroupStyle(d.TreeGroupStyle);
  r.SetTreeItemImage(d.TreeItemImage);
  r.SetTreeGroupImage(d.TreeGroupImage);
  r.SetUseCustomPen(d.UseCustomPen);
  r.SetIgnoreAsParent(d.IgnoreAsParent);
  r.SetAutoCloseMode(static_cast<TAutoCloseMode>(d.AutoCloseMode));
  r.SetAutoCloseText(d.AutoCloseText);
}

}  // namespace

void BuildMissionLexer(TSyntAnalyzer& analyzer) { BuildMissionLexer(analyzer, MissionLexerData()); }

void BuildMissionLexer(TSyntAnalyzer& a, const TMissionLexerData& data) {
  // Like a load: a collection with items replaces the old one, an empty one leaves it.
  struct TLoadGuard {
    TSyntAnalyzer& a;
    ~TLoadGuard() {
      if (a.Loading()) a.EndLoading();
    }
  } guard{a};
  a.BeginLoading();
  if (!data.Formats.empty()) {
    a.Formats().Clear();
    for (const auto& d : data.Formats) ApplyFormat(*a.Formats().Add(), d);
  }
  if (!data.TokenRules.empty()) {
    a.TokenRules().Clear();
    for (const auto& d : data.TokenRules) {
      TTokenRule* r = a.TokenRules().Add();
      ApplyRuleFields(*r, d);
      r->SetTokenType(d.TokenType);
      r->SetExpression(d.Expression);
      r->SetColumnFrom(d.ColumnFrom);
      r->SetColumnTo(d.ColumnTo);
    }
  }
  if (!data.BlockRules.empty()) {
    a.BlockRules().Clear();
    for (const auto& d : data.BlockRules) ApplyBlockRule(*a.BlockRules().Add(), d);
  }
  if (!data.CodeTemplates.empty()) {
    a.CodeTemplates().Clear();
    for (const auto& d : data.CodeTemplates) {
      TCodeTemplate* t = a.CodeTemplates().Add();
      t->Name = d.Name;
      t->Description = d.Description;
      t->Code = d.Code;
      t->Advanced = d.Advanced;
    }
  }
  if (!data.SampleText.empty()) a.SetSampleText(data.SampleText);
  if (!data.TokenTypeNames.empty()) a.SetTokenTypeNames(data.TokenTypeNames);
  a.SetGrammaText(data.GrammaText());
  a.SetMarkedBlockStyle(data.MarkedBlockStyle);
  a.SetSearchMatchStyle(data.SearchMatchStyle);
  a.SetCurrentLineStyle(data.CurrentLineStyle);
  a.SetDefaultStyleName(data.DefaultStyleName);
  a.SetCollapseStyleName(data.CollapseStyleName);
  a.SetExtentions(data.Extentions);
  a.SetLexerName(data.LexerName);
  a.SetSkipSpaces(data.SkipSpaces);
  a.SetFullRefreshSize(data.FullRefreshSize);
  if (!data.Notes.empty()) a.SetNotes(data.Notes);
  a.SetInternal(data.Internal);
  a.SetRestartFromLineStart(data.RestartFromLineStart);
  a.SetParseEndOfLine(data.ParseEndOfLine);
  a.SetLineComment(data.LineComment);
  a.SetAlwaysSyncBlockAnal(data.AlwaysSyncBlockAnal);
}

}  // namespace penwick
