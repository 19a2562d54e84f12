// The style frame: how a style shows, which controls are enabled, and what
// each change of a control does to the style (and only then).
#include <gtest/gtest.h>

#include <functional>

#include "prefs/SyntStyleFrame.h"
#include "support/ScriptedDialogs.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {
namespace {

constexpr std::uint32_t kHiddenFlags = ffFontName | ffFontSize | ffFontCharset | ffVertAlign;

// A definition with one style under test and a client whose analysis shows
// whether the style told its definition about a change.
struct TFrameFixture : ::testing::Test {
  TSyntAnalyzer Analyzer;
  TSyntaxFormat* Style = nullptr;
  TScriptedDialogs Dialogs;
  TSyntStyleFrame Frame{Dialogs};
  TStringTextSource Text{"some text"};
  std::unique_ptr<TClientSyntAnalyzer> Client;

  void SetUp() override {
    Style = Analyzer.Formats().Add();
    Style->SetDisplayName("Under test");
    Client = Analyzer.CreateClient(&Text, nullptr);
  }
  void TearDown() override { EXPECT_TRUE(Dialogs.AllAnswered()); }
  // Analysed to the end, so that a reset shows.
  void Settle() {
    Client->AnalyzeAll();
    ASSERT_TRUE(Client->Finished());
  }
};

using TFrameTest = TFrameFixture;

TEST_F(TFrameTest, BoxesAreGreyWhereTheStyleHasNoFlagElseFollowTheAttribute) {
  Style->FormatFlags = ffItalic | ffHidden | ffStrikeOut;
  Style->Font.Style = fsBold | fsItalic;  // bold without its flag still shows grey
  Style->Hidden = false;
  Style->ReadOnly = true;                 // read-only without its flag likewise
  Frame.SetStyle(Style);
  const TStyleFrameControls& c = Frame.Controls();
  EXPECT_EQ(c.FontStyles[fbBold], TCheckState::Grayed);
  EXPECT_EQ(c.FontStyles[fbItalic], TCheckState::Checked);
  EXPECT_EQ(c.FontStyles[fbUnderline], TCheckState::Grayed);
  EXPECT_EQ(c.FontStyles[fbStrikeOut], TCheckState::Unchecked);
  EXPECT_EQ(c.Hidden, TCheckState::Unchecked);
  EXPECT_EQ(c.ReadOnly, TCheckState::Grayed);
}

TEST_F(TFrameTest, ShowsTheOtherPropertiesOfTheStyle) {
  Style->BgColor = 0x112233;
  Style->Font.Color = 0x445566;
  Style->FormatType = ftColor;
  Style->VertAlignment = vaBottom;
  Style->MultiLineBorder = true;
  Style->BorderTypeTop = blWavyLine;
  Style->BorderColorRight = 0x778899;
  Style->ChangeCase = ccTitle;
  Frame.SetStyle(Style);
  const TStyleFrameControls& c = Frame.Controls();
  EXPECT_EQ(c.Background, 0x112233u);
  EXPECT_EQ(c.FontColor, 0x445566u);
  EXPECT_EQ(c.StyleType, ftColor);
  EXPECT_EQ(c.VertAlignment, vaBottom);
  EXPECT_TRUE(c.MultiLineBorder);
  EXPECT_EQ(c.BorderTypes[bsTop], blWavyLine);
  EXPECT_EQ(c.BorderTypes[bsLeft], blNone);
  EXPECT_EQ(c.BorderColors[bsRight], 0x778899u);
  EXPECT_EQ(c.Capitalization, ccTitle);
}

TEST_F(TFrameTest, TickingBoldAddsBoldAndItsFlagAndClearsTheFlagsTheFrameDoesNotShow) {
  Style->FormatFlags = ffItalic | kHiddenFlags;
  Style->Font.Style = fsItalic;
  Frame.SetStyle(Style);
  Settle();
  int told = 0;
  Frame.OnControlsChanged = [&] { ++told; };
  Frame.SetFontStyle(fbBold, TCheckState::Checked);
  EXPECT_EQ(Style->FormatFlags, static_cast<std::uint32_t>(ffBold | ffItalic));
  EXPECT_EQ(Style->Font.Style, static_cast<std::uint32_t>(fsBold | fsItalic));
  EXPECT_FALSE(Client->Finished()) << "the definition was not told that the style changed";
  EXPECT_EQ(told, 1);
}

TEST_F(TFrameTest, EachOfTheSixBoxesRebuildsTheFlagsFromTheBoxesThatAreNotGrey) {
  using TSet = std::function<void(TSyntStyleFrame&, TCheckState)>;
  const std::pair<TSet, std::uint32_t> boxes[] = {
      {[](TSyntStyleFrame& f, TCheckState s) { f.SetFontStyle(fbBold, s); }, ffBold},
      {[](TSyntStyleFrame& f, TCheckState s) { f.SetFontStyle(fbItalic, s); }, ffItalic},
      {[](TSyntStyleFrame& f, TCheckState s) { f.SetFontStyle(fbUnderline, s); }, ffUnderline},
      {[](TSyntStyleFrame& f, TCheckState s) { f.SetFontStyle(fbStrikeOut, s); }, ffStrikeOut},
      {[](TSyntStyleFrame& f, TCheckState s) { f.SetHidden(s); }, ffHidden},
      {[](TSyntStyleFrame& f, TCheckState s) { f.SetReadOnly(s); }, ffReadOnly},
  };
  for (const auto& [set, flag] : boxes) {
    SCOPED_TRACE(flag);
    // Every flag set, every attribute on: all six boxes ticked.
    Style->FormatFlags = kAllFormatFlags;
    Style->Font.Style = fsBold | fsItalic | fsUnderline | fsStrikeOut;
    Style->Hidden = Style->ReadOnly = true;
    Frame.SetStyle(Style);
    const std::uint32_t six = ffBold | ffItalic | ffUnderline | ffStrikeOut | ffHidden | ffReadOnly;
    set(Frame, TCheckState::Unchecked);
    EXPECT_EQ(Style->FormatFlags, six) << "unticking keeps the flag but drops the four the frame does not show";
    set(Frame, TCheckState::Grayed);
    EXPECT_EQ(Style->FormatFlags, six & ~flag);
    set(Frame, TCheckState::Checked);
    EXPECT_EQ(Style->FormatFlags, six);
  }
  // The attribute follows the tick; a grey box leaves it off.
  Frame.SetHidden(TCheckState::Grayed);
  EXPECT_FALSE(Style->Hidden);
  Frame.SetFontStyle(fbUnderline, TCheckState::Unchecked);
  EXPECT_EQ(Style->Font.Style, static_cast<std::uint32_t>(fsBold | fsItalic | fsStrikeOut));
}

TEST_F(TFrameTest, EnabledStatesFollowTheTypeAndTheFixedTypeMode) {
  struct TRow {
    TFormatType Type;
    bool FontColor, VertAndStyles, CustomFont;
  };
  const TRow rows[] = {{ftCustomFont, true, true, true},
                       {ftFontAttr, true, true, false},
                       {ftColor, true, false, false},
                       {ftBackGround, false, false, false}};
  for (bool fixed : {false, true}) {
    Frame.SetFixedType(fixed);
    for (const TRow& row : rows) {
      SCOPED_TRACE(testing::Message() << "type " << row.Type << (fixed ? " fixed" : ""));
      Style->FormatType = row.Type;
      Frame.SetStyle(Style);
      const TStyleFrameEnabled& e = Frame.Enabled();
      EXPECT_EQ(e.StyleType, !fixed);
      EXPECT_TRUE(e.StyleTypeLabel);
      EXPECT_TRUE(e.Background);
      EXPECT_EQ(e.FontColor, row.FontColor);
      EXPECT_EQ(e.VertAlignment, row.VertAndStyles);
      EXPECT_EQ(e.FontStyles, row.VertAndStyles);
      EXPECT_EQ(e.CustomFont, row.CustomFont);
    }
  }
  // A change of the type is evaluated at once.
  Frame.SetFixedType(false);
  Style->FormatType = ftCustomFont;
  Frame.SetStyle(Style);
  Frame.SetStyleType(ftBackGround);
  EXPECT_EQ(Style->FormatType, ftBackGround);
  EXPECT_FALSE(Frame.Enabled().FontColor);
  EXPECT_FALSE(Frame.Enabled().CustomFont);
  // Nothing shown: nothing that edits a style is enabled.
  Frame.SetStyle(nullptr);
  const TStyleFrameEnabled& none = Frame.Enabled();
  EXPECT_FALSE(none.StyleType || none.StyleTypeLabel || none.Background || none.FontColor || none.VertAlignment ||
               none.FontStyles || none.CustomFont);
}

TEST_F(TFrameTest, EachListAndColourBoxWritesItsProperty) {
  Frame.SetStyle(Style);
  Frame.SetBackground(0x010203);
  Frame.SetFontColor(0x040506);
  Frame.SetVertAlignment(vaTop);
  Frame.SetMultiLineBorder(true);
  Frame.SetBorderType(bsBottom, blDouble);
  Frame.SetBorderColor(bsLeft, 0x070809);
  Frame.SetCapitalization(ccLower);
  EXPECT_EQ(Style->BgColor, 0x010203u);
  EXPECT_EQ(Style->Font.Color, 0x040506u);
  EXPECT_EQ(Style->VertAlignment, vaTop);
  EXPECT_TRUE(Style->MultiLineBorder);
  EXPECT_EQ(Style->BorderTypeBottom, blDouble);
  EXPECT_EQ(Style->BorderTypeLeft, blNone);
  EXPECT_EQ(Style->BorderColorLeft, 0x070809u);
  EXPECT_EQ(Style->BorderColorBottom, 0u);
  EXPECT_EQ(Style->ChangeCase, ccLower);
  EXPECT_EQ(Style->FormatFlags, kAllFormatFlags) << "only the six boxes rebuild the flags";
  // An index outside the list is kept by the control but not by the style.
  Frame.SetStyleType(7);
  EXPECT_EQ(Style->FormatType, ftFontAttr);
  EXPECT_EQ(Frame.Controls().StyleType, 7);
}

// Every change a user can make, as a form's widgets would report it.
void ChangeEverything(TSyntStyleFrame& f) {
  f.SetStyleType(ftCustomFont);
  f.SetBackground(0x0000FF);
  f.SetFontColor(0x00FF00);
  f.SetVertAlignment(vaTop);
  f.SetFontStyle(fbBold, TCheckState::Checked);
  f.SetHidden(TCheckState::Checked);
  f.SetReadOnly(TCheckState::Grayed);
  f.SetMultiLineBorder(true);
  f.SetBorderType(bsLeft, blDot);
  f.SetBorderColor(bsTop, 0xFF0000);
  f.SetCapitalization(ccUpper);
  f.CustomFontClick();
}

TEST_F(TFrameTest, ChangesWithoutAStyleOrWhileFillingLeaveStylesAlone) {
  Style->FormatFlags = ffItalic | kHiddenFlags;
  const std::string before = Analyzer.SaveToText();
  Settle();
  // No style shown: the controls take the values, no style does.
  ChangeEverything(Frame);
  EXPECT_EQ(Frame.Controls().Background, 0x0000FFu);
  EXPECT_EQ(Frame.Controls().FontStyles[fbBold], TCheckState::Checked);
  EXPECT_TRUE(Dialogs.Asked("Font").empty());
  // While the frame fills its controls, a form echoing changes back (as
  // widgets do when their values are set) changes nothing.
  bool echoed = false;
  Frame.OnControlsChanged = [&] {
    if (echoed) return;
    echoed = true;
    EXPECT_TRUE(Frame.Filling());
    ChangeEverything(Frame);
  };
  Frame.SetStyle(Style);
  EXPECT_TRUE(echoed);
  EXPECT_EQ(Analyzer.SaveToText(), before);
  EXPECT_TRUE(Client->Finished()) << "a style was told it changed";
  EXPECT_FALSE(Frame.Filling());
}

TEST_F(TFrameTest, CustomFontConfirmedTakesTheChosenFontAndCancelledKeepsTheOld) {
  Style->FormatType = ftCustomFont;
  Style->Font.Name = "Courier New";
  Style->Font.Size = 10;
  Style->Font.Height = -13;
  Style->Font.Pitch = 1;
  Style->FormatFlags = kAllFormatFlags;
  Frame.SetStyle(Style);

  Dialogs.AnswerFont(std::nullopt);
  const std::string before = Analyzer.SaveToText();
  Frame.CustomFontClick();
  EXPECT_EQ(Analyzer.SaveToText(), before);
  ASSERT_EQ(Dialogs.Asked("Font").size(), 1u);
  EXPECT_EQ(Dialogs.Asked("Font")[0].Text, "Courier New 10 0");

  TFontChoice chosen;
  chosen.Name = "DejaVu Sans";
  chosen.Size = 12;
  chosen.Color = 0x336699;
  chosen.Charset = 0;
  chosen.Style = fsBold | fsUnderline;
  Dialogs.AnswerFont(chosen);
  Settle();
  Frame.CustomFontClick();
  EXPECT_EQ(Style->Font.Name, "DejaVu Sans");
  EXPECT_EQ(Style->Font.Size, 12);
  EXPECT_EQ(Style->Font.Height, -16);
  EXPECT_EQ(Style->Font.Pitch, 1);
  EXPECT_EQ(Style->Font.Color, 0x336699u);
  EXPECT_EQ(Style->Font.Charset, 0);
  EXPECT_EQ(Style->Font.Style, static_cast<std::uint32_t>(fsBold | fsUnderline));
  EXPECT_FALSE(Client->Finished());
  // Shown again: the boxes and the colour follow the new font.
  EXPECT_EQ(Frame.Controls().FontColor, 0x336699u);
  EXPECT_EQ(Frame.Controls().FontStyles[fbBold], TCheckState::Checked);
  EXPECT_EQ(Frame.Controls().FontStyles[fbItalic], TCheckState::Unchecked);

  // The same size again keeps a height that no whole size gives.
  Style->Font.Height = -17;
  chosen.Name = "Other";
  Dialogs.AnswerFont(chosen);
  Frame.CustomFontClick();
  EXPECT_EQ(Style->Font.Height, -17);
  EXPECT_EQ(Style->Font.Name, "Other");
}

}  // namespace
}  // namespace penwick::test
