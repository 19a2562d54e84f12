// The line-number settings and their initial values.
#include "editor/QtLineNumbers.h"

#include <QGuiApplication>
#include <QPalette>

#include "editor/QtCanvasColors.h"
#include "syntax/CanvasState.h"

namespace penwick {

TQtLineNumbers::TQtLineNumbers() : m_font("Courier New") {
  m_font.setStyleHint(QFont::TypeWriter);
  m_font.setPixelSize(9);
  const QPalette palette = QGuiApplication::palette();
  m_fontColor = palette.color(QPalette::WindowText);
  m_underColor = CanvasColor(kInactiveCaption, palette, QColor(191, 205, 219));
}

}  // namespace penwick
