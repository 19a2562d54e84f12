// Visual columns of lines with tabs, and the way back from a visual place.
#include "editor/ColumnLayout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editor/SyntMemoStrings.h"
#include "editor/TabList.h"

namespace penwick {
namespace {

TEST(ColumnLayout, TabsAdvanceToTheirStopsAndEveryCellMapsBackToItsCharacter) {
  std::mt19937 random(42);
  const char alphabet[] = {'a', 'b', '\t', '\t', ' '};
  for (const char* stops : {"4", "4 10", "3 5 6"}) {
    TTabList tabs;
    tabs.SetAsString(stops);
    for (int round = 0; round < 40; ++round) {
      std::string line(random() % 12, ' ');
      for (char& c : line) c = alphabet[random() % sizeof alphabet];
      TSyntMemoStrings lines;
      lines.SetText("x\r\n" + line + "\r\nz");
      const TColumnLayout layout(lines, tabs);
      const std::vector<int> cells = layout.CellStarts(1);
      ASSERT_EQ(cells.size(), line.size() + 1);
      int expected = 0;
      for (std::size_t i = 0; i <= line.size(); ++i) {
        ASSERT_EQ(cells[i], expected) << stops << " |" << line << "| " << i;
        ASSERT_EQ(layout.VisualColumn(1, static_cast<int>(i)), expected);
        ASSERT_EQ(layout.VisualColumnAt(lines.LineStart(1) + static_cast<int>(i)), expected);
        if (i < line.size()) expected = line[i] == '\t' ? tabs.NextTabStop(expected) : expected + 1;
      }
      // Every cell of a character maps back to it, or to the one after it
      // from the middle of the character on; beyond the end each cell is one column.
      for (std::size_t i = 0; i < line.size(); ++i) {
        for (int v = cells[i]; v < cells[i + 1]; ++v) {
          const int width = cells[i + 1] - cells[i];
          const int want = 2 * (v - cells[i]) < width ? static_cast<int>(i) : static_cast<int>(i) + 1;
          ASSERT_EQ(layout.NearestColumn(1, v), want) << stops << " |" << line << "| cell " << v;
          // The same in pixels, cells 8 wide, at the cell's left edge.
          ASSERT_EQ(layout.NearestColumn(1, v * 8, 8), want);
        }
      }
      const int end = cells.back();
      EXPECT_EQ(layout.NearestColumn(1, end + 3), static_cast<int>(line.size()) + 3);
      EXPECT_EQ(layout.VisualColumn(1, static_cast<int>(line.size()) + 2), end + 2);
    }
  }
}

TEST(ColumnLayout, LinesOutsideTheStoreReadEmpty) {
  TSyntMemoStrings lines;
  lines.SetText("\tab");
  TTabList tabs;
  const TColumnLayout layout(lines, tabs);
  EXPECT_EQ(layout.VisualColumn(0, 1), 4);
  EXPECT_EQ(layout.VisualColumn(7, 3), 3);
  EXPECT_EQ(layout.NearestColumn(-1, 5), 5);
  EXPECT_EQ(layout.CellStarts(3), std::vector<int>{0});
  EXPECT_EQ(layout.VisualColumn(0, -2), 0);
}

}  // namespace
}  // namespace penwick
