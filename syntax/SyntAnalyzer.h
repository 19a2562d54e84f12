// A lexer definition (`TSyntAnalyzer`): styles, token rules, block rules, grammar and switches, shared by the analyses of texts.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/CodeTemplate.h"
#include "syntax/GrammaAnalyzer.h"
#include "syntax/RuleCollectionItem.h"
#include "syntax/SyntCollection.h"
#include "syntax/SyntToken.h"
#include "syntax/SyntaxFormat.h"
#include "syntax/TagBlockCondition.h"
#include "syntax/TokenRule.h"

namespace penwick {

class TClientSyntAnalyzer;
class TAnalysisTextSource;
class TAnalysisScheduler;
class TUserDialogs;

// Told about each line of a lexer file that cannot be applied; answers
// whether the load goes on (true) or stops with that error (false).
using TLexerErrorHandler = std::function<bool(const std::string& message)>;

using TStylesCollection = TSyntCollection<TSyntaxFormat>;
using TTokenRuleCollection = TSyntCollection<TTokenRule>;
using TBlockRuleCollection = TSyntCollection<TTagBlockCondition>;
using TCodeTemplateCollection = TSyntCollection<TCodeTemplate>;

// What the analysis needs from the rules, worked out once after every change
// of the definition: the enabled rules in order, rule ids, and per first byte
// the token rules that can match there.
// A block rule as the per-token loop sees it.
struct TBlockRulePlan {
  const TTagBlockCondition* Rule = nullptr;
  std::uint16_t Id = 0;
  int Shift = 0;                 // how far back from the newest token condition 0 looks
  std::uint32_t FirstTypes = 0;  // non-zero: condition 0 fails unless the token's type bit is in it
  bool PlainTag = false;         // tag detection with no BlockName and no grammar rule
  std::vector<const TSingleTagCondition*> Conditions;
  // Plan indexes of the rules whose ranges this rule may close: for a range
  // end, the rules naming it as their BlockEnd and its own BlockEnd; for a
  // self-closing range start, itself.
  std::vector<int> Closes;
};

struct TAnalyzerPlan {
  std::vector<const TRuleCollectionItem*> RuleById;  // token rules, then block rules
  std::vector<const TTokenRule*> TokenRules;          // enabled, in order
  std::vector<std::uint16_t> TokenRuleIds;            // parallel to TokenRules
  std::array<std::vector<std::uint16_t>, 256> Candidates;  // indexes into TokenRules
  std::vector<TBlockRulePlan> BlockRules;  // all, in order (disabled ones skipped when applied)
  bool Synchronous = false;     // all block rules after every token
  bool AnyColumnBounds = false;
  bool AnyRuleUsesBlocks = false;
};

class TSyntAnalyzer {
public:
  TSyntAnalyzer();
  ~TSyntAnalyzer();
  TSyntAnalyzer(const TSyntAnalyzer&) = delete;
  TSyntAnalyzer& operator=(const TSyntAnalyzer&) = delete;

  // The name of the style every new definition has, and of its default selection style.
  static constexpr const char* kMarkedBlockStyleName = "Marked block";

  // The component's own name ("syntnlyzr1"), written in a lexer file's
  // header and naming the owner in load errors; empty by default.
  const std::string& Name() const { return m_name; }
  void SetName(const std::string& name) { m_name = name; }
  int Tag() const { return m_tag; }
  void SetTag(int tag) { m_tag = tag; }
  // A design position carried by lexer files; of no effect.
  int DesignLeft() const { return m_designLeft; }
  void SetDesignLeft(int v) { m_designLeft = v; }
  int DesignTop() const { return m_designTop; }
  void SetDesignTop(int v) { m_designTop = v; }

