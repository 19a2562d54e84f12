// The editor side of searching: the list of components bound to it.
#include "editor/SearchControl.h"

#include <algorithm>

#include "editor/BaseFindDialog.h"

namespace penwick {

TSearchControl::~TSearchControl() {
  // The components must not call back into Unbind while the list goes away.
  const std::vector<TBaseFindDialog*> bound = std::move(m_bound);
  m_bound.clear();
  for (TBaseFindDialog* component : bound) component->ControlDestroyed();
}

void TSearchControl::Bind(TBaseFindDialog* component) {
  if (!component || std::find(m_bound.begin(), m_bound.end(), component) != m_bound.end()) return;
  m_bound.push_back(component);
}

void TSearchControl::Unbind(TBaseFindDialog* component) { std::erase(m_bound, component); }

}  // namespace penwick
