// The search forms as real dialogs: what they show and hand back, their
// enabled rules, geometry and tab order, the go-to-line accept loop, and the
// replace question's answers and place.
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QStyle>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/QtGotoLineDlg.h"
#include "editor/QtReplaceTextDlg.h"
#include "editor/QtSearchForms.h"
#include "platform/CodePage.h"

namespace penwick {
namespace {

void ExpectSameForm(const TFindFormData& a, const TFindFormData& b) {
  EXPECT_EQ(a.Text, b.Text);
  EXPECT_EQ(a.History, b.History);
  EXPECT_EQ(a.CaseSensitive, b.CaseSensitive);
  EXPECT_EQ(a.WholeWords, b.WholeWords);
  EXPECT_EQ(a.RegularExpressions, b.RegularExpressions);
  EXPECT_EQ(a.Direction, b.Direction);
  EXPECT_EQ(a.Scope, b.Scope);
  EXPECT_EQ(a.Origin, b.Origin);
  if (!a.Replace) return;
  EXPECT_EQ(a.ReplaceText, b.ReplaceText);
  EXPECT_EQ(a.ReplaceHistory, b.ReplaceHistory);
  EXPECT_EQ(a.PromptOnReplace, b.PromptOnReplace);
  EXPECT_EQ(a.ReplaceWithTemplate, b.ReplaceWithTemplate);
}

// Every field on the bits of `mask`; texts with bytes above 0x7F so that the
// code page is crossed both ways.
TFindFormData FormOf(bool replace, unsigned mask) {
  TFindFormData data;
  data.Replace = replace;
  data.Text = mask & 1 ? "caf\xE9" : "LEVEL";
  data.History = {"one", "t\xFCo", "three"};
  data.CaseSensitive = mask & 1;
  data.WholeWords = mask & 2;
  data.RegularExpressions = mask & 4;
  data.Direction = (mask >> 3) & 1;
  data.Scope = (mask >> 4) & 1;
  data.Origin = (mask >> 5) & 1;
  if (replace) {
    data.ReplaceText = mask & 2 ? "" : "\\1 \xA9";
    data.ReplaceHistory = {"x"};
    data.PromptOnReplace = mask & 64;
    data.ReplaceWithTemplate = mask & 128;
  }
  return data;
}

const TCodePage& Page() { return TCodePage::Default(); }

class SearchForms : public ::testing::Test {
protected:
  void SetUp() override {
    m_window = std::make_unique<QWidget>();
    m_window->setWindowTitle("Penwick");
    m_window->resize(300, 200);
    m_window->show();
    m_forms = std::make_unique<TQtSearchForms>(m_window.get(), Page());
  }
  // Runs `step` on each form or box shown, counting them.
  void OnEachShown(std::function<void(QDialog&)> step) {
    m_forms->OnShown = [this, step](QDialog& dialog) {
      ++m_shown;
      step(dialog);
    };
  }

