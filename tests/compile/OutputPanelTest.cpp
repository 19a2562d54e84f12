// The output panel: double clicks on real message lines move the editor's
// caret and selection; the Close button and the splitter.
#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "compile/OutputPanel.h"
#include "compile/QtPanelSplitter.h"
#include "editor/SyntaxMemo.h"

namespace penwick {
namespace {

class OutputPanel : public ::testing::Test {
protected:
  void SetUp() override {
    m_window.resize(600, 400);
    auto* column = new QVBoxLayout(&m_window);
    m_editor = new TSyntaxMemo(&m_window);
    m_panel = new TOutputPanel(*m_editor, &m_window);
    column->addWidget(m_editor, 1);
    column->addWidget(m_panel->splMain());
    column->addWidget(m_panel);
    m_panel->OnError = [this](std::exception_ptr error) {
      try {
        std::rethrow_exception(error);
      } catch (const std::exception& e) {
        m_errors.push_back(e.what());
      }
    };
    // Twenty lines; line 12 (1-based) is a player declaration.
    std::string text;
    for (int line = 1; line <= 20; ++line) {
      text += line == 12 ? "PLAYER_PED p1 = ( 127.5 , 127.5 , 255.0 ) 25 180" : "line " + std::to_string(line);
      if (line < 20) text += "\r\n";
    }
    m_editor->Lines().SetText(text);
    m_window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
  }

