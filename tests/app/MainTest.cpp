// The main window: start-up states, titles, the enabled state of its
// commands, the welcome picture, hints, idle updates and shut-down.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "AppTestSupport.h"
#include "app/WelcomePanel.h"
#include "editor/StyledRuns.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {
namespace {

class MainWindow : public TMainWindowTest {
protected:
  void ExpectEnabled(std::initializer_list<const char*> names, bool enabled) {
    for (const char* name : names) EXPECT_EQ(Enabled(name), enabled) << name;
  }
};

TEST_F(MainWindow, DefaultStartCreatesAnUntitledDocument) {
  Start();
  EXPECT_EQ(Title(), "[Untitled.mis] - Varnok Penwick v2.0");
  EXPECT_EQ(Window().ApplicationTitle().toStdString(), Title());
  EXPECT_EQ(Window().DocumentName(), "Untitled.mis");
  EXPECT_TRUE(Window().DocumentOpen());
  EXPECT_FALSE(Window().WelcomePanel()->isVisible());
  EXPECT_TRUE(Editor().isEnabled());
  EXPECT_TRUE(Editor().hasFocus());
  EXPECT_FALSE(Editor().Modified());
  EXPECT_EQ(Editor().Lines().TextLength(), 0);
  // The New row of the transitions on top of the start-up row.
  ExpectEnabled({"mniCompile", "tbtCompile", "tbtClose", "mniClose", "mniExportHtml", "mniSaveAs"}, true);
  ExpectEnabled({"tbtSave"}, false);
}

TEST_F(MainWindow, WelcomeScreenStartShowsNoDocumentState) {
  Start(TStartup::Welcome());
  EXPECT_EQ(Title(), "Varnok Penwick v2.0");
  EXPECT_EQ(Window().ApplicationTitle(), "Varnok Penwick v2.0");
  EXPECT_TRUE(Window().DocumentName().empty());
  EXPECT_FALSE(Window().DocumentOpen());
  EXPECT_TRUE(Window().WelcomePanel()->isVisible());
  EXPECT_FALSE(Editor().isEnabled());
  // Designed state.
  ExpectEnabled({"tbtSave", "tbtClose", "mnuInsertTemplate", "mniComment", "mniUncomment", "mniClearRecent"}, false);
  EXPECT_FALSE(Item("mniClearRecent")->isVisible());
  // Start-up without a document.
  ExpectEnabled({"mniClose", "mniExportHtml", "mniUndo", "mniRedo", "mniPaste", "mniCut", "mniCopy", "mniFind",
                 "mniReplace", "mniGoTo", "tbtPaste", "tbtUndo", "tbtRedo", "tbtCompile", "tbtCut", "tbtCopy"},
                false);
  // Items that no row names keep their designed state.
  ExpectEnabled({"mniNew", "tbtNew", "mniOpen", "tbtOpen", "mniSave", "mniSaveAs", "mniCompile"}, true);
  Window().UpdateCommandStates();
  EXPECT_FALSE(Item("mniSelectAll")->isEnabled()) << "Select All follows DocumentName";
}

TEST_F(MainWindow, ScriptOnCommandLineIsOpenEvenWithWelcomeChoice) {
  const std::string path = PathOf("level one.mis");
  WriteFile(path, "LEVELSTART\r\nLEVELEND\r\n");
  Start(TStartup::Welcome(path));
  EXPECT_EQ(Title(), "[" + path + "] - Varnok Penwick v2.0");
  EXPECT_EQ(Window().DocumentName(), path);
  EXPECT_TRUE(Window().DocumentOpen());
  EXPECT_FALSE(Window().WelcomePanel()->isVisible());
  EXPECT_TRUE(Editor().isEnabled());
  EXPECT_EQ(Editor().Lines().Line(1), "LEVELEND");
  EXPECT_FALSE(Editor().Modified());
}

TEST_F(MainWindow, ScriptOnCommandLineIsNotReplacedByTheStartUpChoice) {
  const std::string path = PathOf("kept.mis");
  WriteFile(path, "kept");
  TStartup startup;  // Create New Script chosen
  startup.ScriptPath = path;
  Start(startup);
  EXPECT_EQ(Window().DocumentName(), path);
  EXPECT_EQ(Editor().Lines().Text(), "kept");
}

TEST_F(MainWindow, UnreadableScriptOnCommandLineIsReportedAndStartGoesOn) {
  const std::string path = PathOf("missing.mis");
  Start(TStartup::Welcome(path));
  ASSERT_EQ(m_dialogs.Asked("Error").size(), 1u);
  EXPECT_NE(m_dialogs.Asked("Error")[0].Text.find("Cannot open file \"" + path + "\"."), std::string::npos);
  EXPECT_FALSE(Window().DocumentOpen());
  EXPECT_TRUE(Window().WelcomePanel()->isVisible());
  EXPECT_EQ(Title(), "Varnok Penwick v2.0");
}

TEST_F(MainWindow, SplashPictureStartsAtDesignedPlaceAndKeepsItsCornerDistance) {
  {
    // At creation the window has its designed size of 773 x 497.
    TfrmMain created(m_dialogs, Setup());
    EXPECT_EQ(created.WelcomePanel()->Picture()->pos(), QPoint(773 - 500, 497 - 325));
    EXPECT_EQ(created.WelcomePanel()->size(), created.syntxm1()->size());
  }
  Start(TStartup::Welcome());
  TWelcomePanel* panel = Window().WelcomePanel();
  QLabel* picture = panel->Picture();
  EXPECT_EQ(picture->size(), QSize(475, 125));
  auto gaps = [&] {
    return QPoint(panel->width() - picture->geometry().right(), panel->height() - picture->geometry().bottom());
  };
  const QPoint before = gaps();
  Window().resize(1000, 700);
  QApplication::processEvents();
  EXPECT_EQ(panel->size(), Editor().size()) << "the panel covers the editor";
  EXPECT_EQ(gaps(), before);
  Window().resize(600, 400);
  QApplication::processEvents();
  EXPECT_EQ(gaps(), before);
}

TEST_F(MainWindow, NewFromNoDocumentEnablesItsCommands) {
  Start(TStartup::Welcome());
  Trigger("mniNew");
  ExpectEnabled({"mniCompile", "tbtCompile", "tbtClose", "mniClose", "mniExportHtml", "mniSaveAs"}, true);
  // New does not touch the editing commands; they wait for the idle update.
  // Searching is possible from the start.
  ExpectEnabled({"mniUndo", "tbtUndo"}, false);
  ExpectEnabled({"mniFind", "mniReplace"}, true);
  EXPECT_EQ(Title(), "[Untitled.mis] - Varnok Penwick v2.0");
  EXPECT_FALSE(Window().WelcomePanel()->isVisible());
  EXPECT_TRUE(Editor().isEnabled());
}

TEST_F(MainWindow, OpenFromNoDocumentEnablesItsCommandsOnly) {
  const std::string path = PathOf("a.mis");
  WriteFile(path, "x");
  Start(TStartup::Welcome());
  m_dialogs.AnswerOpen(path);
  Trigger("tbtOpen");
  ExpectEnabled({"mniClose", "tbtClose", "mniExportHtml", "mniCompile"}, true);
  ExpectEnabled({"tbtCompile", "mnuInsertTemplate"}, false);
}

TEST_F(MainWindow, CloseDisablesItsCommandsAndShowsTheWelcomePanel) {
  Start();
  Type("abc");
  Window().UpdateCommandStates();
  ASSERT_TRUE(Enabled("mniSave"));
  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  Trigger("mniClose");
  ExpectEnabled({"mniClose", "mniExportHtml", "tbtClose", "mniSaveAs", "mniCompile", "tbtCompile",
                 "mnuInsertTemplate", "tbtSave", "mniSave", "tbtPaste", "mniPaste"},
                false);
  EXPECT_TRUE(Window().WelcomePanel()->isVisible());
  EXPECT_FALSE(Editor().isEnabled());
  EXPECT_EQ(Title(), "Varnok Penwick v2.0");
  EXPECT_EQ(Window().ApplicationTitle(), "Varnok Penwick v2.0");
  EXPECT_TRUE(Window().DocumentName().empty());
  EXPECT_FALSE(Window().DocumentOpen());
}

TEST_F(MainWindow, IdleUpdatesFollowTheDocument) {
  Start();
  Window().UpdateCommandStates();
  ExpectEnabled({"tbtSave", "mniUndo", "tbtUndo", "mniRedo", "mniCut", "tbtCopy"}, false);
  EXPECT_TRUE(Enabled("mniSave")) << "the Save rule acts only when the modified state changes";
  EXPECT_TRUE(Enabled("mniSelectAll"));
  Type("word");
  Window().UpdateCommandStates();
  ExpectEnabled({"mniSave", "tbtSave", "mniUndo", "tbtUndo"}, true);
  ExpectEnabled({"mniRedo", "tbtRedo", "mniCut", "tbtCut", "mniCopy", "tbtCopy"}, false);
  QApplication::clipboard()->clear();
  QTest::keyClick(&Editor(), Qt::Key_Home, Qt::ShiftModifier);
  Window().UpdateCommandStates();
  ExpectEnabled({"mniCut", "tbtCut", "mniCopy", "tbtCopy"}, true);
  ExpectEnabled({"mniPaste", "tbtPaste"}, false);
  Trigger("tbtCopy");
  Window().UpdateCommandStates();
  ExpectEnabled({"mniPaste", "tbtPaste"}, true);
  Trigger("tbtUndo");
  Window().UpdateCommandStates();
  EXPECT_EQ(Editor().Lines().TextLength(), 0);
  ExpectEnabled({"mniRedo", "tbtRedo"}, true);
  ExpectEnabled({"mniUndo", "mniSave"}, false);

  // After Close nothing is left to edit: the editing items and Select All go off.
  Trigger("tbtRedo");
  Window().UpdateCommandStates();
  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  Trigger("tbtClose");
  Window().UpdateCommandStates();
  EXPECT_FALSE(Enabled("mniSelectAll"));
  ExpectEnabled({"mniUndo", "tbtUndo", "mniRedo", "tbtRedo", "mniCut", "tbtCut", "mniCopy", "tbtCopy", "mniFind",
                 "mniReplace", "mniSave"},
                false);
}

// The welcome panel hides the text of the last document; nothing may change
// it, whether a command's item is enabled or its action is triggered anyway.
TEST_F(MainWindow, WithNoDocumentOpenNoCommandChangesTheHiddenText) {
  Start();
  Type("hidden");
  QTest::keyClick(&Editor(), Qt::Key_Home, Qt::ShiftModifier);
  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  Trigger("mniClose");
  ASSERT_FALSE(Window().DocumentOpen());
  QApplication::clipboard()->setText("pasted");
  for (const char* name : {"mniCut", "mniPaste", "mniUndo", "mniRedo", "mniSelectAll"}) {
    Item(name)->setEnabled(true);  // even past a stale enabled state
    Item(name)->trigger();
  }
  Type("typed");
  QTest::keyClick(&Editor(), Qt::Key_Delete);
  EXPECT_EQ(Editor().Lines().Text(), "hidden");
  EXPECT_FALSE(Editor().Modified());
  // Without a document the idle rules leave the editing items as they are.
  Window().UpdateCommandStates();
  ExpectEnabled({"mniUndo", "mniRedo", "mniCut", "mniPaste"}, true);
  ExpectEnabled({"mniSelectAll", "mniSave", "tbtSave"}, false);
  EXPECT_TRUE(m_dialogs.Asked().size() == 1) << "only the question of Close";
  // Exit then asks nothing and writes nothing.
  Window().close();
  EXPECT_EQ(m_dialogs.Asked().size(), 1u);
}

TEST_F(MainWindow, EditMenuOpeningRefreshesItsItems) {
  Start();
  Type("ab");
  QTest::keyClick(&Editor(), Qt::Key_Left, Qt::ShiftModifier);
  Window().EditMenuAboutToShow();
  ExpectEnabled({"mniUndo", "tbtUndo", "mniCut", "mniCopy", "mniFind", "mniReplace"}, true);
  ExpectEnabled({"mniRedo", "tbtRedo"}, false);
}

TEST_F(MainWindow, WindowShortcutsReachTheCommands) {
  Start();
  Type("abc");
  Window().UpdateCommandStates();
  QTest::keyClick(&Editor(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Editor().Lines().Text(), "");
  Window().UpdateCommandStates();
  // Ctrl+Y is the window's Redo (one typed character per step), not the
  // editor's Delete Line.
  QTest::keyClick(&Editor(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Editor().Lines().Text(), "a");
  // Ctrl+G has no command: nothing changes.
  QTest::keyClick(&Editor(), Qt::Key_G, Qt::ControlModifier);
  EXPECT_EQ(Editor().Lines().Text(), "a");
  Editor().SetModified(false);
  QTest::keyClick(&Editor(), Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(Editor().Lines().Text(), "");
}

TEST_F(MainWindow, HintsGoToTheFirstStatusPanelAndTooltips) {
  Start();
  QToolButton* newButton = nullptr;
  for (QToolButton* button : Window().tbxdck1()->findChildren<QToolButton*>())
    if (button->defaultAction() == Item("tbtNew")) newButton = button;
  ASSERT_NE(newButton, nullptr);
  EXPECT_EQ(newButton->toolTip(), "New");
  QStatusTipEvent tip(newButton->statusTip());
  QApplication::sendEvent(newButton, &tip);
  EXPECT_EQ(Window().StatusPanelText(0), "Create a script");
  Item("mniSaveAs")->showStatusText(Window().menuWidget());
  EXPECT_EQ(Window().StatusPanelText(0), "Save current script with different name");
}

TEST_F(MainWindow, ToolbarHoldsTheButtonsInOrder) {
  Start();
  QStringList order;
  for (QAction* action : Window().tbxdck1()->actions())
    order << (action->isSeparator() ? QString("-") : action->objectName());
  EXPECT_EQ(order.join(' ').toStdString(),
            "tbtNew tbtOpen tbtSave tbtClose - tbtUndo tbtRedo - tbtCut tbtCopy tbtPaste - tbtCompile - "
            "tbtSyntaxHighlighting");
  EXPECT_FALSE(Item("tbtSyntaxHighlighting")->isVisible());
}

TEST_F(MainWindow, ShowToolbarAndStatusbarToggle) {
  Start();
  Trigger("mniShowToolbar");
  EXPECT_FALSE(Window().tbxdck1()->isVisible());
  Trigger("mniShowStatusbar");
  EXPECT_FALSE(Window().statMain()->isVisible());
  Trigger("mniShowToolbar");
  EXPECT_TRUE(Window().tbxdck1()->isVisible());
}

TEST_F(MainWindow, CancelAtShutDownKeepsTheWindowOpen) {
  Start();
  Type("x");
  m_dialogs.AnswerConfirm(TDialogAnswer::Cancel);
  Trigger("mniExit");
  ASSERT_EQ(m_dialogs.Asked("Confirm").size(), 1u);
  EXPECT_EQ(m_dialogs.Asked("Confirm")[0].Text, "Save changes to Untitled.mis?");
  EXPECT_TRUE(Window().isVisible());
  EXPECT_FALSE(Window().ShutDownDone()) << "settings must stay unwritten";
  EXPECT_TRUE(Editor().Modified());

  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  Window().close();
  EXPECT_FALSE(Window().isVisible());
  EXPECT_TRUE(Window().ShutDownDone());
}

TEST_F(MainWindow, FailedSaveAtShutDownKeepsTheWindowOpen) {
  const std::string path = PathOf("no such folder/a.mis");
  Start();
  Type("x");
  m_dialogs.AnswerConfirm(TDialogAnswer::Yes);
  m_dialogs.AnswerSave(path);
  Window().close();
  EXPECT_EQ(m_dialogs.Asked("Error").size(), 1u);
  EXPECT_TRUE(Window().isVisible());
  EXPECT_FALSE(Window().ShutDownDone());
}

TEST_F(MainWindow, UnmodifiedDocumentClosesWithoutAsking) {
  Start();
  Window().close();
  EXPECT_TRUE(m_dialogs.Asked().empty());
  EXPECT_TRUE(Window().ShutDownDone());
}

TEST_F(MainWindow, EditorIsBoundToTheMissionLexer) {
  const std::string path = PathOf("levels.mis");
  WriteFile(path, "LEVELSTART\r\n@\r\n");
  TStartup startup;
  startup.ScriptPath = path;
  Start(startup);
  ASSERT_NE(Window().syntnlyzr1(), nullptr);
  EXPECT_EQ(Window().syntnlyzr1()->LexerName(), "VarnokMis");
  EXPECT_EQ(Editor().SyntaxAnalyzer(), Window().syntnlyzr1());
  ASSERT_EQ(Editor().Lines().Text(), "LEVELSTART\r\n@\r\n");
  // Text that no rule matches is drawn in the lexer's default style over the
  // editor's own state (the palette loaded at start-up has one).
  const TCanvasState plain = TStyledRuns(Editor().SyntClient(), Editor().BaseCanvasState()).StateOf({});
  EXPECT_NE(Editor().CanvasStateAt(0), plain) << "the keyword is drawn in its style";
  EXPECT_EQ(Editor().CanvasStateAt(12), plain) << "no rule matches an at sign";
}

}  // namespace
}  // namespace penwick::test
