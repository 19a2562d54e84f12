// The entries of a colour box: named standard, extended and system colours,
// "none" and a custom entry, and which entry shows a given colour.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace penwick {

// What a colour box lists, as bits.
enum TColorBoxStyle : unsigned {
  cbStandardColors = 1u << 0,  // the 16 colours of the classic palette ("Black", "Maroon", ... "White")
  cbExtendedColors = 1u << 1,  // "Money Green", "Sky Blue", "Cream", "Medium Gray"
  cbSystemColors = 1u << 2,    // the system colours ("Scroll Bar", ... "Button Face", ...)
  cbIncludeNone = 1u << 3,     // "none" (clNone)
  cbCustomColor = 1u << 4,     // a first entry "Custom..." that holds any other colour
};

// The boxes of the style frame.
inline constexpr unsigned kStyleColorBox = cbStandardColors | cbExtendedColors | cbSystemColors | cbIncludeNone | cbCustomColor;
inline constexpr unsigned kBorderColorBox = cbStandardColors | cbExtendedColors | cbCustomColor;

struct TColorBoxEntry {
  std::uint32_t Color = 0;
  std::string Name;  // readable: "Black", "Button Face", "none", "Custom..."
  bool Custom = false;
};

// Invariant: Entries() holds the custom entry first (when the style has
// one), then "none", the standard, extended and system colours, in that
// order and without repeats. The custom entry's colour is the last colour
// shown there (black at first).
class TColorBoxModel {
public:
  explicit TColorBoxModel(unsigned style);

  unsigned Style() const { return m_style; }
  const std::vector<TColorBoxEntry>& Entries() const { return m_entries; }
  int Count() const { return static_cast<int>(m_entries.size()); }

  // Shows `color`: the entry that lists it, else the custom entry takes it.
  // Without a custom entry an unlisted colour selects nothing (-1).
  // Returns the selected index.
  int Select(std::uint32_t color);
  int Selected() const { return m_selected; }
  // The colour of the selected entry; `fallback` when none is selected.
  std::uint32_t SelectedColor(std::uint32_t fallback = 0) const;
  // The user picked an entry (the custom one after its colour dialog
  // confirmed `customColor`). An index out of range changes nothing.
  void Pick(int index, std::uint32_t customColor = 0);
  // The index of the custom entry, -1 when there is none.
  int CustomIndex() const;

private:
  unsigned m_style;
  std::vector<TColorBoxEntry> m_entries;
  int m_selected = -1;
};

}  // namespace penwick
