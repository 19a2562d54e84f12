// The modal Qt preferences form.
#include "prefs/QtPrefsView.h"

#include <QTimer>

#include "prefs/QtPrefsForm.h"

namespace penwick {

TQtPrefsView::TQtPrefsView(QWidget* parent) : m_parent(parent) {}

bool TQtPrefsView::Execute(TfrmPrefs& prefs) {
  TQtPrefsForm form(prefs, m_parent ? m_parent->window() : nullptr);
  if (OnShown) {
    // Queued before the modal loop starts, so it runs inside it, once the form is shown.
    QTimer::singleShot(0, &form, [this, &form] {
      if (OnShown) OnShown(form);
    });
  }
  return form.exec() == QDialog::Accepted;
}

}  // namespace penwick
