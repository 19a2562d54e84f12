// The search forms and boxes as real modal Qt dialogs.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "editor/SearchForms.h"

class QDialog;
class QMessageBox;

namespace penwick {

class TCodePage;

// Runs "Find Text", "Replace Text" and "Go to Line Number" and the message
// boxes of searching, each modally. Texts cross to Qt through `codePage`
// (8-bit in the text's code page on this side). Not owned: the parent and
// the code page, which must outlive this object; the parent may be null or
// may go away first (the forms then have no parent).
//
// The forms and boxes are parented to the parent's window, or, while the
// go-to-line form is open (its accept callback may report an error), to it.
class TQtSearchForms : public TSearchForms {
public:
  TQtSearchForms(QWidget* parent, const TCodePage& codePage);

  // OK or All with an empty search box (possible only by an accept from
  // code, the buttons being disabled then) raises ESearchBlank; `data` is
  // then left unchanged.
  TFindFormResult RunFindForm(TFindFormData& data) override;
  bool RunGotoLineForm(TGotoLineFormData& data, const std::function<bool(const std::string& text)>& accept) override;
  // Caption: the parent window's title, or the application's name.
  void ShowInformation(const std::string& text) override;
  void ShowError(const std::string& text) override;
  // "Confirm", question icon, "&Yes" (default), "&No", "Cancel" (Esc), "&All"
  // (in that order where the desktop orders buttons as Windows does; "&All"
  // never between "&Yes" and "&No"),
  // placed by PlacePrompt on the available area of the screen under the
  // anchor (the parent's screen, else the primary one, when none is).
  TDialogAnswer AskReplace(const std::string& text, const TPromptAnchor& anchor) override;

  // Called once with each form or box right after it is shown, inside its
  // modal loop: tests type and click here. Runs on the GUI thread; must not
  // throw.
  std::function<void(QDialog& shown)> OnShown;

private:
  // Runs `dialog` modally, calling OnShown once it is on the screen.
  int Exec(QDialog& dialog);
  QWidget* Owner() const;

  QPointer<QWidget> m_parent;
  QPointer<QWidget> m_openForm;
  const TCodePage& m_codePage;
};

}  // namespace penwick
