// A border line-type list (`TQtBorderLineBox`): the ten line types of a
// style's border, each entry drawn as a sample line of its kind, no text.
#pragma once

#include <QComboBox>

namespace penwick {

// Entry i stands for TBorderLineType i (blNone .. blDouble); blNone is an
// empty entry. A disabled box takes its parent's window colour as base (see
// ApplyBoxPalette).
class TQtBorderLineBox : public QComboBox {
  Q_OBJECT
public:
  explicit TQtBorderLineBox(QWidget* parent = nullptr);

  // Selects the entry of `type`; a type outside blNone..blDouble selects
  // nothing. Emits nothing.
  void SetLineType(int type);
  // The selected type, -1 when nothing is selected.
  int LineType() const { return currentIndex(); }

  // The sample of `type` in `color` on a transparent ground of `size`;
  // blNone and unknown types give an empty sample.
  static QPixmap Sample(int type, QSize size, const QColor& color);

signals:
  // The user picked a type. Not emitted by SetLineType.
  void lineTypeChanged(int type);

protected:
  void changeEvent(QEvent* event) override;
};

}  // namespace penwick
