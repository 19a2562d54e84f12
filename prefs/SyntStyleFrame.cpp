// The style frame's logic: a style shown as control states, the enabled
// states, and each change of a control written into the style at once.
#include "prefs/SyntStyleFrame.h"

#include <cmath>

#include "platform/UserDialogs.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {

namespace {

constexpr std::uint32_t kFontStyleBits[4] = {fsBold, fsItalic, fsUnderline, fsStrikeOut};
constexpr std::uint32_t kFontStyleFlags[4] = {ffBold, ffItalic, ffUnderline, ffStrikeOut};

// Grey when the style leaves the attribute to others, else after its value.
TCheckState BoxState(const TSyntaxFormat& style, std::uint32_t flag, bool value) {
  if (!(style.FormatFlags & flag)) return TCheckState::Grayed;
  return value ? TCheckState::Checked : TCheckState::Unchecked;
}

bool InRange(int value, int first, int last) { return value >= first && value <= last; }

TBorderLineType TSyntaxFormat::*BorderTypeField(TBorderSide side) {
  switch (side) {
    case bsLeft: return &TSyntaxFormat::BorderTypeLeft;
    case bsTop: return &TSyntaxFormat::BorderTypeTop;
    case bsRight: return &TSyntaxFormat::BorderTypeRight;
    default: return &TSyntaxFormat::BorderTypeBottom;
  }
}

std::uint32_t TSyntaxFormat::*BorderColorField(TBorderSide side) {
  switch (side) {
    case bsLeft: return &TSyntaxFormat::BorderColorLeft;
    case bsTop: return &TSyntaxFormat::BorderColorTop;
    case bsRight: return &TSyntaxFormat::BorderColorRight;
    default: return &TSyntaxFormat::BorderColorBottom;
  }
}

bool ValidSide(int side) { return InRange(side, bsLeft, bsBottom); }

}  // namespace

TSyntStyleFrame::TSyntStyleFrame(TUserDialogs& dialogs) : m_dialogs(dialogs) {}

void TSyntStyleFrame::SetFixedType(bool fixed) {
  m_fixedType = fixed;
  EvaluateEnabled();
  NotifyControls();
}

void TSyntStyleFrame::SetStyle(TSyntaxFormat* style) {
  m_style = style;
  Fill();
}

void TSyntStyleFrame::Fill() {
  m_filling = true;
  if (m_style) {
    const TSyntaxFormat& s = *m_style;
    TStyleFrameControls c;
    c.Background = s.BgColor;
    c.FontColor = s.Font.Color;
    for (int i = 0; i < 4; ++i)
      c.FontStyles[static_cast<std::size_t>(i)] = BoxState(s, kFontStyleFlags[i], (s.Font.Style & kFontStyleBits[i]) != 0);
    c.Hidden = BoxState(s, ffHidden, s.Hidden);
    c.ReadOnly = BoxState(s, ffReadOnly, s.ReadOnly);
    c.MultiLineBorder = s.MultiLineBorder;
    c.StyleType = s.FormatType;
    c.VertAlignment = s.VertAlignment;
    for (int side = bsLeft; side <= bsBottom; ++side) {
      const auto i = static_cast<std::size_t>(side);
      c.BorderTypes[i] = s.*BorderTypeField(static_cast<TBorderSide>(side));
      c.BorderColors[i] = s.*BorderColorField(static_cast<TBorderSide>(side));
    }
    c.Capitalization = s.ChangeCase;
    m_controls = c;
  } else {
    m_controls = TStyleFrameControls{};
  }
  EvaluateEnabled();
  m_filling = false;
  NotifyControls();
}

void TSyntStyleFrame::NotifyControls() {
  if (!OnControlsChanged) return;
  // A form showing the new values makes its widgets report them back: those
  // echoes must not act (a font-style box echoed would rebuild the flags).
  struct TFillingGuard {
    bool& flag;
    bool old;
    ~TFillingGuard() { flag = old; }
  } guard{m_filling, m_filling};
  m_filling = true;
  OnControlsChanged();
}

void TSyntStyleFrame::EvaluateEnabled() {
  const bool shown = m_style != nullptr;
  const TFormatType type = shown ? m_style->FormatType : ftFontAttr;
  TStyleFrameEnabled e;
  e.StyleType = shown && !m_fixedType;
  e.StyleTypeLabel = shown;
  e.Background = shown;
  e.FontColor = shown && type != ftBackGround;
  e.VertAlignment = shown && (type == ftCustomFont || type == ftFontAttr);
  e.FontStyles = e.VertAlignment;
  e.CustomFont = shown && type == ftCustomFont;
  m_enabled = e;
}

void TSyntStyleFrame::StyleChanged() {
  m_style->Changed();
  NotifyControls();
}

