// The entries of the colour boxes: readable names, "none", the custom entry,
// and which entry shows a colour.
#include <gtest/gtest.h>

#include <set>

#include "prefs/ColorBoxModel.h"
#include "syntax/CanvasState.h"

namespace penwick::test {
namespace {

std::vector<std::string> Names(const TColorBoxModel& box) {
  std::vector<std::string> names;
  for (const TColorBoxEntry& e : box.Entries()) names.push_back(e.Name);
  return names;
}

TEST(ColorBoxModel, TheStyleBoxListsEveryNamedColourOnceInOrder) {
  const TColorBoxModel box(kStyleColorBox);
  const std::vector<std::string> want = {
      "Custom...", "none",
      "Black", "Maroon", "Green", "Olive", "Navy", "Purple", "Teal", "Gray", "Silver", "Red", "Lime", "Yellow",
      "Blue", "Fuchsia", "Aqua", "White",
      "Money Green", "Sky Blue", "Cream", "Medium Gray",
      "Scroll Bar", "Background", "Active Caption", "Inactive Caption", "Menu", "Window", "Window Frame",
      "Menu Text", "Window Text", "Caption Text", "Active Border", "Inactive Border", "Application Workspace",
      "Highlight", "Highlight Text", "Button Face", "Button Shadow", "Gray Text", "Button Text",
      "Inactive Caption Text", "Button Highlight", "3D Dark Shadow", "3D Light", "Info Text", "Info Background",
      "Hot Light", "Gradient Active Caption", "Gradient Inactive Caption", "Menu Highlight", "Menu Bar"};
  EXPECT_EQ(Names(box), want);
  // Values that a wrong row of the table would give away.
  const std::pair<const char*, std::uint32_t> spot[] = {
      {"none", clNone},          {"Maroon", 128},         {"Navy", 8388608},           {"Money Green", 12639424},
      {"Medium Gray", 10789024}, {"Scroll Bar", 0xFF000000u}, {"Button Face", 0xFF00000Fu},
      {"Hot Light", 0xFF00001Au}, {"Menu Bar", 0xFF00001Eu}};
  for (const auto& [name, color] : spot) {
    SCOPED_TRACE(name);
    TColorBoxModel probe(kStyleColorBox);
    const int index = probe.Select(color);
    ASSERT_GE(index, 0);
    EXPECT_EQ(probe.Entries()[static_cast<std::size_t>(index)].Name, name);
  }
}

TEST(ColorBoxModel, EveryListedColourSelectsItsOwnEntryAndAnyOtherGoesToTheCustomEntry) {
  for (unsigned style : {kStyleColorBox, kBorderColorBox}) {
    TColorBoxModel box(style);
    std::set<std::uint32_t> seen;
    for (int i = 0; i < box.Count(); ++i) {
      const TColorBoxEntry entry = box.Entries()[static_cast<std::size_t>(i)];
      if (entry.Custom) continue;
      EXPECT_TRUE(seen.insert(entry.Color).second) << entry.Name << " is listed twice";
      EXPECT_EQ(box.Select(entry.Color), i) << entry.Name;
      EXPECT_EQ(box.SelectedColor(), entry.Color);
    }
    const std::uint32_t custom = 0x123456;
    EXPECT_EQ(box.Select(custom), box.CustomIndex());
    EXPECT_EQ(box.SelectedColor(), custom);
    // Moving to a listed colour leaves the custom entry holding the last one.
    EXPECT_NE(box.Select(0xFFFFFF), box.CustomIndex());
    EXPECT_EQ(box.Entries()[static_cast<std::size_t>(box.CustomIndex())].Color, custom);
  }
}

TEST(ColorBoxModel, BorderBoxesHaveNeitherSystemColoursNorNone) {
  TColorBoxModel box(kBorderColorBox);
  EXPECT_EQ(box.Count(), 1 + 16 + 4);
  for (const TColorBoxEntry& e : box.Entries()) {
    EXPECT_NE(e.Name, "none");
    EXPECT_NE(e.Color >> 24, 0xFFu) << e.Name;
  }
  // Colours that only the style boxes list become custom colours here.
  EXPECT_EQ(box.Select(clNone), box.CustomIndex());
  EXPECT_EQ(box.Select(clWindowText), box.CustomIndex());
  EXPECT_EQ(box.SelectedColor(), clWindowText);
}

TEST(ColorBoxModel, PicksAndBoxesWithoutACustomEntry) {
  TColorBoxModel box(kStyleColorBox);
  box.Pick(box.CustomIndex(), 0xABCDEF);
  EXPECT_EQ(box.Selected(), 0);
  EXPECT_EQ(box.SelectedColor(), 0xABCDEFu);
  box.Pick(1);
  EXPECT_EQ(box.SelectedColor(), clNone);
  box.Pick(box.Count());  // out of range: nothing changes
  EXPECT_EQ(box.Selected(), 1);

  TColorBoxModel plain(cbStandardColors);
  EXPECT_EQ(plain.CustomIndex(), -1);
  EXPECT_EQ(plain.Select(0x123456), -1);
  EXPECT_EQ(plain.SelectedColor(77), 77u);
}

}  // namespace
}  // namespace penwick::test
