// The HTML page of the editor's text: style sheet, spans and escaped text.
#include "editor/HTMLSyntExport.h"

#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {
namespace {

const char* Weight(std::uint32_t style) { return (style & fsBold) ? "bold" : "normal"; }
const char* Slant(std::uint32_t style) { return (style & fsItalic) ? "italic" : "normal"; }
const char* Decoration(std::uint32_t style) {
  if (style & fsUnderline) return "underline";
  if (style & fsStrikeOut) return "line-through";
  return "none";
}

}  // namespace

std::string THTMLSyntExport::CssName(const std::string& displayName) {
  std::string name = displayName;
  for (char& c : name) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!keep) c = '_';
  }
  return name;
}

std::string THTMLSyntExport::Declarations(const TSyntaxFormat& format) const {
  std::string text;
  if (format.BgColor != clNone) text += "background-color: " + HtmlColor(format.BgColor) + ";";
  if (format.FormatType != ftBackGround && format.Font.Color != clNone)
    text += " color: " + HtmlColor(format.Font.Color) + ";";
  if (format.FormatType != ftColor) {
    const std::uint32_t style = format.Font.Style;
    text += std::string(" font-weight: ") + Weight(style) + ";";
    text += std::string(" font-style: ") + Slant(style) + ";";
    text += std::string(" text-decoration: ") + Decoration(style) + ";";
  }
  if (format.FormatType == ftCustomFont) {
    text += " font: " + std::to_string(format.Font.Size) + "pt;";
    text += " font-family: \"" + format.Font.Name + "\";";
  }
  return text;
}

std::vector<std::string> THTMLSyntExport::StyleSheet() const {
  std::vector<std::string> sheet;
  sheet.emplace_back("<STYLE TYPE=\"text/css\" TITLE=\"Bright Colours\">");
  const TSyntAnalyzer* lexer = SyntMemo().Client ? SyntMemo().Client->Owner() : nullptr;
  if (const TSyntaxFormat* def = lexer ? lexer->DefaultStyle() : nullptr) {
    sheet.push_back("#seDefault {" + Declarations(*def) + "}");
  } else {
    const TCanvasState& font = SyntMemo().Font;
    sheet.push_back("#seDefault {color: " + HtmlColor(font.TextColor) + "; font-family: \"" + font.FontName +
                    "\"; text-decoration: " + Decoration(font.FontStyle) + ";font-weight: " +
                    Weight(font.FontStyle) + "; font-style: " + Slant(font.FontStyle) +
                    "; background-color: " + HtmlColor(SyntMemo().Background) +
                    "; font: " + std::to_string(font.FontSize) + "pt;}");
  }
  if (lexer) {
    const auto& formats = lexer->Formats();
    for (int i = 0; i < formats.Count(); ++i)
      sheet.push_back("#" + CssName(formats[i]->DisplayName()) + " {" + Declarations(*formats[i]) + "}");
  }
  sheet.emplace_back("</STYLE>");
  return sheet;
}

std::string THTMLSyntExport::GetHeader() const {
  std::string header = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n<html><head>";
  for (const std::string& line : StyleSheet()) header += line + "\r\n";
  header += "</head>\r\n<body id=\"seDefault\">";
  return header;
}

std::string THTMLSyntExport::GetFooter() const { return "</body></html>"; }

const std::string& THTMLSyntExport::OpeningTag(const TSyntaxFormat* style) {
  for (const auto& [known, tag] : m_tags)
    if (known == style) return tag;
  m_tags.emplace_back(style, "<SPAN id=\"" + CssName(style->DisplayName()) + "\">");
  return m_tags.back().second;
}

void THTMLSyntExport::CloseSpans() {
  for (std::size_t i = 0; i < StyleEntries().size(); ++i) Write("</span>");
}

int THTMLSyntExport::BeginRun(int offset, int limit) {
  CloseSpans();
  const int end = TBaseFormattedExport::BeginRun(offset, limit);
  if (end <= offset) {
    Entries().clear();  // the export stops here: nothing stays open
    return end;
  }
  for (const TStyleEntry& entry : StyleEntries()) Write(OpeningTag(entry.Style));
  return end;
}

void THTMLSyntExport::BeginExport() {
  TBaseFormattedExport::BeginExport();
  m_tags.clear();  // the formats may have changed since the last export
}

void THTMLSyntExport::EndExport() {
  CloseSpans();
  Entries().clear();
}

void THTMLSyntExport::AddText(std::string_view text) {
  // Equivalent to the walk from the last character back: whether a blank
  // becomes "&nbsp;" depends only on the character before it in this piece.
  std::string& out = Output();
  const char* p = text.data();
  const std::size_t n = text.size();
  std::size_t from = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const char* escaped;
    switch (p[i]) {
      case ' ':
        if (i == 0 || p[i - 1] != ' ') continue;
        escaped = "&nbsp;";
        break;
      case '<': escaped = "&lt;"; break;
      case '>': escaped = "&gt;"; break;
      case '&': escaped = "&amp;"; break;
      default: continue;
    }
    out.append(p + from, i - from);
    out.append(escaped);
    from = i + 1;
  }
  out.append(p + from, n - from);
}

void THTMLSyntExport::NewLine() { Write("<br>\r\n"); }

}  // namespace penwick
