// Checks the built-in mission lexer data and the new-script template for consistency and exactness.
#include "language/MissionLexerData.h"
#include "language/TemplateScript.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace penwick {
namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

struct TNamedList {
  const char* Rule;
  TMissionTagList Words;
};

std::vector<TNamedList> KeywordLists() {
  return {{"CompilerEnums", MissionCompilerTargets()},     {"Control Structs", MissionControlWords()},
          {"Game Loops", MissionLevelBrackets()},         {"Data Types", MissionDeclarationTypes()},
          {"Boolean Functions", MissionConditionCommands()}, {"Functions", MissionCommands()},
          {"Enums", MissionConstants()}};
}

// Keyword (upper case) -> block rule whose list holds it.
std::map<std::string, std::string> KeywordOwners() {
  std::map<std::string, std::string> owners;
  for (const auto& list : KeywordLists())
    for (const char* w : list.Words) owners.emplace(Upper(w), list.Rule);
  return owners;
}

TEST(MissionKeywords, ListSizesAndUniqueness) {
  const std::vector<std::size_t> expected = {2, 24, 4, 23, 79, 203, 477};
  auto lists = KeywordLists();
  ASSERT_EQ(lists.size(), expected.size());
  std::set<std::string> seen;  // across all lists, compared without regard to case
  for (std::size_t i = 0; i < lists.size(); ++i) {
    EXPECT_EQ(lists[i].Words.size(), expected[i]) << lists[i].Rule;
    for (const char* w : lists[i].Words)
      EXPECT_TRUE(seen.insert(Upper(w)).second) << w << " stands twice (list " << lists[i].Rule << ")";
  }
  EXPECT_EQ(seen.size(), 812u);
}

// A tag-detecting rule can only claim a whole identifier token, so a keyword
// that is not shaped like one could never be highlighted.
TEST(MissionKeywords, EveryKeywordIsOneIdentifier) {
  for (const auto& list : KeywordLists())
    for (const char* w : list.Words) {
      std::string s = w;
      ASSERT_FALSE(s.empty());
      EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_') << s;
      for (char c : s) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '_') << s;
    }
}

TEST(MissionLexer, SettingsAndNamedLines) {
  const auto& d = MissionLexerData();
  EXPECT_EQ(d.LexerName, "VarnokMis");
  EXPECT_EQ(d.Extentions, "mis");
  EXPECT_EQ(d.LineComment, "//");
  EXPECT_TRUE(d.AlwaysSyncBlockAnal);
  EXPECT_TRUE(d.SkipSpaces);
  EXPECT_EQ(d.SampleText, std::vector<std::string>{"levelstart"});
  EXPECT_TRUE(d.MarkedBlockStyle.empty());
  ASSERT_EQ(d.TokenTypeNames.size(), 10u);
  EXPECT_EQ(d.TokenTypeNames[mttIdentifier], "Identifier");
  EXPECT_EQ(d.TokenTypeNames[mttPreprocessor], "Preprocessor");
  EXPECT_EQ(d.GrammaText(),
            "skip = <Comment>;\r\n\r\nFuncName = <Identifier>;\r\n\r\n"
            "FuncPathName = FuncName ('=' FuncName)*;");
}

TEST(MissionLexer, FormatsAreUniqueCourierStylesWithStoredColours) {
  const auto& d = MissionLexerData();
  ASSERT_EQ(d.Formats.size(), 14u);
  std::set<std::string> names;
  for (const auto& f : d.Formats) {
    EXPECT_TRUE(names.insert(f.DisplayName).second) << f.DisplayName;
    EXPECT_EQ(f.Font.Name, "Courier New");
    EXPECT_EQ(f.Font.HeightPx, 13);
    EXPECT_EQ(f.BgColor, kMissionClNone) << f.DisplayName;
    EXPECT_EQ(f.FormatType, TMissionFormatType::ftFontAttr);
  }
  // The colour values as the style files store them (red in the low byte).
  EXPECT_EQ(d.FindFormat("Compiler Enums")->Font.Color, 12615808u);
  EXPECT_EQ(d.FindFormat("Control Structures")->Font.Color, 6247480u);
  EXPECT_EQ(d.FindFormat("Comments")->Font.Color, 29440u);
  EXPECT_EQ(d.FindFormat("Data Types")->Font.Color, 0xFF0000u);  // pure blue

  const auto* pre = d.FindFormat("Preprocessor");
  EXPECT_EQ(pre->Font.Style, MissionBit(TMissionFontStyle::fsItalic));
  EXPECT_EQ(pre->FormatFlags, kMissionFlagsSix);
  EXPECT_EQ(d.FindFormat("Floats")->Font.Style, 0u);
  EXPECT_EQ(d.FindFormat("Floats")->FormatFlags, kMissionFlagsAll);
  EXPECT_EQ(kMissionFlagsAll, 0x3FFu);
}

