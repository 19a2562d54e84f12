// The main window's command table: its actions with their captions, hints,
// shortcuts and icons, the menus and the toolbar they sit in, and the
// editing and view commands that act on the editor.
#include <QActionGroup>
#include <QMenuBar>
#include <QMessageBox>
#include <QStyle>
#include <cstring>

#include "app/Main.h"
#include "app/ToolIcons.h"
#include "editor/SyntaxMemo.h"

namespace penwick {

namespace {

// Splits "Short|Long" hints: the short part is the tooltip, the long part the
// status-bar text. A hint without "|" is both.
QString ShortHint(const char* hint) { return QString(hint).section('|', 0, 0); }
QString LongHint(const char* hint) {
  QString text(hint);
  return text.contains('|') ? text.section('|', 1) : text;
}

}  // namespace

template <typename F>
void TfrmMain::Bind(QAction* action, F command) {
  connect(action, &QAction::triggered, this, [this, command] { RunCommand([this, command] { (this->*command)(); }); });
}

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
    QIcon Icon;
    bool OnToolbar;
  };
  auto standard = [this](QStyle::StandardPixmap picture) { return style()->standardIcon(picture); };
  const TCommandSpec commands[] = {
      {"New", "&New", "New|Create a script", QKeySequence("Ctrl+N"), [this] { actNewExecute(); },
       standard(QStyle::SP_FileIcon), true},
      {"Open", "&Open", "Open|Open a script", QKeySequence("Ctrl+O"), [this] { actOpenExecute(); },
       standard(QStyle::SP_DialogOpenButton), true},
      {"Close", "Close", "Close|Close current script", {}, [this] { actCloseExecute(); },
       standard(QStyle::SP_DialogCloseButton), true},
      // Save and Save As report whether they wrote; as commands the result is unused.
      {"Save", "&Save", "Save|Save current script", QKeySequence("Ctrl+S"), [this] { actSaveExecute(); },
       standard(QStyle::SP_DialogSaveButton), true},
      {"SaveAs", "Save &As...", "Save As|Save current script with different name", {},
       [this] { actSaveAsExecute(); }, standard(QStyle::SP_DialogSaveButton), false},
      {"Exit", "E&xit", "Exit|Exit application", {}, [this] { actExitExecute(); }, standard(QStyle::SP_DialogCancelButton),
       false},
      {"Undo", "&Undo", "Undo|Reverts the last action", QKeySequence("Ctrl+Z"), [this] { actUndoExecute(); },
       standard(QStyle::SP_ArrowBack), true},
      {"Redo", "Redo", "Redo|Re-executes the last action", QKeySequence("Ctrl+Y"), [this] { actRedoExecute(); },
       standard(QStyle::SP_ArrowForward), true},
      {"Cut", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", QKeySequence("Ctrl+X"),
       [this] { actCutExecute(); }, CutIcon(), true},
      {"Copy", "&Copy", "Copy|Copies the selection and puts it on the Clipboard", QKeySequence("Ctrl+C"),
       [this] { actCopyExecute(); }, standard(QStyle::SP_FileDialogDetailedView), true},
      {"Paste", "&Paste", "Paste|Inserts Clipboard contents", QKeySequence("Ctrl+V"), [this] { actPasteExecute(); },
       standard(QStyle::SP_FileDialogContentsView), true},
      {"Compile", "Compile", "Compile|Compiles the current script ", {}, [this] { actCompileExecute(); },
       standard(QStyle::SP_MediaPlay), true},
  };
  for (const TCommandSpec& spec : commands) {
    auto run = [this, command = spec.Run] { RunCommand(command); };
    QAction* menuItem = NewAction(("mni" + std::string(spec.Name)).c_str(), spec.Caption, spec.Hint);
    if (!spec.Shortcut.isEmpty()) menuItem->setShortcut(spec.Shortcut);
    connect(menuItem, &QAction::triggered, this, run);
    if (spec.OnToolbar) {
      QAction* button = NewAction(("tbt" + std::string(spec.Name)).c_str(), ShortHint(spec.Hint), spec.Hint);
      button->setIcon(spec.Icon);
      connect(button, &QAction::triggered, this, run);
    }
  }


  NewAction("mniSend", "Sen&d");
  Bind(NewAction("mniClearRecent", "Clear Recent Files List"), &TfrmMain::actClearRecentExecute);
  NewAction("mniRecentAnchor", "");
  Bind(NewAction("mniExportHtml", "Export to HTML..."), &TfrmMain::mniExporttoHTML1Click);
  QAction* find = NewAction("mniFind", "&Find...");
  find->setShortcut(QKeySequence("Ctrl+F"));
  Bind(find, &TfrmMain::mniFindClick);
  QAction* replace = NewAction("mniReplace", "R&eplace...");
  replace->setShortcut(QKeySequence("Ctrl+H"));
  Bind(replace, &TfrmMain::mniReplaceClick);
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
  Bind(NewAction("mniOptions", "Options"), &TfrmMain::mniOptionsClick);
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
  // The window's own context menu can hide the toolbar as well: the tick
  // follows, so that it always tells whether the toolbar is shown.
  connect(m_toolbar->toggleViewAction(), &QAction::toggled, this,
          [this](bool shown) { Action("mniShowToolbar")->setChecked(shown); });
}

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

}  // namespace penwick
