// The base of the find and replace components: search text, options and
// history, the editor they are bound to, and the run of their form.
#pragma once

#include <string>
#include <vector>

#include "editor/SearchForms.h"
#include "editor/TextFinder.h"

namespace penwick {

class TSearchControl;

// A finder with a form and a history, bound to one editor through its
// Control. Binding goes through TSearchControl::Bind/Unbind, so the control
// always knows its components in the order they were bound; the destructor
// unbinds. The control is not owned.
class TBaseFindDialog : public TTextFinder {
public:
  TBaseFindDialog() = default;
  ~TBaseFindDialog() override;

  // The message when a search finds nothing; "%s" stands for FindText.
  const std::string& NoSearchMsg() const { return m_noSearchMsg; }
  void SetNoSearchMsg(std::string text) { m_noSearchMsg = std::move(text); }

  // Earlier search texts, most recent first, without size limit.
  const std::vector<std::string>& History() const { return m_history; }
  // Moves `text` to the front of `history`, removing an entry equal to it
  // without regard to case; an empty text is not recorded.
  void AddToHistory(std::vector<std::string>& history, const std::string& text) const;
  void AddToHistory(const std::string& text) { AddToHistory(m_history, text); }

  // The editor searched; nullptr when unbound. Setting it unbinds from the
  // previous control and binds to the new one (appended to its list).
  TSearchControl* Control() const { return m_control; }
  void SetControl(TSearchControl* control);
  // Called only by a control that is being destroyed: forgets it without
  // calling back into it.
  void ControlDestroyed();

  // Searches the bound editor's text once: the whole text, or with
  // `fromCaret` only the part after the caret (before it, backward); with
  // `all` every match is found. Shows the not-found message when nothing is
  // found. Returns whether anything was found; false when unbound.
  virtual bool FindCommand(bool all, bool backward, bool fromCaret);
  // Puts the history, FindText and Flags into the form.
  virtual void FillDialog(TFindFormData& data);
  // Takes FindText (recorded in the history) and Flags from the form.
  virtual void ReadDialog(const TFindFormData& data);
  // A fresh, empty form of this component's kind.
  virtual TFindFormData CreateDialogForm();
  // Creates, fills and runs the form through the control's forms; reads it
  // back unless it was cancelled. Requires a control with forms. A form
  // closed with OK or All on a blank search box raises ESearchBlank; errors
  // of the form pass through, the component unchanged.
  virtual TFindFormResult ShowDialog();

protected:
  // Replaces "%s" in `pattern` by FindText.
  std::string FormatWithFindText(const std::string& pattern) const;
  // The not-found reaction: repaint, the information box, the focus.
  void ReportNotFound();
  // Gives the editor the focus when it can take it and lacks it.
  void FocusControl();

private:
  std::string m_noSearchMsg = "Search string '%s' not found.";
  std::vector<std::string> m_history;
  TSearchControl* m_control = nullptr;
};

}  // namespace penwick
