// The HTML exporter over the store and the mission analysis: the style
// sheet's rules, escaping, spans across lines, ranges, streaming and the
// file it writes. Whole pages of real scripts are golden files (tests/cli).
#include "editor/SyntExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "editor/MemoTextSource.h"
#include "editor/MemoryClipboard.h"
#include "editor/SyntMemoStrings.h"
#include "language/MissionLexer.h"
#include "platform/FileErrors.h"
#include "support/TestFiles.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;

// A store, the mission analysis over it and an exporter bound to both (or,
// with `styled` false, to the store alone).
struct TExport {
  explicit TExport(const std::string& text, bool styled = true) : Source(Lines) {
    Lines.SetText(text);
    BuildMissionLexer(Analyzer);
    Client = Analyzer.CreateClient(&Source, nullptr);
    TExportSource memo;
    memo.Lines = &Lines;
    memo.Client = styled ? Client.get() : nullptr;
    memo.Font.FontName = "Courier New";
    memo.Font.FontSize = 10;
    memo.Font.TextColor = clWindowText;
    memo.Background = clBlack;
    Html.SetSyntMemo(memo);
  }
  std::string Body() {
    Html.ExportAll();
    return Html.GetBody();
  }
  TSyntMemoStrings Lines;
  TMemoTextSource Source;
  TSyntAnalyzer Analyzer;
  std::unique_ptr<TClientSyntAnalyzer> Client;
  THTMLSyntExport Html;
};

TEST(HtmlExport, StyleSheetOfTheMissionDefinition) {
  TExport e("");
  const std::vector<std::string> sheet = e.Html.StyleSheet();
  ASSERT_EQ(sheet.size(), 17u);  // tag, default rule, 14 formats, tag
  EXPECT_EQ(sheet.front(), "<STYLE TYPE=\"text/css\" TITLE=\"Bright Colours\">");
  EXPECT_EQ(sheet[1],
            "#seDefault {color: #000000; font-family: \"Courier New\"; text-decoration: none;font-weight: normal; "
            "font-style: normal; background-color: #000000; font: 10pt;}");
  EXPECT_EQ(sheet[2],
            "#Compiler_Enums { color: #8080C0; font-weight: bold; font-style: normal; text-decoration: none;}");
  EXPECT_EQ(sheet[5], "#Preprocessor { color: #008000; font-weight: normal; font-style: italic; text-decoration: none;}");
  EXPECT_EQ(sheet[15],
            "#Default_Color { color: #000000; font-weight: normal; font-style: normal; text-decoration: none;}");
  EXPECT_EQ(sheet.back(), "</STYLE>");

  // The page frame around it; an empty script has an empty body.
  e.Html.ExportAll();
  std::string expected = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html><head>";
  for (const std::string& line : sheet) expected += line + "\r\n";
  expected += "</head>\r\n<body id=\"seDefault\"></body></html>";
  EXPECT_EQ(e.Html.ExportData(), expected);
  EXPECT_TRUE(e.Html.Lines().empty());
}

TEST(HtmlExport, SystemColoursAreResolvedAndADefaultStyleGivesTheDefaultRule) {
  TExport e("");
  TExportSource memo = e.Html.SyntMemo();
  memo.Font.TextColor = SystemColor(13);  // highlight: #0A246A in the classic table
  memo.Font.FontStyle = fsBold | fsItalic | fsUnderline | fsStrikeOut;
  memo.Font.FontName = "Lucida";
  memo.Font.FontSize = 12;
  memo.Background = 0x00563412;  // red lowest
  e.Html.SetSyntMemo(memo);
  EXPECT_EQ(e.Html.StyleSheet()[1],
            "#seDefault {color: #0A246A; font-family: \"Lucida\"; text-decoration: underline;font-weight: bold; "
            "font-style: italic; background-color: #123456; font: 12pt;}");
  e.Html.SetColorResolver([](std::uint32_t color) { return color == SystemColor(13) ? 0xABCDEFu : color; });
  EXPECT_EQ(e.Html.HtmlColor(SystemColor(13)), "#EFCDAB");

  e.Analyzer.SetDefaultStyleName("Comments");
  EXPECT_EQ(e.Html.StyleSheet()[1],
            "#seDefault { color: #007300; font-weight: normal; font-style: normal; text-decoration: none;}");
}

