// The base of the find and replace components.
#include "editor/BaseFindDialog.h"

#include <algorithm>

#include "editor/SearchControl.h"
#include "platform/CodePage.h"

namespace penwick {

TBaseFindDialog::~TBaseFindDialog() {
  if (m_control) m_control->Unbind(this);
}

void TBaseFindDialog::AddToHistory(std::vector<std::string>& history, const std::string& text) const {
  if (text.empty()) return;
  const TCodePage& codePage = CodePage();
  std::erase_if(history, [&](const std::string& entry) { return codePage.SameText(entry, text); });
  history.insert(history.begin(), text);
}

void TBaseFindDialog::SetControl(TSearchControl* control) {
  if (control == m_control) return;
  if (m_control) m_control->Unbind(this);
  m_control = control;
  SetCodePage(control ? &control->CodePage() : nullptr);
  if (m_control) m_control->Bind(this);
}

void TBaseFindDialog::ControlDestroyed() {
  m_control = nullptr;
  SetCodePage(nullptr);
}

bool TBaseFindDialog::FindCommand(bool, bool, bool) { return false; }

void TBaseFindDialog::FillDialog(TFindFormData& data) {
  data.History = m_history;
  data.Text = FindText();
  data.CaseSensitive = HasFlag(ftCaseSensitive);
  data.WholeWords = HasFlag(ftWholeWordOnly);
  data.RegularExpressions = HasFlag(ftRegularExpr);
  data.Direction = HasFlag(ftBackward) ? 1 : 0;
  data.Scope = HasFlag(ftSelectedText) ? 1 : 0;
  data.Origin = HasFlag(ftEntireScope) ? 1 : 0;
}

void TBaseFindDialog::ReadDialog(const TFindFormData& data) {
  SetFindText(data.Text);
  AddToHistory(data.Text);
  TSearchOptions flags = 0;
  if (data.CaseSensitive) flags |= ftCaseSensitive;
  if (data.WholeWords) flags |= ftWholeWordOnly;
  if (data.RegularExpressions) flags |= ftRegularExpr;
  if (data.Direction == 1) flags |= ftBackward;
  if (data.Scope == 1) flags |= ftSelectedText;
  if (data.Origin == 1) flags |= ftEntireScope;
  SetFlags(flags);
}

TFindFormData TBaseFindDialog::CreateDialogForm() { return TFindFormData{}; }

TFindFormResult TBaseFindDialog::ShowDialog() {
  TFindFormData data = CreateDialogForm();
  FillDialog(data);
  const TFindFormResult result = m_control->Forms().RunFindForm(data);
  if (result == TFindFormResult::Cancel) return result;
  // The form refuses a blank search box itself; a runner that does not still gets the error.
  if (data.Text.empty()) throw ESearchBlank();
  ReadDialog(data);
  return result;
}

std::string TBaseFindDialog::FormatWithFindText(const std::string& pattern) const {
  std::string out = pattern;
  const auto at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, FindText());
  return out;
}

void TBaseFindDialog::ReportNotFound() {
  m_control->Repaint();
  m_control->Forms().ShowInformation(FormatWithFindText(m_noSearchMsg));
  FocusControl();
}

void TBaseFindDialog::FocusControl() {
  if (m_control && m_control->CanFocus() && !m_control->Focused()) m_control->SetFocus();
}

}  // namespace penwick
