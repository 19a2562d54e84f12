// The main window form's settings of its editor.
#include "editor/QtFormSettings.h"

#include <QApplication>
#include <QPalette>

#include "editor/QtCanvasColors.h"
#include "editor/QtGutter.h"
#include "editor/SyntaxMemo.h"

namespace penwick {

void ApplyFormSettings(TSyntaxMemo& memo) {
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(13);
  memo.SetEditorFont(font);
  memo.SetColor(Qt::black);
  memo.SetOptions(kDefaultSyntaxMemoOptions);
  memo.SetWordWrap(true);
  memo.SetTabListAsString("4");
  memo.SetTextMargin(6);
  TQtGutter& gutter = memo.Gutter();
  gutter.SetWidth(40);
  gutter.SetColor(QApplication::palette().color(QPalette::Button));
  gutter.SetShowSeparator(false);
  gutter.SetCollapsePen(Qt::gray);
  gutter.SetShowCollapseLine(true);
  gutter.SetExpandButtons(TQtGutter::DefaultExpandButtons());
  TQtLineNumbers& numbers = gutter.LineNumbers();
  numbers.SetVisible(true);
  QFont numberFont("Courier New");
  numberFont.setStyleHint(QFont::TypeWriter);
  numberFont.setPixelSize(9);
  numbers.SetFont(numberFont);
  numbers.SetFontColor(QApplication::palette().color(QPalette::WindowText));
  numbers.SetUnderColor(CanvasColor(kInactiveCaption, QApplication::palette(), QColor(191, 205, 219)));
  numbers.SetAlignment(Qt::AlignLeft);
}

}  // namespace penwick
