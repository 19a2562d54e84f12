// The text store seen as the analysis's text source: its view and line
// conversions agree with a plain scan of the same text, however the store got it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "editor/MemoTextSource.h"
#include "editor/SyntMemoStrings.h"

namespace penwick {
namespace {

// The line rules of the analysis, by scanning the text (the interface's own
// implementation).
class TScannedText : public TAnalysisTextSource {
public:
  explicit TScannedText(std::string text) : m_text(std::move(text)) {}
  std::string_view Text() const override { return m_text; }

private:
  std::string m_text;
};

// Every offset (and a few beyond the end) and every line (and a few outside)
// answer as the scan does.
void ExpectAgreesWithScan(TSyntMemoStrings& lines, const std::string& context) {
  const TMemoTextSource source(lines);
  const std::string text = lines.Text();
  const TScannedText scan(text);
  ASSERT_EQ(source.Text(), text) << context;
  ASSERT_EQ(source.LineCount(), scan.LineCount()) << context;
  for (std::size_t offset = 0; offset <= text.size() + 2; ++offset)
    ASSERT_EQ(source.LineFromOffset(offset), scan.LineFromOffset(offset)) << context << " offset " << offset;
  for (int line = -1; line <= scan.LineCount() + 1; ++line)
    ASSERT_EQ(source.LineStartOffset(line), scan.LineStartOffset(line)) << context << " line " << line;
}

TEST(MemoTextSource, WholeTextsInEveryBreakStyleAgreeWithAScan) {
  for (const char* text : {"", "a", "one\r\ntwo", "one\r\ntwo\r\n", "a\rb\nc\r\n", "x\n\r", "\r\n\r\n", "\r", "\n",
                           "end\r", "mixed\n\rbreaks\r\r\n"}) {
    TSyntMemoStrings lines;
    lines.SetText(text);  // no table line after a final break
    ExpectAgreesWithScan(lines, std::string("SetText ") + text);
    std::istringstream stream(text);
    TSyntMemoStrings loaded;
    loaded.LoadFromStream(stream);  // an empty table line after a final break
    ExpectAgreesWithScan(loaded, std::string("loaded ") + text);
  }
  TSyntMemoStrings cleared;
  cleared.SetText("gone\r\n");
  cleared.Clear();  // no lines at all
  ExpectAgreesWithScan(cleared, "cleared");
}

TEST(MemoTextSource, EditsThatSplitAndJoinBreaksAgreeWithAScan) {
  TSyntMemoStrings lines;
  lines.SetText("LEVELSTART\r\nDO_NOWT\r\nLEVELEND");
  ExpectAgreesWithScan(lines, "start");
  lines.InsertText(10, "\n");  // CR LF LF
  ExpectAgreesWithScan(lines, "LF after CR LF");
  lines.DeleteText(11, 1);  // a CR alone, then LF
  ExpectAgreesWithScan(lines, "split");
  lines.InsertText(0, "\r");  // a lone CR at the very start
  ExpectAgreesWithScan(lines, "CR first");
  lines.InsertText(lines.TextLength(), "\r");
  ExpectAgreesWithScan(lines, "CR last");
  lines.InsertText(lines.TextLength(), "\n");  // the final CR becomes CR LF
  ExpectAgreesWithScan(lines, "CR LF last");
  lines.DeleteText(lines.TextLength() - 2, 2);
  ExpectAgreesWithScan(lines, "final break removed");
  lines.DeleteText(0, lines.TextLength());
  ExpectAgreesWithScan(lines, "emptied by an edit");
  lines.Add("x");
  lines.Add("y");
  ExpectAgreesWithScan(lines, "lines added");
}

TEST(MemoTextSource, TextViewFollowsTheStoreWithoutCopying) {
  TSyntMemoStrings lines;
  lines.SetText("abc\r\ndef");
  const TMemoTextSource source(lines);
  lines.InsertText(5, "XY");  // the gap now sits inside the text
  EXPECT_EQ(source.Text(), "abc\r\nXYdef");
  // Asked again without a change, the view is the same memory.
  const char* first = source.Text().data();
  EXPECT_EQ(source.Text().data(), first);
  lines.DeleteText(0, 3);
  EXPECT_EQ(source.Text(), "\r\nXYdef");
}

}  // namespace
}  // namespace penwick
