// The go-to-line command.
#include "editor/GotoLine.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <stdexcept>

#include "editor/MemoEditor.h"
#include "editor/SearchControl.h"
#include "editor/SearchForms.h"

namespace penwick {

std::vector<int>& GoToLineHistory() {
  static std::vector<int> history;
  return history;
}

int ParseWholeNumber(const std::string& text) {
  auto fail = [&]() -> int { throw std::runtime_error("'" + text + "' is not a valid integer value"); };
  size_t i = 0;
  const size_t n = text.size();
  auto blank = [&](size_t at) { return std::isspace(static_cast<unsigned char>(text[at])) != 0; };
  while (i < n && blank(i)) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= n || !std::isdigit(static_cast<unsigned char>(text[i]))) return fail();
  long long value = 0;
  while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
    value = value * 10 + (text[i++] - '0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return fail();
  }
  while (i < n && blank(i)) ++i;
  if (i != n) return fail();
  if (negative) value = -value;
  if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) return fail();
  return static_cast<int>(value);
}

bool ExecuteGotoLine(TSearchControl& control) {
  TMemoEditor& core = control.Core();
  std::vector<int>& history = GoToLineHistory();
  TGotoLineFormData data;
  data.Text = std::to_string(core.CaretPos().Y + 1);
  for (auto it = history.rbegin(); it != history.rend(); ++it) data.History.push_back(std::to_string(*it));
  // The caret may stand on line 0 of an empty text, which then counts as one line.
  const int lineCount = std::max(core.Lines().Count(), 1);
  int chosen = 0;
  const bool accepted = control.Forms().RunGotoLineForm(data, [&](const std::string& text) {
    const int line = ParseWholeNumber(text);
    if (line < 1 || line > lineCount) {
      control.Forms().ShowError("Line number must be between 1 and " + std::to_string(lineCount));
      return false;
    }
    chosen = line;
    return true;
  });
  if (accepted && chosen > 0) {
    std::erase(history, chosen);
    history.push_back(chosen);
    if (history.size() > static_cast<size_t>(kGoToLineHistoryLimit)) history.erase(history.begin());
    core.SetCaretPos(core.CaretPos().X, chosen - 1);
  }
  if (control.CanFocus() && !control.Focused()) control.SetFocus();
  return accepted && chosen > 0;
}

}  // namespace penwick
