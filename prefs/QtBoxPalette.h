// The base colour of a list or colour box after its enabled state: a disabled
// box is drawn in the colour of the frame around it, an enabled one in the
// window colour.
#pragma once

#include <QPalette>

class QWidget;

namespace penwick {

// Sets `box`'s QPalette::Base and QPalette::Button (every colour group: the
// list and the face of the closed box) to its parent's
// QPalette::Window when the box is disabled, else to the parent's
// QPalette::Base (the application's for a box without parent). Call it
// after every change of the enabled state; other roles keep inheriting.
void ApplyBoxPalette(QWidget& box);

// The palette around `box`: its parent's, or the application's for a box
// without parent; unlike the box's own, it does not follow the enabled state.
QPalette SurroundingPalette(const QWidget& box);

}  // namespace penwick
