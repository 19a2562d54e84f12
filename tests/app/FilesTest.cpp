// The ways to a script besides Open, as the window offers them: the
// recent-files list, files dropped on the window, "Open Last Used Script",
// and the association of ".mis" files with the program.
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "AppTestSupport.h"
#include "app/DNK_dragdrop.h"
#include "app/MRUfiles.h"
#include "app/WelcomePanel.h"

namespace penwick::test {
namespace {

class Files : public TMainWindowTest {
protected:
  std::string Script(const std::string& name, const std::string& text) {
    WriteFile(PathOf(name), text);
    return PathOf(name);
  }
  void Open(const std::string& path) {
    m_dialogs.AnswerOpen(path);
    Trigger("mniOpen");
  }
  // The recent-files entries of the File menu, top to bottom.
  std::vector<QAction*> RecentItems() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the items of earlier lists
    std::vector<QAction*> items;
    for (int i = 1; QAction* item = Window().findChild<QAction*>("mniRecent" + QString::number(i)); ++i)
      items.push_back(item);
    return items;
  }
  void Drop(const std::vector<std::string>& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const std::string& path : paths) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    mime.setUrls(urls);
    const QPointF at(200, 200);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Window().windowHandle(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Window().windowHandle(), &drop);
    QApplication::processEvents();
  }
  TfrmMain& StartWithSettings(const std::string& text) {
    WriteFile(SettingsPath(), text);
    TStartup startup;
    startup.FromSettingsFile = true;
    startup.WndMax = false;
    return Start(startup);
  }
};

TEST_F(Files, OpenedScriptsAreListedMostRecentFirstAndReopenWithOneClick) {
  const std::string a = Script("a.mis", "alpha"), b = Script("b&c.mis", "beta");
  Start();
  EXPECT_FALSE(Item("mniClearRecent")->isVisible());
  Open(a);
  Open(b);
  Open(a);
  EXPECT_EQ(Window().mrfls().Files(), (std::vector<std::string>{a, b}));
  EXPECT_TRUE(Item("mniClearRecent")->isVisible() && Item("mniClearRecent")->isEnabled());
  std::vector<QAction*> items = RecentItems();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0]->text().toStdString(), "&1 " + a);
  EXPECT_EQ(items[1]->text().toStdString(), "&2 " + PathOf("b&&c.mis"));

  // A click opens the entry; it keeps its place in the list.
  items[1]->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Window().DocumentName(), b);
  EXPECT_EQ(Editor().Lines().Text(), "beta");
  EXPECT_EQ(Window().mrfls().Files(), (std::vector<std::string>{a, b}));
  EXPECT_TRUE(Enabled("tbtCompile") && Enabled("mnuInsertTemplate") && Enabled("mniClose"));
}

TEST_F(Files, AClickAsksAboutChangesAndAVanishedScriptLeavesTheListSilently) {
  const std::string a = Script("a.mis", "alpha"), b = Script("b.mis", "beta");
  Start();
  Open(a);
  Open(b);
  Type("!");
  m_dialogs.ClearAsked();
  m_dialogs.AnswerConfirm(TDialogAnswer::Cancel);
  RecentItems()[1]->trigger();
  QApplication::processEvents();
  EXPECT_EQ(m_dialogs.Asked("Confirm").size(), 1u);
  EXPECT_EQ(Window().DocumentName(), b);  // Cancel: nothing else happens
  EXPECT_TRUE(Editor().Modified());

  Editor().SetModified(false);
  std::filesystem::remove(a);
  RecentItems()[1]->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Window().DocumentName(), b);
  EXPECT_EQ(Window().mrfls().Files(), (std::vector<std::string>{b}));
  EXPECT_TRUE(m_dialogs.Asked("Error").empty());
}

