// Listener lists: order, and listeners that come and go while being told something.
#include "platform/ListenerList.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace penwick {
namespace {

using TListener = std::function<void(int)>;

void Tell(TListenerList<TListener>& list, int value) {
  list.ForEach([&](const TListener& listener) { listener(value); });
}

TEST(ListenerList, ListenersHearEveryNotificationInTheOrderTheySubscribed) {
  TListenerList<TListener> list;
  std::vector<std::string> log;
  auto a = list.Subscribe([&](int v) { log.push_back("a" + std::to_string(v)); });
  auto b = list.Subscribe([&](int v) { log.push_back("b" + std::to_string(v)); });
  auto c = list.Subscribe([&](int v) { log.push_back("c" + std::to_string(v)); });
  Tell(list, 1);
  Tell(list, 2);
  EXPECT_EQ(log, (std::vector<std::string>{"a1", "b1", "c1", "a2", "b2", "c2"}));
  b.Reset();
  log.clear();
  Tell(list, 3);
  EXPECT_EQ(log, (std::vector<std::string>{"a3", "c3"}));
  EXPECT_EQ(list.Count(), 2u);
}

TEST(ListenerList, ListenersMayLeaveOrJoinWhileBeingTold) {
  TListenerList<TListener> list;
  std::vector<std::string> log;
  std::optional<TSubscription> self, later, joined;
  self = list.Subscribe([&](int v) {
    log.push_back("self" + std::to_string(v));
    self->Reset();   // leaves in the middle of its own call
    later->Reset();  // and takes a listener that has not heard yet with it
    if (!joined) joined = list.Subscribe([&](int w) { log.push_back("joined" + std::to_string(w)); });
  });
  auto stays = list.Subscribe([&](int v) { log.push_back("stays" + std::to_string(v)); });
  later = list.Subscribe([&](int v) { log.push_back("later" + std::to_string(v)); });
  Tell(list, 1);
  // A listener that joined during a notification hears from the next one on.
  Tell(list, 2);
  EXPECT_EQ(log, (std::vector<std::string>{"self1", "stays1", "stays2", "joined2"}));
  EXPECT_EQ(list.Count(), 2u);
}

TEST(ListenerList, NestedNotificationsReachEveryoneAndRemovalsWaitForTheOutermost) {
  TListenerList<TListener> list;
  std::vector<std::string> log;
  std::optional<TSubscription> second;
  auto first = list.Subscribe([&](int v) {
    log.push_back("first" + std::to_string(v));
    if (v == 1) {
      second->Reset();
      Tell(list, 2);  // a listener that causes another notification
    }
  });
  second = list.Subscribe([&](int v) { log.push_back("second" + std::to_string(v)); });
  auto third = list.Subscribe([&](int v) { log.push_back("third" + std::to_string(v)); });
  Tell(list, 1);
  EXPECT_EQ(log, (std::vector<std::string>{"first1", "first2", "third2", "third1"}));
  // A handle moved elsewhere still unsubscribes exactly once.
  TSubscription moved = std::move(third);
  EXPECT_FALSE(third.Active());
  moved.Reset();
  log.clear();
  Tell(list, 3);
  EXPECT_EQ(log, (std::vector<std::string>{"first3"}));
}

}  // namespace
}  // namespace penwick
