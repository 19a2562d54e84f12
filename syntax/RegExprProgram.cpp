// Link-up of a compiled pattern and its first-character analysis.
#include "syntax/RegExprProgram.h"

#include "platform/CodePage.h"

namespace penwick {

void TRegExprProgram::Finish() {
  for (auto& node : Nodes) {
    node.OwnerGroup = node.Owner >= 0 ? Nodes[node.Owner].Group : -1;
    // A group settles its own choices as if the pattern ended after it when
    // it ends its alternative; any other last item continues after its group.
    if (node.Kind == TRegExprNodeKind::Group || node.Next >= 0 || node.Owner < 0)
      node.Continuation = node.Next;
    else
      node.Continuation = Nodes[node.Owner].Next;
    node.KeepContinuation = node.Next;
    for (int owner = node.Owner; node.KeepContinuation < 0 && owner >= 0; owner = Nodes[owner].Owner)
      node.KeepContinuation = Nodes[owner].Next;
    // With nothing to try after it, a non-group item cannot disturb group
    // positions between its repetitions.
    node.NeedsSnapshot = node.Kind == TRegExprNodeKind::Group || node.Continuation >= 0;
  }
  for (auto& node : Nodes) {
    node.ContinuationStarts = TRegExprCharSet();
    node.GuardContinuation = node.Continuation >= 0 && StartsOfNode(node.Continuation, node.ContinuationStarts);
  }
  FirstChars = TRegExprCharSet();
  CanMatchEmpty = false;
  if (!Nodes.empty()) FirstOfNode(0, FirstChars, CanMatchEmpty);
  Deterministic = !Nodes.empty() && Nodes[0].Kind == TRegExprNodeKind::Group && Nodes[0].Min == 1 &&
                  Nodes[0].Max == 1 && Nodes[0].Alternatives.size() == 1 && GroupCount == 1 &&
                  ChainIsDeterministic(Nodes[0].Alternatives[0]);
  Alphabet = TRegExprCharSet();
  for (const TRegExprNode& node : Nodes) {
    switch (node.Kind) {
      case TRegExprNodeKind::Chars:
        for (std::size_t i = 0; i < node.Chars.size(); ++i) AddBytesOf(node, i, Alphabet);
        break;
      case TRegExprNodeKind::OneOf: Alphabet |= node.Table; break;
      case TRegExprNodeKind::Check:
        if (node.Check == TRegExprCheck::LineBreak) {
          Alphabet.Add('\r');
          Alphabet.Add('\n');
        }
        break;
      case TRegExprNodeKind::Ref: Alphabet.AddAll(); break;
      case TRegExprNodeKind::Group: break;
    }
  }
  Required = TRegExprCharSet();
  HasRequired = !Nodes.empty() && !CanMatchEmpty && RequiredOfNode(0, Required);
  RootAlternatives.clear();
  if (!Nodes.empty() && GroupCount == 1 && Nodes[0].Kind == TRegExprNodeKind::Group && Nodes[0].Min == 1 &&
      Nodes[0].Max == 1) {
    for (int first : Nodes[0].Alternatives) {
      TRegExprAlternative alternative;
      alternative.First = first;
      alternative.Deterministic = ChainIsDeterministic(first);
      alternative.HasRequired = RequiredOfChain(first, alternative.Required);
      RootAlternatives.push_back(alternative);
    }
  }
}

// Adds the bytes at which trying the item can succeed at all, as the matcher
// tries it (its repetitions, then what follows it); false when any byte may
// do. At the end of the text there is no byte: the set says nothing there.
bool TRegExprProgram::StartsOfNode(int item, TRegExprCharSet& set) const {
  const TRegExprNode& node = Nodes[item];
  if (node.Min == 0) return false;  // what follows decides
  switch (node.Kind) {
    case TRegExprNodeKind::Chars:
      AddBytesOf(node, 0, set);
      return true;
    case TRegExprNodeKind::OneOf:
      set |= node.Table;
      return true;
    case TRegExprNodeKind::Check:
      switch (node.Check) {
        case TRegExprCheck::TextEnd: return true;  // only where there is no byte
        case TRegExprCheck::LineEnd:
        case TRegExprCheck::LineBreak:
          set.Add('\r');
          set.Add('\n');
          return true;
        default: return false;  // passes by the byte before: what follows decides
      }
    case TRegExprNodeKind::Ref:
      return false;
    case TRegExprNodeKind::Group: {
      if (node.Alternatives.empty()) return false;
      TRegExprCharSet all;
      for (int first : node.Alternatives)
        if (first < 0 || !StartsOfNode(first, all)) return false;
      set |= all;
      return true;
    }
  }
  return false;
}

void TRegExprProgram::AddBytesOf(const TRegExprNode& node, std::size_t index, TRegExprCharSet& set) const {
  const auto c = static_cast<unsigned char>(node.Chars[index]);
  if (!node.IgnoreCase) {
    set.Add(c);
    return;
  }
  const TCodePage& cp = TCodePage::Default();
  for (int b = 0; b < 256; ++b)
    if (cp.ToUpper(static_cast<unsigned char>(b)) == c) set.Add(static_cast<unsigned char>(b));
}

namespace {

int Population(const TRegExprCharSet& set) {
  int n = 0;
  for (uint64_t word : set.Bits) n += __builtin_popcountll(word);
  return n;
}

}  // namespace

// Adds the bytes of the item of the chain that must consume one of the
// fewest bytes; false when no item must consume anything.
bool TRegExprProgram::RequiredOfChain(int item, TRegExprCharSet& set) const {
  bool found = false;
  TRegExprCharSet best;
  for (; item >= 0; item = Nodes[item].Next) {
    TRegExprCharSet own;
    if (!RequiredOfNode(item, own)) continue;
    if (!found || Population(own) < Population(best)) best = own;
    found = true;
  }
  if (found) set |= best;
  return found;
}

// Adds bytes of which one occurrence of the item consumes at least one;
// false when an occurrence may consume nothing (or nothing is known).
bool TRegExprProgram::RequiredOfNode(int item, TRegExprCharSet& set) const {
  const TRegExprNode& node = Nodes[item];
  if (node.Min == 0) return false;
  switch (node.Kind) {
    case TRegExprNodeKind::Chars:
      AddBytesOf(node, 0, set);
      return true;
    case TRegExprNodeKind::OneOf:
      set |= node.Table;
      return true;
    case TRegExprNodeKind::Check:
      if (node.Check != TRegExprCheck::LineBreak) return false;
      set.Add('\r');
      set.Add('\n');
      return true;
    case TRegExprNodeKind::Ref:
      return false;
    case TRegExprNodeKind::Group: {
      TRegExprCharSet all;
      for (int alternative : node.Alternatives)
        if (!RequiredOfChain(alternative, all)) return false;
      if (node.Alternatives.empty()) return false;
      set |= all;
      return true;
    }
  }
  return false;
}

bool TRegExprProgram::ChainIsDeterministic(int first) const {
  // Short chains with small counts only: the general matcher then spends a
  // bounded number of steps per character on them and never runs out of a
  // budget of DeterministicMinBudget, so walking the chain once answers
  // exactly as it would, budget errors included.
  constexpr int kMaxItems = 8;
  constexpr int kMaxMin = 16;
  int items = 0;
  for (int item = first; item >= 0; item = Nodes[item].Next) {
    const TRegExprNode& node = Nodes[item];
    if (++items > kMaxItems || node.Lazy) return false;
    if (node.Kind == TRegExprNodeKind::Chars) {
      if (node.Min != 1 || node.Max != 1) return false;
      continue;
    }
    if (node.Kind != TRegExprNodeKind::OneOf || node.Min > kMaxMin || (node.Max >= 0 && node.Max < node.Min))
      return false;
    if (node.Max == node.Min) continue;
    // A repetition that stopped early leaves a byte of its own class where
    // the rest must start: only an empty rest could match there, and an empty
    // rest matches after the longest repetition as well.
    TRegExprCharSet follow;
    bool nullable = false;
    FirstOfChain(node.Next, follow, nullable);
    for (int i = 0; i < 4; ++i)
      if (follow.Bits[i] & node.Table.Bits[i]) return false;
  }
  return true;
}

void TRegExprProgram::FirstOfChain(int item, TRegExprCharSet& set, bool& nullable) const {
  nullable = true;
  for (; item >= 0; item = Nodes[item].Next) {
    bool itemNullable = false;
    FirstOfNode(item, set, itemNullable);
    if (!itemNullable) {
      nullable = false;
      return;
    }
  }
}

void TRegExprProgram::FirstOfNode(int item, TRegExprCharSet& set, bool& nullable) const {
  const TRegExprNode& node = Nodes[item];
  nullable = node.Min == 0;
  switch (node.Kind) {
    case TRegExprNodeKind::Chars: {
      const auto c = static_cast<unsigned char>(node.Chars[0]);
      if (!node.IgnoreCase) {
        set.Add(c);
      } else {
        const TCodePage& cp = TCodePage::Default();
        for (int b = 0; b < 256; ++b)
          if (cp.ToUpper(static_cast<unsigned char>(b)) == c) set.Add(static_cast<unsigned char>(b));
      }
      break;
    }
    case TRegExprNodeKind::OneOf:
      set |= node.Table;
      break;
    case TRegExprNodeKind::Check:
      if (node.Check == TRegExprCheck::LineBreak) {
        set.Add('\r');
        set.Add('\n');
      } else {
        nullable = true;
      }
      break;
    case TRegExprNodeKind::Ref:
      set.AddAll();
      nullable = true;
      break;
    case TRegExprNodeKind::Group:
      for (int alternative : node.Alternatives) {
        bool altNullable = false;
        FirstOfChain(alternative, set, altNullable);
        nullable = nullable || altNullable;
      }
      break;
  }
}

}  // namespace penwick
