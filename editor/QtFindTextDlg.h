// The "Find Text" form: the search box with its history, the options and the
// three radio groups, laid out in fixed geometry like a classic dialog.
#pragma once

#include <QDialog>
#include <QFont>
#include <string>
#include <vector>

#include "editor/SearchForms.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace penwick {

class TCodePage;

// The modal find form. exec() returns one of the Result codes: kResultOK
// ("&OK", the default button), kResultAll ("Search &All") or QDialog::Rejected
// ("&Cancel", Esc, closing the window).
//
// "&OK" and "Search &All" are enabled exactly while the search box is not
// empty; the rule is applied when the form is shown and at every change of
// the box's text. The form itself never refuses an accept: a caller that
// accepts programmatically with an empty box must check it.
//
// When shown, the search box has the focus with its text selected.
//
// Texts are handed in and out 8-bit in `codePage`; characters a code page
// cannot hold come back as '?'.
class TFindTextDlg : public QDialog {
  Q_OBJECT
public:
  static constexpr int kResultOK = QDialog::Accepted;
  static constexpr int kResultAll = 2;

  explicit TFindTextDlg(QWidget* parent = nullptr);

  // Sets every field from `data` (the replace fields are the derived form's).
  virtual void Fill(const TFindFormData& data, const TCodePage& codePage);
  // Writes the fields into `data`; the histories are left as they are.
  virtual void Collect(TFindFormData& data, const TCodePage& codePage) const;

  // The result code of a QDialog::exec() as the forms' result.
  static TFindFormResult ResultOf(int code);

  // The parts, for the derived form and for tests.
  QComboBox* SearchBox() const { return m_searchBox; }
  QCheckBox* CaseSensitiveBox() const { return m_caseSensitive; }
  QCheckBox* WholeWordsBox() const { return m_wholeWords; }
  QCheckBox* RegularExpressionsBox() const { return m_regularExpressions; }
  // Index 0 or 1 of each radio group.
  QRadioButton* DirectionButton(int index) const { return m_direction[index]; }
  QRadioButton* ScopeButton(int index) const { return m_scope[index]; }
  QRadioButton* OriginButton(int index) const { return m_origin[index]; }
  QPushButton* OKButton() const { return m_ok; }
  QPushButton* AllButton() const { return m_all; }
  QPushButton* CancelButton() const { return m_cancel; }

protected:
  // Positions everything: the option groups start at `groupsTop`, the
  // options group is `optionsHeight` high, the client area `clientHeight`.
  void Arrange(int groupsTop, int optionsHeight, int clientHeight);
  // Tab order: search box, `afterSearch` (may be null), the options, each
  // radio group, then "&OK", the second button, "&Cancel". `extraOptions`
  // follow the form's own check boxes.
  void ChainTabOrder(QWidget* afterSearch, const std::vector<QWidget*>& extraOptions);
  QGroupBox* OptionsGroup() const { return m_options; }
  void showEvent(QShowEvent* event) override;

private:
  void UpdateButtons();

  QLabel* m_searchLabel = nullptr;
  QComboBox* m_searchBox = nullptr;
  QGroupBox* m_options = nullptr;
  QCheckBox* m_caseSensitive = nullptr;
  QCheckBox* m_wholeWords = nullptr;
  QCheckBox* m_regularExpressions = nullptr;
  QGroupBox* m_directionGroup = nullptr;
  QGroupBox* m_scopeGroup = nullptr;
  QGroupBox* m_originGroup = nullptr;
  QRadioButton* m_direction[2] = {};
  QRadioButton* m_scope[2] = {};
  QRadioButton* m_origin[2] = {};
  QPushButton* m_ok = nullptr;
  QPushButton* m_all = nullptr;
  QPushButton* m_cancel = nullptr;
};

// Helpers shared by the search forms: the classic dialog font and the
// history boxes.
namespace SearchFormParts {
// MS Sans Serif 8 pt where installed, else the system's sans font at 8 pt.
QFont DialogFont();
// An editable drop-down box that never adds what is typed to its list nor
// completes what is typed from it.
QComboBox* NewHistoryBox(QWidget* parent);
// Puts `history` (8-bit) into the list and `text` into the edit field.
void FillHistoryBox(QComboBox* box, const std::vector<std::string>& history, const std::string& text,
                    const TCodePage& codePage);
std::string BoxText(const QComboBox* box, const TCodePage& codePage);
}  // namespace SearchFormParts

}  // namespace penwick
