// The editor widget bound to the mission lexer: what it paints, how typing
// reaches the analysis, and the idle analysis running through the event loop.
#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "InkCount.h"
#include "editor/QtCanvasColors.h"
#include "editor/SyntaxMemo.h"
#include "language/MissionLexer.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {
namespace {

const QColor kBackground(255, 255, 255);
const QColor kFontColor(255, 0, 0);

using TTokenList = std::vector<std::tuple<std::uint32_t, std::uint32_t, int, int>>;

TTokenList Tokens(const TClientSyntAnalyzer& client) {
  TTokenList list;
  for (int i = 0; i < client.TokenCount(); ++i) {
    const TSyntToken& t = client.Token(i);
    list.emplace_back(t.StartPos, t.EndPos, t.TokenType, t.RuleId);
  }
  return list;
}

class SyntaxMemoHighlight : public ::testing::Test {
protected:
  void SetUp() override {
    BuildMissionLexer(m_lexer);
    m_memo = std::make_unique<TSyntaxMemo>();
    m_memo->resize(500, 300);
    m_memo->SetColor(kBackground);
    m_memo->SetFontColor(kFontColor);
    m_memo->SetSyntaxAnalyzer(&m_lexer);
    m_memo->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_memo.get()));
    m_memo->activateWindow();
    m_memo->setFocus();
  }
  void TearDown() override { m_memo.reset(); }

  void SetText(const char* text) {
    m_memo->Lines().SetText(text);
    m_memo->SetCaretPos(0, 0);
  }
  QImage Grab() const { return m_memo->viewport()->grab().toImage(); }
  // Ink pixels of `color` in the cells of characters [x, x + count) of `line`.
  int CountPixels(const QImage& image, int line, int x, int count, const QColor& color) const {
    return test::CountInk(*m_memo, image, line, x, count, color, m_background);
  }
  // The colour the painter should use for the token at `offset`.
  QColor StyleColor(int offset) const {
    TClientSyntAnalyzer* client = m_memo->SyntClient();
    const TSyntaxFormat* style = client->TokenStyle(client->TokenIndexAt(static_cast<std::size_t>(offset)));
    if (!style) return QColor();
    return CanvasColor(style->Font.Color, m_memo->palette(), kFontColor);
  }
  std::string StyleName(int offset) const {
    TClientSyntAnalyzer* client = m_memo->SyntClient();
    const TSyntaxFormat* style = client->TokenStyle(client->TokenIndexAt(static_cast<std::size_t>(offset)));
    return style ? style->DisplayName() : std::string();
  }
  void ExpectMatchesFreshAnalysis(const char* step) {
    TClientSyntAnalyzer* client = m_memo->SyntClient();
    ASSERT_NE(client, nullptr);
    client->AnalyzeAll();
    TStringTextSource source(m_memo->Lines().Text());
    auto fresh = m_lexer.CreateClient(&source, nullptr);
    fresh->AnalyzeAll();
    EXPECT_EQ(Tokens(*client), Tokens(*fresh)) << "after " << step << ", text \"" << source.String() << '"';
  }

  TSyntAnalyzer m_lexer;
  std::unique_ptr<TSyntaxMemo> m_memo;
  QColor m_background = kBackground;
};

TEST_F(SyntaxMemoHighlight, KeywordsAndTokensArePaintedInTheirStylesColours) {
  SetText("LEVELSTART\r\nPLAYER_PED p1 @\r\n");
  const QImage image = Grab();

  const QColor keyword = StyleColor(0);
  const QColor type = StyleColor(12);
  const QColor variable = StyleColor(23);
  ASSERT_TRUE(keyword.isValid() && type.isValid() && variable.isValid());
  // The keyword is claimed by its block rule: not drawn as a plain identifier.
  EXPECT_NE(StyleName(0), StyleName(23));
  EXPECT_NE(StyleName(12), StyleName(23));

  EXPECT_GT(CountPixels(image, 0, 0, 10, keyword), 0) << "LEVELSTART in its style's colour";
  EXPECT_EQ(CountPixels(image, 0, 0, 10, kFontColor), 0) << "no part of LEVELSTART in the plain text colour";
  EXPECT_GT(CountPixels(image, 1, 0, 10, type), 0);
  EXPECT_EQ(CountPixels(image, 1, 0, 10, kFontColor), 0);
  EXPECT_GT(CountPixels(image, 1, 11, 2, variable), 0);
  // An at sign belongs to no token: the editor's own font colour.
  EXPECT_GT(CountPixels(image, 1, 14, 1, kFontColor), 0);
  EXPECT_EQ(CountPixels(image, 1, 14, 1, variable), 0);

  // The state the painter draws from: the style's colour and font style over the editor's.
  const TCanvasState atKeyword = m_memo->CanvasStateAt(0);
  const TSyntaxFormat* style = m_memo->SyntClient()->TokenStyle(m_memo->SyntClient()->TokenIndexAt(0));
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(atKeyword.TextColor, style->Font.Color);
  EXPECT_EQ(atKeyword.FontStyle & fsBold, style->Font.Style & fsBold);
  EXPECT_EQ(m_memo->CanvasStateAt(26), m_memo->BaseCanvasState()) << "the at sign";
}

