// The form that shows the preferences dialog: the Qt dialog in the program,
// a scripted one in tests.
#pragma once

namespace penwick {

class TfrmPrefs;

class TPrefsView {
public:
  virtual ~TPrefsView() = default;
  // Shows prefs.State() modally until the user presses "OK" or "Cancel"
  // (or closes the form: Cancel). While it is open, every control the user
  // changes is written into the state and its handler is run through
  // prefs.Run (the controls that act at once, "Apply"); after each handler
  // the form shows the state again. Returns true for "OK". The page the
  // user left selected is in State().Page either way.
  virtual bool Execute(TfrmPrefs& prefs) = 0;
};

}  // namespace penwick
