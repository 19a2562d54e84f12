// The preferences dialog's logic without a window: showing, the controls
// that act at once, Apply and its order, the themes, OK and Cancel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>

#include "prefs/FakePrefsHost.h"
#include "prefs/PrefsView.h"
#include "prefs/Settngs.h"
#include "prefs/SyntaxStylesDialog.h"
#include "prefs/Themes.h"
#include "support/ScriptedDialogs.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {
namespace {

using test::FakePrefsHost;
using test::TScriptedDialogs;

constexpr std::uint32_t kBtnFace = 0xFF00000Fu;

// A form that runs a script over the dialog instead of waiting for a user.
class ScriptedPrefsView : public TPrefsView {
public:
  std::function<bool(TfrmPrefs&)> Body = [](TfrmPrefs&) { return false; };
  int Shown = 0;
  bool Execute(TfrmPrefs& prefs) override {
    ++Shown;
    return Body(prefs);
  }
};

class ScriptedStylesView : public TStylesView {
public:
  std::function<bool(TSyntaxStylesDialog&)> Body = [](TSyntaxStylesDialog&) { return false; };
  bool Execute(TSyntaxStylesDialog& dialog) override { return Body(dialog); }
};

// The text a definition holds after loading `file` into a fresh one.
std::string ThemeText(const std::filesystem::path& file) {
  TSyntAnalyzer fresh;
  fresh.LoadFromFile(file.string(), static_cast<TUserDialogs*>(nullptr));
  return fresh.SaveToText();
}

class PrefsDialog : public ::testing::Test {
protected:
  FakePrefsHost host;
  TScriptedDialogs dialogs;
  ScriptedStylesView styles;
  TfrmPrefs prefs{host, dialogs, styles};
  ScriptedPrefsView view;

