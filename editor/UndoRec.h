// One recorded change of the text store, and the rule that decides whether a
// record continues the one before it.
#pragma once

#include <cstdint>
#include <string>

namespace penwick {

enum TUndoKind : uint8_t {
  ukInsert = 0,  // an insertion or a replacement (InsertedText replaced RemovedText)
  ukDelete = 1,  // a deletion (RemovedText was taken out, nothing put in)
};

// A record owns copies of the text it put in and took out, so it can be
// undone and redone without reference to anything else.
struct TUndoRec {
  TUndoKind Kind = ukInsert;
  int Position = 0;          // 0-based offset where the change happened
  std::string InsertedText;  // empty for a deletion
  std::string RemovedText;   // empty for a pure insertion
  bool CaretAfter = false;   // caret goes after the restored/applied text
  int Group = -1;            // id of the undo group open when recorded, -1 outside any

  // Whether this record, made right after `older`, continues it: a run of
  // typed characters, of Backspace presses or of Delete presses. Records of
  // different kinds never continue each other.
  bool Continues(const TUndoRec& older) const {
    if (Kind != older.Kind) return false;
    if (Kind == ukInsert)
      return Position - (CaretAfter ? static_cast<int>(older.InsertedText.size()) : 0) == older.Position;
    return Position + (CaretAfter ? static_cast<int>(older.RemovedText.size()) : 0) == older.Position;
  }
};

}  // namespace penwick
