// The editor-bound popup: its command and its anchor.
#include "editor/SyntMemoPopup.h"

#include "editor/SyntaxMemo.h"

namespace penwick {

namespace {
constexpr int kAnchorWidth = 10;
}

TSyntMemoPopup::TSyntMemoPopup(TSyntaxMemo* memo, int commandId, QObject* parent)
    : TPopupControl(memo, parent), m_memo(memo), m_commandId(commandId) {
  Register();
}

TSyntMemoPopup::~TSyntMemoPopup() { Unregister(); }

TSyntaxMemo* TSyntMemoPopup::SyntMemo() const { return m_memo.data(); }

void TSyntMemoPopup::SetCommandID(int command) {
  Unregister();
  m_commandId = command;
  Register();
}

void TSyntMemoPopup::Register() {
  if (!m_memo || m_commandId <= 0) return;
  m_memo->Commands().Register(m_commandId, [this](char) { Execute(); });
}

void TSyntMemoPopup::Unregister() {
  if (m_memo && m_commandId > 0) m_memo->Commands().Unregister(m_commandId);
}

QRect TSyntMemoPopup::AnchorAt(const TPoint& caretPos) const {
  if (!m_memo) return {};
  const QPoint cell = m_memo->viewport()->mapToGlobal(m_memo->CaretPosToPoint(caretPos));
  return QRect(cell, QSize(kAnchorWidth, m_memo->LineHeight()));
}

}  // namespace penwick
