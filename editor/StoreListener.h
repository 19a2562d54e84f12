// What the text store tells the parts that follow its text: every change, and
// lines inserted or removed for data kept per line.
#pragma once

#include <functional>

namespace penwick {

// When a listener hears a change relative to the others. Within a phase,
// listeners hear in the order they subscribed.
enum class TStorePhase {
  Positions,  // positions that must follow the text first (caret, selection, marks)
  Content,    // what is derived from the text (analysis, layout, folds)
  Events,     // the editor's own events, raised once everything is up to date
};

// Any member may be empty. For each edit the store first reports the line
// events in the order it applied them, then the change; every listener sees
// every report of one phase before the next phase hears anything. All
// reports come after the store is consistent again.
//  - LinesRemoved(first, count): lines first..first+count-1 (numbered as
//    before this event) are gone.
//  - LinesInserted(first, count): lines first..first+count-1 are new.
//  - Changed(pos, count, lineChange): 0-based offset, characters inserted
//    (negative when removed), change in the number of lines; (-1, 0, 0)
//    when the whole text was replaced (preceded by LinesRemoved(0, old
//    count) and LinesInserted(0, new count) where those are not 0).
struct TStoreListener {
  std::function<void(int pos, int count, int lineChange)> Changed;
  std::function<void(int firstLine, int count)> LinesInserted;
  std::function<void(int firstLine, int count)> LinesRemoved;
};

}  // namespace penwick
