// The Qt forms of style editing driven like a user: the frame's boxes, the
// colour and line-type lists, the preview's click and OK / Cancel.
#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <algorithm>
#include <set>
#include <sstream>

#include "editor/SyntaxMemo.h"
#include "prefs/QtBorderLineBox.h"
#include "prefs/QtColorBox.h"
#include "prefs/QtStylesView.h"
#include "prefs/QtSyntStyleFrame.h"
#include "prefs/QtSyntaxStylesForm.h"
#include "prefs/SyntStyleFrame.h"
#include "prefs/SyntaxStylesDialog.h"
#include "support/ScriptedDialogs.h"
#include "syntax/CanvasState.h"
#include "syntax/SyntAnalyzer.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {
namespace {

constexpr std::uint32_t kRed = 0x000000FF;  // listed in every colour box

std::string LexerPath() {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return (std::filesystem::path(root ? root : ".") / "themes" / "mis2.lcf").string();
}

// A click on a check box's indicator (its middle may lie beyond the caption,
// where a click does nothing).
void ClickBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

// The attributes the style frame can change, as one comparable text.
std::string Describe(const TSyntaxFormat& s) {
  std::ostringstream out;
  out << s.DisplayName() << " type " << s.FormatType << " flags " << s.FormatFlags << " font " << s.Font.Name << ' '
      << s.Font.Size << ' ' << s.Font.Style << ' ' << s.Font.Color << " bg " << s.BgColor << " va " << s.VertAlignment
      << " hidden " << s.Hidden << " ro " << s.ReadOnly << " mlb " << s.MultiLineBorder << " case " << s.ChangeCase
      << " borders " << s.BorderTypeLeft << s.BorderTypeTop << s.BorderTypeRight << s.BorderTypeBottom << ' '
      << s.BorderColorLeft << ' ' << s.BorderColorTop << ' ' << s.BorderColorRight << ' ' << s.BorderColorBottom;
  return out.str();
}

int RowOf(const QListWidget& list, const QString& caption) {
  for (int row = 0; row < list.count(); ++row)
    if (list.item(row)->text() == caption) return row;
  return -1;
}

TEST(QtStyleFrame, FlagBoxesShowTheStyleAndClicksReachIt) {
  test::TScriptedDialogs dialogs;
  TSyntStyleFrame logic(dialogs);
  TQtSyntStyleFrame form(logic, dialogs);
  TSyntaxFormat style;
  style.FormatType = ftFontAttr;
  style.FormatFlags = kAllFormatFlags & ~(ffBold | ffHidden);
  style.Font.Style = fsItalic;
  style.ReadOnly = true;
  logic.SetStyle(&style);

  EXPECT_EQ(form.FontStyleBox(fbBold)->checkState(), Qt::PartiallyChecked) << "flag not set: grey";
  EXPECT_EQ(form.FontStyleBox(fbItalic)->checkState(), Qt::Checked);
  EXPECT_EQ(form.FontStyleBox(fbUnderline)->checkState(), Qt::Unchecked);
  EXPECT_EQ(form.HiddenBox()->checkState(), Qt::PartiallyChecked);
  EXPECT_EQ(form.ReadOnlyBox()->checkState(), Qt::Checked);
  EXPECT_FALSE(form.MultiLineBorderBox()->isTristate());
  EXPECT_EQ(style.FormatFlags, kAllFormatFlags & ~(ffBold | ffHidden)) << "showing changes nothing";

  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  // A grey box clicked becomes ticked: the style gets the flag and the attribute.
  ClickBox(form.FontStyleBox(fbBold));
  EXPECT_EQ(form.FontStyleBox(fbBold)->checkState(), Qt::Checked);
  EXPECT_TRUE(style.FormatFlags & ffBold);
  EXPECT_TRUE(style.Font.Style & fsBold);
  // A clear box clicked turns grey: the style leaves underline to others.
  ClickBox(form.FontStyleBox(fbUnderline));
  EXPECT_EQ(form.FontStyleBox(fbUnderline)->checkState(), Qt::PartiallyChecked);
  EXPECT_FALSE(style.FormatFlags & ffUnderline);
  EXPECT_FALSE(style.Font.Style & fsUnderline);
  // A ticked box clicked becomes clear: the attribute goes, the flag stays.
  ClickBox(form.ReadOnlyBox());
  EXPECT_EQ(form.ReadOnlyBox()->checkState(), Qt::Unchecked);
  EXPECT_FALSE(style.ReadOnly);
  EXPECT_TRUE(style.FormatFlags & ffReadOnly);
  ClickBox(form.MultiLineBorderBox());
  EXPECT_TRUE(style.MultiLineBorder);
}

TEST(QtStyleFrame, ListsFollowTheStyleAndTheirChangesReachIt) {
  test::TScriptedDialogs dialogs;
  TSyntStyleFrame logic(dialogs);
  TQtSyntStyleFrame form(logic, dialogs);
  TSyntaxFormat style;
  style.FormatType = ftColor;
  style.BorderTypeTop = blWavyLine;
  style.BorderColorTop = kRed;
  style.ChangeCase = ccLower;
  logic.SetStyle(&style);
  EXPECT_EQ(form.StyleTypeBox()->currentText(), "Back- and Fore-ground");
  EXPECT_EQ(form.BorderTypeBox(bsTop)->LineType(), blWavyLine);
  EXPECT_EQ(form.BorderColorBox(bsTop)->Color(), kRed);
  EXPECT_EQ(form.CapitalizationBox()->currentText(), "Lower case");
  EXPECT_FALSE(form.VertAlignmentBox()->isEnabled()) << "no font attributes for this type";
  EXPECT_FALSE(form.FontStyleBox(fbBold)->isEnabled());

  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  // The style type list: the user moves it to "Font style & colors".
  form.StyleTypeBox()->setFocus();
  QTest::keyClick(form.StyleTypeBox(), Qt::Key_Up);
  EXPECT_EQ(style.FormatType, ftFontAttr);
  EXPECT_TRUE(form.VertAlignmentBox()->isEnabled()) << "enabled states follow the new type";
  EXPECT_TRUE(form.FontStyleBox(fbBold)->isEnabled());
  form.BorderTypeBox(bsTop)->setFocus();
  QTest::keyClick(form.BorderTypeBox(bsTop), Qt::Key_Down);
  EXPECT_EQ(style.BorderTypeTop, blDouble);
  // The colour boxes and the custom font reach the style.
  form.BackgroundBox()->setFocus();
  QTest::keyClick(form.BackgroundBox(), Qt::Key_End);
  EXPECT_EQ(style.BgColor, form.BackgroundBox()->Color());
  EXPECT_NE(style.BgColor, clNone);
  QTest::keyClick(form.StyleTypeBox(), Qt::Key_Home);
  ASSERT_EQ(style.FormatType, ftCustomFont);
  ASSERT_TRUE(form.CustomFontButton()->isEnabled());
  TFontChoice font;
  font.Name = "Arial";
  font.Size = 14;
  dialogs.AnswerFont(font);
  QTest::mouseClick(form.CustomFontButton(), Qt::LeftButton);
  EXPECT_EQ(style.Font.Name, "Arial");
  EXPECT_EQ(style.Font.Size, 14);
  form.CapitalizationBox()->setFocus();
  QTest::keyClick(form.CapitalizationBox(), Qt::Key_Home);
  EXPECT_EQ(style.ChangeCase, ccNone);
}

TEST(QtStyleFrame, DisabledBoxesTakeTheFrameColour) {
  test::TScriptedDialogs dialogs;
  TSyntStyleFrame logic(dialogs);
  QWidget window;
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(10, 20, 30));
  palette.setColor(QPalette::Base, QColor(250, 240, 230));
  window.setPalette(palette);
  auto* form = new TQtSyntStyleFrame(logic, dialogs, &window);
  TSyntaxFormat style;
  style.FormatType = ftBackGround;
  logic.SetStyle(&style);

