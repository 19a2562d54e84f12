// Checks the declaration analysis by typing declarations character by character and comparing the hint at every step, and the weapon-name replacement of generator lines.
#include "language/DeclarationAnalysis.h"

#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace penwick {

void PrintTo(const TDeclarationHint& hint, std::ostream* os) {
  *os << (hint.Visible ? "shown" : "hidden") << " param " << hint.Param << " {";
  for (const std::string& d : hint.Declarations) *os << " \"" << d << "\"";
  *os << " }";
}

namespace {

using TDecls = std::vector<std::string>;
const TDecls kPos3D = {"Float X, Float Y, Float Z"};
const TDecls kPos2Or3D = {"Float X, Float Y", "Float X, Float Y, Float Z"};

// What one step boundary does to the hint the user sees.
struct TExpect {
  enum { eShow, eParam, eHide, eClearHide } What;
  TDecls Declarations;
  int Param = 0;
};
TExpect Show(TDecls decls) { return {TExpect::eShow, std::move(decls)}; }
TExpect Show(const char* decl) { return {TExpect::eShow, {decl}}; }
TExpect Param(int k) { return {TExpect::eParam, {}, k}; }
const TExpect kHide{TExpect::eHide, {}};
const TExpect kClearHide{TExpect::eClearHide, {}};

TDeclarationHint Fold(TDeclarationHint hint, const TExpect& e) {
  switch (e.What) {
    case TExpect::eShow: return {e.Declarations, 0, true};
    case TExpect::eParam: hint.Param = e.Param; hint.Visible = true; return hint;
    case TExpect::eHide: hint.Visible = false; return hint;
    case TExpect::eClearHide: hint.Declarations.clear(); hint.Visible = false; return hint;
  }
  return hint;
}

std::string Lower(std::string_view s) { return TCodePage::Default().ToLower(s); }
std::string Upper(std::string_view s) { return TCodePage::Default().ToUpper(s); }

// A declaration typed from left to right. Each '^' in `Marked` marks a step
// boundary: the character before it is the separator whose step takes the
// next expectation. Between boundaries the hint must not change.
struct TTyping {
  const char* Keyword;
  const char* Marked;
  std::vector<TExpect> Steps;
};

// Types `typing` one character at a time, as the user would, each time
// analysing the whole line as the window does and applying the effects to
// the hint as it was; checks the hint and the declaration flag at every
// prefix. With `upperCase` the user types capitals and the line is
// lower-cased before the analysis, as the caller does.
void TypeAndCheck(const TTyping& typing, bool upperCase) {
  std::string line;
  std::vector<std::size_t> boundaries;  // prefix lengths at which a step takes effect
  for (const char* p = typing.Marked; *p; ++p) {
    if (*p == '^') boundaries.push_back(line.size());
    else line += *p;
  }
  ASSERT_EQ(boundaries.size(), typing.Steps.size()) << typing.Marked;
  if (upperCase) line = Upper(line);

  TDeclarationHint shown, expected;
  std::size_t nextBoundary = 0;
  for (std::size_t length = 1; length <= line.size(); ++length) {
    const std::string prefix = line.substr(0, length);
    const TDeclarationAnalysis analysis = AnalyzeDeclaration(Lower(prefix), false);
    shown = ApplyDeclarationEffects(shown, analysis.Effects);
    while (nextBoundary < boundaries.size() && boundaries[nextBoundary] == length)
      expected = Fold(expected, typing.Steps[nextBoundary++]);
    EXPECT_EQ(shown, expected) << "after typing \"" << prefix << "\"";
    EXPECT_EQ(analysis.DeclarationFlag, Lower(prefix).find(typing.Keyword) != std::string::npos)
        << "after typing \"" << prefix << "\"";
  }
}

const std::vector<TTyping>& Typings() {
  static const std::vector<TTyping> typings = {
      {"player_ped", "player_ped ^p ^= (^12.5,^ 30,^ 2)^ ^0 ^90 ^",
       {Show("Player Name"), kHide, Show(kPos3D), Param(1), Param(2), kHide, Show("Remap"), Show("Rotation"), kHide}},
      {"car_data", "car_data ^c ^= (^1,^2,^3)^ ^0 ^90 ^5 ^7 ^",
       {Show("Car Name"), kHide, Show(kPos2Or3D), Param(1), Param(2), kHide, Show("Remap"), Show("Rotation"),
        Show("Model"), Show("Trailermodel"), kHide}},
      {"create_car", "car = create_car(^1,^2,^3)^ ^0 ^90 ^5 ^7 ^end ^",
       {Show(kPos2Or3D), Param(1), Param(2), kHide, Show("Remap"), Show("Rotation"), Show("Model"),
        Show("Trailermodel"), Show("END"), kHide}},
      {"make_car_a_dummy", "make_car_a_dummy(^car)^", {Show("Car Name"), kHide}},
      {"obj_data", "obj_data ^o ^= (^1,^2,^3)^ ^90 ^5 ^100 ^2 ^",
       {Show("Object Name"), kHide, Show(kPos2Or3D), Param(1), Param(2), kHide, Show("Rotation"), Show("Model"),
        Show("Value"), Show("Shoptype"), kHide}},
      // A 2D position: the optional comma is missing and the bracket is found from the line start.
      {"create_obj", "o = create_obj(^1,^2)^ ^0 ^90 ^5 ^7 ^end ^",
       {Show(kPos2Or3D), Param(1), kHide, Show("Remap"), Show("Rotation"), Show("Model"), Show("Trailermodel"),
        Show("END"), kHide}},
      {"crane_data", "crane_data c = (^1,^2)^ ^90 ^1 ^",
       {Show("Float X, Float Y"), Param(1), kHide, Show("Home-Rotation"), Show("Homecrane"), kHide}},
      {"first", "first (^1,^2)^ ^90 ^",
       {Show("Float Target X, Float Target Y"), Param(1), kHide, Show("Target-Rotation"), kHide}},
      {"second", "second (^1,^2,^3)^ ^90 ^",
       {Show("Float Target X, Float Target Y"), Param(1), Param(2), kHide, Show("Target-Rotation"), kHide}},
      {"conveyor", "conveyor ^v =^ ^(^1,^2,^3)^ ^(^4,^5)^ ^1 ^2 ^",
       {Show("Conveyor Name"), kHide, kHide, Show(kPos2Or3D), Param(1), Param(2), kHide, kClearHide,
        Show("Float Width, Float Height"), Param(1), kHide, Show("XSpeed"), Show("YSpeed"), kHide}},
      {"generator", "generator ^g =^ ^(^1,^2)^ ^0 ^pistol ^10 ^20 ^5 ^",
       {Show("Generator Name"), kHide, kHide, Show(kPos2Or3D), Param(1), kHide, Show("Rotation"),
        Show("Object-Type"), Show("MinDelay"), Show("MaxDelay"), Show("Ammo"), kHide}},
      {"destructor", "destructor ^d =^ ^(^1,^2,^3)^ ^(^4,^5)^ ^1 ^",
       {Show("Destructor Name"), kHide, kHide, Show(kPos2Or3D), Param(1), Param(2), kHide, kClearHide,
        Show("Width, Height"), Param(1), kClearHide, kClearHide, kHide}},
  };
  return typings;
}

TEST(DeclarationAnalysis, TypingEachDeclarationShowsTheHintOfEachStep) {
  for (const TTyping& typing : Typings()) {
    SCOPED_TRACE(typing.Marked);
    TypeAndCheck(typing, false);
  }
}

TEST(DeclarationAnalysis, UpperCaseDeclarationsLowerCasedByTheCallerGiveTheSameHints) {
  for (const TTyping& typing : Typings()) {
    SCOPED_TRACE(typing.Marked);
    TypeAndCheck(typing, true);
  }
}

// One analysis of a whole line, starting from a given hint.
struct TLineCase {
  const char* Why;
  const char* Line;  // as typed; lower-cased before the analysis
  TDeclarationHint Before;
  TDeclarationHint After;
  bool Flag;
};

TEST(DeclarationAnalysis, WholeLines) {
  const TDeclarationHint none;
  const TDeclarationHint remap{{"Remap"}, 0, true};
  const TLineCase cases[] = {
      {"the keyword alone sets the flag and shows nothing", "player_ped", none, none, true},
      {"a stale hint loses its list once a declaration keyword is typed", "player_ped", remap, {{}, 0, true}, true},
      {"a line without a declaration leaves the hint alone", "x = 1 ", remap, remap, false},
      {"the bold coordinate is the one being typed", "player_ped p = (12.5, 30", none, {kPos3D, 1, true}, true},
      {"upper-case keywords", "PLAYER_PED P = (", none, {kPos3D, 0, true}, true},
      {"tabs are no separators", "player_ped\tp\t=\t(1,2,3)\t0\t", remap, {{}, 0, true}, true},
      {"tabs after the position", "generator g = (1,2,3)\t0\t", none, {kPos2Or3D, 2, false}, true},
      {"tabs between values", "car_data c = (1,2,3) 0\t90\t", none, {{"Remap"}, 0, true}, true},
      {"a created car needs its third coordinate", "c = create_car(1,2) 0 ", none, {kPos2Or3D, 1, true}, true},
      {"a third crane coordinate", "crane_data c = (1,2,3", none, {{"Float X, Float Y"}, 2, true}, true},
      {"a dummy's bracket missing: the closing one is found from the line start", "make_car_a_dummy c)", remap,
       {{}, 0, false}, true},
      {"an unfinished dummy passes on", "make_car_a_dummy create_obj(1,2", none, {kPos2Or3D, 1, true}, true},
      {"a finished dummy passes on", "make_car_a_dummy(c) o = create_obj(", none, {kPos2Or3D, 0, true}, true},
      {"the optional comma missing and no closing bracket", "car_data c = (1,2 ", none, {kPos2Or3D, 1, true},
       true},
      {"a 2D player position is complete at its closing bracket", "player_ped p = (1,2) ", none,
       {{"Remap"}, 0, true}, true},
      {"after a missing optional comma the closing bracket is searched from the line start",
       "crane_data(x) = (1,2", none, {{"Homecrane"}, 0, true}, true},
      {"a declaration that stops early ends the analysis", "player_ped p = create_obj(", none, {kPos3D, 0, true},
       true},
      {"a finished declaration stays hidden", "player_ped p = (1,2,3) 0 90 17 ", none, {{"Rotation"}, 0, false},
       true},
  };
  for (const TLineCase& c : cases) {
    const TDeclarationAnalysis analysis = AnalyzeDeclaration(Lower(c.Line));
    EXPECT_EQ(ApplyDeclarationEffects(c.Before, analysis.Effects), c.After) << c.Why;
    EXPECT_EQ(analysis.DeclarationFlag, c.Flag) << c.Why;
  }
}

const TDeclarationEffect* Replacement(const TDeclarationAnalysis& analysis) {
  auto it = std::find_if(analysis.Effects.begin(), analysis.Effects.end(),
                         [](const TDeclarationEffect& e) { return e.Kind == TDeclarationEffect::ekReplace; });
  if (it == analysis.Effects.end()) return nullptr;
  EXPECT_EQ(it + 1, analysis.Effects.end()) << "a replacement ends the analysis";
  return &*it;
}

TEST(WeaponNames, EveryNameStandingAsTheObjectTypeIsReplacedByItsConstant) {
  ASSERT_EQ(WeaponNames().size(), 18u);
  for (const TWeaponName& weapon : WeaponNames()) {
    const std::string name = weapon.Name;
    struct TShape { std::string Before, After; };
    const TShape shapes[] = {
        {"generator g = (1,2,3) 0 ", " 10 20 5"},
        {"generator g = (1,2) 90 ", " "},
        {"generator g = (1,2,3) 0 \t ", "\t1"},   // blanks and tabs before the value are skipped
        {"generator g = (1,2,3) 0  ", ""},        // at the end of the line
        {"generator g = (1,2,3) 0 ", "// comment"},
    };
    for (const TShape& shape : shapes) {
      for (bool upper : {false, true}) {
        const std::string line = shape.Before + (upper ? Upper(name) : name) + shape.After;
        SCOPED_TRACE(line);
        const TDeclarationAnalysis analysis = AnalyzeDeclaration(Lower(line));
        const TDeclarationEffect* replace = Replacement(analysis);
        ASSERT_NE(replace, nullptr);
        EXPECT_EQ(replace->ReplaceStart, static_cast<int>(shape.Before.size()));
        EXPECT_EQ(replace->ReplaceLength, static_cast<int>(name.size()));
        EXPECT_EQ(replace->Constant, weapon.Constant);
      }
    }
  }
}

TEST(WeaponNames, LongerNamesWinAndNamesElsewhereStay) {
  struct TCase {
    const char* Line;
    const char* Constant;  // nullptr: nothing is replaced
    int Length = 0;
  };
  const TCase cases[] = {
      {"generator g = (1,2,3) 0 dual pistol ", "COLLECT_10", 11},
      {"generator g = (1,2,3) 0 dualpistol ", "COLLECT_10", 10},
      {"generator g = (1,2,3) 0 silencedmachinegun ", "COLLECT_09", 18},
      {"generator g = (1,2,3) 0 machine gun ", "COLLECT_01", 11},
      {"generator g = (1,2,3) 0 Machine Gun 10 ", "COLLECT_01", 11},
      {"generator shotgun_gen = (1,2,3) 0 minigun 10 ", nullptr},
      {"generator pistol = (1,2,3) 0 ", nullptr},
      {"generator g = (1,2,3) 0 shotgun_gen ", nullptr},
      {"generator g = (1,2,3) 0 pistols ", nullptr},
      {"generator g = (1,2,3) 0 pistol2 ", nullptr},
      {"generator g = (1,2,3) 0 machine ", nullptr},
      {"generator g = (1,2,3) 0 5 pistol ", nullptr},
      {"generator g = (1,2,3) 0 collect_00 // pistol ", nullptr},
      {"generator g = (1,2,3) pistol ", nullptr},  // the rotation, not the object type
      {"// a pistol for the generator ", nullptr},
      {"pistol ", nullptr},
  };
  for (const TCase& c : cases) {
    const TDeclarationAnalysis analysis = AnalyzeDeclaration(Lower(c.Line));
    const TDeclarationEffect* replace = Replacement(analysis);
    if (!c.Constant) {
      EXPECT_EQ(replace, nullptr) << c.Line;
      continue;
    }
    ASSERT_NE(replace, nullptr) << c.Line;
    EXPECT_EQ(replace->ReplaceStart, 24) << c.Line;
    EXPECT_EQ(replace->ReplaceLength, c.Length) << c.Line;
    EXPECT_EQ(replace->Constant, c.Constant) << c.Line;
  }
}

TEST(WeaponNames, SwitchedOffTheAnalysisGoesOnPastTheObjectType) {
  const std::string line = "generator g = (1,2,3) 0 pistol 10 ";
  const TDeclarationAnalysis analysis = AnalyzeDeclaration(line, false);
  EXPECT_EQ(Replacement(analysis), nullptr);
  EXPECT_EQ(ApplyDeclarationEffects({}, analysis.Effects), (TDeclarationHint{{"MaxDelay"}, 0, true}));
}

// A generator line typed into a line that, like the editor, carries out each
// replacement as its own text change and runs the analysis again on the
// changed line; the weapon names end as constants and the hint follows the
// line as it finally reads.
TEST(WeaponNames, TypedNamesBecomeConstantsAndTheHintFollowsTheChangedLine) {
  struct TCheckpoint {
    std::string Typed;
    std::string Line;
    TDeclarationHint Hint;
  };
  const std::string head = "GENERATOR g = (1,2,3) 0 ";
  const TCheckpoint checkpoints[] = {
      {"pistol", head + "pistol", {{"Object-Type"}, 0, true}},
      {" ", head + "COLLECT_00 ", {{"MinDelay"}, 0, true}},
      {"10 20 5 ", head + "COLLECT_00 10 20 5 ", {{"Ammo"}, 0, false}},
  };
  const TCheckpoint machineGun[] = {
      {"machine", head + "machine", {{"Object-Type"}, 0, true}},
      {" ", head + "machine ", {{"MinDelay"}, 0, true}},
      {"gun", head + "COLLECT_01", {{"Object-Type"}, 0, true}},
      {" 10", head + "COLLECT_01 10", {{"MinDelay"}, 0, true}},
  };
  for (auto run : {std::span<const TCheckpoint>(checkpoints), std::span<const TCheckpoint>(machineGun)}) {
    std::string line = head;
    TDeclarationHint hint;
    for (const TCheckpoint& checkpoint : run) {
      for (char typed : checkpoint.Typed) {
        line += typed;
        int changes = 0;  // the typed character, then each replacement
        for (bool changed = true; changed; ++changes) {
          ASSERT_LT(changes, 4) << "replacements must not chain: " << line;
          const TDeclarationAnalysis analysis = AnalyzeDeclaration(Lower(line));
          hint = ApplyDeclarationEffects(hint, analysis.Effects);
          const TDeclarationEffect* replace = Replacement(analysis);
          changed = replace != nullptr;
          if (changed) line.replace(replace->ReplaceStart, replace->ReplaceLength, replace->Constant);
        }
      }
      EXPECT_EQ(line, checkpoint.Line);
      EXPECT_EQ(hint, checkpoint.Hint) << line;
    }
  }
}

}  // namespace
}  // namespace penwick
