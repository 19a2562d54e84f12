// The editor's search keys as commands.
#include "editor/SearchCommands.h"

#include "editor/CommandDispatcher.h"
#include "editor/EditorCommandIds.h"
#include "editor/GotoLine.h"
#include "editor/MemoEditor.h"
#include "editor/SearchControl.h"
#include "editor/SyntReplaceDialog.h"
#include "editor/WordAt.h"

namespace penwick {

namespace {

template <class T>
T* FirstBound(TSearchControl& control) {
  for (TBaseFindDialog* component : control.Bound())
    if (auto* found = dynamic_cast<T*>(component)) return found;
  return nullptr;
}

bool HasCurrentWord(TSearchControl& control, const TSyntFindDialog& finder) {
  TMemoEditor& core = control.Core();
  if (core.SelectionMode() == smNormal && core.SelLength() > 0) return true;
  return !WordAt(core.Lines(), core.CaretPos(), finder.CodePage()).Empty();
}

}  // namespace

void RegisterSearchCommands(TSearchControl& control) {
  TCommandDispatcher& commands = control.Commands();
  TSearchControl* c = &control;
  commands.Register(
      cmFindDialog, [c](char) { FirstBound<TSyntFindDialog>(*c)->Execute(); },
      [c] { return FirstBound<TSyntFindDialog>(*c) != nullptr; });
  commands.Register(
      cmReplaceDialog, [c](char) { FirstBound<TSyntReplaceDialog>(*c)->Execute(); },
      [c] { return FirstBound<TSyntReplaceDialog>(*c) != nullptr; });
  commands.Register(
      cmSearchAgain,
      [c](char) {
        TSyntFindDialog* finder = FirstBound<TSyntFindDialog>(*c);
        finder->FindCommand(false, finder->HasFlag(ftBackward), true);
      },
      [c] {
        const TSyntFindDialog* finder = FirstBound<TSyntFindDialog>(*c);
        return finder && !finder->FindText().empty();
      });
  for (const bool next : {true, false}) {
    commands.Register(
        next ? cmFindCurrentWordNext : cmFindCurrentWordPrior,
        [c, next](char) { FirstBound<TSyntFindDialog>(*c)->FindCurrentWord(next); },
        [c] {
          const TSyntFindDialog* finder = FirstBound<TSyntFindDialog>(*c);
          return finder && HasCurrentWord(*c, *finder);
        });
  }
  commands.Register(cmGotoLine, [c](char) { ExecuteGotoLine(*c); });
}

}  // namespace penwick
