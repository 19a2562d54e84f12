// The editor control's view: its look, geometry over visual rows, scrolling, painting and the view's events.
#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleHints>
#include <QWheelEvent>
#include <algorithm>

#include "editor/QtGutter.h"
#include "editor/QtHintWindow.h"
#include "editor/QtKeyInput.h"
#include "editor/QtTextMouse.h"
#include "editor/QtTextRenderer.h"
#include "editor/QtViewHints.h"
#include "editor/SyntaxMemo.h"

namespace penwick {

// ---- Look ----

void TSyntaxMemo::SetEditorFont(const QFont& font) {
  const int top = TopLine();
  m_font = font;
  QFontMetrics metrics(m_font);
  m_lineHeight = std::max(1, metrics.height());
  m_charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('x')));
  m_ascent = metrics.ascent();
  m_measure.Set(m_charWidth, m_lineHeight);
  m_wrap.InvalidateAll();
  Relayout(top);
}

void TSyntaxMemo::SetColor(const QColor& color) {
  m_color = color;
  viewport()->update();
}

void TSyntaxMemo::SetFontColor(const QColor& color) {
  m_fontColor = color;
  viewport()->update();
}

void TSyntaxMemo::SetOptions(TSyntaxMemoOptions options) {
  m_core.SetOptions(options);
  UpdateScrollBars();
  viewport()->update();
}

void TSyntaxMemo::SetTabListAsString(std::string_view stops) {
  // A duplicate raises after the stops before it were taken: lay those out too.
  struct TRelayout {
    TSyntaxMemo& memo;
    int top;
    ~TRelayout() {
      memo.m_tabStopsLaidOut = memo.TabList().Stops();
      memo.m_wrap.InvalidateAll();
      memo.Relayout(top);
    }
  } relayout{*this, TopLine()};
  TabList().SetAsString(stops);
}

void TSyntaxMemo::SetReplaceMode(bool replace) {
  m_core.SetReplaceMode(replace);
  viewport()->update();
}

void TSyntaxMemo::SetWordWrap(bool on) {
  if (on == m_wrap.WordWrap()) return;
  const int top = TopLine();
  m_wrap.SetWordWrap(on);
  // Wrapped text never scrolls sideways: its bar would only take room.
  setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  Relayout(top);
}

void TSyntaxMemo::SetTextMargin(int pixels) {
  m_textMargin = std::max(0, pixels);
  Relayout();
}

TQtLineNumbers& TSyntaxMemo::LineNumbers() { return m_gutter->LineNumbers(); }

int TSyntaxMemo::TextLeft() const { return m_gutter->Width() + m_textMargin; }

const TQtHintWindow& TSyntaxMemo::HintWindow() const { return m_hints->Window(); }

void TSyntaxMemo::Relayout(int topLine) {
  if (topLine < 0) topLine = TopLine();  // before the wrap width changes the rows
  // The right margin keeps one cell free for a caret behind the last character.
  m_wrap.SetWrapWidth(viewport()->width() - TextLeft() - m_charWidth);
  m_navigator.SetPageRows(viewport()->height() / m_lineHeight);
  // The line at the top stays there when the rows change under it.
  m_navigator.SetTopRow(m_rows.FirstRowOf(topLine));
  UpdateScrollBars();
  viewport()->update();
}

// ---- Folding ----

void TSyntaxMemo::ToggleFold(int line, bool nested) {
  if (!m_foldCommands.Toggle(line, nested)) return;
  // A caret the fold hid goes to its mark.
  const TPoint caret = CaretPos();
  const TPoint shown = m_navigator.ClampToFolds(caret, false);
  if (shown != caret) SetCaretPos(shown);
  UpdateScrollBars();
  viewport()->update();
}

void TSyntaxMemo::UnfoldLine(int line) {
  if (!m_foldCommands.UnfoldOn(line)) return;
  UpdateScrollBars();
  viewport()->update();
}

// ---- Geometry ----

int TSyntaxMemo::TopLine() const { return m_rows.RowAt(TopRow()).Line; }

void TSyntaxMemo::SetTopLine(int line) { SetTopRow(m_rows.FirstRowOf(line)); }

