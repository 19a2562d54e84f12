// Lexer files: the text form read and written, and a definition loaded from
// and saved to it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>

#include <unistd.h>

#include "platform/FileErrors.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "syntax/StreamProperties.h"
#include "syntax/StreamTextParser.h"
#include "syntax/StreamTextWriter.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {
namespace {

namespace fs = std::filesystem;

fs::path DataDir() {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return fs::path(root ? root : ".") / "tests" / "data" / "lexer";
}

// Compares `actual` with the expected file beside `input`; with
// PENWICK_REGENERATE set, writes it instead (see tests/data/lexer/regenerate.sh).
void ExpectGolden(const fs::path& expected, const std::string& actual) {
  if (std::getenv("PENWICK_REGENERATE")) WriteFile(expected, actual);
  const std::string want = ReadFile(expected);
  ASSERT_FALSE(want.empty()) << expected << " is missing; run tests/data/lexer/regenerate.sh";
  EXPECT_EQ(want, actual) << "see " << expected;
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

// Every error of a load is collected and skipped.
struct TErrorLog {
  std::vector<std::string> Messages;
  TLexerErrorHandler Handler() {
    return [this](const std::string& message) {
      Messages.push_back(message);
      return true;
    };
  }
};

// A small definition built in code: two styles, rules naming them, a
// block rule, a grammar and a switch that differs from its default.
void BuildSmall(TSyntAnalyzer& a) {
  a.SetName("syntnlyzr1");
  a.BeginLoading();
  a.Formats().Clear();
  for (const char* name : {"Words", "Numbers"}) a.Formats().Add()->SetDisplayName(name);
  TTokenRule* word = a.TokenRules().Add();
  word->SetDisplayName("Word");
  word->SetStyleName("Words");
  word->SetExpression("[a-z]+");
  word->SetTokenType(2);
  TTokenRule* number = a.TokenRules().Add();
  number->SetDisplayName("Number");
  number->SetStyleName("Numbers");
  number->SetExpression("\\d+");
  TTagBlockCondition* keyword = a.BlockRules().Add();
  keyword->SetDisplayName("Keyword");
  keyword->SetStyleName("Words");
  keyword->SetBlockType(btTagDetect);
  keyword->ConditionList().Add()->SetTagList({"if", "then"});
  a.SetGrammaText("Name = <Identifier>;");
  a.SetSkipSpaces(false);
  a.EndLoading();
}

TEST(StreamText, EveryValueFormReadsAndPrintsAsTheGoldenText) {
  const TStreamObject tree = ParseStreamText(ReadFile(DataDir() / "forms.lcf"));
  EXPECT_EQ(tree.Keyword, "inherited");
  EXPECT_EQ(tree.Name, "");
  EXPECT_EQ(tree.ClassName, "TSyntAnalyzer");
  EXPECT_EQ(tree.Position, 3);
  ASSERT_EQ(tree.Children.size(), 1u);
  EXPECT_EQ(tree.Children[0].Children.size(), 1u);
  ExpectGolden(DataDir() / "forms.expected", WriteStreamText(tree));
  // The printed form reads back to the same tree.
  EXPECT_EQ(WriteStreamText(ParseStreamText(WriteStreamText(tree))), WriteStreamText(tree));
}

TEST(StreamText, StringsJoinCodesAndConvertWideCharactersToTheCodePage) {
  const TStreamObject tree = ParseStreamText(ReadFile(DataDir() / "forms.lcf"));
  auto text = [&](const std::string& path) {
    for (const TStreamProperty& p : tree.Properties)
      if (p.Path == path) return p.Value.Text;
    return std::string("<missing>");
  };
  EXPECT_EQ(text("Quote"), "it's");
  EXPECT_EQ(text("Codes"), "'x\r\ny\t");
  EXPECT_EQ(text("Joined"), "first second third");
  // é and € exist in Windows-1252, the Hiragana letter does not.
  EXPECT_EQ(text("Wide"), "caf\xE9 \x80 ?");
  // A surrogate pair is one character, which the code page lacks.
  EXPECT_EQ(text("Pair"), "?");
  EXPECT_EQ(text("Raw"), std::string("\x00\xff\x10\x20", 4));
}

TEST(StreamText, SyntaxErrorsNameTheProblemAndTheLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"objects X: TSyntAnalyzer\r\nend\r\n", "Object, inherited or inline expected on line 1"},
      {"\r\n\r\n  Formats = <>\r\nend", "Object, inherited or inline expected on line 3"},
      {Lines({"object X: T", "  A = 'open", "end"}), "Invalid string constant on line 2"},
      {Lines({"object X: T", "  A = 'one' +", "  B = 1", "end"}), "String expected on line 3"},
      {Lines({"object X: T", "  A 1", "end"}), "'=' expected on line 2"},
      {Lines({"object X: T", "  A = #", "end"}), "Invalid string constant on line 2"},
      {Lines({"object X: T", "  A = #70000", "end"}), "Invalid string constant on line 2"},
      {Lines({"object X: T", "  A = 99999999999999999999", "end"}), "Number out of range on line 2"},
      {Lines({"object X: T", "  A = <", "    item", "      B = 1"}), "Unexpected end of file on line 5"},
      {Lines({"object X: T", "  A = { 0 }", "end"}), "Invalid binary value on line 2"},
      {Lines({"object X: T", "end", "object Y: T", "end"}), "Text after the end of the object on line 3"},
      {Lines({"object X: T", "  A = )", "end"}), "Invalid property value on line 2"},
  };
  for (const auto& [text, message] : cases) {
    try {
      ParseStreamText(text);
      ADD_FAILURE() << "no error for: " << text;
    } catch (const EStreamSyntaxError& e) {
      EXPECT_EQ(e.what(), message);
    }
  }
}

