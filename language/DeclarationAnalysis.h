// The analysis of the caret line that drives the parameter hint while an object declaration is typed, and turns a typed weapon name on a generator line into its collectible constant.
#pragma once

// The analysis is a pure function of the line: it knows the shapes of the
// twelve declaration kinds and reports what the hint should do as a list of
// effects, which the window applies in order to the hint component (and the
// hint timer). It keeps no state between calls, so it may re-enter itself
// through the text change that a weapon replacement causes.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace penwick {

// One effect of the analysis on the parameter hint, in the order they happen.
//  ekHint: replace the declaration list by `Declarations`, make `Param`
//          current and schedule the showing (the hint timer).
//  ekParam: make `Param` current and schedule the showing; the list stays.
//  ekHide: cancel a scheduled showing and hide the hint.
//  ekClearAndHide: empty the declaration list, then as ekHide.
//  ekReplace: replace `ReplaceLength` characters at column `ReplaceStart`
//          of the caret line by `Constant` (one undoable change); always the
//          last effect of its analysis.
//  ekClearList: empty the declaration list, nothing else (no hide, no
//          showing). Every declaration keyword found emits it before the
//          steps of its kind: a hint that stays on screen with nothing
//          matching the line then has nothing left to show.
struct TDeclarationEffect {
  enum TKind { ekHint, ekParam, ekHide, ekClearAndHide, ekReplace, ekClearList };
  TKind Kind = ekHide;
  std::vector<std::string> Declarations;  // ekHint: the declaration strings, e.g. {"Float X, Float Y", "Float X, Float Y, Float Z"}
  int Param = 0;                          // ekHint, ekParam: the current parameter
  int ReplaceStart = 0;                   // ekReplace: 0-based column in the line of the weapon name
  int ReplaceLength = 0;                  //   its length in characters
  std::string Constant;                   //   the text that replaces it ("COLLECT_00")

  bool operator==(const TDeclarationEffect&) const = default;
};

struct TDeclarationAnalysis {
  bool DeclarationFlag = false;             // the line starts with (or, for "create_car", "make_car_a_dummy" and "create_obj", contains) a declaration keyword
  std::vector<TDeclarationEffect> Effects;  // in order
};

// Analyses the caret line, already lower-cased by the caller (lower-casing by
// the code page keeps the length, so columns match the original line).
//
// Each declaration kind is a chain of steps; a step looks for one separator
// (" ", "=", "(", "," or ")"; a tab is none) from where the previous step
// stopped and, when it is found, emits its effect. A missing separator ends
// the whole analysis, except for the optional third coordinate's comma and
// the two steps of "make_car_a_dummy": those skip their effect and the next
// search starts again at the line's first character. A kind that ran through
// all its steps passes on to the next kind, so one line may feed several.
//
// On a generator line, the step after the object type looks for a weapon
// name standing whole at the start of the object-type value (the text after
// the rotation's separator, blanks and tabs skipped): followed by the end of
// the line or a character that is no letter, digit or '_'. With
// `replaceWeapons` true and such a name found, the effects END with one
// ekReplace: what follows is the business of the analysis of the changed
// line, which the replacement's own text change runs again (a constant is no
// weapon name, so that second run replaces nothing). With `replaceWeapons`
// false that step replaces nothing and the analysis goes on.
// Never fails; linear in the line's length.
TDeclarationAnalysis AnalyzeDeclaration(std::string_view lowerLine, bool replaceWeapons = true);

// The weapon table in its stored order (18 rows: "dual pistol" COLLECT_10
// ... "oilslick" COLLECT_16). Names are lower case; static storage.
struct TWeaponName { const char* Name; const char* Constant; };
std::span<const TWeaponName> WeaponNames();

// What the hint shows once the effects ran and the 15 ms timer fired: the
// final state after applying `effects` to `before` (hint/param make it
// visible, hide/clear-and-hide hidden; clear-and-hide and clear-list also
// empty the list; ekReplace changes nothing here). Visible with nothing to
// show (no declaration has more parameters than Param) still reads
// Visible = true; showing nothing is the hint window's business.
struct TDeclarationHint {
  std::vector<std::string> Declarations;
  int Param = 0;
  bool Visible = false;

  bool operator==(const TDeclarationHint&) const = default;
};
TDeclarationHint ApplyDeclarationEffects(TDeclarationHint before, std::span<const TDeclarationEffect> effects);

}  // namespace penwick
