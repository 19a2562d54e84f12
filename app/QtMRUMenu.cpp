// The recent-files entries as QActions after the File menu's anchor.
#include "app/QtMRUMenu.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QString>

namespace penwick {

namespace {

void Discard(QAction* action) {
  if (!action) return;
  QObject::disconnect(action, &QAction::triggered, action, nullptr);  // our click connection only
  for (QObject* holder : action->associatedObjects())
    if (auto* widget = qobject_cast<QWidget*>(holder)) widget->removeAction(action);
  action->deleteLater();
}

}  // namespace

TQtMRUMenu::TQtMRUMenu(QAction* anchor, TMRUFiles& files) : m_anchor(anchor), m_files(files) {}

TQtMRUMenu::~TQtMRUMenu() {
  if (m_files.MenuItem() == this) m_files.SetMenuItem(nullptr);
  RemoveItems();
}

void TQtMRUMenu::Rebuild(const std::vector<TMRUMenuEntry>& entries) {
  RemoveItems();
  if (!m_anchor || entries.empty()) return;

  QList<QAction*> inserted;
  m_separator = new QAction(m_anchor);
  m_separator->setSeparator(true);
  m_separator->setObjectName(QStringLiteral("mniRecentSeparator"));
  inserted.append(m_separator);
  for (const TMRUMenuEntry& entry : entries) {
    auto* action = new QAction(QString::fromStdString(entry.Caption), m_anchor);
    action->setStatusTip(QString::fromStdString(entry.Hint));
    action->setObjectName(QStringLiteral("mniRecent%1").arg(entry.Index + 1));
    const int index = entry.Index;
    TMRUFiles* files = &m_files;
    QObject::connect(action, &QAction::triggered, action, [files, index] { files->Click(index); });
    m_items.emplace_back(action);
    inserted.append(action);
  }

  for (QObject* holder : m_anchor->associatedObjects()) {
    auto* menu = qobject_cast<QMenu*>(holder);
    if (!menu) continue;
    const QList<QAction*> actions = menu->actions();
    const qsizetype at = actions.indexOf(m_anchor.data());
    menu->insertActions(at + 1 < actions.size() ? actions[at + 1] : nullptr, inserted);
  }
}

std::vector<QAction*> TQtMRUMenu::Items() const {
  std::vector<QAction*> items;
  for (const QPointer<QAction>& item : m_items)
    if (item) items.push_back(item.data());
  return items;
}

void TQtMRUMenu::RemoveItems() {
  for (QPointer<QAction>& item : m_items) Discard(item.data());
  m_items.clear();
  Discard(m_separator.data());
  m_separator = nullptr;
}

}  // namespace penwick
