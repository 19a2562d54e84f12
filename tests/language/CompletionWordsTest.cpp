// Checks the completion word list, the rule that opens the list while typing, and the keyword test.
#include "language/CompletionWords.h"

#include "language/MissionLexerData.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

namespace penwick {
namespace {

TEST(AutoCompleteWords, ShapeAndDuplicates) {
  auto words = AutoCompleteWords();
  ASSERT_EQ(words.size(), 301u);
  std::map<std::string, int> counts;
  for (const char* word : words) {
    const std::string w = word;
    ++counts[w];
    EXPECT_GE(w.size(), 4u) << w;
    EXPECT_LE(w.size(), 39u) << w;
    EXPECT_TRUE(std::all_of(w.begin(), w.end(), [](char c) { return (c >= 'A' && c <= 'Z') || c == '_'; })) << w;
  }
  EXPECT_EQ(counts.size(), 297u);
  for (const auto& [word, count] : counts) {
    const int expected = word == "LEVEL_END_POINT_ARROW_AT" ? 3 : word == "LEVELSTART" || word == "LEVELEND" ? 2 : 1;
    EXPECT_EQ(count, expected) << word;
  }
  // The triple stands in a row; the pairs stand once near each end of the list.
  auto triple = std::search_n(words.begin(), words.end(), 3, std::string_view("LEVEL_END_POINT_ARROW_AT"),
                              [](const char* a, std::string_view b) { return a == b; });
  EXPECT_NE(triple, words.end());
  for (std::string_view pair : {"LEVELSTART", "LEVELEND"}) {
    auto first = std::find_if(words.begin(), words.end(), [&](const char* w) { return w == pair; });
    auto last = std::find_if(words.rbegin(), words.rend(), [&](const char* w) { return w == pair; });
    EXPECT_LT(first - words.begin(), 20) << pair;
    EXPECT_LT(last - words.rbegin(), 20) << pair;
  }
  EXPECT_STREQ(words.front(), "CAR_DATA");
  EXPECT_STREQ(words.back(), "DESTRUCTOR");
}

TEST(CompletionTrigger, OpensOnlyForALetterStartingAWord) {
  const TCodePage& cp = TCodePage::Default();
  const std::optional<char> start;  // no character before: the start of the text
  struct TCase {
    const char* Name;
    bool Enabled, FlagCopy;
    int Pos, Count;
    char Inserted;
    std::optional<char> Before;
    bool Opens;
  };
  const TCase cases[] = {
      {"letter after a blank", true, false, 5, 1, 's', ' ', true},
      {"upper-case letter after a bracket", true, false, 5, 1, 'S', '(', true},
      {"letter after an operator", true, false, 5, 1, 'x', '=', true},
      {"letter after a tab", true, false, 5, 1, 'x', '\t', true},
      {"letter after a line break", true, false, 5, 1, 'x', '\n', true},
      {"letter at the text start", true, false, 0, 1, 'l', start, true},
      {"letter after a letter", true, false, 5, 1, 'e', 's', false},
      {"letter after a digit", true, false, 5, 1, 'e', '1', false},
      {"letter after an underscore", true, false, 5, 1, 'e', '_', false},
      {"letter after a code-page letter", true, false, 5, 1, 'e', static_cast<char>(0xE9), false},
      {"letter after a code-page symbol", true, false, 5, 1, 'e', static_cast<char>(0xA7), true},
      {"digit after a blank", true, false, 5, 1, '1', ' ', false},
      {"underscore after a blank", true, false, 5, 1, '_', ' ', false},
      {"code-page letter after a blank", true, false, 5, 1, static_cast<char>(0xE9), ' ', false},
      {"two characters pasted", true, false, 5, 2, 's', ' ', false},
      {"a deletion", true, false, 5, -1, 's', ' ', false},
      {"the whole text changed", true, false, -1, 1, 's', start, false},
      {"completion switched off", false, false, 5, 1, 's', ' ', false},
      {"on a declaration line", true, true, 5, 1, 's', ' ', false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(CompletionTriggerOpens(c.Enabled, c.FlagCopy, c.Pos, c.Count, c.Inserted, c.Before, cp), c.Opens)
        << c.Name;
}

TEST(MissionKeyword, CompleteKeywordsOfEveryListWithoutRegardToCase) {
  for (const char* word : {"SET", "IF", "END", "LEVELSTART", "set", "If", "eNd", "OR", "AND", "NOT", "DO"})
    EXPECT_TRUE(IsMissionKeyword(word)) << word;
  for (const char* word : {"", "SE", "SET_ALL_CONTROLS_STATUS_X", "SET ", " SET", "ENDE", "LEVELSTAR"})
    EXPECT_FALSE(IsMissionKeyword(word)) << word;
  // Each of the seven lists feeds the lookup, in either case.
  for (TMissionTagList list : {MissionCompilerTargets(), MissionControlWords(), MissionLevelBrackets(),
                               MissionDeclarationTypes(), MissionConditionCommands(), MissionCommands(),
                               MissionConstants()}) {
    for (const char* word : list) {
      std::string upper = word, lower = word;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      EXPECT_TRUE(IsMissionKeyword(upper)) << upper;
      EXPECT_TRUE(IsMissionKeyword(lower)) << lower;
    }
  }
}

}  // namespace
}  // namespace penwick
