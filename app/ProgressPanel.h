// The "Compiling script..." box shown in the middle of the main window while
// a compile runs.
#pragma once

#include <QFrame>

class QLabel;

namespace penwick {

// A raised panel of 185 x 34 with a picture and the status text. The compile
// disables the main window while the box is up; the box stays readable then:
// it draws itself, its text and its picture as if enabled, also under styles
// that etch the text of a disabled label.
class TProgressPanel : public QFrame {
  Q_OBJECT
public:
  explicit TProgressPanel(QWidget* parent);
  QLabel* Status() const { return m_status; }

protected:
  void changeEvent(QEvent* event) override;

private:
  // Copies the active colours over the disabled ones.
  void KeepColors();

  QLabel* m_status;
};

}  // namespace penwick
