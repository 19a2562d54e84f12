// The penwick executable: `penwick [SCRIPT]` opens the editor, with SCRIPT
// opened at start-up when given.
#include <QStringList>

#include "app/Application.h"
#include "app/Main.h"
#include "app/QtUserDialogs.h"

int main(int argc, char** argv) {
  penwick::TApplication app(argc, argv);
  app.setApplicationName("Varnok Penwick");
  penwick::TQtUserDialogs dialogs;
  app.SetDialogs(&dialogs);
  const QStringList arguments = app.arguments();
  penwick::TMainWindowSetup setup;
  setup.ScriptPath = arguments.size() > 1 ? arguments.at(1).toStdString() : std::string();
  penwick::TfrmMain frmMain(dialogs, std::move(setup));
  dialogs.SetParent(&frmMain);
  // The preferences dialog is created here, hidden, once it exists.
  frmMain.show();
  return app.exec();
}
