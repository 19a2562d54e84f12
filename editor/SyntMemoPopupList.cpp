// The list popup: its rows, the editor's keys and wheel that move them, and
// the mouse in the list.
#include "editor/SyntMemoPopupList.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "editor/SyntaxMemo.h"
#include "platform/CodePage.h"

namespace penwick {

namespace {
constexpr int kWheelStep = 120;
}

TSyntMemoPopupList::TSyntMemoPopupList(TSyntaxMemo* memo, int commandId, QObject* parent)
    : TSyntMemoPopup(memo, commandId, parent), m_list(new QListWidget), m_font(QApplication::font()),
      m_bgColor(QApplication::palette().color(QPalette::Base)) {
  m_list->setFrameShape(QFrame::NoFrame);
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setUniformItemSizes(true);
  m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  m_list->setMouseTracking(true);
  m_list->viewport()->setMouseTracking(true);
  m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SetInnerControl(m_list);  // takes the focus policy away
  m_list->viewport()->setFocusPolicy(Qt::NoFocus);
  ApplyLook();
}

TSyntMemoPopupList::~TSyntMemoPopupList() = default;

int TSyntMemoPopupList::RowCount() const { return m_list->count(); }

std::string TSyntMemoPopupList::RowText(int row) const {
  if (row < 0 || row >= m_list->count()) return {};
  const TCodePage& codePage = SyntMemo() ? SyntMemo()->CodePage() : TCodePage::Default();
  return codePage.FromUtf8(m_list->item(row)->text().toStdString());
}

int TSyntMemoPopupList::SelectedRow() const {
  const int row = m_list->currentRow();
  return row >= 0 && m_list->item(row)->isSelected() ? row : -1;
}

void TSyntMemoPopupList::SetListSize(int width, int height) {
  m_listWidth = std::max(width, 0);
  m_listHeight = std::max(height, 0);
  if (Showing()) ShowPopup(Anchor());
}

void TSyntMemoPopupList::SetItemHeight(int height) {
  m_itemHeight = std::max(height, 1);
  ApplyLook();
}

void TSyntMemoPopupList::SetListFont(const QFont& font) {
  m_font = font;
  ApplyLook();
}

void TSyntMemoPopupList::SetBgColor(const QColor& color) {
  m_bgColor = color;
  ApplyLook();
}

int TSyntMemoPopupList::RowHeight() const {
  const int text = QFontMetrics(m_font).height();
  return text > 0 ? text + 2 : m_itemHeight;
}

void TSyntMemoPopupList::ApplyLook() {
  m_list->setFont(m_font);
  QPalette palette = m_list->palette();
  palette.setColor(QPalette::Base, m_bgColor);
  // The highlight stays the active one though the list never has the focus.
  palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  m_list->setPalette(palette);
  const QSize size(0, RowHeight());
  for (int i = 0; i < m_list->count(); ++i) m_list->item(i)->setSizeHint(size);
}

void TSyntMemoPopupList::SetRows(const std::vector<std::string>& texts) {
  const TCodePage& codePage = SyntMemo() ? SyntMemo()->CodePage() : TCodePage::Default();
  const QSize size(0, RowHeight());
  m_list->setUpdatesEnabled(false);
  m_list->clear();
  for (const std::string& text : texts) {
    auto* item = new QListWidgetItem(QString::fromStdString(codePage.ToUtf8(text)));
    item->setSizeHint(size);
    m_list->addItem(item);
  }
  m_list->setUpdatesEnabled(true);
  m_wheelRest = 0;
  SelectRow(texts.empty() ? -1 : 0, false);
}

void TSyntMemoPopupList::SelectRow(int row, bool chosen) {
  const int count = m_list->count();
  if (count == 0 || row < 0) {
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
    m_chosen = false;
    return;
  }
  row = std::min(row, count - 1);
  m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
  m_list->scrollToItem(m_list->item(row));
  m_chosen = chosen;
}

QSize TSyntMemoPopupList::SizeQuery(int) { return QSize(m_listWidth, m_listHeight); }

void TSyntMemoPopupList::AfterShow() {
  m_lastPointer = QCursor::pos();
  TSyntMemoPopup::AfterShow();
}

int TSyntMemoPopupList::PageRows() const {
  return std::max(m_list->viewport()->height() / std::max(RowHeight(), 1) - 1, 1);
}

bool TSyntMemoPopupList::ListKey(int key) {
  const int count = m_list->count();
  if (count == 0) return true;
  const int row = SelectedRow();
  int target = row;
  switch (key) {
    case Qt::Key_Up: target = row < 0 ? 0 : row - 1; break;
    case Qt::Key_Down: target = row + 1; break;
    case Qt::Key_PageUp: target = row - PageRows(); break;
    case Qt::Key_PageDown: target = row < 0 ? PageRows() : row + PageRows(); break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = count - 1; break;
    default: return false;
  }
  SelectRow(std::clamp(target, 0, count - 1), true);
  return true;
}

bool TSyntMemoPopupList::OwnerEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
          event->accept();
          return event->type() == QEvent::ShortcutOverride || ListKey(key->key());
        default: break;
      }
      break;
    }
    case QEvent::Wheel: {
      auto* wheel = static_cast<QWheelEvent*>(event);
      m_wheelRest += wheel->angleDelta().y();
      const int rows = m_wheelRest / kWheelStep;
      m_wheelRest -= rows * kWheelStep;
      if (QScrollBar* bar = m_list->verticalScrollBar()) bar->setValue(bar->value() - rows);
      event->accept();
      return true;
    }
    default: break;
  }
  return TSyntMemoPopup::OwnerEvent(event);
}

bool TSyntMemoPopupList::InnerEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->buttons() != Qt::NoButton) break;
      const QPoint pointer = mouse->globalPosition().toPoint();
      if (pointer == m_lastPointer) return true;
      m_lastPointer = pointer;
      const int row = m_list->row(m_list->itemAt(mouse->position().toPoint()));
      if (row >= 0 && (row != SelectedRow() || !m_chosen)) {
        SelectRow(row, true);
        Changed();
      }
      return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const int row = m_list->row(m_list->itemAt(mouse->position().toPoint()));
      if (row >= 0) SelectRow(row, true);
      Changed();
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return true;
      const int row = m_list->row(m_list->itemAt(mouse->position().toPoint()));
      if (row >= 0 && m_list->viewport()->rect().contains(mouse->position().toPoint())) {
        SelectRow(row, true);
        CloseUp(true);
      }
      return true;
    }
    default: break;
  }
  return TSyntMemoPopup::InnerEvent(event);
}

}  // namespace penwick
