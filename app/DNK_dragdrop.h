// Receives files dropped on a window and reports the ones that exist.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace penwick {

// Watches the owner widget through an event filter (installed by the
// constructor, removed by the destructor; the owner may die first). While
// Active, dragging URLs of local files over the owner is accepted, always as
// a copy (a source offering no copy is refused), so that no source deletes
// the dropped files; a drop of
// URLs keeps, in order, the local file names naming an existing regular file
// (or a link to one): folders, vanished files and other URLs are left out.
// Names are kept whole, however long. When at least one was kept the drop is
// accepted and OnFilesDropped is called with the number of dropped URLs (all
// of them) and the kept names. The call is queued to the event loop, so the
// drag source is released before the handler runs (it may ask questions); it
// is skipped when the receiver is inactive or gone by then. Any other event,
// and a drop that kept nothing, is left to the owner.
// Not owned by the owner widget: the caller owns this object.
class TDNK_dragdrop : public QObject {
  Q_OBJECT
public:
  using tfilesdropped = std::function<void(int numitems, const std::vector<std::string>& list)>;

  explicit TDNK_dragdrop(QWidget* owner);
  ~TDNK_dragdrop() override;

  // Inactive at first. Setting it also sets the owner's acceptDrops.
  bool Active() const { return m_active; }
  void SetActive(bool value);

  // The kept names of the last handled drop (UTF-8 paths).
  const std::vector<std::string>& Files() const { return m_files; }

  tfilesdropped OnFilesDropped;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  QPointer<QWidget> m_owner;
  bool m_active = false;
  std::vector<std::string> m_files;
};

// The script a drop opens: the first name of the list when its extension (from
// the last "." of the file name, not of a folder) is exactly ".mis" in this
// letter case; nullopt for anything else, an empty list or an empty first name.
std::optional<std::string> DroppedScript(const std::vector<std::string>& list);

}  // namespace penwick
