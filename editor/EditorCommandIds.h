// The numbers of the editor's commands, shared by the key map, the command
// dispatcher and the parts that register commands of their own.
#pragma once

namespace penwick {

enum TEditorCommandId : int {
  // Caret moves; +cmSelectionOffset extends a normal selection,
  // +cmColumnOffset a column selection.
  cmLeft = 1,
  cmRight = 2,
  cmUp = 3,
  cmDown = 4,
  cmWordLeft = 5,
  cmWordRight = 6,
  cmLineStart = 7,  // column 0 of the caret's line, whatever the wrap
  cmLineEnd = 8,    // end of the caret line's text, whatever the wrap
  cmPageUp = 9,
  cmPageDown = 10,
  cmPageTop = 13,
  cmPageBottom = 14,
  cmTextTop = 15,
  cmTextBottom = 16,
  cmFirstChar = 18,  // Home
  cmLastChar = 19,   // End
  cmSelectionOffset = 100,
  cmColumnOffset = 200,

  cmCopy = 301,
  cmCut = 302,
  cmPaste = 303,
  cmUndo = 304,
  cmRedo = 305,
  cmSelectAll = 306,
  cmDeleteSelection = 307,
  cmScrollUp = 311,
  cmScrollDown = 312,
  cmBackspace = 331,
  cmDeleteChar = 332,
  cmDeleteWord = 333,
  cmBackDeleteWord = 334,
  cmDeleteToLineBegin = 335,
  cmDeleteLine = 337,
  cmNewLine = 339,
  cmBreakLine = 340,
  cmChar = 341,
  cmIndent = 350,
  cmUnindent = 351,
  cmTab = 352,
  cmTabChar = 353,
  cmToggleInsertMode = 373,
  cmNormalSelection = 374,
  cmColumnSelection = 375,
  cmLineSelection = 376,
  cmResetSelection = 379,
  cmToggleCollapseNearest = 526,
  // Registered by other parts of the editor.
  cmIncrementalSearch = 550,
  cmGotoLine = 564,
  cmFindDialog = 600,
  cmSearchAgain = 606,
  cmFindCurrentWordNext = 607,
  cmFindCurrentWordPrior = 608,
  cmReplaceDialog = 610,
  cmAutoCompletion = 700,
  cmCodeParameters = 702,
};

}  // namespace penwick
