// The main window: menus, toolbar, status bar, the welcome panel, the one
// document's lifecycle (New, Open, Save, Save As, Close) and start-up and
// shut-down.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <functional>
#include <memory>
#include <string>

#include "app/CodePageLossGuard.h"
#include "platform/UserDialogs.h"

class QAction;

namespace penwick {

class TCompilerSession;
class TOutputPanel;
class TStatusPanels;
class TSyntaxMemo;
class TSyntAnalyzer;
class TWelcomePanel;

class TfrmMain : public QMainWindow {
  Q_OBJECT
public:
  // Creation runs the start-up steps up to the first showing; `scriptPath`
  // is the first command-line argument (empty: none). `programFolder` is
  // where the files kept beside the program are looked for (empty: the
  // executable's folder). `dialogs` is not owned and must outlive the window.
  TfrmMain(TUserDialogs& dialogs, const std::string& scriptPath = {}, const std::string& programFolder = {},
           QWidget* parent = nullptr);
  ~TfrmMain() override;

  // The one document. `DocumentName` is empty while none is open,
  // "Untitled.mis" for a never-saved script, else the script's path.
  const std::string& DocumentName() const { return m_documentName; }
  void SetDocumentName(const std::string& name) { m_documentName = name; }
  bool DocumentOpen() const { return m_documentOpen; }

  // Start-up choices and window state; read from the settings at creation,
  // applied at the first showing.
  bool CreateNewStart() const { return m_createNewStart; }
  void SetCreateNewStart(bool value) { m_createNewStart = value; }
  bool OpenLastUsed() const { return m_openLastUsed; }
  void SetOpenLastUsed(bool value) { m_openLastUsed = value; }
  bool EmptyScr() const { return m_emptyScr; }
  void SetEmptyScr(bool value) { m_emptyScr = value; }
  int PrefsTab() const { return m_prefsTab; }
  void SetPrefsTab(int value) { m_prefsTab = value; }
  bool WndMax() const { return m_wndMax; }
  void SetWndMax(bool value) { m_wndMax = value; }

  TSyntaxMemo* syntxm1() const { return m_editor; }
  // The mission-script lexer definition the editor is bound to.
  TSyntAnalyzer* syntnlyzr1() const { return m_syntAnalyzer.get(); }
  TWelcomePanel* WelcomePanel() const { return m_welcomePanel; }
  QToolBar* tbxdck1() const { return m_toolbar; }
  QStatusBar* statMain() const { return m_statusBar; }
  TOutputPanel* pnlOutPut() const { return m_outputPanel; }
  QFrame* pnlProgress() const { return m_progressPanel; }
  QLabel* lblStatus() const { return m_statusLabel; }

  // The compiler session the Compile command talks to. By default the Win32
  // session runs inside Wine through penwick-compile-bridge.exe beside the
  // executable; tests put their own in.
  using TSessionFactory = std::function<std::unique_ptr<TCompilerSession>()>;
  void SetCompilerSessionFactory(TSessionFactory factory) { m_sessionFactory = std::move(factory); }
  // Empty: the folder "compiler" beside the executable.
  void SetCompilerFolder(const std::string& folder) { m_compilerFolder = folder; }
  // Text of a status-bar panel: 0 the hint panel, 1 the modified panel,
  // 2 the caret position ("Ln 12, Col 5", empty without a document).
  QString StatusPanelText(int panel) const;
  // The task-bar text; follows the window caption.
  const QString& ApplicationTitle() const { return m_applicationTitle; }
  // Whether the shut-down steps ran (the window accepted a close request).
  bool ShutDownDone() const { return m_shutDownDone; }

  // Routines shared with the compile command and the recent-files list.
  void SetDocumentCaption(const std::string& fileName);
  void SetNoDocumentCaption();
  void ShowWelcome(bool show);
  void EnableEditor(bool enable);
  void ShowModifiedState(bool modified);
  // The caret's line and visual column, both from 1, in the third panel.
  void ShowCaretPos();
  // Opens a script without asking about the current one. When the file
  // cannot be read the error is raised and the previous document stays as it
  // was (name, title, text and modified state).
  void OpenScript(const std::string& fileName);
  // Asks "Save changes to %s?" when the text is modified. Yes saves (a
  // cancelled or failed save ends the calling command); No goes on; Cancel
  // throws TSilentAbort.
  void AskSaveChanges();
  // The short form of a path; on failure tells the user and returns "".
  std::string ShortPathOf(const std::string& path);
  std::string LongPathOf(const std::string& path);

