// The editor's context menu over its command dispatcher.
#include "editor/QtContextMenu.h"

#include <QMenu>

#include "editor/CommandDispatcher.h"
#include "editor/EditorCommandIds.h"

namespace penwick {

QMenu* TQtContextMenu::Create(QWidget* parent, TCommandDispatcher& dispatcher) {
  auto* menu = new QMenu(parent);
  menu->setObjectName("editorContextMenu");
  menu->setAttribute(Qt::WA_DeleteOnClose);
  struct TItem {
    const char* Caption;  // nullptr: a separator
    int Command;
  };
  const TItem items[] = {{"&Undo", cmUndo}, {"&Redo", cmRedo},   {nullptr, 0},
                         {"Cu&t", cmCut},   {"&Copy", cmCopy},   {"&Paste", cmPaste},
                         {"&Delete", cmDeleteSelection},         {nullptr, 0},
                         {"Select &All", cmSelectAll}};
  for (const TItem& item : items) {
    if (!item.Caption) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(QString::fromLatin1(item.Caption));
    action->setEnabled(dispatcher.IsAvailable(item.Command));
    const int command = item.Command;
    QObject::connect(action, &QAction::triggered, menu, [&dispatcher, command] { dispatcher.Execute(command); });
  }
  return menu;
}

QMenu* TQtContextMenu::Popup(QWidget* parent, TCommandDispatcher& dispatcher, QPoint globalPos) {
  QMenu* menu = Create(parent, dispatcher);
  menu->popup(globalPos);
  return menu;
}

}  // namespace penwick
