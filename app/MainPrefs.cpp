// The main window's preferences dialog: created hidden with the window and
// shown by "Tools" > "Options".
#include "app/Main.h"
#include "app/MainPrefsHost.h"
#include "prefs/QtPrefsView.h"
#include "editor/SyntaxMemo.h"
#include "prefs/QtStylesView.h"
#include "prefs/QtSyntaxStylesForm.h"
#include "prefs/Settngs.h"

namespace penwick {

void TfrmMain::CreatePrefs() {
  if (!m_prefsView) m_prefsView = std::make_shared<TQtPrefsView>(this);
  if (!m_stylesView) {
    auto view = std::make_shared<TQtStylesView>(this, m_dialogs);
    // The styles are judged on the background they are drawn on.
    view->OnCreated = [this](TQtSyntaxStylesForm& form) { form.SetPreviewColors(m_editor->Color(), m_editor->FontColor()); };
    m_stylesView = view;
  }
  m_prefsHost = std::make_unique<TMainPrefsHost>(*this);
  m_frmPrefs = std::make_unique<TfrmPrefs>(*m_prefsHost, m_dialogs, *m_stylesView);
}

void TfrmMain::mniOptionsClick() { m_frmPrefs->ShowModal(*m_prefsView); }

}  // namespace penwick