TEST(StreamText, FilesBuiltToExhaustTheReaderStopAtItsLimits) {
  TStreamTextLimits limits;
  std::string deep = "object X: T\r\n  A = ";
  for (int i = 0; i < 100000; ++i) deep += '(';
  EXPECT_THROW(ParseStreamText(deep), EStreamSyntaxError);  // no stack overflow
  std::string many = "object X: T\r\n  A = <";
  for (int i = 0; i <= limits.MaxItems; ++i) many += "item end ";
  many += ">\r\nend\r\n";
  try {
    ParseStreamText(many);
    ADD_FAILURE() << "too many items were accepted";
  } catch (const EStreamSyntaxError& e) {
    EXPECT_STREQ(e.what(), "Too many items on line 2");
  }
  limits.MaxValues = 5;
  EXPECT_THROW(ParseStreamText("object X: T A = (1 2 3 4 5 6) end", limits), EStreamSyntaxError);
}

TEST(StreamText, LongStringsAreSplitIntoQuotedPartsOfAtMost64Characters) {
  TStreamObject object;
  object.ClassName = "T";
  std::string longText(150, 'a');
  longText[70] = '\'';
  object.Properties.push_back({"Long", TStreamValue::MakeString(longText), 0});
  object.Properties.push_back({"Lines", TStreamValue::MakeString("one\r\ntwo"), 0});
  const std::string text = WriteStreamText(object);
  EXPECT_EQ(text.substr(0, 22), "object T\r\n  Long =\r\n  ");
  for (std::size_t at = text.find('\''); at != std::string::npos;) {
    const std::size_t close = text.find('\'', at + 1);
    ASSERT_NE(close, std::string::npos);
    EXPECT_LE(close - at - 1, 64u) << text;
    at = text.find('\'', close + 1);
  }
  EXPECT_NE(text.find("'one'#13#10 +\r\n    'two'"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 5), "end\r\n");
  const TStreamObject back = ParseStreamText(text);
  EXPECT_EQ(back.Properties[0].Value.Text, longText);
  EXPECT_EQ(back.Properties[1].Value.Text, "one\r\ntwo");
}

TEST(StreamText, AnyByteStringSurvivesWritingAndReading) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 300; ++round) {
    std::string s(random() % 200, '\0');
    for (char& c : s) c = static_cast<char>(random() % 256);
    TStreamObject object;
    object.ClassName = "T";
    object.Properties.push_back({"S", TStreamValue::MakeString(s), 0});
    object.Properties.push_back({"L", TStreamValue::MakeList({TStreamValue::MakeString(s), TStreamValue::MakeString(s)}), 0});
    const TStreamObject back = ParseStreamText(WriteStreamText(object));
    ASSERT_EQ(back.Properties[0].Value.Text, s);
    ASSERT_EQ(back.Properties[1].Value.List.at(1).Text, s);
  }
}

