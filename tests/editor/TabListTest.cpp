// Tab stops: parsing, the repeat past the last stop, duplicates.
#include "editor/TabList.h"

#include <gtest/gtest.h>

namespace penwick {
namespace {

TEST(TabList, StopsRepeatAtTheIntervalOfTheLastTwo) {
  TTabList tabs;
  EXPECT_EQ(tabs.AsString(), "4");
  EXPECT_EQ(tabs.NextTabStop(0), 4);
  EXPECT_EQ(tabs.NextTabStop(3), 4);
  EXPECT_EQ(tabs.NextTabStop(4), 8);
  EXPECT_EQ(tabs.NextTabStop(9), 12);

  tabs.SetAsString("4 10");
  EXPECT_EQ(tabs.NextTabStop(0), 4);
  EXPECT_EQ(tabs.NextTabStop(4), 10);
  EXPECT_EQ(tabs.NextTabStop(10), 16);
  EXPECT_EQ(tabs.NextTabStop(17), 22);

  tabs.SetAsString(" 10,x3;;");  // any non-digit separates; stops are kept sorted
  EXPECT_EQ(tabs.AsString(), "3 10");

  tabs.SetAsString("");
  EXPECT_EQ(tabs.NextTabStop(7), 8);
}

TEST(TabList, ARepeatedStopRaisesAndKeepsTheStopsBeforeIt) {
  TTabList tabs;
  try {
    tabs.SetAsString("2 6 2 9");
    FAIL() << "no error";
  } catch (const ETabListError& e) {
    EXPECT_STREQ(e.what(), "Duplicate tab position");
  }
  EXPECT_EQ(tabs.AsString(), "2 6");
}

}  // namespace
}  // namespace penwick
