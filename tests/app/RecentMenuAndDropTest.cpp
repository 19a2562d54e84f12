// The recent-files entries in a real File menu, clicked with the mouse, and
// files dropped on a real window.
#include "app/DNK_dragdrop.h"
#include "app/MRUfiles.h"
#include "app/QtMRUMenu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWindow>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/TestFiles.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// A File menu shaped like the main window's: Exit, Clear, the hidden anchor,
// a separator, Export.
class RecentMenu : public ::testing::Test {
protected:
  RecentMenu() {
    m_file = m_window.menuBar()->addMenu("&File");
    m_file->addAction("E&xit");
    m_file->addAction("Clear Recent Files List");
    m_anchor = m_file->addAction("anchor");
    m_anchor->setVisible(false);
    m_file->addSeparator();
    m_file->addAction("Export to HTML...");
  }
  // The menu's texts, "-" for a separator.
  Strings Shape() const {
    Strings shape;
    for (QAction* action : m_file->actions()) shape.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return shape;
  }
  void ClickInMenu(QAction* action) {
    m_file->popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_file));
    QTest::mouseClick(m_file, Qt::LeftButton, {}, m_file->actionGeometry(action).center());
    QApplication::processEvents();
  }

  QMainWindow m_window;
  QMenu* m_file;
  QAction* m_anchor;
  TMRUFiles m_files;
};

TEST_F(RecentMenu, EntriesFollowTheAnchorAndARebuildLeavesNothingStale) {
  TQtMRUMenu menu(m_anchor, m_files);
  m_files.SetMenuItem(&menu);
  EXPECT_EQ(Shape(), (Strings{"E&xit", "Clear Recent Files List", "anchor", "-", "Export to HTML..."}));
  m_files.AddFile("/a.mis");
  m_files.AddFile("/b&c.mis");
  m_files.AddFile("/d.mis");
  EXPECT_EQ(Shape(), (Strings{"E&xit", "Clear Recent Files List", "anchor", "-", "&1 /d.mis", "&2 /b&&c.mis", "&3 /a.mis",
                              "-", "Export to HTML..."}));
  ASSERT_EQ(menu.Items().size(), 3u);
  EXPECT_EQ(menu.Items()[1]->statusTip(), "Opens /b&c.mis");
  EXPECT_EQ(menu.Items()[1]->objectName(), "mniRecent2");

  m_files.RemoveFile("/B&C.MIS");
  EXPECT_EQ(Shape(), (Strings{"E&xit", "Clear Recent Files List", "anchor", "-", "&1 /d.mis", "&2 /a.mis", "-",
                              "Export to HTML..."}));
  m_files.Clear();
  EXPECT_EQ(Shape(), (Strings{"E&xit", "Clear Recent Files List", "anchor", "-", "Export to HTML..."}));
  EXPECT_EQ(menu.Separator(), nullptr);

  m_files.AddFile("/e.mis");
  m_files.SetMenuItem(nullptr);
  EXPECT_EQ(Shape().size(), 5u);
}

TEST_F(RecentMenu, AMouseClickReportsTheEntryEvenWhenItsHandlerRebuildsTheMenu) {
  TQtMRUMenu menu(m_anchor, m_files);
  m_files.SetMenuItem(&menu);
  m_files.AddFile("/a.mis");
  m_files.AddFile("/b.mis");
  m_files.AddFile("/c.mis");
  m_files.AddFile("/b.mis");  // order now b, c, a
  Strings clicked;
  m_files.OnClick = [&](const std::string& name) {
    clicked.push_back(name);
    m_files.RemoveFile(name);  // the menu is rebuilt while the click is delivered
  };
  ClickInMenu(menu.Items()[2]);
  ASSERT_EQ(clicked, Strings{"/a.mis"});
  ClickInMenu(menu.Items()[0]);
  EXPECT_EQ(clicked, (Strings{"/a.mis", "/b.mis"}));
  EXPECT_EQ(m_files.Files(), Strings{"/c.mis"});
  EXPECT_EQ(Shape()[4], "&1 /c.mis");
}

TEST_F(RecentMenu, DestroyingTheMenuTakesItsEntriesAway) {
  {
    TQtMRUMenu menu(m_anchor, m_files);
    m_files.SetMenuItem(&menu);
    m_files.AddFile("/a.mis");
    EXPECT_EQ(Shape().size(), 7u);
  }
  EXPECT_EQ(m_files.MenuItem(), nullptr);
  EXPECT_EQ(Shape().size(), 5u);
  m_files.AddFile("/b.mis");  // no menu any more
  EXPECT_EQ(Shape().size(), 5u);
}