TEST(LexerFile, EveryPropertyIsReadAndWrittenBackAsTheGoldenText) {
  TSyntAnalyzer a;
  TErrorLog log;
  a.LoadFromText(ReadFile(DataDir() / "every-property.lcf"), log.Handler());
  EXPECT_TRUE(log.Messages.empty()) << log.Messages.front();
  // References made while loading are resolved at its end.
  EXPECT_EQ(a.TokenRules()[0]->Style(), a.Formats()[0]);
  EXPECT_EQ(a.TokenRules()[0]->Block(), a.BlockRules()[0]);
  EXPECT_EQ(a.BlockRules()[0]->BlockEndRule(), a.BlockRules()[1]);
  EXPECT_NE(a.BlockRules()[0]->GrammaRule(), nullptr);
  EXPECT_EQ(a.DefaultStyle(), a.Formats()[0]);
  EXPECT_EQ(a.MarkedBlock(), a.Formats()[1]);
  // The size in points becomes the height in pixels at 96 dpi.
  EXPECT_EQ(a.Formats()[0]->Font.Height, -16);
  EXPECT_EQ(a.BlockRules()[0]->ConditionList()[0]->TagList(), (std::vector<std::string>{"begin"}));
  EXPECT_FALSE(a.Loading());
  const std::string saved = a.SaveToText();
  ExpectGolden(DataDir() / "every-property.expected", saved);
  TSyntAnalyzer again;
  again.LoadFromText(saved, log.Handler());
  EXPECT_EQ(again.SaveToText(), saved);
}

TEST(LexerFile, SavingWritesDefaultsOnlyWhereTheyAreAlwaysStored) {
  TSyntAnalyzer a;
  a.TokenRules().Add()->SetDisplayName("Rule");
  const std::string text = a.SaveToText();
  EXPECT_EQ(text, Lines({"object TSyntAnalyzer", "  Formats = <", "    item", "      DisplayName = 'Marked block'",
                         "      Font.Charset = DEFAULT_CHARSET", "      Font.Color = clHighlightText",
                         "      Font.Height = -13", "      Font.Name = 'Courier New'", "      Font.Style = []",
                         "      BgColor = clHighlight", "      FormatType = ftColor", "    end>", "  TokenRules = <",
                         "    item", "      DisplayName = 'Rule'", "      ColumnFrom = 0", "      ColumnTo = 0", "    end>",
                         "  BlockRules = <>", "  CodeTemplates = <>", "  SubAnalyzers = <>", "  TokenTypeNames.Strings = (",
                         "    'Unknown'", "    'Comment'", "    'Identifier'", "    'Symbol'", "    'String'",
                         "    'Integer const'", "    'Float const'", "    'Hex const'", "    'Char const'",
                         "    'Preprocessor')", "end"}));
}

TEST(LexerFile, AStylesOnlyFileReattachesRulesByNameAndDropsVanishedStyles) {
  TSyntAnalyzer a;
  BuildSmall(a);
  TErrorLog log;
  a.LoadFromText(Lines({"object syntnlyzr1: TSyntAnalyzer", "  Formats = <", "    item", "      DisplayName = 'Words'",
                        "      Font.Color = clRed", "    end", "    item", "      DisplayName = 'Other'", "    end>", "end"}),
                 log.Handler());
  EXPECT_TRUE(log.Messages.empty());
  ASSERT_EQ(a.Formats().Count(), 2);
  EXPECT_EQ(a.TokenRules().Count(), 2);
  EXPECT_EQ(a.BlockRules().Count(), 1);
  EXPECT_EQ(a.TokenRules()[0]->Style(), a.Formats()[0]);
  EXPECT_EQ(a.TokenRules()[0]->Style()->Font.Color, 255u);
  EXPECT_EQ(a.BlockRules()[0]->Style(), a.Formats()[0]);
  EXPECT_EQ(a.TokenRules()[1]->Style(), nullptr);
  EXPECT_EQ(a.TokenRules()[1]->StyleName(), "");
  EXPECT_EQ(a.Gramma().Gramma(), "Name = <Identifier>;");
  EXPECT_FALSE(a.SkipSpaces());
}

