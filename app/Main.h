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
#include <QTimer>
#include <QToolBar>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CodePageLossGuard.h"
#include "platform/UserDialogs.h"

class QAction;

namespace penwick {

class TAutoCompletePopup;
class TCompilerSession;
struct TDeclarationAnalysis;
class TDNK_dragdrop;
class TFileAssociation;
class THelpSystem;
class THTMLSyntExport;
class TSyntFindDialog;
class TSyntReplaceDialog;
class TIniFile;
class TMRUFiles;
class TOutputPanel;
class TParamCompletion;
class TQtMRUMenu;
struct TEditorSettings;
struct TFontSettings;
class TfrmPrefs;
class TMainPrefsHost;
class TPrefsView;
class TStylesView;
class TStatusPanels;
class TSyntaxMemo;
class TSyntAnalyzer;
class TWelcomePanel;

// What the main window is started with; empty fields take the running
// program's own.
struct TMainWindowSetup {
  std::string ScriptPath;      // the first command-line argument (empty: none)
  std::string ProgramFolder;   // where files kept beside the program are looked for; empty: the executable's folder
  std::string ExecutablePath;  // the program the association names; empty: the running executable
  std::string SettingsFile;    // empty: beside the executable, or in the user's config folder
  std::shared_ptr<TFileAssociation> Association;  // empty: the system's
  std::shared_ptr<THelpSystem> Help;              // empty: the desktop's help viewer
  std::shared_ptr<TPrefsView> PrefsView;          // empty: the Qt forms
  std::shared_ptr<TStylesView> StylesView;        // empty: the Qt forms
};

class TfrmMain : public QMainWindow {
  Q_OBJECT
public:
  // Creation runs the start-up steps up to the first showing. `dialogs` is
  // not owned and must outlive the window.
  TfrmMain(TUserDialogs& dialogs, TMainWindowSetup setup, QWidget* parent = nullptr);
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

  // Editor settings kept as the settings file holds them: the colours as
  // 32-bit colour values (system colours included), the tab width as a
  // number. The setters apply them to the editor at once.
  std::uint32_t EditorBgColor() const { return m_bgColor; }
  void SetEditorBgColor(std::uint32_t color);
  std::uint32_t GutterColor() const { return m_gutterColor; }
  void SetGutterColor(std::uint32_t color);
  int TabWidth() const { return m_tabWidth; }
  void SetTabWidth(int width);
  // The editor's tab list given as text: the whole number it reads as is
  // kept as the tab width; raises "'<text>' is not a valid integer value"
  // (and changes nothing) for text that is no whole number.
  void SetTabListText(const std::string& text);
  // The editor font as the settings file describes it: name, size in
  // points, style bits, the font colour value (system colours keep their
  // names) and the character set. The setter applies the style exactly.
  TFontSettings EditorFontSettings() const;
  void SetEditorFontSettings(const TFontSettings& font);
  // Whether the command list opens by itself while a word is typed (the
  // list's Enabled); Ctrl+Space opens it either way.
  bool AutoCompletion() const;
  void SetAutoCompletion(bool enabled);
  const std::string& SettingsFileName() const { return m_settingsFileName; }
  // Where files kept beside the program (mis2.lcf, Themes/) are looked for.
  const std::string& ProgramFolder() const { return m_programFolder; }
  // The preferences dialog, created hidden with the window; "Tools" >
  // "Options" shows it.
  TfrmPrefs& frmPrefs() const { return *m_frmPrefs; }

