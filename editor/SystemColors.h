// The classic Windows table of system colours, for resolving colour values
// that name a system colour when no desktop palette is at hand.
#pragma once

#include <cstdint>

namespace penwick {

// The colour value (red lowest, top byte 0) of system colour `index` in the
// classic Windows scheme (0 scroll bar ... 30 menu bar; 8 is the window
// text). An index past the table gives black, as the system answers for an
// unknown index.
std::uint32_t DefaultSystemColor(unsigned index);

// `color` as a plain colour value: a value whose top byte is 0xFF is the
// system colour its low byte names, looked up in the classic table; any
// other value keeps its low three bytes (clNone becomes white, 0xFFFFFF).
std::uint32_t DefaultColorToRGB(std::uint32_t color);

}  // namespace penwick
