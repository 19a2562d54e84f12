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
#include "editor/MemoTextSource.h"
#include "editor/QtAnalysisScheduler.h"
#include "editor/QtCanvasColors.h"
#include "editor/QtClipboard.h"
#include "editor/QtIncSearchInput.h"
#include "editor/QtSearchControl.h"
#include "editor/SearchCommands.h"
#include "editor/QtContextMenu.h"
#include "editor/QtKeyInput.h"
#include "editor/QtTextMouse.h"
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

}  // namespace

TSyntaxMemo::TSyntaxMemo(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_layout(m_core.Lines(), m_core.TabList()),
      m_codePage(TCodePage::Default()),
      m_systemClipboard(std::make_unique<TQtClipboard>(&TCodePage::Default())),
      m_folds(m_core.Lines()),
      m_wrap(m_core.Lines(), m_core.TabList(), m_measure),
      m_rows(m_core.Lines(), m_core.TabList(), m_measure, m_wrap, m_folds),
      m_navigator(m_core, m_rows),
      m_foldCommands(m_folds, [this]() -> const TParserResults* { return m_syntClient.get(); }),
      m_searchMarks(m_core.Lines()),
      m_gutter(std::make_unique<TQtGutter>()),
      m_renderer(std::make_unique<TQtTextRenderer>(*this)),
      m_color(Qt::black),
      m_fontColor(QColor(0xC0, 0xC0, 0xC0)) {
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
      // A folded line keeps its (plus) button even when the analysis, after
      // an edit around it, no longer starts a range there: it is the way back.
      [this](int line) { return m_rows.FoldOn(line) ? 0 : m_syntClient ? m_syntClient->LineFoldState(line) : -3; },
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
  m_commands = std::make_unique<TEditorCommands>(m_core, m_navigator, m_codePage);
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
  m_incSearch.OnIncSearchChange = [this](int state) {
    if (OnIncSearchChange) OnIncSearchChange(state);
  };
  m_incSearchInput = new TQtIncSearchInput(*this, m_incSearch, m_searchMarks);
  m_dispatcher.Register(cmIncrementalSearch, [this](char) { StartIncSearch(); });
  m_searchControl = std::make_unique<TMemoSearchControl>(*this);
  // The search keys reach the find and replace components bound to it.
  RegisterSearchCommands(*m_searchControl);
  UpdateScrollBars();
}

TSyntaxMemo::~TSyntaxMemo() {
  // The bound find components let go of it while the parts it serves still
  // live; the search keys that reach it go with it.
  for (int command : {cmFindDialog, cmReplaceDialog, cmSearchAgain, cmFindCurrentWordNext, cmFindCurrentWordPrior,
                      cmGotoLine})
    m_dispatcher.Unregister(command);
  m_searchControl.reset();
  // It filters events the base class still sends while it goes (focus, hide);
  // the search it reads is gone by then.
  delete m_incSearchInput;
  // The analysis reads the store and uses the scheduler: it goes first.
  m_syntClient.reset();
  // The clipboard object dies with this widget; the core must not keep it.
  m_core.SetClipboard(nullptr);
  m_core.SetHooks({});
}

TSearchControl& TSyntaxMemo::SearchControl() { return *m_searchControl; }

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

void TSyntaxMemo::UnfoldSpan(int startPos, int endPos) {
  // A fold hides its text from its start offset on; the list changes as folds go.
  std::vector<std::pair<int, int>> hiding;
  for (const TFoldRange& fold : m_folds.Folds())
    if (fold.StartPos < std::max(endPos, startPos + 1) && fold.EndPos > startPos)
      hiding.emplace_back(fold.StartPos, fold.EndPos);
  if (hiding.empty()) return;
  for (const auto& [from, to] : hiding) m_folds.Unfold(from, to);
  UpdateScrollBars();
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
  m_hints->MousePressed();
  setFocus(Qt::MouseFocusReason);
  if (ViewMousePress(event, false)) return;  // gutter buttons, collapse marks
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
  ViewMouseMove(event);  // hints
  if (m_textMouse->Move(*event)) return event->accept();
  QAbstractScrollArea::mouseMoveEvent(event);
}

void TSyntaxMemo::mouseReleaseEvent(QMouseEvent* event) {
  if (m_textMouse->Release(*event)) return event->accept();
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void TSyntaxMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  if (ViewMousePress(event, true)) return;  // gutter, collapse marks
  if (m_textMouse->DoubleClick(*event)) return event->accept();
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}

}  // namespace penwick
