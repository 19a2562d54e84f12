// The forms of the find and replace components and the go-to-line command,
// as plain values: the components fill one, a form runner shows it and hands
// back what the user left in it. The Qt runner shows real dialogs; tests
// answer from a script.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/AnchorPlacement.h"
#include "platform/UserDialogs.h"

namespace penwick {

// A find or replace form was closed with OK while its search box was empty.
class ESearchBlank : public std::runtime_error {
public:
  ESearchBlank() : std::runtime_error("The search string can not be blank.") {}
};

// How a find or replace form was closed.
enum class TFindFormResult { OK, All, Cancel };

// What "Find Text" (and, with Replace set, "Replace Text") shows and collects.
// Texts are 8-bit in the text's code page. The radio groups hold the index
// of their checked item: 0 is the first ("Forwar&d", "&Global", "&From cursor").
struct TFindFormData {
  bool Replace = false;  // the replace form
  std::string Text;                  // "&Text to find:"
  std::vector<std::string> History;  // its drop-down list, most recent first
  bool CaseSensitive = false;        // "&Case sensitive"
  bool WholeWords = false;           // "&Whole words only"
  bool RegularExpressions = false;   // "Reg&ular expressions"
  int Direction = 0;                 // "Forwar&d", "&Backward"
  int Scope = 0;                     // "&Global", "&Selected text"
  int Origin = 0;                    // "&From cursor", "&Entire scope"
  // The replace form only.
  std::string ReplaceText;                  // "&Replace with:"
  std::vector<std::string> ReplaceHistory;  // most recent first
  bool PromptOnReplace = false;             // "&Prompt on replace"
  bool ReplaceWithTemplate = false;         // "Replace &with template"
};

// What "Go to Line Number" shows: the box's text and its list.
struct TGotoLineFormData {
  std::string Text;                  // "&Enter new line number:"
  std::vector<std::string> History;  // most recent first
};

// Where a question about one match appears: the match's left edge on the
// screen and the top and bottom of its line; with AutoPlace false the box is
// centred on the screen instead.
struct TPromptAnchor {
  bool AutoPlace = true;
  int X = 0;
  int LineTop = 0;
  int LineBottom = 0;
};

// Where the replace question's box of `width` x `height` goes on `screen`:
// left edge at the anchor's x, or at the screen's right edge less the width
// when it would not fit (never left of the screen); bottom edge at the top
// of the match's line, or, when there is no room above, top edge at the
// line's bottom; never above the screen's top, and moved up to end at the
// screen's bottom when it would reach past it. Without AutoPlace: centred.
TPopupRect PlacePrompt(const TPromptAnchor& anchor, int width, int height, const TPopupRect& screen);

// Shows the forms and the boxes of searching. Every call is modal; the texts
// handed in are 8-bit in the text's code page, as the forms' data.
class TSearchForms {
public:
  virtual ~TSearchForms() = default;

  // Shows "Find Text" or, with data.Replace, "Replace Text", filled from
  // `data`. Unless the result is Cancel, `data` holds what the user left in
  // the form. A form closed with OK or All while its search box is empty
  // raises ESearchBlank ("The search string can not be blank.").
  virtual TFindFormResult RunFindForm(TFindFormData& data) = 0;

  // Shows "Go to Line Number". On OK, `accept` is called with the box's
  // text: true closes the form (the result is true), false keeps it open;
  // an exception of `accept` closes the form and is passed on. Cancel
  // returns false.
  virtual bool RunGotoLineForm(TGotoLineFormData& data, const std::function<bool(const std::string& text)>& accept) = 0;

  // The information box with an OK button (a search found nothing).
  virtual void ShowInformation(const std::string& text) = 0;
  // The box titled "Error" with the error icon (a line number out of range).
  virtual void ShowError(const std::string& text) = 0;
  // The replace question: Yes, No, Cancel and All. Closing the box without
  // a button counts as Cancel.
  virtual TDialogAnswer AskReplace(const std::string& text, const TPromptAnchor& anchor) = 0;
};

}  // namespace penwick