TEST(LexerFile, AnEmptyCollectionLeavesItsCollectionAlone) {
  TSyntAnalyzer a;
  BuildSmall(a);
  const std::string before = a.SaveToText();
  a.LoadFromText(Lines({"object X: TSyntAnalyzer", "  SubAnalyzers = <>", "  TokenRules = <>", "  BlockRules = <>", "end"}),
                 nullptr);
  EXPECT_EQ(a.SaveToText(), before);
}

TEST(LexerFile, ARepeatedTagIsKeptOnceInSortedOrder) {
  TSyntAnalyzer a;
  a.LoadFromText(Lines({"object X: TSyntAnalyzer", "  BlockRules = <", "    item", "      ConditionList = <", "        item",
                        "          TagList.Strings = (", "            'then'", "            'if'", "            'then'",
                        "            'else')", "        end>", "    end>", "end"}),
                 nullptr);
  EXPECT_EQ(a.BlockRules()[0]->ConditionList()[0]->TagList(), (std::vector<std::string>{"else", "if", "then"}));
}

TEST(LexerFile, ColoursAreNumbersOrNamesAndAnUnknownNameIsAPropertyError) {
  TSyntAnalyzer a;
  TErrorLog log;
  a.LoadFromText(Lines({"object X: TSyntAnalyzer", "  Formats = <", "    item", "      Font.Color = 12615808", "      BgColor = clBlack",
                        "    end", "    item", "      Font.Color = clwindowtext", "      BgColor = clPink", "    end>", "end"}),
                 log.Handler());
  EXPECT_EQ(a.Formats()[0]->Font.Color, 12615808u);
  EXPECT_EQ(a.Formats()[0]->BgColor, 0u);
  EXPECT_EQ(a.Formats()[1]->Font.Color, clWindowText);
  EXPECT_EQ(a.Formats()[1]->BgColor, clNone);  // the default stays
  EXPECT_EQ(log.Messages, (std::vector<std::string>{"Error reading TSyntaxFormat.BgColor: Invalid property value"}));
}

TEST(LexerFile, PropertyErrorsNameTheOwnerThePathAndTheCause) {
  TSyntAnalyzer a;
  a.SetName("syntnlyzr1");
  TErrorLog log;
  a.LoadFromText(Lines({"object Other: TWhatever", "  Foo = 1", "  SkipSpaces = 1", "  Formats = <", "    item",
                        "      Font.Foo = 1", "      Enabled.Value = True", "      Font = 3", "      VertAlignment = vaMiddle",
                        "      FormatFlags = [ffBold, ffFoo]", "    end>", "  SubAnalyzers = <", "    item", "    end>",
                        "  LexerName = nil", "end"}),
                 log.Handler());
  EXPECT_EQ(log.Messages, (std::vector<std::string>{
                              "Error reading syntnlyzr1.Foo: Property Foo does not exist",
                              "Error reading syntnlyzr1.SkipSpaces: Invalid property value",
                              "Error reading TSyntaxFormat.Font.Foo: Property Foo does not exist",
                              "Error reading TSyntaxFormat.Enabled.Value: Invalid property path",
                              "Error reading TSyntaxFormat.Font: Invalid property value",
                              "Error reading TSyntaxFormat.VertAlignment: Invalid property value",
                              "Error reading TSyntaxFormat.FormatFlags: Invalid property value",
                              "Error reading syntnlyzr1.SubAnalyzers: Invalid property value",
                              "Error reading syntnlyzr1.LexerName: Invalid property value",
                          }));
  // Without a name of its own the definition is named by its class.
  TSyntAnalyzer unnamed;
  log.Messages.clear();
  unnamed.LoadFromText("object X: TSyntAnalyzer Foo = 1 end", log.Handler());
  EXPECT_EQ(log.Messages, (std::vector<std::string>{"Error reading TSyntAnalyzer.Foo: Property Foo does not exist"}));
}

