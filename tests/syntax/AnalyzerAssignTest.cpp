// Copying a lexer definition into another: the copy saves to the source's
// text whatever the target held before, refers only to its own items, and
// the analyses bound to it start again with the new rules and styles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "language/MissionLexer.h"
#include "language/MissionPalette.h"
#include "support/TestFiles.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {
namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return fs::path(root ? root : ".");
}

TLexerErrorHandler FailOnError() {
  return [](const std::string& message) {
    ADD_FAILURE() << message;
    return true;
  };
}

using TBuild = std::function<void(TSyntAnalyzer&)>;

TBuild FromFile(const char* name) {
  return [name](TSyntAnalyzer& a) { a.LoadFromText(ReadFile(SourceDir() / "themes" / name), FailOnError()); };
}

// A definition that differs from a new one wherever the shipped files do
// not: the design position, Tag, every switch, a marked-block style of
// another name, the other named styles, notes, an empty string list of
// token type names, a code template and a block rule with conditions.
const char* const kOddText =
    "object syntnlyzr1: TSyntAnalyzer\r\n"
    "  Tag = 7\r\n"
    "  Formats = <\r\n"
    "    item\r\n"
    "      DisplayName = 'Plain'\r\n"
    "      Font.Color = clRed\r\n"
    "      Font.Style = [fsBold]\r\n"
    "      FormatFlags = [ffBold, ffItalic]\r\n"
    "    end\r\n"
    "    item\r\n"
    "      DisplayName = 'Selection'\r\n"
    "      BgColor = clNavy\r\n"
    "      FormatType = ftColor\r\n"
    "      BorderTypeTop = blWavyLine\r\n"
    "      BorderColorTop = clLime\r\n"
    "      ChangeCase = ccUpper\r\n"
    "    end>\r\n"
    "  TokenRules = <\r\n"
    "    item\r\n"
    "      DisplayName = 'Word'\r\n"
    "      StyleName = 'Plain'\r\n"
    "      BlockName = 'Brace'\r\n"
    "      Expression = '\\w+'\r\n"
    "      TokenType = 2\r\n"
    "    end>\r\n"
    "  BlockRules = <\r\n"
    "    item\r\n"
    "      DisplayName = 'Brace'\r\n"
    "      StyleName = 'Selection'\r\n"
    "      ConditionList = <\r\n"
    "        item\r\n"
    "          TagList.Strings = (\r\n"
    "            '{')\r\n"
    "        end>\r\n"
    "      BlockEnd = 'Brace end'\r\n"
    "    end\r\n"
    "    item\r\n"
    "      DisplayName = 'Brace end'\r\n"
    "      BlockType = btRangeEnd\r\n"
    "      ConditionList = <\r\n"
    "        item\r\n"
    "          TagList.Strings = (\r\n"
    "            '}')\r\n"
    "        end>\r\n"
    "    end>\r\n"
    "  CodeTemplates = <\r\n"
    "    item\r\n"
    "      Name = 'if'\r\n"
    "      Code.Strings = (\r\n"
    "        'if | then')\r\n"
    "      Advanced = True\r\n"
    "    end>\r\n"
    "  SampleText.Strings = (\r\n"
    "    'one { two }')\r\n"
    "  TokenTypeNames.Strings = ()\r\n"
    "  MarkedBlockStyle = 'Selection'\r\n"
    "  SearchMatchStyle = 'Selection'\r\n"
    "  CurrentLineStyle = 'Plain'\r\n"
    "  DefaultStyleName = 'Plain'\r\n"
    "  CollapseStyleName = 'Selection'\r\n"
    "  Extentions = 'odd'\r\n"
    "  LexerName = 'Odd'\r\n"
    "  SkipSpaces = False\r\n"
    "  FullRefreshSize = 40\r\n"
    "  Notes.Strings = (\r\n"
    "    'a note')\r\n"
    "  Internal = True\r\n"
    "  RestartFromLineStart = True\r\n"
    "  ParseEndOfLine = True\r\n"
    "  LineComment = '#'\r\n"
    "  AlwaysSyncBlockAnal = True\r\n"
    "  Left = 12\r\n"
    "  Top = 34\r\n"
    "end\r\n";

