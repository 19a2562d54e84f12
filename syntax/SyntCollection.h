// Owned, ordered collections of named items (`TSyntCollection`): the styles and rules of a lexer definition.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace penwick {

class TSyntCollectionBase;
class TSyntAnalyzer;

// An item of a collection. Its DisplayName is what other items refer to it
// by (exact, case-sensitive).
class TSyntCollectionItem {
public:
  virtual ~TSyntCollectionItem() = default;
  TSyntCollectionItem(const TSyntCollectionItem&) = delete;
  TSyntCollectionItem& operator=(const TSyntCollectionItem&) = delete;

  // The kind name that default display names start with ("Style", ...).
  virtual const char* KindName() const = 0;

  const std::string& DisplayName() const { return m_displayName; }
  void SetDisplayName(const std::string& name);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool enabled);

  TSyntCollectionBase* Collection() const { return m_collection; }
  // Index in the owning collection, -1 when not owned.
  int Index() const;
  // Tells the owner that something about the item changed.
  void Changed();

protected:
  TSyntCollectionItem() = default;

private:
  friend class TSyntCollectionBase;
  std::string m_displayName;
  bool m_enabled = true;
  TSyntCollectionBase* m_collection = nullptr;
};

// Untyped part of a collection: ownership, order and change notification.
// Every change (add, delete, move, item change) calls the owner's handler;
// a deletion first calls the deletion handler, once with every item that
// goes, so references can be dropped. A collection holds items of one kind.
class TSyntCollectionBase {
public:
  virtual ~TSyntCollectionBase();
  TSyntCollectionBase(const TSyntCollectionBase&) = delete;
  TSyntCollectionBase& operator=(const TSyntCollectionBase&) = delete;

  int Count() const { return static_cast<int>(m_items.size()); }
  // nullptr for an index out of range.
  TSyntCollectionItem* ItemAt(int index) const;
  void Delete(int index);
  void Clear();
  void Move(int from, int to);
  int IndexOf(const TSyntCollectionItem* item) const;
  // First item whose DisplayName equals `name` exactly; nullptr if none or empty.
  TSyntCollectionItem* FindByName(const std::string& name) const;

  // The definition that owns the collection (nullptr for a free collection).
  TSyntAnalyzer* Owner() const { return m_owner; }
  void SetOwner(TSyntAnalyzer* owner) { m_owner = owner; }

  std::function<void()> OnChanged;
  std::function<void(const std::vector<TSyntCollectionItem*>& items)> OnItemsDeleting;

  void NotifyChanged() {
    if (OnChanged) OnChanged();
  }

protected:
  TSyntCollectionBase() = default;
  // The item gets the default name "<kind> <n>" with the least n >= 1 that
  // no item's name holds. Cost: O(log n), however the names were made.
  TSyntCollectionItem* AddItem(std::unique_ptr<TSyntCollectionItem> item);

private:
  friend class TSyntCollectionItem;
  // Keeps the default-name numbers up to date: `delta` is +1 when an item
  // takes `name`, -1 when it gives it up.
  void CountName(const std::string& name, int delta);
  // The numbers 1..Count() + 1 follow the count of items.
  void RangeGrew();
  void RangeShrank();

  std::vector<std::unique_ptr<TSyntCollectionItem>> m_items;
  TSyntAnalyzer* m_owner = nullptr;
  // "<kind> ", from the first item added; how many items hold each number
  // after it; and the numbers from 1 to Count() + 1 that no item holds (never
  // empty: n items cannot hold n + 1 numbers).
  std::string m_prefix;
  std::unordered_map<std::size_t, int> m_numberUse;
  std::set<std::size_t> m_freeNumbers{1};
};

// The items of a collection by DisplayName, for resolving many names at once
// (the end of a load): built in O(n), each lookup O(1) on average. Finds what
// FindByName finds; valid until the collection or a name changes.
class TSyntNameIndex {
public:
  explicit TSyntNameIndex(const TSyntCollectionBase& collection);
  TSyntCollectionItem* Find(const std::string& name) const;

private:
  std::unordered_map<std::string_view, TSyntCollectionItem*> m_items;
};

// A collection of one item class.
template <class T>
class TSyntCollection : public TSyntCollectionBase {
public:
  T* Add() { return static_cast<T*>(AddItem(std::make_unique<T>())); }
  T* operator[](int index) const { return static_cast<T*>(ItemAt(index)); }
  T* Find(const std::string& name) const { return static_cast<T*>(FindByName(name)); }
};

}  // namespace penwick
