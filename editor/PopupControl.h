// A small borderless window beside another window's content that shows
// without taking the keyboard from it, and closes by the usual rules.
#pragma once

#include <QFrame>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <functional>
#include <vector>

#include "editor/AnchorPlacement.h"

namespace penwick {

// Not a window itself: it owns a borderless top-level container holding one
// inner control, and while shown it watches every event of the owner window
// (the editor) and of the inner control before they are handled, as a hook
// on their window procedures would.
//
// Closing rules while shown: Esc pressed in the owner closes without
// accepting and is swallowed; a mouse press or double click in the owner
// (its scroll bars too), the wheel over it, the owner being hidden, or the owner losing the focus
// to anything but the container (another window, a dialog, the window
// deactivated) closes without accepting and the event goes on to the owner.
// Subclasses take further keys.
class TPopupControl : public QObject {
  Q_OBJECT
public:
  // `owner` is watched while the popup is shown; it may go away first.
  explicit TPopupControl(QWidget* owner, QObject* parent = nullptr);
  ~TPopupControl() override;

  QWidget* Owner() const { return m_owner; }
  // The top-level window; created with the popup, never null.
  QFrame* Container() const { return m_container; }
  QWidget* InnerControl() const { return m_inner; }
  bool Showing() const { return m_showing; }

  TLayoutSide LayoutSide() const { return m_layoutSide; }
  void SetLayoutSide(TLayoutSide side) { m_layoutSide = side; }
  // The least width the size query is offered (default 150).
  int MinMaxWidth() const { return m_minMaxWidth; }
  void SetMinMaxWidth(int width) { m_minMaxWidth = width; }
  // Limits of the popup's size; 0 means no limit.
  QSize MinSize() const { return m_minSize; }
  void SetMinSize(QSize size) { m_minSize = size; }
  QSize MaxSize() const { return m_maxSize; }
  void SetMaxSize(QSize size) { m_maxSize = size; }
  // A darker line along the right and bottom edges.
  bool Shadow() const { return m_shadow; }
  void SetShadow(bool shadow) { m_shadow = shadow; }
  // The anchor of the latest showing, in global coordinates.
  QRect Anchor() const { return m_anchor; }

  std::function<void()> OnChange;
  std::function<void()> OnShow;
  // Raised by CloseUp while the popup is still on screen.
  std::function<void(bool accept)> OnCloseUp;

  // Closes (when shown): stops watching, raises OnCloseUp, lets the subclass
  // act on `accept` (CloseHook), hides the container and gives the focus
  // back to the owner, unless another control of the window has it. Calls
  // while closing are ignored.
  virtual void CloseUp(bool accept);

protected:
  // Takes ownership of the inner control and lays it out in the container.
  void SetInnerControl(QWidget* control);
  // Shows (or moves and resizes when already shown) the popup beside
  // `anchor` (global), sized by SizeQuery. A size of 0 in either direction
  // closes it, or keeps it closed; returns whether it is shown.
  bool ShowPopup(const QRect& anchor);
  // The wanted size for `width` offered (at least MinMaxWidth); the frame is
  // added by the popup.
  virtual QSize SizeQuery(int width) = 0;
  // After the container became visible: OnShow, then Changed.
  virtual void AfterShow();
  // Inside CloseUp, before the container hides.
  virtual void CloseHook(bool accept);
  // Raises OnChange.
  virtual void Changed();
  // Events of the owner and of the inner control, before they are handled;
  // true takes the event. The owner's default applies the closing rules.
  virtual bool OwnerEvent(QEvent* event);
  virtual bool InnerEvent(QEvent* event);

  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void Watch(bool on);
  // The owner's viewport when the owner is a scroll area (as the editor is),
  // else null.
  QWidget* OwnerViewport() const;
  // The owner's viewport and scroll bars when it is a scroll area, else none.
  std::vector<QWidget*> OwnerParts() const;

  QPointer<QWidget> m_owner;
  QFrame* m_container;  // owned here; a top-level window
  QWidget* m_inner = nullptr;
  QRect m_anchor;
  TLayoutSide m_layoutSide = lsLeft;
  int m_minMaxWidth = 150;
  QSize m_minSize;
  QSize m_maxSize;
  bool m_shadow = true;
  bool m_showing = false;
  bool m_closing = false;
  bool m_watching = false;
};

}  // namespace penwick
