// The "Go to Line Number" form.
#include "editor/QtGotoLineDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editor/QtFindTextDlg.h"

namespace penwick {

TecGotoLineDlg::TecGotoLineDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Go to Line Number");
  setFont(SearchFormParts::DialogFont());
  setFixedSize(263, 80);
  m_label = new QLabel("&Enter new line number:", this);
  m_lineBox = SearchFormParts::NewHistoryBox(this);
  m_label->setBuddy(m_lineBox);
  m_ok = new QPushButton("&OK", this);
  m_cancel = new QPushButton("&Cancel", this);
  m_ok->setDefault(true);
  m_label->setGeometry(8, 8, 247, 13);
  m_lineBox->setGeometry(8, 24, 247, 21);
  m_ok->setGeometry(99, 51, 75, 23);
  m_cancel->setGeometry(180, 51, 75, 23);
  connect(m_ok, &QPushButton::clicked, this, &TecGotoLineDlg::accept);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  setTabOrder(m_lineBox, m_ok);
  setTabOrder(m_ok, m_cancel);
}

void TecGotoLineDlg::showEvent(QShowEvent* event) {
  m_lineBox->setFocus();
  m_lineBox->lineEdit()->selectAll();
  QDialog::showEvent(event);
}

void TecGotoLineDlg::Fill(const TGotoLineFormData& data, const TCodePage& codePage) {
  SearchFormParts::FillHistoryBox(m_lineBox, data.History, data.Text, codePage);
}

void TecGotoLineDlg::Collect(TGotoLineFormData& data, const TCodePage& codePage) const {
  data.Text = SearchFormParts::BoxText(m_lineBox, codePage);
}

void TecGotoLineDlg::accept() {
  if (!OnAccept) return QDialog::accept();
  bool close = false;
  try {
    close = OnAccept(m_lineBox->currentText());
  } catch (...) {
    m_error = std::current_exception();
    return QDialog::reject();
  }
  if (close) QDialog::accept();
}

}  // namespace penwick
