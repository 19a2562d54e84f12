// The editor's hint settings, its own mark styles and the caret shapes, without a window.
#include <gtest/gtest.h>

#include <functional>

#include "editor/DefaultStyles.h"
#include "editor/EcCaretShape.h"
#include "editor/HintProps.h"

namespace penwick {
namespace {

TEST(HintProps, DefaultsAreThoseTheEditorStartsWith) {
  THintProps props;
  EXPECT_EQ(props.Color(), 13041663u);
  EXPECT_EQ(props.Color() & 0xFF, 255u);
  EXPECT_EQ((props.Color() >> 8) & 0xFF, 255u);
  EXPECT_EQ((props.Color() >> 16) & 0xFF, 198u);
  EXPECT_EQ(props.Font().Height, -11);
  EXPECT_TRUE(props.Shows(shScroll) && props.Shows(shCollapsed) && props.Shows(shGutter) && props.Shows(shTokens));
  EXPECT_EQ(props.DelayBefore(), 500);
  EXPECT_EQ(props.TimeCollapsed(), 10000);
  EXPECT_EQ(props.TimeGutter(), 5000);
  EXPECT_EQ(props.TimeTokens(), 10000);
  EXPECT_EQ(props.CollapsedLines(), 20);
}

TEST(HintProps, TimesAndTheLineCountMustBePositive) {
  using TGetter = int (THintProps::*)() const;
  using TSetter = void (THintProps::*)(int);
  const std::pair<TGetter, TSetter> fields[] = {
      {&THintProps::DelayBefore, &THintProps::SetDelayBefore},
      {&THintProps::TimeCollapsed, &THintProps::SetTimeCollapsed},
      {&THintProps::TimeGutter, &THintProps::SetTimeGutter},
      {&THintProps::TimeTokens, &THintProps::SetTimeTokens},
      {&THintProps::CollapsedLines, &THintProps::SetCollapsedLines},
  };
  for (const auto& [get, set] : fields) {
    THintProps props;
    int told = 0;
    props.OnChanged = [&] { ++told; };
    const int before = (props.*get)();
    for (int bad : {0, -1, -10000}) {
      try {
        (props.*set)(bad);
        ADD_FAILURE() << "accepted " << bad;
      } catch (const EHintPropsError& e) {
        EXPECT_STREQ(e.what(), "Time must be greater 0");
      }
      EXPECT_EQ((props.*get)(), before) << "a refused value changes nothing";
    }
    EXPECT_EQ(told, 0);
    (props.*set)(1);
    EXPECT_EQ((props.*get)(), 1);
    EXPECT_EQ(told, 1);
  }
}

TEST(DefaultStyles, MarksLayOverAStateAsConfigured) {
  TDefaultStyles styles;
  TCanvasState state;
  state.TextColor = 0x123456;
  state.BgColor = 0x654321;
  state.FontStyle = fsBold;
  TCanvasState selected = state;
  styles.SelectioMark.ApplyToCanvas(selected, false);
  EXPECT_EQ(selected.TextColor, clHighlightText);
  EXPECT_EQ(selected.BgColor, clHighlight);
  EXPECT_EQ(selected.FontStyle, fsBold) << "colours only: the font style stays";
  TCanvasState searched = state;
  styles.SearchMark.ApplyToCanvas(searched, false);
  EXPECT_EQ(searched.TextColor, 0xFFFFFFu);
  EXPECT_EQ(searched.BgColor, clBlack);
  TCanvasState current = state;
  styles.CurrentLine.ApplyToCanvas(current, false);
  EXPECT_EQ(current, state) << "the current line is not highlighted";
  TCanvasState collapsed = state;
  styles.CollapseMark.ApplyToCanvas(collapsed, false);
  EXPECT_EQ(collapsed.TextColor, 0xC0C0C0u);
  EXPECT_EQ(collapsed.BgColor, state.BgColor);
  EXPECT_EQ(styles.CollapseMark.BorderTypeLeft, blSolid);
  EXPECT_EQ(styles.CollapseMark.BorderColorBottom, 0xC0C0C0u);
}

TEST(CaretShape, NegativeIsPixelsOtherwiseAPercentageNeverZero) {
  const TCaretShapes shapes;
  EXPECT_EQ(shapes.Insert.PixelWidth(8), 2);
  EXPECT_EQ(shapes.Insert.PixelHeight(15), 15);
  EXPECT_EQ(shapes.Overwrite.PixelWidth(8), 8);
  EXPECT_EQ(shapes.Overwrite.PixelWidth(13), 13);
  EXPECT_EQ(shapes.ReadOnly.PixelWidth(8), 1);
  const TecCaretShape half{50, 50};
  EXPECT_EQ(half.PixelWidth(9), 4);
  EXPECT_EQ(half.PixelHeight(15), 7);
  const TecCaretShape zero{0, 0};
  EXPECT_EQ(zero.PixelWidth(8), 1);
  EXPECT_EQ(zero.PixelHeight(15), 1);
  const TecCaretShape tiny{10, 5};
  EXPECT_EQ(tiny.PixelWidth(8), 1) << "0.8 pixels rounds down to 0, which becomes 1";
  EXPECT_EQ(tiny.PixelHeight(15), 1);
}

}  // namespace
}  // namespace penwick
