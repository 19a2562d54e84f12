// The editor control's view and input: painting the visible lines with their
// highlighting, the caret, selection by keys and mouse, typing and the editing keys.
#include "editor/SyntaxMemo.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtGlobal>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "editor/MemoTextSource.h"
#include "editor/QtAnalysisScheduler.h"
#include "editor/QtClipboard.h"
#include "platform/CodePage.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {

namespace {

QFont DefaultEditorFont() {
  QFont font("Courier New", 10);
  font.setStyleHint(QFont::TypeWriter);
  if (!QFontInfo(font).fixedPitch()) {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(10);
    return fixed;
  }
  return font;
}

bool IsWordChar(const TCodePage& codePage, char c) { return codePage.IsWordChar(static_cast<unsigned char>(c)); }

// The palette colour standing for a system colour index (the Windows
// COLOR_* numbering the lexer files use); an invalid colour for none.
QColor SystemPaletteColor(unsigned index, const QPalette& palette) {
  switch (index) {
    case 0: return palette.color(QPalette::Button);            // scroll bar
    case 1: return palette.color(QPalette::Window);            // desktop
    case 2: return palette.color(QPalette::Active, QPalette::Highlight);    // active caption
    case 3: return palette.color(QPalette::Inactive, QPalette::Highlight);  // inactive caption
    case 4: return palette.color(QPalette::Window);            // menu
    case 5: return palette.color(QPalette::Base);              // window background
    case 6: return palette.color(QPalette::Shadow);            // window frame
    case 7: return palette.color(QPalette::WindowText);        // menu text
    case 8: return palette.color(QPalette::Text);              // window text
    case 9: return palette.color(QPalette::Active, QPalette::HighlightedText);    // caption text
    case 10: case 11: return palette.color(QPalette::Window);  // borders
    case 12: return palette.color(QPalette::Dark);             // application workspace
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Button);           // button face
    case 16: return palette.color(QPalette::Dark);             // button shadow
    case 17: return palette.color(QPalette::Disabled, QPalette::Text);  // grey text
    case 18: return palette.color(QPalette::ButtonText);
    case 19: return palette.color(QPalette::Inactive, QPalette::HighlightedText);  // inactive caption text
    case 20: return palette.color(QPalette::Light);            // button highlight
    case 21: return palette.color(QPalette::Shadow);           // 3D dark shadow
    case 22: return palette.color(QPalette::Midlight);         // 3D light
    case 23: return palette.color(QPalette::ToolTipText);      // info text
    case 24: return palette.color(QPalette::ToolTipBase);      // info background
    case 26: return palette.color(QPalette::Link);             // hot light
    case 27: case 28: case 29: return palette.color(QPalette::Highlight);  // caption gradients, menu highlight
    case 30: return palette.color(QPalette::Window);           // menu bar
    default: return QColor();
  }
}

}  // namespace

TSyntaxMemo::TSyntaxMemo(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_codePage(TCodePage::Default()),
      m_systemClipboard(std::make_unique<TQtClipboard>(&TCodePage::Default())),
      m_color(Qt::black),
      m_fontColor(QColor(0xC0, 0xC0, 0xC0)) {
  SetClipboard(m_systemClipboard.get());
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SetEditorFont(DefaultEditorFont());
  OnModifiedChanged = [this] { emit ModifiedChanged(); };
  m_textSource = std::make_unique<TMemoTextSource>(Lines());
  m_scheduler = std::make_unique<TQtAnalysisScheduler>();
  UpdateScrollBars();
}

TSyntaxMemo::~TSyntaxMemo() {
  // The analysis reads the store and uses the scheduler: it goes first.
  m_syntClient.reset();
  // The clipboard object dies with this widget; the core must not keep it.
  SetClipboard(nullptr);
}

// ---- Highlighting ----

TSyntAnalyzer* TSyntaxMemo::SyntaxAnalyzer() const { return m_syntClient ? m_syntClient->Owner() : nullptr; }

void TSyntaxMemo::SetSyntaxAnalyzer(TSyntAnalyzer* analyzer) {
  if (analyzer && analyzer == SyntaxAnalyzer()) return;
  m_syntClient.reset();
  if (analyzer) {
    m_syntClient = analyzer->CreateClient(m_textSource.get(), m_scheduler.get());
    m_syntClient->OnFinished = [this] { viewport()->update(); };
    m_syntClient->SetErrorHandler([this](const std::exception& e) { ReportAnalysisError(e); });
  }
  viewport()->update();
}

void TSyntaxMemo::ReportAnalysisError(const std::exception& error) {
  if (OnAnalysisError) OnAnalysisError(error);
  else qWarning("Syntax analysis: %s", error.what());
}

std::uint32_t TSyntaxMemo::ColorValue(const QColor& color) {
  const QRgb rgb = color.rgb();
  return static_cast<std::uint32_t>(qRed(rgb)) | static_cast<std::uint32_t>(qGreen(rgb)) << 8 |
         static_cast<std::uint32_t>(qBlue(rgb)) << 16;
}

QColor TSyntaxMemo::CanvasColor(std::uint32_t color, const QPalette& palette, const QColor& fallback) {
  if (color == clNone || color == clDefault) return fallback;
  if ((color >> 24) == 0xFF) {
    const QColor system = SystemPaletteColor(color & 0xFFu, palette);
    return system.isValid() ? system : fallback;
  }
  return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                static_cast<int>((color >> 16) & 0xFFu));
}

