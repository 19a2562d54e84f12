// Toolbar pictures of our own, for commands the toolkit's standard icons
// have no fitting picture for.
#pragma once

#include <QIcon>

namespace penwick {

// The desktop theme's "edit-cut" picture, or a pair of scissors drawn here
// (16 and 32 pixels) when the theme has none.
QIcon CutIcon();

}  // namespace penwick
