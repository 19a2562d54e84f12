// The main window: layout, commands, the document lifecycle, start-up and
// shut-down.
#include "app/Main.h"

#include <QAbstractEventDispatcher>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstring>
#include <filesystem>

#include "app/Application.h"
#include "app/LexerFileLoader.h"
#include "app/DNK_dragdrop.h"
#include "app/MRUfiles.h"
#include "app/MainCompileHost.h"
#include "app/QtMRUMenu.h"
#include "app/StatusPanels.h"
#include "app/WelcomePanel.h"
#include "compile/CompileDriver.h"
#include "compile/OutputPanel.h"
#include "compile/QtPanelSplitter.h"
#include "editor/AutoCompletePopup.h"
#include "editor/ParamCompletion.h"
#include "editor/QtCanvasColors.h"
#include "editor/QtFormSettings.h"
#include "editor/StoreErrors.h"
#include "editor/SyntaxMemo.h"
#include "language/MissionLexer.h"
#include "language/TemplateScript.h"
#include "platform/FileAssociation.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/SettingsLocation.h"
#include "platform/posix/WineCompilerSession.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

namespace {

constexpr const char* kUntitled = "Untitled.mis";
constexpr const char* kProductTitle = "Varnok Penwick v2.0";

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// Splits "Short|Long" hints: the short part is the tooltip, the long part the
// status-bar text. A hint without "|" is both.
QString ShortHint(const char* hint) { return QString(hint).section('|', 0, 0); }
QString LongHint(const char* hint) {
  QString text(hint);
  return text.contains('|') ? text.section('|', 1) : text;
}

}  // namespace

void TfrmMain::RunCommand(const std::function<void()>& command) {
  try {
    command();
  } catch (...) {
    TApplication::ReportException(&m_dialogs, std::current_exception());
  }
}

template <typename F>
void TfrmMain::Bind(QAction* action, F command) {
  connect(action, &QAction::triggered, this, [this, command] { RunCommand([this, command] { (this->*command)(); }); });
}

TfrmMain::TfrmMain(TUserDialogs& dialogs, TMainWindowSetup setup, QWidget* parent)
    : QMainWindow(parent),
      m_dialogs(dialogs),
      m_scriptPath(std::move(setup.ScriptPath)),
      m_programFolder(setup.ProgramFolder.empty() ? QCoreApplication::applicationDirPath().toStdString()
                                                  : std::move(setup.ProgramFolder)),
      m_executablePath(setup.ExecutablePath.empty() ? QCoreApplication::applicationFilePath().toStdString()
                                                    : std::move(setup.ExecutablePath)),
      m_settingsFileName(setup.SettingsFile.empty() ? SettingsFileFor(m_executablePath) : std::move(setup.SettingsFile)),
      m_association(setup.Association ? std::move(setup.Association) : SystemFileAssociation()) {
  setObjectName("frmMain");
  setGeometry(440, 155, 773, 497);

  m_dlgOpen.DefaultExt = "mis";
  m_dlgOpen.Filter = "Varnok Mission Scripts (*.mis)|*.mis|Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
  m_dlgOpen.PathMustExist = true;
  m_dlgOpen.FileMustExist = true;
  m_dlgSave.DefaultExt = "mis";
  m_dlgSave.Filter = "Varnok Mission Script (*.mis)|*.mis|Text File (*.txt)|*.txt";
  m_dlgSave.OverwritePrompt = true;
  m_dlgSaveHtml.Title = "Export Script to HTML";
  m_dlgSaveHtml.DefaultExt = "html";
  m_dlgSaveHtml.Filter = "HTML File (*.html)|*.html|Text File (*.txt)|*.txt";
  m_dlgSaveHtml.OverwritePrompt = true;
  m_dlgSaveHtml.PathMustExist = true;

  CreateActions();
  CreateMenus();
  CreateToolbar();
  CreateCentralArea();
  CreateStatusBar();
  // The designed state: what is disabled before any start-up step runs.
  SetEnabled({"tbtSave", "tbtClose", "mniCut", "tbtCut", "mniCopy", "tbtCopy", "mniClearRecent",
              "mnuInsertTemplate", "mniComment", "mniUncomment"},
             false);
  Action("mniClearRecent")->setVisible(false);
  CreateFileComponents();

  if (QClipboard* clipboard = QGuiApplication::clipboard())
    connect(clipboard, &QClipboard::dataChanged, this, [this] { m_clipboardChanged = true; });
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TfrmMain::UpdateCommandStates);

  FormCreate();
}

