// The Qt "Preferences" form over the dialog's logic: typing, clicking and
// the buttons reach the state and the live objects; the two pages look as
// recorded.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <functional>

#include "prefs/FakePrefsHost.h"
#include "prefs/QtColorSwatch.h"
#include "prefs/QtPrefsForm.h"
#include "prefs/QtPrefsView.h"
#include "prefs/QtSpinEdit.h"
#include "prefs/Settngs.h"
#include "prefs/SyntaxStylesDialog.h"
#include "support/ScreenshotCompare.h"
#include "support/ScriptedDialogs.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;
using test::FakePrefsHost;
using test::TScriptedDialogs;

class NoStylesView : public TStylesView {
public:
  bool Execute(TSyntaxStylesDialog&) override {
    ADD_FAILURE() << "unexpected style dialog";
    return false;
  }
};

template <class W>
W& Find(TQtPrefsForm& form, const char* name) {
  W* widget = form.findChild<W*>(QString::fromLatin1(name));
  if (!widget) throw std::runtime_error(std::string("no control ") + name);
  return *widget;
}

// Near the left edge: a check box takes clicks only over its box and caption.
void Click(QWidget& widget) {
  QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(std::min(8, widget.width() / 2), widget.height() / 2));
}

class PrefsForm : public ::testing::Test {
protected:
  FakePrefsHost host;
  TScriptedDialogs dialogs;
  NoStylesView styles;
  TfrmPrefs prefs{host, dialogs, styles};
  TQtPrefsView view{nullptr};

  // "Tools" > "Options" with `body` acting on the shown form; a form the
  // body left open is cancelled, so a failing body cannot hang the test.
  void ShowModal(const std::function<void(TQtPrefsForm&)>& body) {
    bool ran = false;
    view.OnShown = [&](TQtPrefsForm& form) {
      ran = true;
      try {
        body(form);
      } catch (const std::exception& error) {
        ADD_FAILURE() << error.what();
      }
      if (form.isVisible()) form.reject();
    };
    prefs.ShowModal(view);
    EXPECT_TRUE(ran);
  }
  std::vector<std::string> Errors() const {
    std::vector<std::string> texts;
    for (const auto& asked : dialogs.Asked("Error")) texts.push_back(asked.Text);
    return texts;
  }
};

TEST_F(PrefsForm, TypingANegativeTabSizeShowsZeroAndNonNumbersAreReportedAsTyped) {
  ShowModal([&](TQtPrefsForm& form) {
    QLineEdit& tab = *Find<TQtSpinEdit>(form, "edtTabsize").Editor();
    EXPECT_EQ(tab.text(), "4");
    tab.selectAll();
    QTest::keyClicks(&tab, "-3");
    EXPECT_EQ(tab.text(), "0");
    EXPECT_EQ(prefs.State().TabSize, "0");
    QLineEdit& width = *Find<TQtSpinEdit>(form, "edtGtrSize").Editor();
    width.selectAll();
    QTest::keyClick(&width, Qt::Key_Backspace);
    EXPECT_EQ(width.text(), "") << "an emptied box stays empty";
    EXPECT_EQ(prefs.State().GutterWidth, "");
  });
  EXPECT_EQ(Errors(), (std::vector<std::string>{"'-' is not a valid integer value", "'' is not a valid integer value"}));
  EXPECT_EQ(host.TabList, "4") << "Cancel";
}

TEST_F(PrefsForm, TheGutterSwatchActsAtOnceAndCancelKeepsIt) {
  ShowModal([&](TQtPrefsForm& form) {
    auto& swatch = Find<TQtColorSwatch>(form, "pnlGtrClr");
    EXPECT_EQ(swatch.Color(), host.Gutter);
    dialogs.AnswerColor(0x00336699u);
    Click(swatch);
    EXPECT_EQ(host.Gutter, 0x00336699u);
    EXPECT_EQ(swatch.Color(), 0x00336699u);
    Click(Find<QPushButton>(form, "btnCancel"));
  });
  EXPECT_EQ(host.Gutter, 0x00336699u);
  EXPECT_TRUE(dialogs.AllAnswered());
}

TEST_F(PrefsForm, ApplyKeepsTheFormOpenOKAppliesAndClosesCancelApplyingNothing) {
  ASSERT_FALSE(host.Wrap);
  ShowModal([&](TQtPrefsForm& form) {
    Click(Find<QCheckBox>(form, "chkWordWrp"));
    EXPECT_TRUE(prefs.State().WordWrap);
    EXPECT_FALSE(host.Wrap);
    Click(Find<QPushButton>(form, "btnApply"));
    EXPECT_TRUE(host.Wrap);
    EXPECT_TRUE(form.isVisible());
    Click(Find<QCheckBox>(form, "chkWordWrp"));
    Click(Find<QPushButton>(form, "btnCancel"));
    EXPECT_FALSE(form.isVisible());
  });
  EXPECT_TRUE(host.Wrap) << "Cancel after the box was cleared again";

  ShowModal([&](TQtPrefsForm& form) {
    EXPECT_TRUE(Find<QCheckBox>(form, "chkWordWrp").isChecked());
    Click(Find<QCheckBox>(form, "chkWordWrp"));
    Click(Find<QPushButton>(form, "btnOK"));
    EXPECT_FALSE(form.isVisible());
  });
  EXPECT_FALSE(host.Wrap);
  EXPECT_TRUE(Errors().empty());
}

