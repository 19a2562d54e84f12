// How the characters of a stretch of text are drawn: runs of characters that
// share their styles, with the drawing state those styles give. Painting,
// HTML export and the style preview all read the text through this lookup.
#pragma once

#include <cstddef>
#include <vector>

#include "syntax/CanvasState.h"
#include "syntax/TextRange.h"

namespace penwick {

class TClientSyntAnalyzer;
class TSyntaxFormat;

// One run: offsets [Start, End) of the text, the styles that cover it in the
// order they apply (the token's style, then the styles of block-rule ranges,
// then, when asked for, dynamic highlighting), and the drawing state: the
// base state (the editor's font and colours), the lexer's default style, then
// each of Styles, laid over one another.
struct TStyledRun {
  int Start = 0;
  int End = 0;
  std::vector<const TSyntaxFormat*> Styles;
  TCanvasState State;
};

// A lookup over one analysis at one moment: make one for a paint or an
// export, not for longer (the analysis replaces its derived ranges when it
// finishes). Text not analysed again since a change keeps the styles of its
// old tokens; styled ranges from before the change are mapped across it.
//
// Costs: Runs and StylesAt analyse up to the end of what they are asked for,
// then walk the tokens there in order; each query also looks through the
// styled ranges that start before it (none for the mission language).
class TStyledRuns {
public:
  // `client` may be null: plain text, one run of the base state per request.
  // With `dynamicHighlight` the lexer's dynamic highlighting is a layer too.
  TStyledRuns(TClientSyntAnalyzer* client, const TCanvasState& base, bool dynamicHighlight = true);

  // Off: Runs and StateAt take the analysis as it stands instead of
  // analysing up to what they are asked for (painting, which analyses within
  // a time budget first). Text the analysis has not reached is then in the
  // default style, unless old tokens from before a change still cover it.
  void SetAnalyzeOnDemand(bool analyze) { m_analyze = analyze; }

  // Runs covering [offset, offset + count), clipped to the text; neighbours
  // with the same styles are joined. Empty for an empty request.
  std::vector<TStyledRun> Runs(int offset, int count);
  // The styles covering `offset`, appended to `styles`, and the end of the
  // run they cover (after `offset`, at most `limit` when limit > offset).
  int StylesAt(int offset, int limit, std::vector<const TSyntaxFormat*>& styles);
  // The base state with the default style and `styles` laid over it.
  TCanvasState StateOf(const std::vector<const TSyntaxFormat*>& styles) const;
  // The drawing state of the character at `offset`.
  TCanvasState StateAt(int offset);

private:
  struct TMappedRange {
    int Start;
    int End;
    const TSyntaxFormat* Style;
  };

  TClientSyntAnalyzer* m_client;
  TCanvasState m_base;
  std::vector<TMappedRange> m_ranges;  // block-rule styles first, then highlights; each by start
  std::size_t m_highlightsFrom = 0;
  bool m_analyze = true;
};

}  // namespace penwick
