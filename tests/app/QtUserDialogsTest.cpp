// The real dialogs: filters in Qt's syntax, and the confirmation and error
// boxes with their captions and buttons, answered by clicking them.
#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/QtUserDialogs.h"

namespace penwick {
namespace {

TEST(QtUserDialogs, FiltersBecomeQtSyntax) {
  EXPECT_EQ(TQtUserDialogs::QtFilter("Varnok Mission Scripts (*.mis)|*.mis|Text Files (*.txt)|*.txt|All Files (*.*)|*.*")
                .toStdString(),
            "Varnok Mission Scripts (*.mis);;Text Files (*.txt);;All Files (*.*)");
  // A description that does not show its mask gets it; several masks are
  // separated by blanks in Qt's form.
  EXPECT_EQ(TQtUserDialogs::QtFilter("Scripts|*.mis;*.txt|HTML File (*.html)|*.html").toStdString(),
            "Scripts (*.mis *.txt);;HTML File (*.html)");
  EXPECT_EQ(TQtUserDialogs::QtFilter("").toStdString(), "");
}

struct TBoxSeen {
  QString Caption;
  QString Text;
  QStringList Buttons;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Clicks the button with caption `click` in the next message box to appear
// and records what the box showed.
void ClickInNextBox(const QString& click, TBoxSeen& seen) {
  QTimer::singleShot(0, [click, &seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      ADD_FAILURE() << "no message box";
      return;
    }
    seen.Caption = box->windowTitle();
    seen.Text = box->text();
    seen.Icon = box->icon();
    QAbstractButton* target = nullptr;
    for (QAbstractButton* button : box->buttons()) {
      seen.Buttons << button->text();
      if (button->text() == click) target = button;
    }
    if (target)
      target->click();
    else
      box->reject();
  });
}

TEST(QtUserDialogs, ConfirmShowsYesNoCancelAndReportsTheClick) {
  TQtUserDialogs dialogs;
  const std::pair<const char*, TDialogAnswer> cases[] = {
      {"&Yes", TDialogAnswer::Yes}, {"&No", TDialogAnswer::No}, {"Cancel", TDialogAnswer::Cancel}};
  for (const auto& [button, expected] : cases) {
    TBoxSeen seen;
    ClickInNextBox(button, seen);
    EXPECT_EQ(dialogs.Confirm("Save changes to a.mis?"), expected) << button;
    EXPECT_EQ(seen.Caption, "Confirm");
    EXPECT_EQ(seen.Text, "Save changes to a.mis?");
    EXPECT_EQ(seen.Icon, QMessageBox::Question);
    EXPECT_EQ(seen.Buttons.size(), 3);
    EXPECT_TRUE(seen.Buttons.contains("&Yes") && seen.Buttons.contains("&No") && seen.Buttons.contains("Cancel"));
  }
  // Closing the box without a button counts as Cancel.
  TBoxSeen seen;
  ClickInNextBox("none of them", seen);
  EXPECT_EQ(dialogs.Confirm("?"), TDialogAnswer::Cancel);
}

TEST(QtUserDialogs, ErrorBoxIsCaptionedError) {
  TQtUserDialogs dialogs;
  TBoxSeen seen;
  ClickInNextBox("OK", seen);
  dialogs.ShowError("Cannot open file \"x\". No such file");
  EXPECT_EQ(seen.Caption, "Error");
  EXPECT_EQ(seen.Icon, QMessageBox::Critical);
  EXPECT_EQ(seen.Text, "Cannot open file \"x\". No such file");
}

// A system colour has no value of its own: the colour dialog starts from
// what the palette shows for it (clBtnFace is no black gutter). Cancel
// leaves the colour as it was.
TEST(QtUserDialogs, ColourDialogStartsFromTheColourShownForASystemColour) {
  TQtUserDialogs dialogs;
  const std::pair<std::uint32_t, QColor> cases[] = {
      {0xFF00000Fu, QApplication::palette().color(QPalette::Button)},  // clBtnFace
      {0x00123456u, QColor(0x56, 0x34, 0x12)}};
  for (const auto& [value, expected] : cases) {
    QColor started;
    QTimer::singleShot(0, [&started] {
      auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
      if (!dialog) {
        ADD_FAILURE() << "no colour dialog";
        return;
      }
      started = dialog->currentColor();
      dialog->reject();
    });
    std::uint32_t color = value;
    EXPECT_FALSE(dialogs.ExecuteColor(color));
    EXPECT_EQ(color, value);
    EXPECT_EQ(started, expected) << std::hex << value;
  }
}

}  // namespace
}  // namespace penwick