// "&Help" opens the help; when none can be shown the user reads why and
// the form stays.
TEST_F(PrefsForm, HelpOpensTheHelpOrSaysWhyNot) {
  ShowModal([&](TQtPrefsForm& form) {
    Click(Find<QPushButton>(form, "btnHelp"));
    EXPECT_EQ(host.HelpShown, 1);
    EXPECT_TRUE(Errors().empty());
    host.HelpError = "No help viewer";
    Click(Find<QPushButton>(form, "btnHelp"));
    EXPECT_EQ(host.HelpShown, 2);
    ASSERT_EQ(Errors().size(), 1u);
    EXPECT_EQ(Errors()[0], "No help viewer");
    EXPECT_TRUE(form.isVisible());
    Click(Find<QPushButton>(form, "btnCancel"));
  });
}

TEST_F(PrefsForm, ThePageLeftSelectedIsInTheState) {
  host.Tab = ppColors;
  ShowModal([&](TQtPrefsForm& form) {
    EXPECT_EQ(form.Pages().currentIndex(), ppColors);
    QTabBar& tabs = *form.Pages().tabBar();
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(ppEditor).center());
    EXPECT_EQ(form.Pages().currentIndex(), ppEditor);
  });
  EXPECT_EQ(prefs.State().Page, ppEditor);
}

TEST_F(PrefsForm, TheSamplePanelFollowsAChosenFont) {
  host.Tab = ppEditor;
  ShowModal([&](TQtPrefsForm& form) {
    dialogs.AnswerFont(TFontChoice{"DejaVu Serif", 15, 0x000000FFu, 1, 1});
    Click(Find<QPushButton>(form, "btnFont"));
    const QFont font = Find<QLabel>(form, "pnlExampleTxt").font();
    EXPECT_EQ(font.family(), "DejaVu Serif");
    EXPECT_EQ(font.pointSize(), 15);
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic());
    EXPECT_EQ(Find<QLabel>(form, "pnlExampleTxt").palette().color(QPalette::WindowText), QColor(255, 0, 0));
  });
  EXPECT_EQ(host.Font.Name, "DejaVu Serif");
}

TEST_F(PrefsForm, ChoosingAThemeInTheListLoadsItAtOnce) {
  ShowModal([&](TQtPrefsForm& form) {
    auto& themes = Find<QComboBox>(form, "cbbThemes");
    EXPECT_EQ(themes.currentText(), "Dark Theme");
    ASSERT_EQ(themes.count(), 2);
    EXPECT_EQ(themes.itemText(0), "Tallowby Theme");
    themes.setFocus();
    QTest::keyClick(&themes, Qt::Key_Up);
    EXPECT_EQ(prefs.State().Theme, tiTallowby);
    EXPECT_EQ(host.BgColor, 0xFFFFFFu);
    EXPECT_GT(host.Lexer.Formats().Count(), 0);
  });
  EXPECT_EQ(prefs.State().Theme, tiTallowby) << "the list keeps its selection";
  EXPECT_TRUE(Errors().empty());
}

// ---- Screenshots.

fs::path Reference(const std::string& name) {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return fs::path(root ? root : ".") / "tests" / "data" / "prefs" / name;
}

// Font rasterising may move a few edge pixels; a control moved by a few
// pixels or a missing caption changes far more than 0.1 % of the image.
void CompareWithReference(const QImage& got, const std::string& name) { test::ExpectLooksLike(got, Reference(name), 1000); }

class PrefsFormScreenshot : public PrefsForm, public ::testing::WithParamInterface<std::pair<int, const char*>> {
protected:
  static void SetUpTestSuite() {
    QStyle* fusion = QStyleFactory::create("Fusion");
    ASSERT_NE(fusion, nullptr);
    QApplication::setStyle(fusion);
    QApplication::setPalette(fusion->standardPalette());
    QApplication::setFont(QFont("DejaVu Sans", 9));
  }
};

TEST_P(PrefsFormScreenshot, ThePageLooksAsRecorded) {
  host.Font = {"DejaVu Sans Mono", 11, 0x00800000u, 1, 1};
  host.BgColor = 0x00000000u;
  host.Gutter = 0xFF00000Fu;
  host.GutterPixels = 30;
  host.TabList = "4";
  host.Numbers = true;
  host.AutoCompletionEnabled = true;
  host.OpenLast = true;
  host.Empty = true;
  host.Capacity = 10;
  host.Tab = GetParam().first;
  prefs.FormShow();
  TQtPrefsForm form(prefs);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_EQ(form.size(), QSize(427, 353));
  ASSERT_EQ(form.Pages().currentIndex(), GetParam().first);
  Find<QPushButton>(form, "btnOK").setFocus();  // no blinking text cursor in the picture
  QApplication::processEvents();
  CompareWithReference(form.grab().toImage().convertToFormat(QImage::Format_RGB32), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Pages, PrefsFormScreenshot,
                         ::testing::Values(std::pair<int, const char*>{ppEditor, "preferences_editor.png"},
                                           std::pair<int, const char*>{ppGeneral, "preferences_general.png"}),
                         [](const auto& info) { return info.param.first == ppEditor ? "Editor" : "General"; });

}  // namespace
}  // namespace penwick