  TPrefsState& S() { return prefs.State(); }
  std::vector<std::string> Errors() const {
    std::vector<std::string> texts;
    for (const auto& asked : dialogs.Asked("Error")) texts.push_back(asked.Text);
    return texts;
  }
};

TEST_F(PrefsDialog, ShowingReadsEveryLiveValueAndTheStartupPageOnly) {
  host.Font = {"Lucida Console", 12, 0x0000FFu, 0, 1};
  host.TabList = "8";
  host.BgColor = 0x00ABCDEFu;
  host.Gutter = 0x00101010u;
  host.GutterPixels = 42;
  host.Wrap = true;
  host.Numbers = false;
  host.UndoAfterSaveOption = true;
  host.AutoCompletionEnabled = false;
  host.Empty = false;
  host.Tab = ppEditor;
  host.Capacity = 7;
  prefs.FormShow();
  EXPECT_EQ(S().TabSize, "8");
  EXPECT_EQ(S().SampleFont.Name, "Lucida Console");
  EXPECT_EQ(S().CodeFont.Size, 12);
  EXPECT_EQ(S().BgSwatch, 0x00ABCDEFu);
  EXPECT_EQ(S().BgDialogColor, 0x00ABCDEFu);
  EXPECT_EQ(S().GutterSwatch, 0x00101010u);
  EXPECT_EQ(S().GutterDialogColor, 0x00101010u);
  EXPECT_EQ(S().GutterWidth, "42");
  EXPECT_TRUE(S().WordWrap);
  EXPECT_FALSE(S().LineNumbers);
  EXPECT_TRUE(S().UndoAfterSave);
  EXPECT_FALSE(S().AutoCompletion);
  EXPECT_FALSE(S().EmptyScript);
  EXPECT_EQ(S().MruCount, "7");
  EXPECT_EQ(S().Page, ppEditor);

  // The page the user leaves selected is written at shut-down, but within
  // the run every showing opens on the page read at start-up.
  view.Body = [](TfrmPrefs& p) {
    p.State().Page = ppGeneral;
    return false;
  };
  prefs.ShowModal(view);
  EXPECT_EQ(S().Page, ppGeneral);
  view.Body = [](TfrmPrefs&) { return false; };
  prefs.ShowModal(view);
  EXPECT_EQ(S().Page, ppEditor);
}

TEST_F(PrefsDialog, TheStartupRadiosAreSetInOrderAndApplyWritesTheSelectedOne) {
  struct Case {
    bool openLast, createNew;
    TStartupChoice shown;
    bool appliedOpenLast, appliedCreateNew;
  };
  // Both set: "Create New Script" is selected after "Open Last Used Script"
  // and takes the group; Apply then writes only it.
  for (const Case& c : {Case{true, false, TStartupChoice::OpenLastUsed, true, false},
                        Case{false, true, TStartupChoice::CreateNewScript, false, true},
                        Case{true, true, TStartupChoice::CreateNewScript, false, true},
                        Case{false, false, TStartupChoice::WelcomeScreen, false, false}}) {
    host.OpenLast = c.openLast;
    host.CreateNew = c.createNew;
    prefs.FormShow();
    EXPECT_EQ(S().Startup, c.shown) << c.openLast << c.createNew;
    prefs.Apply();
    EXPECT_EQ(host.OpenLast, c.appliedOpenLast) << c.openLast << c.createNew;
    EXPECT_EQ(host.CreateNew, c.appliedCreateNew) << c.openLast << c.createNew;
  }
  host.OpenLast = true;
  prefs.FormShow();
  S().Startup = TStartupChoice::WelcomeScreen;
  prefs.Apply();
  EXPECT_FALSE(host.OpenLast);
  EXPECT_FALSE(host.CreateNew);
}

TEST_F(PrefsDialog, ApplyWritesEveryControlBack) {
  prefs.FormShow();
  S().TabSize = "3";
  S().GutterWidth = "17";
  S().WordWrap = true;
  S().LineNumbers = false;
  S().UndoAfterSave = true;
  S().AutoCompletion = false;
  S().EmptyScript = false;
  S().MruCount = "12";
  const int repaints = host.Repaints;
  prefs.Apply();
  EXPECT_EQ(host.TabList, "3");
  EXPECT_EQ(host.GutterPixels, 17);
  EXPECT_TRUE(host.Wrap);
  EXPECT_FALSE(host.Numbers);
  EXPECT_TRUE(host.UndoAfterSaveOption);
  EXPECT_FALSE(host.AutoCompletionEnabled);
  EXPECT_FALSE(host.Empty);
  EXPECT_EQ(host.Capacity, 12);
  EXPECT_GT(host.Repaints, repaints);
}

TEST_F(PrefsDialog, AChosenBackgroundDoesNotSurviveApplyTheThemeColourDoes) {
  prefs.FormShow();
  dialogs.AnswerColor(0x0000FF00u);
  prefs.Run([&] { prefs.pnlAlusVarvClick(); });
  EXPECT_EQ(S().BgSwatch, 0x0000FF00u);
  EXPECT_EQ(host.BgColor, 0x00123456u) << "the editor takes the swatch only on Apply";
  ASSERT_EQ(dialogs.Asked("Color").size(), 1u);
  EXPECT_EQ(dialogs.Asked("Color")[0].Text, "00123456") << "the dialog offers the editor's colour";
  prefs.Apply();  // the list's designed selection: "Dark Theme"
  EXPECT_EQ(host.BgColor, 0x000000u);

  S().Theme = tiTallowby;
  prefs.Run([&] { prefs.cbbThemesChange(); });
  EXPECT_EQ(host.BgColor, 0xFFFFFFu);
  prefs.FormShow();
  dialogs.AnswerColor(0x000000FFu);
  prefs.pnlAlusVarvClick();
  prefs.Apply();
  EXPECT_EQ(host.BgColor, 0xFFFFFFu);
  // A cancelled colour dialog changes nothing.
  dialogs.AnswerColor(std::nullopt);
  prefs.pnlAlusVarvClick();
  EXPECT_EQ(S().BgSwatch, 0x000000FFu);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(PrefsDialog, TheFontDialogSetsTheEditorFontWhenItClosesConfirmedOrNot) {
  const TFontChoice loaded = host.Font;
  const TFontChoice chosen{"Lucida Console", 14, 0x0000FFu, 1, 3};
  prefs.FormShow();
  dialogs.AnswerFont(chosen);
  prefs.btnFontClick();
  EXPECT_EQ(host.Font.Name, "Lucida Console");
  EXPECT_EQ(S().SampleFont.Style, 3);
  // Cancelled: the dialog holds the font chosen before, which stays.
  dialogs.AnswerFont(std::nullopt);
  prefs.btnFontClick();
  EXPECT_EQ(dialogs.Asked("Font")[1].Text, "Lucida Console 14 3");
  EXPECT_EQ(host.Font.Name, "Lucida Console");
  EXPECT_EQ(S().SampleFont.Size, 14);
  // Cancel of the whole dialog does not take it back either, and the next
  // showing loads it.
  view.Body = [](TfrmPrefs&) { return false; };
  prefs.ShowModal(view);
  EXPECT_EQ(host.Font.Size, 14);

  // Cancelled in a fresh showing: the loaded font is set again.
  host.Font = loaded;
  prefs.FormShow();
  dialogs.AnswerFont(std::nullopt);
  prefs.btnFontClick();
  EXPECT_EQ(host.Font.Name, loaded.Name);
  EXPECT_EQ(S().SampleFont.Name, loaded.Name);
  EXPECT_EQ(S().SampleFont.Size, loaded.Size);
}

TEST_F(PrefsDialog, GutterColourAndGCActAtOnceAndSurviveCancel) {
  view.Body = [this](TfrmPrefs& p) {
    dialogs.AnswerColor(0x00336699u);
    p.Run([&] { p.pnlGtrClrClick(); });
    EXPECT_EQ(host.Gutter, 0x00336699u) << "at once, before OK";
    EXPECT_EQ(p.State().GutterSwatch, 0x00336699u);
    return false;
  };
  prefs.ShowModal(view);
  EXPECT_EQ(host.Gutter, 0x00336699u);

  view.Body = [this](TfrmPrefs& p) {
    EXPECT_EQ(p.State().GutterDialogColor, 0x00336699u);
    p.Run([&] { p.btnGCClick(); });
    EXPECT_EQ(host.Gutter, kBtnFace);
    return false;
  };
  prefs.ShowModal(view);
  EXPECT_EQ(host.Gutter, kBtnFace);
  // "GC" also set the dialog's colour: the next click offers clBtnFace.
  dialogs.AnswerColor(std::nullopt);
  prefs.pnlGtrClrClick();
  EXPECT_EQ(dialogs.Asked("Color").back().Text, "FF00000F");
  EXPECT_EQ(host.Gutter, kBtnFace);
  EXPECT_EQ(view.Shown, 2);
}

TEST_F(PrefsDialog, SpinEditChecksTurnNegativesToZeroAndRefuseNonNumbers) {
  prefs.FormShow();
  struct Case {
    std::string typed, after;
  };
  for (const Case& c : {Case{"-3", "0"}, Case{"-1", "0"}, Case{"-2147483648", "0"}, Case{"5", "5"}, Case{"0", "0"}, Case{"+7", "+7"}}) {
    S().TabSize = c.typed;
    prefs.edtTabsizeChange();
    EXPECT_EQ(S().TabSize, c.after) << c.typed;
    S().GutterWidth = c.typed;
    prefs.edtGtrSizeChange();
    EXPECT_EQ(S().GutterWidth, c.after) << c.typed;
  }
  for (const std::string bad : {"x", "", "-", "3x"}) {
    S().TabSize = bad;
    try {
      prefs.edtTabsizeChange();
      ADD_FAILURE() << "'" << bad << "' was taken";
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), "'" + bad + "' is not a valid integer value");
    }
    EXPECT_EQ(S().TabSize, bad) << "the text stays as typed";
    S().GutterWidth = bad;
    EXPECT_THROW(prefs.edtGtrSizeChange(), std::runtime_error);
  }
  S().TabSize = "x";
  prefs.Run([&] { prefs.edtTabsizeChange(); });
  EXPECT_EQ(Errors(), std::vector<std::string>{"'x' is not a valid integer value"});
}

