// Settings files: names without regard to case, integers as the profile
// functions read them, what a write keeps of the rest of the file, and files
// that are broken, huge or cannot be written.
#include "platform/IniFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "support/TestFiles.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class IniFile : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() / ("penwick-ini-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
  }
  void TearDown() override { fs::remove_all(m_folder); }
  std::string Path(const std::string& name = "penwick.ini") const { return (m_folder / name).string(); }
  fs::path m_folder;
};

TEST(ProfileInteger, ReadsDecimalAndTheThreeHexadecimalFormsAndNothingElse) {
  EXPECT_EQ(ParseProfileInteger("8"), 8);
  EXPECT_EQ(ParseProfileInteger("-16777208"), -16777208);
  EXPECT_EQ(ParseProfileInteger("+7"), 7);
  EXPECT_EQ(ParseProfileInteger("0x8"), 8);
  EXPECT_EQ(ParseProfileInteger("0X1f"), 31);
  EXPECT_EQ(ParseProfileInteger("$FF000008"), -16777208);  // 32 bits, the top one the sign
  EXPECT_EQ(ParseProfileInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseProfileInteger("-$10"), -16);
  EXPECT_EQ(ParseProfileInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseProfileInteger("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", "-", "$", "0x", "12abc", "1 2", "2147483648", "99999999999", "$100000000", "clRed", "1.5"})
    EXPECT_EQ(ParseProfileInteger(bad), std::nullopt) << bad;
}

TEST_F(IniFile, NamesMatchWithoutRegardToCaseAndAWriteRenamesTheKey) {
  WriteFile(Path(), "[editor]\nbgcolor = clRed \nTabW=0x8\n");
  TIniFile ini(Path());
  EXPECT_EQ(ini.ReadString("EDITOR", "BGCOLOR", "clBlack"), "clRed");
  EXPECT_EQ(ini.ReadInteger("Editor", "tabw", 5), 8);
  EXPECT_EQ(ini.ReadInteger("Editor", "Missing", 5), 5);
  EXPECT_EQ(ini.ReadInteger("Other", "TabW", 5), 5);
  ini.WriteString("EDITOR", "BgColor", "clRed");
  EXPECT_EQ(ReadFile(Path()), "[editor]\nBgColor=clRed\nTabW=0x8\n");
}

TEST_F(IniFile, AMissingFileGivesDefaultsAndTheFirstWriteCreatesIt) {
  TIniFile ini(Path());
  EXPECT_EQ(ini.ReadString("A", "B", "default"), "default");
  EXPECT_TRUE(ini.ReadBool("A", "B", true));
  EXPECT_FALSE(fs::exists(Path()));
  ini.WriteBool("EDITOR", "WordWrap", false);
  ini.WriteInteger("EDITOR", "GutterW", -40);
  ini.WriteString("PLACEMENT", "Top", "155");
  EXPECT_EQ(ReadFile(Path()), "[EDITOR]\nWordWrap=0\nGutterW=-40\n[PLACEMENT]\nTop=155\n");
  EXPECT_FALSE(ini.ReadBool("editor", "wordwrap", true));
}

TEST_F(IniFile, AWriteKeepsEveryOtherByteOfTheFile) {
  // Comments, stray lines, blank lines, mixed line breaks and no final break.
  const std::string original =
      "; settings\r\n[PLACEMENT]\r\nTop=1\r\n\r\njunk line\n[EDITOR]\r\nGutterW=40\r\n\r\n[HISTORY]\r\nFile1=a.mis";
  WriteFile(Path(), original);
  TIniFile ini(Path());
  ini.WriteString("EDITOR", "TabW", "5");   // new key: after the section's last non-blank line
  ini.WriteString("HISTORY", "File2", "b");  // after a last line without a break
  ini.WriteString("PLACEMENT", "top", "2");
  EXPECT_EQ(ReadFile(Path()),
            "; settings\r\n[PLACEMENT]\r\ntop=2\r\n\r\njunk line\n[EDITOR]\r\nGutterW=40\r\nTabW=5\r\n\r\n"
            "[HISTORY]\r\nFile1=a.mis\r\nFile2=b\r\n");
  ini.EraseSection("history");
  ini.DeleteKey("EDITOR", "GutterW");
  EXPECT_EQ(ReadFile(Path()), "; settings\r\n[PLACEMENT]\r\ntop=2\r\n\r\njunk line\n[EDITOR]\r\nTabW=5\r\n\r\n");
}

// Text editors may start a file with the UTF-8 byte order mark: the first
// section is still found, and the mark is kept.
TEST_F(IniFile, AByteOrderMarkDoesNotHideTheFirstSection) {
  WriteFile(Path(), "\xEF\xBB\xBF[EDITOR]\r\nTabW=3\r\n");
  TIniFile ini(Path());
  EXPECT_EQ(ini.ReadInteger("EDITOR", "TabW", 5), 3);
  ini.WriteInteger("EDITOR", "TabW", 8);
  EXPECT_EQ(ReadFile(Path()), "\xEF\xBB\xBF[EDITOR]\r\nTabW=8\r\n");
}

