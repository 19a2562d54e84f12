// The "Replace Text" form.
#include "editor/QtReplaceTextDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace penwick {

namespace {
constexpr int kReplaceClientHeight = 275;
constexpr int kGroupsTop = 66;        // below the two text boxes
constexpr int kOptionsHeight = 113;   // five check boxes
}  // namespace

TReplaceTextDlg::TReplaceTextDlg(QWidget* parent) : TFindTextDlg(parent) {
  setWindowTitle("Replace Text");
  m_replaceLabel = new QLabel("&Replace with:", this);
  m_replaceBox = SearchFormParts::NewHistoryBox(this);
  m_replaceLabel->setBuddy(m_replaceBox);
  const QRect searchBox = SearchBox()->geometry();
  m_replaceLabel->setGeometry(8, searchBox.top() + 32, searchBox.left() - 12, 13);
  m_replaceBox->setGeometry(searchBox.left(), searchBox.top() + 28, searchBox.width(), searchBox.height());
  QGroupBox* options = OptionsGroup();
  const int itemWidth = RegularExpressionsBox()->width();
  m_promptOnReplace = new QCheckBox("&Prompt on replace", options);
  m_promptOnReplace->setGeometry(8, 18 + 3 * 18, itemWidth, 17);
  m_replaceWithTemplate = new QCheckBox("Replace &with template", options);
  m_replaceWithTemplate->setGeometry(8, 18 + 4 * 18, itemWidth, 17);
  AllButton()->setText("Replace &All");
  connect(RegularExpressionsBox(), &QCheckBox::toggled, this, [this] { UpdateTemplateBox(); });
  Arrange(kGroupsTop, kOptionsHeight, kReplaceClientHeight);
  ChainTabOrder(m_replaceBox, {m_promptOnReplace, m_replaceWithTemplate});
  UpdateTemplateBox();
}

void TReplaceTextDlg::UpdateTemplateBox() { m_replaceWithTemplate->setEnabled(RegularExpressionsBox()->isChecked()); }

void TReplaceTextDlg::Fill(const TFindFormData& data, const TCodePage& codePage) {
  TFindTextDlg::Fill(data, codePage);
  SearchFormParts::FillHistoryBox(m_replaceBox, data.ReplaceHistory, data.ReplaceText, codePage);
  m_promptOnReplace->setChecked(data.PromptOnReplace);
  m_replaceWithTemplate->setChecked(data.ReplaceWithTemplate);
  UpdateTemplateBox();
}

void TReplaceTextDlg::Collect(TFindFormData& data, const TCodePage& codePage) const {
  TFindTextDlg::Collect(data, codePage);
  data.ReplaceText = SearchFormParts::BoxText(m_replaceBox, codePage);
  data.PromptOnReplace = m_promptOnReplace->isChecked();
  data.ReplaceWithTemplate = m_replaceWithTemplate->isChecked();
}

}  // namespace penwick
