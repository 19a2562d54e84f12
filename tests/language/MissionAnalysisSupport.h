// Test helpers: the mission definition over a string text, whose edits reach the analysis through its source.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "language/MissionLexer.h"
#include "syntax/AnalysisScheduler.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {

struct TMissionAnalysis {
  explicit TMissionAnalysis(std::string text, TAnalysisScheduler* scheduler = nullptr) : Source(std::move(text)) {
    BuildMissionLexer(Analyzer);
    Client = Analyzer.CreateClient(&Source, scheduler);
  }

  // Index of the first token whose text is `text` (from token `from` on), or -1.
  int Find(std::string_view text, int from = 0) const {
    for (int i = from; i < Client->TokenCount(); ++i)
      if (Client->TokenText(i) == text) return i;
    return -1;
  }
  // Style name of that token; "-" for none, "?" when there is no such token.
  std::string StyleOf(std::string_view text, int from = 0) const {
    const int i = Find(text, from);
    if (i < 0) return "?";
    const TSyntaxFormat* style = Client->TokenStyle(i);
    return style ? style->DisplayName() : "-";
  }
  std::string TypeOf(std::string_view text) const {
    const int i = Find(text);
    return i < 0 ? "?" : Analyzer.TokenTypeName(Client->Token(i).TokenType);
  }

  TSyntAnalyzer Analyzer;
  TStringTextSource Source;
  std::unique_ptr<TClientSyntAnalyzer> Client;
};

}  // namespace penwick::test
