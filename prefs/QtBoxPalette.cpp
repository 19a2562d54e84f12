// The base colour of a list or colour box after its enabled state.
#include "prefs/QtBoxPalette.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace penwick {

QPalette SurroundingPalette(const QWidget& box) {
  const QWidget* parent = box.parentWidget();
  return parent ? parent->palette() : QApplication::palette(&box);
}

void ApplyBoxPalette(QWidget& box) {
  const QPalette around = SurroundingPalette(box);
  QPalette palette = box.palette();
  const QColor face = around.color(box.isEnabled() ? QPalette::Base : QPalette::Window);
  // Base for the list and an editable box, Button for the face a style
  // draws a closed drop-down list with.
  palette.setColor(QPalette::Base, face);
  palette.setColor(QPalette::Button, face);
  box.setPalette(palette);
}

}  // namespace penwick