TCanvasState TSyntaxMemo::BaseCanvasState() const {
  TCanvasState state;
  state.FontName = m_font.family().toStdString();
  state.FontSize = m_font.pointSize() > 0 ? m_font.pointSize() : 10;
  state.TextColor = ColorValue(m_fontColor);
  state.BgColor = clNone;
  state.FontStyle = (m_font.bold() ? fsBold : 0u) | (m_font.italic() ? fsItalic : 0u) |
                    (m_font.underline() ? fsUnderline : 0u) | (m_font.strikeOut() ? fsStrikeOut : 0u);
  return state;
}

TCanvasState TSyntaxMemo::CanvasStateAt(int offset) {
  TCanvasState state = BaseCanvasState();
  if (!m_syntClient || !SyntaxAnalyzer() || offset < 0) return state;
  if (const TSyntaxFormat* def = SyntaxAnalyzer()->DefaultStyle()) def->ApplyToCanvas(state, true);
  m_syntClient->AnalyzeTo(static_cast<std::size_t>(offset) + 1);
  m_styles.clear();
  m_syntClient->TokenStyleAt(static_cast<std::size_t>(offset), m_styles);
  for (const TSyntaxFormat* style : m_styles) style->ApplyToCanvas(state, true);
  return state;
}

QFont TSyntaxMemo::CanvasFont(const TCanvasState& state) const {
  QFont font = m_font;
  // Fonts of custom-font styles are honoured, but drawn into the editor's cells.
  const QString family = QString::fromStdString(state.FontName);
  if (!family.isEmpty() && family != m_font.family()) font.setFamily(family);
  // A font sized in pixels has no point size: the base state stands in for it.
  if (state.FontSize > 0 && state.FontSize != BaseCanvasState().FontSize) font.setPointSize(state.FontSize);
  font.setBold(state.FontStyle & fsBold);
  font.setItalic(state.FontStyle & fsItalic);
  font.setUnderline(state.FontStyle & fsUnderline);
  font.setStrikeOut(state.FontStyle & fsStrikeOut);
  return font;
}

std::vector<TSyntaxMemo::TStyledRun> TSyntaxMemo::LineRuns(int line, const std::vector<int>& columns) {
  std::vector<TStyledRun> runs;
  TCanvasState base = BaseCanvasState();
  const int length = static_cast<int>(columns.size()) - 1;
  TSyntAnalyzer* analyzer = SyntaxAnalyzer();
  if (analyzer)
    if (const TSyntaxFormat* def = analyzer->DefaultStyle()) def->ApplyToCanvas(base, true);
  if (!m_syntClient || !analyzer || length <= 0) {
    if (length > 0) runs.push_back(TStyledRun{0, columns[static_cast<std::size_t>(length)], base});
    return runs;
  }
  const std::size_t lineStart = static_cast<std::size_t>(Lines().LineStart(line));
  const std::size_t lineEnd = lineStart + static_cast<std::size_t>(length);
  std::size_t q = lineStart;
  while (q < lineEnd) {
    m_styles.clear();
    std::size_t end = m_syntClient->TokenStyleAt(q, m_styles);
    if (end <= q) end = q + 1;  // always move on
    if (end > lineEnd) end = lineEnd;
    TCanvasState state = base;
    for (const TSyntaxFormat* style : m_styles) style->ApplyToCanvas(state, true);
    const int from = columns[q - lineStart], to = columns[end - lineStart];
    if (!runs.empty() && runs.back().State == state && runs.back().To == from)
      runs.back().To = to;  // neighbouring runs in one state draw as one
    else
      runs.push_back(TStyledRun{from, to, std::move(state)});
    q = end;
  }
  return runs;
}