  // Shows the panel with `lines` and double-clicks line `index` as the user would.
  void DoubleClick(const std::vector<std::string>& lines, int index) {
    m_panel->SetLines(lines, static_cast<int>(lines.size()) - 1);
    m_panel->ShowPanel();
    QApplication::processEvents();
    QListWidget* list = m_panel->OutPut();
    const QRect rect = list->visualItemRect(list->item(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  }
  void DoubleClick(const std::string& line) { DoubleClick({"Compiling: x.mis", line}, 1); }

  std::string Selected() const { return m_editor->SelText(); }

  QWidget m_window;
  TSyntaxMemo* m_editor = nullptr;
  TOutputPanel* m_panel = nullptr;
  std::vector<std::string> m_errors;
};

TEST_F(OutputPanel, HeadingsShowTheirFileNamesAndMessagesTheirCodePageText) {
  const std::string heading = "Compiling: /home/ana/Miss\xC3\xB5" "es \xC3\xA9/\xD0\xBC\xD0\xB8\xD1\x81\xD1\x81\xD0\xB8\xD1\x8F.mis";
  const std::string message = "Error: unknown word '\xE9t\xE9' on line 12";  // Windows-1252
  m_panel->SetLines({heading, message}, 1, 1);
  QListWidget* list = m_panel->OutPut();
  EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("Compiling: /home/ana/Missões é/миссия.mis"));
  EXPECT_EQ(list->item(1)->text(), QString::fromUtf8("Error: unknown word 'été' on line 12"));
  // The lines themselves stay as they were given.
  EXPECT_EQ(m_panel->Lines(), (std::vector<std::string>{heading, message}));
  // Without headings every line is code-page text.
  m_panel->SetLines({message}, 0);
  EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("Error: unknown word 'été' on line 12"));
}

TEST_F(OutputPanel, QuotedWordAtTheLineStartIsSelected) {
  DoubleClick("Error: unknown object 'PLAYER_PED' on line 12");
  EXPECT_EQ(m_editor->CaretPos(), (TPoint{0, 11}));
  EXPECT_EQ(Selected(), "PLAYER_PED");
  EXPECT_TRUE(m_editor->hasFocus());
  EXPECT_TRUE(m_errors.empty());
}

TEST_F(OutputPanel, QuotedWordFurtherAlongPutsTheCaretOnIt) {
  DoubleClick("Error: ' p1 ' already declared on line 12");
  EXPECT_EQ(m_editor->CaretPos(), (TPoint{11, 11}));
  EXPECT_EQ(Selected(), "p1");
}

TEST_F(OutputPanel, AbsentWordSelectsAsManyCharactersFromTheLineStart) {
  DoubleClick("Error: 'COUNTER' expected on line 12");
  EXPECT_EQ(m_editor->CaretPos(), (TPoint{0, 11}));
  EXPECT_EQ(Selected(), "PLAYER_");
}

TEST_F(OutputPanel, HeadingLinesGoToTheStartWithNothingSelected) {
  m_editor->SetCaretPos(3, 5);
  m_editor->SetSelLength(4);
  DoubleClick({"Preprocessing: /scripts/a.mis", "Compiling: /scripts/a.mis"}, 0);
  EXPECT_EQ(m_editor->CaretPos(), (TPoint{0, 0}));
  EXPECT_FALSE(m_editor->HaveSelection());
}

TEST_F(OutputPanel, LineNumbersBeyondTheScriptGoToTheLastLine) {
  DoubleClick("Error on line 999");
  EXPECT_EQ(m_editor->CaretPos(), (TPoint{0, 19}));
  EXPECT_FALSE(m_editor->HaveSelection());
}

TEST_F(OutputPanel, OnlyFourDigitsOfTheLineNumberAreRead) {
  std::string text;
  for (int line = 1; line <= 1300; ++line) text += "row " + std::to_string(line) + "\r\n";
  m_editor->Lines().SetText(text);
  DoubleClick("Error: 'row' on line 123456");
  EXPECT_EQ(m_editor->CaretPos(), (TPoint{0, 1233}));
  EXPECT_EQ(m_editor->Lines().Line(1233), "row 1234");
  EXPECT_EQ(Selected(), "row");
}

TEST_F(OutputPanel, NumberFollowedAtOnceByTextStillJumps) {
  DoubleClick("Error on line 12: 'p1' is not a command");
  EXPECT_EQ(m_editor->CaretPos(), (TPoint{11, 11}));
  EXPECT_EQ(Selected(), "p1");
  EXPECT_TRUE(m_errors.empty());
}

TEST_F(OutputPanel, NoNumberAfterTheMarkerIsReportedAfterDroppingTheSelection) {
  m_editor->SetCaretPos(2, 3);
  m_editor->SetSelLength(3);
  DoubleClick("Warning on line x12 'p1'");
  ASSERT_EQ(m_errors.size(), 1u);
  EXPECT_EQ(m_errors[0], "'x12' is not a valid integer value");
  EXPECT_FALSE(m_editor->HaveSelection());
  EXPECT_EQ(m_editor->CaretPos(), (TPoint{2, 3})) << "the jump stops before the caret moves";
  // Fewer than four characters at the end of the message.
  DoubleClick("Error on line ");
  ASSERT_EQ(m_errors.size(), 2u);
  EXPECT_EQ(m_errors[1], "'' is not a valid integer value");
}

TEST_F(OutputPanel, ParsesTheWordBetweenTheFirstTwoQuotes) {
  EXPECT_EQ(TOutputPanel::ParseMessagePlace("a 'x' b 'y' on line 7").Word, "x");
  EXPECT_EQ(TOutputPanel::ParseMessagePlace("only 'one quote on line 7").Word, "");
  EXPECT_EQ(TOutputPanel::ParseMessagePlace("only 'one quote on line 7").Line, 7);
  EXPECT_EQ(TOutputPanel::ParseMessagePlace("on line 0").Line, 0);
  EXPECT_EQ(TOutputPanel::ParseMessagePlace("no marker 12").Line, 0);
}

TEST_F(OutputPanel, CloseHidesThePanelAndKeepsTheLines) {
  m_panel->SetLines({"one", "two"}, 1);
  m_panel->ShowPanel();
  QApplication::processEvents();
  EXPECT_TRUE(m_panel->isVisible());
  EXPECT_TRUE(m_panel->splMain()->isVisible());
  EXPECT_EQ(m_panel->OutPut()->currentRow(), 1);
  QTest::mouseClick(m_panel->btn_closemessages(), Qt::LeftButton);
  EXPECT_FALSE(m_panel->isVisible());
  EXPECT_FALSE(m_panel->splMain()->isVisible());
  EXPECT_EQ(m_panel->Lines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_FALSE(m_panel->btn_save()->isEnabled());
  EXPECT_FALSE(m_panel->btn_gotomessage()->isEnabled());
  // Shown again with new lines only.
  m_panel->SetLines({"three"}, 0);
  m_panel->ShowPanel();
  EXPECT_TRUE(m_panel->OutPut()->isVisible());
  EXPECT_EQ(m_panel->Lines(), (std::vector<std::string>{"three"}));
}

TEST_F(OutputPanel, SplitterResizesThePanelAndSnapsItShut) {
  m_panel->ShowPanel();
  QApplication::processEvents();
  ASSERT_EQ(m_panel->height(), 70);
  QWidget* bar = m_panel->splMain();
  auto drag = [&](int dy) {
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(10, 1));
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 1 + dy), bar->mapToGlobal(QPointF(10, 1 + dy)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(10, 1 + dy));
    QApplication::processEvents();
  };
  drag(-50);
  EXPECT_EQ(m_panel->height(), 120);
  drag(95);  // 25 pixels high would be below the minimum of 30
  EXPECT_EQ(m_panel->height(), 0);
}

TEST_F(OutputPanel, NoSelectedLineDoesNothing) {
  m_editor->SetCaretPos(2, 3);
  m_editor->SetSelLength(3);
  m_panel->SetLines({"Error: 'p1' on line 12"}, -1);
  m_panel->OutPut()->clearSelection();
  m_panel->OutPutDblClick();
  EXPECT_EQ(m_editor->CaretPos(), (TPoint{2, 3}));
  EXPECT_EQ(m_editor->SelLength(), 3);
}

}  // namespace
}  // namespace penwick
