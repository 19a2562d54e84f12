// The editor's hint settings: which hints show, how they look and how long they stay.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>

#include "syntax/SyntaxFormat.h"

namespace penwick {

// Raised when a hint time or the collapsed-line count is set to 0 or less.
class EHintPropsError : public std::runtime_error {
public:
  EHintPropsError() : std::runtime_error("Time must be greater 0") {}
};

// Which hints the editor shows (a bit set).
enum THintShow : unsigned {
  shScroll = 1u << 0,     // "Line: N" while the scroll thumb is dragged
  shCollapsed = 1u << 1,  // the hidden lines over the plus button of a folded range
  shGutter = 1u << 2,     // hints of gutter objects
  shTokens = 1u << 3,     // hints of tokens (supplied by an event)
};
using THintShows = unsigned;

// Invariant: every time (milliseconds) and the collapsed-line count are
// greater than 0; a setter given 0 or less raises EHintPropsError and keeps
// the old value. OnChanged is told after every accepted change.
class THintProps {
public:
  THintProps();

  // Background of hint windows (red lowest; default pale yellow 255, 255, 198).
  std::uint32_t Color() const { return m_color; }
  void SetColor(std::uint32_t color);
  const TSyntFont& Font() const { return m_font; }
  void SetFont(const TSyntFont& font);
  THintShows ShowHints() const { return m_showHints; }
  void SetShowHints(THintShows shows);
  bool Shows(THintShow show) const { return (m_showHints & show) != 0; }

  // How long the mouse rests before a hint shows.
  int DelayBefore() const { return m_delayBefore; }
  void SetDelayBefore(int ms);
  // How long each kind of hint stays.
  int TimeCollapsed() const { return m_timeCollapsed; }
  void SetTimeCollapsed(int ms);
  int TimeGutter() const { return m_timeGutter; }
  void SetTimeGutter(int ms);
  int TimeTokens() const { return m_timeTokens; }
  void SetTimeTokens(int ms);
  // At most this many hidden lines show in the hint of a folded range.
  int CollapsedLines() const { return m_collapsedLines; }
  void SetCollapsedLines(int lines);

  std::function<void()> OnChanged;

private:
  void SetPositive(int& field, int value);
  void Notify();

  std::uint32_t m_color = 13041663;
  TSyntFont m_font;
  THintShows m_showHints = shScroll | shCollapsed | shGutter | shTokens;
  int m_delayBefore = 500;
  int m_timeCollapsed = 10000;
  int m_timeGutter = 5000;
  int m_timeTokens = 10000;
  int m_collapsedLines = 20;
};

}  // namespace penwick
