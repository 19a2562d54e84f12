// The style frame's logic (`TSyntStyleFrame`): shows one style of a lexer
// definition as control states, works out which controls are enabled, and
// writes each change of a control into the style at once.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

namespace penwick {

class TSyntaxFormat;
class TUserDialogs;

// A three-state box: Grayed means the style leaves the attribute to others
// (its flag is not set).
enum class TCheckState { Unchecked, Checked, Grayed };

// The four font-style boxes of the group "Font style".
enum TFontStyleBox { fbBold = 0, fbItalic = 1, fbUnderline = 2, fbStrikeOut = 3 };
// The rows of the group "Borders ...".
enum TBorderSide { bsLeft = 0, bsTop = 1, bsRight = 2, bsBottom = 3 };

// The controls' values. Lists hold their selected index, which is the
// property's enumeration value.
struct TStyleFrameControls {
  int StyleType = 0;                  // "&Style type": ftCustomFont .. ftBackGround
  std::uint32_t Background = 0;       // "&Background"
  std::uint32_t FontColor = 0;        // "&Font color"
  int VertAlignment = 0;              // "&Vertical alignment": vaTop .. vaBottom
  std::array<TCheckState, 4> FontStyles{TCheckState::Grayed, TCheckState::Grayed, TCheckState::Grayed,
                                        TCheckState::Grayed};  // "Bo&ld", "&Italic", "&Underline", "S&trike out"
  TCheckState Hidden = TCheckState::Grayed;     // "&Hidden"
  TCheckState ReadOnly = TCheckState::Grayed;   // "&ReadOnly"
  bool MultiLineBorder = false;                 // "&Multiline border"
  int Capitalization = 0;                       // "Ca&pitalization effect": ccNone .. ccTitle
  std::array<int, 4> BorderTypes{};             // per TBorderSide: blNone .. blDouble
  std::array<std::uint32_t, 4> BorderColors{};  // per TBorderSide
};

// Which controls are enabled; the controls not named here stay enabled.
// A disabled list or colour box is drawn in the frame's colour.
struct TStyleFrameEnabled {
  bool StyleType = false;       // the list: a style is shown and the type is not fixed
  bool StyleTypeLabel = false;  // its label: a style is shown
  bool Background = false;      // the box and its label: a style is shown
  bool FontColor = false;       // the box and its label: a style is shown, type not "Only Background"
  bool VertAlignment = false;   // the list, its label and the four font-style boxes: custom font or font attributes
  bool FontStyles = false;
  bool CustomFont = false;      // "Se&t custom font ...": type "Custom font"
};

class TSyntStyleFrame {
public:
  // `dialogs` (the custom-font dialog) is not owned and must outlive the frame.
  explicit TSyntStyleFrame(TUserDialogs& dialogs);

  // Fixed-type mode: the style type is shown but cannot be changed.
  bool FixedType() const { return m_fixedType; }
  void SetFixedType(bool fixed);

  // The style shown (not owned), or nullptr for none. Setting it fills the
  // controls from the style, without changing the style, and evaluates the
  // enabled states; with none the controls take their default values.
  TSyntaxFormat* Style() const { return m_style; }
  void SetStyle(TSyntaxFormat* style);

  const TStyleFrameControls& Controls() const { return m_controls; }
  const TStyleFrameEnabled& Enabled() const { return m_enabled; }
  // True while the frame fills its controls: changes are ignored then.
  bool Filling() const { return m_filling; }

  // Changes made by the user: each sets the control's value, then (unless
  // the frame is filling or no style is shown) writes it into the style at
  // once, tells the style it changed (Changed(), so analyses repaint) and
  // then OnControlsChanged. A list index outside its enumeration, a box or
  // side outside its enumeration, is kept in the control (boxes and sides:
  // ignored) but never written into the style.
  void SetStyleType(int type);
  void SetBackground(std::uint32_t color);
  void SetFontColor(std::uint32_t color);
  void SetVertAlignment(int alignment);
  // A font-style box: the style's font takes the four ticked boxes, then
  // the flags are rebuilt.
  void SetFontStyle(TFontStyleBox box, TCheckState state);
  void SetHidden(TCheckState state);
  void SetReadOnly(TCheckState state);
  void SetMultiLineBorder(bool on);
  void SetBorderType(TBorderSide side, int type);
  void SetBorderColor(TBorderSide side, std::uint32_t color);
  void SetCapitalization(int changeCase);
  // "Se&t custom font ...": the font dialog loaded with the style's font;
  // when confirmed the style takes it and is shown again. A new size sets
  // the height (-round(size * 96 / 72)); the pitch is kept. Nothing happens
  // without a style.
  void CustomFontClick();

  // Told after every change of the controls' values or enabled states, so a
  // form shows them again. It runs with Filling() true: the changes a form's
  // widgets report back while it shows the values are ignored.
  std::function<void()> OnControlsChanged;

private:
  void Fill();
  void EvaluateEnabled();
  // FormatFlags := the six flag bits whose boxes are not grey.
  void RebuildFlags();
  bool Acting() const { return !m_filling && m_style; }
  void StyleChanged();
  // OnControlsChanged, with Filling() true while it runs.
  void NotifyControls();

  TUserDialogs& m_dialogs;
  TSyntaxFormat* m_style = nullptr;
  TStyleFrameControls m_controls;
  TStyleFrameEnabled m_enabled;
  bool m_fixedType = false;
  bool m_filling = false;
};

}  // namespace penwick
