// The editor's own context menu: Undo, Redo, Cut, Copy, Paste, Delete and
// Select All, each enabled only while its command is available.
#pragma once

#include <QPoint>

class QMenu;
class QWidget;

namespace penwick {

class TCommandDispatcher;

// The menu is a child of `parent`, deletes itself when closed, and runs its
// items through `dispatcher` (which must outlive the parent).
class TQtContextMenu {
public:
  // Builds the menu with the enabled states of this moment.
  static QMenu* Create(QWidget* parent, TCommandDispatcher& dispatcher);
  // Creates the menu and shows it at `globalPos` without blocking.
  static QMenu* Popup(QWidget* parent, TCommandDispatcher& dispatcher, QPoint globalPos);
};

}  // namespace penwick
