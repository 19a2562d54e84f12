// The "Find Text" form and the parts the search forms share.
#include "editor/QtFindTextDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/CodePage.h"

namespace penwick {

namespace SearchFormParts {

QFont DialogFont() {
  QFont font("MS Sans Serif", 8);
  if (QFontInfo(font).family().compare("MS Sans Serif", Qt::CaseInsensitive) == 0) return font;
  QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  general.setPointSize(8);
  return general;
}

QComboBox* NewHistoryBox(QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  // What is typed is what is searched for: no completion from the list may
  // lengthen it or change its case (Enter would take the entry instead).
  box->setCompleter(nullptr);
  return box;
}

void FillHistoryBox(QComboBox* box, const std::vector<std::string>& history, const std::string& text,
                    const TCodePage& codePage) {
  box->clear();
  for (const std::string& entry : history) box->addItem(QString::fromStdString(codePage.ToUtf8(entry)));
  box->setEditText(QString::fromStdString(codePage.ToUtf8(text)));
}

std::string BoxText(const QComboBox* box, const TCodePage& codePage) {
  return codePage.FromUtf8(box->currentText().toStdString());
}

}  // namespace SearchFormParts

namespace {

constexpr int kClientWidth = 369;
constexpr int kFindClientHeight = 212;
constexpr int kMargin = 8;
constexpr int kColumnGap = 7;
constexpr int kLeftGroupWidth = 177;
constexpr int kRowGap = 6;
constexpr int kRadioGroupHeight = 52;
constexpr int kItemHeight = 17;
constexpr int kItemStep = 18;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

QCheckBox* NewCheck(const char* caption, QGroupBox* group, int index) {
  auto* box = new QCheckBox(caption, group);
  box->setGeometry(kMargin, 18 + index * kItemStep, group->width() - 2 * kMargin, kItemHeight);
  return box;
}

}  // namespace

TFindTextDlg::TFindTextDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Find Text");
  setFont(SearchFormParts::DialogFont());
  m_searchLabel = new QLabel("&Text to find:", this);
  m_searchBox = SearchFormParts::NewHistoryBox(this);
  m_searchLabel->setBuddy(m_searchBox);
  m_options = new QGroupBox("Options", this);
  m_options->resize(kLeftGroupWidth, 77);
  m_caseSensitive = NewCheck("&Case sensitive", m_options, 0);
  m_wholeWords = NewCheck("&Whole words only", m_options, 1);
  m_regularExpressions = NewCheck("Reg&ular expressions", m_options, 2);
  auto radioGroup = [this](const char* caption, const char* first, const char* second, QRadioButton* (&items)[2]) {
    auto* group = new QGroupBox(caption, this);
    items[0] = new QRadioButton(first, group);
    items[1] = new QRadioButton(second, group);
    items[0]->setChecked(true);
    return group;
  };
  m_directionGroup = radioGroup("Direction", "Forwar&d", "&Backward", m_direction);
  m_scopeGroup = radioGroup("Scope", "&Global", "&Selected text", m_scope);
  m_originGroup = radioGroup("Origin", "&From cursor", "&Entire scope", m_origin);
  m_ok = new QPushButton("&OK", this);
  m_all = new QPushButton("Search &All", this);
  m_cancel = new QPushButton("&Cancel", this);
  m_ok->setDefault(true);
  connect(m_ok, &QPushButton::clicked, this, [this] { done(kResultOK); });
  connect(m_all, &QPushButton::clicked, this, [this] { done(kResultAll); });
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_searchBox, &QComboBox::editTextChanged, this, [this] { UpdateButtons(); });
  Arrange(38, 77, kFindClientHeight);
  ChainTabOrder(nullptr, {});
  UpdateButtons();
}