TfrmMain::~TfrmMain() {
  // The editor is a child widget and outlives the members: let go of the
  // definition while both exist.
  if (m_editor) {
    m_editor->SetSyntaxAnalyzer(nullptr);
    // The popups watch the editor while they are open; the handlers of its
    // core reach into this window.
    m_atcmpltp1->CloseUp(false);
    m_prmcmpltn1->CloseUp(false);
    m_editor->Core().OnTextChanged = nullptr;
    m_editor->Core().OnChange = nullptr;
    // What the editor tells while it goes (focus, caret) must not reach the
    // members that are gone by then.
    m_editor->disconnect(this);
  }
}

// ---- Layout ----

QAction* TfrmMain::NewAction(const char* objectName, const QString& caption, const char* hint) {
  auto* action = new QAction(caption, this);
  action->setObjectName(objectName);
  if (hint) {
    action->setToolTip(ShortHint(hint));
    action->setStatusTip(LongHint(hint));
  }
  return action;
}

QAction* TfrmMain::Action(const char* objectName) const {
  auto* action = findChild<QAction*>(objectName);
  Q_ASSERT_X(action, "TfrmMain::Action", objectName);
  return action;
}

void TfrmMain::SetEnabled(std::initializer_list<const char*> objectNames, bool enabled) {
  for (const char* name : objectNames) Action(name)->setEnabled(enabled);
}

