// The popup container: showing beside an anchor without activation, the
// event hooks and the common closing rules.
#include "editor/PopupControl.h"

#include "platform/FlagScope.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace penwick {

namespace {

constexpr int kFrame = 1;
constexpr int kShadow = 2;

// The container draws the frame and, with a shadow, a darker strip along
// its right and bottom edges; the inner control covers the rest.
class TPopupContainer : public QFrame {
public:
  explicit TPopupContainer(const TPopupControl& popup)
      : QFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint), m_popup(popup) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setObjectName("PopupContainer");
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int shadow = m_popup.Shadow() ? kShadow : 0;
    const QRect box = rect().adjusted(0, 0, -shadow, -shadow);
    painter.setPen(QColor(100, 100, 100));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (shadow) {
      const QColor dark(0, 0, 0, 90);
      painter.fillRect(QRect(box.right() + 1, shadow, shadow, box.height()), dark);
      painter.fillRect(QRect(shadow, box.bottom() + 1, box.width(), shadow), dark);
    }
  }

private:
  const TPopupControl& m_popup;
};

}  // namespace

TPopupControl::TPopupControl(QWidget* owner, QObject* parent)
    : QObject(parent), m_owner(owner), m_container(new TPopupContainer(*this)) {
  auto* layout = new QVBoxLayout(m_container);
  layout->setContentsMargins(kFrame, kFrame, kFrame, kFrame);
  layout->setSpacing(0);
}

TPopupControl::~TPopupControl() {
  Watch(false);
  delete m_container;
}

void TPopupControl::SetInnerControl(QWidget* control) {
  if (m_inner) {
    m_inner->removeEventFilter(this);
    delete m_inner;
  }
  m_inner = control;
  control->setParent(m_container);
  control->setFocusPolicy(Qt::NoFocus);
  m_container->layout()->addWidget(control);
}

bool TPopupControl::ShowPopup(const QRect& anchor) {
  m_anchor = anchor;
  const int shadow = m_shadow ? kShadow : 0;
  QSize size = SizeQuery(std::max(m_minMaxWidth, 1));
  if (m_minSize.width() > 0) size.setWidth(std::max(size.width(), m_minSize.width()));
  if (m_minSize.height() > 0) size.setHeight(std::max(size.height(), m_minSize.height()));
  if (m_maxSize.width() > 0) size.setWidth(std::min(size.width(), m_maxSize.width()));
  if (m_maxSize.height() > 0) size.setHeight(std::min(size.height(), m_maxSize.height()));
  if (size.width() <= 0 || size.height() <= 0) {
    CloseUp(false);
    return false;
  }
  const QSize outer = size + QSize(2 * kFrame + shadow, 2 * kFrame + shadow);
  // The inner control stays clear of the frame's far edges and the shadow.
  m_container->layout()->setContentsMargins(kFrame, kFrame, kFrame + shadow, kFrame + shadow);
  QScreen* screen = QGuiApplication::screenAt(anchor.center());
  if (!screen && m_owner) screen = m_owner->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect monitor = screen ? screen->geometry() : QRect(0, 0, 1 << 16, 1 << 16);
  const TPopupRect placed =
      PlacePopup({anchor.x(), anchor.y(), anchor.width(), anchor.height()}, outer.width(), outer.height(),
                 {monitor.x(), monitor.y(), monitor.width(), monitor.height()}, m_layoutSide);
  m_container->setGeometry(placed.Left, placed.Top, placed.Width, placed.Height);
  const bool wasShowing = m_showing;
  m_showing = true;
  Watch(true);
  m_container->show();
  m_container->raise();
  m_container->update();
  if (!wasShowing) AfterShow();
  return m_showing;
}

void TPopupControl::AfterShow() {
  if (OnShow) OnShow();
  Changed();
}

void TPopupControl::Changed() {
  if (OnChange) OnChange();
}

void TPopupControl::CloseHook(bool) {}

void TPopupControl::CloseUp(bool accept) {
  if (!m_showing || m_closing) return;
  const TFlagScope closing(m_closing);
  Watch(false);
  if (OnCloseUp) OnCloseUp(accept);
  m_showing = false;
  CloseHook(accept);
  m_container->hide();
  // Back to the owner, unless the user put the focus on another control:
  // closing because the focus left must not pull it back.
  QWidget* focus = QApplication::focusWidget();
  const bool elsewhere = focus && m_owner && focus != m_owner && !m_owner->isAncestorOf(focus) &&
                         !m_container->isAncestorOf(focus);
  if (m_owner && !elsewhere && m_owner->isVisible() && m_owner->window()->isActiveWindow()) m_owner->setFocus();
}

void TPopupControl::Watch(bool on) {
  if (on == m_watching) return;
  m_watching = on;
  if (m_owner) {
    if (on) m_owner->installEventFilter(this);
    else m_owner->removeEventFilter(this);
    // A scroll area gets the mouse and the wheel through its viewport, and
    // its scroll bars are its frame.
    for (QWidget* part : OwnerParts()) {
      if (on) part->installEventFilter(this);
      else part->removeEventFilter(this);
    }
  }
  if (m_inner) {
    if (on) m_inner->installEventFilter(this);
    else m_inner->removeEventFilter(this);
    // Item views get their mouse through the viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(m_inner)) {
      if (on) area->viewport()->installEventFilter(this);
      else area->viewport()->removeEventFilter(this);
    }
  }
}

bool TPopupControl::eventFilter(QObject* watched, QEvent* event) {
  if (!m_showing) return false;
  if (watched == m_owner || (watched && watched == OwnerViewport())) return OwnerEvent(event);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(m_owner.data());
      area && watched && (watched == area->verticalScrollBar() || watched == area->horizontalScrollBar())) {
    // Only the mouse counts there: a scroll bar hides when the text fits.
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel: return OwnerEvent(event);
      default: return false;
    }
  }
  return InnerEvent(event);
}

bool TPopupControl::OwnerEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        CloseUp(false);
        return true;
      }
      return false;
    case QEvent::ShortcutOverride:
      // Esc belongs to the popup, not to a shortcut of the window.
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        event->accept();
        return true;
      }
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Hide:
      CloseUp(false);
      return false;
    case QEvent::FocusOut: {
      QWidget* focus = QApplication::focusWidget();
      if (!focus || !m_container->isAncestorOf(focus)) CloseUp(false);
      return false;
    }
    default:
      return false;
  }
}

bool TPopupControl::InnerEvent(QEvent*) { return false; }

QWidget* TPopupControl::OwnerViewport() const {
  auto* area = qobject_cast<QAbstractScrollArea*>(m_owner.data());
  return area ? area->viewport() : nullptr;
}

std::vector<QWidget*> TPopupControl::OwnerParts() const {
  auto* area = qobject_cast<QAbstractScrollArea*>(m_owner.data());
  if (!area) return {};
  std::vector<QWidget*> parts;
  for (QWidget* part : {area->viewport(), static_cast<QWidget*>(area->verticalScrollBar()),
                        static_cast<QWidget*>(area->horizontalScrollBar())})
    if (part) parts.push_back(part);
  return parts;
}

}  // namespace penwick
