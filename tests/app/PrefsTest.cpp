// "Tools" > "Options" over the main window: the dialog shows the window's
// live settings, OK applies the user's changes to the window and the editor
// (the theme last), what acts at once survives Cancel, and the settings file
// receives the results at shut-down. The forms are scripted.
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "AppTestSupport.h"
#include "app/MRUfiles.h"
#include "app/SettingsFile.h"
#include "editor/QtGutter.h"
#include "editor/QtLineNumbers.h"
#include "prefs/PrefsView.h"
#include "prefs/QtSyntaxStylesForm.h"
#include "prefs/Settngs.h"
#include "prefs/QtSyntStyleFrame.h"
#include "prefs/SyntaxStylesDialog.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"
#include "syntax/SyntaxFormat.h"

namespace fs = std::filesystem;

namespace penwick::test {
namespace {

// A preferences form whose user is a lambda: it reads and edits the state,
// runs the controls' handlers through prefs.Run and answers OK (true) or
// Cancel.
class TScriptedPrefsView : public TPrefsView {
public:
  bool Execute(TfrmPrefs& prefs) override {
    ++Shown;
    if (!Script) {
      ADD_FAILURE() << "the preferences were shown without a script";
      return false;
    }
    return Script(prefs);
  }
  std::function<bool(TfrmPrefs&)> Script;
  int Shown = 0;
};

class TScriptedStylesView : public TStylesView {
public:
  bool Execute(TSyntaxStylesDialog& dialog) override {
    ++Shown;
    return Script ? Script(dialog) : false;
  }
  std::function<bool(TSyntaxStylesDialog&)> Script;
  int Shown = 0;
};

// The first style of the shipped definitions; its font colour tells the
// themes apart.
constexpr const char* kProbeStyle = "Compiler Enums";
constexpr std::uint32_t kTallowbyProbeColor = 10508890;
constexpr std::uint32_t kDarkProbeColor = 16744878;
constexpr std::uint32_t kClBtnFace = 0xFF00000Fu;

class Prefs : public TMainWindowTest {
protected:
  void SetUp() override {
    m_prefsView = m_prefs;
    m_stylesView = m_styles;
  }
  // A program folder holding mis2.lcf and, when `withThemes`, copies of the
  // shipped Themes/ folder.
  std::string ProgramFolder(bool withThemes) {
    const fs::path shipped = QCoreApplication::applicationDirPath().toStdString();
    const fs::path folder = PathOf("program");
    fs::create_directories(folder);
    fs::copy_file(shipped / "mis2.lcf", folder / "mis2.lcf", fs::copy_options::overwrite_existing);
    if (withThemes) {
      fs::create_directories(folder / "Themes");
      for (const char* name : {"Tallowby.lcf", "Dark.lcf"})
        fs::copy_file(shipped / "Themes" / name, folder / "Themes" / name, fs::copy_options::overwrite_existing);
    }
    return folder.string();
  }
  TfrmMain& StartIn(const std::string& programFolder, bool fromSettingsFile = false) {
    TStartup startup;
    startup.ProgramFolder = programFolder;
    startup.FromSettingsFile = fromSettingsFile;
    return Start(startup);
  }
  // "Tools" > "Options" with `script` as the user.
  void Options(std::function<bool(TfrmPrefs&)> script) {
    m_prefs->Script = std::move(script);
    const int shown = m_prefs->Shown;
    Trigger("mniOptions");
    EXPECT_EQ(m_prefs->Shown, shown + 1) << "Options did not show the dialog";
  }
  void Quit() {
    Editor().SetModified(false);
    Window().close();
    ASSERT_TRUE(Window().ShutDownDone());
    m_window.reset();
  }
  std::string Written() const { return ReadFile(SettingsPath()); }
  std::uint32_t ProbeColor() {
    auto* style = static_cast<TSyntaxFormat*>(Window().syntnlyzr1()->Formats().FindByName(kProbeStyle));
    return style ? style->Font.Color : 0xDEADu;
  }

