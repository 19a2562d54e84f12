// The export loop shared by every exporter: runs of styles, lines, output.
#include "editor/PlainTextSyntExport.h"

#include <algorithm>

#include "editor/Clipboard.h"
#include "editor/StyledRuns.h"
#include "editor/SyntMemoStrings.h"
#include "editor/SystemColors.h"
#include "syntax/ClientSyntAnalyzer.h"

namespace penwick {
namespace {

// Output handed to the file at a time when an export streams.
constexpr std::size_t kPieceSize = 64 * 1024;

}  // namespace

TPlainTextSyntExport::TPlainTextSyntExport() : m_resolver(DefaultColorToRGB) {}

TPlainTextSyntExport::~TPlainTextSyntExport() = default;

void TPlainTextSyntExport::SetColorResolver(TColorResolver resolver) {
  m_resolver = resolver ? std::move(resolver) : TColorResolver(DefaultColorToRGB);
}

std::uint32_t TPlainTextSyntExport::ResolveColor(std::uint32_t color) const {
  return m_resolver(color) & 0x00FFFFFFu;
}

std::string TPlainTextSyntExport::HtmlColor(std::uint32_t color) const {
  static const char kHex[] = "0123456789ABCDEF";
  const std::uint32_t rgb = ResolveColor(color);
  std::string text = "#";
  for (int shift = 0; shift < 24; shift += 8) {  // red is the lowest byte
    const unsigned byte = (rgb >> shift) & 0xFFu;
    text += kHex[byte >> 4];
    text += kHex[byte & 0xFu];
  }
  return text;
}

void TPlainTextSyntExport::ExportAll() {
  if (m_source.Lines) ExportRange(0, m_source.Lines->TextLength());
}

void TPlainTextSyntExport::ExportRange(int offset, int count) { Run(offset, count, nullptr); }

void TPlainTextSyntExport::ExportAllToFile(const std::string& fileName) {
  WriteFileSafely(fileName, [&](const TByteSink& sink) {
    const std::string header = GetHeader();
    sink(header.data(), header.size());
    Run(0, m_source.Lines ? m_source.Lines->TextLength() : 0, &sink);
    sink(m_body.data(), m_body.size());
    m_body.clear();
    const std::string footer = GetFooter();
    sink(footer.data(), footer.size());
  });
  m_body.clear();
  m_hasLine = false;
}

void TPlainTextSyntExport::Run(int offset, int count, const TByteSink* sink) {
  BeginExport();
  m_sink = sink;
  if (!m_source.Lines) return;
  const TSyntMemoStrings& lines = *m_source.Lines;
  const int length = lines.TextLength();
  const int from = std::clamp(offset, 0, length);
  const int stop = count > 0 ? from + std::min(count, length - from) : from;
  if (m_source.Client) m_source.Client->AnalyzeTo(static_cast<std::size_t>(stop));
  TCanvasState base = m_source.Font;
  base.BgColor = m_source.Background;
  m_runs = std::make_unique<TStyledRuns>(m_source.Client, base, false);
  m_runs->SetAnalyzeOnDemand(false);
  if (from < stop) SetLine(lines.LineFromOffset(from));
  for (int at = from; at < stop;) {
    const int end = std::min(BeginRun(at, stop), stop);
    if (end <= at) break;
    AddLines(at, end);
    at = end;
    HandOnPiece();
  }
  EndExport();
  m_runs.reset();
  m_sink = nullptr;
}

// A run may cover the rest of the text (a comment never closed): the output
// is handed on at line ends too, not only between runs.
void TPlainTextSyntExport::HandOnPiece() {
  if (!m_sink || m_body.size() < kPieceSize) return;
  (*m_sink)(m_body.data(), m_body.size());
  m_body.clear();
}

// Adds [from, to) line by line. m_line holds `from`; the bounds of that line
// are kept between runs, most of which end on the line they start on.
void TPlainTextSyntExport::AddLines(int from, int to) {
  for (int at = from;;) {
    // A run ending inside a line break (between CR and LF) leaves the break
    // to the next run: every break becomes exactly one NewLine.
    const int upTo = std::min(to, m_lineTextEnd);
    if (upTo > at) AddText(GetText(at, upTo - at));
    if (to < m_nextLineStart || m_nextLineStart == m_lineTextEnd) return;
    NewLine();
    HandOnPiece();
    at = m_nextLineStart;
    SetLine(m_line + 1);
    if (at >= to) return;
  }
}

void TPlainTextSyntExport::SetLine(int line) {
  const TSyntMemoStrings& lines = *m_source.Lines;
  m_line = line;
  const int start = lines.LineStart(line);
  m_lineTextEnd = start + lines.LineLength(line);
  m_nextLineStart = start + lines.LineFullLength(line);
}

int TPlainTextSyntExport::CollectStyles(int offset, int limit, TStyleEntries& entries) {
  if (!m_source.Client || !m_runs) return limit;
  m_styles.clear();
  const int end = m_runs->StylesAt(offset, limit, m_styles);
  for (const TSyntaxFormat* style : m_styles) entries.push_back(TStyleEntry{style, offset, end});
  return end;
}

int TPlainTextSyntExport::BeginRun(int offset, int limit) {
  m_scratch.clear();
  return CollectStyles(offset, limit, m_scratch);
}

void TPlainTextSyntExport::BeginExport() {
  m_body.clear();
  m_hasLine = false;
}

void TPlainTextSyntExport::EndExport() {}

void TPlainTextSyntExport::AddText(std::string_view text) { Write(text); }

std::string_view TPlainTextSyntExport::GetText(int offset, int count) {
  std::string_view piece;
  if (m_source.Lines->PieceAt(offset, count, piece)) return piece;
  return m_source.Lines->ContiguousText().substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
}

void TPlainTextSyntExport::NewLine() { Write("\r\n"); }

std::string TPlainTextSyntExport::GetHeader() const { return std::string(); }

std::string TPlainTextSyntExport::GetBody() const { return m_body; }

std::string TPlainTextSyntExport::GetFooter() const { return std::string(); }

std::string TPlainTextSyntExport::ExportData() const { return GetHeader() + GetBody() + GetFooter(); }

std::vector<std::string> TPlainTextSyntExport::Lines() const {
  std::vector<std::string> lines;
  if (!m_hasLine) return lines;
  for (std::size_t at = 0;;) {
    const std::size_t end = m_body.find("\r\n", at);
    if (end == std::string::npos) {
      lines.emplace_back(m_body, at);
      return lines;
    }
    lines.emplace_back(m_body, at, end - at);
    at = end + 2;
  }
}

void TPlainTextSyntExport::SaveToFile(const std::string& fileName) const {
  const std::string header = GetHeader();
  const std::string footer = GetFooter();
  WriteFileSafely(fileName, [&](const TByteSink& sink) {
    sink(header.data(), header.size());
    sink(m_body.data(), m_body.size());
    sink(footer.data(), footer.size());
  });
}

void TPlainTextSyntExport::ExportToClipboard(TClipboard& clipboard) const { clipboard.SetText(ExportData()); }

}  // namespace penwick
