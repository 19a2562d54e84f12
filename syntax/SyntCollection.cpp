// Owned, ordered collections of named items.
#include "syntax/SyntCollection.h"

#include <algorithm>

namespace penwick {

void TSyntCollectionItem::SetDisplayName(const std::string& name) {
  if (m_displayName == name) return;
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

std::string TSyntCollectionBase::UniqueDefaultName(const char* kind) const {
  // One pass over the names marks the numbers taken, so adding n items costs
  // O(n^2) in all rather than a search of the collection per candidate.
  const std::string prefix = std::string(kind) + " ";
  std::vector<bool> taken(m_items.size() + 2, false);
  for (const auto& item : m_items) {
    const std::string& name = item->m_displayName;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    std::size_t number = 0;
    bool digits = name[prefix.size()] != '0';
    for (std::size_t i = prefix.size(); digits && i < name.size(); ++i) {
      if (name[i] < '0' || name[i] > '9' || number >= taken.size()) digits = false;
      else number = number * 10 + static_cast<std::size_t>(name[i] - '0');
    }
    if (digits && number < taken.size()) taken[number] = true;
  }
  std::size_t n = 1;
  while (taken[n]) ++n;
  return prefix + std::to_string(n);
}

TSyntCollectionItem* TSyntCollectionBase::AddItem(std::unique_ptr<TSyntCollectionItem> item) {
  item->m_displayName = UniqueDefaultName(item->KindName());
  item->m_collection = this;
  m_items.push_back(std::move(item));
  NotifyChanged();
  return m_items.back().get();
}

void TSyntCollectionBase::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  if (OnItemDeleting) OnItemDeleting(m_items[static_cast<std::size_t>(index)].get());
  m_items.erase(m_items.begin() + index);
  NotifyChanged();
}

void TSyntCollectionBase::Clear() {
  if (m_items.empty()) return;
  while (!m_items.empty()) {
    if (OnItemDeleting) OnItemDeleting(m_items.back().get());
    m_items.pop_back();
  }
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

}  // namespace penwick