TEST_F(SyntaxMemoHighlight, SelectedTokensKeepTheirFontAndTakeTheHighlightColours) {
  SetText("LEVELSTART @");
  const QColor keyword = StyleColor(0);
  ASSERT_NE(m_memo->CanvasStateAt(0).FontStyle & fsBold, 0u) << "the keyword's style is bold";
  m_memo->SetCaretPos(12, 0);
  m_memo->SetSelection(0, 12);
  const QImage image = Grab();
  const QColor highlightText = m_memo->palette().color(QPalette::HighlightedText);
  m_background = m_memo->palette().color(QPalette::Highlight);
  ASSERT_NE(highlightText, keyword);
  EXPECT_GT(CountPixels(image, 0, 0, 10, highlightText), 0);
  EXPECT_EQ(CountPixels(image, 0, 0, 10, keyword), 0) << "the style's colour gives way to the selection";
  EXPECT_EQ(CountPixels(image, 0, 11, 1, kFontColor), 0);
  // A bold keyword stays bold: it covers more of its cells than the same word in a plain font.
  const int selectedInk = CountPixels(image, 0, 0, 10, highlightText);
  m_memo->SetSelection(0, 0);
  SetText("LEVELSTARX @");  // one letter off: a plain identifier
  m_memo->SetCaretPos(12, 0);
  m_memo->SetSelection(0, 12);
  ASSERT_EQ(m_memo->CanvasStateAt(0).FontStyle & fsBold, 0u) << "a plain identifier";
  EXPECT_GT(selectedInk, CountPixels(Grab(), 0, 0, 10, highlightText));
}

TEST_F(SyntaxMemoHighlight, TypingKeepsTheAnalysisEqualToAFreshOne) {
  SetText("");
  QWidget* w = m_memo.get();
  QTest::keyClicks(w, "LEVELSTART");
  ExpectMatchesFreshAnalysis("a keyword");
  QTest::keyClick(w, Qt::Key_Return);
  QTest::keyClicks(w, "SET x = 1.");
  ExpectMatchesFreshAnalysis("an integer and a dot");
  QTest::keyClicks(w, "5");
  ExpectMatchesFreshAnalysis("the dot becomes a float");
  QTest::keyClick(w, Qt::Key_Home);
  QTest::keyClicks(w, "/* ");
  ExpectMatchesFreshAnalysis("an open comment");
  QTest::keyClick(w, Qt::Key_End);
  QTest::keyClicks(w, " */");
  ExpectMatchesFreshAnalysis("the comment closed");
  QTest::keyClick(w, Qt::Key_Backspace);
  QTest::keyClick(w, Qt::Key_Backspace);
  ExpectMatchesFreshAnalysis("the closing mark deleted");
  QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
  ExpectMatchesFreshAnalysis("undo");
  QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(w, "LEVELEND");
  ExpectMatchesFreshAnalysis("everything replaced");
  m_memo->Lines().SetText("#ifdef A\r\nx\r\n#endif");
  ExpectMatchesFreshAnalysis("a whole new text");
  // The folds come from the finishing job, delivered through the event loop.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !m_memo->SyntClient()->FinishingPending(); }, 5000));
  EXPECT_EQ(m_memo->SyntClient()->CollapsibleRanges().size(), 1u);
}

TEST_F(SyntaxMemoHighlight, IdleAnalysisAndFinishingRunThroughTheEventLoop) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "SET x = " + std::to_string(i) + "\r\n";
  text += "#ifdef A\r\nx\r\n#endif\r\n";
  m_memo->Lines().SetText(text);
  TClientSyntAnalyzer* client = m_memo->SyntClient();
  EXPECT_FALSE(client->Finished());
  EXPECT_TRUE(client->IdleTimerActive()) << "a change schedules an idle run";
  // Painting analyses only what is shown.
  m_memo->viewport()->repaint();
  EXPECT_FALSE(client->Finished());
  EXPECT_GT(client->TokenCount(), 0);
  // The idle run tokenises the rest; the finishing job delivers the folds.
  ASSERT_TRUE(QTest::qWaitFor([&] { return client->Finished() && !client->FinishingPending(); }, 5000));
  ASSERT_EQ(client->CollapsibleRanges().size(), 1u);
  EXPECT_EQ(client->FirstLineOf(client->CollapsibleRanges()[0]), 300);
  EXPECT_FALSE(client->IdleTimerActive());
}

