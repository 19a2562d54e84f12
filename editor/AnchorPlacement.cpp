// Placement of a popup beside its anchor on the anchor's monitor.
#include "editor/AnchorPlacement.h"

#include <algorithm>

namespace penwick {

TPopupRect PlacePopup(const TPopupRect& anchor, int width, int height, const TPopupRect& monitor, TLayoutSide side) {
  TPopupRect r{0, 0, width, height};
  const int roomLeft = anchor.Left - monitor.Left;
  const int roomRight = monitor.Right() - anchor.Right();
  const int roomAbove = anchor.Top - monitor.Top;
  const int roomBelow = monitor.Bottom() - anchor.Bottom();
  switch (side) {
    case lsLeft:
    case lsRight: {
      bool left = side == lsLeft;
      if (left && roomLeft < width && roomRight >= width) left = false;
      else if (!left && roomRight < width && roomLeft >= width) left = true;
      r.Left = left ? anchor.Left - width : anchor.Right();
      r.Top = anchor.Top;
      return r;
    }
    case lsTop:
    case lsBottom: {
      bool above = side == lsTop;
      if (above && roomAbove < height && roomBelow >= height) above = false;
      else if (!above && roomBelow < height && roomAbove >= height) above = true;
      r.Top = above ? anchor.Top - height : anchor.Bottom();
      r.Left = std::max(std::min(anchor.Left, monitor.Right() - width), monitor.Left);
      return r;
    }
  }
  return r;
}

}  // namespace penwick