void TfrmMain::CreateActions() {
  // The commands with a menu item and, mostly, a toolbar button: two actions
  // each, since the transitions switch the two separately.
  struct TCommandSpec {
    const char* Name;  // without the mni/tbt prefix
    const char* Caption;
    const char* Hint;
    QKeySequence Shortcut;
    std::function<void()> Run;
    QStyle::StandardPixmap Icon;
    bool OnToolbar;
  };
  const TCommandSpec commands[] = {
      {"New", "&New", "New|Create a script", QKeySequence("Ctrl+N"), [this] { actNewExecute(); },
       QStyle::SP_FileIcon, true},
      {"Open", "&Open", "Open|Open a script", QKeySequence("Ctrl+O"), [this] { actOpenExecute(); },
       QStyle::SP_DialogOpenButton, true},
      {"Close", "Close", "Close|Close current script", {}, [this] { actCloseExecute(); },
       QStyle::SP_DialogCloseButton, true},
      // Save and Save As report whether they wrote; as commands the result is unused.
      {"Save", "&Save", "Save|Save current script", QKeySequence("Ctrl+S"), [this] { actSaveExecute(); },
       QStyle::SP_DialogSaveButton, true},
      {"SaveAs", "Save &As...", "Save As|Save current script with different name", {},
       [this] { actSaveAsExecute(); }, QStyle::SP_DialogSaveButton, false},
      {"Exit", "E&xit", "Exit|Exit application", {}, [this] { actExitExecute(); }, QStyle::SP_DialogCancelButton,
       false},
      {"Undo", "&Undo", "Undo|Reverts the last action", QKeySequence("Ctrl+Z"), [this] { actUndoExecute(); },
       QStyle::SP_ArrowBack, true},
      {"Redo", "Redo", "Redo|Re-executes the last action", QKeySequence("Ctrl+Y"), [this] { actRedoExecute(); },
       QStyle::SP_ArrowForward, true},
      {"Cut", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", QKeySequence("Ctrl+X"),
       [this] { actCutExecute(); }, QStyle::SP_TrashIcon, true},
      {"Copy", "&Copy", "Copy|Copies the selection and puts it on the Clipboard", QKeySequence("Ctrl+C"),
       [this] { actCopyExecute(); }, QStyle::SP_FileDialogDetailedView, true},
      {"Paste", "&Paste", "Paste|Inserts Clipboard contents", QKeySequence("Ctrl+V"), [this] { actPasteExecute(); },
       QStyle::SP_FileDialogContentsView, true},
      {"Compile", "Compile", "Compile|Compiles the current script ", {}, [this] { actCompileExecute(); },
       QStyle::SP_MediaPlay, true},
  };
  for (const TCommandSpec& spec : commands) {
    auto run = [this, command = spec.Run] { RunCommand(command); };
    QAction* menuItem = NewAction(("mni" + std::string(spec.Name)).c_str(), spec.Caption, spec.Hint);
    if (!spec.Shortcut.isEmpty()) menuItem->setShortcut(spec.Shortcut);
    connect(menuItem, &QAction::triggered, this, run);
    if (spec.OnToolbar) {
      QAction* button = NewAction(("tbt" + std::string(spec.Name)).c_str(), ShortHint(spec.Hint), spec.Hint);
      button->setIcon(style()->standardIcon(spec.Icon));
      connect(button, &QAction::triggered, this, run);
    }
  }


  NewAction("mniSend", "Sen&d");
  Bind(NewAction("mniClearRecent", "Clear Recent Files List"), &TfrmMain::actClearRecentExecute);
  NewAction("mniRecentAnchor", "");
  NewAction("mniExportHtml", "Export to HTML...");
  NewAction("mniFind", "&Find...")->setShortcut(QKeySequence("Ctrl+F"));
  NewAction("mniReplace", "R&eplace...")->setShortcut(QKeySequence("Ctrl+H"));
  NewAction("mniGoTo", "&Go To...")->setShortcut(QKeySequence("Ctrl+G"));  // has no command
  Bind(NewAction("mniSelectAll", "Select All"), &TfrmMain::actSelectAllExecute);
  NewAction("mniComment", "Comment");
  NewAction("mniUncomment", "Uncomment");
  QAction* showToolbar = NewAction("mniShowToolbar", "Show Toolbar");
  showToolbar->setCheckable(true);
  showToolbar->setChecked(true);
  Bind(showToolbar, &TfrmMain::actShowToolbarExecute);
  QAction* showStatusbar = NewAction("mniShowStatusbar", "Show Statusbar");
  showStatusbar->setCheckable(true);
  showStatusbar->setChecked(true);
  Bind(showStatusbar, &TfrmMain::actShowStatusbarExecute);
  Bind(NewAction("mniBasicMinimalLevel", "Basic minimal level"), &TfrmMain::mniBasicMinimalLevelClick);
  NewAction("mniOptions", "Options");
  auto* association = new QActionGroup(this);
  QAction* associate = NewAction("mniAssociate", "Associate .mis files with Penwick");
  QAction* unassociate = NewAction("mniUnassociate", "Unassociate .mis files from Penwick");
  for (QAction* item : {associate, unassociate}) {
    item->setCheckable(true);
    association->addAction(item);
  }
  Bind(associate, &TfrmMain::actAssociateExecute);
  Bind(unassociate, &TfrmMain::actUnassociateExecute);
  NewAction("mniContents", "Contents");
  Bind(NewAction("mniAbout", "&About..."), &TfrmMain::actAboutExecute);
  QAction* syntaxButton = NewAction("tbtSyntaxHighlighting", "Syntax Highlighting");
  syntaxButton->setIcon(style()->standardIcon(QStyle::SP_DesktopIcon));
  syntaxButton->setVisible(false);
}

