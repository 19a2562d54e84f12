// The word around a caret position.
#include "editor/WordAt.h"

#include <algorithm>

#include "editor/SyntMemoStrings.h"
#include "platform/CodePage.h"

namespace penwick {

TWordSpan WordAt(const TSyntMemoStrings& lines, TPoint at, const TCodePage& codePage) {
  if (at.Y < 0 || at.Y >= lines.Count()) {
    const int end = lines.TextLength();
    return {end, end};
  }
  const int lineStart = lines.LineStart(at.Y);
  const int lineLength = lines.LineLength(at.Y);
  const int lineEnd = lineStart + lineLength;
  if (at.X > lineLength) return {lineEnd, lineEnd};
  const int offset = lineStart + std::max(at.X, 0);
  auto word = [&](int pos) { return codePage.IsWordChar(static_cast<unsigned char>(lines.CharAt(pos))); };
  int from = offset, to = offset;
  while (from > lineStart && word(from - 1)) --from;
  while (to < lineEnd && word(to)) ++to;
  return {from, to};
}

std::string WordTextAt(const TSyntMemoStrings& lines, TPoint at, const TCodePage& codePage) {
  const TWordSpan span = WordAt(lines, at, codePage);
  return span.Empty() ? std::string() : lines.TextRange(span.Start, span.End - span.Start);
}

}  // namespace penwick
