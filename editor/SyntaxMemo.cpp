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
#include "editor/QtCanvasColors.h"
#include "editor/QtClipboard.h"
#include "editor/QtGutter.h"
#include "editor/QtHintWindow.h"
#include "editor/QtTextRenderer.h"
#include "editor/QtViewHints.h"
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
      m_fontColor(QColor(0xC0, 0xC0, 0xC0)),
      m_folds(m_core.Lines()),
      m_wrap(m_core.Lines(), m_core.TabList(), m_measure),
      m_rows(m_core.Lines(), m_core.TabList(), m_measure, m_wrap, m_folds),
      m_navigator(m_core, m_rows),
      m_foldCommands(m_folds, [this]() -> const TParserResults* { return m_syntClient.get(); }),
      m_searchMarks(m_core.Lines()),
      m_gutter(std::make_unique<TQtGutter>()),
      m_renderer(std::make_unique<TQtTextRenderer>(*this)) {
  m_core.SetClipboard(m_systemClipboard.get());
  TMemoEditorHooks hooks;
  hooks.UpdateView = [this] { UpdateView(); };
  hooks.CaretMoved = [this] { CaretMoved(); };
  hooks.SelectionChanged = [this] { viewport()->update(); };
  hooks.Cleared = [this] {
    m_longestLine = 0;
    m_folds.Clear();
  };
  m_core.SetHooks(std::move(hooks));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setMouseTracking(true);
  m_navigator.SetFoldSource(m_foldCommands.Source());
  m_gutter->SetFolding(TGutterFolding{
      [this](int line) { return m_syntClient ? m_syntClient->LineFoldState(line) : -3; },
      [this](int line, bool nested) { ToggleFold(line, nested); }});
  m_gutter->OnChanged = [this] { Relayout(); };
  m_gutter->LineNumbers().OnChanged = [this] { viewport()->update(); };
  m_defaultStyles.OnChanged = [this] { viewport()->update(); };
  m_searchMarks.OnChanged = [this] { viewport()->update(); };
  m_tabStopsLaidOut = TabList().Stops();
  CreateHints();
  connect(&m_caretBlink, &QTimer::timeout, this, [this] {
    m_caretBlinkOn = !m_caretBlinkOn;
    viewport()->update(CaretRect());
  });
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
  UpdateScrollBars();
}

TSyntaxMemo::~TSyntaxMemo() {
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
  // Folds come from the analysis's ranges: without it they could not be opened again.
  if (!m_folds.Empty()) {
    m_folds.Clear();
    UpdateScrollBars();
  }
  if (analyzer) {
    m_syntClient = analyzer->CreateClient(m_textSource.get(), m_scheduler.get());
    m_syntClient->OnFinished = [this] { viewport()->update(); };
    m_syntClient->SetErrorHandler([this](const std::exception& e) { ReportAnalysisError(e); });
  }
  viewport()->update();
}

void TSyntaxMemo::AnalyzeForPaint(int endOffset) {
  if (!m_syntClient || endOffset <= 0) return;
  try {
    m_syntClient->AnalyzeTo(static_cast<std::size_t>(endOffset));
  } catch (const std::exception& e) {
    ReportAnalysisError(e);
  }
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

// The view (properties, geometry, scrolling, painting and the view's events)
// is in QtSyntaxMemoView.cpp.

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
  if (ViewMousePress(event, false)) return;  // gutter buttons, collapse marks
  if (event->button() == Qt::LeftButton) {
    MoveCaret(PointToCaretPos(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    m_mouseSelecting = true;
    event->accept();
    return;
  }
  QAbstractScrollArea::mousePressEvent(event);
}

void TSyntaxMemo::mouseMoveEvent(QMouseEvent* event) {
  ViewMouseMove(event);  // hints
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
  if (ViewMousePress(event, true)) return;  // gutter, collapse marks
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

}  // namespace penwick
