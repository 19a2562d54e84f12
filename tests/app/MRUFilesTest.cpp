// The recent-files list: order and capacity against a model, the captions it
// asks the menu for, and its settings section.
#include "app/MRUfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/IniFile.h"
#include "support/TestFiles.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// Records what the list asks the menu to show.
class TRecordingMenu : public TMRUMenu {
public:
  void Rebuild(const std::vector<TMRUMenuEntry>& entries) override {
    Shown = entries;
    ++Rebuilds;
  }
  Strings Captions() const {
    Strings captions;
    for (const TMRUMenuEntry& entry : Shown) captions.push_back(entry.Caption);
    return captions;
  }
  std::vector<TMRUMenuEntry> Shown;
  int Rebuilds = 0;
};

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The list as a user sees it: the most recent distinct paths (letter case
// ignored), newest spelling kept, at most `capacity` of them.
struct TModel {
  Strings Files;
  std::size_t Capacity = 9;
  void Add(const std::string& path) {
    if (Capacity == 0) return;
    Strings next{path};
    for (const std::string& f : Files)
      if (Lower(f) != Lower(path)) next.push_back(f);
    next.resize(std::min(next.size(), Capacity));
    Files = next;
  }
  void Remove(const std::string& path) {
    std::erase_if(Files, [&](const std::string& f) { return Lower(f) == Lower(path); });
  }
  void SetCapacity(std::size_t capacity) {
    Capacity = capacity;
    if (Files.size() > capacity) Files.resize(capacity);
  }
};

TEST(MRUFiles, RandomOperationsMatchTheModelAndRebuildOncePerChange) {
  const Strings pool = {"C:\\a.mis", "c:\\A.MIS", "/home/u/b.mis", "/home/U/B.mis", "x&y.mis", "d.txt", "e", "Ä.mis", "ä.mis"};
  std::mt19937 random(1234);
  for (int run = 0; run < 50; ++run) {
    TMRUFiles files;
    TRecordingMenu menu;
    files.SetMenuItem(&menu);
    int changes = 0;
    files.OnChange = [&] { ++changes; };
    TModel model;
    for (int step = 0; step < 200; ++step) {
      const Strings before = files.Files();
      const int rebuildsBefore = menu.Rebuilds;
      const int changesBefore = changes;
      const std::string& path = pool[random() % pool.size()];
      switch (random() % 10) {
        case 0: {
          const auto capacity = static_cast<std::uint8_t>(random() % 12);
          files.SetMaxEntries(capacity);
          model.SetCapacity(capacity);
          break;
        }
        case 1:
        case 2:
          files.RemoveFile(path);
          model.Remove(path);
          break;
        default:
          files.AddFile(path);
          model.Add(path);
      }
      ASSERT_EQ(files.Files(), model.Files) << "run " << run << " step " << step;
      const int expected = files.Files() != before ? 1 : 0;
      ASSERT_EQ(menu.Rebuilds - rebuildsBefore, expected);
      ASSERT_EQ(changes - changesBefore, expected);
      ASSERT_EQ(menu.Shown.size(), files.Files().size());
    }
  }
}

TEST(MRUFiles, OrderCapacityAndCaseOfTheNamedCases) {
  TMRUFiles files;
  for (int i = 1; i <= 9; ++i) files.AddFile("f" + std::to_string(i) + ".mis");
  files.AddFile("f5.mis");  // again: one entry, on top
  EXPECT_EQ(files.Files().front(), "f5.mis");
  EXPECT_EQ(files.Count(), 9);
  files.AddFile("F3.MIS");  // differs in case only: replaces the older spelling
  EXPECT_EQ(files.Files(), (Strings{"F3.MIS", "f5.mis", "f9.mis", "f8.mis", "f7.mis", "f6.mis", "f4.mis", "f2.mis", "f1.mis"}));
  files.AddFile("f10.mis");  // tenth with capacity 9: the oldest goes
  EXPECT_EQ(files.Files().back(), "f2.mis");
  files.SetMaxEntries(5);
  EXPECT_EQ(files.Files(), (Strings{"f10.mis", "F3.MIS", "f5.mis", "f9.mis", "f8.mis"}));

  files.AddFile("");
  files.AddFile("two\nlines.mis");
  files.AddFile("cr\rpath.mis");
  EXPECT_EQ(files.Count(), 5);
  files.SetMaxEntries(0);
  files.AddFile("g.mis");
  EXPECT_EQ(files.Count(), 0);
}

TEST(MRUFiles, CaptionsAndHints) {
  TMRUFiles files;
  TRecordingMenu menu;
  files.SetMaxEntries(12);
  for (int i = 12; i >= 2; --i) files.AddFile("/s/f" + std::to_string(i) + ".mis");
  files.AddFile("/s&t/R&D.mis");
  files.SetMenuItem(&menu);
  ASSERT_EQ(menu.Shown.size(), 12u);
  EXPECT_EQ(menu.Shown[0].Caption, "&1 /s&&t/R&&D.mis");
  EXPECT_EQ(menu.Shown[0].Hint, "Opens /s&t/R&D.mis");
  EXPECT_EQ(menu.Shown[9].Caption, "&10 /s/f10.mis");
  EXPECT_EQ(menu.Shown[10].Caption, "  /s/f11.mis");
  EXPECT_EQ(menu.Shown[11].Caption, "  /s/f12.mis");
  for (int i = 0; i < 12; ++i) EXPECT_EQ(menu.Shown[i].Index, i);

  files.SetFullPath(false);
  files.SetNumbered(false);
  EXPECT_EQ(menu.Captions().front(), "R&&D.mis");
  files.SetHint("100% sure: %s, not %s %d");
  EXPECT_EQ(menu.Shown[0].Hint, "100% sure: /s&t/R&D.mis, not %s %d");
  files.SetHint("no path");
  EXPECT_EQ(menu.Shown[0].Hint, "no path");

  files.OnMenuItem = [](int index, TMRUMenuEntry& entry) {
    if (index == 1) entry.Caption = "changed";
  };
  files.SetNumbered(true);
  EXPECT_EQ(menu.Captions()[1], "changed");
}

TEST(MRUFiles, ANewMenuTakesOverFromTheOldOne) {
  TMRUFiles files;
  TRecordingMenu first, second;
  files.SetMenuItem(&first);
  files.AddFile("a.mis");
  files.SetMenuItem(&second);
  EXPECT_TRUE(first.Shown.empty());
  EXPECT_EQ(second.Captions(), Strings{"&1 a.mis"});
  const int firstRebuilds = first.Rebuilds;
  files.AddFile("b.mis");
  EXPECT_EQ(first.Rebuilds, firstRebuilds);
  EXPECT_EQ(second.Captions(), (Strings{"&1 b.mis", "&2 a.mis"}));
  files.SetMenuItem(nullptr);
  EXPECT_TRUE(second.Shown.empty());
}

TEST(MRUFiles, AClickReportsTheEntryShownAtThatPlaceNow) {
  TMRUFiles files;
  Strings clicked;
  files.OnClick = [&](const std::string& name) {
    clicked.push_back(name);
    files.RemoveFile(name);  // as the window does for a vanished file
  };
  files.AddFile("a.mis");
  files.AddFile("b.mis");
  files.Click(1);
  files.Click(1);  // no longer in the list
  files.Click(-1);
  files.AddFile("c.mis");
  files.Click(0);
  EXPECT_EQ(clicked, (Strings{"a.mis", "c.mis"}));
  EXPECT_EQ(files.Files(), Strings{"b.mis"});
}

class MRUFilesIni : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() /
               ("penwick-mru-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
                std::to_string(std::random_device{}()));
    fs::create_directories(m_folder);
    m_ini = (m_folder / "penwick.ini").string();
  }
  void TearDown() override { fs::remove_all(m_folder); }
  fs::path m_folder;
  std::string m_ini;
};