  ASSERT_FALSE(form->FontColorBox()->isEnabled());
  EXPECT_EQ(form->FontColorBox()->palette().color(QPalette::Base), QColor(10, 20, 30));
  ASSERT_FALSE(form->VertAlignmentBox()->isEnabled());
  EXPECT_EQ(form->VertAlignmentBox()->palette().color(QPalette::Base), QColor(10, 20, 30));
  ASSERT_TRUE(form->BackgroundBox()->isEnabled());
  EXPECT_EQ(form->BackgroundBox()->palette().color(QPalette::Base), QColor(250, 240, 230));

  style.FormatType = ftFontAttr;
  logic.SetStyle(&style);
  ASSERT_TRUE(form->FontColorBox()->isEnabled());
  EXPECT_EQ(form->FontColorBox()->palette().color(QPalette::Base), QColor(250, 240, 230)) << "enabled again";
  logic.SetStyle(nullptr);
  EXPECT_FALSE(form->BackgroundBox()->isEnabled()) << "no style shown";
  EXPECT_EQ(form->BackgroundBox()->palette().color(QPalette::Base), QColor(10, 20, 30));
}

// The colour of a box's face: per channel the median of the pixels inside
// its outline, so the caption, the arrow and the shading of a style do not decide it.
QColor FaceColour(QWidget& box) {
  const QImage image = box.grab().toImage();
  std::vector<int> channels[3];
  for (int y = 3; y < image.height() - 3; ++y)
    for (int x = 3; x < image.width() - 3; ++x) {
      const QColor c = image.pixelColor(x, y);
      channels[0].push_back(c.red());
      channels[1].push_back(c.green());
      channels[2].push_back(c.blue());
    }
  int median[3];
  for (int i = 0; i < 3; ++i) {
    std::nth_element(channels[i].begin(), channels[i].begin() + channels[i].size() / 2, channels[i].end());
    median[i] = channels[i][channels[i].size() / 2];
  }
  return QColor(median[0], median[1], median[2]);
}

