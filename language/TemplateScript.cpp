// The new-script template text and the rule that decides when New uses it.
#include "language/TemplateScript.h"

#include <iterator>

namespace penwick {

namespace {

const char* const kTemplateLines[] = {
    "// Varnok Test Script",
    "// by Quenby & Ashcombe, April 2011",
    "",
    "// Weapons",
    "GENERATOR rocket1 = (128.5,128.5) 0 COLLECT_02 0 0 99",
    "// Note: This respawns instantly and gives maximum ammo.",
    "",
    "// Players",
    "PLAYER_PED p1 = ( 127.5 , 127.5 , 255.0 ) 25 180",
    "",
    "// Cars",
    "PARKED_CAR_DATA player_car = ( 128.5 , 127.5 , 255.0 ) 02 180 VTYPE",
    "",
    "// Counters",
    "COUNTER loop = 1",
    "",  // room for the author's own declarations
    "",
    "",
    "// End of objects",
    "LEVELSTART",
    "// ...start of commands.",
    "",  // room for the author's own commands
    "",
    "",
    "// Environment",
    "SET_AMBIENT_LEVEL (0.75, 0) // use smaller first value when you add lights",
    "DECLARE_POLICELEVEL (4) // SWAT; 5 = FBI; 6 = Army",
    "// Note: Army only works in multiplayer with Dorrel's Varnok v11.3 or newer.",
    "",
    "// Weapons",
    "SWITCH_GENERATOR (rocket1, ON )",
    "",
    "// Main Loop",
    "// Note: Only needed for missions, game modes and gimmicks.",
    "WHILE_EXEC ( loop = 1 )",
    "     DO_NOWT",
    "ENDWHILE",
    "",
    "",
    "LEVELEND",
};

}  // namespace

std::span<const char* const> TemplateScriptLines() { return kTemplateLines; }

std::string TemplateScriptText() {
  std::string text;
  bool first = true;
  for (const char* line : kTemplateLines) {
    if (!first) text += "\r\n";
    text += line;
    first = false;
  }
  return text;
}

bool NewScriptUsesTemplate(bool emptyScr) { return !emptyScr; }

std::vector<std::string> NewScriptLines(bool emptyScr) {
  if (!NewScriptUsesTemplate(emptyScr)) return {};
  return {std::begin(kTemplateLines), std::end(kTemplateLines)};
}

}  // namespace penwick
