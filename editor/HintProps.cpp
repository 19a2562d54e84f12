// The editor's hint settings and their checks.
#include "editor/HintProps.h"

namespace penwick {

THintProps::THintProps() {
  m_font.Name = "MS Sans Serif";
  m_font.Height = -11;
  m_font.Size = 8;
}

void THintProps::Notify() {
  if (OnChanged) OnChanged();
}

void THintProps::SetPositive(int& field, int value) {
  if (value <= 0) throw EHintPropsError();
  if (field == value) return;
  field = value;
  Notify();
}

void THintProps::SetColor(std::uint32_t color) {
  m_color = color;
  Notify();
}

void THintProps::SetFont(const TSyntFont& font) {
  m_font = font;
  Notify();
}

void THintProps::SetShowHints(THintShows shows) {
  m_showHints = shows;
  Notify();
}

void THintProps::SetDelayBefore(int ms) { SetPositive(m_delayBefore, ms); }
void THintProps::SetTimeCollapsed(int ms) { SetPositive(m_timeCollapsed, ms); }
void THintProps::SetTimeGutter(int ms) { SetPositive(m_timeGutter, ms); }
void THintProps::SetTimeTokens(int ms) { SetPositive(m_timeTokens, ms); }
void THintProps::SetCollapsedLines(int lines) { SetPositive(m_collapsedLines, lines); }

}  // namespace penwick
