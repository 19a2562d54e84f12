// The search forms and boxes as real modal Qt dialogs.
#include "editor/QtSearchForms.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <memory>

#include "editor/QtGotoLineDlg.h"
#include "editor/QtReplaceTextDlg.h"
#include "platform/CodePage.h"

namespace penwick {

namespace {

// The replace question places itself once its final size is known: a message
// box sizes itself to its text in its show event, before it reaches the screen.
class TReplacePromptBox : public QMessageBox {
public:
  TReplacePromptBox(const QString& text, const TPromptAnchor& anchor, QWidget* parent)
      : QMessageBox(QMessageBox::Question, "Confirm", text, QMessageBox::NoButton, parent), m_anchor(anchor) {}

protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    adjustSize();
    // The box as it stands on the screen: with its frame where the platform knows it.
    const QSize outer = frameGeometry().size();
    const TPopupRect place = PlacePrompt(m_anchor, outer.width(), outer.height(), ScreenArea());
    move(place.Left, place.Top);
  }

private:
  TPopupRect ScreenArea() const {
    QScreen* screen = m_anchor.AutoPlace ? QGuiApplication::screenAt(QPoint(m_anchor.X, m_anchor.LineTop)) : nullptr;
    if (!screen && parentWidget()) screen = parentWidget()->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    return TPopupRect{area.left(), area.top(), area.width(), area.height()};
  }

  TPromptAnchor m_anchor;
};

}  // namespace

TQtSearchForms::TQtSearchForms(QWidget* parent, const TCodePage& codePage) : m_parent(parent), m_codePage(codePage) {}

QWidget* TQtSearchForms::Owner() const {
  if (m_openForm) return m_openForm;
  return m_parent ? m_parent->window() : nullptr;
}

int TQtSearchForms::Exec(QDialog& dialog) {
  if (OnShown) {
    // Queued before the modal loop starts, so it runs inside it, once the dialog is shown.
    QTimer::singleShot(0, &dialog, [this, &dialog] {
      if (OnShown) OnShown(dialog);
    });
  }
  return dialog.exec();
}

TFindFormResult TQtSearchForms::RunFindForm(TFindFormData& data) {
  std::unique_ptr<TFindTextDlg> form = data.Replace ? std::make_unique<TReplaceTextDlg>(Owner())
                                                    : std::make_unique<TFindTextDlg>(Owner());
  form->Fill(data, m_codePage);
  const TFindFormResult result = TFindTextDlg::ResultOf(Exec(*form));
  if (result == TFindFormResult::Cancel) return result;
  TFindFormData left = data;
  form->Collect(left, m_codePage);
  if (left.Text.empty()) throw ESearchBlank();
  data = std::move(left);
  return result;
}

bool TQtSearchForms::RunGotoLineForm(TGotoLineFormData& data,
                                     const std::function<bool(const std::string& text)>& accept) {
  TecGotoLineDlg form(Owner());
  form.Fill(data, m_codePage);
  form.OnAccept = [this, &accept](const QString& text) { return accept(m_codePage.FromUtf8(text.toStdString())); };
  QPointer<QWidget> outer = m_openForm;
  m_openForm = &form;
  const int code = Exec(form);
  m_openForm = outer;
  if (form.Error()) std::rethrow_exception(form.Error());
  if (code != QDialog::Accepted) return false;
  form.Collect(data, m_codePage);
  return true;
}

void TQtSearchForms::ShowInformation(const std::string& text) {
  QWidget* owner = Owner();
  const QString caption = owner ? owner->window()->windowTitle() : QApplication::applicationName();
  QMessageBox box(QMessageBox::Information, caption, QString::fromStdString(m_codePage.ToUtf8(text)), QMessageBox::Ok,
                  owner);
  Exec(box);
}

void TQtSearchForms::ShowError(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, "Error", QString::fromStdString(m_codePage.ToUtf8(text)), QMessageBox::Ok,
                  Owner());
  Exec(box);
}

TDialogAnswer TQtSearchForms::AskReplace(const std::string& text, const TPromptAnchor& anchor) {
  TReplacePromptBox box(QString::fromStdString(m_codePage.ToUtf8(text)), anchor, Owner());
  QPushButton* yes = box.addButton("&Yes", QMessageBox::YesRole);
  QPushButton* no = box.addButton("&No", QMessageBox::NoRole);
  QPushButton* cancel = box.addButton("Cancel", QMessageBox::RejectRole);
  // Last, after Cancel, where the desktop orders buttons as Windows does; never
  // between Yes and No: it replaces every later match without asking.
  QPushButton* all = box.addButton("&All", QMessageBox::ApplyRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(cancel);
  Exec(box);
  if (box.clickedButton() == yes) return TDialogAnswer::Yes;
  if (box.clickedButton() == no) return TDialogAnswer::No;
  if (box.clickedButton() == all) return TDialogAnswer::All;
  return TDialogAnswer::Cancel;
}

}  // namespace penwick
