// Where a popup beside the text goes on its monitor: the side it prefers, and
// the other side when the preferred one lacks room.
#pragma once

namespace penwick {

// The side of the anchor a popup stands on.
enum TLayoutSide { lsLeft, lsTop, lsRight, lsBottom };

// A rectangle in screen pixels; Right() and Bottom() are exclusive.
struct TPopupRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  int Right() const { return Left + Width; }
  int Bottom() const { return Top + Height; }
  bool operator==(const TPopupRect&) const = default;
};

// The popup's rectangle of `width` x `height` beside `anchor` on `monitor`:
//  - lsLeft: right edge at the anchor's left edge, tops aligned; to the right
//    of the anchor instead when the room left of it is less than the width
//    and the popup fits right of it. lsRight mirrors it.
//  - lsTop: bottom edge at the anchor's top, left edges aligned; below the
//    anchor instead when the room above is less than the height and it fits
//    below. lsBottom mirrors it. Both are then pushed left so as not to
//    cross the monitor's right edge, never past its left edge.
// When neither side has room the preferred side is kept (the popup may
// cross the monitor's edge there).
TPopupRect PlacePopup(const TPopupRect& anchor, int width, int height, const TPopupRect& monitor, TLayoutSide side);

}  // namespace penwick