void TfrmMain::CreateMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("mnuFile");
  file->menuAction()->setStatusTip("File related commands");
  for (const char* name : {"mniNew", "mniOpen", "mniClose", "mniSave", "mniSaveAs"}) file->addAction(Action(name));
  file->addSeparator();
  file->addAction(Action("mniSend"));
  Action("mniSend")->setVisible(false);
  Action("mniSend")->setEnabled(false);
  file->addSeparator();
  file->addAction(Action("mniExit"));
  file->addAction(Action("mniClearRecent"));
  file->addAction(Action("mniRecentAnchor"));
  file->addSeparator();
  file->addAction(Action("mniExportHtml"));

  m_editMenu = menuBar()->addMenu("&Edit");
  m_editMenu->setObjectName("mnuEdit");
  m_editMenu->addAction(Action("mniUndo"));
  m_editMenu->addAction(Action("mniRedo"));
  m_editMenu->addSeparator();
  for (const char* name : {"mniCut", "mniCopy", "mniPaste"}) m_editMenu->addAction(Action(name));
  m_editMenu->addSeparator();
  for (const char* name : {"mniFind", "mniReplace", "mniGoTo"}) m_editMenu->addAction(Action(name));
  m_editMenu->addSeparator();
  m_editMenu->addAction(Action("mniSelectAll"));
  m_editMenu->addSeparator();
  m_editMenu->addAction(Action("mniComment"));
  m_editMenu->addAction(Action("mniUncomment"));
  connect(m_editMenu, &QMenu::aboutToShow, this, &TfrmMain::EditMenuAboutToShow);

  QMenu* view = menuBar()->addMenu("View");
  view->setObjectName("mnuView");
  view->addAction(Action("mniShowToolbar"));
  view->addAction(Action("mniShowStatusbar"));

  QMenu* script = menuBar()->addMenu("Script");
  script->setObjectName("mnuScript");
  script->addAction(Action("mniCompile"));
  script->addSeparator();
  QMenu* insertTemplate = script->addMenu("Insert from template");
  insertTemplate->menuAction()->setObjectName("mnuInsertTemplate");
  insertTemplate->addAction(Action("mniBasicMinimalLevel"));

  QMenu* tools = menuBar()->addMenu("Tools");
  tools->setObjectName("mnuTools");
  tools->addAction(Action("mniOptions"));
  tools->addSeparator();
  tools->addAction(Action("mniAssociate"));
  tools->addAction(Action("mniUnassociate"));

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("mnuHelp");
  help->menuAction()->setStatusTip("Help topics");
  help->addAction(Action("mniContents"));
  Action("mniContents")->setVisible(false);
  help->addAction(Action("mniAbout"));
}

void TfrmMain::CreateToolbar() {
  m_toolbar = addToolBar("Toolbar");
  m_toolbar->setObjectName("tbxdck1");
  m_toolbar->setMovable(false);
  m_toolbar->setIconSize(QSize(16, 16));
  m_toolbar->setFixedHeight(26);
  for (const char* name : {"tbtNew", "tbtOpen", "tbtSave", "tbtClose", "-", "tbtUndo", "tbtRedo", "-", "tbtCut",
                           "tbtCopy", "tbtPaste", "-", "tbtCompile", "-", "tbtSyntaxHighlighting"}) {
    if (std::strcmp(name, "-") == 0)
      m_toolbar->addSeparator();
    else
      m_toolbar->addAction(Action(name));
  }
}

void TfrmMain::CreateCentralArea() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  // The editor and the welcome panel share one cell; the panel lies on top.
  m_editorArea = new QWidget(central);
  auto* cell = new QGridLayout(m_editorArea);
  cell->setContentsMargins(0, 0, 0, 0);
  m_editor = new TSyntaxMemo(m_editorArea);
  m_editor->setObjectName("syntxm1");
  // A key of the window's actions is the window's, even while the action is
  // disabled: with nothing to redo, Ctrl+Y must not reach the editor's Delete
  // Line. The enabled states follow the document at idle time, and a key
  // queued before then finds them stale: they are brought up to date first,
  // so that the window's shortcut map sees the action as it now is.
  m_editor->SetWindowShortcutTest([this](const QKeySequence& key) {
    for (const QAction* action : findChildren<QAction*>()) {
      if (!action->shortcuts().contains(key)) continue;
      if (!action->isEnabled()) UpdateCommandStates();
      return true;
    }
    return false;
  });
  // The editor as the form configures it; the settings replace some of these at start-up.
  ApplyFormSettings(*m_editor);
  m_editor->SetFontColor(CanvasColor(m_fontColor, QApplication::palette(), Qt::black));
  m_syntAnalyzer = std::make_unique<TSyntAnalyzer>();
  BuildMissionLexer(*m_syntAnalyzer);
  m_editor->SetSyntaxAnalyzer(m_syntAnalyzer.get());
  CreateWritingHelp();
  cell->addWidget(m_editor, 0, 0);
  column->addWidget(m_editorArea, 1);
  m_outputPanel = new TOutputPanel(*m_editor, central);
  m_outputPanel->OnError = [this](std::exception_ptr error) { TApplication::ReportException(&m_dialogs, error); };
  column->addWidget(m_outputPanel->splMain());
  column->addWidget(m_outputPanel);
  setCentralWidget(central);

  // "Compiling script..." indicator, shown centred during a compile.
  m_progressPanel = new QFrame(this);
  m_progressPanel->setObjectName("pnlProgress");
  m_progressPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  m_progressPanel->setAutoFillBackground(true);
  m_progressPanel->setFixedSize(185, 34);
  auto* progressRow = new QHBoxLayout(m_progressPanel);
  progressRow->setContentsMargins(1, 1, 1, 1);
  auto* image = new QLabel(m_progressPanel);
  image->setObjectName("imgMain");
  image->setFixedSize(32, 32);
  image->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload).pixmap(32, 32));
  m_statusLabel = new QLabel("Compiling script...", m_progressPanel);
  m_statusLabel->setObjectName("lblStatus");
  m_statusLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  progressRow->addWidget(image);
  progressRow->addWidget(m_statusLabel, 1);
  m_progressPanel->hide();
  connect(m_editor, &TSyntaxMemo::ModifiedChanged, this, [this] { ShowModifiedState(m_editor->Modified()); });
}

