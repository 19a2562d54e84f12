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
#include <chrono>

#include "editor/MemoTextSource.h"
#include "editor/QtAnalysisScheduler.h"
#include "editor/QtCanvasColors.h"
#include "editor/QtClipboard.h"
#include "editor/QtIncSearchInput.h"
#include "editor/StyledRuns.h"
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

}  // namespace

TSyntaxMemo::TSyntaxMemo(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_layout(m_core.Lines(), m_core.TabList()),
      m_codePage(TCodePage::Default()),
      m_systemClipboard(std::make_unique<TQtClipboard>(&TCodePage::Default())),
      m_color(Qt::black),
      m_fontColor(QColor(0xC0, 0xC0, 0xC0)) {
  m_core.SetClipboard(m_systemClipboard.get());
  TMemoEditorHooks hooks;
  hooks.UpdateView = [this] { UpdateView(); };
  hooks.CaretMoved = [this] { CaretMoved(); };
  hooks.SelectionChanged = [this] { viewport()->update(); };
  hooks.Cleared = [this] { m_longestLine = 0; };
  m_core.SetHooks(std::move(hooks));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SetEditorFont(DefaultEditorFont());
  m_core.OnModifiedChanged = [this] { emit ModifiedChanged(); };
  m_textSource = std::make_unique<TMemoTextSource>(Lines());
  m_scheduler = std::make_unique<TQtAnalysisScheduler>();
  TStoreListener content;
  content.Changed = [this](int pos, int count, int) { TextChangedInStore(pos, count); };
  m_storeContent = Lines().Subscribe(std::move(content), TStorePhase::Content);
  TStoreListener events;
  events.Changed = [this](int, int, int) { emit TextChanged(); };
  m_storeEvents = Lines().Subscribe(std::move(events), TStorePhase::Events);
  m_searchMarks.OnChanged = [this] { viewport()->update(); };
  m_incSearch.OnIncSearchChange = [this](int state) {
    if (OnIncSearchChange) OnIncSearchChange(state);
  };
  m_incSearchInput = new TQtIncSearchInput(*this, m_incSearch, m_searchMarks);
  UpdateScrollBars();
}

TSyntaxMemo::~TSyntaxMemo() {
  // It filters events the base class still sends while it goes (focus, hide);
  // the search it reads is gone by then.
  delete m_incSearchInput;
  // The analysis reads the store and uses the scheduler: it goes first.
  m_syntClient.reset();
  // The clipboard object dies with this widget; the core must not keep it.
  m_core.SetClipboard(nullptr);
  m_core.SetHooks({});
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
  return TStyledRuns(m_syntClient.get(), BaseCanvasState()).StateAt(offset);
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

TPoint TSyntaxMemo::PointToCaretPos(QPoint point) const {
  const int count = Lines().Count();
  int line = TopLine() + (point.y() < 0 ? (point.y() / m_lineHeight) - 1 : point.y() / m_lineHeight);
  line = std::clamp(line, 0, std::max(0, count - 1));
  const int x = point.x() - TextLeft() + horizontalScrollBar()->value();
  // Between cells the caret goes to the nearer boundary.
  return TPoint{m_layout.NearestColumn(line, x, m_charWidth), line};
}

QPoint TSyntaxMemo::CaretPosToPoint(TPoint pos) const {
  return QPoint(TextLeft() + m_layout.VisualColumn(pos.Y, pos.X) * m_charWidth - horizontalScrollBar()->value(),
                (pos.Y - TopLine()) * m_lineHeight);
}

QString TSyntaxMemo::DisplayText(int line, std::vector<int>& cells) const {
  cells = m_layout.CellStarts(line);
  const std::string text = Lines().Line(line);
  QString display;
  display.reserve(cells.back());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\t') {
      display.append(QString(cells[i + 1] - cells[i], QLatin1Char(' ')));
    } else {
      const char32_t u = m_codePage.ToUnicode(static_cast<unsigned char>(c));
      display.append(u < 0x20 ? QChar(0x2400 + u) : QChar(static_cast<char16_t>(u)));
    }
  }
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
  // A line's length without its break is at most its full length, which
  // the line starts give without reading the text: only lines that could be
  // longer than the longest so far are measured exactly.
  for (int i = 0, n = lines.Count(); i < n; ++i)
    if (lines.LineFullLength(i) > longest) longest = std::max(longest, lines.LineLength(i));
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
  const int x = m_layout.VisualColumn(caret.Y, caret.X) * m_charWidth;
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
  if (m_core.UpdateDepth() == 0) EnsureCaretVisible();
  viewport()->update();
  emit CaretPosChanged();
}

void TSyntaxMemo::TextChangedInStore(int pos, int count) {
  if (pos < 0) {
    RecountLongestLine();
  } else if (count > 0) {
    // Only lines touched by an insertion can have grown.
    const int first = Lines().LineFromOffset(pos), last = Lines().LineFromOffset(pos + count);
    for (int line = first; line <= last; ++line) m_longestLine = std::max(m_longestLine, Lines().LineLength(line));
  }
  if (m_core.UpdateDepth() == 0) UpdateScrollBars();
  viewport()->update();
}

// ---- Painting ----

