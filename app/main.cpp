// The penwick executable: `penwick [SCRIPT]` opens the editor, with SCRIPT
// opened at start-up when given; `penwick --help`, `--version` and `--paths`
// answer on the terminal without a window.
#include <QCoreApplication>
#include <QIcon>
#include <QStringList>
#include <iostream>

#include "app/Application.h"
#include "app/CommandLineInfo.h"
#include "app/Main.h"
#include "app/QtUserDialogs.h"

int main(int argc, char** argv) {
  if (argc == 2 && penwick::IsInformationOption(argv[1])) {
    // No display is needed to answer: only the program's own location.
    QCoreApplication core(argc, argv);
    return penwick::AnswerInformationOption(argv[1], std::cout, std::cerr,
                                            QCoreApplication::applicationDirPath().toStdString(),
                                            QCoreApplication::applicationFilePath().toStdString());
  }
  penwick::TApplication app(argc, argv);
  app.setApplicationName("Varnok Penwick");
  app.setApplicationVersion(QString::fromStdString(penwick::ProgramVersion()));
  // The installed desktop entry is penwick.desktop: desktops match the
  // window to it (and to its icon) by this name.
  app.setDesktopFileName("penwick");
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addFile(QString(":/icons/penwick-%1.png").arg(size));
  app.setWindowIcon(icon);
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
