// Go to line: the form's start, the range check that keeps the form open,
// bad numbers, the shared history; and where the replace question stands.
#include <gtest/gtest.h>

#include <stdexcept>

#include "editor/EditorCommandIds.h"
#include "editor/GotoLine.h"
#include "editor/SearchCommands.h"
#include "tests/editor/SearchTestSupport.h"

namespace penwick {
namespace {

TEST(GotoLine, OutOfRangeKeepsTheFormOpenAndAValidLineMovesTheCaretKeepingItsColumn) {
  GoToLineHistory().clear();
  TTestSearchControl control("first line\r\nsecond\r\nthird line");
  RegisterSearchCommands(control);
  control.Editor.SetCaretPos(7, 0);
  control.ScriptedForms.GotoTexts = {"4", "0", " 2 "};
  ASSERT_TRUE(control.Dispatcher.Execute(cmGotoLine));
  ASSERT_EQ(1u, control.ScriptedForms.GotoShown.size());
  EXPECT_EQ("1", control.ScriptedForms.GotoShown[0].Text);
  EXPECT_EQ((std::vector<std::string>{"Line number must be between 1 and 3", "Line number must be between 1 and 3"}),
            control.ScriptedForms.Errors);
  EXPECT_EQ((TPoint{7, 1}), control.Editor.CaretPos());  // beyond the end of "second"
  EXPECT_TRUE(control.HasFocus);
  EXPECT_EQ((std::vector<int>{2}), GoToLineHistory());
}

TEST(GotoLine, TextThatIsNotAWholeNumberRaisesAndTheCaretStays) {
  TTestSearchControl control("a\r\nb");
  control.ScriptedForms.GotoTexts = {"abc"};
  try {
    ExecuteGotoLine(control);
    FAIL() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ("'abc' is not a valid integer value", e.what());
  }
  EXPECT_EQ((TPoint{0, 0}), control.Editor.CaretPos());
  for (const char* bad : {"", "1x", "+", "99999999999", "1 2"}) EXPECT_THROW(ParseWholeNumber(bad), std::runtime_error) << bad;
  EXPECT_EQ(-12, ParseWholeNumber("-12"));
  // Cancel moves nothing but still gives the editor the focus.
  control.ScriptedForms.GotoTexts.clear();
  EXPECT_FALSE(ExecuteGotoLine(control));
  EXPECT_TRUE(control.HasFocus);
}

TEST(GotoLine, HistoryKeepsTwentyWithoutRepeatsAndTheFormListsItMostRecentFirst) {
  GoToLineHistory().clear();
  std::string text;
  for (int i = 0; i < 30; ++i) text += "line\r\n";
  TTestSearchControl control(text);
  for (int line = 1; line <= 25; ++line) {
    control.ScriptedForms.GotoTexts = {std::to_string(line)};
    ExecuteGotoLine(control);
  }
  control.ScriptedForms.GotoTexts = {"10"};
  ExecuteGotoLine(control);
  std::vector<int> expected;
  for (int line = 7; line <= 25; ++line)
    if (line != 10) expected.push_back(line);
  expected.insert(expected.begin(), 6);
  expected.push_back(10);
  EXPECT_EQ(expected, GoToLineHistory());
  const TGotoLineFormData& last = control.ScriptedForms.GotoShown.back();
  EXPECT_EQ("25", last.History.front());
  EXPECT_EQ("6", last.History.back());
  EXPECT_EQ("25", last.Text);  // the caret's line, 1-based
}

TEST(PlacePrompt, StandsAboveTheMatchOrBelowItsLineAndStaysOnTheScreen) {
  const TPopupRect screen{0, 0, 1000, 800};
  TPromptAnchor anchor{true, 300, 400, 416};
  EXPECT_EQ((TPopupRect{300, 300, 200, 100}), PlacePrompt(anchor, 200, 100, screen));
  anchor.X = 900;  // would cross the right edge
  EXPECT_EQ((TPopupRect{800, 300, 200, 100}), PlacePrompt(anchor, 200, 100, screen));
  anchor.LineTop = 100;  // no room above: below the line
  anchor.LineBottom = 116;
  EXPECT_EQ(116, PlacePrompt(anchor, 200, 100, screen).Top);
  anchor.LineTop = 101;  // just room above
  EXPECT_EQ(1, PlacePrompt(anchor, 200, 100, screen).Top);
  // No room above, and below the line would leave a low screen: moved up to end at its bottom.
  anchor.LineTop = 50;
  anchor.LineBottom = 66;
  EXPECT_EQ(50, PlacePrompt(anchor, 200, 100, TPopupRect{0, 0, 1000, 150}).Top);
  EXPECT_EQ(0, PlacePrompt(anchor, 1200, 100, screen).Left);  // wider than the screen
  anchor.AutoPlace = false;
  EXPECT_EQ((TPopupRect{400, 350, 200, 100}), PlacePrompt(anchor, 200, 100, screen));
}

}  // namespace
}  // namespace penwick