TEST_F(PrefsDialog, TheRecentFilesCapacityKeepsItsLowEightBits) {
  prefs.FormShow();
  for (const auto& [typed, capacity] : {std::pair<const char*, int>{"300", 44}, {"255", 255}, {"256", 0}, {"9", 9}}) {
    S().MruCount = typed;
    prefs.Apply();
    EXPECT_EQ(host.Capacity, capacity) << typed;
  }
}

TEST_F(PrefsDialog, ASpinEditWithoutANumberStopsApplyAtItsStep) {
  // The gutter width (step 4): the font and colours are written, nothing after.
  prefs.FormShow();
  S().CodeFont.Name = "Lucida Console";
  S().BgDialogColor = 0x000000FFu;
  S().GutterDialogColor = 0x00FF0000u;
  S().GutterWidth = "";
  S().TabSize = "9";
  S().WordWrap = true;
  prefs.Run([&] { prefs.Apply(); });
  EXPECT_EQ(Errors(), std::vector<std::string>{"'' is not a valid integer value"});
  EXPECT_EQ(host.Font.Name, "Lucida Console");
  EXPECT_EQ(host.BgColor, 0x000000FFu);
  EXPECT_EQ(host.Gutter, 0x00FF0000u);
  EXPECT_EQ(host.GutterPixels, 30);
  EXPECT_EQ(host.TabList, "4");
  EXPECT_FALSE(host.Wrap);

  // The capacity (step 12): all before it is written, the theme is not
  // applied, so the chosen background stays.
  dialogs.ClearAsked();
  S().GutterWidth = "20";
  S().MruCount = "many";
  S().EmptyScript = false;
  const std::string before = host.Lexer.SaveToText();
  prefs.Run([&] { prefs.Apply(); });
  EXPECT_EQ(Errors(), std::vector<std::string>{"'many' is not a valid integer value"});
  EXPECT_EQ(host.GutterPixels, 20);
  EXPECT_EQ(host.TabList, "9");
  EXPECT_TRUE(host.Wrap);
  EXPECT_FALSE(host.Empty);
  EXPECT_EQ(host.Capacity, 10);
  EXPECT_EQ(host.BgColor, 0x000000FFu);
  EXPECT_EQ(host.Lexer.SaveToText(), before);
}