// ---- Properties ----

void TSyntaxMemo::SetEditorFont(const QFont& font) {
  m_font = font;
  QFontMetrics metrics(m_font);
  m_lineHeight = std::max(1, metrics.height());
  m_charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('x')));
  m_ascent = metrics.ascent();
  UpdateScrollBars();
  viewport()->update();
}

void TSyntaxMemo::SetColor(const QColor& color) {
  m_color = color;
  viewport()->update();
}

void TSyntaxMemo::SetFontColor(const QColor& color) {
  m_fontColor = color;
  viewport()->update();
}

int TSyntaxMemo::TopLine() const { return verticalScrollBar()->value(); }

void TSyntaxMemo::SetTopLine(int line) { verticalScrollBar()->setValue(line); }

int TSyntaxMemo::VisibleLineCount() const { return std::max(1, viewport()->height() / m_lineHeight); }

// ---- Geometry ----

int TSyntaxMemo::VisualColumn(int line, int x) const {
  const TSyntMemoStrings& lines = Lines();
  const int start = lines.LineStart(line);
  const int length = lines.LineLength(line);
  const int inText = std::min(std::max(x, 0), length);
  int column = 0;
  for (int i = 0; i < inText; ++i)
    column = lines.CharAt(start + i) == '\t' ? TabList().NextTabStop(column) : column + 1;
  return column + std::max(0, x - length);
}

int TSyntaxMemo::ColumnFromVisual(int line, int column) const {
  const TSyntMemoStrings& lines = Lines();
  const int start = lines.LineStart(line);
  const int length = lines.LineLength(line);
  int visual = 0;
  for (int i = 0; i < length; ++i) {
    int next = lines.CharAt(start + i) == '\t' ? TabList().NextTabStop(visual) : visual + 1;
    // A click in the right half of a cell places the caret after it.
    if (column < next) return (column - visual) * 2 < (next - visual) ? i : i + 1;
    visual = next;
  }
  return length + (column - visual);
}

TPoint TSyntaxMemo::PointToCaretPos(QPoint point) const {
  const int count = Lines().Count();
  int line = TopLine() + (point.y() < 0 ? (point.y() / m_lineHeight) - 1 : point.y() / m_lineHeight);
  line = std::clamp(line, 0, std::max(0, count - 1));
  const int x = point.x() - TextLeft() + horizontalScrollBar()->value();
  const int column = std::max(0, (x + m_charWidth / 2) / m_charWidth);
  if (count == 0) return TPoint{column, 0};
  // Between cells the caret goes to the nearer boundary.
  int visual = 0, i = 0;
  const int start = Lines().LineStart(line), length = Lines().LineLength(line);
  for (; i < length; ++i) {
    int next = Lines().CharAt(start + i) == '\t' ? TabList().NextTabStop(visual) : visual + 1;
    if (x < (visual * m_charWidth + next * m_charWidth) / 2) return TPoint{i, line};
    visual = next;
  }
  return TPoint{length + std::max(0, column - visual), line};
}

QPoint TSyntaxMemo::CaretPosToPoint(TPoint pos) const {
  return QPoint(TextLeft() + VisualColumn(pos.Y, pos.X) * m_charWidth - horizontalScrollBar()->value(),
                (pos.Y - TopLine()) * m_lineHeight);
}