  // Lexer files. A load parses the whole text first: a syntax error
  // ("<problem> on line <n>") changes nothing. Then the properties are
  // applied in file order; a collection with items replaces the collection,
  // `<>` leaves it, anything the file does not name keeps its value; at the
  // end names are resolved and the grammar compiled (also when the load
  // stops early). A line that cannot be applied is skipped and, unless the
  // user answered All earlier in the same load, `dialogs` asks whether to
  // ignore it; No (or no `dialogs`) stops the load with that error
  // (EStreamReadError), keeping what was applied before it.
  // LoadFromFile raises EFOpenError ("Cannot open file "<absolute path>".
  // <reason>") for a file it cannot read, before anything changes.
  void LoadFromFile(const std::string& fileName, TUserDialogs* dialogs);
  void LoadFromStream(std::istream& stream, TUserDialogs* dialogs);
  // The same with an error handler instead of the question.
  void LoadFromFile(const std::string& fileName, const TLexerErrorHandler& onError);
  void LoadFromText(std::string_view text, const TLexerErrorHandler& onError);
  // Writes the definition in the text form; SaveToFile goes through the safe
  // file writer (EFCreateError on failure, the old file intact) and
  // remembers the path.
  void SaveToFile(const std::string& fileName);
  void SaveToStream(std::ostream& stream) const;
  std::string SaveToText() const;
  // The path of the last SaveToFile; empty before.
  const std::string& FileName() const { return m_fileName; }

  // Takes everything `source` defines but its component name: the styles,
  // rules, block rules and templates (as new items of equal properties),
  // the sample text, token type names, notes, grammar, the named styles and
  // the switches. The result saves to the same text as `source`. Clients
  // are reset as after a load; assigning a definition to itself changes
  // nothing.
  void Assign(const TSyntAnalyzer& source);

  TStylesCollection& Formats() { return m_formats; }
  const TStylesCollection& Formats() const { return m_formats; }
  TTokenRuleCollection& TokenRules() { return m_tokenRules; }
  const TTokenRuleCollection& TokenRules() const { return m_tokenRules; }
  TBlockRuleCollection& BlockRules() { return m_blockRules; }
  const TBlockRuleCollection& BlockRules() const { return m_blockRules; }
  TCodeTemplateCollection& CodeTemplates() { return m_codeTemplates; }
  const TCodeTemplateCollection& CodeTemplates() const { return m_codeTemplates; }

  const std::vector<std::string>& SampleText() const { return m_sampleText; }
  void SetSampleText(const std::vector<std::string>& lines) { m_sampleText = lines; }
  const std::vector<std::string>& TokenTypeNames() const { return m_tokenTypeNames; }
  // The grammar names token types, so it is compiled again (at once, or at
  // the end of a load while loading).
  void SetTokenTypeNames(const std::vector<std::string>& names);
  // The name of a token type, or its number as text when it has none.
  std::string TokenTypeName(int type) const;
  const std::vector<std::string>& Notes() const { return m_notes; }
  void SetNotes(const std::vector<std::string>& lines) { m_notes = lines; }

  const TGrammaAnalyzer& Gramma() const { return m_gramma; }
  // Compiled at once, or at the end of a load while loading.
  void SetGrammaText(const std::string& text);

  std::string MarkedBlockStyle() const { return m_markedBlock.Name(m_loading); }
  void SetMarkedBlockStyle(const std::string& name) { SetStyleRef(m_markedBlock, name); }
  std::string SearchMatchStyle() const { return m_searchMatch.Name(m_loading); }
  void SetSearchMatchStyle(const std::string& name) { SetStyleRef(m_searchMatch, name); }
  std::string CurrentLineStyle() const { return m_currentLine.Name(m_loading); }
  void SetCurrentLineStyle(const std::string& name) { SetStyleRef(m_currentLine, name); }
  std::string DefaultStyleName() const { return m_defaultStyle.Name(m_loading); }
  void SetDefaultStyleName(const std::string& name) { SetStyleRef(m_defaultStyle, name); }
  std::string CollapseStyleName() const { return m_collapseStyle.Name(m_loading); }
  void SetCollapseStyleName(const std::string& name) { SetStyleRef(m_collapseStyle, name); }
  TSyntaxFormat* MarkedBlock() const { return m_markedBlock.Item; }
  TSyntaxFormat* SearchMatch() const { return m_searchMatch.Item; }
  TSyntaxFormat* CurrentLine() const { return m_currentLine.Item; }
  TSyntaxFormat* DefaultStyle() const { return m_defaultStyle.Item; }
  TSyntaxFormat* CollapseStyle() const { return m_collapseStyle.Item; }

