// The completion list in the editor: opening at the word start, refiltering
// after every change, the keys that end a word, and the insertion.
#include "editor/AutoCompletePopup.h"

#include <QKeyEvent>

#include "editor/EditorCommandIds.h"
#include "editor/QtKeyInput.h"
#include "editor/SyntaxMemo.h"
#include "platform/CodePage.h"

namespace penwick {

namespace {

const TCodePage& CodePageOf(const TSyntaxMemo* memo) { return memo ? memo->CodePage() : TCodePage::Default(); }

// The character a key press types into the editor, or 0: the editor's own
// rule decides whether it types, then its first printable character counts.
unsigned char TypedCharacter(const QKeyEvent& event, const TCodePage& codePage) {
  if (!TQtKeyInput::TypesText(event)) return 0;
  for (const QChar c : event.text())
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F) return codePage.FromUnicode(c.unicode());
  return 0;
}

}  // namespace

TAutoCompletePopup::TAutoCompletePopup(TSyntaxMemo* memo, QObject* parent)
    : TSyntMemoPopupList(memo, cmAutoCompletion, parent), m_model(CodePageOf(memo)) {
  SetLayoutSide(lsLeft);
  m_model.SetSortType(asItems);
  m_model.SetOptions(aoExactClose);
  QFont font("Tahoma");
  font.setPixelSize(9);
  SetListFont(font);
  if (memo) {
    connect(memo, &TSyntaxMemo::TextChanged, this, [this] { ScheduleRefilter(); });
    connect(memo, &TSyntaxMemo::CaretPosChanged, this, [this] { ScheduleRefilter(); });
  }
}

TAutoCompletePopup::~TAutoCompletePopup() = default;

bool TAutoCompletePopup::Execute() {
  TSyntaxMemo* memo = SyntMemo();
  if (!memo || memo->HaveSelection()) return false;
  const TCodePage& codePage = CodePageOf(memo);
  const TPoint caret = memo->CaretPos();
  const std::string line = memo->Lines().Line(caret.Y);
  m_wordStart = TPoint{WordStartColumn(line, caret.X, codePage), caret.Y};
  m_model.Prepare();
  if (m_model.Items().empty()) return false;
  // Filtered before showing, so that the first rows shown already match.
  std::string prefix;
  if (!TypedPrefix(line, m_wordStart.X, caret.X, true, codePage, &prefix) || m_model.ClosesExactly(prefix)) {
    if (Showing()) CloseUp(false);
    return false;
  }
  m_model.Filter(prefix);
  m_refilterPending = false;
  ShowRows();
  const bool wasShowing = Showing();
  if (!ShowPopup(AnchorAt(m_wordStart))) return false;
  if (wasShowing) Changed();  // a first showing raised it already
  return Showing();
}

bool TAutoCompletePopup::CurrentPrefix(std::string* prefix) const {
  const TSyntaxMemo* memo = SyntMemo();
  if (!memo) return false;
  const TPoint caret = memo->CaretPos();
  return TypedPrefix(memo->Lines().Line(m_wordStart.Y), m_wordStart.X, caret.X, caret.Y == m_wordStart.Y,
                     CodePageOf(memo), prefix);
}

void TAutoCompletePopup::ShowRows() {
  std::vector<std::string> texts;
  texts.reserve(static_cast<size_t>(m_model.RowCount()));
  for (int row = 0; row < m_model.RowCount(); ++row) texts.push_back(m_model.RowText(row));
  SetRows(texts);
}

void TAutoCompletePopup::Refilter() {
  m_refilterPending = false;
  if (!Showing()) return;
  std::string prefix;
  if (!CurrentPrefix(&prefix)) return CloseUp(false);
  m_model.Filter(prefix);
  ShowRows();
  if (m_model.ClosesExactly(prefix)) return CloseUp(false);
  Changed();
}

void TAutoCompletePopup::ScheduleRefilter() {
  // Closing inserts text: those changes are the list's own.
  if (!Showing()) return;
  const TSyntaxMemo* memo = SyntMemo();
  if (memo && memo->Core().UpdateDepth() == 0) return Refilter();
  // Inside an edit operation the caret may still stand where the text was
  // before the change; judge the prefix once the operation is over.
  if (m_refilterPending) return;
  m_refilterPending = true;
  QMetaObject::invokeMethod(this, [this] { FlushRefilter(); }, Qt::QueuedConnection);
}

void TAutoCompletePopup::FlushRefilter() {
  if (m_refilterPending) Refilter();
}

bool TAutoCompletePopup::OwnerEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
      // The rows must answer for the text as it is now.
      FlushRefilter();
      if (!Showing()) return false;
      break;
    default: break;
  }
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      // A complete word keeps Enter for the line break, unless the user
      // picked a row: that choice is what Enter takes.
      std::string prefix;
      const bool complete = !RowChosen() && IsCompleteWord && CurrentPrefix(&prefix) && IsCompleteWord(prefix);
      if (SelectedRow() < 0 || complete) {
        CloseUp(false);
        return false;  // Enter breaks the line
      }
      CloseUp(true);
      return true;
    }
    const unsigned char c = TypedCharacter(*key, CodePageOf(SyntMemo()));
    if (c != 0 && !CodePageOf(SyntMemo()).IsWordChar(c)) {
      CloseUp(m_model.CharacterAccepts(SelectedRow(), RowChosen()));
      return false;  // the character is typed after the word
    }
  }
  return TSyntMemoPopupList::OwnerEvent(event);
}

void TAutoCompletePopup::CloseHook(bool accept) {
  m_refilterPending = false;
  if (accept) Insert();
  TSyntMemoPopupList::CloseHook(accept);
}

void TAutoCompletePopup::Insert() {
  TSyntaxMemo* memo = SyntMemo();
  const int row = SelectedRow();
  if (!memo || row < 0 || row >= m_model.RowCount()) return;
  const std::string word = m_model.RowItem(row);
  const TPoint caret = memo->CaretPos();
  const std::string line = memo->Lines().Line(m_wordStart.Y);
  const int caretColumn = caret.Y == m_wordStart.Y ? caret.X : m_wordStart.X;
  const int end = ReplacedSpanEnd(line, m_wordStart.X, caretColumn, CodePageOf(memo));
  TMemoEditor& core = memo->Core();
  const int start = core.CaretPosToStrPos(m_wordStart);
  TUpdateGuard guard(core);
  core.SetSelectionMode(smNormal);
  core.SetCaretStrPos(start);
  core.SetSelection(start, std::max(end - m_wordStart.X, 0));
  core.InsertText(word);
}

}  // namespace penwick
