// A colour box: named colours with swatches, "none" and a custom entry.
#include "prefs/QtColorBox.h"

#include <QEvent>
#include <QPainter>
#include <QSignalBlocker>

#include "editor/QtCanvasColors.h"
#include "platform/UserDialogs.h"
#include "prefs/QtBoxPalette.h"
#include "syntax/CanvasState.h"

namespace penwick {

namespace {
constexpr QSize kSwatchSize(16, 12);
}

TQtColorBox::TQtColorBox(unsigned style, TUserDialogs& dialogs, QWidget* parent)
    : QComboBox(parent), m_model(style), m_dialogs(dialogs) {
  setIconSize(kSwatchSize);
  ShowModel();
  connect(this, &QComboBox::activated, this, &TQtColorBox::UserPicked);
  ApplyBoxPalette(*this);
}

QPixmap TQtColorBox::Swatch(const TColorBoxEntry& entry) const {
  QPixmap pixmap(kSwatchSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  const QRect box(0, 0, kSwatchSize.width() - 1, kSwatchSize.height() - 1);
  if (entry.Color == clNone && !entry.Custom) {
    // "none": an empty frame crossed out, so it does not read as white.
    painter.setPen(Qt::gray);
    painter.drawRect(box);
    painter.drawLine(box.topLeft(), box.bottomRight());
  } else {
    painter.setPen(Qt::black);
    // Not the box's own palette, whose window and button colours follow its enabled state.
    painter.setBrush(CanvasColor(entry.Color, SurroundingPalette(*this), Qt::white));
    painter.drawRect(box);
  }
  return pixmap;
}

void TQtColorBox::SetColor(std::uint32_t color) {
  m_model.Select(color);
  ShowModel();
}

void TQtColorBox::ShowModel() {
  const QSignalBlocker blocker(this);
  const auto& entries = m_model.Entries();
  if (count() != m_model.Count()) {
    clear();
    for (const TColorBoxEntry& entry : entries) addItem(QIcon(Swatch(entry)), QString::fromStdString(entry.Name));
  } else {
    const int custom = m_model.CustomIndex();
    if (custom >= 0) setItemIcon(custom, QIcon(Swatch(entries[custom])));
  }
  setCurrentIndex(m_model.Selected());
}

void TQtColorBox::UserPicked(int index) {
  if (index < 0) return;
  if (index == m_model.CustomIndex()) {
    std::uint32_t color = m_model.Entries()[index].Color;
    if (!m_dialogs.ExecuteColor(color)) {
      ShowModel();  // back to the previous selection
      return;
    }
    m_model.Pick(index, color);
  } else {
    m_model.Pick(index);
  }
  ShowModel();
  emit colorChanged(Color());
}

void TQtColorBox::changeEvent(QEvent* event) {
  QComboBox::changeEvent(event);
  if (event->type() == QEvent::EnabledChange || event->type() == QEvent::ParentChange) ApplyBoxPalette(*this);
}

}  // namespace penwick