void TfrmMain::CreateStatusBar() {
  m_statusBar = statusBar();
  m_statusBar->setObjectName("statMain");
  m_statusBar->setFixedHeight(19);
  m_statusBar->setSizeGripEnabled(false);
  m_statusPanels = std::make_unique<TStatusPanels>(*m_statusBar);
  connect(m_editor, &TSyntaxMemo::CaretPosChanged, this, &TfrmMain::ShowCaretPos);
}

QString TfrmMain::StatusPanelText(int panel) const { return m_statusPanels->Text(panel); }

bool TfrmMain::event(QEvent* event) {
  // The hint of the item under the pointer goes to the first panel instead
  // of covering the whole status bar.
  if (event->type() == QEvent::StatusTip) {
    m_statusPanels->ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  FollowWindowEvent(event);
  return QMainWindow::event(event);
}

// ---- Shared routines ----

void TfrmMain::SetDocumentCaption(const std::string& fileName) {
  setWindowTitle(QString("[%1] - %2").arg(Utf8(fileName), kProductTitle));
  m_applicationTitle = windowTitle();
}

void TfrmMain::SetNoDocumentCaption() {
  setWindowTitle(kProductTitle);
  m_applicationTitle = kProductTitle;
}

void TfrmMain::ShowWelcome(bool show) { m_welcomePanel->setVisible(show); }

void TfrmMain::EnableEditor(bool enable) { m_editor->setEnabled(enable); }

void TfrmMain::ShowModifiedState(bool modified) { m_statusPanels->ShowModified(modified); }

void TfrmMain::ShowCaretPos() { m_statusPanels->ShowCaret(*m_editor, m_documentOpen); }

std::string TfrmMain::ShortPathOf(const std::string& path) {
  std::optional<std::string> shortPath = SystemShortPath(path);
  if (!shortPath) {
    m_dialogs.ShowMessage("SHRT414 - Error!\r\nPlease contact Odrin");
    return {};
  }
  return *shortPath;
}

std::string TfrmMain::LongPathOf(const std::string& path) { return SystemLongPath(path); }

// ---- Start-up and shut-down ----

void TfrmMain::FormCreate() {
  m_documentName.clear();
  // The help file "Varnok Penwick.chm" and the parameter-hint popup are
  // wired when help and the popups arrive.
  m_documentOpen = false;
  CheckAssociation();
  // The welcome panel starts with the editor's size; the picture's origin
  // comes from the window's size at this point.
  // Nothing is laid out before the first showing; do it now, outside in.
  // The output panel still takes its designed room below the editor.
  for (QWidget* widget : {static_cast<QWidget*>(this), centralWidget(), m_editorArea})
    if (QLayout* layout = widget->layout()) layout->activate();
  m_welcomePanel = new TWelcomePanel(m_editorArea, m_editor->size(), QPoint(width() - 500, height() - 325));
  static_cast<QGridLayout*>(m_editorArea->layout())->addWidget(m_welcomePanel, 0, 0);
  m_welcomePanel->raise();
  m_welcomePanel->show();
  LoadLexerFile();
  if (!m_documentOpen) EnableEditor(false);
  ActivateDragDrop(true);
  OpenSettingsFile();
  Action("mniRecentAnchor")->setVisible(false);
  Action("mniRecentAnchor")->setText("");
  LoadRecentFiles();
  ActivateDragDrop(true);
  if (!m_scriptPath.empty()) {
    RunCommand([&] {
      OpenScript(m_scriptPath);
      m_openedFromCommandLine = true;
      m_documentOpen = true;
      ShowWelcome(false);
      EnableEditor(true);
    });
  }
  if (!m_documentOpen) {
    SetNoDocumentCaption();
    SetEnabled({"mniClose", "mniExportHtml"}, false);
    ShowWelcome(true);
    EnableEditor(false);
    SetEnabled({"mniUndo", "mniRedo", "mniPaste", "mniCut", "mniCopy", "mniFind", "mniReplace", "mniGoTo"}, false);
    SetEnabled({"tbtPaste", "tbtUndo", "tbtRedo", "tbtCompile"}, false);
  }
  RunCommand([&] { ReadSettings(); });
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!m_shown) {
    m_shown = true;
    FormShow();
  }
}

