// The line-start table's lazy shift against a plain vector under random edits.
#include "editor/Partitioning.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace penwick {
namespace {

void ExpectSame(const TPartitioning& table, const std::vector<int>& model) {
  ASSERT_EQ(table.Count(), static_cast<int>(model.size()));
  for (int i = 0; i < table.Count(); ++i) ASSERT_EQ(table.ValueAt(i), model[static_cast<size_t>(i)]) << "entry " << i;
}

TEST(Partitioning, RandomShiftsInsertsAndRemovesMatchAPlainVector) {
  std::mt19937 random(7);
  TPartitioning table;
  std::vector<int> model;
  for (int i = 0; i < 200; ++i) model.push_back(i * 10);
  table.Adopt(std::vector<int>(model));
  for (int step = 0; step < 4000; ++step) {
    const int count = static_cast<int>(model.size());
    const int op = static_cast<int>(random() % 4);
    if (op <= 1 && count > 0) {
      // Shifts far from and near to the previous one, both directions.
      const int index = static_cast<int>(random() % (count + 1)) - 1;
      const int delta = static_cast<int>(random() % 7) - 3;
      table.ShiftAfter(index, delta);
      for (int j = index + 1; j < count; ++j) model[static_cast<size_t>(j)] += delta;
    } else if (op == 2) {
      const int index = static_cast<int>(random() % (count + 1));
      const int value = static_cast<int>(random() % 1000);
      table.Insert(index, value);
      model.insert(model.begin() + index, value);
    } else if (count > 0) {
      const int index = static_cast<int>(random() % count);
      const int n = std::min(count - index, static_cast<int>(random() % 3) + 1);
      table.Remove(index, n);
      model.erase(model.begin() + index, model.begin() + index + n);
    }
    ASSERT_GE(table.StepIndex(), -1);
    ASSERT_LT(table.StepIndex(), std::max(table.Count(), 1));
    ExpectSame(table, model);
  }
}

TEST(Partitioning, BisectionFindsTheLastEntryAtOrBeforeAnOffsetWhileAShiftIsPending) {
  TPartitioning table;
  table.Adopt({0, 5, 9, 20});
  table.ShiftAfter(1, 3);  // 0 5 12 23, the last two still pending
  EXPECT_EQ(table.LastAtOrBefore(-1), -1);
  EXPECT_EQ(table.LastAtOrBefore(0), 0);
  EXPECT_EQ(table.LastAtOrBefore(11), 1);
  EXPECT_EQ(table.LastAtOrBefore(12), 2);
  EXPECT_EQ(table.LastAtOrBefore(1000), 3);
  table.Insert(2, 8);  // into the pending part
  EXPECT_EQ(table.ValueAt(2), 8);
  EXPECT_EQ(table.ValueAt(3), 12);
  EXPECT_EQ(table.LastAtOrBefore(9), 2);
}

}  // namespace
}  // namespace penwick
