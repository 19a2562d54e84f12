// The "Go to Line Number" form: a line-number box with its history, OK and
// Cancel, where OK asks a callback whether the form may close.
#pragma once

#include <QDialog>
#include <exception>
#include <functional>
#include <string>

#include "editor/SearchForms.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace penwick {

class TCodePage;

// The modal go-to-line form. "&OK" (the default button, and Enter in the box)
// calls OnAccept with the box's text: true closes the form as accepted,
// false keeps it open. An exception of OnAccept closes the form as rejected
// and is kept in Error() for the caller to pass on (exceptions must not cross
// Qt's event loop). Without OnAccept, OK closes the form.
class TecGotoLineDlg : public QDialog {
  Q_OBJECT
public:
  explicit TecGotoLineDlg(QWidget* parent = nullptr);

  void Fill(const TGotoLineFormData& data, const TCodePage& codePage);
  // The box's text; the history is left as it is.
  void Collect(TGotoLineFormData& data, const TCodePage& codePage) const;

  std::function<bool(const QString& text)> OnAccept;
  // The exception that closed the form, or null.
  std::exception_ptr Error() const { return m_error; }

  QComboBox* LineBox() const { return m_lineBox; }
  QPushButton* OKButton() const { return m_ok; }
  QPushButton* CancelButton() const { return m_cancel; }

  void accept() override;

protected:
  // The box takes the focus with its text selected.
  void showEvent(QShowEvent* event) override;

private:
  QLabel* m_label = nullptr;
  QComboBox* m_lineBox = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
  std::exception_ptr m_error;
};

}  // namespace penwick