void TfrmMain::FormShow() {
  setWindowState(m_wndMax ? (windowState() | Qt::WindowMaximized) : (windowState() & ~Qt::WindowMaximized));
  ConnectIncrementalSearch();
  m_outputPanel->hide();
  // A script named on the command line is what the user asked for: the
  // start-up choice would replace it, so it is not applied then.
  if (m_openedFromCommandLine) return;
  RunCommand([&] {
    if (m_createNewStart) {
      actNewExecute();
    } else if (m_openLastUsed) {
      EnableEditor(true);
      ShowWelcome(false);
      OpenLastUsedScript();
      if (m_documentOpen) m_editor->setFocus();
    }
  });
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}

bool TfrmMain::FormCloseQuery() {
  try {
    AskSaveChanges();
    return true;
  } catch (...) {
    TApplication::ReportException(&m_dialogs, std::current_exception());
    return false;
  }
}

void TfrmMain::FormClose() {
  // Each step runs even when an earlier one failed: the program must be able
  // to end.
  RunCommand([&] { ActivateDragDrop(false); });
  // Both go to the one settings file: once a write failed the rest would
  // fail the same way, so the user hears of it once.
  RunCommand([&] {
    WriteRecentFiles();
    WriteSettings();
  });
  RunCommand([&] { CloseSettingsFile(); });
  m_shutDownDone = true;
}

void TfrmMain::LoadLexerFile() {
  m_syntAnalyzer->SetName("syntnlyzr1");
  TLexerFileLoader(m_dialogs, m_programFolder).Load(*m_syntAnalyzer);
}
void TfrmMain::ConnectIncrementalSearch() {
  // Filled in with the incremental search of the editor.
}
void TfrmMain::CloseOutputPanel() { m_outputPanel->btn_closemessagesClick(); }

void TfrmMain::actCompileExecute() {
  std::unique_ptr<TCompilerSession> session;
  if (m_sessionFactory) {
    session = m_sessionFactory();
  } else {
    const std::string bridge = (QCoreApplication::applicationDirPath() + "/penwick-compile-bridge.exe").toStdString();
    session = std::make_unique<TWineCompilerSession>(bridge);
  }
  TMainCompileHost host(*this);
  TCompileDriver driver(host, *session);
  if (!m_compilerFolder.empty()) driver.SetCompilerFolder(m_compilerFolder);
  driver.Execute();
}

// ---- Document lifecycle ----

