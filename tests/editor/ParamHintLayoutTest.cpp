// The parameter hint's layout without a window: split pieces, the bold piece, filtered declarations, separators, wrapping and size.
#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "editor/ParamHintLayout.h"

namespace penwick {
namespace {

using TStrings = std::vector<std::string>;

// 6 pixels a character, bold ones 7: a bold piece is told apart by its width.
int FakeWidth(std::string_view text, bool bold) { return static_cast<int>(text.size()) * (bold ? 7 : 6); }

TParamHintLayout Lay(const TStrings& declarations, int current, bool filter = true, int available = 1000,
                     int lineHeight = 13) {
  return LayoutParamHint(declarations, current, filter, ',', available, lineHeight, FakeWidth);
}

std::vector<std::string> BoldTexts(const TParamHintLayout& layout) {
  std::vector<std::string> bold;
  for (const auto& piece : layout.Pieces)
    if (piece.Bold) bold.push_back(piece.Text);
  return bold;
}

TEST(SplitDeclaration, PiecesKeepTheirSeparatorAndRebuildTheDeclaration) {
  EXPECT_EQ((TStrings{"Float X,", " Float Y,", " Float Z"}), SplitDeclaration("Float X, Float Y, Float Z", ','));
  EXPECT_EQ((TStrings{"Remap"}), SplitDeclaration("Remap", ','));
  EXPECT_EQ((TStrings{"a,", ",", "b"}), SplitDeclaration("a,,b", ','));
  EXPECT_EQ((TStrings{",", "x"}), SplitDeclaration(",x", ','));
  EXPECT_EQ((TStrings{"A,"}), SplitDeclaration("A,", ','));
  EXPECT_TRUE(SplitDeclaration("", ',').empty());
  EXPECT_EQ((TStrings{"a;", " b,c"}), SplitDeclaration("a; b,c", ';'));

  // Any text: the pieces put together give it back, and each piece holds
  // exactly one separator, at its end, except a last piece without one.
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) text += "ab ,"[random() % 4];
    const TStrings pieces = SplitDeclaration(text, ',');
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      const std::string& piece = pieces[i];
      ASSERT_FALSE(piece.empty()) << text;
      const auto commas = std::count(piece.begin(), piece.end(), ',');
      if (piece.back() == ',') {
        EXPECT_EQ(1, commas) << text;
      } else {
        EXPECT_TRUE(commas == 0 && i + 1 == pieces.size()) << text;
      }
      joined += piece;
    }
    EXPECT_EQ(text, joined);
  }
}

TEST(LayoutParamHint, TheCurrentPieceIsBoldAndThePiecesFollowOneAnother) {
  const TParamHintLayout layout = Lay({"Float X, Float Y, Float Z"}, 1);
  const std::vector<TParamHintPiece> expected{
      {"Float X,", false, 2, 1}, {" Float Y,", true, 2 + 48, 1}, {" Float Z", false, 2 + 48 + 63, 1}};
  EXPECT_EQ(expected, layout.Pieces);
  EXPECT_TRUE(layout.SeparatorY.empty());
  EXPECT_EQ(48 + 63 + 48 + 5, layout.Width);
  EXPECT_EQ(1 + 13 + 1, layout.Height);

  // Past the last parameter nothing is shown.
  const TParamHintLayout past = Lay({"Float X, Float Y, Float Z"}, 3);
  EXPECT_TRUE(past.Pieces.empty());
  EXPECT_EQ(0, past.Width);
  EXPECT_EQ(0, past.Height);
  // A declaration without separator is one piece, bold at index 0.
  EXPECT_EQ((TStrings{"Remap"}), BoldTexts(Lay({"Remap"}, 0)));
  EXPECT_EQ(0, Lay({"Remap"}, 1).Height);
  EXPECT_EQ(0, Lay({}, 0).Height);
}

