// Owned, ordered collections of named items.
#include "syntax/SyntCollection.h"

#include <algorithm>

namespace penwick {

void TSyntCollectionItem::SetDisplayName(const std::string& name) {
  if (m_displayName == name) return;
  if (m_collection) {
    m_collection->CountName(m_displayName, -1);
    m_collection->CountName(name, +1);
  }
  m_displayName = name;
  Changed();
}

void TSyntCollectionItem::SetEnabled(bool enabled) {
  if (m_enabled == enabled) return;
  m_enabled = enabled;
  Changed();
}

int TSyntCollectionItem::Index() const { return m_collection ? m_collection->IndexOf(this) : -1; }

void TSyntCollectionItem::Changed() {
  if (m_collection) m_collection->NotifyChanged();
}

TSyntCollectionBase::~TSyntCollectionBase() = default;

TSyntCollectionItem* TSyntCollectionBase::ItemAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_items[static_cast<std::size_t>(index)].get();
}

namespace {

// The n of a name "<prefix><n>" (n written without leading zeros), or 0.
// Numbers too long for the count of any collection are not looked at.
std::size_t DefaultNumber(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.size() > prefix.size() + 15 || name.compare(0, prefix.size(), prefix) != 0 ||
      name[prefix.size()] == '0')
    return 0;
  std::size_t number = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    number = number * 10 + static_cast<std::size_t>(name[i] - '0');
  }
  return number;
}

}  // namespace

void TSyntCollectionBase::CountName(const std::string& name, int delta) {
  if (m_prefix.empty()) return;
  const std::size_t number = DefaultNumber(name, m_prefix);
  if (number == 0) return;
  int& use = m_numberUse[number];
  const bool wasFree = use == 0;
  use += delta;
  const bool inRange = number <= m_items.size() + 1;
  if (use == 0) {
    m_numberUse.erase(number);
    if (inRange) m_freeNumbers.insert(number);
  } else if (wasFree && inRange) {
    m_freeNumbers.erase(number);
  }
}

void TSyntCollectionBase::RangeGrew() {
  const std::size_t added = m_items.size() + 1;
  if (!m_numberUse.count(added)) m_freeNumbers.insert(added);
}

void TSyntCollectionBase::RangeShrank() { m_freeNumbers.erase(m_items.size() + 2); }

TSyntCollectionItem* TSyntCollectionBase::AddItem(std::unique_ptr<TSyntCollectionItem> item) {
  if (m_prefix.empty()) m_prefix = std::string(item->KindName()) + " ";
  item->m_displayName = m_prefix + std::to_string(*m_freeNumbers.begin());
  item->m_collection = this;
  m_items.push_back(std::move(item));
  RangeGrew();
  CountName(m_items.back()->m_displayName, +1);
  NotifyChanged();
  return m_items.back().get();
}

void TSyntCollectionBase::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  TSyntCollectionItem* item = m_items[static_cast<std::size_t>(index)].get();
  if (OnItemsDeleting) OnItemsDeleting({item});
  CountName(item->m_displayName, -1);
  m_items.erase(m_items.begin() + index);
  RangeShrank();
  NotifyChanged();
}

void TSyntCollectionBase::Clear() {
  if (m_items.empty()) return;
  if (OnItemsDeleting) {
    std::vector<TSyntCollectionItem*> items;
    items.reserve(m_items.size());
    for (const auto& item : m_items) items.push_back(item.get());
    OnItemsDeleting(items);
  }
  while (!m_items.empty()) m_items.pop_back();
  m_numberUse.clear();
  m_freeNumbers = {1};
  NotifyChanged();
}

void TSyntCollectionBase::Move(int from, int to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) return;
  auto item = std::move(m_items[static_cast<std::size_t>(from)]);
  m_items.erase(m_items.begin() + from);
  m_items.insert(m_items.begin() + to, std::move(item));
  NotifyChanged();
}

int TSyntCollectionBase::IndexOf(const TSyntCollectionItem* item) const {
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i].get() == item) return static_cast<int>(i);
  return -1;
}

TSyntCollectionItem* TSyntCollectionBase::FindByName(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (const auto& item : m_items)
    if (item->m_displayName == name) return item.get();
  return nullptr;
}

TSyntNameIndex::TSyntNameIndex(const TSyntCollectionBase& collection) {
  m_items.reserve(static_cast<std::size_t>(collection.Count()));
  for (int i = 0; i < collection.Count(); ++i) {
    TSyntCollectionItem* item = collection.ItemAt(i);
    if (!item->DisplayName().empty()) m_items.emplace(item->DisplayName(), item);  // the first of a name stays
  }
}

TSyntCollectionItem* TSyntNameIndex::Find(const std::string& name) const {
  const auto it = m_items.find(name);
  return it == m_items.end() ? nullptr : it->second;
}

}  // namespace penwick