TEST_F(Files, ADroppedScriptOpensAfterTheQuestionAndOtherDropsChangeNothing) {
  const std::string one = Script("one.mis", "one"), two = Script("two.mis", "two");
  const std::string text = Script("notes.txt", "notes"), upper = Script("UPPER.MIS", "upper");
  Start();
  Type("work");
  m_dialogs.ClearAsked();
  Drop({text});
  Drop({upper});
  EXPECT_TRUE(m_dialogs.Asked().empty());
  EXPECT_EQ(Editor().Lines().Text(), "work");

  m_dialogs.AnswerConfirm(TDialogAnswer::Cancel);
  Drop({one, two});
  EXPECT_EQ(m_dialogs.Asked("Confirm").size(), 1u);
  EXPECT_EQ(Editor().Lines().Text(), "work");  // Cancel abandons the drop

  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  Drop({one, two});
  EXPECT_EQ(Window().DocumentName(), one);  // only the first
  EXPECT_EQ(Editor().Lines().Text(), "one");
  EXPECT_EQ(Window().mrfls().Count(), 0);   // drops do not enter the list

  // After Close a dropped script can be saved under another name.
  Trigger("mniClose");
  Drop({two});
  EXPECT_EQ(Window().DocumentName(), two);
  EXPECT_TRUE(Enabled("mniSaveAs"));
}

TEST_F(Files, OpenLastUsedOpensTheMostRecentScript) {
  const std::string older = Script("older.mis", "older"), recent = Script("recent.mis", "recent");
  StartWithSettings("[EDITOR]\nCreateNewStart=0\nOpenLastUsed=1\n[HISTORY]\nFile1=" + recent + "\nFile2=" + older + "\n");
  EXPECT_EQ(Window().DocumentName(), recent);
  EXPECT_EQ(Editor().Lines().Text(), "recent");
  EXPECT_TRUE(Editor().isEnabled());
  EXPECT_FALSE(Window().WelcomePanel()->isVisible());
}

TEST_F(Files, OpenLastUsedWithNothingToOpenShowsTheWelcomeScreen) {
  for (const std::string& history : {std::string(), "[HISTORY]\nFile1=" + PathOf("gone.mis") + "\n"}) {
    StartWithSettings("[EDITOR]\nCreateNewStart=0\nOpenLastUsed=1\n" + history);
    EXPECT_FALSE(Window().DocumentOpen());
    EXPECT_TRUE(Window().WelcomePanel()->isVisible());
    EXPECT_FALSE(Editor().isEnabled());
    EXPECT_EQ(Window().mrfls().Count(), 0);
    EXPECT_TRUE(m_dialogs.Asked().empty());
    m_window.reset();
  }
}

TEST_F(Files, TheAssociationCommandsChangeTheDesktopAndTheTicksShowIt) {
  Start();
  EXPECT_FALSE(Item("mniAssociate")->isChecked());
  EXPECT_TRUE(Item("mniUnassociate")->isChecked());
  Trigger("mniAssociate");
  EXPECT_EQ(m_association->Programs[".mis"], ExecutablePath());
  EXPECT_TRUE(Item("mniAssociate")->isChecked());
  EXPECT_FALSE(Item("mniUnassociate")->isChecked());
  Trigger("mniAssociate");  // already: nothing is written
  EXPECT_EQ(m_association->Writes, 1);
  m_window.reset();

  Start();  // a restart shows it
  EXPECT_TRUE(Item("mniAssociate")->isChecked());
  Trigger("mniUnassociate");
  EXPECT_EQ(m_association->Programs[".mis"], "");
  EXPECT_FALSE(Item("mniAssociate")->isChecked());
  EXPECT_TRUE(Item("mniUnassociate")->isChecked());
}

TEST_F(Files, AnotherProgramOrAFailedWriteLeavesTheTicksTellingTheTruth) {
  m_association->Programs[".mis"] = "/elsewhere/penwick";  // the program was moved
  Start();
  EXPECT_TRUE(Item("mniUnassociate")->isChecked());
  Trigger("mniUnassociate");
  EXPECT_EQ(m_association->Writes, 0);
  EXPECT_EQ(m_association->Programs[".mis"], "/elsewhere/penwick");

  m_association->FailWrites = true;
  Trigger("mniAssociate");
  EXPECT_EQ(m_dialogs.Asked("Error").size(), 1u);
  EXPECT_FALSE(Item("mniAssociate")->isChecked());
  EXPECT_TRUE(Item("mniUnassociate")->isChecked());
}

}  // namespace
}  // namespace penwick::test
