// A popup bound to the editor control: opened by an editor command, anchored
// at a text position.
#pragma once

#include <QPointer>

#include "editor/PopupControl.h"

namespace penwick {

class TSyntaxMemo;
struct TPoint;

// Registers CommandID with the editor's command dispatcher, so the key bound
// to it (Ctrl+Space for 700) runs Execute; unregisters when it goes or the
// command changes. The editor may be destroyed first.
class TSyntMemoPopup : public TPopupControl {
  Q_OBJECT
public:
  TSyntMemoPopup(TSyntaxMemo* memo, int commandId, QObject* parent = nullptr);
  ~TSyntMemoPopup() override;

  TSyntaxMemo* SyntMemo() const;
  int CommandID() const { return m_commandId; }
  void SetCommandID(int command);

  // Opens the popup at the caret; false when it did not open.
  virtual bool Execute() = 0;

protected:
  // The anchor of a caret position: 10 pixels wide and one line high at the
  // character cell's global position.
  QRect AnchorAt(const TPoint& caretPos) const;

private:
  void Register();
  void Unregister();

  QPointer<TSyntaxMemo> m_memo;
  int m_commandId;
};

}  // namespace penwick
