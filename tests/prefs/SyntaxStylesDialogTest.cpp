// The "Syntax Highlighting" dialog over a copy of the live definition:
// selecting, the preview's click, OK and Cancel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "prefs/SyntaxStylesDialog.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {
namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return fs::path(root ? root : ".");
}

void LoadMis2(TSyntAnalyzer& a) {
  a.SetName("syntnlyzr1");
  a.LoadFromText(ReadFile(SourceDir() / "themes" / "mis2.lcf"), [](const std::string& message) {
    ADD_FAILURE() << message;
    return true;
  });
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// A form that shows the frame's values the way widgets do: each value set
// is reported back as a change.
void EchoLikeAForm(TSyntStyleFrame& frame) {
  frame.OnControlsChanged = [&frame] {
    const TStyleFrameControls c = frame.Controls();
    frame.SetStyleType(c.StyleType);
    frame.SetBackground(c.Background);
    frame.SetFontColor(c.FontColor);
    frame.SetVertAlignment(c.VertAlignment);
    for (int i = 0; i < 4; ++i) frame.SetFontStyle(static_cast<TFontStyleBox>(i), c.FontStyles[static_cast<std::size_t>(i)]);
    frame.SetHidden(c.Hidden);
    frame.SetReadOnly(c.ReadOnly);
    frame.SetMultiLineBorder(c.MultiLineBorder);
    for (int side = 0; side < 4; ++side) {
      frame.SetBorderType(static_cast<TBorderSide>(side), c.BorderTypes[static_cast<std::size_t>(side)]);
      frame.SetBorderColor(static_cast<TBorderSide>(side), c.BorderColors[static_cast<std::size_t>(side)]);
    }
    frame.SetCapitalization(c.Capitalization);
  };
}

TEST(SyntaxStylesDialog, ShowingListsTheCopysStylesAndMerelySelectingEachChangesNothing) {
  TSyntAnalyzer live;
  LoadMis2(live);
  const std::string before = live.SaveToText();
  TScriptedDialogs dialogs;
  TSyntaxStylesDialog dialog(live, dialogs);
  EchoLikeAForm(dialog.Frame());
  dialog.FormShow();
  EXPECT_TRUE(dialog.Frame().FixedType());
  ASSERT_EQ(dialog.ElementCount(), live.Formats().Count());
  for (int i = 0; i < dialog.ElementCount(); ++i) {
    EXPECT_EQ(dialog.ElementCaption(i), live.Formats()[i]->DisplayName());
    EXPECT_NE(dialog.Element(i), live.Formats()[i]) << "the list shows the live styles, not the copy's";
  }
  EXPECT_EQ(dialog.Selected(), 0);
  EXPECT_EQ(dialog.Frame().Style(), dialog.Element(0));
  EXPECT_EQ(dialog.PreviewLines(), live.SampleText());
  EXPECT_GE(dialog.PreviewLines().size(), 12u);

  for (int i = 0; i < dialog.ElementCount(); ++i) dialog.Select(i);
  for (int i = dialog.ElementCount() - 1; i >= 0; --i) dialog.Select(i);
  EXPECT_EQ(dialog.Copy().SaveToText(), before);
  dialog.Select(-1);
  EXPECT_EQ(dialog.Selected(), -1);
  EXPECT_EQ(dialog.Frame().Style(), nullptr);
  dialog.Select(dialog.ElementCount());
  EXPECT_EQ(dialog.Selected(), -1);
}

TEST(SyntaxStylesDialog, AClickInThePreviewSelectsTheStyleUnderIt) {
  TSyntAnalyzer live;
  LoadMis2(live);
  TScriptedDialogs dialogs;
  TSyntaxStylesDialog dialog(live, dialogs);
  dialog.FormShow();
  const std::string text = Joined(dialog.PreviewLines());
  TStringTextSource source(text);
  auto preview = dialog.Copy().CreateClient(&source, nullptr);  // not analysed: the click must do that

  const auto comment = text.find("/*");
  ASSERT_NE(comment, std::string::npos);
  EXPECT_TRUE(dialog.PreviewClick(*preview, static_cast<int>(comment + 5)));
  EXPECT_EQ(dialog.ElementCaption(dialog.Selected()), "Comments");
  EXPECT_EQ(dialog.Frame().Style(), dialog.Element(dialog.Selected()));
  const int comments = dialog.Selected();

  // A string has no style; between tokens there is no token; neither moves the selection.
  const auto string = text.find("'harbour");
  ASSERT_NE(string, std::string::npos);
  EXPECT_FALSE(dialog.PreviewClick(*preview, static_cast<int>(string + 2)));
  EXPECT_FALSE(dialog.PreviewClick(*preview, static_cast<int>(text.find("PLAYER_PED p1") + 10)));
  EXPECT_FALSE(dialog.PreviewClick(*preview, -1));
  EXPECT_FALSE(dialog.PreviewClick(*preview, static_cast<int>(text.size()) + 10));
  EXPECT_EQ(dialog.Selected(), comments);

  // A style that is not in the list (a client of another definition) changes nothing either.
  TSyntAnalyzer other;
  LoadMis2(other);
  auto foreign = other.CreateClient(&source, nullptr);
  EXPECT_FALSE(dialog.PreviewClick(*foreign, static_cast<int>(text.find("LEVELSTART"))));
  EXPECT_EQ(dialog.Selected(), comments);

  EXPECT_TRUE(dialog.PreviewClick(*preview, static_cast<int>(text.find("LEVELSTART"))));
  EXPECT_EQ(dialog.ElementCaption(dialog.Selected()), "Game Loops");
}

// A form that runs `edit` over the dialog and answers OK or Cancel.
class TScriptedStylesView : public TStylesView {
public:
  TScriptedStylesView(bool ok, std::function<void(TSyntaxStylesDialog&)> edit) : m_ok(ok), m_edit(std::move(edit)) {}
  bool Execute(TSyntaxStylesDialog& dialog) override {
    ++Runs;
    m_edit(dialog);
    EditedText = dialog.Copy().SaveToText();
    return m_ok;
  }
  int Runs = 0;
  std::string EditedText;

private:
  bool m_ok;
  std::function<void(TSyntaxStylesDialog&)> m_edit;
};

// Gives "Comments" a new colour through the frame.
void RecolourComments(TSyntaxStylesDialog& dialog) {
  for (int i = 0; i < dialog.ElementCount(); ++i)
    if (dialog.ElementCaption(i) == "Comments") dialog.Select(i);
  ASSERT_EQ(dialog.ElementCaption(dialog.Selected()), "Comments");
  dialog.Frame().SetFontColor(0x00ABCDEF);
}

TEST(SyntaxStylesDialog, OkHandsTheEditedCopyBackAndTheLiveAnalysisStartsAgain) {
  TSyntAnalyzer live;
  LoadMis2(live);
  const std::string before = live.SaveToText();
  TStringTextSource script("// a comment\r\nLEVELSTART\r\n");
  auto client = live.CreateClient(&script, nullptr);
  client->AnalyzeAll();
  ASSERT_TRUE(client->Finished());
  TScriptedDialogs dialogs;
  TScriptedStylesView view(true, RecolourComments);

  EXPECT_TRUE(EditStyles(live, dialogs, view));
  EXPECT_EQ(view.Runs, 1);
  EXPECT_NE(view.EditedText, before);
  EXPECT_EQ(live.SaveToText(), view.EditedText);
  EXPECT_FALSE(client->Finished()) << "the live client still shows the old styles";
  client->AnalyzeAll();
  const TSyntaxFormat* style = client->TokenStyle(client->TokenIndexAt(3));
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->DisplayName(), "Comments");
  EXPECT_EQ(style->Font.Color, 0x00ABCDEFu);
  EXPECT_GE(live.Formats().IndexOf(style), 0);
}

TEST(SyntaxStylesDialog, CancelHandsNothingBack) {
  TSyntAnalyzer live;
  LoadMis2(live);
  const std::string before = live.SaveToText();
  const TSyntaxFormat* firstStyle = live.Formats()[0];
  TStringTextSource script("// a comment\r\n");
  auto client = live.CreateClient(&script, nullptr);
  client->AnalyzeAll();
  TScriptedDialogs dialogs;
  TScriptedStylesView view(false, RecolourComments);

  EXPECT_FALSE(EditStyles(live, dialogs, view));
  EXPECT_NE(view.EditedText, before);
  EXPECT_EQ(live.SaveToText(), before);
  EXPECT_EQ(live.Formats()[0], firstStyle);
  EXPECT_TRUE(client->Finished()) << "Cancel reset the live analysis";
}

}  // namespace
}  // namespace penwick::test
