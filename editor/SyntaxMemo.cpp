// The editor control's view and input: painting the visible lines with their
// highlighting, the caret, selection by keys and mouse, typing and the editing keys.
#include "editor/SyntaxMemo.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtGlobal>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>

#include "editor/EditorCommandIds.h"
#include "editor/EditorCommands.h"
#include "editor/LineNavigator.h"
#include "editor/MemoTextSource.h"
#include "editor/QtAnalysisScheduler.h"
#include "editor/QtCanvasColors.h"
#include "editor/QtClipboard.h"
#include "editor/QtIncSearchInput.h"
#include "editor/QtContextMenu.h"
#include "editor/QtKeyInput.h"
#include "editor/QtTextMouse.h"
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
  // Rows are lines until a view with wrap and folds brings its own navigator.
  TLineViewport rows;
  rows.PageRows = [this] { return VisibleLineCount(); };
  rows.TopRow = [this] { return TopLine(); };
  rows.SetTopRow = [this](int row) { SetTopLine(row); };
  rows.EnsureCaretVisible = [this] { EnsureCaretVisible(); };
  m_navigator = std::make_unique<TLineNavigator>(m_core, std::move(rows));
  m_commands = std::make_unique<TEditorCommands>(m_core, *m_navigator, m_codePage);
  m_commands->RegisterAll(m_dispatcher);
  m_keyInput = std::make_unique<TQtKeyInput>(m_dispatcher, m_codePage);
  m_textMouse = std::make_unique<TQtTextMouse>(*m_commands, [this](QPoint point) { return PointToCaretPos(point); });
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
  m_dispatcher.Register(cmIncrementalSearch, [this](char) { StartIncSearch(); });
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
  m_textMouse->Cancel();
  m_keyInput->KeyMap().ResetQueue();  // a half-typed two-stroke shortcut does not outlive the focus
  viewport()->update();
}

// Tab is a key of the editor unless the tab mode leaves it to the dialog.
bool TSyntaxMemo::focusNextPrevChild(bool next) {
  return TabMode() == tmDialog && QAbstractScrollArea::focusNextPrevChild(next);
}

// ---- Keyboard, commands and the mouse in the text ----

TKeyMap& TSyntaxMemo::KeyMap() { return m_keyInput->KeyMap(); }

bool TSyntaxMemo::ExecuteCommand(int command, char data) {
  const bool ran = m_dispatcher.Execute(command, data);
  viewport()->update();
  return ran;
}

void TSyntaxMemo::SetWindowShortcutTest(std::function<bool(const QKeySequence&)> test) {
  m_keyInput->SetWindowShortcutTest(std::move(test));
}

void TSyntaxMemo::SetNavigator(std::unique_ptr<TCaretNavigator> navigator) {
  if (!navigator) return;
  m_commands->SetNavigator(*navigator);
  m_navigator = std::move(navigator);
}

bool TSyntaxMemo::event(QEvent* event) {
  // The window's shortcuts come first, except the Delete key; the editor's
  // own keys and typed characters come before any other shortcut.
  if (event->type() == QEvent::ShortcutOverride) {
    if (m_keyInput->WantsKey(*static_cast<QKeyEvent*>(event))) event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

void TSyntaxMemo::keyPressEvent(QKeyEvent* event) {
  if (HandleIncSearchKey(event)) return;
  if (const std::optional<TKeyStroke> stroke = KeyStrokeOf(*event); stroke && OnKeyDown) {
    TKeyStroke key = *stroke;
    OnKeyDown(key);
    if (key.Key == 0) return event->accept();
  }
  if (m_keyInput->KeyPress(*event, TabMode() == tmDialog)) {
    viewport()->update();
    return event->accept();
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void TSyntaxMemo::StartIncSearch() { m_incSearchInput->Start(); }

bool TSyntaxMemo::HandleIncSearchKey(QKeyEvent* event) { return m_incSearchInput->HandleKey(event); }

void TSyntaxMemo::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty()) m_keyInput->TypeText(event->commitString());
  event->accept();
}

void TSyntaxMemo::mousePressEvent(QMouseEvent* event) {
  // Presses in the gutter are the gutter's and are handed over before this
  // point; a press in the text ends a search and closes a hint first.
  if (OnMousePress) OnMousePress();
  setFocus(Qt::MouseFocusReason);
  if (m_textMouse->Press(*event, m_core)) {
    event->accept();
    if (event->button() == Qt::RightButton)
      TQtContextMenu::Popup(this, m_dispatcher, event->globalPosition().toPoint());
    return;
  }
  QAbstractScrollArea::mousePressEvent(event);
}

void TSyntaxMemo::contextMenuEvent(QContextMenuEvent* event) {
  // A right click opened the menu on its press already.
  if (event->reason() != QContextMenuEvent::Mouse)
    TQtContextMenu::Popup(this, m_dispatcher, viewport()->mapToGlobal(CaretPosToPoint(CaretPos())));
  event->accept();
}

void TSyntaxMemo::mouseMoveEvent(QMouseEvent* event) {
  if (m_textMouse->Move(*event)) return event->accept();
  QAbstractScrollArea::mouseMoveEvent(event);
}

void TSyntaxMemo::mouseReleaseEvent(QMouseEvent* event) {
  if (m_textMouse->Release(*event)) return event->accept();
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void TSyntaxMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  if (m_textMouse->DoubleClick(*event)) return event->accept();
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void TSyntaxMemo::wheelEvent(QWheelEvent* event) {
  // 40 units of wheel delta per line: three lines for one notch.
  const int lines = event->angleDelta().y() / 40;
  if (lines != 0) SetTopLine(TopLine() - lines);
  event->accept();
}

}  // namespace penwick
