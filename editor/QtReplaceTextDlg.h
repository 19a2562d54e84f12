// The "Replace Text" form: the find form with a replacement box and the two
// replace options.
#pragma once

#include "editor/QtFindTextDlg.h"

namespace penwick {

// The find form plus "&Replace with:" (its own history) below the search
// box, "&Prompt on replace" and "Replace &with template" in the options, and
// "Replace &All" as the second button (result kResultAll).
// "Replace &with template" is enabled exactly while "Reg&ular expressions"
// is checked: applied by Fill and whenever that box changes.
class TReplaceTextDlg : public TFindTextDlg {
  Q_OBJECT
public:
  explicit TReplaceTextDlg(QWidget* parent = nullptr);

  void Fill(const TFindFormData& data, const TCodePage& codePage) override;
  void Collect(TFindFormData& data, const TCodePage& codePage) const override;

  QComboBox* ReplaceBox() const { return m_replaceBox; }
  QCheckBox* PromptOnReplaceBox() const { return m_promptOnReplace; }
  QCheckBox* ReplaceWithTemplateBox() const { return m_replaceWithTemplate; }

private:
  void UpdateTemplateBox();

  QLabel* m_replaceLabel = nullptr;
  QComboBox* m_replaceBox = nullptr;
  QCheckBox* m_promptOnReplace = nullptr;
  QCheckBox* m_replaceWithTemplate = nullptr;
};

}  // namespace penwick