TEST_F(IniFile, TwoObjectsOnOneFileSeeEachOthersWrites) {
  TIniFile settings(Path());
  settings.WriteString("EDITOR", "GutterW", "40");
  {
    TIniFile history(Path());
    history.WriteString("HISTORY", "File1", "a.mis");
  }
  settings.WriteString("EDITOR", "TabW", "5");  // must not lose HISTORY
  EXPECT_EQ(settings.ReadString("HISTORY", "File1", ""), "a.mis");
  EXPECT_EQ(TIniFile(Path()).ReadString("EDITOR", "GutterW", ""), "40");
}

// Random writes, erasures and deletions, with names in random letter case,
// against a model; a fresh object must read what the model holds.
TEST_F(IniFile, RandomChangesReadBackAsAModelHoldsThem) {
  std::mt19937 random(12);
  const std::vector<std::string> sections = {"Editor", "HISTORY", "placement", "edtFont"};
  const std::vector<std::string> keys = {"TabW", "File1", "Courier New_Name", "x", "BgColor"};
  auto anyCase = [&](std::string name) {
    for (char& c : name)
      if (random() % 2) c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
    return name;
  };
  auto lower = [](std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
  };
  std::map<std::string, std::map<std::string, std::string>> model;
  TIniFile ini(Path());
  for (int step = 0; step < 200; ++step) {
    const std::string section = sections[random() % sections.size()];
    const std::string key = keys[random() % keys.size()];
    switch (random() % 6) {
      case 0:
        ini.EraseSection(anyCase(section));
        model.erase(lower(section));
        break;
      case 1:
        ini.DeleteKey(anyCase(section), anyCase(key));
        if (model.count(lower(section))) model[lower(section)].erase(lower(key));
        break;
      default: {
        const std::string value = std::string(random() % 4, 'v') + std::to_string(step);
        ini.WriteString(anyCase(section), anyCase(key), value);
        model[lower(section)][lower(key)] = value;
      }
    }
    const TIniFile fresh(Path());
    for (const std::string& s : sections) {
      for (const std::string& k : keys) {
        const auto sectionIt = model.find(lower(s));
        const bool present = sectionIt != model.end() && sectionIt->second.count(lower(k));
        ASSERT_EQ(fresh.ReadString(s, k, "<none>"), present ? sectionIt->second.at(lower(k)) : "<none>")
            << "step " << step << " [" << s << "] " << k << "\n" << ReadFile(Path());
      }
    }
  }
}

TEST_F(IniFile, RandomBytesReadAsDefaultsOrValuesAndAWriteOnlyAppends) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    std::string bytes(1 + random() % 4000, '\0');
    for (char& c : bytes) c = static_cast<char>(random() % 4 == 0 ? "[]=\r\n"[random() % 5] : random() % 256);
    WriteFile(Path(), bytes);
    TIniFile ini(Path());
    (void)ini.ReadInteger("EDITOR", "TabW", 5);
    ini.WriteString("PenwickProbe", "Key", "value");
    const std::string after = ReadFile(Path());
    ASSERT_EQ(after.substr(0, bytes.size()), bytes) << "round " << round;
    EXPECT_EQ(ini.ReadString("PenwickProbe", "Key", ""), "value");
  }
}

TEST_F(IniFile, HugeFilesAndLongValues) {
  std::string text = "[EDITOR]\n";
  for (int i = 0; i < 100000; ++i) text += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  text += "[LONG]\nValue=" + std::string(10000, 'x') + "\n";
  WriteFile(Path(), text);
  TIniFile ini(Path());
  EXPECT_EQ(ini.ReadInteger("EDITOR", "Key99999", -1), 99999);
  EXPECT_EQ(ini.ReadString("LONG", "Value", "").size(), TIniFile::kMaxValueLength);
  ini.WriteString("EDITOR", "TabW", "5");
  EXPECT_EQ(ReadFile(Path()).size(), text.size() + std::string("TabW=5\n").size());
  EXPECT_EQ(ini.ReadString("LONG", "Value", "").size(), TIniFile::kMaxValueLength);
}

TEST_F(IniFile, AFileThatCannotBeWrittenSaysSoAndStaysAsItWas) {
  // A folder where the file should be: unreadable and unwritable, also for root.
  fs::create_directory(Path());
  TIniFile folder(Path());
  EXPECT_EQ(folder.ReadInteger("EDITOR", "TabW", 5), 5);
  try {
    folder.WriteInteger("EDITOR", "TabW", 8);
    FAIL() << "no error";
  } catch (const EIniFileError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + Path());
  }
  EXPECT_THROW(folder.EraseSection("HISTORY"), EIniFileError);
  // A file whose folder is a file.
  WriteFile(Path("plain"), "x");
  TIniFile nowhere(Path("plain") + "/penwick.ini");
  EXPECT_THROW(nowhere.WriteString("A", "B", "C"), EIniFileError);
  EXPECT_EQ(ReadFile(Path("plain")), "x");
}

TEST_F(IniFile, ValuesAndNamesThatWouldBreakTheFileAreRefused) {
  WriteFile(Path(), "[A]\nB=1\n");
  TIniFile ini(Path());
  EXPECT_THROW(ini.WriteString("A", "B", "two\nlines"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("A", "B=C", "1"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("A]", "B", "1"), std::invalid_argument);
  EXPECT_THROW(ini.WriteString("A", "", "1"), std::invalid_argument);
  EXPECT_EQ(ReadFile(Path()), "[A]\nB=1\n");
}

}  // namespace
}  // namespace penwick
