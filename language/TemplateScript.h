// The fixed template that a new script starts from when the user has chosen a template over an empty script.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace penwick {

// The 40 template lines in order, without line breaks: one weapon
// generator, one player, one parked car and one counter, then the commands
// between LEVELSTART and LEVELEND. The shell appends them one by one to the
// emptied line storage, so the resulting text is the lines joined by CR LF
// with no break after the last line.
std::span<const char* const> TemplateScriptLines();

// The template as one text, exactly as the editor holds it after New.
std::string TemplateScriptText();

// Whether New starts from the template: only when the `EmptyScr` setting is
// off (its default, on, gives an empty script).
bool NewScriptUsesTemplate(bool emptyScr);

// The lines New appends: none for an empty script, else the template lines.
std::vector<std::string> NewScriptLines(bool emptyScr);

}  // namespace penwick
