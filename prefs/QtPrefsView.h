// Shows the preferences dialog as a modal Qt form.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "prefs/PrefsView.h"

namespace penwick {

class TQtPrefsForm;

class TQtPrefsView : public TPrefsView {
public:
  // `parent` (not owned) may be null or may go away first.
  explicit TQtPrefsView(QWidget* parent);

  // A new form over `prefs`, run modally; true when it closed by "OK".
  bool Execute(TfrmPrefs& prefs) override;

  // Called once with the form right after it is shown, inside its modal
  // loop: tests type and click here. Runs on the GUI thread; must not throw.
  std::function<void(TQtPrefsForm& shown)> OnShown;

private:
  QPointer<QWidget> m_parent;
};

}  // namespace penwick