void TSyntaxMemo::SetTopRow(int row) {
  m_navigator.SetTopRow(row);
  UpdateScrollBars();  // range and value together: a stale range must not clip the row
  viewport()->update();
}

int TSyntaxMemo::VisibleLineCount() const { return m_navigator.PageRows(); }

TPoint TSyntaxMemo::PointToCaretPos(QPoint point) const {
  const int x = point.x() - TextLeft() + horizontalScrollBar()->value();
  const int y = point.y() + TopRow() * m_lineHeight;
  return m_rows.PixelToCaret(x, y);
}

QPoint TSyntaxMemo::CaretPosToPoint(TPoint pos) const {
  const TPixelPoint at = m_rows.CaretToPixel(pos);
  return QPoint(TextLeft() + at.X - horizontalScrollBar()->value(), at.Y - TopRow() * m_lineHeight);
}

QRect TSyntaxMemo::CaretRect() const { return m_renderer->CaretRect(); }

// ---- Scrolling ----

void TSyntaxMemo::UpdateScrollBars() {
  // The vertical bar counts visual rows; with soScrollLastLine the last row may become the top one.
  QScrollBar* vertical = verticalScrollBar();
  const QSignalBlocker quiet(vertical);
  vertical->setRange(0, m_navigator.MaxTopRow());
  vertical->setPageStep(m_navigator.PageRows());
  vertical->setSingleStep(1);
  vertical->setValue(m_navigator.TopRow());
  const int textWidth = viewport()->width() - TextLeft();
  const int contentWidth = WordWrap() ? 0 : (m_longestLine + 1) * m_charWidth;
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
  m_navigator.EnsureCaretVisible();
  if (verticalScrollBar()->value() != m_navigator.TopRow()) SetTopRow(m_navigator.TopRow());
  if (WordWrap()) return;
  const int x = m_rows.CaretToPixel(m_rows.ShownCaret(CaretPos())).X;
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

void TSyntaxMemo::scrollContentsBy(int, int) {
  m_navigator.SetTopRow(verticalScrollBar()->value());
  viewport()->update();
}

void TSyntaxMemo::wheelEvent(QWheelEvent* event) {
  m_hints->Wheel();
  // 40 units of wheel delta per row, truncated toward zero: three rows for one notch.
  const int rows = event->angleDelta().y() / 40;
  if (rows != 0) SetTopRow(TopRow() - rows);
  event->accept();
}

// ---- What the parts tell the view ----

void TSyntaxMemo::UpdateView() {
  KeepCaretOutOfFolds();
  UpdateScrollBars();
  EnsureCaretVisible();
  viewport()->update();
}

void TSyntaxMemo::KeepCaretOutOfFolds() {
  // A caret on a hidden line or past a collapse mark is put at the mark.
  const TPoint caret = CaretPos();
  const TPoint shown = m_navigator.ClampToFolds(caret, false);
  if (shown != caret) SetCaretPos(shown);
}

void TSyntaxMemo::CaretMoved() {
  if (m_core.UpdateDepth() == 0) {
    KeepCaretOutOfFolds();
    EnsureCaretVisible();
  }
  RestartCaretBlink();
  viewport()->update();
  emit CaretPosChanged();
}

void TSyntaxMemo::TextChangedInStore(int pos, int count) {
  if (pos < 0) {
    RecountLongestLine();
    // A new text is shown from its top, where the core put the caret; the
    // old scroll position must not linger to come back as the text grows.
    // (The horizontal bar first: its change reads the vertical one back.)
    horizontalScrollBar()->setValue(0);
    m_navigator.SetTopRow(0);
  } else if (count > 0) {
    // Only lines touched by an insertion can have grown.
    const int first = Lines().LineFromOffset(pos), last = Lines().LineFromOffset(pos + count);
    for (int line = first; line <= last; ++line) m_longestLine = std::max(m_longestLine, Lines().LineLength(line));
  }
  if (m_core.UpdateDepth() == 0) UpdateScrollBars();
  viewport()->update();
}

// ---- Painting ----

void TSyntaxMemo::paintEvent(QPaintEvent* event) {
  if (TabList().Stops() != m_tabStopsLaidOut) {
    // The stops were changed through TabList(): lay out again before drawing.
    m_tabStopsLaidOut = TabList().Stops();
    m_wrap.InvalidateAll();
    QTimer::singleShot(0, this, [this] { UpdateScrollBars(); });
  }
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), isEnabled() ? m_color : m_color.darker(150));
  const std::vector<TVisibleLine> lines = m_renderer->VisibleLines();
  m_renderer->Paint(painter, event->rect(), lines);
  m_renderer->PaintCaret(painter);
  m_gutter->Paint(painter, lines, viewport()->height());
}