struct TNamedBuild {
  const char* Name;
  TBuild Build;
};

std::vector<TNamedBuild> Sources() {
  return {{"new definition", [](TSyntAnalyzer&) {}},
          {"mis2.lcf", FromFile("mis2.lcf")},
          {"Dark.lcf", FromFile("Dark.lcf")},
          {"Tallowby.lcf", FromFile("Tallowby.lcf")},
          {"built-in rules", [](TSyntAnalyzer& a) { BuildMissionLexer(a); }},
          {"built-in palette", [](TSyntAnalyzer& a) { BuildDefaultMissionLexer(a); }},
          {"odd switches", [](TSyntAnalyzer& a) { a.LoadFromText(kOddText, FailOnError()); }}};
}

// Targets that already hold something the source may not have.
std::vector<TNamedBuild> Targets() {
  return {{"new definition", [](TSyntAnalyzer&) {}},
          {"Dark.lcf", FromFile("Dark.lcf")},
          {"odd switches", [](TSyntAnalyzer& a) { a.LoadFromText(kOddText, FailOnError()); }},
          {"extra styles", [](TSyntAnalyzer& a) {
             BuildDefaultMissionLexer(a);
             a.Formats().Add()->SetDisplayName("Extra");
             a.SetSearchMatchStyle("Extra");
             a.SetSampleText({"left over"});
           }}};
}

std::unique_ptr<TSyntAnalyzer> Make(const TBuild& build) {
  auto a = std::make_unique<TSyntAnalyzer>();
  a->SetName("syntnlyzr1");
  build(*a);
  return a;
}

bool Owns(const TSyntAnalyzer& a, const TSyntaxFormat* style) {
  return style == nullptr || a.Formats().IndexOf(style) >= 0;
}

// Every reference of `a` to a style or block rule is to one of its own items.
void ExpectOwnReferences(const TSyntAnalyzer& a) {
  for (const TSyntaxFormat* style : {a.MarkedBlock(), a.SearchMatch(), a.CurrentLine(), a.DefaultStyle(), a.CollapseStyle()})
    EXPECT_TRUE(Owns(a, style));
  for (int i = 0; i < a.TokenRules().Count(); ++i) {
    const TTokenRule* rule = a.TokenRules()[i];
    EXPECT_TRUE(Owns(a, rule->Style())) << rule->DisplayName();
    EXPECT_TRUE(rule->Block() == nullptr || a.BlockRules().IndexOf(rule->Block()) >= 0) << rule->DisplayName();
  }
  for (int i = 0; i < a.BlockRules().Count(); ++i) {
    const TTagBlockCondition* rule = a.BlockRules()[i];
    EXPECT_TRUE(Owns(a, rule->Style())) << rule->DisplayName();
    EXPECT_TRUE(rule->BlockEndRule() == nullptr || a.BlockRules().IndexOf(rule->BlockEndRule()) >= 0) << rule->DisplayName();
  }
}

TEST(AnalyzerAssign, EveryTargetSavesToTheSourcesTextAndKeepsOnlyItsOwnReferences) {
  for (const TNamedBuild& s : Sources()) {
    for (const TNamedBuild& t : Targets()) {
      SCOPED_TRACE(std::string(s.Name) + " into " + t.Name);
      auto source = Make(s.Build);
      const std::string want = source->SaveToText();
      // The references the source resolves, by name, to compare after it is gone.
      const std::string defaultName = source->DefaultStyleName(), markedName = source->MarkedBlockStyle();
      auto target = Make(t.Build);
      target->Assign(*source);
      EXPECT_EQ(target->SaveToText(), want);
      source.reset();
      ExpectOwnReferences(*target);
      EXPECT_EQ(target->DefaultStyleName(), defaultName);
      EXPECT_EQ(target->MarkedBlockStyle(), markedName);
      // A copy of the copy is the same again: nothing is lost in a second pass.
      TSyntAnalyzer again;
      again.SetName("syntnlyzr1");
      again.Assign(*target);
      EXPECT_EQ(again.SaveToText(), want);
    }
  }
}