int Distance(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// What the user sees, not only the palette: a disabled list or colour box is
// drawn in the frame's colour, an enabled one in the window colour (each as
// the style shades a face).
TEST(QtStyleFrame, DisabledBoxesAreDrawnInTheFrameColour) {
  test::TScriptedDialogs dialogs;
  TSyntStyleFrame logic(dialogs);
  QWidget window;
  QPalette palette = window.palette();
  const QColor frameColour(200, 60, 60), windowColour(60, 200, 60);
  palette.setColor(QPalette::Window, frameColour);
  palette.setColor(QPalette::Base, windowColour);
  window.setPalette(palette);
  auto* layout = new QVBoxLayout(&window);
  auto* form = new TQtSyntStyleFrame(logic, dialogs, &window);
  layout->addWidget(form);
  TSyntaxFormat style;
  style.FormatType = ftBackGround;
  logic.SetStyle(&style);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  const std::pair<const char*, QWidget*> disabled[] = {{"font colour", form->FontColorBox()},
                                                       {"vertical alignment", form->VertAlignmentBox()},
                                                       {"style type", form->StyleTypeBox()}};
  logic.SetFixedType(true);
  for (const auto& [name, box] : disabled) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(box->isEnabled());
    const QColor face = FaceColour(*box);
    EXPECT_LT(Distance(face, frameColour), Distance(face, windowColour)) << qPrintable(face.name());
  }
  const std::pair<const char*, QWidget*> enabled[] = {{"background", form->BackgroundBox()},
                                                      {"capitalization", form->CapitalizationBox()}};
  for (const auto& [name, box] : enabled) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(box->isEnabled());
    const QColor face = FaceColour(*box);
    EXPECT_LT(Distance(face, windowColour), Distance(face, frameColour)) << qPrintable(face.name());
  }
}

TEST(QtColorBox, TheCustomEntryTakesAConfirmedColourAndCancelGoesBack) {
  test::TScriptedDialogs dialogs;
  TQtColorBox box(kStyleColorBox, dialogs);
  QSignalSpy picked(&box, &TQtColorBox::colorChanged);
  box.SetColor(kRed);
  EXPECT_EQ(box.Color(), kRed);
  EXPECT_EQ(box.currentText(), QString::fromStdString(box.Model().Entries()[box.currentIndex()].Name));
  EXPECT_EQ(picked.count(), 0) << "showing a colour is not a pick";
  const int redIndex = box.currentIndex();
  ASSERT_EQ(box.Model().CustomIndex(), 0);

  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  dialogs.AnswerColor(0x00123456);
  QTest::keyClick(&box, Qt::Key_Home);  // the custom entry
  ASSERT_EQ(dialogs.Asked("Color").size(), 1u);
  EXPECT_EQ(box.Color(), 0x00123456u);
  EXPECT_EQ(box.currentIndex(), 0);
  ASSERT_EQ(picked.count(), 1);
  EXPECT_EQ(picked.at(0).at(0).value<std::uint32_t>(), 0x00123456u);
  // The custom swatch shows the new colour.
  const QImage swatch = box.itemIcon(0).pixmap(box.iconSize()).toImage();
  EXPECT_EQ(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), QColor(0x56, 0x34, 0x12));

  box.SetColor(kRed);
  dialogs.AnswerColor(std::nullopt);
  QTest::keyClick(&box, Qt::Key_Home);
  EXPECT_EQ(box.currentIndex(), redIndex) << "cancel returns to the previous entry";
  EXPECT_EQ(box.Color(), kRed);
  EXPECT_EQ(picked.count(), 1);
  EXPECT_TRUE(dialogs.AllAnswered());
}