TEST(LayoutParamHint, OnlyDeclarationsWithTheCurrentParameterAreShownWithSeparatorsBetween) {
  const TStrings positions{"Float X, Float Y", "Float X, Float Y, Float Z"};
  const TParamHintLayout both = Lay(positions, 0);
  ASSERT_EQ(5u, both.Pieces.size());
  EXPECT_EQ((TStrings{"Float X,", "Float X,"}), BoldTexts(both));
  EXPECT_EQ(1, both.Pieces[0].Y);
  EXPECT_EQ((std::vector<int>{1 + 13 + 1}), both.SeparatorY);
  EXPECT_EQ(1 + 13 + 3, both.Pieces[2].Y);
  EXPECT_EQ(2, both.Pieces[2].X);
  EXPECT_EQ(1 + 13 + 3 + 13 + 1, both.Height);
  EXPECT_EQ(56 + 54 + 48 + 5, both.Width);  // the wider line

  // After the second comma only the 3D line is left, in the first line's place.
  const TParamHintLayout third = Lay(positions, 2);
  ASSERT_EQ(3u, third.Pieces.size());
  EXPECT_EQ((TStrings{" Float Z"}), BoldTexts(third));
  EXPECT_EQ(1, third.Pieces[0].Y);
  EXPECT_TRUE(third.SeparatorY.empty());
  EXPECT_EQ(1 + 13 + 1, third.Height);

  // Hidden declarations between and around shown ones leave no separator.
  const TParamHintLayout mixed = Lay({"a", "b,c", "d", "e,f,g", "h"}, 1);
  EXPECT_EQ((TStrings{"c", "f,"}), BoldTexts(mixed));
  EXPECT_EQ(1u, mixed.SeparatorY.size());

  // Without filtering every declaration is shown, even with nothing bold.
  const TParamHintLayout all = Lay({"a", "b,c"}, 1, false);
  EXPECT_EQ(3u, all.Pieces.size());
  EXPECT_EQ((TStrings{"c"}), BoldTexts(all));
  EXPECT_EQ(1u, all.SeparatorY.size());
}

TEST(LayoutParamHint, APieceThatWouldCrossTheWidthStartsANewLineUnlessItIsFirst) {
  // Pieces of 8, 9 and 8 characters: 48, 54 and 48 pixels regular.
  const TStrings declaration{"Float X, Float Y, Float Z"};
  // 48 + 54 + 5 = 107 fits, 48 + 54 + 48 + 5 = 155 does not.
  const TParamHintLayout wrapped = Lay(declaration, -1, true, 107);
  ASSERT_EQ(3u, wrapped.Pieces.size());
  EXPECT_EQ(1, wrapped.Pieces[1].Y);
  EXPECT_EQ(1 + 13, wrapped.Pieces[2].Y);
  EXPECT_EQ(2, wrapped.Pieces[2].X);
  EXPECT_EQ(107, wrapped.Width);
  EXPECT_EQ(1 + 26 + 1, wrapped.Height);
  // One pixel less and the second piece wraps too.
  EXPECT_EQ(1 + 13, Lay(declaration, -1, true, 106).Pieces[1].Y);
  // Narrower than any piece: one piece a line, none dropped, the window as
  // wide as the widest piece.
  const TParamHintLayout narrow = Lay(declaration, 0, true, 10);
  ASSERT_EQ(3u, narrow.Pieces.size());
  EXPECT_EQ(1 + 26, narrow.Pieces[2].Y);
  EXPECT_EQ(56 + 5, narrow.Width);  // the bold "Float X," is the widest
}

TEST(LayoutParamHint, ATotalHeightUnderFourShowsNothing) {
  EXPECT_EQ(0, Lay({"a"}, 0, true, 1000, 2).Width);  // 1 + 2 = 3
  EXPECT_EQ(7 + 5, Lay({"a"}, 0, true, 1000, 3).Width);  // 1 + 3 = 4
  EXPECT_EQ(5, Lay({"a"}, 0, true, 1000, 3).Height);
}

// Random declarations at random widths: pieces stay inside the window, keep
// the room given unless alone on their line, and never overlap.
TEST(LayoutParamHint, PiecesStayInsideTheWindowAndTheRoomGiven) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    TStrings declarations(random() % 4);
    for (auto& declaration : declarations) {
      const int length = static_cast<int>(random() % 30);
      for (int i = 0; i < length; ++i) declaration += "xy ,"[random() % 4];
    }
    const int current = static_cast<int>(random() % 4);
    const int available = 20 + static_cast<int>(random() % 150);
    const TParamHintLayout layout = Lay(declarations, current, true, available, 10);
    if (layout.Pieces.empty()) {
      EXPECT_EQ(0, layout.Height);
      continue;
    }
    for (std::size_t i = 0; i < layout.Pieces.size(); ++i) {
      const TParamHintPiece& piece = layout.Pieces[i];
      const int right = piece.X + FakeWidth(piece.Text, piece.Bold);
      EXPECT_LE(right + 3, layout.Width);
      EXPECT_LE(piece.Y + 10 + 1, layout.Height);
      if (piece.X != 2) {
        EXPECT_LE(right + 3, available);
      }
      if (i > 0 && layout.Pieces[i - 1].Y == piece.Y) {
        const TParamHintPiece& before = layout.Pieces[i - 1];
        EXPECT_EQ(piece.X, before.X + FakeWidth(before.Text, before.Bold));
      }
    }
  }
}

}  // namespace
}  // namespace penwick
