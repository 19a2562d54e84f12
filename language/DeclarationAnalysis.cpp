// The declaration shapes as step tables, the step runner over the caret line, and the weapon-name lookup of generator lines.
#include "language/DeclarationAnalysis.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <optional>

namespace penwick {

namespace {

using TTexts = std::span<const char* const>;

constexpr const char* kPlayerName[] = {"Player Name"};
constexpr const char* kCarName[] = {"Car Name"};
constexpr const char* kObjectName[] = {"Object Name"};
constexpr const char* kConveyorName[] = {"Conveyor Name"};
constexpr const char* kGeneratorName[] = {"Generator Name"};
constexpr const char* kDestructorName[] = {"Destructor Name"};
constexpr const char* kPosition3D[] = {"Float X, Float Y, Float Z"};
// A position given with or without its height: both shapes, 2D first.
constexpr const char* kPosition2Dor3D[] = {"Float X, Float Y", "Float X, Float Y, Float Z"};
constexpr const char* kPosition2D[] = {"Float X, Float Y"};
constexpr const char* kTarget[] = {"Float Target X, Float Target Y"};
constexpr const char* kConveyorSize[] = {"Float Width, Float Height"};
constexpr const char* kDestructorSize[] = {"Width, Height"};
constexpr const char* kRemap[] = {"Remap"};
constexpr const char* kRotation[] = {"Rotation"};
constexpr const char* kModel[] = {"Model"};
constexpr const char* kTrailerModel[] = {"Trailermodel"};
constexpr const char* kEnd[] = {"END"};
constexpr const char* kValue[] = {"Value"};
constexpr const char* kShopType[] = {"Shoptype"};
constexpr const char* kHomeRotation[] = {"Home-Rotation"};
constexpr const char* kHomeCrane[] = {"Homecrane"};
constexpr const char* kTargetRotation[] = {"Target-Rotation"};
constexpr const char* kXSpeed[] = {"XSpeed"};
constexpr const char* kYSpeed[] = {"YSpeed"};
constexpr const char* kObjectType[] = {"Object-Type"};
constexpr const char* kMinDelay[] = {"MinDelay"};
constexpr const char* kMaxDelay[] = {"MaxDelay"};
constexpr const char* kAmmo[] = {"Ammo"};

enum TStepAction { saNone, saHint, saParam, saHide, saClearAndHide, saWeaponThenHint };

// One step: the separator it looks for and what finding it does. An optional
// step whose separator is missing skips its action and sends the next search
// back to the line's first character; a required one ends the analysis.
struct TStep {
  char Separator;
  TStepAction Action;
  TTexts Declarations = {};
  int Param = 0;
  bool Optional = false;
};

constexpr TStep None(char sep) { return {sep, saNone}; }
constexpr TStep Hint(char sep, TTexts decls) { return {sep, saHint, decls}; }
constexpr TStep OptionalHint(char sep, TTexts decls) { return {sep, saHint, decls, 0, true}; }
constexpr TStep Param(char sep, int param) { return {sep, saParam, {}, param}; }
constexpr TStep OptionalParam(char sep, int param) { return {sep, saParam, {}, param, true}; }
constexpr TStep Hide(char sep) { return {sep, saHide}; }
constexpr TStep OptionalHide(char sep) { return {sep, saHide, {}, 0, true}; }
constexpr TStep ClearAndHide(char sep) { return {sep, saClearAndHide}; }
constexpr TStep WeaponThenHint(char sep, TTexts decls) { return {sep, saWeaponThenHint, decls}; }

const TStep kPlayerPedSteps[] = {
    Hint(' ', kPlayerName), Hide(' '), None('='), None(' '), Hint('(', kPosition3D), Param(',', 1),
    OptionalParam(',', 2), Hide(')'), Hint(' ', kRemap), Hint(' ', kRotation), Hide(' ')};
const TStep kCarDataSteps[] = {
    Hint(' ', kCarName), Hide(' '), None('='), None(' '), Hint('(', kPosition2Dor3D), Param(',', 1),
    OptionalParam(',', 2), Hide(')'), Hint(' ', kRemap), Hint(' ', kRotation), Hint(' ', kModel),
    Hint(' ', kTrailerModel), Hide(' ')};
// The third coordinate of a created car is required: a 2D position stops here.
const TStep kCreateCarSteps[] = {
    Hint('(', kPosition2Dor3D), Param(',', 1), Param(',', 2), Hide(')'), Hint(' ', kRemap),
    Hint(' ', kRotation), Hint(' ', kModel), Hint(' ', kTrailerModel), Hint(' ', kEnd), Hide(' ')};
// Never ends the analysis: the car name may be missing or unfinished.
const TStep kMakeCarADummySteps[] = {OptionalHint('(', kCarName), OptionalHide(')')};
const TStep kObjDataSteps[] = {
    Hint(' ', kObjectName), Hide(' '), None('='), None(' '), Hint('(', kPosition2Dor3D), Param(',', 1),
    OptionalParam(',', 2), Hide(')'), Hint(' ', kRotation), Hint(' ', kModel), Hint(' ', kValue),
    Hint(' ', kShopType), Hide(' ')};
const TStep kCreateObjSteps[] = {
    Hint('(', kPosition2Dor3D), Param(',', 1), OptionalParam(',', 2), Hide(')'), Hint(' ', kRemap),
    Hint(' ', kRotation), Hint(' ', kModel), Hint(' ', kTrailerModel), Hint(' ', kEnd), Hide(' ')};
const TStep kCraneDataSteps[] = {
    Hint('(', kPosition2D), Param(',', 1), OptionalParam(',', 2), Hide(')'), Hint(' ', kHomeRotation),
    Hint(' ', kHomeCrane), Hide(' ')};
// The two targets of a crane ("first" and "second") share their shape.
const TStep kCraneTargetSteps[] = {
    Hint('(', kTarget), Param(',', 1), OptionalParam(',', 2), Hide(')'), Hint(' ', kTargetRotation),
    Hide(' ')};
const TStep kConveyorSteps[] = {
    Hint(' ', kConveyorName), Hide('='), Hide(' '), Hint('(', kPosition2Dor3D), Param(',', 1),
    OptionalParam(',', 2), Hide(')'), ClearAndHide(' '), Hint('(', kConveyorSize), Param(',', 1),
    Hide(')'), Hint(' ', kXSpeed), Hint(' ', kYSpeed), Hide(' ')};
const TStep kGeneratorSteps[] = {
    Hint(' ', kGeneratorName), Hide('='), Hide(' '), Hint('(', kPosition2Dor3D), Param(',', 1),
    OptionalParam(',', 2), Hide(')'), Hint(' ', kRotation), Hint(' ', kObjectType),
    WeaponThenHint(' ', kMinDelay), Hint(' ', kMaxDelay), Hint(' ', kAmmo), Hide(' ')};
const TStep kDestructorSteps[] = {
    Hint(' ', kDestructorName), Hide('='), Hide(' '), Hint('(', kPosition2Dor3D), Param(',', 1),
    OptionalParam(',', 2), Hide(')'), ClearAndHide(' '), Hint('(', kDestructorSize), Param(',', 1),
    ClearAndHide(')'), ClearAndHide(' '), Hide(' ')};

// A declaration kind: its keyword, where the keyword must stand (at the line
// start, or anywhere for the kinds that follow an assignment or a command),
// and its steps. The kinds are tried in this order.
struct TSection {
  std::string_view Keyword;
  bool Anywhere;
  std::span<const TStep> Steps;
};

const TSection kSections[] = {
    {"player_ped", false, kPlayerPedSteps},
    {"car_data", false, kCarDataSteps},
    {"create_car", true, kCreateCarSteps},
    {"make_car_a_dummy", true, kMakeCarADummySteps},
    {"obj_data", false, kObjDataSteps},
    {"create_obj", true, kCreateObjSteps},
    {"crane_data", false, kCraneDataSteps},
    {"first", false, kCraneTargetSteps},
    {"second", false, kCraneTargetSteps},
    {"conveyor", false, kConveyorSteps},
    {"generator", false, kGeneratorSteps},
    {"destructor", false, kDestructorSteps},
};

constexpr TWeaponName kWeaponNames[] = {
    {"dual pistol", "COLLECT_10"},
    {"dualpistol", "COLLECT_10"},
    {"pistol", "COLLECT_00"},
    {"machine gun", "COLLECT_01"},
    {"machinegun", "COLLECT_01"},
    {"rocket launcher", "COLLECT_02"},
    {"rocketlauncher", "COLLECT_02"},
    {"electro gun", "COLLECT_03"},
    {"electrogun", "COLLECT_03"},
    {"molotov", "COLLECT_04"},
    {"grenade", "COLLECT_05"},
    {"shotgun", "COLLECT_06"},
    {"flame thrower", "COLLECT_08"},
    {"flamethrower", "COLLECT_08"},
    {"silenced_machine_gun", "COLLECT_09"},
    {"silencedmachinegun", "COLLECT_09"},
    {"oil slick", "COLLECT_16"},
    {"oilslick", "COLLECT_16"},
};

struct TWeaponMatch {
  std::size_t Start;
  const TWeaponName* Row;
};

// The weapon name standing whole at the start of the value that begins at
// `valueStart` (leading blanks and tabs skipped), if any. No name of the
// table begins with another name followed by a blank or a sign (a character
// that is no letter, digit or '_'), so at most one name
// stands whole there and the table order decides nothing; a name inside a
// longer one ("pistol" in "dual pistol", "machinegun" in
// "silencedmachinegun") never stands at the value's start.
std::optional<TWeaponMatch> FindWeaponAt(std::string_view line, std::size_t valueStart) {
  std::size_t start = std::min(valueStart, line.size());
  while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
  const std::string_view value = line.substr(start);
  const TCodePage& codePage = TCodePage::Default();
  for (const TWeaponName& row : kWeaponNames) {
    std::string_view name = row.Name;
    if (!value.starts_with(name)) continue;
    if (value.size() > name.size() && codePage.IsWordChar(static_cast<unsigned char>(value[name.size()])))
      continue;
    return TWeaponMatch{start, &row};
  }
  return std::nullopt;
}

TDeclarationEffect MakeEffect(TDeclarationEffect::TKind kind, TTexts decls = {}, int param = 0) {
  TDeclarationEffect effect;
  effect.Kind = kind;
  effect.Declarations.assign(decls.begin(), decls.end());
  effect.Param = param;
  return effect;
}

// Runs one kind's steps from `from`. Returns false when the analysis ends
// here (a required separator is missing, or a weapon name was replaced).
bool RunSteps(std::string_view line, std::size_t from, std::span<const TStep> steps, bool replaceWeapons,
              std::vector<TDeclarationEffect>& effects) {
  for (const TStep& step : steps) {
    const std::size_t at = from <= line.size() ? line.find(step.Separator, from) : std::string_view::npos;
    if (at == std::string_view::npos) {
      if (!step.Optional) return false;
      from = 0;
      continue;
    }
    const std::size_t valueStart = from;
    from = at + 1;
    switch (step.Action) {
      case saNone: break;
      case saHint: effects.push_back(MakeEffect(TDeclarationEffect::ekHint, step.Declarations)); break;
      case saParam: effects.push_back(MakeEffect(TDeclarationEffect::ekParam, {}, step.Param)); break;
      case saHide: effects.push_back(MakeEffect(TDeclarationEffect::ekHide)); break;
      case saClearAndHide: effects.push_back(MakeEffect(TDeclarationEffect::ekClearAndHide)); break;
      case saWeaponThenHint:
        if (replaceWeapons) {
          if (auto match = FindWeaponAt(line, valueStart)) {
            TDeclarationEffect replace = MakeEffect(TDeclarationEffect::ekReplace);
            replace.ReplaceStart = static_cast<int>(match->Start);
            replace.ReplaceLength = static_cast<int>(std::string_view(match->Row->Name).size());
            replace.Constant = match->Row->Constant;
            effects.push_back(std::move(replace));
            return false;
          }
        }
        effects.push_back(MakeEffect(TDeclarationEffect::ekHint, step.Declarations));
        break;
    }
  }
  return true;
}

}  // namespace

std::span<const TWeaponName> WeaponNames() { return kWeaponNames; }

TDeclarationAnalysis AnalyzeDeclaration(std::string_view lowerLine, bool replaceWeapons) {
  TDeclarationAnalysis result;
  for (const TSection& section : kSections) {
    std::size_t keywordAt = 0;
    if (section.Anywhere) {
      keywordAt = lowerLine.find(section.Keyword);
      if (keywordAt == std::string_view::npos) continue;
    } else if (!lowerLine.starts_with(section.Keyword)) {
      continue;
    }
    result.DeclarationFlag = true;
    result.Effects.push_back(MakeEffect(TDeclarationEffect::ekClearList));
    if (!RunSteps(lowerLine, keywordAt + section.Keyword.size(), section.Steps, replaceWeapons, result.Effects))
      break;
  }
  return result;
}

TDeclarationHint ApplyDeclarationEffects(TDeclarationHint before, std::span<const TDeclarationEffect> effects) {
  TDeclarationHint hint = std::move(before);
  for (const TDeclarationEffect& effect : effects) {
    switch (effect.Kind) {
      case TDeclarationEffect::ekHint:
        hint.Declarations = effect.Declarations;
        hint.Param = effect.Param;
        hint.Visible = true;
        break;
      case TDeclarationEffect::ekParam:
        hint.Param = effect.Param;
        hint.Visible = true;
        break;
      case TDeclarationEffect::ekHide: hint.Visible = false; break;
      case TDeclarationEffect::ekClearAndHide:
        hint.Declarations.clear();
        hint.Visible = false;
        break;
      case TDeclarationEffect::ekClearList: hint.Declarations.clear(); break;
      case TDeclarationEffect::ekReplace: break;
    }
  }
  return hint;
}

}  // namespace penwick