  // Runs a command as the event loop would: an error is shown in the
  // "Error" box, TSilentAbort silently, and the program goes on.
  void RunCommand(const std::function<void()>& command);

  // The idle updates of the editing commands' enabled state; also run each
  // time the event loop is about to wait.
  void UpdateCommandStates();

public slots:
  void actNewExecute();
  void actOpenExecute();
  // Save: false when nothing was written (untitled and Save As cancelled).
  bool actSaveExecute();
  bool actSaveAsExecute();
  void actCloseExecute();
  void actExitExecute();
  void actCompileExecute();
  void actUndoExecute();
  void actRedoExecute();
  void actCutExecute();
  void actCopyExecute();
  void actPasteExecute();
  void actSelectAllExecute();
  void actShowToolbarExecute();
  void actShowStatusbarExecute();
  void actAboutExecute();
  void EditMenuAboutToShow();
  // The editor's change handler: run after every edit and once after New
  // fills in the template.
  void syntxm1Change();

protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void CreateActions();
  void CreateMenus();
  void CreateToolbar();
  void CreateStatusBar();
  void CreateCentralArea();
  QAction* NewAction(const char* objectName, const QString& caption, const char* hint = nullptr);
  QAction* Action(const char* objectName) const;
  void SetEnabled(std::initializer_list<const char*> objectNames, bool enabled);
  // Connects an action to a command run through RunCommand.
  template <typename F>
  void Bind(QAction* action, F command);

  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void FormClose();
  // Writes the editor's text; false when the user declined (nothing written).
  bool SaveToFile(const std::string& fileName);
  bool ClipboardHasText();

  // Names the lexer definition and loads mis2.lcf over it (TLexerFileLoader);
  // tells the user about any failure and never stops start-up.
  void LoadLexerFile();
  // Start-up and shut-down steps that the settings file, the file
  // association, the recent-files list and file drops fill in. Until then
  // they do nothing, except that ReadSettings sets the defaults a missing
  // settings file gives.
  void CheckAssociation();
  void ActivateDragDrop(bool active);
  void OpenSettingsFile();
  void LoadRecentFiles();
  void ReadSettings();
  void WriteRecentFiles();
  void WriteSettings();
  void CloseSettingsFile();
  void ConnectIncrementalSearch();
  void OpenLastUsedScript();
  void CloseOutputPanel();

  TUserDialogs& m_dialogs;
  TCodePageLossGuard m_lossGuard{m_dialogs};
  std::string m_scriptPath;
  std::string m_programFolder;

  std::string m_documentName;
  bool m_documentOpen = false;
  bool m_createNewStart = false;
  bool m_openLastUsed = false;
  bool m_emptyScr = false;
  int m_prefsTab = 0;
  bool m_wndMax = false;
  bool m_shown = false;
  bool m_openedFromCommandLine = false;
  bool m_shutDownDone = false;
  bool m_lastModified = false;
  // Whether the clipboard holds text, asked again only after it changed:
  // asking a system clipboard owned by another program can be slow.
  bool m_clipboardHasText = false;
  bool m_clipboardChanged = true;
  QString m_applicationTitle;

  TFileDialog m_dlgOpen;
  TFileDialog m_dlgSave;
  TFileDialog m_dlgSaveHtml;

  std::unique_ptr<TSyntAnalyzer> m_syntAnalyzer;
  TSyntaxMemo* m_editor = nullptr;
  TWelcomePanel* m_welcomePanel = nullptr;
  QWidget* m_editorArea = nullptr;
  QToolBar* m_toolbar = nullptr;
  QStatusBar* m_statusBar = nullptr;
  std::unique_ptr<TStatusPanels> m_statusPanels;
  QMenu* m_editMenu = nullptr;
  TOutputPanel* m_outputPanel = nullptr;
  QFrame* m_progressPanel = nullptr;
  QLabel* m_statusLabel = nullptr;
  TSessionFactory m_sessionFactory;
  std::string m_compilerFolder;
};

}  // namespace penwick
