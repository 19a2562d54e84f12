// Shows the recent-files list as actions of the menus that hold a hidden
// anchor action, right below it.
#pragma once

#include <QPointer>
#include <vector>

#include "app/MRUfiles.h"

class QAction;

namespace penwick {

// Each rebuild removes the actions it inserted last time from every widget
// they were added to, then inserts into every QMenu holding the anchor,
// directly after it: a separator (only when there are entries) and one action
// per entry (text = caption, status tip = hint, object name "mniRecent<N>"
// with N from 1). Triggering an action calls TMRUFiles::Click with its index.
// Old actions are deleted later from the event loop, so a click whose handler
// changes the list (and so rebuilds the menu) never deletes the action whose
// signal is still being delivered; they are disconnected at once.
// The actions are children of the anchor and die with it. `files` must
// outlive this object; the destructor unregisters it from `files` when it is
// still the list's menu, which removes its actions.
class TQtMRUMenu final : public TMRUMenu {
public:
  TQtMRUMenu(QAction* anchor, TMRUFiles& files);
  ~TQtMRUMenu() override;
  TQtMRUMenu(const TQtMRUMenu&) = delete;
  TQtMRUMenu& operator=(const TQtMRUMenu&) = delete;

  void Rebuild(const std::vector<TMRUMenuEntry>& entries) override;

  // The entry actions of the last rebuild, in list order.
  std::vector<QAction*> Items() const;
  // The separator above them; null while the list is empty.
  QAction* Separator() const { return m_separator; }

private:
  void RemoveItems();

  QPointer<QAction> m_anchor;
  TMRUFiles& m_files;
  QPointer<QAction> m_separator;
  std::vector<QPointer<QAction>> m_items;
};

}  // namespace penwick
