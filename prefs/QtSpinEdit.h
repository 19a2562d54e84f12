// A whole-number spin edit that keeps whatever text the user types: the
// arrows and the Up/Down keys step the number, and reading the text as a
// number is left to its owner (an emptied box or "-3" is a legal state).
#pragma once

#include <QAbstractSpinBox>
#include <QString>

class QLineEdit;

namespace penwick {

class TQtSpinEdit : public QAbstractSpinBox {
  Q_OBJECT
public:
  explicit TQtSpinEdit(QWidget* parent = nullptr);

  QString Text() const;
  // Sets the text as it stands (no check); keeps the cursor when the text
  // is already the same. Emits TextChanged unless signals are blocked.
  void SetText(const QString& text);
  // The box the user types in.
  QLineEdit* Editor() const { return lineEdit(); }

  // A step adds `steps` to the text read as a whole number; text that is no
  // number counts as 0. The result is clamped to the int range.
  void stepBy(int steps) override;
  // Every text is accepted as typed: nothing is corrected or reverted.
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

signals:
  // Every change of the text, typed, stepped or set.
  void TextChanged(const QString& text);

protected:
  StepEnabled stepEnabled() const override;
};

}  // namespace penwick
