// The caret's shapes: how wide and tall the caret is drawn in each editing mode.
#pragma once

namespace penwick {

// A negative Width is a width in pixels; 0 or a positive Width is a
// percentage of the width of the character under the caret (the default
// character width beyond the end of the line). Height follows the same rule
// against the line height. A computed size of 0 becomes 1. The caret stands
// at the bottom of its line.
struct TecCaretShape {
  int Width = -2;
  int Height = 100;

  int PixelWidth(int charWidth) const { return Resolve(Width, charWidth); }
  int PixelHeight(int lineHeight) const { return Resolve(Height, lineHeight); }

  static int Resolve(int rule, int whole) {
    const int size = rule < 0 ? -rule : whole * rule / 100;
    return size > 0 ? size : 1;
  }
};

// The shapes of the three modes. Which one applies: the read-only editor
// draws none at all; Overwrite when overwrite mode is on and the caret stands
// inside its line's text; Insert otherwise.
struct TCaretShapes {
  TecCaretShape Insert{-2, 100};
  TecCaretShape Overwrite{100, 100};
  TecCaretShape ReadOnly{-1, 100};
};

}  // namespace penwick
