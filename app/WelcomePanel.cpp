// The welcome panel and its anchored splash picture.
#include "app/WelcomePanel.h"

#include <QPixmap>
#include <QResizeEvent>

// Resources of a static library must be registered by hand; this has to
// happen outside any namespace.
static void InitPenwickResources() { Q_INIT_RESOURCE(penwick); }

namespace penwick {

TWelcomePanel::TWelcomePanel(QWidget* parent, QSize initialSize, QPoint pictureOrigin) : QWidget(parent) {
  InitPenwickResources();
  setObjectName("WelcomePanel");
  setAutoFillBackground(true);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  resize(initialSize);

  m_picture = new QLabel(this);
  m_picture->setObjectName("SplashPicture");
  QPixmap splash(":/SPLASHI");
  m_picture->setPixmap(splash);
  m_picture->resize(splash.isNull() ? QSize(0, 0) : splash.size());  // auto-sized
  m_picture->move(pictureOrigin);
  m_rightGap = initialSize.width() - (pictureOrigin.x() + m_picture->width());
  m_bottomGap = initialSize.height() - (pictureOrigin.y() + m_picture->height());
}

void TWelcomePanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  m_picture->move(width() - m_rightGap - m_picture->width(), height() - m_bottomGap - m_picture->height());
}

}  // namespace penwick
