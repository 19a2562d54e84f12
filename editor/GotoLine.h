// The go-to-line command: its form, the process-wide list of line numbers
// entered, and the caret move.
#pragma once

#include <string>
#include <vector>

namespace penwick {

class TSearchControl;

// The line numbers entered in the go-to-line form, shared by the whole
// process: most recent last, no repeats, at most kGoToLineHistoryLimit.
inline constexpr int kGoToLineHistoryLimit = 20;
std::vector<int>& GoToLineHistory();

// `text` as a whole number (optional blanks around, optional sign). Raises
// std::runtime_error("'<text>' is not a valid integer value") otherwise.
int ParseWholeNumber(const std::string& text);

// Shows "Go to Line Number" through the control's forms: the box starts with
// the caret's 1-based line, its list is the history most recent first. OK
// with a number outside 1..line count shows "Line number must be between 1
// and N" as an error and keeps the form open; text that is not a whole
// number raises (the form closes, the caret stays). A valid number is moved
// to the end of the history and the caret goes to that line keeping its
// column. The editor gets the focus after OK and Cancel. Returns whether
// the caret was moved.
bool ExecuteGotoLine(TSearchControl& control);

}  // namespace penwick
