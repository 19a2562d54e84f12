// The settings file as the window uses it: the first start, a restart that
// finds every setting as it was left, and settings files that are broken,
// huge or cannot be written.
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <random>

#include "AppTestSupport.h"
#include "app/MRUfiles.h"
#include "editor/QtGutter.h"
#include "editor/QtLineNumbers.h"
#include "platform/IniFile.h"
#include "prefs/Settngs.h"

namespace penwick::test {
namespace {

class Settings : public TMainWindowTest {
protected:
  TfrmMain& StartFromFile() {
    TStartup startup;
    startup.FromSettingsFile = true;
    return Start(startup);
  }
  // Closes the window as the user does; the settings are written.
  void Quit() {
    Editor().SetModified(false);
    Window().close();
    ASSERT_TRUE(Window().ShutDownDone());
    m_window.reset();
  }
  std::string Written() const { return ReadFile(SettingsPath()); }
};

TEST_F(Settings, AFirstStartShowsTheDefaultsAndWritesThemAtShutDown) {
  StartFromFile();
  EXPECT_TRUE(Window().tbxdck1()->isVisible());
  EXPECT_TRUE(Window().statMain()->isVisible());
  EXPECT_TRUE(Item("mniShowToolbar")->isChecked());
  EXPECT_EQ(Editor().Gutter().Width(), 40);
  EXPECT_EQ(Editor().Color(), QColor(Qt::black));
  EXPECT_EQ(Editor().Gutter().Color(), QApplication::palette().color(QPalette::Button));
  EXPECT_EQ(Editor().TabList().AsString(), "5");
  EXPECT_TRUE(Editor().WordWrap());
  EXPECT_TRUE(Editor().Gutter().LineNumbers().Visible());
  EXPECT_TRUE(Window().AutoCompletion());
  EXPECT_EQ(Window().DocumentName(), "Untitled.mis");  // a new script at start
  EXPECT_EQ(Editor().Lines().TextLength(), 0);         // an empty one
  EXPECT_EQ(Window().mrfls().MaxEntries(), 9);
  EXPECT_TRUE(Window().isMaximized());
  EXPECT_FALSE(Exists(SettingsPath()));  // nothing is written while the program runs

  Quit();
  const std::string written = Written();
  for (const char* line : {"BgColor=clBlack\n", "GtrColor=clBtnFace\n", "TabW=5\n", "MaxMru=9\n", "WndMax=1\n",
                           "Courier New_Color=-16777208\n", "Courier New_Size=10\n",
                           "PrefsTab=2\n"})  // Options never opened: its designed page, "Colors"
    EXPECT_NE(written.find(line), std::string::npos) << line << "\n" << written;
  EXPECT_EQ(written.find("[HISTORY]"), std::string::npos);
}

TEST_F(Settings, EverySettingIsAsItWasLeftAfterARestart) {
  StartFromFile();
  Trigger("mniShowToolbar");
  Trigger("mniShowStatusbar");
  Editor().Gutter().SetWidth(55);
  Window().SetEditorBgColor(0x00123456u);
  Window().SetGutterColor(0xFF000018u);  // clInfoBk
  Window().SetTabWidth(3);
  Editor().SetWordWrap(false);
  Editor().Gutter().LineNumbers().SetVisible(false);
  Editor().SetOptions(Editor().Options() | soUndoAfterSave);
  Window().SetAutoCompletion(false);
  Window().SetCreateNewStart(false);  // "Show Welcome Screen"
  Window().SetOpenLastUsed(false);
  Window().mrfls().SetMaxEntries(5);
  Window().SetEmptyScr(false);
  Window().frmPrefs().State().Page = ppEditor;  // the page Options was left on
  Window().SetWndMax(false);
  QFont font = Editor().EditorFont();
  font.setFamily("DejaVu Sans Mono");
  font.setPixelSize(16);  // 12 points
  font.setItalic(true);
  Editor().SetEditorFont(font);
  Quit();
  EXPECT_NE(Written().find("GtrColor=clInfoBk\n"), std::string::npos) << Written();
  EXPECT_NE(Written().find("BgColor=$00123456\n"), std::string::npos) << Written();

  StartFromFile();
  EXPECT_FALSE(Item("mniShowToolbar")->isChecked());
  EXPECT_FALSE(Window().tbxdck1()->isVisible());
  EXPECT_FALSE(Window().tbxdck1()->toggleViewAction()->isChecked()) << "the window's own toolbar item agrees";
  EXPECT_FALSE(Window().statMain()->isVisible());
  EXPECT_EQ(Editor().Gutter().Width(), 55);
  EXPECT_EQ(Window().EditorBgColor(), 0x00123456u);
  EXPECT_EQ(Editor().Color(), QColor(0x56, 0x34, 0x12));
  EXPECT_EQ(Window().GutterColor(), 0xFF000018u);
  EXPECT_EQ(Editor().TabList().AsString(), "3");
  EXPECT_FALSE(Editor().WordWrap());
  EXPECT_FALSE(Editor().Gutter().LineNumbers().Visible());
  EXPECT_TRUE(Editor().Options() & soUndoAfterSave);
  EXPECT_FALSE(Window().AutoCompletion());
  EXPECT_FALSE(Window().DocumentOpen());  // the welcome screen
  EXPECT_EQ(Window().mrfls().MaxEntries(), 5);
  EXPECT_FALSE(Window().EmptyScr());
  EXPECT_EQ(Window().PrefsTab(), 1);
  EXPECT_FALSE(Window().isMaximized());
  EXPECT_EQ(Editor().EditorFont().family(), "DejaVu Sans Mono");
  EXPECT_EQ(Editor().EditorFont().pixelSize(), 16);
  EXPECT_TRUE(Editor().EditorFont().italic());
}

// The user's maximize and restore decide how the next start shows the
// window; minimizing changes nothing.
TEST_F(Settings, TheMaximizedStateTheUserLeftIsTheOneTheNextStartShows) {
  StartFromFile();
  ASSERT_TRUE(Window().isMaximized());
  Window().showNormal();
  QApplication::processEvents();
  Quit();
  EXPECT_NE(Written().find("WndMax=0\n"), std::string::npos) << Written();

  StartFromFile();
  EXPECT_FALSE(Window().isMaximized());
  Window().showMaximized();
  QApplication::processEvents();
  Quit();
  EXPECT_NE(Written().find("WndMax=1\n"), std::string::npos) << Written();

  StartFromFile();
  EXPECT_TRUE(Window().isMaximized());
  Window().showMinimized();
  QApplication::processEvents();
  Quit();
  EXPECT_NE(Written().find("WndMax=1\n"), std::string::npos) << Written();
}

// A placement no screen can hold (an edited or damaged file) still gives a
// window that lies on a screen and is no larger than the screens, so it can
// be painted and moved.
TEST_F(Settings, APlacementNoScreenCanHoldGivesAWindowThatFitsAScreen) {
  for (const char* placement : {"Top=0\nLeft=0\nWidth=2000000000\nHeight=2000000000\n",
                                "Top=2147483647\nLeft=2147483647\nWidth=2147483647\nHeight=2147483647\n",
                                "Top=-2147483648\nLeft=-2147483648\nWidth=-2147483648\nHeight=100000\n"}) {
    WriteFile(SettingsPath(), std::string("[EDITOR]\nWndMax=0\n[PLACEMENT]\n") + placement);
    StartFromFile();
    ASSERT_FALSE(Window().isMaximized());
    const QRect screen = Window().screen()->availableVirtualGeometry();
    // The frame the platform adds is unknown before the first showing.
    EXPECT_TRUE(Window().size().boundedTo(screen.size()) == Window().size()) << placement;
    EXPECT_TRUE(screen.intersects(Window().frameGeometry())) << placement;
    Quit();
    EXPECT_LE(TIniFile(SettingsPath()).ReadInteger("PLACEMENT", "Width", 0), screen.width()) << placement;
    EXPECT_LE(TIniFile(SettingsPath()).ReadInteger("PLACEMENT", "Height", 0), screen.height()) << placement;
  }
}

// A system colour follows the desktop's palette, also when that changes while
// the editor runs, and is stored under its name.
TEST_F(Settings, SystemColoursFollowAPaletteChangeAndKeepTheirNames) {
  const QPalette before = QApplication::palette();
  WriteFile(SettingsPath(), "[EDITOR]\nBgColor=clWindow\n");
  StartFromFile();
  QPalette changed = before;
  changed.setColor(QPalette::Button, QColor(1, 2, 3));
  changed.setColor(QPalette::Base, QColor(4, 5, 6));
  changed.setColor(QPalette::Text, QColor(7, 8, 9));
  QApplication::setPalette(changed);
  QApplication::processEvents();
  EXPECT_EQ(Editor().Gutter().Color(), QColor(1, 2, 3));
  EXPECT_EQ(Editor().Color(), QColor(4, 5, 6));
  EXPECT_EQ(Editor().FontColor(), QColor(7, 8, 9));
  Quit();
  QApplication::setPalette(before);
  for (const char* line : {"BgColor=clWindow\n", "GtrColor=clBtnFace\n", "Courier New_Color=-16777208\n"})
    EXPECT_NE(Written().find(line), std::string::npos) << line << Written();
}

TEST_F(Settings, KeysAreFoundWhateverTheirCaseAndWrittenBackUnderTheirOwnNames) {
  WriteFile(SettingsPath(), "[editor]\nbgcolor=clRed\n");
  StartFromFile();
  EXPECT_EQ(Editor().Color(), QColor(Qt::red));
  Quit();
  EXPECT_EQ(Written().rfind("[editor]\nBgColor=clRed\n", 0), 0u) << Written();
}

TEST_F(Settings, ACapacityAboveNineKeepsEveryEntryAcrossARestart) {
  std::string text = "[EDITOR]\nMaxMru=20\n[HISTORY]\n";
  for (int i = 1; i <= 20; ++i) text += "File" + std::to_string(i) + "=" + PathOf("s" + std::to_string(i) + ".mis") + "\n";
  WriteFile(SettingsPath(), text);
  StartFromFile();
  EXPECT_EQ(Window().mrfls().Count(), 20);
  EXPECT_TRUE(Item("mniClearRecent")->isVisible());
  Quit();
  EXPECT_NE(Written().find("File20=" + PathOf("s20.mis") + "\n"), std::string::npos) << Written();
}

TEST_F(Settings, AClearedListLeavesNoHistorySection) {
  WriteFile(SettingsPath(), "[HISTORY]\nFile1=" + PathOf("a.mis") + "\n[EDITOR]\nGutterW=40\n");
  StartFromFile();
  ASSERT_TRUE(Item("mniClearRecent")->isVisible());
  Trigger("mniClearRecent");
  EXPECT_FALSE(Item("mniClearRecent")->isVisible());
  EXPECT_FALSE(Item("mniClearRecent")->isEnabled());
  EXPECT_EQ(Window().mrfls().Count(), 0);
  Quit();
  EXPECT_EQ(Written().find("HISTORY"), std::string::npos) << Written();
}

TEST_F(Settings, AnUnwritableFileIsReportedOnceAndTheProgramStillEnds) {
  std::filesystem::create_directory(SettingsPath());  // a folder where the file should be
  StartFromFile();
  EXPECT_EQ(Window().DocumentName(), "Untitled.mis");  // the defaults
  Window().mrfls().AddFile(PathOf("a.mis"));
  Quit();
  ASSERT_EQ(m_dialogs.Asked("Error").size(), 1u);
  EXPECT_EQ(m_dialogs.Asked("Error")[0].Text, "Unable to write to " + SettingsPath());
}

TEST_F(Settings, BrokenAndHugeFilesNeitherStopTheStartNorLoseAnything) {
  std::mt19937 random(5);
  std::string noise(20000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::string manyKeys = "[Other]\n";
  for (int i = 0; i < 100000; ++i) manyKeys += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  const std::string longValues = "[EDITOR]\nTabW=" + std::string(10000, '7') + "\nBgColor=" + std::string(10000, 'c') +
                                 "\n[HISTORY]\nFile1=" + std::string(10000, 'x') + "\n";
  const std::string script = PathOf("kept.mis");
  WriteFile(script, "LEVELSTART\r\n");
  const std::string contents[] = {noise, manyKeys, longValues};
  for (const std::string& content : contents) {
    WriteFile(SettingsPath(), content);
    StartFromFile();
    EXPECT_EQ(Editor().TabList().AsString(), "5");
    Quit();
    EXPECT_TRUE(m_dialogs.Asked().empty());
    EXPECT_EQ(ReadFile(script), "LEVELSTART\r\n");
    if (&content != &contents[2]) {
      // Whatever was not the program's own stays as it was.
      EXPECT_EQ(Written().substr(0, content.size()), content);
    }
    EXPECT_EQ(TIniFile(SettingsPath()).ReadInteger("EDITOR", "TabW", 0), 5);
  }
}

}  // namespace
}  // namespace penwick::test
