// What the analysis reads a text through (`TAnalysisTextSource`): windows and ranges of the text plus line/offset conversion.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/ListenerList.h"

namespace penwick {

// A contiguous view of a text from `Start` to the end of the text, and the
// byte just before it: 0..255, or -1 when the window starts the text.
struct TTextWindow {
  std::string_view Text;
  std::size_t Start = 0;
  int CharBefore = -1;
};

// The analysis reads forward from where it restarted and looks back at most
// one character, so it never needs the text before its restart point as part
// of one view: a store that keeps a gap hands out windows that begin at or
// after the gap and need not close it. Line breaks are LF, CR LF or a lone CR.
//
// Lifetime: a window stays valid until the text changes or the next
// WindowFrom (which may move a gap). A view from ContiguousRange stays valid
// until the text changes or the next WindowFrom or Text(). Text() is for
// callers that really need all of the text at once (tests, command line);
// it may close a gap and is valid until the text changes or the next
// WindowFrom. All reads belong to the thread that changes the text.
//
// Changes: every change of the text is told, after it happened, to the
// listeners subscribed with SubscribeChanges, in the order they subscribed,
// as (offset, delta): 0-based offset, characters inserted (> 0) or removed
// (< 0); (-1, 0) when the whole text was replaced. The analysis of a text
// subscribes to its source, so nobody forwards changes by hand.
class TAnalysisTextSource {
public:
  using TChangeListener = std::function<void(int offset, int delta)>;

  TAnalysisTextSource() = default;
  TAnalysisTextSource(const TAnalysisTextSource&) = delete;
  TAnalysisTextSource& operator=(const TAnalysisTextSource&) = delete;
  virtual ~TAnalysisTextSource() = default;

  // The handle unsubscribes when it goes; it must not outlive the source.
  TSubscription SubscribeChanges(TChangeListener listener) { return m_changeListeners.Subscribe(std::move(listener)); }

  virtual std::string_view Text() const = 0;
  virtual std::size_t TextLength() const { return Text().size(); }
  // A window whose Start <= min(offset, TextLength()).
  virtual TTextWindow WindowFrom(std::size_t offset) const;
  // Up to `count` characters from `offset`, clipped to the text; copied,
  // nothing moves.
  virtual std::string TextRange(std::size_t offset, std::size_t count) const;
  // [offset, offset + count) as a view when the store holds it in one piece
  // without moving anything; false (and `out` untouched) otherwise or when
  // the range leaves the text.
  virtual bool ContiguousRange(std::size_t offset, std::size_t count, std::string_view& out) const;

  // 0-based line of an offset (an offset past the end gives the last line).
  virtual int LineFromOffset(std::size_t offset) const;
  // Offset of the first character of a 0-based line; the text length for a
  // line past the end.
  virtual std::size_t LineStartOffset(int line) const;
  virtual int LineCount() const;

  // The offset just after the last '\r' or '\n' before `offset` (0 when there
  // is none), with `window` set to a window that covers it. Reads only the
  // line around `offset` when the source has a line table.
  std::size_t StartAfterBreakBefore(std::size_t offset, TTextWindow& window) const;

protected:
  // Sources call this after each change of their text.
  void NotifyChanged(int offset, int delta) {
    m_changeListeners.ForEach([&](const TChangeListener& listener) { listener(offset, delta); });
  }

private:
  TListenerList<TChangeListener> m_changeListeners;
};

}  // namespace penwick
