// The editor widget when painting runs out of time for the analysis: the
// lines not reached are drawn in the lexer's default style, and the view is
// painted again, unasked, once the idle analysis has passed them.
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "InkCount.h"
#include "editor/QtCanvasColors.h"
#include "editor/StyledRuns.h"
#include "editor/SyntaxMemo.h"
#include "language/MissionLexer.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/SyntAnalyzer.h"
#include "syntax/SyntaxFormat.h"

namespace penwick {
namespace {

const QColor kBackground(255, 255, 255);
const QColor kFontColor(255, 0, 0);

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
public:
  int Paints = 0;

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Paints;
    return false;
  }
};

class SyntaxMemoPaintAnalysis : public ::testing::Test {
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
  }
  void TearDown() override { m_memo.reset(); }

  QImage Grab() const { return m_memo->viewport()->grab().toImage(); }
  // Ink pixels of `color` in the cells of characters [x, x + count) of `line`.
  int CountInk(const QImage& image, int line, int x, int count, const QColor& color) const {
    return test::CountInk(*m_memo, image, line, x, count, color, kBackground);
  }
  QColor Colour(std::uint32_t value) const { return CanvasColor(value, m_memo->palette(), kFontColor); }

  TSyntAnalyzer m_lexer;
  std::unique_ptr<TSyntaxMemo> m_memo;
};

TEST_F(SyntaxMemoPaintAnalysis, UnreachedLinesDrawInTheDefaultStyleAndRepaintWhenTheIdleRunPassesThem) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "PLAYER_PED p1 = ( 127.5 , 127.5 , 255.0 ) 25 180\r\n";
  m_memo->Lines().SetText(text);
  m_memo->SetTopLine(1000);
  TClientSyntAnalyzer* client = m_memo->SyntClient();
  ASSERT_NE(client, nullptr);
  // Every paint finds its budget spent at once: the clock jumps a second a read.
  auto now = std::make_shared<TClientSyntAnalyzer::TClock::time_point>();
  client->SetClock([now] { return *now += std::chrono::seconds(1); });
  // Only the watch on the visible lines may ask for the repaint.
  client->OnFinished = nullptr;
  TPaintCounter counter;
  m_memo->viewport()->installEventFilter(&counter);
  // Held back until the paints already asked for are done.
  client->DisableIdleAnalysis(true);

  const QImage before = Grab();
  EXPECT_EQ(client->TokenCount(), 0) << "painting did not analyse past its budget";
  EXPECT_TRUE(client->Watching());
  TStyledRuns lookup(client, m_memo->BaseCanvasState());
  const QColor plain = Colour(lookup.StateOf({}).TextColor);
  const int top = m_memo->TopLine();
  EXPECT_GT(CountInk(before, top, 0, 10, plain), 0) << "PLAYER_PED in the default style";

  QTest::qWait(1);
  EXPECT_EQ(client->TokenCount(), 0);
  const int paints = counter.Paints;
  client->DisableIdleAnalysis(false);
  ASSERT_TRUE(QTest::qWaitFor([&] { return counter.Paints > paints; }, 20000)) << "no repaint came";
  const int lastVisible = top + m_memo->VisibleLineCount();
  EXPECT_GT(client->NextParsePosition() - 1, static_cast<std::size_t>(m_memo->Lines().LineStart(lastVisible)))
      << "the idle run had passed the visible lines";
  EXPECT_FALSE(client->Watching()) << "the repaint found the lines analysed";

  const QImage after = Grab();
  const int keyword = client->TokenIndexAt(static_cast<std::size_t>(m_memo->Lines().LineStart(top)));
  ASSERT_GE(keyword, 0);
  ASSERT_NE(client->TokenStyle(keyword), nullptr);
  const QColor styled = Colour(client->TokenStyle(keyword)->Font.Color);
  ASSERT_NE(styled.rgb(), plain.rgb());
  EXPECT_EQ(CountInk(before, top, 0, 10, styled), 0);
  EXPECT_GT(CountInk(after, top, 0, 10, styled), 0) << "PLAYER_PED in its style once analysed";
}

}  // namespace
}  // namespace penwick
