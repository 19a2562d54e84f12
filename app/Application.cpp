// The application object and its error reporting at the event-loop boundary.
#include "app/Application.h"

#include <cstdio>

namespace penwick {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ReportException(m_dialogs, std::current_exception());
    return true;
  }
}

void TApplication::ReportException(TUserDialogs* dialogs, std::exception_ptr error) {
  std::string message;
  try {
    std::rethrow_exception(error);
  } catch (const TSilentAbort&) {
    return;
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "Unknown error";
  }
  if (dialogs) {
    try {
      dialogs->ShowError(message);
      return;
    } catch (...) {
      // Showing the message failed as well: fall back to stderr below.
    }
  }
  std::fprintf(stderr, "Error: %s\n", message.c_str());
}

}  // namespace penwick