  std::shared_ptr<TScriptedPrefsView> m_prefs = std::make_shared<TScriptedPrefsView>();
  std::shared_ptr<TScriptedStylesView> m_styles = std::make_shared<TScriptedStylesView>();
};

TEST_F(Prefs, OptionsShowsTheLiveSettingsAndCancelChangesNothing) {
  StartIn(ProgramFolder(false));
  TFontSettings font;
  font.Name = "DejaVu Sans Mono";
  font.Size = 12;
  font.Style = 1;
  font.Color = 0x00204060;
  font.Charset = 238;
  Window().SetEditorFontSettings(font);
  Window().SetEditorBgColor(0x00123456u);
  Window().SetGutterColor(0xFF000018u);  // clInfoBk
  Window().SetTabWidth(3);
  Editor().Gutter().SetWidth(55);
  Editor().SetWordWrap(false);
  Editor().Gutter().LineNumbers().SetVisible(true);
  Editor().SetOptions(Editor().Options() | soUndoAfterSave);
  Window().SetAutoCompletion(false);
  Window().SetCreateNewStart(false);
  Window().SetOpenLastUsed(true);
  Window().SetEmptyScr(false);
  Window().SetPrefsTab(ppGeneral);
  Window().mrfls().SetMaxEntries(5);

  TPrefsState shown;
  Options([&](TfrmPrefs& prefs) {
    shown = prefs.State();
    // Everything changed, then Cancel.
    prefs.State().GutterWidth = "9";
    prefs.State().TabSize = "8";
    prefs.State().WordWrap = true;
    prefs.State().Startup = TStartupChoice::WelcomeScreen;
    prefs.State().MruCount = "2";
    prefs.State().Theme = tiTallowby;
    return false;
  });
  EXPECT_EQ(shown.CodeFont.Name, "DejaVu Sans Mono");
  EXPECT_EQ(shown.CodeFont.Size, 12);
  EXPECT_EQ(shown.CodeFont.Style, 1);
  EXPECT_EQ(shown.CodeFont.Color, 0x00204060u);
  EXPECT_EQ(shown.CodeFont.Charset, 238);
  EXPECT_EQ(shown.SampleFont.Name, "DejaVu Sans Mono");
  EXPECT_EQ(shown.TabSize, "3");
  EXPECT_EQ(shown.BgSwatch, 0x00123456u);
  EXPECT_EQ(shown.BgDialogColor, 0x00123456u);
  EXPECT_EQ(shown.GutterSwatch, 0xFF000018u);  // a system colour stays one
  EXPECT_EQ(shown.GutterDialogColor, 0xFF000018u);
  EXPECT_EQ(shown.GutterWidth, "55");
  EXPECT_FALSE(shown.WordWrap);
  EXPECT_TRUE(shown.LineNumbers);
  EXPECT_TRUE(shown.UndoAfterSave);
  EXPECT_FALSE(shown.AutoCompletion);
  EXPECT_EQ(shown.Startup, TStartupChoice::OpenLastUsed);
  EXPECT_FALSE(shown.EmptyScript);
  EXPECT_EQ(shown.MruCount, "5");
  EXPECT_EQ(shown.Page, ppGeneral);

  EXPECT_EQ(Editor().Gutter().Width(), 55);
  EXPECT_EQ(Window().TabWidth(), 3);
  EXPECT_FALSE(Editor().WordWrap());
  EXPECT_TRUE(Window().OpenLastUsed());
  EXPECT_EQ(Window().mrfls().MaxEntries(), 5);
  EXPECT_EQ(Window().EditorBgColor(), 0x00123456u);
  EXPECT_EQ(Editor().EditorFont().family(), "DejaVu Sans Mono");
  EXPECT_TRUE(m_dialogs.Asked().empty());
}

// OK applies every control to the window and the editor; the theme comes
// last and decides the background, and its definition replaces the live one.
TEST_F(Prefs, OkAppliesTheControlsAndTheThemeDecidesTheBackground) {
  StartIn(ProgramFolder(true));
  QFont bold = Editor().EditorFont();
  bold.setBold(true);
  Editor().SetEditorFont(bold);
  Options([](TfrmPrefs& prefs) {
    TPrefsState& s = prefs.State();
    EXPECT_EQ(s.CodeFont.Style, 1);
    s.CodeFont.Name = "DejaVu Sans Mono";
    s.CodeFont.Size = 12;
    s.CodeFont.Style = 2;
    s.BgDialogColor = 0x00123456u;  // overruled by the theme
    s.GutterDialogColor = 0x000000FFu;
    s.GutterWidth = "30";
    s.TabSize = "7";
    s.WordWrap = false;
    s.LineNumbers = false;
    s.UndoAfterSave = true;
    s.AutoCompletion = false;
    s.Startup = TStartupChoice::OpenLastUsed;
    s.EmptyScript = false;
    s.MruCount = "3";
    s.Theme = tiTallowby;
    return true;
  });
  EXPECT_TRUE(m_dialogs.Asked().empty());
  EXPECT_EQ(Editor().EditorFont().family(), "DejaVu Sans Mono");
  EXPECT_EQ(Editor().EditorFont().pixelSize(), 16);  // 12 points
  EXPECT_TRUE(Editor().EditorFont().italic());
  EXPECT_FALSE(Editor().EditorFont().bold()) << "the chosen style replaces the editor's";
  EXPECT_EQ(Window().GutterColor(), 0x000000FFu);
  EXPECT_EQ(Editor().Gutter().Color(), QColor(Qt::red));
  EXPECT_EQ(Editor().Gutter().Width(), 30);
  EXPECT_EQ(Editor().TabList().AsString(), "7");
  EXPECT_EQ(Window().TabWidth(), 7);
  EXPECT_FALSE(Editor().WordWrap());
  EXPECT_FALSE(Editor().Gutter().LineNumbers().Visible());
  EXPECT_TRUE(Editor().Options() & soUndoAfterSave);
  EXPECT_FALSE(Window().AutoCompletion());
  EXPECT_TRUE(Window().OpenLastUsed());
  EXPECT_FALSE(Window().CreateNewStart());
  EXPECT_FALSE(Window().EmptyScr());
  EXPECT_EQ(Window().mrfls().MaxEntries(), 3);
  EXPECT_EQ(Window().EditorBgColor(), 0xFFFFFFu);
  EXPECT_EQ(Editor().Color(), QColor(Qt::white));
  EXPECT_EQ(ProbeColor(), kTallowbyProbeColor);
  EXPECT_EQ(Editor().SyntaxAnalyzer(), Window().syntnlyzr1());

  // Another theme at the next OK reloads the definition; the background
  // follows it.
  Options([](TfrmPrefs& prefs) {
    EXPECT_EQ(prefs.State().Theme, tiTallowby) << "the theme list keeps its selection";
    EXPECT_EQ(prefs.State().CodeFont.Style, 2);
    prefs.State().Theme = tiDark;
    return true;
  });
  EXPECT_EQ(Window().EditorBgColor(), 0u);
  EXPECT_EQ(Editor().Color(), QColor(Qt::black));
  EXPECT_EQ(ProbeColor(), kDarkProbeColor);
}

TEST_F(Prefs, AMissingThemeFileIsReportedAndLeavesTheBackgroundAndTheDefinition) {
  StartIn(ProgramFolder(false));
  const std::uint32_t background = Window().EditorBgColor();
  const std::string definition = Window().syntnlyzr1()->SaveToText();
  Options([](TfrmPrefs& prefs) {
    prefs.State().Theme = tiTallowby;
    prefs.State().GutterWidth = "21";
    return true;
  });
  const auto errors = m_dialogs.Asked("Error");
  ASSERT_EQ(errors.size(), 1u);
  const std::string missing = (fs::path(PathOf("program")) / "Themes" / "Tallowby.lcf").string();
  EXPECT_EQ(errors[0].Text.rfind("Cannot open file \"" + missing + "\". ", 0), 0u) << errors[0].Text;
  EXPECT_EQ(Window().EditorBgColor(), background);
  EXPECT_EQ(Window().syntnlyzr1()->SaveToText(), definition);
  EXPECT_EQ(Editor().Gutter().Width(), 21) << "the steps before the theme were applied";
}

// The gutter swatch and "GC" change the gutter at once; Cancel keeps it.
TEST_F(Prefs, TheGutterColourActsAtOnceAndSurvivesCancel) {
  StartIn(ProgramFolder(false));
  m_dialogs.AnswerColor(0x0000FF00u);
  Options([](TfrmPrefs& prefs) {
    prefs.Run([&] { prefs.pnlGtrClrClick(); });
    return false;
  });
  EXPECT_EQ(m_dialogs.Asked("Color").at(0).Text, "FF00000F") << "the dialog starts from the gutter's clBtnFace";
  EXPECT_EQ(Window().GutterColor(), 0x0000FF00u);
  EXPECT_EQ(Editor().Gutter().Color(), QColor(Qt::green));

  Options([](TfrmPrefs& prefs) {
    EXPECT_EQ(prefs.State().GutterSwatch, 0x0000FF00u);
    prefs.Run([&] { prefs.btnGCClick(); });
    return false;
  });
  EXPECT_EQ(Window().GutterColor(), kClBtnFace);
  EXPECT_EQ(Editor().Gutter().Color(), QApplication::palette().color(QPalette::Button));
}

// The page written at shut-down is the one the dialog was left on; within
// the run the dialog opens on the page read at start-up.
TEST_F(Prefs, ThePageLeftSelectedIsWrittenAndTheNextRunOpensOnIt) {
  const std::string folder = ProgramFolder(false);
  WriteFile(SettingsPath(), "[EDITOR]\nPrefsTab=0\nCreateNewStart=1\n");
  StartIn(folder, true);
  for (int showing = 0; showing < 2; ++showing) {
    Options([](TfrmPrefs& prefs) {
      EXPECT_EQ(prefs.State().Page, ppGeneral);
      prefs.State().Page = ppEditor;
      return false;
    });
  }
  Quit();
  EXPECT_NE(Written().find("PrefsTab=1\n"), std::string::npos) << Written();

  StartIn(folder, true);
  Options([](TfrmPrefs& prefs) {
    EXPECT_EQ(prefs.State().Page, ppEditor);
    return false;
  });
}

TEST_F(Prefs, TheWelcomeScreenClearsBothStartupChoicesInTheSettingsFile) {
  StartIn(ProgramFolder(false));
  ASSERT_TRUE(Window().CreateNewStart());
  Options([](TfrmPrefs& prefs) {
    prefs.State().Startup = TStartupChoice::WelcomeScreen;
    return true;
  });
  Quit();
  EXPECT_NE(Written().find("OpenLastUsed=0\n"), std::string::npos) << Written();
  EXPECT_NE(Written().find("CreateNewStart=0\n"), std::string::npos) << Written();
}

TEST_F(Prefs, HelpShowsTheHelpFilesContents) {
  StartIn(ProgramFolder(false));
  Options([](TfrmPrefs& prefs) {
    prefs.Run([&] { prefs.btnHelpClick(); });
    return false;
  });
  ASSERT_EQ(m_help->Asked.size(), 1u);
  EXPECT_EQ(m_help->Asked[0], Window().HelpFile() + " contents");
}

TEST_F(Prefs, ThreeHundredRecentFilesBecomeFortyFour) {
  StartIn(ProgramFolder(false));
  Options([](TfrmPrefs& prefs) {
    prefs.State().MruCount = "300";
    return true;
  });
  EXPECT_EQ(Window().mrfls().MaxEntries(), 44);
}

// "Syntax Highlighting" edits a copy of the live definition; OK there
// changes the live highlighting, and a later OK of the preferences with the
// same theme keeps the edit.
TEST_F(Prefs, SyntaxHighlightingEditsTheLiveDefinitionThroughACopy) {
  StartIn(ProgramFolder(true));
  TSyntAnalyzer& live = *Window().syntnlyzr1();
  const std::string before = live.SaveToText();
  m_styles->Script = [&](TSyntaxStylesDialog& dialog) {
    EXPECT_NE(&dialog.Copy(), &live);
    EXPECT_EQ(dialog.Copy().SaveToText(), before);
    auto* style = static_cast<TSyntaxFormat*>(dialog.Copy().Formats().ItemAt(0));
    if (style) style->BgColor = 0x00ABCDEFu;
    return true;
  };
  Options([](TfrmPrefs& prefs) {
    prefs.Run([&] { prefs.btnSyntaxClick(); });
    return true;
  });
  EXPECT_EQ(m_styles->Shown, 1) << "the button did not reach the style editor";
  EXPECT_TRUE(m_dialogs.Asked().empty());
  auto* style = static_cast<TSyntaxFormat*>(live.Formats().ItemAt(0));
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->BgColor, 0x00ABCDEFu);
  EXPECT_EQ(Editor().SyntaxAnalyzer(), &live);
}

// OK in the Qt "Syntax Highlighting" form while a long script is open and
// being analysed: the live definition is replaced under the editor's
// analysis, and the editor draws in the edited style at once.
TEST_F(Prefs, OkInTheStylesFormRecoloursTheOpenScriptAtOnce) {
  m_stylesView.reset();
  std::string script = "// first line comment\r\nLEVELSTART\r\n";
  for (int i = 0; i < 2000; ++i)
    script += "WHILE_EXEC ( loop = 1 )\r\n  IF ( IS_CAR_WRECKED ( taxi_1 ) )\r\n    SET loop = 0\r\n  ENDIF\r\nENDWHILE\r\n";
  script += "LEVELEND\r\n";
  WriteFile(PathOf("long.mis"), script);
  TStartup startup;
  startup.ProgramFolder = ProgramFolder(false);
  startup.ScriptPath = PathOf("long.mis");
  Start(startup);
  QApplication::processEvents();
  const QColor green(0, 255, 0);
  const QPoint comment = Editor().CaretPosToPoint(TPoint{5, 0}) + QPoint(1, 1);
  ASSERT_NE(Editor().viewport()->grab().toImage().pixelColor(comment), green);

  bool edited = false;
  QTimer::singleShot(0, [&] {
    auto* form = qobject_cast<TQtSyntaxStylesForm*>(QApplication::activeModalWidget());
    if (!form) {
      ADD_FAILURE() << "no styles form";
      return;
    }
    for (int row = 0; row < form->ElementList()->count(); ++row)
      if (form->ElementList()->item(row)->text() == "Comments") form->ElementList()->setCurrentRow(row);
    if (form->Dialog().Frame().Style()) {
      form->Dialog().Frame().SetBackground(0x0000FF00u);
      edited = true;
    }
    QTest::mouseClick(form->OkButton(), Qt::LeftButton);
  });
  Options([](TfrmPrefs& prefs) {
    prefs.Run([&] { prefs.btnSyntaxClick(); });
    return true;
  });
  ASSERT_TRUE(edited);
  // No idle time given: the editor must not wait for its analysis to draw the new style.
  EXPECT_EQ(Editor().viewport()->grab().toImage().pixelColor(comment), green);
  // The analysis of the long text runs over the new rules to its end.
  QApplication::processEvents();
  ASSERT_NE(Editor().SyntClient(), nullptr);
  Editor().SyntClient()->AnalyzeAll();
  EXPECT_TRUE(Editor().SyntClient()->Finished());
  EXPECT_TRUE(m_dialogs.Asked().empty());
}

// Without forms in the setup the window shows the Qt form, over itself.
TEST_F(Prefs, OptionsShowsTheQtFormWhenTheSetupNamesNone) {
  m_prefsView.reset();
  m_stylesView.reset();
  StartIn(ProgramFolder(false));
  QString caption;
  QWidget* owner = nullptr;
  QTimer::singleShot(0, [&] {
    QWidget* form = QApplication::activeModalWidget();
    if (!form) {
      ADD_FAILURE() << "no modal form";
      return;
    }
    caption = form->windowTitle();
    owner = form->parentWidget();
    static_cast<QDialog*>(form)->reject();
  });
  Trigger("mniOptions");
  EXPECT_EQ(caption, "Preferences");
  EXPECT_EQ(owner, &Window());
  EXPECT_TRUE(m_dialogs.Asked().empty());
}

// The Qt "Syntax Highlighting" form previews on the editor's own colours,
// whatever the definition's default style says.
TEST_F(Prefs, TheStylesFormPreviewsOnTheEditorsColours) {
  m_stylesView.reset();
  StartIn(ProgramFolder(false));
  Window().SetEditorBgColor(0x00203040u);  // red in the low byte
  QColor background, text;
  QTimer::singleShot(0, [&] {
    auto* form = qobject_cast<TQtSyntaxStylesForm*>(QApplication::activeModalWidget());
    if (!form) {
      ADD_FAILURE() << "no styles form";
      return;
    }
    background = form->Preview()->Color();
    text = form->Preview()->FontColor();
    form->reject();
  });
  Options([](TfrmPrefs& prefs) {
    prefs.Run([&] { prefs.btnSyntaxClick(); });
    return false;
  });
  EXPECT_EQ(background, QColor(0x40, 0x30, 0x20));
  EXPECT_EQ(text, Editor().FontColor());
}

}  // namespace
}  // namespace penwick::test
