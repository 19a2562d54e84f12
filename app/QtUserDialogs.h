// The program's questions and dialogs shown as real Qt dialogs.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/UserDialogs.h"

namespace penwick {

class TQtUserDialogs : public TUserDialogs {
public:
  // Dialogs are modal to `parent` (may be null, or set later).
  explicit TQtUserDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
  void SetParent(QWidget* parent) { m_parent = parent; }

  TDialogAnswer Confirm(const std::string& text) override;
  void ShowError(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  TDialogAnswer AskIgnoreError(const std::string& text) override;
  bool ExecuteOpen(TFileDialog& dialog) override;
  bool ExecuteSave(TFileDialog& dialog) override;
  bool ExecuteFont(TFontChoice& font) override;
  bool ExecuteColor(std::uint32_t& color) override;

  // "Varnok Mission Scripts (*.mis)|*.mis|All Files (*.*)|*.*" becomes
  // "Varnok Mission Scripts (*.mis);;All Files (*.*)". A description that
  // does not show its mask gets it appended in parentheses; a trailing
  // description without a mask is kept as it is.
  static QString QtFilter(const std::string& filter);

private:
  bool RunFileDialog(TFileDialog& dialog, bool save);

  QPointer<QWidget> m_parent;
};

}  // namespace penwick
