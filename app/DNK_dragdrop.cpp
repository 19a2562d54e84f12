// The drop receiver of the main window and the rule for which dropped file
// opens.
#include "app/DNK_dragdrop.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QList>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <algorithm>

namespace penwick {

namespace {

bool OffersLocalFiles(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return false;
  const QList<QUrl> urls = mime->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

// Takes the files as a copy, whatever the source proposed: a move accepted
// here would have the source delete the user's file. False when the source
// offers no copy.
bool AcceptAsCopy(QDropEvent* event) {
  if (!(event->possibleActions() & Qt::CopyAction)) return false;
  event->setDropAction(Qt::CopyAction);
  event->accept();
  return true;
}

}  // namespace

TDNK_dragdrop::TDNK_dragdrop(QWidget* owner) : m_owner(owner) {
  if (m_owner) m_owner->installEventFilter(this);
}

TDNK_dragdrop::~TDNK_dragdrop() {
  if (m_owner) m_owner->removeEventFilter(this);
}

void TDNK_dragdrop::SetActive(bool value) {
  m_active = value;
  if (m_owner) m_owner->setAcceptDrops(value);
}

bool TDNK_dragdrop::eventFilter(QObject* watched, QEvent* event) {
  if (!m_active || watched != m_owner) return false;
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (OffersLocalFiles(drag->mimeData())) AcceptAsCopy(drag);
      return false;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      if (!drop->mimeData() || !drop->mimeData()->hasUrls() || !(drop->possibleActions() & Qt::CopyAction)) return false;
      m_files.clear();
      const QList<QUrl> urls = drop->mimeData()->urls();
      for (const QUrl& url : urls) {
        if (!url.isLocalFile()) continue;
        const QString name = url.toLocalFile();
        if (QFileInfo(name).isFile()) m_files.push_back(name.toStdString());
      }
      if (m_files.empty()) return false;
      AcceptAsCopy(drop);
      const int numItems = static_cast<int>(urls.size());
      QMetaObject::invokeMethod(
          this,
          [this, numItems, list = m_files] {
            if (m_active && OnFilesDropped) OnFilesDropped(numItems, list);
          },
          Qt::QueuedConnection);
      return true;
    }
    default:
      return false;
  }
}

std::optional<std::string> DroppedScript(const std::vector<std::string>& list) {
  if (list.empty() || list.front().empty()) return std::nullopt;
  const std::string& name = list.front();
#ifdef _WIN32
  const std::size_t nameStart = name.find_last_of("/\\:") + 1;  // npos + 1 == 0
#else
  const std::size_t nameStart = name.find_last_of('/') + 1;
#endif
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return std::nullopt;
  if (name.compare(dot, std::string::npos, ".mis") != 0) return std::nullopt;
  return name;
}

}  // namespace penwick