void TSyntStyleFrame::SetStyleType(int type) {
  m_controls.StyleType = type;
  if (!Acting() || !InRange(type, ftCustomFont, ftBackGround)) return;
  m_style->FormatType = static_cast<TFormatType>(type);
  EvaluateEnabled();
  StyleChanged();
}

void TSyntStyleFrame::SetBackground(std::uint32_t color) {
  m_controls.Background = color;
  if (!Acting()) return;
  m_style->BgColor = color;
  StyleChanged();
}

void TSyntStyleFrame::SetFontColor(std::uint32_t color) {
  m_controls.FontColor = color;
  if (!Acting()) return;
  m_style->Font.Color = color;
  StyleChanged();
}

void TSyntStyleFrame::SetVertAlignment(int alignment) {
  m_controls.VertAlignment = alignment;
  if (!Acting() || !InRange(alignment, vaTop, vaBottom)) return;
  m_style->VertAlignment = static_cast<TVertAlignment>(alignment);
  StyleChanged();
}

void TSyntStyleFrame::SetFontStyle(TFontStyleBox box, TCheckState state) {
  if (!InRange(box, fbBold, fbStrikeOut)) return;
  m_controls.FontStyles[static_cast<std::size_t>(box)] = state;
  if (!Acting()) return;
  std::uint32_t fontStyle = 0;
  for (int i = 0; i < 4; ++i)
    if (m_controls.FontStyles[static_cast<std::size_t>(i)] == TCheckState::Checked) fontStyle |= kFontStyleBits[i];
  m_style->Font.Style = fontStyle;
  RebuildFlags();
  StyleChanged();
}

void TSyntStyleFrame::SetHidden(TCheckState state) {
  m_controls.Hidden = state;
  if (!Acting()) return;
  m_style->Hidden = state == TCheckState::Checked;
  RebuildFlags();
  StyleChanged();
}

void TSyntStyleFrame::SetReadOnly(TCheckState state) {
  m_controls.ReadOnly = state;
  if (!Acting()) return;
  m_style->ReadOnly = state == TCheckState::Checked;
  RebuildFlags();
  StyleChanged();
}

void TSyntStyleFrame::RebuildFlags() {
  std::uint32_t flags = 0;
  for (int i = 0; i < 4; ++i)
    if (m_controls.FontStyles[static_cast<std::size_t>(i)] != TCheckState::Grayed) flags |= kFontStyleFlags[i];
  if (m_controls.Hidden != TCheckState::Grayed) flags |= ffHidden;
  if (m_controls.ReadOnly != TCheckState::Grayed) flags |= ffReadOnly;
  m_style->FormatFlags = flags;
}

void TSyntStyleFrame::SetMultiLineBorder(bool on) {
  m_controls.MultiLineBorder = on;
  if (!Acting()) return;
  m_style->MultiLineBorder = on;
  StyleChanged();
}

void TSyntStyleFrame::SetBorderType(TBorderSide side, int type) {
  if (!ValidSide(side)) return;
  m_controls.BorderTypes[static_cast<std::size_t>(side)] = type;
  if (!Acting() || !InRange(type, blNone, blDouble)) return;
  m_style->*BorderTypeField(side) = static_cast<TBorderLineType>(type);
  StyleChanged();
}

void TSyntStyleFrame::SetBorderColor(TBorderSide side, std::uint32_t color) {
  if (!ValidSide(side)) return;
  m_controls.BorderColors[static_cast<std::size_t>(side)] = color;
  if (!Acting()) return;
  m_style->*BorderColorField(side) = color;
  StyleChanged();
}

void TSyntStyleFrame::SetCapitalization(int changeCase) {
  m_controls.Capitalization = changeCase;
  if (!Acting() || !InRange(changeCase, ccNone, ccTitle)) return;
  m_style->ChangeCase = static_cast<TChangeCase>(changeCase);
  StyleChanged();
}

void TSyntStyleFrame::CustomFontClick() {
  if (!Acting()) return;
  TSyntFont& font = m_style->Font;
  TFontChoice choice;
  choice.Name = font.Name;
  choice.Size = font.Size;
  choice.Color = font.Color;
  choice.Charset = font.Charset;
  choice.Style = static_cast<int>(font.Style);
  if (!m_dialogs.ExecuteFont(choice)) return;
  font.Name = choice.Name;
  // The height follows a new size; an unchanged size keeps the height the
  // style had, which a size rounded to points cannot always give back.
  if (choice.Size != font.Size) {
    font.Size = choice.Size;
    font.Height = static_cast<int>(-std::lround(choice.Size * 96.0 / 72.0));
  }
  font.Color = choice.Color;
  font.Charset = choice.Charset;
  font.Style = static_cast<std::uint32_t>(choice.Style) & (fsBold | fsItalic | fsUnderline | fsStrikeOut);
  m_style->Changed();
  Fill();
}

}  // namespace penwick
