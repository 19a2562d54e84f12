// The "Syntax Highlighting" dialog's logic: the styles of a copy of a lexer
// definition in a list, the style frame over the selected one, the preview's
// click that selects the style under it, and handing the copy back on OK.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "prefs/SyntStyleFrame.h"

namespace penwick {

class TClientSyntAnalyzer;
class TSyntAnalyzer;
class TSyntaxFormat;
class TSyntaxStylesDialog;
class TUserDialogs;

// The form that shows the dialog: the Qt dialog in the program, a scripted
// one in tests.
class TStylesView {
public:
  virtual ~TStylesView() = default;
  // Shows the dialog modally over `dialog` (its copy bound to the preview,
  // its list and its frame) until "&OK" (true) or "&Cancel" (false).
  virtual bool Execute(TSyntaxStylesDialog& dialog) = 0;
};

class TSyntaxStylesDialog {
public:
  // Makes the copy: Copy() takes everything from `original` (not owned;
  // it must outlive the dialog). `dialogs` serves the frame's font dialog.
  TSyntaxStylesDialog(TSyntAnalyzer& original, TUserDialogs& dialogs);
  ~TSyntaxStylesDialog();

  TSyntAnalyzer& Copy() { return *m_copy; }
  TSyntaxStylesDialog(const TSyntaxStylesDialog&) = delete;
  TSyntaxStylesDialog& operator=(const TSyntaxStylesDialog&) = delete;
  TSyntStyleFrame& Frame() { return m_frame; }

  // The showing steps: the frame in fixed-type mode; the list "&Element"
  // filled with the copy's styles in their order; the first selected and
  // shown. The preview's text is PreviewLines(). EditStyles runs these
  // steps before the form executes; running them again when the form
  // appears gives the same state (nothing has been edited yet).
  void FormShow();
  // The copy's sample text, one entry per line.
  const std::vector<std::string>& PreviewLines() const;

  // The list's items (the copy's styles) and their captions (DisplayName).
  int ElementCount() const { return static_cast<int>(m_elements.size()); }
  TSyntaxFormat* Element(int index) const;
  std::string ElementCaption(int index) const;
  // The selected item, -1 for none. Selecting shows that item's style in
  // the frame (nothing for -1 or an index out of range); it changes no style.
  int Selected() const { return m_selected; }
  void Select(int index);

  // A press in the preview at 0-based text `offset`, over the preview's
  // analysis (a client of Copy()), analysing up to there first: the style
  // of the token there is selected when it is in the list. A position
  // outside every token, a token without a style or a style not listed
  // changes nothing. Returns whether the selection changed.
  bool PreviewClick(TClientSyntAnalyzer& preview, int offset);

  // "&OK": the original takes everything from the copy.
  void AssignBack();

private:
  TSyntAnalyzer& m_original;
  std::unique_ptr<TSyntAnalyzer> m_copy;
  TSyntStyleFrame m_frame;
  std::vector<TSyntaxFormat*> m_elements;
  int m_selected = -1;
};

// Runs the "Syntax Highlighting" dialog over a copy of `analyzer` through
// `view`; on OK the analyzer takes the edited copy (the editor's
// highlighting changes at once). Returns whether OK was chosen.
bool EditStyles(TSyntAnalyzer& analyzer, TUserDialogs& dialogs, TStylesView& view);

}  // namespace penwick
