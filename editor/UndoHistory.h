// The undo history of the text store: records, undo groups, the undo limit
// and the modified state that follows from them.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include "editor/UndoRec.h"

namespace penwick {

// Records oldest first; the newest RedoCount() of them are undone. The
// history knows nothing of the text: the store applies the records it takes
// (TakeUndo, TakeRedo) with its own low-level edits.
//
// Modified reads true when the forced-modified flag is set or an undoable
// record exists; every flip of it calls OnModifiedChanged, after the history
// changed and before anything else happens.
//
// Groups: BeginGroup at depth 0 picks the id after the newest undoable
// record's group (0 when there is none); nested calls share it; EndGroup at
// depth 0 closes it (current group -1). Undo and redo treat the records of
// one group as one step. A record outside any group (-1) is a group of its
// own.
//
// Invariants (CheckInvariants): 0 <= RedoCount <= Count; Count <= Limit when
// the limit is above 0; depth 0 exactly when the current group is -1.
// Costs: every operation O(1) amortised, except Clear, Undo/Redo runs and
// SetLimit (the records they touch).
class TUndoHistory {
public:
  std::function<void()> OnModifiedChanged;

  bool Modified() const { return m_forcedModified || Count() - m_redoCount != 0; }
  // Stores the forced-modified flag; false also empties the history.
  void SetModified(bool modified);
  bool ForcedModified() const { return m_forcedModified; }

  // Records one change, in this order: the undone tail is discarded; an
  // insertion with nothing removed that follows a deletion at the same
  // position in the same group (the text typed over a selection) turns that
  // deletion into one replacement; otherwise the record is appended with the
  // current group; then the oldest records beyond the limit go, each setting
  // the forced-modified flag.
  void Add(TUndoKind kind, const std::string& inserted, bool caretAfter, int position, const std::string& removed);
  // Empties the list (redo count 0); Modified then reads the forced flag.
  void Clear();
  // The text was replaced as a whole: the records no longer fit it and go;
  // when one was undoable the text stays modified (forced).
  void DropForWholeText();

  void BeginGroup();
  void EndGroup();
  int CurrentGroup() const { return m_currentGroup; }
  int GroupDepth() const { return m_groupDepth; }

  // Maximum number of records; 0 or less: unlimited. Setting it discards
  // the undone records, then trims the oldest.
  int Limit() const { return m_limit; }
  void SetLimit(int limit);

  int Count() const { return static_cast<int>(m_records.size()); }  // undone ones included
  int RedoCount() const { return m_redoCount; }
  // Index 0..Count-1, else std::out_of_range.
  const TUndoRec& Record(int index) const { return m_records.at(static_cast<std::size_t>(index)); }
  bool CanUndo() const { return Count() - m_redoCount > 0; }
  bool CanRedo() const { return m_redoCount > 0; }

  // Whether an Undo goes on past the newest undoable record: the next older
  // one shares its group, or (with `groupUndo`) the newest continues it.
  bool UndoGoesOn(bool groupUndo) const;
  // Whether a Redo goes on past the oldest undone record: the next newer one
  // shares its group, or (with `groupRedo`) continues it.
  bool RedoGoesOn(bool groupRedo) const;
  // Marks the newest undoable record undone and copies it to `record`;
  // false when there is none.
  bool TakeUndo(TUndoRec& record);
  // Marks the oldest undone record done again and copies it; false when none.
  bool TakeRedo(TUndoRec& record);

  // Throws std::logic_error naming the first broken invariant.
  void CheckInvariants() const;
  // One line per record, for tests to compare.
  std::string DebugDump() const;

private:
  void DiscardUndone();
  void TrimToLimit();
  void RaiseIfFlipped(bool before);

  std::deque<TUndoRec> m_records;
  int m_redoCount = 0;
  bool m_forcedModified = false;
  int m_limit = 1000;
  int m_currentGroup = -1;
  int m_groupDepth = 0;
};

}  // namespace penwick
