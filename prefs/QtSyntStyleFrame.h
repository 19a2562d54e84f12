// The style frame as a Qt form (`TQtSyntStyleFrame`): shows the controls of
// a TSyntStyleFrame and hands every change the user makes to it.
#pragma once

#include <QFrame>
#include <array>

#include "prefs/SyntStyleFrame.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace penwick {

class TQtBorderLineBox;
class TQtColorBox;
class TUserDialogs;

// Thin: the values and enabled states are the logic's (Controls(),
// Enabled()); this form shows them whenever the logic says they changed
// (it takes the logic's OnControlsChanged for as long as it lives) and
// turns each user change into the logic's setter. While it shows values it
// blocks its controls' signals, so showing never writes back.
//
// Three-state boxes cycle unchecked -> checked -> grey -> unchecked on
// clicks; grey means the style leaves the attribute to other styles.
//
// Not owned: `frame` and `dialogs` (the custom colour entries' dialog);
// both must outlive the form.
class TQtSyntStyleFrame : public QFrame {
  Q_OBJECT
public:
  TQtSyntStyleFrame(TSyntStyleFrame& frame, TUserDialogs& dialogs, QWidget* parent = nullptr);
  ~TQtSyntStyleFrame() override;

  TSyntStyleFrame& Logic() { return m_frame; }
  // Shows the logic's controls and enabled states again.
  void ShowControls();

  // The controls, for the dialog around the frame and for tests.
  QComboBox* StyleTypeBox() const { return m_styleType; }
  TQtColorBox* BackgroundBox() const { return m_background; }
  TQtColorBox* FontColorBox() const { return m_fontColor; }
  QComboBox* VertAlignmentBox() const { return m_vertAlignment; }
  QCheckBox* FontStyleBox(TFontStyleBox box) const { return m_fontStyles[box]; }
  QCheckBox* HiddenBox() const { return m_hidden; }
  QCheckBox* ReadOnlyBox() const { return m_readOnly; }
  QCheckBox* MultiLineBorderBox() const { return m_multiLineBorder; }
  QPushButton* CustomFontButton() const { return m_customFont; }
  QComboBox* CapitalizationBox() const { return m_capitalization; }
  TQtBorderLineBox* BorderTypeBox(TBorderSide side) const { return m_borderTypes[side]; }
  TQtColorBox* BorderColorBox(TBorderSide side) const { return m_borderColors[side]; }

private:
  void BuildControls(TUserDialogs& dialogs);
  void ConnectControls();
  void ShowEnabled();

  TSyntStyleFrame& m_frame;
  QLabel* m_styleTypeLabel = nullptr;
  QComboBox* m_styleType = nullptr;
  QLabel* m_backgroundLabel = nullptr;
  TQtColorBox* m_background = nullptr;
  QLabel* m_fontColorLabel = nullptr;
  TQtColorBox* m_fontColor = nullptr;
  QLabel* m_vertAlignmentLabel = nullptr;
  QComboBox* m_vertAlignment = nullptr;
  std::array<QCheckBox*, 4> m_fontStyles{};
  QCheckBox* m_hidden = nullptr;
  QCheckBox* m_readOnly = nullptr;
  QCheckBox* m_multiLineBorder = nullptr;
  QPushButton* m_customFont = nullptr;
  QComboBox* m_capitalization = nullptr;
  std::array<TQtBorderLineBox*, 4> m_borderTypes{};
  std::array<TQtColorBox*, 4> m_borderColors{};
};

}  // namespace penwick
