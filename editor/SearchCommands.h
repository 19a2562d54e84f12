// The editor's search keys: the find and replace forms, Search Again, the
// current-word searches and go to line, as commands of its dispatcher.
#pragma once

namespace penwick {

class TSearchControl;

// Registers on control.Commands(): cmFindDialog (Execute of the first bound
// find component, a replace component counting as one), cmReplaceDialog
// (Execute of the first bound replace component), cmSearchAgain (FindCommand
// of the first find component from the caret, in the direction of its
// ftBackward), cmFindCurrentWordNext/Prior and cmGotoLine. The component is
// looked up when the command runs, so components may be bound later. A
// command is unavailable while no component of its kind is bound; Search
// Again also while that component's FindText is empty, the current-word
// commands also while there is neither a normal selection nor a word at the
// caret. The handlers refer to `control`, which must outlive its dispatcher's
// use of them.
void RegisterSearchCommands(TSearchControl& control);

}  // namespace penwick
