// The compiled, immutable form of a TecRegExpr pattern: a tree of match nodes
// stored flat, linked by index.
#pragma once

#include "syntax/ecRegExpr.h"

#include <cstdint>
#include <string>
#include <vector>

namespace penwick {

enum class TRegExprNodeKind : uint8_t {
  Chars,  // a run of literal characters (one per literal of the pattern)
  OneOf,  // one character from a 256-entry table: sets, class letters, '.'
  Check,  // a position check (anchors, \b, \B) or the line-break item \z
  Ref,    // a back-reference to a group
  Group,  // a group: the root (group 0) or a capturing group
};

enum class TRegExprCheck : uint8_t {
  None,
  LineStart,        // ^ in m mode
  LineEnd,          // $ in m mode
  TextStart,        // \A, and ^ otherwise
  TextEnd,          // \Z, and $ otherwise
  WordBoundary,     // \b
  NotWordBoundary,  // \B
  LineBreak,        // \z: CR LF together, or one CR or LF
};

// One item of an alternative. Min/Max are repetition counts (Max -1 means
// unlimited). Next is the following item of the same alternative (-1 for the
// last one); Owner the enclosing group node (-1 for the root); Continuation
// the item that must match after this one (-1: nothing, a complete match).
struct TRegExprNode {
  TRegExprNodeKind Kind = TRegExprNodeKind::Chars;
  TRegExprCheck Check = TRegExprCheck::None;
  bool Lazy = false;
  bool IgnoreCase = false;
  // Whether trying the continuation or another occurrence can change group
  // positions that the chosen outcome must keep (see the matcher).
  bool NeedsSnapshot = false;
  int Min = 1;
  int Max = 1;
  int Next = -1;
  int Owner = -1;
  int OwnerGroup = -1;  // group number of Owner
  int Continuation = -1;
  // The continuation when complete matches are kept (search mode): the item
  // after the innermost enclosing group that does not end its alternative,
  // so that an item ending nested groups is tried against the rest of the
  // whole pattern. Equal to Continuation whenever that is not -1.
  int KeepContinuation = -1;
  int Group = -1;       // Group: its number; Ref: the referenced number
  std::string Chars;    // Chars: the literals, upper-cased under IgnoreCase
  TRegExprCharSet Table;        // OneOf: the bytes matched
  std::vector<int> Alternatives;  // Group: first item of each alternative
  // With GuardContinuation, the continuation fails at once at a position
  // holding a byte outside ContinuationStarts (it may still succeed at the
  // end of the text): the matcher need not try it there.
  bool GuardContinuation = false;
  TRegExprCharSet ContinuationStarts;

  bool IsLast() const { return Next < 0; }
};

// What is known of one alternative of the root without matching it.
struct TRegExprAlternative {
  int First = -1;              // its first item (-1: empty)
  bool Deterministic = false;  // a chain as for TRegExprProgram::Deterministic
  bool HasRequired = false;    // every match of it consumes a byte of Required
  TRegExprCharSet Required;
};

class TRegExprProgram {
public:
  // Node 0 is the root group (group 0).
  std::vector<TRegExprNode> Nodes;
  int GroupCount = 1;
  // The bytes a non-empty match can start with, and whether a match can be
  // empty; both conservative.
  TRegExprCharSet FirstChars;
  bool CanMatchEmpty = false;
  // The root has one alternative: a short chain of single literals and
  // character classes (no groups, checks, references or lazy items) in which
  // no repeated class shares a byte with what can follow it. Taking every
  // repetition as far as it goes is then the only outcome backtracking could
  // reach, so the matcher may walk the chain once (see TRegExprMatcher::Run).
  bool Deterministic = false;
  // Every byte a match can consume lies in Alphabet; with HasRequired every
  // match consumes at least one byte of Required. Both conservative. A run of
  // alphabet bytes without a required one thus holds no match.
  TRegExprCharSet Alphabet;
  TRegExprCharSet Required;
  bool HasRequired = false;
  // The root's alternatives in order, when there is no group but the root.
  std::vector<TRegExprAlternative> RootAlternatives;

  // Neither an alternative nor anything to match: never matches.
  bool IsEmpty() const { return Nodes.empty() || Nodes[0].Alternatives.empty(); }

  // Derives Continuation, OwnerGroup, NeedsSnapshot and the first-character
  // data from the linked tree; called once by the compiler.
  void Finish();

private:
  bool ChainIsDeterministic(int first) const;
  bool StartsOfNode(int item, TRegExprCharSet& set) const;
  void AddBytesOf(const TRegExprNode& node, std::size_t index, TRegExprCharSet& set) const;
  bool RequiredOfChain(int item, TRegExprCharSet& set) const;
  bool RequiredOfNode(int item, TRegExprCharSet& set) const;
  void FirstOfChain(int item, TRegExprCharSet& set, bool& nullable) const;
  void FirstOfNode(int item, TRegExprCharSet& set, bool& nullable) const;
};

}  // namespace penwick