TEST(HtmlExport, DeclarationsFollowTheFormatType) {
  THTMLSyntExport html;
  TSyntaxFormat f;
  f.Font.Color = 0x0000FF;
  f.Font.Style = fsStrikeOut;
  f.BgColor = SystemColor(5);  // window: white
  f.FormatType = ftCustomFont;
  f.Font.Name = "Arial";
  f.Font.Size = 9;
  EXPECT_EQ(html.Declarations(f),
            "background-color: #FFFFFF; color: #FF0000; font-weight: normal; font-style: normal; "
            "text-decoration: line-through; font: 9pt; font-family: \"Arial\";");
  f.FormatType = ftColor;
  EXPECT_EQ(html.Declarations(f), "background-color: #FFFFFF; color: #FF0000;");
  f.FormatType = ftBackGround;
  EXPECT_EQ(html.Declarations(f), "background-color: #FFFFFF; font-weight: normal; font-style: normal; "
                                  "text-decoration: line-through;");
  f.BgColor = clNone;
  f.Font.Color = clNone;
  f.FormatType = ftColor;
  EXPECT_EQ(html.Declarations(f), "");

  EXPECT_EQ(THTMLSyntExport::CssName("Compiler Enums"), "Compiler_Enums");
  EXPECT_EQ(THTMLSyntExport::CssName("a-b.c_9\xE9"), "a_b_c_9_");
}

// Inverse of the text escapes: "&nbsp;" is a blank like any other.
std::string Unescape(const std::string& html) {
  std::string text;
  for (std::size_t i = 0; i < html.size();) {
    bool entity = false;
    for (const auto& [name, c] : {std::pair<const char*, char>{"&nbsp;", ' '}, {"&lt;", '<'}, {"&gt;", '>'},
                                  {"&amp;", '&'}}) {
      if (html.compare(i, std::char_traits<char>::length(name), name) == 0) {
        text += c;
        i += std::char_traits<char>::length(name);
        entity = true;
        break;
      }
    }
    if (!entity) text += html[i++];
  }
  return text;
}