TEST_F(PrefsDialog, OKWithAFailingApplyClosesAndPropagatesTheError) {
  view.Body = [](TfrmPrefs& p) {
    p.State().MruCount = "";
    return true;
  };
  try {
    prefs.ShowModal(view);
    ADD_FAILURE() << "OK applied a capacity without a number";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "'' is not a valid integer value");
  }
  EXPECT_EQ(view.Shown, 1);
  EXPECT_TRUE(Errors().empty()) << "the main loop shows it, not the dialog";

  view.Body = [](TfrmPrefs& p) {
    p.State().MruCount = "3";
    return true;
  };
  prefs.ShowModal(view);
  EXPECT_EQ(host.Capacity, 3);
  EXPECT_EQ(host.BgColor, 0x000000u);
}

TEST_F(PrefsDialog, TheEmptyAndTemplateRadiosSetEmptyScrAtOnce) {
  prefs.FormShow();
  prefs.rbTmplScrClick();
  EXPECT_FALSE(host.Empty);
  EXPECT_FALSE(S().EmptyScript);
  prefs.rbEmptyScrClick();
  EXPECT_TRUE(host.Empty);
  EXPECT_TRUE(S().EmptyScript);
}

TEST_F(PrefsDialog, LoadThemeLoadsTheFileAndSetsItsBackground) {
  LoadTheme(tiTallowby, host, dialogs);
  EXPECT_EQ(host.Lexer.SaveToText(), ThemeText(host.ThemeFile("Tallowby.lcf")));
  EXPECT_EQ(host.BgColor, 0xFFFFFFu);
  const int repaints = host.Repaints;
  LoadTheme(tiDark, host, dialogs);
  EXPECT_EQ(host.Lexer.SaveToText(), ThemeText(host.ThemeFile("Dark.lcf")));
  EXPECT_EQ(host.BgColor, 0x000000u);
  EXPECT_EQ(host.Repaints, repaints + 1);
  EXPECT_NE(ThemeText(host.ThemeFile("Dark.lcf")), ThemeText(host.ThemeFile("Tallowby.lcf")));

  // Any other index does nothing.
  host.BgColor = 0x00ABCDEFu;
  for (int index : {-1, 2}) LoadTheme(index, host, dialogs);
  EXPECT_EQ(host.BgColor, 0x00ABCDEFu);
  EXPECT_EQ(host.Repaints, repaints + 1);
  EXPECT_TRUE(dialogs.Asked().empty());
}

