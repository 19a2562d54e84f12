// The "Syntax Highlighting" dialog shown as a modal Qt form (`TQtStylesView`).
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "prefs/SyntaxStylesDialog.h"

namespace penwick {

class TQtSyntaxStylesForm;
class TUserDialogs;

// Each Execute creates a TQtSyntaxStylesForm over the dialog, runs it
// modally and frees it. Not owned: the parent (may be null, or go away
// first: the form then has none) and `dialogs`, which must outlive this.
class TQtStylesView : public TStylesView {
public:
  TQtStylesView(QWidget* parent, TUserDialogs& dialogs);

  // True when the form was left with "&OK".
  bool Execute(TSyntaxStylesDialog& dialog) override;

  // Called with each form before it is shown (the main window gives the
  // preview its editor's colours here).
  std::function<void(TQtSyntaxStylesForm& created)> OnCreated;
  // Called once with the form right after it is shown, inside its modal
  // loop: tests click here. Runs on the GUI thread; must not throw.
  std::function<void(TQtSyntaxStylesForm& shown)> OnShown;

private:
  QPointer<QWidget> m_parent;
  TUserDialogs& m_dialogs;
};

}  // namespace penwick