  TSyntaxMemo* syntxm1() const { return m_editor; }
  // The command list, the parameter hint and the hint's 15 ms timer.
  TAutoCompletePopup* atcmpltp1() const { return m_atcmpltp1; }
  TParamCompletion* prmcmpltn1() const { return m_prmcmpltn1; }
  QTimer& tmr1() { return m_tmr1; }
  TMRUFiles& mrfls() const { return *m_mrfls; }
  // The find and replace components bound to the editor, and the exporter.
  TSyntFindDialog* syntfndlg1() const { return m_syntfndlg1.get(); }
  TSyntReplaceDialog* syntrplcdlg1() const { return m_syntrplcdlg1.get(); }
  THTMLSyntExport* htmlsyntxprt1() const { return m_htmlsyntxprt1.get(); }
  // The help file asked for by F1: "Varnok Penwick.chm" beside the program.
  std::string HelpFile() const;
  // Opens HelpFile() at its table of contents (the help interface raises
  // when it cannot).
  void ShowHelpContents();
  TDNK_dragdrop* DragDrop() const { return m_dragDrop.get(); }
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
  TStatusPanels& StatusPanels() const { return *m_statusPanels; }
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
  // "Tools" > "Options": the preferences dialog; OK applies it.
  void mniOptionsClick();
  void mniFindClick();
  void mniReplaceClick();
  void mniExporttoHTML1Click();
  // F1 in the editor: help on the word at the caret.
  void syntxm1KeyDown(int key);
  // The editor's incremental search: states 1 start, 2 text changed, 0 stop.
  void syntxm1IncSearchChange(int state);
  void EditMenuAboutToShow();
  // The editor's change handlers: the first may open the command list, the
  // second analyses a declaration on the caret line for the parameter hint.
  // syntxm1Change also runs once after New fills in the template.
  void syntxm1TextChanged(int pos, int count, int lineChange);
  void syntxm1Change();
  // The caret went below the last edited line: the hint goes.
  void syntxm1CaretPosChanged();
  // The command list's change: it closes when no word matches.
  void atcmpltp1Change();
  void tmr1Timer();
  // Script, Insert from template, "Basic minimal level".
  void mniBasicMinimalLevelClick();
  // An entry of the recent-files list was chosen.
  void mrflsClick(const std::string& fileName);
  void actClearRecentExecute();
  // Files were dropped on the window: the first one opens when it is a script.
  void DragDropFilesDropped(int numItems, const std::vector<std::string>& list);
  void actAssociateExecute();
  void actUnassociateExecute();

protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

private:
  void CreateActions();
  void CreateMenus();
  void CreateToolbar();
  void CreateStatusBar();
  // The recent-files list with its menu, and the drop receiver.
  void CreateFileComponents();
  void CreateCentralArea();
  // The command list, the parameter hint and its timer, bound to the editor.
  void CreateWritingHelp();
  // The find and replace components and the HTML exporter, bound to the editor.
  void CreateSearchComponents();
  // The preferences dialog over this window, hidden until Options.
  void CreatePrefs();
  void ApplyDeclarationEffects(const TDeclarationAnalysis& analysis);
  // Turns a typed weapon name into its constant, as an edit of its own;
  // `line` is the line the name was typed on (the caret may have left it).
  void ReplaceWeaponName(int line);
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
  bool Associated();
  void ShowAssociation(bool associated);
  TEditorSettings CurrentSettings() const;
  // Keeps the maximized state and the system colours in step with the
  // window's state and the desktop's palette.
  void FollowWindowEvent(QEvent* event);
  void ApplySettings(const TEditorSettings& settings);
  void ShowClearRecent();
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
  std::string m_executablePath;
  std::string m_settingsFileName;
  std::shared_ptr<TFileAssociation> m_association;
  std::shared_ptr<THelpSystem> m_help;
  std::unique_ptr<TIniFile> m_settings;
  std::unique_ptr<TMRUFiles> m_mrfls;
  std::unique_ptr<TQtMRUMenu> m_mruMenu;
  std::unique_ptr<TDNK_dragdrop> m_dragDrop;

  std::string m_documentName;
  bool m_documentOpen = false;
  bool m_createNewStart = false;
  bool m_openLastUsed = false;
  bool m_emptyScr = false;
  int m_prefsTab = 0;
  bool m_wndMax = false;
  int m_tabWidth = 4;
  std::uint32_t m_bgColor = 0;
  std::uint32_t m_gutterColor = 0xFF00000Fu;
  std::uint32_t m_fontColor = 0xFF000008u;
  int m_fontCharset = 1;
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
  std::unique_ptr<TSyntFindDialog> m_syntfndlg1;
  std::unique_ptr<TSyntReplaceDialog> m_syntrplcdlg1;
  std::unique_ptr<THTMLSyntExport> m_htmlsyntxprt1;
  TAutoCompletePopup* m_atcmpltp1 = nullptr;  // owned by Qt
  TParamCompletion* m_prmcmpltn1 = nullptr;   // owned by Qt
  QTimer m_tmr1;
  // The declaration analysis' state: the flag of the latest analysis, the
  // copy the command list's trigger reads, the caret line of the latest edit.
  bool m_declarationFlag = false;
  bool m_declarationFlagCopy = false;
  int m_lastEditedLine = 0;
  int m_undoneLine = 0;  // the line of the latest change made by Undo or Redo
  bool m_textReplaced = false;  // the change being reported replaced the whole text
  // A weapon-name replacement is waiting for the edit that found it to end.
  bool m_weaponReplacePending = false;
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
  // The preferences dialog and what it works through; the dialog goes first.
  std::shared_ptr<TPrefsView> m_prefsView;
  std::shared_ptr<TStylesView> m_stylesView;
  std::unique_ptr<TMainPrefsHost> m_prefsHost;
  std::unique_ptr<TfrmPrefs> m_frmPrefs;
};

}  // namespace penwick
