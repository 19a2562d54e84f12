// The compile's progress box.
#include "app/ProgressPanel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace penwick {
namespace {

// A picture drawn as it is: a label would grey it out while disabled.
class TPicture : public QWidget {
public:
  TPicture(const QPixmap& pixmap, QWidget* parent) : QWidget(parent), m_pixmap(pixmap) {
    setFixedSize(pixmap.deviceIndependentSize().toSize());
  }

protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).drawPixmap(0, 0, m_pixmap); }

private:
  QPixmap m_pixmap;
};

// The status text drawn as enabled: styles that etch the text of a disabled
// label (the Windows one) would grey it out whatever the palette says.
class TStatusLabel : public QLabel {
public:
  TStatusLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, room, int(alignment()), palette(), true, text(), foregroundRole());
  }
};

}  // namespace

TProgressPanel::TProgressPanel(QWidget* parent) : QFrame(parent) {
  setObjectName("pnlProgress");
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setAutoFillBackground(true);
  setFixedSize(185, 34);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(1, 1, 1, 1);
  auto* image = new TPicture(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(32, 32), this);
  image->setObjectName("imgMain");
  m_status = new TStatusLabel("Compiling script...", this);
  m_status->setObjectName("lblStatus");
  m_status->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  row->addWidget(image);
  row->addWidget(m_status, 1);
  KeepColors();
  hide();
}

void TProgressPanel::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange) KeepColors();
}

void TProgressPanel::KeepColors() {
  QPalette colors = palette();
  bool changed = false;
  for (int role = 0; role < QPalette::NColorRoles; ++role) {
    const auto r = static_cast<QPalette::ColorRole>(role);
    if (colors.color(QPalette::Disabled, r) == colors.color(QPalette::Active, r)) continue;
    colors.setColor(QPalette::Disabled, r, colors.color(QPalette::Active, r));
    changed = true;
  }
  // Setting the palette raises another PaletteChange: only when it differs.
  if (changed) setPalette(colors);
}

}  // namespace penwick