// A system colour's swatch shows what that colour looks like around the box,
// whatever colours the box itself is drawn in for its enabled state.
TEST(QtColorBox, SystemColourSwatchesFollowThePaletteAroundTheBox) {
  test::TScriptedDialogs dialogs;
  QWidget window;
  QPalette palette = window.palette();
  const QColor button(11, 22, 33), base(44, 55, 66);
  palette.setColor(QPalette::Window, QColor(200, 60, 60));
  palette.setColor(QPalette::Button, button);
  palette.setColor(QPalette::Base, base);
  window.setPalette(palette);
  auto* box = new TQtColorBox(kBorderColorBox, dialogs, &window);  // system colours go into the custom entry
  const auto customSwatch = [&] {
    const QImage swatch = box->itemIcon(box->Model().CustomIndex()).pixmap(box->iconSize()).toImage();
    return swatch.pixelColor(swatch.width() / 2, swatch.height() / 2);
  };
  ASSERT_TRUE(box->isEnabled());
  box->SetColor(SystemColor(15));  // button face
  EXPECT_EQ(customSwatch(), button);
  box->setEnabled(false);
  box->SetColor(SystemColor(5));  // window background
  EXPECT_EQ(customSwatch(), base);
}

TEST(QtBorderLineBox, TenEntriesDrawTenDifferentSamplesWithoutText) {
  TQtBorderLineBox box;
  ASSERT_EQ(box.count(), blDouble + 1);
  std::set<QByteArray> samples;
  for (int type = blNone; type <= blDouble; ++type) {
    EXPECT_TRUE(box.itemText(type).isEmpty());
    const QImage image = box.itemIcon(type).pixmap(box.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32);
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) inked += qAlpha(image.pixel(x, y)) > 0;
    if (type == blNone)
      EXPECT_EQ(inked, 0) << "blNone is an empty entry";
    else
      EXPECT_GT(inked, image.width() / 4) << "type " << type << " draws a line";
    samples.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
  }
  EXPECT_EQ(samples.size(), 10u) << "every line type looks different";
  box.SetLineType(blDash);
  EXPECT_EQ(box.LineType(), blDash);
  box.SetLineType(42);
  EXPECT_EQ(box.LineType(), -1);
}

class QtSyntaxStylesFormTest : public ::testing::Test {
protected:
  void SetUp() override { m_lexer.LoadFromFile(LexerPath(), &m_dialogs); }

  TSyntaxFormat& OriginalStyle(int index) { return *m_lexer.Formats()[index]; }

  test::TScriptedDialogs m_dialogs;
  TSyntAnalyzer m_lexer;
};

TEST_F(QtSyntaxStylesFormTest, AClickOnACommentInThePreviewSelectsCommentsAndMovesNothing) {
  m_lexer.SetSampleText({"levelstart", "// a comment line", "levelend"});
  TSyntaxStylesDialog dialog(m_lexer, m_dialogs);
  TQtSyntaxStylesForm form(dialog, m_dialogs);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  TSyntaxMemo& preview = *form.Preview();
  ASSERT_EQ(preview.Lines().Text(), "levelstart\r\n// a comment line\r\nlevelend");
  ASSERT_EQ(form.ElementList()->currentRow(), 0) << "the first element is selected on showing";
  const QPoint offCentre = form.frameGeometry().center() - form.screen()->availableGeometry().center();
  EXPECT_LE(offCentre.manhattanLength(), 2) << "centred on the screen";
  const int comments = RowOf(*form.ElementList(), "Comments");
  ASSERT_GT(comments, 0);
  const int caret = preview.CaretStrPos();

  const QPoint cell = preview.CaretPosToPoint(TPoint{6, 1});
  QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, cell + QPoint(2, preview.LineHeight() / 2));
  EXPECT_EQ(form.ElementList()->currentRow(), comments);
  EXPECT_EQ(dialog.Selected(), comments);
  EXPECT_EQ(dialog.Frame().Style(), dialog.Element(comments)) << "the frame shows the clicked style";
  EXPECT_EQ(preview.CaretStrPos(), caret) << "the press goes no further than the selection";
  EXPECT_FALSE(preview.HaveSelection());

  // A double click neither selects a word in the preview.
  QTest::mouseDClick(preview.viewport(), Qt::LeftButton, {}, cell + QPoint(2, preview.LineHeight() / 2));
  EXPECT_FALSE(preview.HaveSelection());
  EXPECT_EQ(preview.CaretStrPos(), caret);

  // An edit of the shown style shows in the preview: the comment's background.
  m_dialogs.AnswerColor(0x0000FF00);
  form.StyleFrame()->BackgroundBox()->setFocus();
  QTest::keyClick(form.StyleFrame()->BackgroundBox(), Qt::Key_Home);  // the custom entry
  EXPECT_EQ(dialog.Element(comments)->BgColor, 0x0000FF00u);
  const QImage painted = preview.viewport()->grab().toImage();
  EXPECT_EQ(painted.pixelColor(cell + QPoint(1, 1)), QColor(0, 255, 0)) << "the comment drawn on green";
  EXPECT_NE(painted.pixelColor(preview.CaretPosToPoint(TPoint{2, 0}) + QPoint(1, 1)), QColor(0, 255, 0));

  // Choosing in the list shows that style.
  form.ElementList()->setCurrentRow(0);
  EXPECT_EQ(dialog.Selected(), 0);
  EXPECT_EQ(dialog.Frame().Style(), dialog.Element(0));
}