QString TSyntaxMemo::DisplayText(int line, std::vector<int>& columns) const {
  const std::string text = Lines().Line(line);
  QString display;
  display.reserve(static_cast<int>(text.size()));
  columns.clear();
  columns.reserve(text.size() + 1);
  int column = 0;
  for (char c : text) {
    columns.push_back(column);
    if (c == '\t') {
      const int next = TabList().NextTabStop(column);
      display.append(QString(next - column, QLatin1Char(' ')));
      column = next;
    } else {
      const char32_t u = m_codePage.ToUnicode(static_cast<unsigned char>(c));
      display.append(u < 0x20 ? QChar(0x2400 + u) : QChar(static_cast<char16_t>(u)));
      ++column;
    }
  }
  columns.push_back(column);
  return display;
}

// ---- Scrolling ----

void TSyntaxMemo::UpdateScrollBars() {
  const int count = std::max(1, Lines().Count());
  const int page = VisibleLineCount();
  // The last line may scroll up to the top of the window.
  verticalScrollBar()->setRange(0, count - 1);
  verticalScrollBar()->setPageStep(page);
  verticalScrollBar()->setSingleStep(1);
  const int textWidth = viewport()->width() - TextLeft();
  const int contentWidth = (m_longestLine + 1) * m_charWidth;
  horizontalScrollBar()->setRange(0, std::max(0, contentWidth - textWidth));
  horizontalScrollBar()->setPageStep(std::max(1, textWidth));
  horizontalScrollBar()->setSingleStep(m_charWidth);
}

void TSyntaxMemo::RecountLongestLine() {
  const TSyntMemoStrings& lines = Lines();
  int longest = 0;
  for (int i = 0, n = lines.Count(); i < n; ++i) longest = std::max(longest, lines.LineLength(i));
  m_longestLine = longest;
}

void TSyntaxMemo::EnsureCaretVisible() {
  const TPoint caret = CaretPos();
  const int top = TopLine();
  const int page = VisibleLineCount();
  if (caret.Y < top)
    SetTopLine(caret.Y);
  else if (caret.Y >= top + page)
    SetTopLine(caret.Y - page + 1);
  const int x = VisualColumn(caret.Y, caret.X) * m_charWidth;
  const int left = horizontalScrollBar()->value();
  const int width = std::max(m_charWidth, viewport()->width() - TextLeft() - m_charWidth);
  if (x > m_longestLine * m_charWidth) {
    m_longestLine = x / m_charWidth;
    UpdateScrollBars();
  }
  if (x < left)
    horizontalScrollBar()->setValue(x);
  else if (x > left + width)
    horizontalScrollBar()->setValue(x - width);
}

void TSyntaxMemo::scrollContentsBy(int, int) { viewport()->update(); }

// ---- Core hooks ----

void TSyntaxMemo::UpdateView() {
  UpdateScrollBars();
  EnsureCaretVisible();
  viewport()->update();
}

void TSyntaxMemo::CaretMoved() {
  if (UpdateDepth() == 0) EnsureCaretVisible();
  viewport()->update();
  emit CaretPosChanged();
}

void TSyntaxMemo::SelectionChanged() { viewport()->update(); }

void TSyntaxMemo::TextChangedHook(int pos, int count, int lineChange) {
  (void)lineChange;
  if (pos < 0) {
    RecountLongestLine();
  } else if (count > 0) {
    // Only lines touched by an insertion can have grown.
    const int first = Lines().LineFromOffset(pos), last = Lines().LineFromOffset(pos + count);
    for (int line = first; line <= last; ++line) m_longestLine = std::max(m_longestLine, Lines().LineLength(line));
  }
  if (UpdateDepth() == 0) UpdateScrollBars();
  viewport()->update();
  emit TextChanged();
}

void TSyntaxMemo::ClearHook() {
  m_longestLine = 0;
}

// ---- Painting ----

void TSyntaxMemo::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), isEnabled() ? m_color : m_color.darker(150));
  painter.setFont(m_font);
  const int count = Lines().Count();
  const int top = TopLine();
  const int last = std::min(count - 1, top + viewport()->height() / m_lineHeight);
  if (m_syntClient && last >= top) {
    // Tokens for everything shown, before any line is drawn.
    try {
      m_syntClient->AnalyzeTo(static_cast<std::size_t>(Lines().LineStart(last) + Lines().LineFullLength(last)));
    } catch (const std::exception& e) {
      ReportAnalysisError(e);
    }
  }
  for (int line = top; line <= last; ++line) PaintLine(painter, line, (line - top) * m_lineHeight);
  if (hasFocus()) PaintCaret(painter);
}