TEST(MissionLexer, EveryReferenceNamesAnExistingItem) {
  const auto& d = MissionLexerData();
  std::set<std::string> styleUsers;
  for (const auto& r : d.TokenRules) {
    if (!r.StyleName.empty()) {
      EXPECT_NE(d.FindFormat(r.StyleName), nullptr) << r.DisplayName;
      styleUsers.insert(r.StyleName);
    }
    EXPECT_GE(r.TokenType, 0);
    EXPECT_LT(r.TokenType, static_cast<int>(d.TokenTypeNames.size())) << r.DisplayName;
  }
  for (const auto& b : d.BlockRules) {
    if (!b.StyleName.empty()) {
      EXPECT_NE(d.FindFormat(b.StyleName), nullptr) << b.DisplayName;
      styleUsers.insert(b.StyleName);
    }
    if (!b.BlockEnd.empty()) {
      EXPECT_NE(d.FindBlockRule(b.BlockEnd), nullptr) << b.DisplayName;
    }
    if (!b.BlockName.empty()) {
      EXPECT_NE(d.FindBlockRule(b.BlockName), nullptr) << b.DisplayName;
    }
    EXPECT_FALSE(b.ConditionList.empty()) << b.DisplayName << " could never match";
    for (const auto& c : b.ConditionList)
      EXPECT_EQ(c.TokenTypes >> d.TokenTypeNames.size(), 0u) << b.DisplayName;
    if (b.BlockType == TMissionBlockType::btTagDetect) {
      EXPECT_EQ(b.BlockOffset, 0) << b.DisplayName;
      EXPECT_TRUE(b.BlockEnd.empty()) << b.DisplayName;
    }
  }
  // Every style but one is used; the unused one is kept for lexer files.
  for (const auto& f : d.Formats)
    EXPECT_EQ(styleUsers.count(f.DisplayName) == 0, f.DisplayName == "Compiler Directives")
        << f.DisplayName;
}

TEST(MissionLexer, KeywordRulesClaimIdentifiersFromTheirOwnList) {
  const auto& d = MissionLexerData();
  for (const auto& list : KeywordLists()) {
    const auto* rule = d.FindBlockRule(list.Rule);
    ASSERT_NE(rule, nullptr) << list.Rule;
    EXPECT_EQ(rule->BlockType, TMissionBlockType::btTagDetect);
    ASSERT_EQ(rule->ConditionList.size(), 1u);
    const auto& c = rule->ConditionList[0];
    EXPECT_EQ(c.TagList.data(), list.Words.data()) << list.Rule;
    EXPECT_EQ(c.TagList.size(), list.Words.size());
    EXPECT_EQ(c.TokenTypes, MissionTypeBit(mttIdentifier));
    EXPECT_TRUE(c.IgnoreCase);
    EXPECT_EQ(c.CondType, TMissionCondType::tcEqual);
  }
}

