// The preferences dialog's logic (`TfrmPrefs`): what it reads from the live
// objects when shown, the controls that act at once, and Apply. A form
// (TPrefsView) shows its state; the logic never touches a widget.
#pragma once

#include <functional>
#include <string>

#include "prefs/PrefsState.h"

namespace penwick {

class TPrefsHost;
class TPrefsView;
class TStylesView;
class TUserDialogs;

class TfrmPrefs {
public:
  // None of the arguments is owned; all must outlive the dialog. `styles`
  // shows the "Syntax Highlighting" dialog.
  TfrmPrefs(TPrefsHost& host, TUserDialogs& dialogs, TStylesView& styles);

  TPrefsState& State() { return m_state; }
  const TPrefsState& State() const { return m_state; }
  TPrefsHost& Host() { return m_host; }
  TUserDialogs& Dialogs() { return m_dialogs; }
  // Whether the dialog has been shown during this run.
  bool WasShown() const { return m_wasShown; }

  // "Tools" > "Options": FormShow, then the form until OK or Cancel; OK
  // runs Apply after the form has closed, and an error of Apply then
  // propagates to the caller (the main loop shows it).
  void ShowModal(TPrefsView& view);

  // The showing steps: every control but the theme list is read from the
  // live objects; the page is the one read at start-up.
  void FormShow();

  // Runs a handler as the main loop would while the dialog is open: an
  // error is shown through the dialogs' error box and the dialog stays.
  void Run(const std::function<void()>& handler);

  // Controls that act at once. Each reads the state the form wrote and may
  // change it; errors propagate (run them through Run).
  void btnFontClick();        // "Font...": the font dialog, then the editor font
  void pnlAlusVarvClick();    // the background swatch: the background colour dialog
  void pnlGtrClrClick();      // the gutter swatch: the gutter colour dialog, the gutter at once
  void btnGCClick();          // "GC": the gutter back to clBtnFace at once
  // "Tab Size:" and "Width:" changed: a negative number becomes "0"; text
  // that is no whole number raises "'<text>' is not a valid integer value".
  void edtTabsizeChange();
  void edtGtrSizeChange();
  void rbEmptyScrClick();     // EmptyScr := true at once
  void rbTmplScrClick();      // EmptyScr := false at once
  void cbbThemesChange();     // loads the selected theme
  void btnSyntaxClick();      // "Syntax Highlighting": edits the live definition's styles
  void btnHelpClick();        // "&Help": the help file's table of contents

  // "Apply" (and the first part of "OK"): writes every control back to the
  // live objects, in order. A spin edit that holds no whole number raises
  // and the steps after it are skipped. The theme file is loaded again only
  // when the selection differs from the theme last loaded by the list or by
  // Apply (so style edits made meanwhile survive; a load that failed counts
  // as none); the editor background is set from the theme table either way.
  void Apply();

private:
  TPrefsHost& m_host;
  TUserDialogs& m_dialogs;
  TStylesView& m_styles;
  TPrefsState m_state;
  bool m_wasShown = false;
  int m_appliedTheme = tiDark;  // the theme last loaded by the list or Apply (the list's designed one at first)
};

}  // namespace penwick