TEST(AnalyzerAssign, KeepsTheTargetsNameAndIgnoresItself) {
  auto source = Make(FromFile("mis2.lcf"));
  TSyntAnalyzer target;
  target.SetName("copy");
  target.Assign(*source);
  EXPECT_EQ(target.Name(), "copy");
  EXPECT_EQ(target.SaveToText().substr(0, 30), "object copy: TSyntAnalyzer\r\n  ");

  const std::string before = source->SaveToText();
  TStringTextSource text("levelstart // note\r\n");
  auto client = source->CreateClient(&text, nullptr);
  client->AnalyzeAll();
  ASSERT_TRUE(client->Finished());
  const TSyntaxFormat* firstStyle = source->Formats()[0];
  source->Assign(*source);
  EXPECT_EQ(source->SaveToText(), before);
  EXPECT_EQ(source->Formats()[0], firstStyle) << "a self-assignment replaced the items";
  EXPECT_TRUE(client->Finished()) << "a self-assignment reset the analysis";
}

TEST(AnalyzerAssign, ChangingTheCopyLeavesTheSourceAlone) {
  auto source = Make(FromFile("Tallowby.lcf"));
  const std::string before = source->SaveToText();
  TSyntAnalyzer copy;
  copy.SetName("syntnlyzr1");
  copy.Assign(*source);
  copy.Formats()[1]->Font.Color = 0x123456;
  copy.Formats()[1]->FormatFlags = 0;
  copy.Formats()[1]->SetDisplayName("Renamed");
  copy.TokenRules()[0]->SetExpression("x");
  copy.BlockRules()[0]->ConditionList()[0]->SetTagList({"changed"});
  copy.CodeTemplates()[0]->Code = {"changed"};
  copy.SetSampleText({"changed"});
  copy.SetSkipSpaces(!copy.SkipSpaces());
  copy.Formats().Delete(0);
  EXPECT_EQ(source->SaveToText(), before);
}

// The styles a client draws its tokens in, as (style index, font colour).
std::vector<std::pair<int, std::uint32_t>> DrawnStyles(const TSyntAnalyzer& a, TClientSyntAnalyzer& client) {
  std::vector<std::pair<int, std::uint32_t>> out;
  for (int i = 0; i < client.TokenCount(); ++i) {
    const TSyntaxFormat* style = client.TokenStyle(i);
    EXPECT_TRUE(Owns(a, style));
    out.emplace_back(style ? a.Formats().IndexOf(style) : -1, style ? style->Font.Color : 0);
  }
  return out;
}

TEST(AnalyzerAssign, ResetsTheTargetsClientsWhichThenDrawInTheNewStyles) {
  const std::string script = ReadFile(SourceDir() / "examples" / "sample.mis");
  ASSERT_FALSE(script.empty());
  // What a definition freshly loaded from Tallowby.lcf draws.
  auto reference = Make(FromFile("Tallowby.lcf"));
  TStringTextSource referenceText(script);
  auto referenceClient = reference->CreateClient(&referenceText, nullptr);
  referenceClient->AnalyzeAll();
  const auto want = DrawnStyles(*reference, *referenceClient);
  ASSERT_FALSE(want.empty());

  auto target = Make(FromFile("Dark.lcf"));
  TStringTextSource text(script);
  auto client = target->CreateClient(&text, nullptr);
  client->AnalyzeAll();
  ASSERT_GT(client->TokenCount(), 0);
  const auto dark = DrawnStyles(*target, *client);
  ASSERT_NE(dark, want) << "the two themes must draw differently for this test to mean anything";

  {
    auto source = Make(FromFile("Tallowby.lcf"));
    target->Assign(*source);
  }
  EXPECT_EQ(client->TokenCount(), 0) << "the client kept tokens of the old rules";
  EXPECT_FALSE(client->Finished());
  client->AnalyzeAll();
  EXPECT_EQ(DrawnStyles(*target, *client), want);
}

}  // namespace
}  // namespace penwick::test
