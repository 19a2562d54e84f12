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

// Stops at 0 or below never enter the list, so every interval is at least
// 1: no next stop divides by zero, and each lies past its column.
TEST(TabList, NoListDividesByZeroOrStandsStill) {
  TTabList tabs;
  tabs.SetAsString("0");
  EXPECT_EQ(tabs.AsString(), "");
  EXPECT_EQ(tabs.NextTabStop(5), 6);
  tabs.Clear();
  tabs.Add(0);
  tabs.Add(-3);
  EXPECT_EQ(tabs.AsString(), "");
  tabs.Add(1);
  for (const char* stops : {"1", "0 1", "1 2", "4", "4 10", "0 0"}) {
    tabs.SetAsString(stops);
    for (int column = -2; column < 40; ++column) EXPECT_GT(tabs.NextTabStop(column), column) << stops;
  }
}

}  // namespace
}  // namespace penwick