TEST(HtmlExport, EscapedTextReadsBackAndNeverHoldsTwoPlainBlanks) {
  std::mt19937 random(14);
  const std::string alphabet = "  <>&ab;";
  for (int round = 0; round < 500; ++round) {
    std::string text(random() % 40, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    // Without an analysis the whole line is one run, added in one piece.
    TExport e(text, false);
    const std::string body = e.Body();
    SCOPED_TRACE(text);
    EXPECT_EQ(Unescape(body), text);
    EXPECT_EQ(body.find("  "), std::string::npos);
    EXPECT_EQ(body.find_first_of("<>"), std::string::npos);
    // "&" only opens one of the four entities.
    for (std::size_t at = body.find('&'); at != std::string::npos; at = body.find('&', at + 1))
      EXPECT_TRUE(body.compare(at, 6, "&nbsp;") == 0 || body.compare(at, 4, "&lt;") == 0 ||
                  body.compare(at, 4, "&gt;") == 0 || body.compare(at, 5, "&amp;") == 0);
    // The first blank of a run of blanks stays a plain blank.
    if (!text.empty() && text[0] == ' ') EXPECT_EQ(body[0], ' ');
  }
  EXPECT_EQ(TExport("a  <b>", false).Body(), "a &nbsp;&lt;b&gt;");
}

TEST(HtmlExport, SpansFollowTheRunsAcrossLinesAndRanges) {
  TExport e("WHILE_EXEC ( loop = 1 )\r\nx /* a\r\n\r\n  b */ y\r\n");
  EXPECT_EQ(e.Body(),
            "<SPAN id=\"Control_Structures\">WHILE_EXEC</span> <SPAN id=\"Default_Color\">(</span> "
            "<SPAN id=\"Variables\">loop</span> <SPAN id=\"Default_Color\">=</span> <SPAN id=\"Integers\">1</span> "
            "<SPAN id=\"Default_Color\">)</span><br>\r\n"
            "<SPAN id=\"Variables\">x</span> <SPAN id=\"Comments\">/* a<br>\r\n<br>\r\n &nbsp;b */</span> "
            "<SPAN id=\"Variables\">y</span><br>\r\n");
  EXPECT_EQ(e.Html.Lines(), (std::vector<std::string>{
                                "<SPAN id=\"Control_Structures\">WHILE_EXEC</span> <SPAN id=\"Default_Color\">(</span> "
                                "<SPAN id=\"Variables\">loop</span> <SPAN id=\"Default_Color\">=</span> "
                                "<SPAN id=\"Integers\">1</span> <SPAN id=\"Default_Color\">)</span><br>",
                                "<SPAN id=\"Variables\">x</span> <SPAN id=\"Comments\">/* a<br>", "<br>",
                                " &nbsp;b */</span> <SPAN id=\"Variables\">y</span><br>", ""}));

  // A range starting inside a token and ending inside a line break: the
  // token is cut, the break still gives one line end, spans are closed.
  const int from = e.Lines.LineStart(1) + 5;  // inside "/* a"
  e.Html.ExportRange(from, e.Lines.LineStart(2) - 1 - from);
  EXPECT_EQ(e.Html.GetBody(), "<SPAN id=\"Comments\">a</span>");
  e.Html.ExportRange(from, e.Lines.LineStart(2) + 1 - from);
  EXPECT_EQ(e.Html.GetBody(), "<SPAN id=\"Comments\">a<br>\r\n</span>");
  e.Html.ExportRange(e.Lines.TextLength(), 10);
  EXPECT_EQ(e.Html.GetBody(), "");
  EXPECT_TRUE(e.Html.StyleEntries().empty());
}

TEST(HtmlExport, StreamedPageEqualsTheHeldPageAndFailuresWriteNothing) {
  std::string text;
  for (int i = 0; text.size() < 300 * 1024; ++i)
    text += "COUNTER c" + std::to_string(i) + " = " + std::to_string(i) + "  // <" + std::to_string(i) + ">\r\n";
  TExport e(text);
  const fs::path dir = fs::temp_directory_path() / ("penwick-html-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  e.Html.ExportAllToFile((dir / "streamed.html").string());
  EXPECT_EQ(e.Html.GetBody(), "");  // the streamed page is not held
  e.Html.ExportAll();
  e.Html.SaveToFile((dir / "held.html").string());
  const std::string held = test::ReadFile(dir / "held.html");
  EXPECT_EQ(held, e.Html.ExportData());
  EXPECT_EQ(test::ReadFile(dir / "streamed.html"), held);
  TMemoryClipboard clipboard;
  e.Html.ExportToClipboard(clipboard);
  EXPECT_EQ(clipboard.GetText(), held);

  // A target that cannot be created: raised, nothing written or left behind.
  EXPECT_THROW(e.Html.SaveToFile((dir / "absent" / "p.html").string()), EFCreateError);
  EXPECT_THROW(e.Html.ExportAllToFile((dir / "absent" / "p.html").string()), EFCreateError);
  EXPECT_FALSE(fs::exists(dir / "absent"));
  fs::create_directories(dir / "folder.html");
  EXPECT_THROW(e.Html.SaveToFile((dir / "folder.html").string()), EFCreateError);
  EXPECT_TRUE(fs::is_directory(dir / "folder.html"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
  fs::remove_all(dir);
}

// Records the most output held at a line end while an export runs.
class TWatchedExport : public THTMLSyntExport {
public:
  std::size_t MaxHeld = 0;

protected:
  void NewLine() override {
    THTMLSyntExport::NewLine();
    MaxHeld = std::max(MaxHeld, Output().size());
  }
};

TEST(HtmlExport, AStreamedRunOverManyLinesIsNotHeldWhole) {
  // A comment never closed is one run to the end of the text.
  std::string text = "x /* never closed\r\n";
  while (text.size() < 600 * 1024) text += "  a line of the comment, <" + std::to_string(text.size()) + ">\r\n";
  TSyntMemoStrings lines;
  lines.SetText(text);
  TMemoTextSource source(lines);
  TSyntAnalyzer analyzer;
  BuildMissionLexer(analyzer);
  auto client = analyzer.CreateClient(&source, nullptr);
  TExportSource memo;
  memo.Lines = &lines;
  memo.Client = client.get();
  TWatchedExport html;
  html.SetSyntMemo(memo);
  const fs::path dir = fs::temp_directory_path() / ("penwick-html-run-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  html.ExportAllToFile((dir / "page.html").string());
  EXPECT_LT(html.MaxHeld, 128u * 1024u);
  const std::string streamed = test::ReadFile(dir / "page.html");
  fs::remove_all(dir);
  html.ExportAll();
  EXPECT_EQ(streamed, html.ExportData());
  EXPECT_GT(html.MaxHeld, 600u * 1024u);  // held whole when not streamed
}

}  // namespace
}  // namespace penwick
