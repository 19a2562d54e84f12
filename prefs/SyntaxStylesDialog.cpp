// The "Syntax Highlighting" dialog's logic over a copy of a lexer definition.
#include "prefs/SyntaxStylesDialog.h"

#include <algorithm>

#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/RuleCollectionItem.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {

TSyntaxStylesDialog::TSyntaxStylesDialog(TSyntAnalyzer& original, TUserDialogs& dialogs)
    : m_original(original), m_copy(std::make_unique<TSyntAnalyzer>()), m_frame(dialogs) {
  // The same name, so the copy's text reads as the original's would.
  m_copy->SetName(original.Name());
  m_copy->Assign(original);
}

// Out of line: the header knows the definition only by name.
TSyntaxStylesDialog::~TSyntaxStylesDialog() = default;

void TSyntaxStylesDialog::FormShow() {
  m_frame.SetFixedType(true);
  m_elements.clear();
  TStylesCollection& formats = m_copy->Formats();
  for (int i = 0; i < formats.Count(); ++i) m_elements.push_back(formats[i]);
  Select(m_elements.empty() ? -1 : 0);
}

const std::vector<std::string>& TSyntaxStylesDialog::PreviewLines() const { return m_copy->SampleText(); }

TSyntaxFormat* TSyntaxStylesDialog::Element(int index) const {
  if (index < 0 || index >= ElementCount()) return nullptr;
  return m_elements[static_cast<std::size_t>(index)];
}

std::string TSyntaxStylesDialog::ElementCaption(int index) const {
  const TSyntaxFormat* style = Element(index);
  return style ? style->DisplayName() : std::string();
}

void TSyntaxStylesDialog::Select(int index) {
  TSyntaxFormat* style = Element(index);
  m_selected = style ? index : -1;
  m_frame.SetStyle(style);
}

bool TSyntaxStylesDialog::PreviewClick(TClientSyntAnalyzer& preview, int offset) {
  if (offset < 0) return false;
  const int token = preview.TokenIndexAt(static_cast<std::size_t>(offset));
  if (token < 0) return false;
  const TRuleCollectionItem* rule = preview.TokenRule(token);
  const TSyntaxFormat* style = rule ? rule->Style() : nullptr;
  if (!style) return false;
  const auto found = std::find(m_elements.begin(), m_elements.end(), style);
  if (found == m_elements.end()) return false;
  const int index = static_cast<int>(found - m_elements.begin());
  if (index == m_selected) return false;
  Select(index);
  return true;
}

void TSyntaxStylesDialog::AssignBack() { m_original.Assign(*m_copy); }

bool EditStyles(TSyntAnalyzer& analyzer, TUserDialogs& dialogs, TStylesView& view) {
  TSyntaxStylesDialog dialog(analyzer, dialogs);
  // Filled before the form runs, so a form that shows the list at once finds
  // it; a form may run the showing steps again when it appears.
  dialog.FormShow();
  if (!view.Execute(dialog)) return false;
  dialog.AssignBack();
  return true;
}

}  // namespace penwick
