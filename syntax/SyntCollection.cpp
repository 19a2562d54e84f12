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
  for (int n = 1;; ++n) {
    std::string candidate = std::string(kind) + " " + std::to_string(n);
    if (!FindByName(candidate)) return candidate;
  }
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
