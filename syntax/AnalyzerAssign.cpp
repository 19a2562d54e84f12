// Copying one lexer definition into another (TSyntAnalyzer::Assign): the
// source's stored properties are applied over a definition brought back to
// the state of a new one, exactly as a load of the source's text would.
#include <stdexcept>

#include "syntax/LexerProperties.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

void TSyntAnalyzer::Assign(const TSyntAnalyzer& source) {
  if (&source == this) return;
  // Captured before anything here changes. Going through the stored
  // properties rather than field by field keeps Assign and SaveToText in
  // step: whatever a file carries, a copy carries, and nothing else.
  const std::vector<TStreamProperty> lines = AnalyzerProperties().Capture(source);

  struct TLoadGuard {
    TSyntAnalyzer& a;
    ~TLoadGuard() { a.EndLoading(); }
  } guard{*this};
  BeginLoading();

  // Captures leave out values equal to a new definition's, and an empty
  // collection (written as <>) leaves a collection as it is: so everything a
  // capture may leave out goes back to a new definition's value first.
  m_formats.Clear();
  m_tokenRules.Clear();
  m_blockRules.Clear();
  m_codeTemplates.Clear();
  const TSyntAnalyzer fresh;
  m_sampleText = fresh.m_sampleText;
  m_tokenTypeNames = fresh.m_tokenTypeNames;
  m_notes = fresh.m_notes;
  m_gramma.SetGramma(fresh.m_gramma.Gramma());
  for (TNameRef<TSyntaxFormat>* ref : {&m_markedBlock, &m_searchMatch, &m_currentLine, &m_defaultStyle, &m_collapseStyle})
    *ref = TNameRef<TSyntaxFormat>{};
  // A new definition finds its marked-block style by name at the end of a
  // load; the source's own choice, when it differs, comes with its lines.
  m_markedBlock.Held = fresh.m_markedBlock.Held;
  m_extentions = fresh.m_extentions;
  m_lexerName = fresh.m_lexerName;
  m_lineComment = fresh.m_lineComment;
  m_tag = fresh.m_tag;
  m_designLeft = fresh.m_designLeft;
  m_designTop = fresh.m_designTop;
  m_internal = fresh.m_internal;
  m_skipSpaces = fresh.m_skipSpaces;
  m_fullRefreshSize = fresh.m_fullRefreshSize;
  m_restartFromLineStart = fresh.m_restartFromLineStart;
  m_parseEndOfLine = fresh.m_parseEndOfLine;
  m_alwaysSyncBlockAnal = fresh.m_alwaysSyncBlockAnal;

  // Every captured value is one the tables can apply; a line that is not
  // would be a fault of the tables, so it stops the copy rather than being
  // passed over.
  TStreamLoadContext context([](const std::string&) { return false; });
  AnalyzerProperties().Apply(*this, m_name.empty() ? AnalyzerProperties().ClassName() : m_name, lines, context);
  // The guard's EndLoading resolves the names against the new items,
  // compiles the grammar and resets every client.
}

}  // namespace penwick