void TSyntaxMemo::PaintLine(QPainter& painter, int line, int y) {
  const int left = TextLeft() - horizontalScrollBar()->value();
  std::vector<int> columns;
  const QString text = DisplayText(line, columns);
  std::vector<TStyledRun> runs;
  try {
    runs = LineRuns(line, columns);
  } catch (const std::exception& e) {
    ReportAnalysisError(e);
    runs.assign(1, TStyledRun{0, columns.back(), BaseCanvasState()});
  }
  // The selection lies under the text; the selected part is drawn in the
  // highlight colours (hidden while the editor lacks the focus).
  int selFrom = -1, selTo = -1;  // visual columns
  if (HaveSelection() && hasFocus()) {
    if (SelectionMode() == smColumn) {
      const TBlockRect block = BlockRect();
      if (line >= block.Top && line <= block.Bottom) {
        selFrom = block.Left;
        selTo = block.Right;
      }
    } else {
      const int lineStart = Lines().LineStart(line);
      const int lineEnd = lineStart + Lines().LineFullLength(line);
      const int from = std::max(SelStart(), lineStart), to = std::min(SelStart() + SelLength(), lineEnd);
      if (from < to || (from == to && from > SelStart() && from < SelStart() + SelLength())) {
        selFrom = VisualColumn(line, from - lineStart);
        selTo = VisualColumn(line, std::min(to, lineStart + Lines().LineLength(line)) - lineStart);
        if (to > lineStart + Lines().LineLength(line)) ++selTo;  // the selected line break
      }
    }
  }
  const QPalette& colors = palette();
  // Each run at its own cells, so a style's font cannot shift the text after it.
  auto drawRuns = [&](const QColor* pen) {
    for (const TStyledRun& run : runs) {
      painter.setFont(CanvasFont(run.State));
      painter.setPen(pen ? *pen : CanvasColor(run.State.TextColor, colors, m_fontColor));
      painter.drawText(left + run.From * m_charWidth, y + m_ascent, text.mid(run.From, run.To - run.From));
    }
  };
  for (const TStyledRun& run : runs) {
    const QColor background = CanvasColor(run.State.BgColor, colors, QColor());
    if (background.isValid())
      painter.fillRect(QRect(left + run.From * m_charWidth, y, (run.To - run.From) * m_charWidth, m_lineHeight),
                       background);
  }
  drawRuns(nullptr);
  if (selFrom >= 0 && selTo > selFrom) {
    // The selection changes colours only: the runs keep their font attributes.
    const QRect band(left + selFrom * m_charWidth, y, (selTo - selFrom) * m_charWidth, m_lineHeight);
    painter.fillRect(band, colors.color(QPalette::Highlight));
    painter.save();
    painter.setClipRect(band);
    const QColor highlightText = colors.color(QPalette::HighlightedText);
    drawRuns(&highlightText);
    painter.restore();
  }
  painter.setFont(m_font);
}

void TSyntaxMemo::PaintCaret(QPainter& painter) {
  if (ReadOnly()) return;
  const QPoint at = CaretPosToPoint(CaretPos());
  painter.fillRect(QRect(at.x(), at.y(), 2, m_lineHeight), QColor(255 - m_color.red(), 255 - m_color.green(),
                                                                   255 - m_color.blue()));
}

void TSyntaxMemo::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void TSyntaxMemo::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void TSyntaxMemo::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  m_mouseSelecting = false;
  viewport()->update();
}

bool TSyntaxMemo::focusNextPrevChild(bool) { return false; }  // Tab is a key of the editor

// ---- Caret movement and selection ----

void TSyntaxMemo::MoveCaret(TPoint pos, bool extend) {
  // The anchor is the end of the selection away from the caret, so that a
  // selection made by any means (a search, a jump, the mouse) can be extended.
  int anchor = CaretStrPos();
  if (extend && HaveSelection() && SelectionMode() == smNormal)
    anchor = anchor == SelStart() ? SelStart() + SelLength() : SelStart();
  SetCaretPos(pos);
  const int caret = CaretStrPos();
  if (!extend) anchor = caret;
  SetSelection(std::min(anchor, caret), std::abs(caret - anchor));
}

