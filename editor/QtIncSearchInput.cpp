// Keys, mouse and focus of the editor translated into incremental-search steps.
#include "editor/QtIncSearchInput.h"

#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "editor/IncrementalSearch.h"
#include "editor/SearchMarks.h"
#include "editor/SyntaxMemo.h"
#include "platform/CodePage.h"

namespace penwick {

namespace {

bool IsCharacterKey(const QKeyEvent* event) {
  if (event->text().isEmpty() || event->text().front().unicode() < 0x20 || event->text().front().unicode() == 0x7F)
    return false;
  // Ctrl or Alt alone make a command; both together are AltGr on some systems.
  const Qt::KeyboardModifiers mods = event->modifiers();
  return bool(mods & Qt::ControlModifier) == bool(mods & Qt::AltModifier);
}

}  // namespace

TQtIncSearchInput::TQtIncSearchInput(TSyntaxMemo& memo, TIncrementalSearch& search, TSearchMarks& marks)
    : QObject(&memo), m_memo(memo), m_search(search), m_marks(marks) {
  m_search.OnMatchChanged = [this] { ShowMatch(); };
  m_memo.installEventFilter(this);
  Watch(m_memo.viewport());
}

void TQtIncSearchInput::Watch(QWidget* widget) { widget->installEventFilter(this); }

void TQtIncSearchInput::Start() {
  m_memo.setFocus(Qt::ShortcutFocusReason);
  m_search.Start(m_memo.CaretStrPos());
}

bool TQtIncSearchInput::HandleKey(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (!m_search.Active()) return false;  // Ctrl+E starts it through the key map
  switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
      return true;
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Control:
    case Qt::Key_Alt:
      m_search.Stop();
      return true;
    case Qt::Key_Backspace:
      // Shift may still be held from a capital: it does not make Backspace a key of the text.
      if ((mods & ~Qt::ShiftModifier) != Qt::NoModifier) break;
      m_search.Backspace();
      return true;
    default:
      if (!IsCharacterKey(event)) break;
      SearchText(event->text());
      return true;
  }
  m_search.Stop();
  return false;
}

void TQtIncSearchInput::SearchText(const QString& text) {
  const TCodePage& codePage = TCodePage::Default();
  for (QChar c : text) {
    if (c.unicode() < 0x20) return;
    const unsigned char byte = codePage.FromUnicode(c.unicode(), 0);
    if (byte == 0 || !m_search.AddChar(static_cast<char>(byte))) return;
  }
}

bool TQtIncSearchInput::eventFilter(QObject* watched, QEvent* event) {
  if (m_search.Active()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        m_search.Stop();
        break;
      case QEvent::FocusOut:
        if (watched == &m_memo) m_search.Stop();
        break;
      case QEvent::InputMethod: {
        const QString text = static_cast<QInputMethodEvent*>(event)->commitString();
        if (watched != &m_memo || text.isEmpty()) break;
        SearchText(text);
        event->accept();
        return true;
      }
      default:
        break;
    }
  }
  return QObject::eventFilter(watched, event);
}

void TQtIncSearchInput::ShowMatch() {
  const int caret = m_search.CaretOffset();
  // A caret on a line a fold hides is not drawn, and the match would not be seen.
  if (const auto match = m_search.Match()) m_memo.UnfoldSpan(match->Start, match->End);
  if (m_memo.SelectionMode() == smColumn) m_memo.Core().SetSelectionMode(smNormal);
  m_memo.SetSelection(caret, 0);
  m_memo.SetCaretStrPos(caret);
  m_marks.Clear();
  if (const auto match = m_search.Match()) m_marks.Add(match->Start, match->End);
  m_memo.EnsureCaretVisible();
}

}  // namespace penwick
