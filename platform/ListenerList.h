// An ordered list of listeners that may come and go while they are being told
// something, and the handle that keeps one listener subscribed.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <utility>

namespace penwick {

// Keeps a listener subscribed for its lifetime (move-only). The list it came
// from must outlive it, or the handle must be Reset() first.
class TSubscription {
public:
  TSubscription() = default;
  explicit TSubscription(std::function<void()> unsubscribe) : m_unsubscribe(std::move(unsubscribe)) {}
  TSubscription(TSubscription&& other) noexcept : m_unsubscribe(std::exchange(other.m_unsubscribe, nullptr)) {}
  TSubscription& operator=(TSubscription&& other) noexcept {
    if (this != &other) {
      Reset();
      m_unsubscribe = std::exchange(other.m_unsubscribe, nullptr);
    }
    return *this;
  }
  TSubscription(const TSubscription&) = delete;
  TSubscription& operator=(const TSubscription&) = delete;
  ~TSubscription() { Reset(); }

  // Unsubscribes now; the listener hears nothing more, even from a
  // notification that is in progress.
  void Reset() {
    if (auto unsubscribe = std::exchange(m_unsubscribe, nullptr)) unsubscribe();
  }
  bool Active() const { return static_cast<bool>(m_unsubscribe); }

private:
  std::function<void()> m_unsubscribe;
};

// Listeners of type T (a callable or a struct of callables) in the order
// they were added. ForEach visits them in that order and tolerates changes
// made by the listeners themselves:
//  - one removed during a visit is not visited afterwards (also not later in
//    the same visit);
//  - one added during a visit is first visited by the next ForEach;
//  - visits may nest (a listener that causes another notification).
// Entries live in a deque, so adding never moves the one being called.
// Costs: Add O(1); Remove O(n); ForEach O(n) plus the listeners' own work.
template <typename T>
class TListenerList {
public:
  TListenerList() = default;
  TListenerList(const TListenerList&) = delete;
  TListenerList& operator=(const TListenerList&) = delete;

  // Returns an id (> 0) for Remove.
  int Add(T listener) {
    const int id = m_nextId++;
    m_entries.push_back(TEntry{id, std::move(listener), true});
    return id;
  }

  // An unknown id, or one removed before, is ignored.
  void Remove(int id) {
    for (TEntry& entry : m_entries) {
      if (entry.Id != id || !entry.Live) continue;
      entry.Live = false;
      ++m_dead;
      break;
    }
    Compact();
  }

  // Adds a listener and returns the handle that removes it.
  TSubscription Subscribe(T listener) {
    const int id = Add(std::move(listener));
    return TSubscription([this, id] { Remove(id); });
  }

  template <typename Visit>
  void ForEach(Visit&& visit) {
    ++m_depth;
    struct TDepth {
      TListenerList& List;
      ~TDepth() {
        --List.m_depth;
        List.Compact();
      }
    } depth{*this};
    const std::size_t count = m_entries.size();
    for (std::size_t i = 0; i < count; ++i)
      if (m_entries[i].Live) visit(m_entries[i].Listener);
  }

  std::size_t Count() const { return m_entries.size() - m_dead; }
  bool Empty() const { return Count() == 0; }

private:
  struct TEntry {
    int Id;
    T Listener;
    bool Live;
  };

  // Removed entries are dropped once no visit is in progress.
  void Compact() {
    if (m_depth > 0 || m_dead == 0) return;
    std::erase_if(m_entries, [](const TEntry& entry) { return !entry.Live; });
    m_dead = 0;
  }

  std::deque<TEntry> m_entries;
  int m_nextId = 1;
  int m_depth = 0;
  std::size_t m_dead = 0;
};

}  // namespace penwick
