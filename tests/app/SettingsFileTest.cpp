// The editor's settings file without a window: what a first start writes,
// what every key reads back as, and values the file may hold by mistake.
#include "app/SettingsFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include <unistd.h>

#include "platform/IniFile.h"
#include "support/TestFiles.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class SettingsFile : public ::testing::Test {
protected:
  void SetUp() override {
    m_path = fs::temp_directory_path() / ("penwick-settings-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini");
    fs::remove(m_path);
  }
  void TearDown() override { fs::remove(m_path); }
  fs::path m_path;
};

std::string DataFile(const std::string& name) {
  const char* source = std::getenv("PENWICK_SOURCE_DIR");
  return ReadFile(fs::path(source ? source : ".") / "tests/data/app" / name);
}

TEST_F(SettingsFile, AFirstStartReadsTheDefaultsAndWritesEveryKeyInItsOrder) {
  TIniFile ini(m_path.string());
  TEditorSettings current;
  current.Top = 155;
  const TEditorSettings read = ReadEditorSettings(ini, current);
  WriteEditorSettings(ini, read);
  EXPECT_EQ(ReadFile(m_path), DataFile("first_start.ini"));
}

TEST_F(SettingsFile, ValuesWrittenByHandReadAsTheEditorMeansThem) {
  WriteFile(m_path,
            "[editor]\nbgcolor=clRed\nMaxMru=300\nTabW=0x8\nGtrColor=$00123456\nPrefsTab=7\nWndMax=0\n"
            "[EDTFONT]\ncourier new_color=-16777208\nCourier New_Size=\nCourier New_Style=2\nCourier New_Charset=300\n");
  TIniFile ini(m_path.string());
  TEditorSettings current;
  current.Font.Style = 1;
  current.Font.Size = 12;
  const TEditorSettings s = ReadEditorSettings(ini, current);
  EXPECT_EQ(s.BgColor, 0x000000FFu);
  EXPECT_EQ(s.MaxMru, 44);
  EXPECT_EQ(ReadMaxMru(ini), 44);
  EXPECT_EQ(s.TabW, 8);
  EXPECT_EQ(s.GtrColor, 0x00123456u);
  EXPECT_EQ(s.PrefsTab, 0);
  EXPECT_FALSE(s.WndMax);
  EXPECT_EQ(s.Font.Color, -16777208);
  EXPECT_EQ(s.Font.Size, 12);     // empty: the current size
  EXPECT_EQ(s.Font.Style, 1 | 2);  // added to the current style
  EXPECT_EQ(s.Font.Charset, 1);   // out of range: the current set

  WriteEditorSettings(ini, s);
  const std::string written = ReadFile(m_path);
  EXPECT_NE(written.find("[editor]\nBgColor=clRed\nMaxMru=44\nTabW=8\nGtrColor=$00123456\n"), std::string::npos)
      << written;
  EXPECT_NE(written.find("[EDTFONT]\nCourier New_Color=-16777208\n"), std::string::npos) << written;  // in its place
}

TEST_F(SettingsFile, AColourThatIsNoColourFallsBackAndTheKeysAfterItStillRead) {
  WriteFile(m_path, "[EDITOR]\nBgColor=reddish\nGtrColor=clred\nCreateNewStart=0\nOpenLastUsed=1\n");
  const TEditorSettings s = ReadEditorSettings(TIniFile(m_path.string()), {});
  EXPECT_EQ(s.BgColor, 0x00000000u);
  EXPECT_EQ(s.GtrColor, 0x000000FFu);
  EXPECT_FALSE(s.CreateNewStart);
  EXPECT_TRUE(s.OpenLastUsed);
}