// A window with a plain central widget; drops reach the window through the
// platform window as the desktop's would.
class Drops : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() /
               ("penwick-drop-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                std::to_string(std::random_device{}()));
    fs::create_directories(m_folder / "folder.mis");
    for (const char* name : {"notes.txt", "one.mis", "two.mis", "UPPER.MIS"}) test::WriteFile(m_folder / name, "x");
    m_window.setCentralWidget(new QWidget);
    m_window.resize(300, 200);
    m_window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    m_drop.OnFilesDropped = [this](int count, const Strings& list) {
      m_count = count;
      m_lists.push_back(list);
    };
    m_drop.SetActive(true);
  }
  void TearDown() override { fs::remove_all(m_folder); }

  std::string Path(const std::string& name) const { return (m_folder / name).string(); }
  QUrl Url(const std::string& name) const { return QUrl::fromLocalFile(QString::fromStdString(Path(name))); }

  // Drags `urls` over the middle of the window and drops them; returns whether
  // the drag was accepted.
  bool DropUrls(const QList<QUrl>& urls) {
    QMimeData mime;
    mime.setUrls(urls);
    const QPointF at(150, 100);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.windowHandle(), &enter);
    const bool accepted = enter.isAccepted();
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.windowHandle(), &drop);
    QApplication::processEvents();
    return accepted;
  }

  fs::path m_folder;
  QMainWindow m_window;
  TDNK_dragdrop m_drop{&m_window};
  int m_count = -1;
  std::vector<Strings> m_lists;
};

TEST_F(Drops, ExistingFilesAreKeptInOrderAndOnlyALowerCaseScriptOpens) {
  EXPECT_TRUE(DropUrls({Url("notes.txt")}));
  ASSERT_EQ(m_lists.size(), 1u);
  EXPECT_EQ(m_lists[0], Strings{Path("notes.txt")});
  EXPECT_EQ(DroppedScript(m_lists[0]), std::nullopt);

  DropUrls({Url("UPPER.MIS")});
  EXPECT_EQ(DroppedScript(m_lists.at(1)), std::nullopt);

  DropUrls({Url("folder.mis"), Url("gone.mis"), QUrl("https://example.org/x.mis"), Url("two.mis"), Url("one.mis")});
  EXPECT_EQ(m_count, 5);
  EXPECT_EQ(m_lists.at(2), (Strings{Path("two.mis"), Path("one.mis")}));
  EXPECT_EQ(m_drop.Files(), m_lists.at(2));
  EXPECT_EQ(DroppedScript(m_lists.at(2)), Path("two.mis"));
}

TEST_F(Drops, NothingIsReportedWithoutAnExistingFileOrWhileInactive) {
  DropUrls({Url("folder.mis"), Url("gone.mis")});
  EXPECT_TRUE(m_lists.empty());

  m_drop.SetActive(false);
  EXPECT_FALSE(m_window.acceptDrops());
  EXPECT_FALSE(DropUrls({Url("one.mis")}));
  EXPECT_TRUE(m_lists.empty());

  m_drop.SetActive(true);
  EXPECT_TRUE(DropUrls({Url("one.mis")}));
  EXPECT_EQ(m_lists.size(), 1u);
}

TEST_F(Drops, ALongNameIsKeptWhole) {
  fs::path deep = m_folder;
  while (deep.string().size() < 300) deep /= std::string(60, 'd');
  fs::create_directories(deep);
  const fs::path file = deep / "long.mis";
  test::WriteFile(file, "x");
  DropUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
  ASSERT_EQ(m_lists.size(), 1u);
  EXPECT_EQ(DroppedScript(m_lists[0]), file.string());
}

// A drag that offers a move (Shift held in a file manager) is taken as a copy:
// accepting the move would tell the source to delete the user's file.
TEST_F(Drops, AMoveIsTakenAsACopySoTheSourceKeepsItsFile) {
  QMimeData mime;
  mime.setUrls({Url("one.mis")});
  const QPointF at(150, 100);
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(at.toPoint(), actions, &mime, Qt::LeftButton, Qt::ShiftModifier);
  enter.setDropAction(Qt::MoveAction);
  QApplication::sendEvent(m_window.windowHandle(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
  QDropEvent drop(at, actions, &mime, Qt::LeftButton, Qt::ShiftModifier);
  drop.setDropAction(Qt::MoveAction);
  QApplication::sendEvent(m_window.windowHandle(), &drop);
  QApplication::processEvents();
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
  EXPECT_EQ(m_lists.size(), 1u);
}

TEST(DroppedScript, TheExtensionComesFromTheFileName) {
  EXPECT_EQ(DroppedScript({}), std::nullopt);
  EXPECT_EQ(DroppedScript({"", "/x/a.mis"}), std::nullopt);
  EXPECT_EQ(DroppedScript({"/x/a.mis", "/x/b.mis"}), "/x/a.mis");
  EXPECT_EQ(DroppedScript({"/x/a.mis.txt"}), std::nullopt);
  EXPECT_EQ(DroppedScript({"/x/a.Mis"}), std::nullopt);
  EXPECT_EQ(DroppedScript({"/x/a.mis/readme"}), std::nullopt);
  EXPECT_EQ(DroppedScript({"/x/.mis"}), "/x/.mis");
}

}  // namespace
}  // namespace penwick
