// The main window's editing, view and help commands: F1 on the word at the
// caret, the status panel's long hints, the window state kept for the next
// start, the toolbar's pictures and the association's radio marks.
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTest>
#include <QFrame>
#include <QStyleFactory>
#include <QToolBar>
#include <memory>

#include "AppTestSupport.h"
#include "app/StatusPanels.h"

namespace penwick::test {
namespace {

class EditCommands : public TMainWindowTest {
protected:
  // Puts `text` in a fresh document with the caret at `column` of line 0.
  void TextWithCaret(const std::string& text, int column) {
    Editor().Lines().SetText(text);
    Editor().SetCaretPos(column, 0);
  }
  std::string Topic(const std::string& name) { return Window().HelpFile() + " topic " + name; }
  std::string Contents() { return Window().HelpFile() + " contents"; }
};

TEST_F(EditCommands, F1AsksForTheTopicOfTheWordAtTheCaretWhateverItsCase) {
  Start();
  struct TCase {
    const char* Text;
    int Column;
    std::string Expected;
  };
  const TCase cases[] = {
      {"Player_Ped p1 = (1.0, 2.0)", 0, Topic("player_ped.html")},  // at the word's start
      {"  LevelStart", 12, Topic("levelstart.html")},               // right after its end
      {"x CAR_DATA y", 5, Topic("car_data.html")},                  // inside
      {"LEVELEND", 3, Topic("levelend.html")},
      {"LEVELENDX", 3, Contents()},       // another word, though it starts like one
      {"player_ped   x", 12, Contents()},  // white space between words
      {"", 0, Contents()},
  };
  for (const TCase& c : cases) {
    TextWithCaret(c.Text, c.Column);
    m_help->Asked.clear();
    QTest::keyClick(&Editor(), Qt::Key_F1);
    EXPECT_EQ(m_help->Asked, std::vector<std::string>{c.Expected}) << c.Text;
  }
  // Any modifier: still help; the key then goes on to the editor, which has no use for it.
  TextWithCaret("levelstart", 0);
  m_help->Asked.clear();
  QTest::keyClick(&Editor(), Qt::Key_F1, Qt::ShiftModifier);
  EXPECT_EQ(m_help->Asked, std::vector<std::string>{Topic("levelstart.html")});
  EXPECT_EQ(Editor().Lines().Text(), "levelstart");
  EXPECT_EQ(Window().HelpFile(), Window().HelpFile().substr(0, Window().HelpFile().rfind('/')) + "/Varnok Penwick.chm");
}

TEST_F(EditCommands, AHelpFailureIsReportedAndTheEditorGoesOn) {
  class TBrokenHelp : public THelpSystem {
  public:
    void ShowContents(const std::string&) override { throw EHelpError("no viewer"); }
    void ShowTopic(const std::string&, const std::string&) override { throw EHelpError("no viewer"); }
  };
  TMainWindowSetup setup = Setup();
  setup.Help = std::make_shared<TBrokenHelp>();
  m_window = std::make_unique<TfrmMain>(m_dialogs, setup);
  m_window->SetEmptyScr(true);
  m_window->show();
  QApplication::processEvents();
  TextWithCaret("abc", 0);
  QTest::keyClick(&Editor(), Qt::Key_F1);
  const auto errors = m_dialogs.Asked("Error");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].Text, "no viewer");
  QTest::keyClicks(&Editor(), "x");
  EXPECT_EQ(Editor().Lines().Text(), "xabc");
}

TEST_F(EditCommands, ALongHintIsCutWithAnEllipsisAndWholeInTheTooltip) {
  Start();
  QStatusTipEvent tip(Item("mniCut")->statusTip());
  QApplication::sendEvent(&Window(), &tip);
  const QString whole = "Cuts the selection and puts it on the Clipboard";
  EXPECT_EQ(Window().StatusPanelText(0), whole);
  const TStatusPanels& panels = Window().StatusPanels();
  if (panels.ShownHint() != whole) {  // the panel's font may fit it whole
    EXPECT_TRUE(panels.ShownHint().endsWith(QChar(0x2026))) << panels.ShownHint().toStdString();
    EXPECT_TRUE(whole.startsWith(panels.ShownHint().chopped(1)));
    EXPECT_EQ(panels.HintToolTip(), whole);
  }
  // A hint that fits shows whole, without a tooltip left over from the long one.
  QStatusTipEvent shortTip("Open a script");
  QApplication::sendEvent(&Window(), &shortTip);
  EXPECT_EQ(panels.ShownHint(), "Open a script");
  EXPECT_TRUE(panels.HintToolTip().isEmpty());

  // Forced: a hint far wider than any panel.
  const QString longHint = QString("word ").repeated(80);
  QStatusTipEvent longTip(longHint);
  QApplication::sendEvent(&Window(), &longTip);
  EXPECT_TRUE(panels.ShownHint().endsWith(QChar(0x2026)));
  EXPECT_EQ(panels.HintToolTip(), longHint);
}