void TSyntaxMemo::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), isEnabled() ? m_color : m_color.darker(150));
  painter.setFont(m_font);
  const int count = Lines().Count();
  const int top = TopLine();
  const int last = std::min(count - 1, top + viewport()->height() / m_lineHeight);
  // Tokens for everything shown, as far as the budget allows, before any line is drawn.
  if (last >= top) AnalyzeForPaint(Lines().LineStart(last) + Lines().LineFullLength(last));
  // One lookup for the whole paint: it maps the styled ranges once.
  TStyledRuns lookup(m_syntClient.get(), BaseCanvasState());
  lookup.SetAnalyzeOnDemand(false);
  for (int line = top; line <= last; ++line) PaintLine(painter, lookup, line, (line - top) * m_lineHeight);
  if (hasFocus()) PaintCaret(painter);
}

void TSyntaxMemo::AnalyzeForPaint(int endOffset) {
  if (!m_syntClient) return;
  try {
    const auto deadline = m_syntClient->Now() + std::chrono::milliseconds(kPaintAnalysisBudgetMs);
    const bool reached = m_syntClient->AnalyzeTo(static_cast<std::size_t>(std::max(endOffset, 0)), deadline);
    // Unreached lines are drawn plain for now; the idle run says when to draw them again.
    m_syntClient->WatchParsePosition(static_cast<std::size_t>(std::max(endOffset, 0)),
                                     reached ? std::function<void()>() : [this] { viewport()->update(); });
  } catch (const std::exception& e) {
    ReportAnalysisError(e);
  }
}

bool TSyntaxMemo::SelectionCells(int line, int& from, int& to) const {
  // Hidden while the editor lacks the focus.
  if (!HaveSelection() || !hasFocus()) return false;
  if (SelectionMode() == smColumn) {
    const TBlockRect block = BlockRect();
    from = block.Left;
    to = block.Right;
    return line >= block.Top && line <= block.Bottom && to > from;
  }
  const int lineStart = Lines().LineStart(line);
  const int textEnd = lineStart + Lines().LineLength(line);
  const int lineEnd = lineStart + Lines().LineFullLength(line);
  const int selEnd = SelStart() + SelLength();
  const int first = std::max(SelStart(), lineStart), last = std::min(selEnd, lineEnd);
  if (!(first < last || (first == last && first > SelStart() && first < selEnd))) return false;
  from = m_layout.VisualColumn(line, first - lineStart);
  to = m_layout.VisualColumn(line, std::min(last, textEnd) - lineStart);
  if (last > textEnd) ++to;  // the selected line break
  return to > from;
}

void TSyntaxMemo::PaintLine(QPainter& painter, TStyledRuns& lookup, int line, int y) {
  const int left = TextLeft() - horizontalScrollBar()->value();
  std::vector<int> cells;
  const QString text = DisplayText(line, cells);
  const int lineStart = Lines().LineStart(line);
  std::vector<TStyledRun> runs;
  try {
    runs = lookup.Runs(lineStart, Lines().LineLength(line));
  } catch (const std::exception& e) {
    ReportAnalysisError(e);
    runs.assign(1, TStyledRun{lineStart, lineStart + Lines().LineLength(line), {}, BaseCanvasState()});
  }
  const QPalette& colors = palette();
  auto cellsOf = [&](const TStyledRun& run) {
    return std::pair(cells[static_cast<std::size_t>(run.Start - lineStart)],
                     cells[static_cast<std::size_t>(run.End - lineStart)]);
  };
  // Each run at its own cells, so a style's font cannot shift the text after it.
  auto drawRuns = [&](const QColor* pen) {
    for (const TStyledRun& run : runs) {
      const auto [from, to] = cellsOf(run);
      painter.setFont(CanvasFont(run.State));
      painter.setPen(pen ? *pen : CanvasColor(run.State.TextColor, colors, m_fontColor));
      painter.drawText(left + from * m_charWidth, y + m_ascent, text.mid(from, to - from));
    }
  };
  for (const TStyledRun& run : runs) {
    const QColor background = CanvasColor(run.State.BgColor, colors, QColor());
    const auto [from, to] = cellsOf(run);
    if (background.isValid())
      painter.fillRect(QRect(left + from * m_charWidth, y, (to - from) * m_charWidth, m_lineHeight), background);
  }
  drawRuns(nullptr);
  // The selection lies under the text; the selected part is drawn in the
  // highlight colours. It changes colours only: the runs keep their fonts.
  int selFrom = 0, selTo = 0;
  if (SelectionCells(line, selFrom, selTo)) {
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
      if (HaveSelection() && m_core.HasOption(soOverwriteBlocks)) {
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
      } else if (HaveSelection() && m_core.HasOption(soOverwriteBlocks)) {
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
        const int column = m_layout.VisualColumn(caret.Y, caret.X);
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
  if (count == 0 || m_core.IsReadOnlySpan(start, count)) return;
  TUpdateGuard bracket(m_core);
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
  if (HandleIncSearchKey(event)) return;
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

void TSyntaxMemo::StartIncSearch() { m_incSearchInput->Start(); }

bool TSyntaxMemo::HandleIncSearchKey(QKeyEvent* event) { return m_incSearchInput->HandleKey(event); }

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
