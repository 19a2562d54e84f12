// The structures a change cuts (chunked token list, reopen index, change list), each driven at random against a plain model.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "syntax/ChangeFixer.h"
#include "syntax/ReopenIndex.h"
#include "syntax/TokenList.h"

namespace penwick::test {
namespace {

TSyntToken TokenAt(std::uint32_t start) {
  TSyntToken t;
  t.StartPos = start;
  t.EndPos = start + 2;
  t.TokenType = static_cast<std::int16_t>(start % 7);
  return t;
}

void ExpectSame(const std::vector<TSyntToken>& model, const TTokenList& list, const char* what) {
  ASSERT_EQ(model.size(), list.size()) << what;
  for (std::size_t i = 0; i < model.size(); ++i) {
    ASSERT_EQ(model[i].StartPos, list[i].StartPos) << what << ", token " << i;
    ASSERT_EQ(model[i].TokenType, list[i].TokenType) << what << ", token " << i;
  }
}

TEST(TokenList, CutsAndTailsAcrossChunksKeepEveryToken) {
  std::mt19937 rng(3u);
  constexpr std::size_t kChunk = TTokenList::kChunk;
  for (int round = 0; round < 40; ++round) {
    TTokenList live, tail;
    std::vector<TSyntToken> liveModel, tailModel;
    std::uint32_t next = 0;
    for (int step = 0; step < 12; ++step) {
      switch (rng() % 4) {
        case 0:
        case 1: {  // a run of analysis, often across a chunk boundary
          const std::size_t count = rng() % (2 * kChunk + 3);
          for (std::size_t i = 0; i < count; ++i, next += 3) {
            live.push_back(TokenAt(next));
            liveModel.push_back(TokenAt(next));
          }
          break;
        }
        case 2: {  // a change: the tail set aside, cut on, before or after a chunk boundary
          const std::size_t size = liveModel.size();
          std::size_t keep = size ? rng() % (size + 1) : 0;
          if (rng() % 3 == 0) {  // next to a boundary
            keep = (keep / kChunk) * kChunk + rng() % 3;
            keep = std::min(size, keep > 0 ? keep - 1 : 0);
          }
          if (keep < size) {
            tailModel.assign(liveModel.begin() + static_cast<std::ptrdiff_t>(keep), liveModel.end());
            liveModel.resize(keep);
          }
          live.SplitTail(keep, tail);
          next = liveModel.empty() ? 0 : liveModel.back().EndPos + 1;
          break;
        }
        default: {  // a later change while a tail is aside
          const std::size_t keep = liveModel.empty() ? 0 : rng() % liveModel.size();
          liveModel.resize(keep);
          live.Truncate(keep);
          next = liveModel.empty() ? 0 : liveModel.back().EndPos + 1;
          break;
        }
      }
      ExpectSame(liveModel, live, "live");
      ExpectSame(tailModel, tail, "tail");
      // Halving search over each list.
      for (const auto* pair : {&liveModel, &tailModel}) {
        const TTokenList& list = pair == &liveModel ? live : tail;
        if (pair->empty()) continue;
        const std::uint32_t offset = pair->front().StartPos + rng() % (pair->back().EndPos - pair->front().StartPos + 4);
        const auto it = std::upper_bound(pair->begin(), pair->end(), offset,
                                         [](std::uint32_t off, const TSyntToken& t) { return off < t.EndPos; });
        ASSERT_EQ(static_cast<std::size_t>(it - pair->begin()), list.FirstEndingAfter(offset));
      }
    }
    // Moving a list leaves the source empty.
    TTokenList moved = std::move(tail);
    EXPECT_TRUE(tail.empty());
    ExpectSame(tailModel, moved, "moved");
  }
}

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

// The original identity of each character of a text under edits: -1 for
// characters inserted since.
struct TTracedText {
  std::vector<int> Origin;
  explicit TTracedText(int length) {
    for (int i = 0; i < length; ++i) Origin.push_back(i);
  }
  void Insert(int pos, int count) { Origin.insert(Origin.begin() + pos, static_cast<std::size_t>(count), -1); }
  void Delete(int pos, int count) { Origin.erase(Origin.begin() + pos, Origin.begin() + pos + count); }
};

TEST(ChangeFixer, JoinedRecordsOfTypingMapLikeOneRecordPerChange) {
  std::mt19937 rng(29u);
  for (int round = 0; round < 300; ++round) {
    TTracedText text(60);
    TChangeFixer joined, single;
    int caret = static_cast<int>(rng() % 60);
    for (int change = 0; change < 25; ++change) {
      const int size = static_cast<int>(text.Origin.size());
      // Mostly typing, backspacing and deleting at a caret that moves on
      // with them; now and then the caret jumps.
      if (rng() % 6 == 0) caret = static_cast<int>(rng() % static_cast<unsigned>(size + 1));
      int pos = caret, count;
      switch (rng() % 4) {
        case 0:
        case 1:
          count = 1 + static_cast<int>(rng() % 3);
          text.Insert(pos, count);
          caret = pos + count;
          break;
        case 2:  // backspace
          count = -std::min(caret, 1 + static_cast<int>(rng() % 2));
          pos = caret + count;
          if (count) text.Delete(pos, -count);
          caret = pos;
          break;
        default:  // delete forward
          count = -std::min(size - caret, 1 + static_cast<int>(rng() % 2));
          if (count) text.Delete(pos, -count);
          break;
      }
      if (count == 0) continue;
      joined.Add(pos, count);
      single.Add(pos, count);
      single.Seal();  // never joined: one record per change
    }
    EXPECT_LE(joined.Count(), single.Count());
    const int size = static_cast<int>(text.Origin.size());
    for (int offset = 0; offset <= size + 2; ++offset) {
      ASSERT_EQ(single.MapBack(offset), joined.MapBack(offset)) << "round " << round << ", offset " << offset;
      if (offset < size) {
        const int origin = text.Origin[static_cast<std::size_t>(offset)];
        ASSERT_EQ(origin < 0 ? std::nullopt : std::optional<int>(origin), joined.MapBack(offset)) << "round " << round;
      }
    }
    for (int old = 0; old <= 62; ++old)
      ASSERT_EQ(single.MapForward(old), joined.MapForward(old)) << "round " << round << ", old offset " << old;
  }
}

TEST(ChangeFixer, RecordsBeforeASealAreNotJoined) {
  TChangeFixer f;
  f.Add(4, 2);
  f.Seal();
  f.Add(6, 1);  // would continue the insertion
  ASSERT_EQ(f.Count(), 2u);
  EXPECT_EQ(f.MapBack(6, 1), std::nullopt);
  EXPECT_EQ(f.MapBack(5, 1), 5);  // inserted before the seal: not mapped from record 1
  f.Add(7, 1);
  EXPECT_EQ(f.Count(), 2u);
  f.Add(6, -2);  // deletes the two characters typed after the seal
  EXPECT_EQ(f.Count(), 1u);
}

}  // namespace
}  // namespace penwick::test