TPoint TSyntaxMemo::WordLeft(TPoint from) const {
  int offset = CaretPosToStrPos(from);
  if (offset <= 0) return TPoint{0, 0};
  const TSyntMemoStrings& lines = Lines();
  --offset;
  while (offset > 0 && !IsWordChar(m_codePage, lines.CharAt(offset))) --offset;
  while (offset > 0 && IsWordChar(m_codePage, lines.CharAt(offset - 1))) --offset;
  return StrPosToCaretPos(offset);
}

TPoint TSyntaxMemo::WordRight(TPoint from) const {
  const TSyntMemoStrings& lines = Lines();
  int offset = CaretPosToStrPos(from);
  const int length = lines.TextLength();
  while (offset < length && IsWordChar(m_codePage, lines.CharAt(offset))) ++offset;
  while (offset < length && !IsWordChar(m_codePage, lines.CharAt(offset))) ++offset;
  return StrPosToCaretPos(offset);
}

bool TSyntaxMemo::HandleCommandKey(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  const bool shift = mods & Qt::ShiftModifier;
  const bool ctrl = mods & Qt::ControlModifier;
  const bool alt = mods & Qt::AltModifier;
  const TPoint caret = CaretPos();
  const int lastLine = std::max(0, Lines().Count() - 1);
  const int page = VisibleLineCount();
  auto moveKey = [&](TPoint to) {
    MoveCaret(to, shift);
    EnsureCaretVisible();
    return true;
  };
  if (alt && !(event->key() == Qt::Key_Backspace)) return false;
  switch (event->key()) {
    case Qt::Key_Left:
      if (ctrl) return moveKey(WordLeft(caret));
      if (caret.X > 0) return moveKey(TPoint{caret.X - 1, caret.Y});
      if (caret.Y > 0) return moveKey(TPoint{Lines().LineLength(caret.Y - 1), caret.Y - 1});
      return moveKey(caret);
    case Qt::Key_Right:
      if (ctrl) return moveKey(WordRight(caret));
      return moveKey(TPoint{caret.X + 1, caret.Y});
    case Qt::Key_Up:
      if (ctrl) {
        SetTopLine(TopLine() - 1);
        return true;
      }
      return moveKey(TPoint{caret.X, std::max(0, caret.Y - 1)});
    case Qt::Key_Down:
      if (ctrl) {
        SetTopLine(TopLine() + 1);
        return true;
      }
      return moveKey(TPoint{caret.X, std::min(lastLine, caret.Y + 1)});
    case Qt::Key_Home:
      return moveKey(ctrl ? TPoint{0, 0} : TPoint{0, caret.Y});
    case Qt::Key_End:
      if (ctrl) return moveKey(StrPosToCaretPos(Lines().TextLength()));
      return moveKey(TPoint{Lines().LineLength(caret.Y), caret.Y});
    case Qt::Key_PageUp:
      if (ctrl) return moveKey(TPoint{caret.X, TopLine()});
      SetTopLine(TopLine() - page);
      return moveKey(TPoint{caret.X, std::max(0, caret.Y - page)});
    case Qt::Key_PageDown:
      if (ctrl) return moveKey(TPoint{caret.X, std::min(lastLine, TopLine() + page - 1)});
      SetTopLine(TopLine() + page);
      return moveKey(TPoint{caret.X, std::min(lastLine, caret.Y + page)});
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (ctrl || shift) return false;
      InsertText("\r\n");
      return true;
    case Qt::Key_Backspace:
      if (alt && !ctrl && !shift) {
        Undo();
        return true;
      }
      if (ctrl || alt) return false;
      if (HaveSelection() && HasOption(soOverwriteBlocks)) {
        ClearSelection();
      } else if (caret.X > Lines().LineLength(caret.Y)) {
        MoveCaret(TPoint{caret.X - 1, caret.Y}, false);  // beyond the end only the caret moves
      } else {
        DeleteText(-1);
      }
      return true;
    case Qt::Key_Delete:
      if (shift && !ctrl) {
        CutToClipboard();
      } else if (ctrl) {
        if (HaveSelection()) ClearSelection();
      } else if (HaveSelection() && HasOption(soOverwriteBlocks)) {
        ClearSelection();
      } else {
        DeleteText(1);
      }
      return true;
    case Qt::Key_Insert:
      if (ctrl && !shift) CopyToClipboard();
      else if (shift && !ctrl) PasteFromClipboard();
      else return false;
      return true;
    case Qt::Key_Tab:
      if (ctrl || shift) return false;
      if (TabMode() == tmSpaces) {
        const int column = VisualColumn(caret.Y, caret.X);
        InsertText(std::string(TabList().NextTabStop(column) - column, ' '));
      } else {
        InsertText("\t");
      }
      return true;
    case Qt::Key_Escape:
      MoveCaret(caret, false);
      return true;
    default:
      break;
  }
  if (ctrl) {
    switch (event->key()) {
      case Qt::Key_C: CopyToClipboard(); return true;
      case Qt::Key_X: CutToClipboard(); break;
      case Qt::Key_V: PasteFromClipboard(); break;
      case Qt::Key_Z:
        if (shift) Redo();
        else Undo();
        break;
      case Qt::Key_A:
        SelectAll();
        return true;
      case Qt::Key_Y: DeleteLine(); break;
      default: return false;
    }
    return true;
  }
  return false;
}