  const std::string& Extentions() const { return m_extentions; }
  void SetExtentions(const std::string& v) { m_extentions = v; }
  const std::string& LexerName() const { return m_lexerName; }
  void SetLexerName(const std::string& v) { m_lexerName = v; }
  const std::string& LineComment() const { return m_lineComment; }
  void SetLineComment(const std::string& v) { m_lineComment = v; }
  bool Internal() const { return m_internal; }
  void SetInternal(bool v) { m_internal = v; }

  bool SkipSpaces() const { return m_skipSpaces; }
  void SetSkipSpaces(bool v) { m_skipSpaces = v; Changed(); }
  int FullRefreshSize() const { return m_fullRefreshSize; }
  void SetFullRefreshSize(int v) { m_fullRefreshSize = v; Changed(); }
  // Stored and loaded; the analysis restarts at the start of the line before
  // a change whether it is set or not, so that an incremental analysis always
  // equals a fresh one.
  bool RestartFromLineStart() const { return m_restartFromLineStart; }
  void SetRestartFromLineStart(bool v) { m_restartFromLineStart = v; Changed(); }
  bool ParseEndOfLine() const { return m_parseEndOfLine; }
  void SetParseEndOfLine(bool v) { m_parseEndOfLine = v; Changed(); }
  bool AlwaysSyncBlockAnal() const { return m_alwaysSyncBlockAnal; }
  void SetAlwaysSyncBlockAnal(bool v) { m_alwaysSyncBlockAnal = v; Changed(); }

  // Loading bracket: while loading, names are held as text; EndLoading
  // resolves them, compiles the grammar, looks up the block rules' grammar
  // rules and resets every client.
  void BeginLoading() { m_loading = true; }
  void EndLoading();
  bool Loading() const { return m_loading; }

  // Resets every client (and restarts their idle timers).
  void Changed();

  // The analysis of one text. Throws "Source procedure not passed from
  // syntax server" when `source` is null. The client must be destroyed
  // before the definition.
  std::unique_ptr<TClientSyntAnalyzer> CreateClient(TAnalysisTextSource* source, TAnalysisScheduler* scheduler);

  // The rule plan, rebuilt on first use after a change. Callers on the GUI thread only.
  // Inline: the analysis asks for it for every token.
  const TAnalyzerPlan& Plan() const { return m_plan ? *m_plan : BuildPlan(); }
  const TRuleCollectionItem* RuleById(std::uint16_t id) const {
    const auto& table = Plan().RuleById;
    return id < table.size() ? table[id] : nullptr;
  }

private:
  friend class TClientSyntAnalyzer;
  void AddClient(TClientSyntAnalyzer* client);
  void RemoveClient(TClientSyntAnalyzer* client);
  void ItemsDeleting(const std::vector<TSyntCollectionItem*>& items);
  void SetStyleRef(TNameRef<TSyntaxFormat>& ref, const std::string& name);
  void CompileGramma();

  TStylesCollection m_formats;
  TTokenRuleCollection m_tokenRules;
  TBlockRuleCollection m_blockRules;
  TCodeTemplateCollection m_codeTemplates;
  std::vector<std::string> m_sampleText;
  std::vector<std::string> m_tokenTypeNames;
  std::vector<std::string> m_notes;
  TGrammaAnalyzer m_gramma;
  TNameRef<TSyntaxFormat> m_markedBlock, m_searchMatch, m_currentLine, m_defaultStyle, m_collapseStyle;
  std::string m_extentions, m_lexerName, m_lineComment;
  std::string m_name, m_fileName;
  int m_tag = 0, m_designLeft = 0, m_designTop = 0;
  bool m_internal = false;
  bool m_skipSpaces = true;
  int m_fullRefreshSize = 0;
  bool m_restartFromLineStart = false;
  bool m_parseEndOfLine = false;
  bool m_alwaysSyncBlockAnal = false;
  bool m_loading = false;

  std::vector<TClientSyntAnalyzer*> m_clients;
  mutable std::unique_ptr<TAnalyzerPlan> m_plan;
  const TAnalyzerPlan& BuildPlan() const;
};

}  // namespace penwick
