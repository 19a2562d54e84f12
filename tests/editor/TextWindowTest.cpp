// Windows and ranges of the store as the analysis reads them: the same text as the whole, and the gap moved only when a window must begin before it.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editor/MemoTextSource.h"
#include "editor/SyntMemoStrings.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick {
namespace {

// Where the store's gap lies, seen from outside: a window from the end of
// the text never needs to move it, so it begins at the gap.
std::size_t GapOf(const TMemoTextSource& source) { return source.WindowFrom(source.TextLength()).Start; }

std::string Show(const std::string& s) {
  std::string out;
  for (char c : s) out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
  return out;
}

TEST(TextWindow, WindowsAfterTheGapLeaveItWhereTheLastEditPutIt) {
  TSyntMemoStrings lines;
  lines.SetText("first line\r\nsecond line\r\nthird line\r\n");
  const TMemoTextSource source(lines);
  lines.InsertText(15, "XY");  // the gap now follows the insertion
  const std::string text = lines.Text();
  ASSERT_EQ(17u, GapOf(source));

  // At or after the gap: the part after it, nothing moved.
  for (std::size_t offset : {17u, 20u, static_cast<unsigned>(text.size())}) {
    const TTextWindow w = source.WindowFrom(offset);
    EXPECT_EQ(17u, w.Start) << offset;
    EXPECT_EQ(text.substr(17), w.Text) << offset;
    EXPECT_EQ('Y', w.CharBefore) << offset;
  }
  // Before the gap: the gap moves back to the offset asked for, no further.
  const TTextWindow back = source.WindowFrom(12);
  EXPECT_EQ(12u, back.Start);
  EXPECT_EQ(text.substr(12), back.Text);
  EXPECT_EQ('\n', back.CharBefore);
  EXPECT_EQ(12u, GapOf(source));
  const TTextWindow top = source.WindowFrom(0);
  EXPECT_EQ(0u, top.Start);
  EXPECT_EQ(-1, top.CharBefore);
  EXPECT_EQ(text, top.Text);

  // Copies and pieces move nothing.
  lines.InsertText(30, "z");
  const std::string after = lines.Text();
  (void)source.WindowFrom(after.size());
  const std::size_t gap = GapOf(source);
  EXPECT_EQ(after.substr(20, 20), source.TextRange(20, 20));
  std::string_view piece;
  EXPECT_TRUE(source.ContiguousRange(0, 5, piece));
  EXPECT_EQ(gap, GapOf(source));
}

// Random edits, windows and reads against a plain string.
TEST(TextWindow, RandomEditsAndReadsAgreeWithAPlainString) {
  std::mt19937 rng(3141u);
  const std::string alphabet = "ab \r\n\r\nxyz";
  for (int round = 0; round < 30; ++round) {
    std::string model;
    TSyntMemoStrings lines;
    const TMemoTextSource source(lines);
    for (int step = 0; step < 300; ++step) {
      const int size = static_cast<int>(model.size());
      const int at = static_cast<int>(rng() % static_cast<unsigned>(size + 1));
      if (rng() % 3 || size == 0) {
        std::string s;
        for (int n = 1 + static_cast<int>(rng() % 4); n > 0; --n) s += alphabet[rng() % alphabet.size()];
        lines.InsertText(at, s);
        model.insert(static_cast<std::size_t>(at), s);
      } else {
        const int count = std::min(size - at, 1 + static_cast<int>(rng() % 5));
        lines.DeleteText(at, count);
        model.erase(static_cast<std::size_t>(at), static_cast<std::size_t>(count));
      }
      const std::size_t length = model.size();
      ASSERT_EQ(length, source.TextLength());
      const std::string context = "round " + std::to_string(round) + " step " + std::to_string(step) + " '" + Show(model) + "'";

      const std::size_t offset = rng() % (length + 3);
      const std::size_t gapBefore = GapOf(source);
      const TTextWindow w = source.WindowFrom(offset);
      ASSERT_LE(w.Start, std::min(offset, length)) << context;
      ASSERT_EQ(model.substr(w.Start), w.Text) << context;
      ASSERT_EQ(w.Start > 0 ? static_cast<unsigned char>(model[w.Start - 1]) : -1, w.CharBefore) << context;
      // A window that can begin at the gap does not move it.
      const std::size_t expectedStart = gapBefore <= offset ? std::min(gapBefore, length) : offset;
      ASSERT_EQ(expectedStart, w.Start) << context;

      const std::size_t from = rng() % (length + 2), count = rng() % 8;
      const std::size_t gap = GapOf(source);
      ASSERT_EQ(from < length ? model.substr(from, count) : std::string(), source.TextRange(from, count)) << context;
      std::string_view piece;
      const bool whole = from <= length && count <= length - from;
      const bool split = whole && from < gap && gap < from + count;
      ASSERT_EQ(whole && !split, source.ContiguousRange(from, count, piece)) << context << " range " << from << "+" << count;
      if (whole && !split) {
        ASSERT_EQ(model.substr(from, count), piece) << context;
      }
      ASSERT_EQ(gap, GapOf(source)) << context;

      // The start of the line before an offset, as the analysis finds it.
      std::size_t expected = std::min(offset, length);
      while (expected > 0 && model[expected - 1] != '\n' && model[expected - 1] != '\r') --expected;
      TTextWindow covering;
      ASSERT_EQ(expected, source.StartAfterBreakBefore(offset, covering)) << context << " offset " << offset;
      ASSERT_LE(covering.Start, expected) << context;
      ASSERT_EQ(model.substr(covering.Start), covering.Text) << context;
    }
  }
}

// Rules whose answer depends on the byte before the token: a word at a line
// start, a number that stands alone, dots inside a run of non-word bytes;
// and what is left of each.
void BuildBoundaryLexer(TSyntAnalyzer& a) {
  auto rule = [&a](const char* expression, int type) {
    TTokenRule* r = a.TokenRules().Add();
    r->SetExpression(expression);
    r->SetTokenType(type);
  };
  rule("^[a-z]+", 1);
  rule("\\b\\d+\\b", 2);
  rule("[a-z]+", 3);
  rule("\\d+", 4);
  rule("\\B[.]+", 5);
  rule("[^\\w\\s]", 6);
}

std::string Tokens(const TClientSyntAnalyzer& client) {
  std::string out;
  for (int i = 0; i < client.TokenCount(); ++i) {
    const TSyntToken& t = client.Token(i);
    out += std::to_string(t.StartPos) + "-" + std::to_string(t.EndPos) + ":" + std::to_string(t.TokenType) + " ";
  }
  return out;
}

// The analysis reads the store from wherever its gap lies, so a token may
// begin at the window's first byte; line starts and word boundaries there
// must still answer as on the whole text.
TEST(TextWindow, AnalysisThroughTheStoreSeesLineStartsAndBoundariesBeforeEachWindow) {
  std::mt19937 rng(2718u);
  const std::string alphabet = "ab12.. \r\n\n.x-";
  TSyntAnalyzer analyzer;
  BuildBoundaryLexer(analyzer);
  for (int round = 0; round < 20; ++round) {
    TSyntMemoStrings lines;
    std::string start;
    for (int n = 20 + static_cast<int>(rng() % 60); n > 0; --n) start += alphabet[rng() % alphabet.size()];
    lines.SetText(start);
    TMemoTextSource source(lines);
    std::unique_ptr<TClientSyntAnalyzer> client = analyzer.CreateClient(&source, nullptr);
    client->AnalyzeAll();
    for (int step = 0; step < 80; ++step) {
      const int size = lines.TextLength();
      const int at = static_cast<int>(rng() % static_cast<unsigned>(size + 1));
      if (rng() % 3 || size == 0) {
        const std::string s(1, alphabet[rng() % alphabet.size()]);
        lines.InsertText(at, s);
      } else {
        const int count = std::min(size - at, 1 + static_cast<int>(rng() % 3));
        if (count == 0) continue;
        lines.DeleteText(at, count);
      }
      // The analysis pauses (painting needed only part of the text), and
      // another reader leaves the gap somewhere before it goes on, often
      // exactly where it goes on: its next window then begins at the token
      // it reads, and only the byte before the window tells what precedes.
      client->AnalyzeTo(rng() % (source.TextLength() + 1));
      const std::size_t next = std::min(client->NextParsePosition() - 1, source.TextLength());
      // (Closing the gap puts it at the nearer end; a window then moves it
      // back to where it is asked for.)
      (void)lines.ContiguousText();
      (void)source.WindowFrom(rng() % 2 ? next : rng() % (next + 1));
      client->AnalyzeAll();
      const std::string text = lines.TextRange(0, lines.TextLength());
      TStringTextSource plain(text);
      std::unique_ptr<TClientSyntAnalyzer> fresh = analyzer.CreateClient(&plain, nullptr);
      fresh->AnalyzeAll();
      ASSERT_EQ(Tokens(*fresh), Tokens(*client)) << "round " << round << " step " << step << " '" << Show(text) << "'";
    }
  }
}

}  // namespace
}  // namespace penwick