TEST(MissionLexer, ConditionalAndCommentRangesPairUp) {
  const auto& d = MissionLexerData();
  ASSERT_EQ(d.BlockRules.size(), 11u);
  const auto* ifdef = d.FindBlockRule("#ifdef");
  const auto* endif = d.FindBlockRule("#endif");
  ASSERT_TRUE(ifdef && endif);
  EXPECT_EQ(ifdef->BlockType, TMissionBlockType::btRangeStart);
  EXPECT_EQ(ifdef->BlockEnd, endif->DisplayName);
  EXPECT_EQ(ifdef->CollapseFmt, "%s0");
  ASSERT_EQ(ifdef->ConditionList.size(), 1u);
  EXPECT_EQ(ifdef->ConditionList[0].CondType, TMissionCondType::tcMask);
  ASSERT_EQ(ifdef->ConditionList[0].TagList.size(), 1u);
  EXPECT_STREQ(ifdef->ConditionList[0].TagList[0], "\\#ifdef");
  EXPECT_EQ(endif->BlockType, TMissionBlockType::btRangeEnd);
  ASSERT_EQ(endif->ConditionList.size(), 1u);
  EXPECT_STREQ(endif->ConditionList[0].TagList[0], "#endif");
  EXPECT_EQ(endif->ConditionList[0].TokenTypes, MissionTypeBit(mttPreprocessor));

  const auto* open = d.FindBlockRule("Block comment");
  const auto* close = d.FindBlockRule("Block comment end");
  ASSERT_TRUE(open && close);
  EXPECT_EQ(open->BlockName, open->DisplayName);  // opens only outside its own range
  EXPECT_TRUE(open->NotParent);
  EXPECT_EQ(open->BlockEnd, close->DisplayName);
  EXPECT_EQ(close->BlockOffset, 1);
  ASSERT_EQ(close->ConditionList.size(), 2u);
  EXPECT_EQ(close->ConditionList[0].CondType, TMissionCondType::tcNotEqual);
  EXPECT_EQ(close->ConditionList[1].CondType, TMissionCondType::tcEqual);
  for (const auto& c : close->ConditionList) {
    EXPECT_TRUE(c.TagList.empty());
    EXPECT_EQ(c.TokenTypes, MissionTypeBit(mttComment));
  }
}

// Line breaks inside expressions must be CR LF; a bare LF would mean a raw
// literal's own newline leaked in.
TEST(MissionLexer, TokenRuleExpressionsAreExact) {
  const auto& d = MissionLexerData();
  ASSERT_EQ(d.TokenRules.size(), 10u);
  int alwaysEnabled = 0;
  for (const auto& r : d.TokenRules) {
    for (std::size_t i = 0; i < r.Expression.size(); ++i)
      if (r.Expression[i] == '\n') {
        EXPECT_TRUE(i > 0 && r.Expression[i - 1] == '\r') << r.DisplayName;
      }
    EXPECT_EQ(r.ColumnFrom, 0);
    EXPECT_EQ(r.ColumnTo, 0);
    alwaysEnabled += r.AlwaysEnabled ? 1 : 0;
  }
  EXPECT_EQ(alwaysEnabled, 1);
  EXPECT_TRUE(d.FindTokenRule("Comment 3")->AlwaysEnabled);
  EXPECT_EQ(d.FindTokenRule("String")->Expression, "'.*?('|$)\r\n");
  EXPECT_EQ(d.FindTokenRule("Comment 1")->Expression, "(?s)/\\*.*?(\\*/|\\Z)\r\n");
  EXPECT_EQ(d.FindTokenRule("Float")->Expression,
            "#with exp. dot is optional \r\n\\d+ \\.? \\d+ e [\\+\\-]? \\d+ |\r\n"
            "#without exp. dot is required\r\n\\d+ \\. \\d+");
  EXPECT_EQ(d.FindTokenRule("Symbol")->Expression, "[/\\*,\\.;:\\(\\)=<>\\+\\-\\[\\]]");
  EXPECT_EQ(d.FindTokenRule("Char")->Expression, "\\#(\\d+|\\$[\\da-f]+)");

  // Precedence the tokenizer relies on.
  auto index = [&](const char* name) { return d.FindTokenRule(name) - d.TokenRules.data(); };
  EXPECT_EQ(index("Variables"), 0);
  EXPECT_LT(index("Float"), index("Integer"));
  EXPECT_LT(index("Preprocessor"), index("Char"));
}

TEST(MissionLexer, CodeTemplatesAreNamedOnceAndHaveBodies) {
  const auto& t = MissionLexerData().CodeTemplates;
  ASSERT_EQ(t.size(), 24u);
  EXPECT_EQ(t.front().Name, "be");
  EXPECT_EQ(t.front().Description, "begin end");
  EXPECT_EQ(t.back().Name, "prop");
  EXPECT_EQ(t.back().Description, "property");
  std::set<std::string> names;
  for (const auto& e : t) {
    EXPECT_TRUE(names.insert(e.Name).second) << e.Name;
    EXPECT_FALSE(e.Description.empty()) << e.Name;
    EXPECT_FALSE(e.Code.empty()) << e.Name;
  }
}

