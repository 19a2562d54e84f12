// The entries of a colour box, with the readable names of the named colours.
#include "prefs/ColorBoxModel.h"

#include <cassert>
#include <optional>

#include "syntax/CanvasState.h"
#include "syntax/StreamNames.h"

namespace penwick {

namespace {

// Readable names beside the stored names whose values the colour table holds.
struct TReadableColor {
  const char* Name;
  const char* StoredName;
};

constexpr TReadableColor kStandard[] = {
    {"Black", "clBlack"},     {"Maroon", "clMaroon"}, {"Green", "clGreen"}, {"Olive", "clOlive"},
    {"Navy", "clNavy"},       {"Purple", "clPurple"}, {"Teal", "clTeal"},   {"Gray", "clGray"},
    {"Silver", "clSilver"},   {"Red", "clRed"},       {"Lime", "clLime"},   {"Yellow", "clYellow"},
    {"Blue", "clBlue"},       {"Fuchsia", "clFuchsia"}, {"Aqua", "clAqua"}, {"White", "clWhite"},
};

constexpr TReadableColor kExtended[] = {
    {"Money Green", "clMoneyGreen"}, {"Sky Blue", "clSkyBlue"}, {"Cream", "clCream"}, {"Medium Gray", "clMedGray"},
};

constexpr TReadableColor kSystem[] = {
    {"Scroll Bar", "clScrollBar"},
    {"Background", "clBackground"},
    {"Active Caption", "clActiveCaption"},
    {"Inactive Caption", "clInactiveCaption"},
    {"Menu", "clMenu"},
    {"Window", "clWindow"},
    {"Window Frame", "clWindowFrame"},
    {"Menu Text", "clMenuText"},
    {"Window Text", "clWindowText"},
    {"Caption Text", "clCaptionText"},
    {"Active Border", "clActiveBorder"},
    {"Inactive Border", "clInactiveBorder"},
    {"Application Workspace", "clAppWorkSpace"},
    {"Highlight", "clHighlight"},
    {"Highlight Text", "clHighlightText"},
    {"Button Face", "clBtnFace"},
    {"Button Shadow", "clBtnShadow"},
    {"Gray Text", "clGrayText"},
    {"Button Text", "clBtnText"},
    {"Inactive Caption Text", "clInactiveCaptionText"},
    {"Button Highlight", "clBtnHighlight"},
    {"3D Dark Shadow", "cl3DDkShadow"},
    {"3D Light", "cl3DLight"},
    {"Info Text", "clInfoText"},
    {"Info Background", "clInfoBk"},
    {"Hot Light", "clHotLight"},
    {"Gradient Active Caption", "clGradientActiveCaption"},
    {"Gradient Inactive Caption", "clGradientInactiveCaption"},
    {"Menu Highlight", "clMenuHighlight"},
    {"Menu Bar", "clMenuBar"},
};

template <std::size_t N>
void AddNamed(std::vector<TColorBoxEntry>& entries, const TReadableColor (&table)[N]) {
  for (const TReadableColor& c : table) {
    const std::optional<std::uint32_t> value = ColorByName(c.StoredName);
    assert(value && "every readable colour names a colour of the stored-name table");
    if (value) entries.push_back({*value, c.Name, false});
  }
}

}  // namespace

TColorBoxModel::TColorBoxModel(unsigned style) : m_style(style) {
  if (style & cbCustomColor) m_entries.push_back({clBlack, "Custom...", true});
  if (style & cbIncludeNone) m_entries.push_back({clNone, "none", false});
  if (style & cbStandardColors) AddNamed(m_entries, kStandard);
  if (style & cbExtendedColors) AddNamed(m_entries, kExtended);
  if (style & cbSystemColors) AddNamed(m_entries, kSystem);
}

int TColorBoxModel::CustomIndex() const { return (m_style & cbCustomColor) ? 0 : -1; }

int TColorBoxModel::Select(std::uint32_t color) {
  // A listed colour is found among the named entries; the custom entry only
  // takes what nothing else lists, so it is never searched.
  for (int i = 0; i < Count(); ++i) {
    const TColorBoxEntry& e = m_entries[static_cast<std::size_t>(i)];
    if (!e.Custom && e.Color == color) return m_selected = i;
  }
  const int custom = CustomIndex();
  if (custom >= 0) m_entries[static_cast<std::size_t>(custom)].Color = color;
  return m_selected = custom;
}

std::uint32_t TColorBoxModel::SelectedColor(std::uint32_t fallback) const {
  if (m_selected < 0 || m_selected >= Count()) return fallback;
  return m_entries[static_cast<std::size_t>(m_selected)].Color;
}

void TColorBoxModel::Pick(int index, std::uint32_t customColor) {
  if (index < 0 || index >= Count()) return;
  TColorBoxEntry& e = m_entries[static_cast<std::size_t>(index)];
  if (e.Custom) e.Color = customColor;
  m_selected = index;
}

}  // namespace penwick