// Random settings written and read back give the same settings.
TEST_F(SettingsFile, EverySettingSurvivesAWriteAndARead) {
  std::mt19937 random(3);
  const std::uint32_t colours[] = {0x00000000u, 0xFF00000Fu, 0x1FFFFFFFu, 0x20000000u, 0x00ABCDEFu, 0x80000000u,
                                   0xFF000008u, 0x00C0DCC0u, 0xFFFFFFFFu};
  auto colour = [&] { return colours[random() % std::size(colours)]; };
  auto number = [&] { return static_cast<int>(random() % 4001) - 2000; };
  auto flag = [&] { return random() % 2 == 0; };
  for (int round = 0; round < 12; ++round) {  // each round writes the file some thirty times
    TEditorSettings s;
    s.Top = number(), s.Left = number(), s.Width = number(), s.Height = number();
    s.ShowTlb = flag(), s.ShowStatb = flag(), s.WordWrap = flag(), s.LineNr = flag(), s.UndoAfSave = flag();
    s.AutoCm = flag(), s.OpenLastUsed = flag(), s.CreateNewStart = flag(), s.EmptyScr = flag(), s.WndMax = flag();
    s.GutterW = number(), s.TabW = number();
    s.BgColor = colour(), s.GtrColor = colour();
    s.MaxMru = static_cast<std::uint8_t>(random());
    s.PrefsTab = static_cast<int>(random() % 3);
    s.Font.Name = round % 2 ? "DejaVu Sans Mono" : "Courier New";
    s.Font.Size = 1 + static_cast<int>(random() % 72);
    s.Font.Color = static_cast<std::int32_t>(colour());
    s.Font.Charset = static_cast<int>(random() % 256);
    s.Font.Style = static_cast<int>(random() % 16);
    fs::remove(m_path);
    TIniFile ini(m_path.string());
    WriteEditorSettings(ini, s);
    TEditorSettings current;
    current.Font.Style = 0;  // style bits are added to the current ones
    const TEditorSettings r = ReadEditorSettings(TIniFile(m_path.string()), current);
    ASSERT_EQ(std::tie(r.Top, r.Left, r.Width, r.Height, r.GutterW, r.TabW, r.PrefsTab, r.MaxMru),
              std::tie(s.Top, s.Left, s.Width, s.Height, s.GutterW, s.TabW, s.PrefsTab, s.MaxMru))
        << ReadFile(m_path);
    ASSERT_EQ(std::tie(r.ShowTlb, r.ShowStatb, r.WordWrap, r.LineNr, r.UndoAfSave, r.AutoCm, r.OpenLastUsed,
                       r.CreateNewStart, r.EmptyScr, r.WndMax),
              std::tie(s.ShowTlb, s.ShowStatb, s.WordWrap, s.LineNr, s.UndoAfSave, s.AutoCm, s.OpenLastUsed,
                       s.CreateNewStart, s.EmptyScr, s.WndMax));
    ASSERT_EQ(r.BgColor, s.BgColor) << ReadFile(m_path);
    ASSERT_EQ(r.GtrColor, s.GtrColor) << ReadFile(m_path);
    ASSERT_EQ(std::tie(r.Font.Name, r.Font.Size, r.Font.Color, r.Font.Charset, r.Font.Style),
              std::tie(s.Font.Name, s.Font.Size, s.Font.Color, s.Font.Charset, s.Font.Style));
  }
}

TEST(ColourText, NamesWhereThereAreNamesAndEightUpperCaseDigitsElsewhere) {
  EXPECT_EQ(ColorToString(0x000000FFu), "clRed");
  EXPECT_EQ(ColorToString(0xFF000008u), "clWindowText");
  EXPECT_EQ(ColorToString(0x00ABCDEFu), "$00ABCDEF");
  EXPECT_EQ(ColorToString(0x80000000u), "$80000000");
  EXPECT_EQ(StringToColor("CLBTNFACE"), 0xFF00000Fu);
  EXPECT_EQ(StringToColor("$00abcdef"), 0x00ABCDEFu);
  EXPECT_EQ(StringToColor("255"), 0x000000FFu);
  EXPECT_EQ(StringToColor("-16777208"), 0xFF000008u);
  EXPECT_EQ(StringToColor("clReddish"), std::nullopt);
}

}  // namespace
}  // namespace penwick
