// penwick-cli export-html: a script written as the HTML page the editor's
// export writes, with the settings of a first start.
#include <iostream>
#include <memory>

#include "app/SettingsFile.h"
#include "cli/CliCommand.h"
#include "cli/CliLexer.h"
#include "editor/HTMLSyntExport.h"
#include "editor/MemoTextSource.h"
#include "editor/SyntMemoStrings.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::cli {
namespace {

// Arguments: FILE OUT.html [--lexer F.lcf]. A script or page that cannot be
// read or written is reported (exit 1); errors in the lexer file are reported
// and skipped, the page is still written, and the exit status is 1.
int RunExportHtml(const std::vector<std::string>& args) {
  const char* usage = "usage: penwick-cli export-html FILE OUT.html [--lexer F.lcf]\n";
  std::vector<std::string> files;
  std::string lexer;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--lexer") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        std::cerr << "penwick-cli export-html: --lexer needs a file\n";
        return ExitUsage;
      }
      lexer = args[++i];
      continue;
    }
    files.push_back(args[i]);
  }
  if (files.size() != 2 || files[0].empty() || files[1].empty()) {
    std::cerr << usage;
    return ExitUsage;
  }
  TSyntAnalyzer analyzer;
  const int lexerErrors = LoadCliLexer(analyzer, lexer, std::cerr);
  TSyntMemoStrings lines;
  lines.LoadFromFile(files[0]);  // EFOpenError: reported by main
  TMemoTextSource source(lines);
  std::unique_ptr<TClientSyntAnalyzer> client = analyzer.CreateClient(&source, nullptr);
  // The export analyses only up to the end of the text; the styled ranges of
  // block rules left to the end come from the finishing step, which the
  // editor's idle run reaches and a program without a message loop must run.
  client->AnalyzeAll();

  const TEditorSettings settings;
  TExportSource memo;
  memo.Lines = &lines;
  memo.Client = client.get();
  memo.Font.FontName = settings.Font.Name;
  memo.Font.FontSize = settings.Font.Size;
  memo.Font.FontCharset = settings.Font.Charset;
  memo.Font.TextColor = static_cast<std::uint32_t>(settings.Font.Color);
  memo.Font.FontStyle = static_cast<std::uint32_t>(settings.Font.Style);
  memo.Background = settings.BgColor;

  THTMLSyntExport exporter;
  exporter.SetSyntMemo(memo);
  // The page goes to the file as it is made: the whole page is never held.
  exporter.ExportAllToFile(files[1]);
  return lexerErrors == 0 ? ExitOk : ExitError;
}

const TCliCommandRegistration exportHtml({"export-html", "FILE OUT.html [--lexer F.lcf]",
                                          "Writes the script as the HTML page of the editor's export",
                                          RunExportHtml});

}  // namespace
}  // namespace penwick::cli
