// The "Syntax Highlighting" dialog as a Qt form (`TQtSyntaxStylesForm`):
// the list "&Element", the style frame, OK and Cancel, and the preview.
#pragma once

#include <QColor>
#include <QDialog>
#include <optional>

class QListWidget;
class QPushButton;

namespace penwick {

class TQtSyntStyleFrame;
class TSyntaxMemo;
class TSyntaxStylesDialog;
class TUserDialogs;

// A fixed client area of 463 x 552, centred on the screen when shown. The
// first showing runs the dialog's showing steps and fills the list and the
// preview; the preview is a read-only editor of 449 x 173 at the bottom,
// bound to the dialog's copy, so every change of a style shows in it at
// once. A mouse press in the preview selects the style under the pointer
// in the list and goes no further: the preview's caret and selection stay.
//
// The preview is drawn on the colours SetPreviewColors gives (the editor's,
// so the styles are judged on the background they are used on); without
// them on the copy's default style's background when that style has one,
// else on white.
//
// Not owned: `dialog` and `dialogs`, which must outlive the form. Accepted
// ("&OK", the default button) or rejected ("&Cancel", Esc, closing); the
// form itself hands nothing back. Esc and Enter act so also while the
// preview has the focus, and Tab and Shift+Tab leave it. The list never shows no selection while the frame
// shows a style.
class TQtSyntaxStylesForm : public QDialog {
  Q_OBJECT
public:
  static constexpr int kClientWidth = 463;
  static constexpr int kClientHeight = 552;
  static constexpr int kPreviewWidth = 449;
  static constexpr int kPreviewHeight = 173;

  TQtSyntaxStylesForm(TSyntaxStylesDialog& dialog, TUserDialogs& dialogs, QWidget* parent = nullptr);
  ~TQtSyntaxStylesForm() override;

  // The preview's background and plain-text colour; takes effect when the
  // form is first shown.
  void SetPreviewColors(const QColor& background, const QColor& text);

  TSyntaxStylesDialog& Dialog() { return m_dialog; }
  QListWidget* ElementList() const { return m_elements; }
  TQtSyntStyleFrame* StyleFrame() const { return m_frame; }
  TSyntaxMemo* Preview() const { return m_preview; }
  QPushButton* OkButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // The showing steps: the dialog's, then the list and the preview's text.
  void FormShow();
  // The list's selection after the dialog's, without telling the dialog.
  void ShowSelected();
  void PreviewPress(QPoint point);

  TSyntaxStylesDialog& m_dialog;
  QListWidget* m_elements = nullptr;
  TQtSyntStyleFrame* m_frame = nullptr;
  TSyntaxMemo* m_preview = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
  bool m_shown = false;
  std::optional<QColor> m_previewBackground;
  std::optional<QColor> m_previewText;
};

}  // namespace penwick
