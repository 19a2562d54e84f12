// The structures a change cuts (the reopen index), driven at random against a plain model.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "syntax/ReopenIndex.h"

namespace penwick::test {
namespace {

TEST(ReopenIndex, FindsExactlyTheKeysAboveACountThroughGrowthUpdatesAndShrinking) {
  std::mt19937 rng(11u);
  TReopenIndex index;
  std::vector<int> model;
  std::size_t largest = 0;
  for (int step = 0; step < 3000; ++step) {
    const unsigned what = rng() % 10;
    if (what < 5) {  // ranges made, most open (key 0)
      const int count = static_cast<int>(rng() % 300);
      for (int i = 0; i < count; ++i) {
        const int key = rng() % 4 ? 0 : static_cast<int>(rng() % 100000);
        index.Push(key);
        model.push_back(key);
      }
    } else if (what < 8 && !model.empty()) {  // a range closed or reopened
      const std::size_t slot = rng() % model.size();
      const int key = rng() % 2 ? 0 : static_cast<int>(rng() % 100000);
      index.Set(slot, key);
      model[slot] = key;
    } else if (!model.empty()) {  // ranges dropped by a change
      const std::size_t size = rng() % 16 ? model.size() - std::min<std::size_t>(model.size(), rng() % 200) : rng() % (model.size() + 1);
      index.Shrink(size);
      model.resize(size);
    }
    ASSERT_EQ(index.Size(), model.size());
    largest = std::max(largest, model.size());
    if (step % 50 == 0) {
      ASSERT_EQ(index.CheckInvariants(), "") << "step " << step;
    }
    const int count = static_cast<int>(rng() % 100000);
    std::vector<std::size_t> found, expected;
    index.CollectAbove(count, found);
    for (std::size_t i = 0; i < model.size(); ++i)
      if (model[i] > count) expected.push_back(i);
    ASSERT_EQ(expected, found) << "step " << step;
  }
  EXPECT_GT(largest, 64u * 64u);  // three levels or more were used
}

}  // namespace
}  // namespace penwick::test