// The style under the pointer is that of the character the pointer is on,
// over the whole of its cell: the right half of a token's last character
// is still that token.
TEST_F(QtSyntaxStylesFormTest, AClickOnTheRightHalfOfATokensLastCharacterSelectsThatToken) {
  m_lexer.SetSampleText({"levelstart", "// a comment line", "levelend"});
  TSyntaxStylesDialog dialog(m_lexer, m_dialogs);
  TQtSyntaxStylesForm form(dialog, m_dialogs);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  TSyntaxMemo& preview = *form.Preview();
  const int comments = RowOf(*form.ElementList(), "Comments");
  const int loops = RowOf(*form.ElementList(), "Game Loops");
  ASSERT_GT(comments, 0);
  ASSERT_GT(loops, 0);
  const int y = preview.LineHeight() / 2;
  // The last "e" of the comment line, just left of its cell's right edge.
  const QPoint lastOfComment = preview.CaretPosToPoint(TPoint{16, 1}) + QPoint(preview.CharWidth() - 2, y);
  QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, lastOfComment);
  EXPECT_EQ(form.ElementList()->currentRow(), comments);
  // The "t" ending "levelstart".
  const QPoint lastOfKeyword = preview.CaretPosToPoint(TPoint{9, 0}) + QPoint(preview.CharWidth() - 2, y);
  QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, lastOfKeyword);
  EXPECT_EQ(form.ElementList()->currentRow(), loops);
}

// Below the last line there is no text, so no style under the pointer.
TEST_F(QtSyntaxStylesFormTest, AClickBelowTheTextSelectsNothing) {
  m_lexer.SetSampleText({"levelstart"});
  TSyntaxStylesDialog dialog(m_lexer, m_dialogs);
  TQtSyntaxStylesForm form(dialog, m_dialogs);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  TSyntaxMemo& preview = *form.Preview();
  ASSERT_NE(dialog.ElementCaption(0), "Game Loops");
  const QPoint onWord = preview.CaretPosToPoint(TPoint{3, 0}) + QPoint(1, preview.LineHeight() / 2);
  QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, onWord + QPoint(0, 3 * preview.LineHeight()));
  EXPECT_EQ(form.ElementList()->currentRow(), 0);
  QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, onWord);
  EXPECT_EQ(dialog.ElementCaption(form.ElementList()->currentRow()), "Game Loops");
}

// The list always shows the style the frame edits: a click below the items
// or a control-click on the selected one leaves it selected.
TEST_F(QtSyntaxStylesFormTest, TheElementListKeepsItsSelection) {
  TSyntaxStylesDialog dialog(m_lexer, m_dialogs);
  TQtSyntaxStylesForm form(dialog, m_dialogs);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QListWidget& list = *form.ElementList();
  ASSERT_GT(list.count(), 2);
  const QPoint third = list.visualItemRect(list.item(2)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, third);
  ASSERT_EQ(dialog.Selected(), 2);
  const QPoint belowItems(4, list.viewport()->height() - 2);
  ASSERT_FALSE(list.indexAt(belowItems).isValid()) << "the list is too full for this test";
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, belowItems);
  EXPECT_EQ(list.selectedItems().size(), 1);
  EXPECT_EQ(list.currentRow(), 2);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, third);
  EXPECT_EQ(list.selectedItems().size(), 1);
  EXPECT_EQ(list.currentRow(), 2);
  EXPECT_EQ(dialog.Selected(), 2);
  EXPECT_EQ(dialog.Frame().Style(), dialog.Element(2));
}