TEST(LexerFile, TheIgnoreQuestionAllHoldsForTheRestOfOneLoadAndNoStopsIt) {
  const std::string text = Lines({"object X: TSyntAnalyzer", "  Formats = <", "    item", "      Foo = 1", "      Bar = 2",
                                  "    end>", "  LexerName = 'after'", "end"});
  const std::string fooError = "Error reading TSyntaxFormat.Foo: Property Foo does not exist";
  TScriptedDialogs dialogs;
  TSyntAnalyzer a;
  dialogs.AnswerIgnoreError(TDialogAnswer::All);
  std::istringstream first(text);
  a.LoadFromStream(first, &dialogs);
  ASSERT_EQ(dialogs.Asked("IgnoreError").size(), 1u);
  EXPECT_EQ(dialogs.Asked("IgnoreError")[0].Text, fooError);
  EXPECT_EQ(dialogs.Asked("IgnoreError")[0].Caption, "Error");
  EXPECT_EQ(a.LexerName(), "after");
  // The next load asks again: Yes goes on to the next error, No stops there.
  dialogs.ClearAsked();
  dialogs.AnswerIgnoreError(TDialogAnswer::Yes);
  dialogs.AnswerIgnoreError(TDialogAnswer::No);
  TSyntAnalyzer b;
  std::istringstream second(text);
  try {
    b.LoadFromStream(second, &dialogs);
    ADD_FAILURE() << "No did not stop the load";
  } catch (const EStreamReadError& e) {
    EXPECT_STREQ(e.what(), "Error reading TSyntaxFormat.Bar: Property Bar does not exist");
  }
  EXPECT_EQ(dialogs.Asked("IgnoreError").size(), 2u);
  EXPECT_TRUE(dialogs.AllAnswered());
  // What came before the stop was applied, what came after was not; the
  // definition is not left loading.
  EXPECT_EQ(b.Formats().Count(), 1);
  EXPECT_EQ(b.LexerName(), "");
  EXPECT_FALSE(b.Loading());
  // Without anyone to ask, the first error stops the load.
  TSyntAnalyzer c;
  EXPECT_THROW(c.LoadFromText(text, nullptr), EStreamReadError);
}

TEST(LexerFile, ASyntaxErrorChangesNothing) {
  TSyntAnalyzer a;
  BuildSmall(a);
  const std::string before = a.SaveToText();
  try {
    a.LoadFromText("Formats = <>\r\nend\r\n", nullptr);
    ADD_FAILURE() << "accepted";
  } catch (const EStreamSyntaxError& e) {
    EXPECT_STREQ(e.what(), "Object, inherited or inline expected on line 1");
  }
  EXPECT_THROW(a.LoadFromText(Lines({"object X: TSyntAnalyzer", "  Formats = <", "    item", "      DisplayName = 'New'",
                                     "    end>", "  LexerName = 'broken", "end"}),
                              nullptr),
               EStreamSyntaxError);
  EXPECT_EQ(a.SaveToText(), before);
}

TEST(LexerFile, LoadingTheSameFileTwiceGivesTheSameDefinition) {
  TSyntAnalyzer a;
  BuildSmall(a);
  const std::string text = ReadFile(DataDir() / "every-property.lcf");
  a.LoadFromText(text, nullptr);
  const std::string once = a.SaveToText();
  a.LoadFromText(text, nullptr);
  EXPECT_EQ(a.SaveToText(), once);
  EXPECT_EQ(a.Formats().Count(), 2);
}

TEST(LexerFile, FilesAreReadAndWrittenWithClearErrors) {
  const fs::path dir = fs::temp_directory_path() / ("penwick-lexerfile-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  TSyntAnalyzer a;
  BuildSmall(a);
  const std::string before = a.SaveToText();
  const fs::path missing = dir / "missing.lcf";
  try {
    a.LoadFromFile(missing.string(), static_cast<TUserDialogs*>(nullptr));
    ADD_FAILURE() << "a missing file loaded";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + missing.string() + "\". No such file or directory");
  }
  EXPECT_THROW(a.LoadFromFile(dir.string(), static_cast<TUserDialogs*>(nullptr)), EFOpenError);
  EXPECT_EQ(a.SaveToText(), before);

  const fs::path saved = dir / "small.lcf";
  a.SaveToFile(saved.string());
  EXPECT_EQ(a.FileName(), saved.string());
  EXPECT_EQ(ReadFile(saved), before);
  TSyntAnalyzer b;
  b.SetName(a.Name());
  b.LoadFromFile(saved.string(), static_cast<TUserDialogs*>(nullptr));
  EXPECT_EQ(b.SaveToText(), before);
  EXPECT_THROW(a.SaveToFile((dir / "no" / "such" / "folder.lcf").string()), EFCreateError);
  EXPECT_EQ(a.FileName(), saved.string());
  fs::remove_all(dir);
}

}  // namespace
}  // namespace penwick::test
