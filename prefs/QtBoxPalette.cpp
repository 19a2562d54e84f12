// The base colour of a list or colour box after its enabled state.
#include "prefs/QtBoxPalette.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace penwick {

void ApplyBoxPalette(QWidget& box) {
  const QWidget* parent = box.parentWidget();
  const QPalette around = parent ? parent->palette() : QApplication::palette(&box);
  QPalette palette = box.palette();
  palette.setColor(QPalette::Base, around.color(box.isEnabled() ? QPalette::Base : QPalette::Window));
  box.setPalette(palette);
}

}  // namespace penwick