TEST_F(PrefsDialog, AMissingThemeFileLeavesDefinitionAndBackground) {
  host.BgColor = 0x00ABCDEFu;
  prefs.FormShow();
  S().Theme = tiTallowby;
  prefs.cbbThemesChange();
  ASSERT_EQ(host.BgColor, 0xFFFFFFu);
  const std::string before = host.Lexer.SaveToText();
  std::filesystem::remove(host.ThemeFile("Dark.lcf"));
  try {
    LoadTheme(tiDark, host, dialogs);
    ADD_FAILURE() << "a missing theme loaded";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Cannot open file \"", 0), 0u) << error.what();
    EXPECT_NE(std::string(error.what()).find("Dark.lcf\". "), std::string::npos) << error.what();
  }
  EXPECT_EQ(host.Lexer.SaveToText(), before);
  EXPECT_EQ(host.BgColor, 0xFFFFFFu);

  // Through the list: the message is shown once and the dialog stays.
  S().Theme = tiDark;
  prefs.Run([&] { prefs.cbbThemesChange(); });
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_EQ(Errors()[0].rfind("Cannot open file", 0), 0u);
  EXPECT_EQ(host.BgColor, 0xFFFFFFu);
  // Apply tries the selection again and fails at its last step: the
  // swatch's colour of step 2 stays, the definition is untouched.
  prefs.Run([&] { prefs.Apply(); });
  EXPECT_EQ(Errors().size(), 2u);
  EXPECT_EQ(host.Lexer.SaveToText(), before);
  EXPECT_EQ(host.BgColor, 0x00ABCDEFu);
}

// A theme the list could not load is not in the definition, so a later
// showing must not take the selection for the loaded theme: OK loads it
// (and says why it cannot) instead of painting the old theme's styles on
// the new theme's background.
TEST_F(PrefsDialog, AThemeTheListFailedToLoadIsLoadedByALaterOK) {
  LoadTheme(tiDark, host, dialogs);
  const std::string dark = host.Lexer.SaveToText();
  std::filesystem::rename(host.ThemeFile("Tallowby.lcf"), host.Folder() / "Tallowby.lcf");
  view.Body = [](TfrmPrefs& p) {
    p.State().Theme = tiTallowby;
    p.Run([&] { p.cbbThemesChange(); });
    return false;
  };
  prefs.ShowModal(view);
  ASSERT_EQ(Errors().size(), 1u);
  ASSERT_EQ(host.BgColor, 0x000000u);

  view.Body = [](TfrmPrefs&) { return true; };
  EXPECT_THROW(prefs.ShowModal(view), std::runtime_error);
  EXPECT_EQ(host.BgColor, 0x000000u) << "a white background under the dark theme's styles";
  EXPECT_TRUE(host.Lexer.SaveToText() == dark) << "the definition changed";

  // Once the file is back, OK loads it.
  std::filesystem::rename(host.Folder() / "Tallowby.lcf", host.ThemeFile("Tallowby.lcf"));
  prefs.ShowModal(view);
  EXPECT_TRUE(host.Lexer.SaveToText() == ThemeText(host.ThemeFile("Tallowby.lcf"))) << "not the Tallowby theme";
  EXPECT_EQ(host.BgColor, 0xFFFFFFu);
}