void TfrmMain::AskSaveChanges() {
  if (!m_editor->Modified()) return;
  switch (m_dialogs.Confirm("Save changes to " + m_documentName + "?")) {
    case TDialogAnswer::Yes:
      // A save that wrote nothing (Save As cancelled) would lose the changes
      // if the command went on: treat it as Cancel.
      if (!actSaveExecute()) throw TSilentAbort();
      return;
    case TDialogAnswer::No:
      return;
    case TDialogAnswer::Cancel:
    case TDialogAnswer::All:  // not offered by Confirm
      throw TSilentAbort();
  }
}

void TfrmMain::actNewExecute() {
  // Unsaved work is never thrown away without a question.
  AskSaveChanges();
  m_lossGuard.Forget();
  m_documentOpen = true;
  SetEnabled({"mniCompile", "tbtCompile"}, true);
  auto resetDocument = [this] {
    m_documentName = kUntitled;
    SetDocumentCaption(kUntitled);
    m_editor->Lines().Clear();
    m_editor->SetModified(false);
    ShowModifiedState(false);
  };
  resetDocument();
  if (m_emptyScr) {
    resetDocument();
    m_editor->Clear();
  } else {
    SetDocumentCaption(kUntitled);
  }
  EnableEditor(true);
  m_editor->setFocus();
  SetEnabled({"tbtClose", "mniClose", "mniExportHtml", "mniSaveAs"}, true);
  ShowWelcome(false);
  if (!m_emptyScr) {
    for (const std::string& line : NewScriptLines(false)) m_editor->Lines().Add(line);
    syntxm1Change();
  }
  ShowCaretPos();
}

void TfrmMain::OpenScript(const std::string& fileName) {
  // The store reads the whole file into one buffer sized for it, and only
  // then replaces the text: a file that cannot be opened (or a folder)
  // leaves the current document exactly as it was. Reading it here first
  // would copy 50 MB twice more before the store saw it.
  m_editor->Lines().LoadFromFile(fileName);
  m_documentName = ShortPathOf(fileName);
  SetDocumentCaption(fileName);
  // Save As too: after Close it would stay off for the script opened next.
  SetEnabled({"mniClose", "tbtClose", "mniExportHtml", "mniCompile", "mniSaveAs"}, true);
  ShowWelcome(false);
  EnableEditor(true);
  m_editor->setFocus();
  m_editor->SetModified(false);
  ShowModifiedState(false);
  m_documentOpen = true;
  m_lossGuard.Opened(fileName, m_editor->Lines().Format().LostCharacters());
  ShowCaretPos();
}

void TfrmMain::actOpenExecute() {
  AskSaveChanges();
  if (!m_dialogs.ExecuteOpen(m_dlgOpen)) return;
  // OpenScript names the document itself, and only once the file was read.
  OpenScript(m_dlgOpen.FileName);
  m_mrfls->AddFile(LongPathOf(m_documentName));
}

bool TfrmMain::SaveToFile(const std::string& fileName) {
  if (!m_lossGuard.MayWrite(fileName)) return false;
  m_editor->Lines().SaveToFile(fileName);
  m_lossGuard.Written(fileName);
  return true;
}

bool TfrmMain::actSaveExecute() {
  if (m_documentName == kUntitled) return actSaveAsExecute();
  if (!SaveToFile(m_documentName)) return false;
  m_editor->SetModified(false);
  ShowModifiedState(false);
  return true;
}

bool TfrmMain::actSaveAsExecute() {
  if (!m_dialogs.ExecuteSave(m_dlgSave)) return false;
  const std::string chosen = m_dlgSave.FileName;
  std::error_code error;
  if (std::filesystem::exists(chosen, error)) {
    if (m_dialogs.Confirm("OK to overwrite " + chosen) != TDialogAnswer::Yes) return false;
  }
  if (!SaveToFile(chosen)) return false;
  SetDocumentCaption(chosen);
  m_editor->SetModified(false);
  ShowModifiedState(false);
  m_documentName = chosen;
  return true;
}

