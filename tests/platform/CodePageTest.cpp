// The code page's classes, case mapping and conversions.
#include "platform/CodePage.h"

#include <gtest/gtest.h>

using penwick::TCodePage;

TEST(CodePage, ClassesFollowWindows1252) {
  const TCodePage& cp = TCodePage::Default();
  EXPECT_TRUE(cp.IsLetter('a'));
  EXPECT_TRUE(cp.IsLetter(0xE9));   // e acute
  EXPECT_TRUE(cp.IsLetter(0x8A));   // S caron
  EXPECT_FALSE(cp.IsLetter(0xD7));  // multiplication sign
  EXPECT_FALSE(cp.IsLetter('_'));
  EXPECT_TRUE(cp.IsWordChar('_'));
  EXPECT_TRUE(cp.IsDigit('7'));
  EXPECT_FALSE(cp.IsDigit('a'));
  EXPECT_TRUE(cp.IsSpace(0xA0));
  EXPECT_TRUE(cp.IsSpace('\v'));
  EXPECT_FALSE(cp.IsSpace('x'));
  EXPECT_TRUE(cp.IsHexDigit('f'));
  EXPECT_FALSE(cp.IsHexDigit('g'));
}

TEST(CodePage, CaseMappingPairsLettersOnly) {
  const TCodePage& cp = TCodePage::Default();
  EXPECT_EQ(cp.ToUpper('z'), 'Z');
  EXPECT_EQ(cp.ToUpper(0xFF), 0x9F);  // y diaeresis
  EXPECT_EQ(cp.ToUpper(0xF7), 0xF7);  // division sign has no case
  EXPECT_EQ(cp.ToUpper(0xDF), 0xDF);  // sharp s stays
  EXPECT_EQ(cp.ToLower(0xC0), 0xE0);
  EXPECT_TRUE(cp.SameText("LevelStart", "LEVELSTART"));
  EXPECT_FALSE(cp.SameText("Level", "Levels"));
}

TEST(CodePage, RoundTripsEveryByteThroughUtf8AndUtf16) {
  const TCodePage& cp = TCodePage::Default();
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(cp.FromUtf8(cp.ToUtf8(all)), all);
  EXPECT_EQ(cp.FromUtf16(cp.ToUtf16(all)), all);
  EXPECT_EQ(cp.ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
}

TEST(CodePage, BadInputDecodesWithoutThrowing) {
  const TCodePage& cp = TCodePage::Default();
  EXPECT_EQ(cp.FromUtf8("a\xC3"), "a?");            // truncated sequence
  EXPECT_EQ(cp.FromUtf8("\xFF" "b"), "?b");         // invalid lead byte
  EXPECT_EQ(cp.FromUtf8("\xE4\xB8\xAD"), "?");      // a character 1252 lacks
  EXPECT_EQ(cp.FromUtf16(u"\xD800" "x"), "?x");     // lone surrogate
}