void TSyntaxMemo::DeleteLine() {
  const int line = CaretPos().Y;
  if (line >= Lines().Count()) return;
  const int start = Lines().LineStart(line);
  const int count = Lines().LineFullLength(line);
  if (count == 0 || IsReadOnlySpan(start, count)) return;
  TUpdateGuard bracket(*this);
  SetSelection(start, count);
  ClearSelection();
  SetCaretPos(TPoint{0, line});
}

void TSyntaxMemo::TypeText(const QString& text) {
  std::string bytes;
  for (QChar c : text) {
    // Control characters are not typed.
    if (c.unicode() < 0x20 || c.unicode() == 0x7F) continue;
    bytes.push_back(static_cast<char>(m_codePage.FromUnicode(c.unicode())));
  }
  if (bytes.empty()) return;
  InsertText(bytes);
}

void TSyntaxMemo::keyPressEvent(QKeyEvent* event) {
  if (HandleCommandKey(event)) {
    event->accept();
    return;
  }
  const Qt::KeyboardModifiers mods = event->modifiers();
  // Ctrl or Alt alone are commands, not characters; AltGr (Ctrl+Alt) types.
  const bool command = bool(mods & Qt::ControlModifier) != bool(mods & Qt::AltModifier);
  if (!event->text().isEmpty() && !command) {
    TypeText(event->text());
    event->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void TSyntaxMemo::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty()) TypeText(event->commitString());
  event->accept();
}

void TSyntaxMemo::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() == Qt::LeftButton) {
    MoveCaret(PointToCaretPos(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    m_mouseSelecting = true;
    event->accept();
    return;
  }
  QAbstractScrollArea::mousePressEvent(event);
}

void TSyntaxMemo::mouseMoveEvent(QMouseEvent* event) {
  if (m_mouseSelecting && (event->buttons() & Qt::LeftButton)) {
    MoveCaret(PointToCaretPos(event->position().toPoint()), true);
    EnsureCaretVisible();
    event->accept();
    return;
  }
  QAbstractScrollArea::mouseMoveEvent(event);
}

void TSyntaxMemo::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    m_mouseSelecting = false;
    event->accept();
    return;
  }
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void TSyntaxMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mouseDoubleClickEvent(event);
  // Selects the word under the mouse.
  const TPoint at = PointToCaretPos(event->position().toPoint());
  const int offset = CaretPosToStrPos(at);
  int from = offset, to = offset;
  while (from > 0 && IsWordChar(m_codePage, Lines().CharAt(from - 1)) &&
         Lines().LineFromOffset(from - 1) == at.Y)
    --from;
  while (to < Lines().TextLength() && IsWordChar(m_codePage, Lines().CharAt(to))) ++to;
  if (from == to) return;
  SetCaretStrPos(to);
  SetSelection(from, to - from);
  event->accept();
}

void TSyntaxMemo::wheelEvent(QWheelEvent* event) {
  // 40 units of wheel delta per line: three lines for one notch.
  const int lines = event->angleDelta().y() / 40;
  if (lines != 0) SetTopLine(TopLine() - lines);
  event->accept();
}

}  // namespace penwick
