// The editor as the main window's form configures it, before the user's
// settings replace some of these values.
#pragma once

namespace penwick {

class TSyntaxMemo;

// Courier New of 13 pixels on black, the configured options, word wrap on,
// tab stops "4", a text margin of 6, a 40-pixel gutter in the button face
// colour with its folding lines, line numbers in Courier New of 9 pixels.
// Values the form leaves alone stay the control's own defaults.
void ApplyFormSettings(TSyntaxMemo& memo);

}  // namespace penwick