TEST_F(MRUFilesIni, SaveThenLoadKeepsTheOrderAndASmallerListLeavesNoStaleKeys) {
  test::WriteFile(m_ini, "[EDITOR]\r\nTabW=4\r\n[history]\r\nFile7=stale.mis\r\n");
  TMRUFiles files;
  for (const char* name : {"c:\\one.mis", "/two.mis", "three;x=y.mis", "[four].mis"}) files.AddFile(name);
  files.SaveToIni(m_ini, "HISTORY");
  TMRUFiles loaded;
  int changes = 0;
  loaded.OnChange = [&] { ++changes; };
  loaded.LoadFromIni(m_ini, "HISTORY");
  EXPECT_EQ(loaded.Files(), files.Files());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(TIniFile(m_ini).ReadString("HISTORY", "File1", ""), "[four].mis");
  EXPECT_EQ(TIniFile(m_ini).ReadSection("HISTORY"), (Strings{"File1", "File2", "File3", "File4"}));

  files.SetMaxEntries(2);
  files.SaveToIni(m_ini, "HISTORY");
  EXPECT_EQ(TIniFile(m_ini).ReadSection("HISTORY"), (Strings{"File1", "File2"}));
  EXPECT_EQ(TIniFile(m_ini).ReadString("EDITOR", "TabW", ""), "4");

  files.Clear();
  EXPECT_EQ(files.Count(), 0);
  files.SaveToIni(m_ini, "HISTORY");
  EXPECT_FALSE(TIniFile(m_ini).SectionExists("HISTORY"));
  EXPECT_EQ(test::ReadFile(m_ini), "[EDITOR]\r\nTabW=4\r\n");
}

TEST_F(MRUFilesIni, LoadStopsAtAGapSkipsDuplicatesAndReadsUpToTheCapacity) {
  test::WriteFile(m_ini,
                  "[HISTORY]\nFile1=a.mis\nFile2=B.mis\nfile3=b.MIS\nFILE4=c.mis\nFile5=\nFile6=after-gap.mis\n"
                  "[Other]\nEntry1=x.mis\n");
  TMRUFiles files;
  files.AddFile("previous.mis");
  files.LoadFromIni(m_ini, "history");
  EXPECT_EQ(files.Files(), (Strings{"a.mis", "B.mis", "c.mis"}));

  files.SetPrefix("Entry");
  files.LoadFromIni(m_ini, "Other");
  EXPECT_EQ(files.Files(), Strings{"x.mis"});
  files.LoadFromIni((m_folder / "missing.ini").string(), "HISTORY");
  EXPECT_EQ(files.Count(), 0);

  std::string twenty = "[HISTORY]\n";
  for (int i = 1; i <= 20; ++i) twenty += "File" + std::to_string(i) + "=f" + std::to_string(i) + ".mis\n";
  test::WriteFile(m_ini, twenty);
  files.SetPrefix("File");
  files.LoadFromIni(m_ini, "HISTORY");
  EXPECT_EQ(files.Count(), 9);  // the default capacity
  files.SetMaxEntries(20);
  files.LoadFromIni(m_ini, "HISTORY");
  ASSERT_EQ(files.Count(), 20);
  files.SaveToIni(m_ini, "HISTORY");
  EXPECT_EQ(test::ReadFile(m_ini), twenty);
}

}  // namespace
}  // namespace penwick
