// Where the replace question stands on the screen.
#include "editor/SearchForms.h"

#include <algorithm>

namespace penwick {

TPopupRect PlacePrompt(const TPromptAnchor& anchor, int width, int height, const TPopupRect& screen) {
  TPopupRect box;
  box.Width = width;
  box.Height = height;
  if (!anchor.AutoPlace) {
    box.Left = screen.Left + (screen.Width - width) / 2;
    box.Top = screen.Top + (screen.Height - height) / 2;
    return box;
  }
  box.Left = anchor.X;
  if (box.Left + width > screen.Right()) box.Left = screen.Right() - width;
  box.Left = std::max(box.Left, screen.Left);
  box.Top = anchor.LineTop - height;
  if (box.Top <= screen.Top) box.Top = anchor.LineBottom;  // no room above the line
  box.Top = std::max(box.Top, screen.Top);
  if (box.Top + height > screen.Bottom()) box.Top = screen.Bottom() - height;
  return box;
}

}  // namespace penwick