void TSyntaxMemo::RestartCaretBlink() {
  m_caretBlinkOn = true;
  const int flash = QApplication::styleHints()->cursorFlashTime();
  if (flash > 0 && hasFocus()) m_caretBlink.start(flash / 2);
  else m_caretBlink.stop();
}

// ---- The view's events ----

void TSyntaxMemo::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  Relayout();
}

void TSyntaxMemo::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  RestartCaretBlink();
  viewport()->update();
}

void TSyntaxMemo::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  m_textMouse->Cancel();
  m_keyInput->KeyMap().ResetQueue();  // a half-typed two-stroke shortcut does not outlive the focus
  m_caretBlink.stop();
  m_hints->FocusLost();
  viewport()->update();
}

void TSyntaxMemo::leaveEvent(QEvent* event) {
  QAbstractScrollArea::leaveEvent(event);
  m_hints->MouseLeft();
}

bool TSyntaxMemo::ViewMousePress(QMouseEvent* event, bool doubleClick) {
  if (event->button() != Qt::LeftButton) return false;
  const QPoint at = event->position().toPoint();
  const std::vector<TVisibleLine> lines = m_renderer->VisibleLines();
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  if (at.x() < m_gutter->Width()) {
    // A double click in the gutter is the second click of the pair: not a fold again.
    if (!doubleClick) m_gutter->MousePress(lines, at, ctrl);
    event->accept();
    return true;
  }
  if (doubleClick || ctrl) {
    const int line = m_renderer->CollapseMarkLineAt(lines, at);
    if (line >= 0) {
      UnfoldLine(line);
      event->accept();
      return true;
    }
  }
  return false;
}

void TSyntaxMemo::ViewMouseMove(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  viewport()->setCursor(at.x() < m_gutter->Width() ? Qt::ArrowCursor : Qt::IBeamCursor);
  m_hints->MouseMoved(at);
}

void TSyntaxMemo::CreateHints() {
  TQtViewHints::TQueries queries;
  queries.FoldedButtonLineAt = [this](QPoint at) {
    const int line = m_gutter->ButtonLineAt(m_renderer->VisibleLines(), at);
    return line >= 0 && m_rows.FoldOn(line) ? line : -1;
  };
  queries.ShowCollapsed = [this](TQtHintWindow& window, int line, int timeMs) {
    const TFoldRange* fold = m_rows.FoldOn(line);
    if (!fold) return;
    const TFoldRange shown = *fold;
    const int count = m_hintProps.CollapsedLines();
    QRect button;
    for (const TVisibleLine& visible : m_renderer->VisibleLines())
      if (visible.Line == line) button = m_gutter->ButtonRect(visible);
    window.ShowPicture(
        TQtHintWindow::hkCollapsed, m_renderer->HiddenLinesSize(shown, count),
        [this, shown, count](QPainter& painter) { m_renderer->PaintHiddenLines(painter, shown, count); },
        viewport()->mapToGlobal(button.bottomRight() + QPoint(1, 1)), timeMs);
  };
  queries.TopLineNumberOf = [this](int value) { return m_rows.RowAt(value).Line + 1; };
  queries.HasFocus = [this] { return hasFocus(); };
  queries.ScrollHintAnchor = [this] {
    const QPoint right = viewport()->mapToGlobal(QPoint(viewport()->width(), 0));
    return QPoint(right.x(), QCursor::pos().y());
  };
  m_hints = new TQtViewHints(this, m_hintProps, std::move(queries));
  connect(verticalScrollBar(), &QScrollBar::sliderMoved, m_hints, &TQtViewHints::ScrollThumbMoved);
  connect(verticalScrollBar(), &QScrollBar::sliderReleased, m_hints, &TQtViewHints::ScrollThumbReleased);
}

}  // namespace penwick
