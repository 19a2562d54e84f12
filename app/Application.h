// The application object: the event loop's last line of defence, which shows
// an error that escaped a command instead of ending the program.
#pragma once

#include <QApplication>
#include <exception>

#include "platform/UserDialogs.h"

namespace penwick {

class TApplication : public QApplication {
public:
  TApplication(int& argc, char** argv);

  // Where errors are shown; null shows them on stderr. Not owned.
  void SetDialogs(TUserDialogs* dialogs) { m_dialogs = dialogs; }
  TUserDialogs* Dialogs() const { return m_dialogs; }

  // Delivers the event; an exception from its handler is reported and the
  // event counts as handled.
  bool notify(QObject* receiver, QEvent* event) override;

  // Shows an error the way the event loop does: TSilentAbort says nothing,
  // std::exception shows its message in the "Error" box, anything else a
  // generic text. Safe to call with a null `dialogs` (stderr then).
  static void ReportException(TUserDialogs* dialogs, std::exception_ptr error);

private:
  TUserDialogs* m_dialogs = nullptr;
};

}  // namespace penwick
