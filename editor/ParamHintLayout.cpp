// The parameter hint's layout: splitting declarations, marking the current
// parameter, wrapping and sizing.
#include "editor/ParamHintLayout.h"

#include <algorithm>

namespace penwick {

namespace {
constexpr int kLeft = 2;          // x of a line's first piece
constexpr int kTop = 1;           // y of the first line, just inside the frame
constexpr int kExtraWidth = 5;    // left margin 2 plus right margin 2 plus the frame
constexpr int kSeparatorGap = 1;  // rows between a declaration and the separator, and after it
constexpr int kMinHeight = 4;     // below this total height there is nothing to show
}  // namespace

std::vector<std::string> SplitDeclaration(std::string_view declaration, char separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i < declaration.size(); ++i) {
    if (declaration[i] != separator) continue;
    pieces.emplace_back(declaration.substr(start, i + 1 - start));
    start = i + 1;
  }
  if (start < declaration.size()) pieces.emplace_back(declaration.substr(start));
  return pieces;
}

TParamHintLayout LayoutParamHint(const std::vector<std::string>& declarations, int currentParam, bool filterItems,
                                 char separator, int availableWidth, int lineHeight,
                                 const std::function<int(std::string_view, bool)>& textWidth) {
  TParamHintLayout layout;
  int y = kTop;
  int widest = 0;
  bool anyShown = false;
  for (const std::string& declaration : declarations) {
    const std::vector<std::string> pieces = SplitDeclaration(declaration, separator);
    const int count = static_cast<int>(pieces.size());
    if (filterItems && count <= std::max(currentParam, 0)) continue;
    if (anyShown) {
      layout.SeparatorY.push_back(y + kSeparatorGap);
      y += 2 * kSeparatorGap + 1;
    }
    anyShown = true;
    int lineWidth = 0;
    bool lineEmpty = true;
    for (int i = 0; i < count; ++i) {
      const bool bold = i == currentParam;
      const int width = textWidth(pieces[i], bold);
      if (!lineEmpty && lineWidth + width + kExtraWidth > availableWidth) {
        y += lineHeight;
        lineWidth = 0;
      }
      lineEmpty = false;
      layout.Pieces.push_back({pieces[i], bold, kLeft + lineWidth, y});
      lineWidth += width;
      widest = std::max(widest, lineWidth);
    }
    y += lineHeight;
  }
  if (y < kMinHeight) return {};
  layout.Width = widest + kExtraWidth;
  layout.Height = y + 1;
  return layout;
}

}  // namespace penwick
