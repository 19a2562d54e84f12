// The "Syntax Highlighting" dialog shown as a modal Qt form.
#include "prefs/QtStylesView.h"

#include <QTimer>

#include "prefs/QtSyntaxStylesForm.h"

namespace penwick {

TQtStylesView::TQtStylesView(QWidget* parent, TUserDialogs& dialogs) : m_parent(parent), m_dialogs(dialogs) {}

bool TQtStylesView::Execute(TSyntaxStylesDialog& dialog) {
  TQtSyntaxStylesForm form(dialog, m_dialogs, m_parent.data());
  if (OnCreated) OnCreated(form);
  if (OnShown) {
    // Queued before the modal loop starts, so it runs inside it, once the form is shown.
    QTimer::singleShot(0, &form, [this, &form] {
      if (OnShown) OnShown(form);
    });
  }
  return form.exec() == QDialog::Accepted;
}

}  // namespace penwick
