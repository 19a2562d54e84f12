// A colour box (`TQtColorBox`): a drop-down list of named colours with a
// swatch each, "none" and a custom entry that asks the user for any colour.
#pragma once

#include <QComboBox>
#include <cstdint>

#include "prefs/ColorBoxModel.h"

namespace penwick {

class TUserDialogs;

// Shows the entries of an owned TColorBoxModel: each a swatch of its colour
// (system colours as the palette around the box draws them) and its readable
// name. Picking the custom entry runs the colour dialog, loaded with the
// custom entry's colour: a confirmed colour goes into the entry and is
// picked; a cancelled dialog returns to the previous selection.
//
// A disabled box takes its parent's window colour as base, an enabled one
// the window colour (see ApplyBoxPalette).
//
// `dialogs` is not owned and must outlive the box.
class TQtColorBox : public QComboBox {
  Q_OBJECT
public:
  TQtColorBox(unsigned style, TUserDialogs& dialogs, QWidget* parent = nullptr);

  const TColorBoxModel& Model() const { return m_model; }
  // Shows `color`: its entry, else the custom entry takes it (without a
  // custom entry an unlisted colour selects nothing). Emits nothing.
  void SetColor(std::uint32_t color);
  // The selected entry's colour; black when nothing is selected.
  std::uint32_t Color() const { return m_model.SelectedColor(); }

  // The swatch of one entry as drawn in the list.
  QPixmap Swatch(const TColorBoxEntry& entry) const;

signals:
  // The user picked a colour (a list entry, or a confirmed custom colour).
  // Not emitted by SetColor, nor when the custom dialog is cancelled.
  void colorChanged(std::uint32_t color);

protected:
  void changeEvent(QEvent* event) override;

private:
  void UserPicked(int index);
  // Rebuilds the items from the model (the custom entry's swatch follows
  // its colour) and selects the model's selection, without signals.
  void ShowModel();

  TColorBoxModel m_model;
  TUserDialogs& m_dialogs;
};

}  // namespace penwick
