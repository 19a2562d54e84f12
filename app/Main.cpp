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
#include "app/MainPrefsHost.h"
#include "app/ProgressPanel.h"
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
#include "editor/SyntExport.h"
#include "editor/SyntFindDialog.h"
#include "editor/SyntReplaceDialog.h"
#include "editor/SyntaxMemo.h"
#include "language/MissionLexer.h"
#include "language/TemplateScript.h"
#include "platform/FileAssociation.h"
#include "platform/HelpSystem.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/SettingsLocation.h"
#include "platform/posix/WineCompilerSession.h"
#include "prefs/Settngs.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

namespace {

constexpr const char* kUntitled = "Untitled.mis";
constexpr const char* kProductTitle = "Varnok Penwick v2.0";

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void TfrmMain::RunCommand(const std::function<void()>& command) {
  try {
    command();
  } catch (...) {
    TApplication::ReportException(&m_dialogs, std::current_exception());
  }
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
      m_association(setup.Association ? std::move(setup.Association) : SystemFileAssociation()),
      m_help(setup.Help ? std::move(setup.Help) : SystemHelp()),
      m_prefsView(std::move(setup.PrefsView)),
      m_stylesView(std::move(setup.StylesView)) {
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
  CreatePrefs();
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
    // The search ends as the editor goes; its handler reaches into the find component.
    m_editor->OnIncSearchChange = nullptr;
    m_editor->OnKeyDown = nullptr;
    // What the editor tells while it goes (focus, caret) must not reach the
    // members that are gone by then.
    m_editor->disconnect(this);
  }
}

// ---- Layout ----

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
  CreateSearchComponents();
  cell->addWidget(m_editor, 0, 0);
  column->addWidget(m_editorArea, 1);
  m_outputPanel = new TOutputPanel(*m_editor, central);
  m_outputPanel->OnError = [this](std::exception_ptr error) { TApplication::ReportException(&m_dialogs, error); };
  column->addWidget(m_outputPanel->splMain());
  column->addWidget(m_outputPanel);
  setCentralWidget(central);

  // "Compiling script..." indicator, shown centred during a compile.
  auto* progress = new TProgressPanel(this);
  m_progressPanel = progress;
  m_statusLabel = progress->Status();
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
  SetEnabled({"tbtClose", "mniClose", "mniExportHtml", "mniSaveAs", "mniFind", "mniReplace"}, true);
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
  SetEnabled({"mniClose", "tbtClose", "mniExportHtml", "mniCompile", "mniSaveAs", "mniFind", "mniReplace"}, true);
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
    // The idle rules leave the editing items alone without a document: none
    // of them may offer to act on the hidden text of the closed one.
    SetEnabled({"mniUndo", "tbtUndo", "mniRedo", "tbtRedo", "mniCut", "tbtCut", "mniCopy", "tbtCopy", "mniFind",
                "mniReplace"},
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

}  // namespace penwick
