// The lexer files shipped with the program: complete definitions of the
// mission language that round-trip exactly and keep every token legible.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "language/MissionLexer.h"
#include "language/MissionPalette.h"
#include "support/TestFiles.h"
#include "syntax/AnalysisDump.h"
#include "syntax/ClientSyntAnalyzer.h"
#include "syntax/StringTextSource.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {
namespace {

namespace fs = std::filesystem;

fs::path SourceDir() {
  const char* root = std::getenv("PENWICK_SOURCE_DIR");
  return fs::path(root ? root : ".");
}

// Each shipped file and the editor background it is drawn on.
struct TShipped {
  const char* File;
  std::uint32_t Background;
};
constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;
constexpr TShipped kShipped[] = {{"mis2.lcf", kBlack}, {"Dark.lcf", kBlack}, {"Tallowby.lcf", kWhite}};

TLexerErrorHandler FailOnError() {
  return [](const std::string& message) {
    ADD_FAILURE() << message;
    return true;
  };
}

// The token and fold listings of every golden script under `analyzer`.
std::string Listings(TSyntAnalyzer& analyzer) {
  std::string out;
  for (const auto& entry : fs::directory_iterator(SourceDir() / "tests" / "data" / "syntax")) {
    if (entry.path().extension() != ".mis") continue;
    TStringTextSource source(ReadFile(entry.path()));
    auto client = analyzer.CreateClient(&source, nullptr);
    client->AnalyzeAll();
    out += "== " + entry.path().filename().string() + "\n" + DumpTokens(*client) + DumpFolds(*client);
  }
  return out;
}

// Relative luminance and contrast ratio of two colours (red in the low byte).
double Luminance(std::uint32_t color) {
  auto channel = [](unsigned value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(color & 0xFF) + 0.7152 * channel((color >> 8) & 0xFF) + 0.0722 * channel((color >> 16) & 0xFF);
}
double Contrast(std::uint32_t a, std::uint32_t b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(ShippedLexerFiles, EachLoadsWithoutErrorAndSavesBackToItsOwnText) {
  for (const TShipped& shipped : kShipped) {
    SCOPED_TRACE(shipped.File);
    const std::string text = ReadFile(SourceDir() / "themes" / shipped.File);
    ASSERT_FALSE(text.empty());
    TSyntAnalyzer first;
    first.SetName("syntnlyzr1");
    first.LoadFromText(text, FailOnError());
    const std::string saved = first.SaveToText();
    EXPECT_EQ(saved, text) << "the file is not in the form the program writes";
    TSyntAnalyzer second;
    second.SetName("syntnlyzr1");
    second.LoadFromText(saved, FailOnError());
    EXPECT_EQ(second.SaveToText(), saved);
  }
}

TEST(ShippedLexerFiles, EachIsTheWholeMissionLanguage) {
  TSyntAnalyzer builtIn;
  BuildMissionLexer(builtIn);
  const std::string expected = Listings(builtIn);
  for (const TShipped& shipped : kShipped) {
    SCOPED_TRACE(shipped.File);
    // Loaded into a bare definition, so nothing of the built-in one helps.
    TSyntAnalyzer loaded;
    loaded.LoadFromText(ReadFile(SourceDir() / "themes" / shipped.File), FailOnError());
    EXPECT_EQ(Listings(loaded), expected);
  }
}

TEST(ShippedLexerFiles, TheBuiltInDefinitionSurvivesSavingAndLoading) {
  TSyntAnalyzer builtIn;
  BuildMissionLexer(builtIn);
  TSyntAnalyzer loaded;
  loaded.LoadFromText(builtIn.SaveToText(), FailOnError());
  EXPECT_EQ(Listings(loaded), Listings(builtIn));
  EXPECT_EQ(loaded.SaveToText(), builtIn.SaveToText());
}

// Every style's text stands out from the background it is drawn on by at
// least 4.5:1, and plain text has a style of its own (else it would be drawn
// in the window-text colour whatever the background).
TEST(ShippedLexerFiles, EveryStyleIsLegibleOnItsBackground) {
  for (const TShipped& shipped : kShipped) {
    SCOPED_TRACE(shipped.File);
    TSyntAnalyzer a;
    BuildMissionLexer(a);
    a.LoadFromText(ReadFile(SourceDir() / "themes" / shipped.File), FailOnError());
    ASSERT_NE(a.DefaultStyle(), nullptr) << "no default style for plain text, strings and hex numbers";
    for (int i = 0; i < a.Formats().Count(); ++i) {
      const TSyntaxFormat& style = *a.Formats()[i];
      const std::uint32_t text = style.Font.Color;
      ASSERT_EQ(text >> 24, 0u) << style.DisplayName() << ": the text colour must be a plain colour";
      const std::uint32_t background = style.BgColor == clNone ? shipped.Background : style.BgColor;
      ASSERT_EQ(background >> 24, 0u) << style.DisplayName();
      EXPECT_GE(Contrast(text, background), 4.5) << style.DisplayName();
    }
  }
}

// The palette compiled into the program is the shipped mis2.lcf, and laid
// over the built-in definition it changes how tokens look, never what they are.
TEST(ShippedLexerFiles, TheCompiledInPaletteIsTheShippedFileAndOnlyRecolours) {
  EXPECT_TRUE(BuiltInLexerFileText() == ReadFile(SourceDir() / "themes" / "mis2.lcf")) << "a stale or mangled copy";
  TSyntAnalyzer bare;
  BuildMissionLexer(bare);
  TSyntAnalyzer painted;
  BuildMissionLexer(painted);
  painted.LoadFromText(BuiltInLexerFileText(), FailOnError());
  TSyntAnalyzer viaBuilder;
  BuildDefaultMissionLexer(viaBuilder);
  EXPECT_EQ(viaBuilder.SaveToText(), painted.SaveToText());
  ASSERT_NE(painted.SaveToText(), bare.SaveToText()) << "the palette changed nothing";
  EXPECT_EQ(Listings(painted), Listings(bare));
}

}  // namespace
}  // namespace penwick::test