TEST_F(EditCommands, MaximizedStateFollowsTheUserButNotMinimizing) {
  Start();
  ASSERT_FALSE(Window().WndMax());
  Window().setWindowState(Qt::WindowMaximized);
  EXPECT_TRUE(Window().WndMax());
  Window().setWindowState(Qt::WindowMinimized);
  EXPECT_TRUE(Window().WndMax()) << "minimizing leaves it";
  Window().setWindowState(Qt::WindowNoState);
  EXPECT_FALSE(Window().WndMax());
}

TEST_F(EditCommands, CutButtonShowsItsOwnPictureNotTheTrashCan) {
  Start();
  const QIcon cut = Item("tbtCut")->icon();
  ASSERT_FALSE(cut.isNull());
  const QImage shown = cut.pixmap(16, 16).toImage();
  const QImage trash = Window().style()->standardIcon(QStyle::SP_TrashIcon).pixmap(16, 16).toImage();
  EXPECT_NE(shown, trash);
}

TEST_F(EditCommands, AssociationItemsDrawTheirRadioMark) {
  Start();
  QMenu* tools = Window().findChild<QMenu*>("mnuTools");
  ASSERT_NE(tools, nullptr);
  // The mark column of an item's row, as the menu draws it.
  auto markOf = [&](const char* name) {
    tools->ensurePolished();
    tools->adjustSize();
    const QImage image = tools->grab().toImage();
    const QRect row = tools->actionGeometry(Item(name));
    return image.copy(QRect(row.left(), row.top(), row.height(), row.height()));
  };
  Item("mniAssociate")->setChecked(true);
  const QImage associateMarked = markOf("mniAssociate");
  const QImage unassociateBlank = markOf("mniUnassociate");
  Item("mniUnassociate")->setChecked(true);
  EXPECT_FALSE(Item("mniAssociate")->isChecked()) << "one of the two at a time";
  EXPECT_NE(markOf("mniAssociate"), associateMarked) << "the checked item shows a mark";
  EXPECT_NE(markOf("mniUnassociate"), unassociateBlank);
  EXPECT_TRUE(Item("mniAssociate")->actionGroup() && Item("mniAssociate")->actionGroup()->isExclusive());
}

// The window's own context menu (a right click on the toolbar) can hide the
// toolbar too: "Show Toolbar" must follow, or its next click would do nothing
// visible and the hidden toolbar would be remembered as shown.
TEST_F(EditCommands, ShowToolbarFollowsTheToolbarHiddenFromTheWindowsMenu) {
  Start();
  std::unique_ptr<QMenu> popup(Window().createPopupMenu());
  ASSERT_NE(popup, nullptr);
  QAction* toggle = nullptr;
  for (QAction* action : popup->actions())
    if (action == Window().tbxdck1()->toggleViewAction()) toggle = action;
  ASSERT_NE(toggle, nullptr) << "the toolbar is offered in the window's menu";
  toggle->trigger();
  ASSERT_FALSE(Window().tbxdck1()->isVisible());
  EXPECT_FALSE(Item("mniShowToolbar")->isChecked());
  Trigger("mniShowToolbar");
  EXPECT_TRUE(Window().tbxdck1()->isVisible()) << "one click shows it again";
  EXPECT_TRUE(Item("mniShowToolbar")->isChecked());
}

// The compile disables the window under its progress box. Styles that etch
// the text of a disabled label (the Windows one) must not grey the box out.
TEST_F(EditCommands, TheProgressBoxStaysReadableInADisabledWindowInEveryStyle) {
  Start();
  QFrame* box = Window().pnlProgress();
  box->show();
  for (const QString& key : QStyleFactory::keys()) {
    std::unique_ptr<QStyle> style(QStyleFactory::create(key));
    ASSERT_NE(style, nullptr);
    box->setStyle(style.get());
    for (QWidget* part : box->findChildren<QWidget*>()) part->setStyle(style.get());
    const QImage enabled = box->grab().toImage();
    Window().setEnabled(false);
    const QImage disabled = box->grab().toImage();
    Window().setEnabled(true);
    EXPECT_EQ(disabled, enabled) << key.toStdString();
    for (QWidget* part : box->findChildren<QWidget*>()) part->setStyle(nullptr);
    box->setStyle(nullptr);
  }
}

}  // namespace
}  // namespace penwick::test