  std::unique_ptr<QWidget> m_window;
  std::unique_ptr<TQtSearchForms> m_forms;
  int m_shown = 0;
};

TEST(SearchFormWidgets, FillThenCollectKeepsEveryFieldOfBothForms) {
  for (bool replace : {false, true}) {
    for (unsigned mask = 0; mask < (replace ? 256u : 64u); ++mask) {
      SCOPED_TRACE(testing::Message() << "replace " << replace << " mask " << mask);
      const TFindFormData in = FormOf(replace, mask);
      std::unique_ptr<TFindTextDlg> form =
          replace ? std::make_unique<TReplaceTextDlg>() : std::make_unique<TFindTextDlg>();
      form->Fill(in, Page());
      TFindFormData out;
      out.Replace = replace;
      out.History = in.History;
      out.ReplaceHistory = in.ReplaceHistory;
      form->Collect(out, Page());
      ExpectSameForm(in, out);
      ASSERT_EQ(form->SearchBox()->count(), 3);
      EXPECT_EQ(form->SearchBox()->itemText(1), QString::fromUtf8("t\xC3\xBCo"));
    }
  }
}

TEST(SearchFormWidgets, ClientSizesCaptionsAndChildrenInsideTheirParents) {
  TFindTextDlg find;
  TReplaceTextDlg replace;
  TecGotoLineDlg gotoLine;
  EXPECT_EQ(find.size(), QSize(369, 212));
  EXPECT_EQ(replace.size(), QSize(369, 275));
  EXPECT_EQ(gotoLine.size(), QSize(263, 80));
  EXPECT_EQ(find.windowTitle(), "Find Text");
  EXPECT_EQ(replace.windowTitle(), "Replace Text");
  EXPECT_EQ(gotoLine.windowTitle(), "Go to Line Number");
  EXPECT_EQ(replace.AllButton()->text(), "Replace &All");
  EXPECT_EQ(find.AllButton()->text(), "Search &All");
  // Fixed geometry must not let one control cover another or fall off the form.
  for (QWidget* form : std::vector<QWidget*>{&find, &replace, &gotoLine}) {
    QList<QWidget*> parents = form->findChildren<QWidget*>();
    parents << form;
    for (QWidget* parent : parents) {
      if (parent != form && !qobject_cast<QGroupBox*>(parent)) continue;
      QList<QWidget*> children;
      for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow()) children << child;  // not the drop-down lists
      for (int i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(children[i]->objectName().toStdString() + " " + children[i]->metaObject()->className());
        EXPECT_TRUE(parent->rect().contains(children[i]->geometry())) << form->windowTitle().toStdString();
        for (int j = i + 1; j < children.size(); ++j)
          EXPECT_FALSE(children[i]->geometry().intersects(children[j]->geometry()))
              << form->windowTitle().toStdString() << " " << j;
      }
    }
  }
}

// Index of each widget in the form's tab chain starting at the search box.
std::vector<int> ChainPositions(QWidget* first, const std::vector<QWidget*>& widgets) {
  std::vector<QWidget*> chain;
  QWidget* at = first;
  do {
    chain.push_back(at);
    at = at->nextInFocusChain();
  } while (at != first && chain.size() < 200);
  std::vector<int> positions;
  for (QWidget* w : widgets) positions.push_back(int(std::find(chain.begin(), chain.end(), w) - chain.begin()));
  return positions;
}

TEST(SearchFormWidgets, TabOrderRunsThroughTheBoxesAndGroupsThenTheThreeButtons) {
  TReplaceTextDlg replace;
  TFindTextDlg find;
  for (TFindTextDlg* form : std::vector<TFindTextDlg*>{&find, &replace}) {
    std::vector<QWidget*> order{form->SearchBox()};
    if (form == &replace) order.push_back(replace.ReplaceBox());
    order.insert(order.end(), {form->CaseSensitiveBox(), form->WholeWordsBox(), form->RegularExpressionsBox()});
    if (form == &replace) order.insert(order.end(), {replace.PromptOnReplaceBox(), replace.ReplaceWithTemplateBox()});
    for (int i = 0; i < 2; ++i) order.push_back(form->DirectionButton(i));
    for (int i = 0; i < 2; ++i) order.push_back(form->ScopeButton(i));
    for (int i = 0; i < 2; ++i) order.push_back(form->OriginButton(i));
    order.insert(order.end(), {form->OKButton(), form->AllButton(), form->CancelButton()});
    const std::vector<int> positions = ChainPositions(form->SearchBox(), order);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << form->windowTitle().toStdString();
    EXPECT_LT(positions.back(), 200);
  }
}

TEST_F(SearchForms, OKAndAllFollowTheSearchBoxWhenShownAndAtEveryChange) {
  for (bool replace : {false, true}) {
    TFindFormData data;
    data.Replace = replace;
    std::vector<bool> states;
    OnEachShown([&](QDialog& dialog) {
      auto& form = static_cast<TFindTextDlg&>(dialog);
      auto record = [&] {
        states.push_back(form.OKButton()->isEnabled());
        states.push_back(form.AllButton()->isEnabled());
      };
      record();
      QTest::keyClicks(form.SearchBox()->lineEdit(), "ab");
      record();
      form.SearchBox()->lineEdit()->clear();
      record();
      QTest::keyClick(form.SearchBox()->lineEdit(), Qt::Key_X);
      form.AllButton()->click();
    });
    EXPECT_EQ(m_forms->RunFindForm(data), TFindFormResult::All);
    EXPECT_EQ(states, (std::vector<bool>{false, false, true, true, false, false}));
    EXPECT_EQ(data.Text, "x");
  }
  // Filled with a text, both start enabled.
  TFindFormData filled;
  filled.Text = "GENERATOR";
  bool okEnabled = false;
  OnEachShown([&](QDialog& dialog) {
    auto& form = static_cast<TFindTextDlg&>(dialog);
    okEnabled = form.OKButton()->isEnabled() && form.AllButton()->isEnabled();
    form.CancelButton()->click();
  });
  EXPECT_EQ(m_forms->RunFindForm(filled), TFindFormResult::Cancel);
  EXPECT_TRUE(okEnabled);
}

TEST_F(SearchForms, TheUsersChoicesComeBackOnOKAndNothingOnCancel) {
  TFindFormData data = FormOf(true, 0);
  OnEachShown([](QDialog& dialog) {
    auto& form = static_cast<TReplaceTextDlg&>(dialog);
    EXPECT_EQ(form.focusWidget(), form.SearchBox());
    EXPECT_EQ(form.SearchBox()->lineEdit()->selectedText(), "LEVEL");  // typing replaces it
    form.SearchBox()->lineEdit()->insert(QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
    form.ReplaceBox()->setCurrentIndex(0);
    form.RegularExpressionsBox()->click();
    form.ReplaceWithTemplateBox()->click();
    form.DirectionButton(1)->click();
    form.OriginButton(1)->click();
    QTest::keyClick(form.SearchBox()->lineEdit(), Qt::Key_Return);  // the default button
  });
  EXPECT_EQ(m_forms->RunFindForm(data), TFindFormResult::OK);
  EXPECT_EQ(data.Text, "\xE9t\xE9");
  EXPECT_EQ(data.ReplaceText, "x");
  EXPECT_TRUE(data.RegularExpressions);
  EXPECT_TRUE(data.ReplaceWithTemplate);
  EXPECT_EQ(data.Direction, 1);
  EXPECT_EQ(data.Scope, 0);
  EXPECT_EQ(data.Origin, 1);

  const TFindFormData before = data;
  OnEachShown([](QDialog& dialog) {
    auto& form = static_cast<TFindTextDlg&>(dialog);
    form.WholeWordsBox()->click();
    QTest::keyClick(&form, Qt::Key_Escape);
  });
  EXPECT_EQ(m_forms->RunFindForm(data), TFindFormResult::Cancel);
  ExpectSameForm(before, data);
}

// A history entry the typed text begins, or equal to it but for case, must
// not take its place: the search is for what was typed.
TEST_F(SearchForms, WhatIsTypedComesBackNotAHistoryEntry) {
  for (const bool replace : {false, true}) {
    for (const std::string typed : {"LEVEL", "levelstart"}) {
      TFindFormData data;
      data.Replace = replace;
      data.Text = "x";
      data.History = {"LEVELSTART", "car_data"};
      data.ReplaceHistory = {"LEVELSTART"};
      OnEachShown([&](QDialog& dialog) {
        auto& form = static_cast<TFindTextDlg&>(dialog);
        QTest::keyClicks(form.SearchBox()->lineEdit(), QString::fromStdString(typed));
        if (replace) {
          auto& replaceForm = static_cast<TReplaceTextDlg&>(dialog);
          replaceForm.ReplaceBox()->lineEdit()->clear();
          QTest::keyClicks(replaceForm.ReplaceBox()->lineEdit(), QString::fromStdString(typed));
          QTest::keyClick(replaceForm.ReplaceBox()->lineEdit(), Qt::Key_Return);
        } else {
          QTest::keyClick(form.SearchBox()->lineEdit(), Qt::Key_Return);
        }
        if (form.isVisible()) {
          ADD_FAILURE() << "Enter left the form open";
          form.done(TFindTextDlg::kResultOK);
        }
      });
      ASSERT_EQ(m_forms->RunFindForm(data), TFindFormResult::OK);
      EXPECT_EQ(data.Text, typed);
      if (replace) EXPECT_EQ(data.ReplaceText, typed);
    }
  }
}

TEST_F(SearchForms, AnAcceptWithAnEmptySearchBoxRaisesTheBlankError) {
  for (int code : {TFindTextDlg::kResultOK, TFindTextDlg::kResultAll}) {
    TFindFormData data;
    data.CaseSensitive = true;
    OnEachShown([code](QDialog& dialog) {
      static_cast<TFindTextDlg&>(dialog).CaseSensitiveBox()->click();
      dialog.done(code);
    });
    try {
      m_forms->RunFindForm(data);
      ADD_FAILURE() << "no error for result " << code;
    } catch (const ESearchBlank& e) {
      EXPECT_STREQ(e.what(), "The search string can not be blank.");
    }
    EXPECT_TRUE(data.CaseSensitive);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

TEST_F(SearchForms, TheTemplateBoxFollowsTheRegularExpressionBox) {
  for (bool regex : {false, true}) {
    TFindFormData data = FormOf(true, regex ? 4 : 0);
    std::vector<bool> enabled;
    OnEachShown([&](QDialog& dialog) {
      auto& form = static_cast<TReplaceTextDlg&>(dialog);
      enabled.push_back(form.ReplaceWithTemplateBox()->isEnabled());
      form.RegularExpressionsBox()->click();
      enabled.push_back(form.ReplaceWithTemplateBox()->isEnabled());
      form.RegularExpressionsBox()->click();
      enabled.push_back(form.ReplaceWithTemplateBox()->isEnabled());
      form.CancelButton()->click();
    });
    m_forms->RunFindForm(data);
    EXPECT_EQ(enabled, (std::vector<bool>{regex, !regex, regex}));
  }
}

TEST_F(SearchForms, GoToLineStaysOpenWhileTheAcceptRefusesAndReportsInsideTheForm) {
  TGotoLineFormData data{"12", {"3", "40"}};
  std::vector<std::string> asked;
  bool errorInsideForm = false;
  std::string errorText;
  OnEachShown([&](QDialog& dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
      errorInsideForm = qobject_cast<TecGotoLineDlg*>(box->parentWidget()) != nullptr;
      errorText = box->windowTitle().toStdString() + ": " + box->text().toStdString();
      return box->accept();
    }
    auto& form = static_cast<TecGotoLineDlg&>(dialog);
    EXPECT_EQ(form.LineBox()->lineEdit()->selectedText(), "12");
    EXPECT_EQ(form.focusWidget(), form.LineBox());
    EXPECT_EQ(form.LineBox()->count(), 2);
    form.OKButton()->click();
    EXPECT_TRUE(form.isVisible());
    form.LineBox()->setCurrentIndex(1);
    form.OKButton()->click();
  });
  const bool ok = m_forms->RunGotoLineForm(data, [&](const std::string& text) {
    asked.push_back(text);
    if (text == "40") return true;
    m_forms->ShowError("Line number must be between 1 and 20");
    return false;
  });
  EXPECT_TRUE(ok);
  EXPECT_EQ(asked, (std::vector<std::string>{"12", "40"}));
  EXPECT_EQ(data.Text, "40");
  EXPECT_EQ(errorText, "Error: Line number must be between 1 and 20");
  EXPECT_TRUE(errorInsideForm);
  EXPECT_EQ(m_shown, 2);

  // Cancel: false, the callback never asked.
  asked.clear();
  OnEachShown([](QDialog& dialog) { static_cast<TecGotoLineDlg&>(dialog).CancelButton()->click(); });
  EXPECT_FALSE(m_forms->RunGotoLineForm(data, [&](const std::string& text) {
    asked.push_back(text);
    return true;
  }));
  EXPECT_TRUE(asked.empty());
}

TEST_F(SearchForms, AnErrorOfTheGoToLineAcceptClosesTheFormAndIsPassedOn) {
  TGotoLineFormData data{"abc", {}};
  OnEachShown([](QDialog& dialog) { static_cast<TecGotoLineDlg&>(dialog).OKButton()->click(); });
  try {
    m_forms->RunGotoLineForm(data, [](const std::string& text) -> bool {
      throw std::invalid_argument("'" + text + "' is not a valid integer value");
    });
    ADD_FAILURE() << "the error was swallowed";
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(m_shown, 1);
}

TEST_F(SearchForms, TheReplaceQuestionAnswersByItsButtons) {
  const std::vector<std::pair<QString, TDialogAnswer>> buttons{{"&Yes", TDialogAnswer::Yes},
                                                               {"&No", TDialogAnswer::No},
                                                               {"Cancel", TDialogAnswer::Cancel},
                                                               {"&All", TDialogAnswer::All},
                                                               {"", TDialogAnswer::Cancel}};  // closed by Esc
  for (const auto& [caption, answer] : buttons) {
    QString text;
    OnEachShown([&](QDialog& dialog) {
      auto& box = static_cast<QMessageBox&>(dialog);
      text = box.windowTitle() + "|" + box.text();
      if (caption.isEmpty()) return QTest::keyClick(&box, Qt::Key_Escape);
      for (QAbstractButton* button : box.buttons())
        if (button->text() == caption) return button->click();
      ADD_FAILURE() << "no button " << caption.toStdString();
      box.reject();
    });
    EXPECT_EQ(m_forms->AskReplace("Replace this occurence of 'caf\xE9'?", TPromptAnchor{}), answer)
        << caption.toStdString();
    EXPECT_EQ(text, QString::fromUtf8("Confirm|Replace this occurence of 'caf\xC3\xA9'?"));
  }
}

TEST_F(SearchForms, TheReplaceQuestionStandsWherePlacementPutsIt) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const TPopupRect screen{area.left(), area.top(), area.width(), area.height()};
  const std::vector<TPromptAnchor> anchors{
      {true, area.left() + 100, area.top() + 300, area.top() + 316},  // above the line
      {true, area.left() + 40, area.top() + 5, area.top() + 21},      // no room above: below it
      {true, area.right() - 10, area.top() + 400, area.top() + 416},  // pushed in from the right
      {false, 0, 0, 0},                                               // centred
  };
  for (const TPromptAnchor& anchor : anchors) {
    QPoint at;
    QSize size;
    OnEachShown([&](QDialog& dialog) {
      at = dialog.frameGeometry().topLeft();
      size = dialog.frameGeometry().size();
      dialog.reject();
    });
    m_forms->AskReplace("Replace this occurence of 'a'?", anchor);
    const TPopupRect expected = PlacePrompt(anchor, size.width(), size.height(), screen);
    EXPECT_EQ(at, QPoint(expected.Left, expected.Top)) << anchor.X << "," << anchor.LineTop;
    EXPECT_GT(size.width(), 50);
  }
}

TEST_F(SearchForms, MessagesCrossTheCodePageWithTheirCaptions) {
  std::vector<std::string> seen;
  OnEachShown([&](QDialog& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    seen.push_back(box.windowTitle().toStdString() + "|" + box.text().toStdString() + "|" +
                   std::to_string(int(box.icon())));
    box.accept();
  });
  m_forms->ShowInformation("Search string 'caf\xE9' not found.");
  m_forms->ShowError("Line number must be between 1 and 3");
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "Penwick|Search string 'caf\xC3\xA9' not found.|" + std::to_string(int(QMessageBox::Information)),
                      "Error|Line number must be between 1 and 3|" + std::to_string(int(QMessageBox::Critical))}));
}

// "&All" replaces every later match unasked: it must not stand where a hand
// used to Yes, No, Cancel reaches for "&No".
TEST_F(SearchForms, TheReplaceQuestionsButtonsStandYesNoCancelAll) {
  QStringList order;
  int layout = -1;
  OnEachShown([&](QDialog& dialog) {
    auto& box = static_cast<QMessageBox&>(dialog);
    QList<QAbstractButton*> buttons = box.buttons();
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
      return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    for (QAbstractButton* button : buttons) order << button->text();
    layout = box.style()->styleHint(QStyle::SH_DialogButtonLayout, nullptr, &box);
    box.reject();
  });
  m_forms->AskReplace("Replace this occurence of 'a'?", TPromptAnchor{});
  ASSERT_EQ(order.size(), 4);
  const auto yes = order.indexOf("&Yes"), no = order.indexOf("&No"), all = order.indexOf("&All");
  EXPECT_TRUE((yes < no && no < all) || (all < no && no < yes)) << order.join(' ').toStdString();
  if (layout == QDialogButtonBox::WinLayout) EXPECT_EQ(order.join(' ').toStdString(), "&Yes &No Cancel &All");
}

}  // namespace
}  // namespace penwick