void TFindTextDlg::Arrange(int groupsTop, int optionsHeight, int clientHeight) {
  setFixedSize(kClientWidth, clientHeight);
  const int boxLeft = 96;
  m_searchLabel->setGeometry(kMargin, 12, boxLeft - kMargin - 4, 13);
  m_searchBox->setGeometry(boxLeft, 8, kClientWidth - kMargin - boxLeft, 21);
  const int rightLeft = kMargin + kLeftGroupWidth + kColumnGap;
  const int rightWidth = kClientWidth - kMargin - rightLeft;
  m_options->setGeometry(kMargin, groupsTop, kLeftGroupWidth, optionsHeight);
  m_directionGroup->setGeometry(rightLeft, groupsTop, rightWidth, optionsHeight);
  const int secondRow = groupsTop + optionsHeight + kRowGap;
  m_scopeGroup->setGeometry(kMargin, secondRow, kLeftGroupWidth, kRadioGroupHeight);
  m_originGroup->setGeometry(rightLeft, secondRow, rightWidth, kRadioGroupHeight);
  for (QGroupBox* group : {m_directionGroup, m_scopeGroup, m_originGroup}) {
    const auto items = group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    for (int i = 0; i < items.size(); ++i)
      items[i]->setGeometry(kMargin, 16 + i * kItemStep, group->width() - 2 * kMargin, kItemHeight);
  }
  const int buttonsTop = secondRow + kRadioGroupHeight + kRowGap + 1;
  int left = kClientWidth - kMargin - 3 * kButtonWidth - 2 * kButtonGap;
  for (QPushButton* button : {m_ok, m_all, m_cancel}) {
    button->setGeometry(left, buttonsTop, kButtonWidth, kButtonHeight);
    left += kButtonWidth + kButtonGap;
  }
}

void TFindTextDlg::ChainTabOrder(QWidget* afterSearch, const std::vector<QWidget*>& extraOptions) {
  std::vector<QWidget*> chain{m_searchBox};
  if (afterSearch) chain.push_back(afterSearch);
  chain.insert(chain.end(), {m_caseSensitive, m_wholeWords, m_regularExpressions});
  chain.insert(chain.end(), extraOptions.begin(), extraOptions.end());
  for (QRadioButton** items : {m_direction, m_scope, m_origin}) chain.insert(chain.end(), {items[0], items[1]});
  chain.insert(chain.end(), {m_ok, m_all, m_cancel});
  for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void TFindTextDlg::showEvent(QShowEvent* event) {
  UpdateButtons();
  // Typing at once replaces the offered text.
  m_searchBox->setFocus();
  m_searchBox->lineEdit()->selectAll();
  QDialog::showEvent(event);
}

void TFindTextDlg::UpdateButtons() {
  const bool any = !m_searchBox->currentText().isEmpty();
  m_ok->setEnabled(any);
  m_all->setEnabled(any);
}

void TFindTextDlg::Fill(const TFindFormData& data, const TCodePage& codePage) {
  SearchFormParts::FillHistoryBox(m_searchBox, data.History, data.Text, codePage);
  m_caseSensitive->setChecked(data.CaseSensitive);
  m_wholeWords->setChecked(data.WholeWords);
  m_regularExpressions->setChecked(data.RegularExpressions);
  m_direction[data.Direction == 1 ? 1 : 0]->setChecked(true);
  m_scope[data.Scope == 1 ? 1 : 0]->setChecked(true);
  m_origin[data.Origin == 1 ? 1 : 0]->setChecked(true);
  UpdateButtons();
}

void TFindTextDlg::Collect(TFindFormData& data, const TCodePage& codePage) const {
  data.Text = SearchFormParts::BoxText(m_searchBox, codePage);
  data.CaseSensitive = m_caseSensitive->isChecked();
  data.WholeWords = m_wholeWords->isChecked();
  data.RegularExpressions = m_regularExpressions->isChecked();
  data.Direction = m_direction[1]->isChecked() ? 1 : 0;
  data.Scope = m_scope[1]->isChecked() ? 1 : 0;
  data.Origin = m_origin[1]->isChecked() ? 1 : 0;
}

TFindFormResult TFindTextDlg::ResultOf(int code) {
  if (code == kResultOK) return TFindFormResult::OK;
  if (code == kResultAll) return TFindFormResult::All;
  return TFindFormResult::Cancel;
}

}  // namespace penwick
