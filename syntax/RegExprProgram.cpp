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
    // With nothing to try after it, a non-group item cannot disturb group
    // positions between its repetitions.
    node.NeedsSnapshot = node.Kind == TRegExprNodeKind::Group || node.Continuation >= 0;
  }
  FirstChars = TRegExprCharSet();
  CanMatchEmpty = false;
  if (!Nodes.empty()) FirstOfNode(0, FirstChars, CanMatchEmpty);
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
