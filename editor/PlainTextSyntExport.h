// Export of the editor's text, run by run in the styles painting uses: the
// base of the formatted exporters (`TPlainTextSyntExport`).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SafeFileWriter.h"
#include "syntax/CanvasState.h"

namespace penwick {

class TClientSyntAnalyzer;
class TClipboard;
class TStyledRuns;
class TSyntMemoStrings;
class TSyntaxFormat;

// When an export is made: etCustom only when asked for (ExportAll,
// ExportRange); the other two name what an automatic export would cover.
enum TExportType { etCustom, etAllText, etSelection };

// One style that covers a run of the export, and the span [Start, End) of
// that run.
struct TStyleEntry {
  const TSyntaxFormat* Style = nullptr;
  int Start = 0;
  int End = 0;
};
using TStyleEntries = std::vector<TStyleEntry>;

// The editor an exporter reads. Nothing is owned: the store and the analysis
// must outlive the binding (ClearSyntMemo when the editor goes). `Client` may
// be null (plain text, no styles).
struct TExportSource {
  const TSyntMemoStrings* Lines = nullptr;
  TClientSyntAnalyzer* Client = nullptr;
  TCanvasState Font;                       // the editor's font: name, size, style bits, colour
  std::uint32_t Background = 0xFF000005u;  // the editor's background (clWindow)
};

// Maps a colour value to a plain one (red lowest, top byte 0); system colours
// (top byte 0xFF) are resolved to their current values.
using TColorResolver = std::function<std::uint32_t(std::uint32_t color)>;

// The export works on output held as one string: the output lines joined by
// CR LF (GetBody). A text never gives a line break inside a line: breaks of
// the text only ever become NewLine. Before the first AddText or NewLine
// after BeginExport there are no output lines at all.
//
// Costs: ExportRange is O(analysis up to the end of the range + characters +
// runs); the virtual operations are called once per run and per line, never
// per character.
class TPlainTextSyntExport {
public:
  TPlainTextSyntExport();
  virtual ~TPlainTextSyntExport();
  TPlainTextSyntExport(const TPlainTextSyntExport&) = delete;
  TPlainTextSyntExport& operator=(const TPlainTextSyntExport&) = delete;

  // ---- Binding ----
  void SetSyntMemo(const TExportSource& source) { m_source = source; }
  void ClearSyntMemo() { m_source = TExportSource(); }
  const TExportSource& SyntMemo() const { return m_source; }
  TExportType ExportType() const { return m_exportType; }
  void SetExportType(TExportType type) { m_exportType = type; }
  // The default resolves system colours with the classic Windows table; an
  // empty function restores it.
  void SetColorResolver(TColorResolver resolver);
  // `color` as "#RRGGBB" (upper-case hex), system colours resolved.
  std::string HtmlColor(std::uint32_t color) const;

  // ---- Exporting ----
  // ExportRange over the whole text; nothing when no store is bound.
  void ExportAll();
  // Exports [offset, offset + count), clipped to the text, after analysing
  // up to its end. The output of an earlier export is dropped first (also
  // for an empty range). Nothing happens when no store is bound.
  void ExportRange(int offset, int count);
  // As ExportAll followed by SaveToFile, but the page goes to the file as it
  // is made, in pieces of about 64 KiB handed on between runs and at line
  // ends, so the whole page is never held (one line of the page at most);
  // the output is left empty. Failures as for SaveToFile.
  void ExportAllToFile(const std::string& fileName);
  // Writes GetHeader, GetBody and GetFooter as the whole file, through
  // WriteFileSafely: on failure EFCreateError is raised and no file is
  // created or changed.
  void SaveToFile(const std::string& fileName) const;
  // GetHeader, GetBody and GetFooter joined.
  std::string ExportData() const;
  // The output lines of the last export.
  std::vector<std::string> Lines() const;
  virtual std::string GetHeader() const;
  virtual std::string GetBody() const;
  virtual std::string GetFooter() const;
  // Puts ExportData on `clipboard` (its errors pass through).
  virtual void ExportToClipboard(TClipboard& clipboard) const;

protected:
  // Fills `entries` with the styles covering `offset` (token style, then
  // range styles, as painting has them) and returns where the run they
  // cover ends: after `offset`, at most `limit`.
  virtual int CollectStyles(int offset, int limit, TStyleEntries& entries);
  // Starts the run at `offset`; returns its end (a value not after `offset`
  // stops the export).
  virtual int BeginRun(int offset, int limit);
  // Empties the output.
  virtual void BeginExport();
  virtual void EndExport();
  // Appends `text` to the last output line (starting the first line when
  // there is none).
  virtual void AddText(std::string_view text);
  // The characters of [offset, offset + count) of the bound text, unchanged;
  // valid until the next call or a change of the text.
  virtual std::string_view GetText(int offset, int count);
  // Ends the last output line and starts a new, empty one.
  virtual void NewLine();

  // Appends to the output as it stands (markup, escaped text).
  void Write(std::string_view text) {
    m_hasLine = true;
    m_body.append(text);
  }
  std::string& Output() {
    m_hasLine = true;
    return m_body;
  }
  std::uint32_t ResolveColor(std::uint32_t color) const;

private:
  void Run(int offset, int count, const TByteSink* sink);
  void AddLines(int from, int to);
  void SetLine(int line);
  void HandOnPiece();

  TExportSource m_source;
  TExportType m_exportType = etCustom;
  TColorResolver m_resolver;
  std::unique_ptr<TStyledRuns> m_runs;  // during an export
  const TByteSink* m_sink = nullptr;     // during a streamed export
  TStyleEntries m_scratch;
  std::vector<const TSyntaxFormat*> m_styles;
  std::string m_body;
  bool m_hasLine = false;
  int m_line = 0;  // during an export: the line being added, its text end and the next line's start
  int m_lineTextEnd = 0;
  int m_nextLineStart = 0;
};

}  // namespace penwick