TEST_F(SyntaxMemoHighlight, ClosingTheEditorInsideAnIdleRunEndsTheRun) {
  std::string text;
  for (int i = 0; i < 300000; ++i) text += "SET x = 1\r\n";
  m_memo->Lines().SetText(text);
  // The idle run starts 100 ms after the change and takes far longer than
  // 50 ms; the editor is closed from an event handled inside one of its yields.
  bool closedWhileBusy = false;
  QTimer::singleShot(150, [&] {
    closedWhileBusy = m_memo->SyntClient()->Busy();
    m_memo.reset();
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_memo == nullptr; }, 10000));
  EXPECT_TRUE(closedWhileBusy);
  QTest::qWait(20);  // the timer, its deferred deletion and any job delivery have come and gone
}

TEST_F(SyntaxMemoHighlight, BindingChangesAndALostDefinitionLeavePlainText) {
  SetText("LEVELSTART");
  TClientSyntAnalyzer* client = m_memo->SyntClient();
  m_memo->SetSyntaxAnalyzer(&m_lexer);
  EXPECT_EQ(m_memo->SyntClient(), client) << "binding the same definition keeps the analysis";
  EXPECT_EQ(m_memo->SyntaxAnalyzer(), &m_lexer);

  {
    TSyntAnalyzer other;
    BuildMissionLexer(other);
    m_memo->SetSyntaxAnalyzer(&other);
    EXPECT_EQ(m_memo->SyntaxAnalyzer(), &other);
    EXPECT_GT(CountPixels(Grab(), 0, 0, 10, StyleColor(0)), 0);
  }
  // The definition is gone: plain text, and typing and painting go on.
  EXPECT_EQ(m_memo->SyntaxAnalyzer(), nullptr);
  QTest::keyClicks(m_memo.get(), "X");
  QImage image = Grab();
  EXPECT_GT(CountPixels(image, 0, 1, 9, kFontColor), 0);
  EXPECT_EQ(m_memo->CanvasStateAt(1), m_memo->BaseCanvasState());

  m_memo->SetSyntaxAnalyzer(&m_lexer);
  ExpectMatchesFreshAnalysis("rebinding");
  const QColor identifier = StyleColor(0);  // XLEVELSTART is a plain identifier
  ASSERT_TRUE(identifier.isValid());
  EXPECT_GT(CountPixels(Grab(), 0, 0, 11, identifier), 0);
  m_memo->SetSyntaxAnalyzer(nullptr);
  EXPECT_EQ(m_memo->SyntClient(), nullptr);
  image = Grab();
  EXPECT_EQ(CountPixels(image, 0, 0, 11, identifier), 0) << "unbound: no styles";
  EXPECT_GT(CountPixels(image, 0, 0, 11, kFontColor), 0);
}

TEST(SyntaxMemoColors, CanvasColoursMapToScreenColours) {
  QPalette palette;
  palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
  palette.setColor(QPalette::HighlightedText, QColor(4, 5, 6));
  palette.setColor(QPalette::Text, QColor(7, 8, 9));
  const QColor fallback(10, 11, 12);
  EXPECT_EQ(CanvasColor(0x0000FFu, palette, fallback), QColor(255, 0, 0)) << "red is the lowest byte";
  EXPECT_EQ(CanvasColor(0xFF0000u, palette, fallback), QColor(0, 0, 255));
  EXPECT_EQ(CanvasColor(0x123456u, palette, fallback), QColor(0x56, 0x34, 0x12));
  EXPECT_EQ(CanvasColor(clHighlight, palette, fallback), QColor(1, 2, 3));
  EXPECT_EQ(CanvasColor(clHighlightText, palette, fallback), QColor(4, 5, 6));
  EXPECT_EQ(CanvasColor(clWindowText, palette, fallback), QColor(7, 8, 9));
  EXPECT_EQ(CanvasColor(clNone, palette, fallback), fallback);
  EXPECT_EQ(CanvasColor(clDefault, palette, fallback), fallback);
  EXPECT_EQ(CanvasColor(SystemColor(200), palette, fallback), fallback) << "an unknown system colour";
  EXPECT_EQ(ColorValue(QColor(0x12, 0x34, 0x56)), 0x563412u);
}

}  // namespace
}  // namespace penwick