// After a click in the preview (which gives it the focus) the keys of the
// dialog still work: Esc cancels, Enter presses OK.
TEST_F(QtSyntaxStylesFormTest, EscAndEnterCloseTheFormFromThePreview) {
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "Enter" : "Esc");
    TSyntaxStylesDialog dialog(m_lexer, m_dialogs);
    TQtSyntaxStylesForm form(dialog, m_dialogs);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TSyntaxMemo& preview = *form.Preview();
    QTest::mouseClick(preview.viewport(), Qt::LeftButton, {}, QPoint(10, preview.LineHeight() / 2));
    preview.setFocus();
    QTest::keyClick(&preview, ok ? Qt::Key_Return : Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), ok ? QDialog::Accepted : QDialog::Rejected);
  }
}

// The read-only preview is a stop of the tab chain, not a trap: Tab and
// Shift+Tab leave it again.
TEST_F(QtSyntaxStylesFormTest, TabAndShiftTabLeaveThePreview) {
  TSyntaxStylesDialog dialog(m_lexer, m_dialogs);
  TQtSyntaxStylesForm form(dialog, m_dialogs);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QApplication::setActiveWindow(&form);
  form.CancelButton()->setFocus();
  QTest::keyClick(form.CancelButton(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), form.Preview()) << "the preview follows Cancel in the tab chain";
  QTest::keyClick(form.Preview(), Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), form.Preview());
  form.Preview()->setFocus();
  QTest::keyClick(form.Preview(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(QApplication::focusWidget(), form.CancelButton());
}

TEST_F(QtSyntaxStylesFormTest, OkHandsTheEditedStylesBackAndCancelDoesNot) {
  const std::uint32_t flags = OriginalStyle(0).FormatFlags;
  const std::uint32_t fontStyle = OriginalStyle(0).Font.Style;
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Cancel");
    TQtStylesView view(nullptr, m_dialogs);
    int shown = 0;
    view.OnShown = [&](TQtSyntaxStylesForm& form) {
      ++shown;
      EXPECT_EQ(form.windowTitle(), "Syntax Highlighting");
      EXPECT_EQ(form.ElementList()->currentRow(), 0);
      QCheckBox* bold = form.StyleFrame()->FontStyleBox(fbBold);
      if (!bold->isEnabled()) {
        ADD_FAILURE() << "the first style shows no font attributes";
        form.reject();
        return;
      }
      // Two clicks never leave a box as it was.
      ClickBox(bold);
      ClickBox(bold);
      QTest::mouseClick(ok ? form.OkButton() : form.CancelButton(), Qt::LeftButton);
    };
    const bool result = EditStyles(m_lexer, m_dialogs, view);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(result, ok);
    const bool changed = OriginalStyle(0).FormatFlags != flags || OriginalStyle(0).Font.Style != fontStyle;
    EXPECT_EQ(changed, ok);
  }
}

TEST_F(QtSyntaxStylesFormTest, BrowsingEveryElementAndPressingOkChangesNoStyle) {
  std::vector<std::string> before;
  for (int i = 0; i < m_lexer.Formats().Count(); ++i) before.push_back(Describe(OriginalStyle(i)));
  TQtStylesView view(nullptr, m_dialogs);
  view.OnShown = [&](TQtSyntaxStylesForm& form) {
    // Every element shown in the frame, by the keyboard as a user would.
    form.ElementList()->setFocus();
    for (int row = 1; row < form.ElementList()->count(); ++row) QTest::keyClick(form.ElementList(), Qt::Key_Down);
    EXPECT_EQ(form.Dialog().Selected(), form.ElementList()->count() - 1);
    QTest::keyClick(&form, Qt::Key_Return);  // the default button
  };
  ASSERT_TRUE(EditStyles(m_lexer, m_dialogs, view));
  ASSERT_EQ(m_lexer.Formats().Count(), static_cast<int>(before.size()));
  for (int i = 0; i < m_lexer.Formats().Count(); ++i) {
    EXPECT_EQ(Describe(OriginalStyle(i)), before[i]);
  }
}

}  // namespace
}  // namespace penwick