// Broken theme files of every kind: one message each, nothing changed.
TEST_F(PrefsDialog, AThemeFileThatCannotBeUsedChangesNothing) {
  LoadTheme(tiTallowby, host, dialogs);
  const std::string before = host.Lexer.SaveToText();
  const auto dark = host.ThemeFile("Dark.lcf");
  const std::vector<std::function<void()>> breakages = {
      [&] {
        std::filesystem::remove(dark);
        std::ofstream(dark) << "object syntnlyzr1: TSyntAnalyzer\n  Formats = <\n    item\n      DisplayName = 'Cut";
      },
      [&] {
        std::filesystem::remove(dark);
        std::filesystem::create_directory(dark);
      },
      [&] { std::filesystem::remove_all(host.Folder() / "Themes"); },
  };
  for (std::size_t i = 0; i < breakages.size(); ++i) {
    breakages[i]();
    dialogs.ClearAsked();
    S().Theme = tiDark;
    prefs.Run([&] { prefs.cbbThemesChange(); });
    EXPECT_EQ(Errors().size(), 1u) << i;
    EXPECT_TRUE(host.Lexer.SaveToText() == before) << i;
    EXPECT_EQ(host.BgColor, 0xFFFFFFu) << i;
  }
}

TEST_F(PrefsDialog, StyleEditsSurviveOKUnlessTheThemeSelectionChanged) {
  LoadTheme(tiDark, host, dialogs);
  const std::string dark = ThemeText(host.ThemeFile("Dark.lcf"));
  view.Body = [this](TfrmPrefs&) {
    TSyntaxFormat* style = host.Lexer.Formats()[0];
    style->Font.Color = 0x00010203u;
    style->Changed();
    host.BgColor = 0x00ABCDEFu;
    return true;
  };
  prefs.ShowModal(view);
  EXPECT_EQ(host.Lexer.Formats()[0]->Font.Color, 0x00010203u) << "OK reloaded the unchanged theme";
  EXPECT_NE(host.Lexer.SaveToText(), dark);
  EXPECT_EQ(host.BgColor, 0x000000u) << "the background is set from the theme on every OK";

  // A selection changed through the list and then edited: Apply keeps the edit.
  view.Body = [this](TfrmPrefs& p) {
    p.State().Theme = tiTallowby;
    p.Run([&] { p.cbbThemesChange(); });
    host.Lexer.Formats()[1]->BgColor = 0x00040506u;
    p.Run([&] { p.Apply(); });
    EXPECT_EQ(host.Lexer.Formats()[1]->BgColor, 0x00040506u);
    EXPECT_EQ(host.BgColor, 0xFFFFFFu);
    return false;
  };
  prefs.ShowModal(view);

  // A selection changed without the list's handler: OK loads the theme.
  view.Body = [](TfrmPrefs& p) {
    p.State().Theme = tiDark;
    return true;
  };
  prefs.ShowModal(view);
  EXPECT_EQ(host.Lexer.SaveToText(), dark);
  EXPECT_EQ(host.BgColor, 0x000000u);
  EXPECT_TRUE(Errors().empty());
}

TEST_F(PrefsDialog, SyntaxHighlightingEditsTheLiveDefinitionOnOKOnly) {
  LoadTheme(tiTallowby, host, dialogs);
  const std::string before = host.Lexer.SaveToText();
  styles.Body = [](TSyntaxStylesDialog& dialog) {
    dialog.Copy().Formats()[0]->Font.Color = 0x00070809u;
    return false;
  };
  prefs.Run([&] { prefs.btnSyntaxClick(); });
  EXPECT_EQ(host.Lexer.SaveToText(), before) << "Cancel hands nothing back";
  styles.Body = [](TSyntaxStylesDialog& dialog) {
    dialog.Copy().Formats()[0]->Font.Color = 0x00070809u;
    return true;
  };
  prefs.Run([&] { prefs.btnSyntaxClick(); });
  EXPECT_EQ(host.Lexer.Formats()[0]->Font.Color, 0x00070809u);
  EXPECT_TRUE(Errors().empty());
}

}  // namespace
}  // namespace penwick