// Upper-case words outside comments, strings and preprocessor lines: the
// vocabulary a script actually uses.
std::vector<std::string> CodeWords(const std::string& text) {
  std::vector<std::string> words;
  std::size_t i = 0;
  bool lineStart = true;
  while (i < text.size()) {
    char c = text[i];
    if (lineStart && c == '#') {
      while (i < text.size() && text[i] != '\n') ++i;
      continue;
    }
    if (c == '\n') { lineStart = true; ++i; continue; }
    if (c == ' ' || c == '\t' || c == '\r') { ++i; continue; }
    lineStart = false;
    if (text.compare(i, 2, "//") == 0) {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (text.compare(i, 2, "/*") == 0) {
      std::size_t end = text.find("*/", i + 2);
      i = end == std::string::npos ? text.size() : end + 2;
    } else if (c == '\'') {
      std::size_t end = text.find_first_of("'\n", i + 1);
      i = end == std::string::npos ? text.size() : end + 1;
    } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
      std::size_t start = i;
      while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) ++i;
      std::string w = text.substr(start, i - start);
      if (w == Upper(w) && w.size() > 1 && std::isalpha(static_cast<unsigned char>(w[0])))
        words.push_back(w);
    } else {
      ++i;
    }
  }
  return words;
}

TEST(TemplateScript, FortyLinesJoinedWithoutTrailingBreak) {
  auto lines = TemplateScriptLines();
  ASSERT_EQ(lines.size(), 40u);
  EXPECT_STREQ(lines.front(), "// Varnok Test Script");
  EXPECT_STREQ(lines.back(), "LEVELEND");
  EXPECT_STREQ(lines[19], "LEVELSTART");
  EXPECT_STREQ(lines[35], "     DO_NOWT");
  for (int blank : {3, 7, 10, 13, 16, 17, 18, 22, 23, 24, 29, 32, 38, 39})
    EXPECT_STREQ(lines[blank - 1], "") << "line " << blank;

  std::string text = TemplateScriptText();
  EXPECT_EQ(text.substr(0, 22), "// Varnok Test Script\r");
  EXPECT_EQ(text.substr(text.size() - 12), "\r\n\r\nLEVELEND");
  std::size_t breaks = 0;
  for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2)) ++breaks;
  EXPECT_EQ(breaks, 39u);
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
}

TEST(TemplateScript, NewUsesTemplateOnlyWhenEmptyScriptIsOff) {
  EXPECT_FALSE(NewScriptUsesTemplate(true));
  EXPECT_TRUE(NewScriptUsesTemplate(false));
  EXPECT_TRUE(NewScriptLines(true).empty());
  auto lines = NewScriptLines(false);
  ASSERT_EQ(lines.size(), 40u);
  EXPECT_EQ(lines[4], "GENERATOR rocket1 = (128.5,128.5) 0 COLLECT_02 0 0 99");
}

// The template and the shipped sample must use only words the lexer knows,
// so that a typo in either (or a keyword lost from a list) shows up.
TEST(ScriptVocabulary, TemplateAndSampleUseKnownKeywords) {
  auto owners = KeywordOwners();
  auto words = CodeWords(TemplateScriptText());
  EXPECT_GE(words.size(), 10u);
  for (const auto& w : words) EXPECT_TRUE(owners.count(w)) << "template: " << w;
  EXPECT_EQ(owners["GENERATOR"], "Data Types");
  EXPECT_EQ(owners["COLLECT_02"], "Enums");
  EXPECT_EQ(owners["SWITCH_GENERATOR"], "Functions");
  EXPECT_EQ(owners["WHILE_EXEC"], "Control Structs");
  EXPECT_EQ(owners["LEVELSTART"], "Game Loops");
  EXPECT_EQ(owners["PSX"], "CompilerEnums");

  const char* dir = std::getenv("PENWICK_SOURCE_DIR");
  if (!dir) GTEST_SKIP() << "PENWICK_SOURCE_DIR not set";
  std::ifstream in(std::string(dir) + "/examples/sample.mis", std::ios::binary);
  ASSERT_TRUE(in) << "examples/sample.mis missing";
  std::stringstream buffer;
  buffer << in.rdbuf();
  auto sampleWords = CodeWords(buffer.str());
  std::set<std::string> rulesShown;
  for (const auto& w : sampleWords) {
    ASSERT_TRUE(owners.count(w)) << "sample: " << w;
    rulesShown.insert(owners[w]);
  }
  // The sample shows every kind of keyword except the compiler targets, which
  // only appear on preprocessor lines.
  EXPECT_EQ(rulesShown.size(), 6u);
}

}  // namespace
}  // namespace penwick
