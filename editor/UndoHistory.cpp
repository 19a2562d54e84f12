// Undo records, groups, limit and the modified state.
#include "editor/UndoHistory.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "platform/TextEscape.h"

namespace penwick {

namespace {

// Records made outside any group carry -1; they are not one group.
bool SameGroup(const TUndoRec& a, const TUndoRec& b) { return a.Group >= 0 && a.Group == b.Group; }

}  // namespace

void TUndoHistory::RaiseIfFlipped(bool before) {
  if (Modified() != before && OnModifiedChanged) OnModifiedChanged();
}

void TUndoHistory::SetModified(bool modified) {
  const bool before = Modified();
  m_forcedModified = modified;
  if (!modified) {
    m_records.clear();
    m_redoCount = 0;
  }
  RaiseIfFlipped(before);
}

void TUndoHistory::DiscardUndone() {
  m_records.erase(m_records.end() - m_redoCount, m_records.end());
  m_redoCount = 0;
}

void TUndoHistory::TrimToLimit() {
  if (m_limit <= 0) return;
  while (Count() > m_limit) {
    m_records.pop_front();
    m_forcedModified = true;
  }
  m_redoCount = std::min(m_redoCount, Count());
}

void TUndoHistory::Add(TUndoKind kind, const std::string& inserted, bool caretAfter, int position,
                       const std::string& removed) {
  const bool before = Modified();
  DiscardUndone();
  TUndoRec* last = m_records.empty() ? nullptr : &m_records.back();
  if (last && last->Kind == ukDelete && kind == ukInsert && removed.empty() && last->Position == position &&
      last->Group >= 0 && last->Group == m_currentGroup) {
    last->Kind = ukInsert;
    last->InsertedText = inserted;
    last->CaretAfter = caretAfter;
  } else {
    TUndoRec record;
    record.Kind = kind;
    record.Position = position;
    record.InsertedText = inserted;
    record.RemovedText = removed;
    record.CaretAfter = caretAfter;
    record.Group = m_currentGroup;
    m_records.push_back(std::move(record));
    TrimToLimit();
  }
  RaiseIfFlipped(before);
}

void TUndoHistory::Clear() {
  const bool before = Modified();
  m_records.clear();
  m_redoCount = 0;
  RaiseIfFlipped(before);
}

void TUndoHistory::DropForWholeText() {
  if (m_records.empty()) return;
  const bool before = Modified();
  if (CanUndo()) m_forcedModified = true;
  m_records.clear();
  m_redoCount = 0;
  RaiseIfFlipped(before);
}

void TUndoHistory::BeginGroup() {
  if (m_groupDepth <= 0) {
    m_groupDepth = 0;
    m_currentGroup = CanUndo() ? std::max(m_records[static_cast<std::size_t>(Count() - m_redoCount - 1)].Group + 1, 0) : 0;
  }
  ++m_groupDepth;
}

void TUndoHistory::EndGroup() {
  if (--m_groupDepth <= 0) {
    m_groupDepth = 0;
    m_currentGroup = -1;
  }
}

void TUndoHistory::SetLimit(int limit) {
  const bool before = Modified();
  m_limit = limit;
  DiscardUndone();
  TrimToLimit();
  RaiseIfFlipped(before);
}

bool TUndoHistory::UndoGoesOn(bool groupUndo) const {
  const int i = Count() - m_redoCount - 1;
  if (i <= 0) return false;
  const TUndoRec& older = m_records[static_cast<std::size_t>(i - 1)];
  const TUndoRec& newer = m_records[static_cast<std::size_t>(i)];
  return SameGroup(older, newer) || (groupUndo && newer.Continues(older));
}

bool TUndoHistory::RedoGoesOn(bool groupRedo) const {
  if (m_redoCount < 2) return false;
  const int i = Count() - m_redoCount;
  const TUndoRec& older = m_records[static_cast<std::size_t>(i)];
  const TUndoRec& newer = m_records[static_cast<std::size_t>(i + 1)];
  return SameGroup(older, newer) || (groupRedo && newer.Continues(older));
}

bool TUndoHistory::TakeUndo(TUndoRec& record) {
  if (!CanUndo()) return false;
  const bool before = Modified();
  record = m_records[static_cast<std::size_t>(Count() - m_redoCount - 1)];
  ++m_redoCount;
  RaiseIfFlipped(before);
  return true;
}

bool TUndoHistory::TakeRedo(TUndoRec& record) {
  if (!CanRedo()) return false;
  const bool before = Modified();
  record = m_records[static_cast<std::size_t>(Count() - m_redoCount)];
  --m_redoCount;
  RaiseIfFlipped(before);
  return true;
}

void TUndoHistory::CheckInvariants() const {
  auto fail = [](const std::string& why) { throw std::logic_error("TUndoHistory: " + why); };
  if (m_redoCount < 0 || m_redoCount > Count()) fail("redo count out of range");
  if (m_limit > 0 && Count() > m_limit) fail("more records than the limit");
  if (m_groupDepth < 0) fail("negative group depth");
  if ((m_groupDepth == 0) != (m_currentGroup == -1)) fail("current group and group depth disagree");
}

std::string TUndoHistory::DebugDump() const {
  std::ostringstream out;
  out << "undo " << Count() << " redo " << m_redoCount << " forced " << m_forcedModified << '\n';
  for (const TUndoRec& rec : m_records) {
    out << (rec.Kind == ukInsert ? "ins " : "del ") << rec.Position << " +|" << EscapeField(rec.InsertedText)
        << "| -|" << EscapeField(rec.RemovedText) << "| " << (rec.CaretAfter ? "after" : "at") << " g" << rec.Group
        << '\n';
  }
  return out.str();
}

}  // namespace penwick
