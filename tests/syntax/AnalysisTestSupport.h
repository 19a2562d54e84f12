// Test helpers: small lexer definitions built in code, and a text analysed by one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {

struct TLexer {
  TSyntAnalyzer A;

  TSyntaxFormat* Style(const std::string& name) {
    TSyntaxFormat* f = A.Formats().Add();
    f->SetDisplayName(name);
    return f;
  }
  TTokenRule* Rule(const std::string& name, const std::string& expression, int type, const std::string& style = "") {
    TTokenRule* r = A.TokenRules().Add();
    r->SetDisplayName(name);
    r->SetExpression(expression);
    r->SetTokenType(type);
    if (!style.empty()) r->SetStyleName(style);
    return r;
  }
  TTagBlockCondition* Block(const std::string& name, TTagBlockType type, const std::string& style = "") {
    TTagBlockCondition* b = A.BlockRules().Add();
    b->SetDisplayName(name);
    b->SetBlockType(type);
    if (!style.empty()) b->SetStyleName(style);
    return b;
  }
  static TSingleTagCondition* Cond(TTagBlockCondition* b, const std::string& tags, std::uint32_t types,
                                   TTagConditionType type = tcEqual, bool ignoreCase = false) {
    TSingleTagCondition* c = b->ConditionList().Add();
    c->SetTagsText(tags);
    c->SetTokenTypes(types);
    c->SetCondType(type);
    c->SetIgnoreCase(ignoreCase);
    return c;
  }
  // Words (type 1), numbers (type 2) and single symbols (type 3).
  void WordsNumbersSymbols() {
    Rule("Word", "[a-z_]\\w*", 1, "");
    Rule("Number", "\\d+", 2, "");
    Rule("Symbol", "[^\\w\\s]", 3, "");
  }
};

struct TRun {
  TRun(TSyntAnalyzer& a, std::string text, TAnalysisScheduler* scheduler = nullptr) : Source(std::move(text)) {
    Client = a.CreateClient(&Source, scheduler);
  }
  // The texts of all tokens, joined by '|'.
  std::string Texts() const {
    std::string out;
    for (int i = 0; i < Client->TokenCount(); ++i) {
      if (i) out += '|';
      out += Client->TokenText(i);
    }
    return out;
  }
  std::string StyleAt(int index) const {
    const TSyntaxFormat* f = Client->TokenStyle(index);
    return f ? f->DisplayName() : "-";
  }
  TStringTextSource Source;
  std::unique_ptr<TClientSyntAnalyzer> Client;
};

}  // namespace penwick::test
