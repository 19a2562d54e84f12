// The free-text whole-number spin edit of the preferences dialog.
#include "prefs/QtSpinEdit.h"

#include <QLineEdit>
#include <algorithm>
#include <limits>

namespace penwick {

TQtSpinEdit::TQtSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setKeyboardTracking(true);
  connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& text) { emit TextChanged(text); });
}

QString TQtSpinEdit::Text() const { return lineEdit()->text(); }

void TQtSpinEdit::SetText(const QString& text) {
  // The line edit's signal reaches the owner only through TextChanged, so
  // blocking this widget keeps a programmatic fill silent.
  if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void TQtSpinEdit::stepBy(int steps) {
  bool ok = false;
  const long long current = Text().trimmed().toLongLong(&ok);
  const long long next = std::clamp<long long>((ok ? current : 0) + steps, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max());
  lineEdit()->setText(QString::number(next));
  lineEdit()->selectAll();
}

QValidator::State TQtSpinEdit::validate(QString&, int&) const { return QValidator::Acceptable; }

void TQtSpinEdit::fixup(QString&) const {}

QAbstractSpinBox::StepEnabled TQtSpinEdit::stepEnabled() const { return StepUpEnabled | StepDownEnabled; }

}  // namespace penwick