void TfrmMain::actCloseExecute() {
  // Cancel in the question skips the remaining steps without a message. Any
  // other failure (the save the user asked for did not succeed) skips them
  // too, but is reported: the user must not believe the script was saved.
  try {
    AskSaveChanges();
    m_documentName.clear();
    ShowWelcome(true);
    m_documentOpen = false;
    SetNoDocumentCaption();
    SetEnabled({"mniClose", "mniExportHtml", "tbtClose", "mniSaveAs", "mniCompile", "tbtCompile",
                "mnuInsertTemplate", "tbtSave", "mniSave", "tbtPaste", "mniPaste"},
               false);
    CloseOutputPanel();
    EnableEditor(false);
    // The hidden text must not be offered for saving under an empty name by
    // a later question: the document is gone as far as the user can tell.
    m_editor->SetModified(false);
    ShowModifiedState(false);
    ShowCaretPos();
  } catch (const TSilentAbort&) {
  }
}

void TfrmMain::actExitExecute() { close(); }

// ---- Editing and view commands ----

// With no document open the editor only keeps the hidden text of the last
// one: no command may change or select it.
void TfrmMain::actUndoExecute() {
  if (m_documentOpen && m_editor->CanUndo()) m_editor->Undo();
}
void TfrmMain::actRedoExecute() {
  if (m_documentOpen && m_editor->CanRedo()) m_editor->Redo();
}
void TfrmMain::actCutExecute() {
  if (m_documentOpen) m_editor->CutToClipboard();
}
void TfrmMain::actCopyExecute() {
  if (m_documentOpen) m_editor->CopyToClipboard();
}
void TfrmMain::actPasteExecute() {
  if (m_documentOpen) m_editor->PasteFromClipboard();
}
void TfrmMain::actSelectAllExecute() {
  if (m_documentOpen) m_editor->SelectAll();
}

void TfrmMain::actShowToolbarExecute() {
  // The check item has already toggled its tick.
  m_toolbar->setVisible(Action("mniShowToolbar")->isChecked());
}

void TfrmMain::actShowStatusbarExecute() { m_statusBar->setVisible(Action("mniShowStatusbar")->isChecked()); }

void TfrmMain::actAboutExecute() {
  QMessageBox about(QMessageBox::Information, "About", "Varnok Penwick v2.0\n\nThe mission-script editor for Varnok.",
                    QMessageBox::Ok, this);
  about.exec();
}

void TfrmMain::UpdateCommandStates() {
  if (!m_editor) return;
  const bool modified = m_editor->Modified();
  if (modified != m_lastModified) {
    m_lastModified = modified;
    SetEnabled({"mniSave", "tbtSave"}, modified);
  }
  if (!m_documentName.empty()) {
    SetEnabled({"mniUndo", "tbtUndo"}, m_editor->CanUndo());
    SetEnabled({"mniRedo", "tbtRedo"}, m_editor->CanRedo());
    const bool selection = m_editor->HaveSelection();
    SetEnabled({"mniCut", "tbtCut", "mniCopy", "tbtCopy"}, selection);
    SetEnabled({"mniPaste", "tbtPaste"}, ClipboardHasText());
  } else {
    // Nothing to edit: keep the editing commands off (also against their shortcuts).
    SetEnabled({"mniUndo", "tbtUndo", "mniRedo", "tbtRedo", "mniCut", "tbtCut", "mniCopy", "tbtCopy", "mniPaste",
                "tbtPaste", "mniFind", "mniReplace"},
               false);
  }
  Action("mniSelectAll")->setEnabled(!m_documentName.empty());
}

bool TfrmMain::ClipboardHasText() {
  if (m_clipboardChanged) {
    m_clipboardChanged = false;
    try {
      m_clipboardHasText = m_editor->Clipboard().HasText();
    } catch (...) {
      m_clipboardHasText = false;  // an unreachable clipboard holds nothing to paste
    }
  }
  return m_clipboardHasText;
}

void TfrmMain::EditMenuAboutToShow() {
  if (!m_documentOpen) return;
  SetEnabled({"mniUndo", "tbtUndo"}, m_editor->CanUndo());
  SetEnabled({"mniRedo", "tbtRedo"}, m_editor->CanRedo());
  m_clipboardChanged = true;
  Action("mniPaste")->setEnabled(ClipboardHasText());
  SetEnabled({"mniCut", "mniCopy"}, m_editor->SelLength() > 0);
  SetEnabled({"mniFind", "mniReplace"}, true);
}

}  // namespace penwick
