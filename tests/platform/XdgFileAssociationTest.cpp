// The desktop's association in a data and a config folder of the test's own,
// with the desktop tools switched off or recorded.
#include "platform/posix/XdgFileAssociation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/FileErrors.h"
#include "support/TestFiles.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

const std::string kType = "text/x-varnok-mission";

class XdgFileAssociation : public ::testing::Test {
protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("penwick-xdg-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root);
  }
  void TearDown() override { fs::remove_all(m_root); }

  std::string Data() const { return (m_root / "data").string(); }
  std::string Config() const { return (m_root / "config").string(); }
  fs::path MimeApps() const { return m_root / "config" / "mimeapps.list"; }
  fs::path Applications() const { return m_root / "data" / "applications"; }
  TXdgFileAssociation Association() {
    return TXdgFileAssociation(Data(), Config(), [this](const std::vector<std::string>& argv) { m_tools.push_back(argv); });
  }
  void WriteUserFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    WriteFile(path, text);
  }

  fs::path m_root;
  std::vector<std::vector<std::string>> m_tools;
};

TEST_F(XdgFileAssociation, AssociateWritesTypeEntryAndDefaultAndReadsBack) {
  TXdgFileAssociation association = Association();
  EXPECT_EQ(association.AssociatedProgram(".mis"), "");
  association.WriteAssociation("mis", "/opt/penwick/bin/penwick");

  const std::string package = ReadFile(m_root / "data/mime/packages/penwick-mis.xml");
  EXPECT_NE(package.find("<mime-type type=\"" + kType + "\">"), std::string::npos) << package;
  EXPECT_NE(package.find("<glob pattern=\"*.mis\"/>"), std::string::npos) << package;
  const std::string entry = ReadFile(Applications() / "penwick.desktop");
  EXPECT_NE(entry.find("\nExec=\"/opt/penwick/bin/penwick\" %f\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nMimeType=" + kType + ";\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nName=Varnok Penwick\n"), std::string::npos) << entry;
  EXPECT_EQ(ReadFile(MimeApps()), "[Default Applications]\n" + kType + "=penwick.desktop;\n");

  EXPECT_EQ(association.AssociatedProgram(".mis"), "/opt/penwick/bin/penwick");
  EXPECT_TRUE(IsAssociated(association, ".mis", "/opt/penwick/bin/penwick"));
  const std::vector<std::vector<std::string>> tools = {
      {"update-mime-database", Data() + "/mime"},
      {"update-desktop-database", Data() + "/applications"},
      {"xdg-mime", "default", "penwick.desktop", kType}};
  EXPECT_EQ(m_tools, tools);

  // Associating again changes nothing.
  association.WriteAssociation("mis", "/opt/penwick/bin/penwick");
  EXPECT_EQ(ReadFile(MimeApps()), "[Default Applications]\n" + kType + "=penwick.desktop;\n");
}

TEST_F(XdgFileAssociation, ProgramPathsWithAnyCharacterSurvive) {
  TXdgFileAssociation association = Association();
  for (const std::string& path :
       {std::string("/home/ann/My Games/pen wick"), std::string("/x/\"quoted\"/pen'wick"),
        std::string("/x/$HOME/`id`/penwick"), std::string("/x/back\\slash\\\\two/penwick"),
        std::string("/x/100%/%f %%/penwick"), std::string("/x/line\nbreak\ttab\r/penwick"),
        std::string(" /leading space"), std::string("/x/;#[group]=/penwick")}) {
    association.WriteAssociation("mis", path);
    EXPECT_EQ(association.AssociatedProgram(".mis"), path);
    // One line per key: no character of the path breaks the file's lines.
    const std::string entry = ReadFile(Applications() / "penwick.desktop");
    EXPECT_EQ(std::count(entry.begin(), entry.end(), '\n'), 8) << entry;
  }
  // The file holds what any desktop reads: argument quoting, then the
  // key-file escapes over it.
  association.WriteAssociation("mis", "/x/a\"b$c\\d`e%f");
  EXPECT_NE(ReadFile(Applications() / "penwick.desktop").find("\nExec=\"/x/a\\\\\"b\\\\$c\\\\\\\\d\\\\`e%%f\" %f\n"),
            std::string::npos)
      << ReadFile(Applications() / "penwick.desktop");
}

TEST_F(XdgFileAssociation, ExecValuesOfOtherWriters) {
  EXPECT_EQ(TXdgFileAssociation::ProgramOfExec("penwick %f"), "penwick");
  EXPECT_EQ(TXdgFileAssociation::ProgramOfExec("  /usr/bin/penwick"), "/usr/bin/penwick");
  EXPECT_EQ(TXdgFileAssociation::ProgramOfExec("\"/opt/my apps/penwick\" --open %U"), "/opt/my apps/penwick");
  // Four backslashes in the file are one in the program; "\\$" is a dollar sign.
  EXPECT_EQ(TXdgFileAssociation::ProgramOfExec("\"/a\\\\\\\\b/\\\\$x/\\\\\"q\\\\\"\" %f"), "/a\\b/$x/\"q\"");
  EXPECT_EQ(TXdgFileAssociation::ProgramOfExec("/opt/my\\sapps/penwick %f"), "/opt/my");
  EXPECT_EQ(TXdgFileAssociation::ProgramOfExec(""), "");
  EXPECT_EQ(TXdgFileAssociation::ProgramOfExec("\"\" %f"), "");
}

TEST_F(XdgFileAssociation, OtherLinesOfTheDefaultsFileStay) {
  const std::string before =
      "# mine\n"
      "[Added Associations]\n"
      "text/x-varnok-mission=other.desktop;\n"
      "\n"
      "[Default Applications]\r\n"
      "text/plain=gedit.desktop;\r\n"
      "text/x-varnok-mission = other.desktop;penwick.desktop;\r\n"
      "image/png=viewer.desktop;\r\n"
      "\n"
      "[Default Applications]\n"
      "text/x-varnok-mission=stray.desktop;\n";
  WriteUserFile(MimeApps(), before);
  TXdgFileAssociation association = Association();
  association.WriteAssociation("mis", "/opt/penwick");
  EXPECT_EQ(ReadFile(MimeApps()),
            "# mine\n"
            "[Added Associations]\n"
            "text/x-varnok-mission=other.desktop;\n"
            "\n"
            "[Default Applications]\r\n"
            "text/plain=gedit.desktop;\r\n"
            "text/x-varnok-mission=penwick.desktop;other.desktop;\r\n"
            "image/png=viewer.desktop;\r\n"
            "\n"
            "[Default Applications]\n");
  EXPECT_TRUE(IsAssociated(association, ".mis", "/opt/penwick"));

  // Unassociating leaves the program that was default before.
  association.WriteAssociation("mis", "");
  EXPECT_NE(ReadFile(MimeApps()).find("\ntext/x-varnok-mission=other.desktop;\r\nimage/png"), std::string::npos);
  EXPECT_FALSE(IsAssociated(association, ".mis", "/opt/penwick"));
}

TEST_F(XdgFileAssociation, NewKeyJoinsTheExistingGroupOrANewOne) {
  WriteUserFile(MimeApps(), "[Default Applications]\ntext/plain=gedit.desktop;\n\n[Other]\nk=v");
  TXdgFileAssociation association = Association();
  association.WriteAssociation("mis", "/opt/penwick");
  EXPECT_EQ(ReadFile(MimeApps()), "[Default Applications]\ntext/plain=gedit.desktop;\n" + kType +
                                      "=penwick.desktop;\n\n[Other]\nk=v");
  association.WriteAssociation("mis", "");
  EXPECT_EQ(ReadFile(MimeApps()), "[Default Applications]\ntext/plain=gedit.desktop;\n\n[Other]\nk=v");

  WriteUserFile(MimeApps(), "[Other]\nk=v");
  association.WriteAssociation("mis", "/opt/penwick");
  EXPECT_EQ(ReadFile(MimeApps()), "[Other]\nk=v\n\n[Default Applications]\n" + kType + "=penwick.desktop;\n");
}

TEST_F(XdgFileAssociation, AnotherProgramsDefaultIsLeftAlone) {
  const std::string defaults = "[Default Applications]\n" + kType + "=other.desktop;penwick.desktop;\n";
  const std::string other = "[Desktop Entry]\nType=Application\nName=Other\nExec=/usr/bin/other %f\nMimeType=" +
                            kType + ";\n";
  WriteUserFile(MimeApps(), defaults);
  WriteUserFile(Applications() / "other.desktop", other);
  TXdgFileAssociation association = Association();
  EXPECT_EQ(association.AssociatedProgram(".mis"), "/usr/bin/other");
  EXPECT_FALSE(IsAssociated(association, ".mis", "/opt/penwick"));

  // Unassociating takes only our name out of the list; other.desktop stays default.
  association.WriteAssociation("mis", "");
  EXPECT_EQ(ReadFile(MimeApps()), "[Default Applications]\n" + kType + "=other.desktop;\n");
  EXPECT_EQ(ReadFile(Applications() / "other.desktop"), other);
  EXPECT_EQ(association.AssociatedProgram(".mis"), "/usr/bin/other");
}

TEST_F(XdgFileAssociation, UnassociateNamesNoProgramAndKeepsTheUsersFiles) {
  TXdgFileAssociation association = Association();
  association.WriteAssociation("mis", "/opt/penwick");
  WriteUserFile(Applications() / "mine.desktop", "[Desktop Entry]\nExec=mine\n");
  WriteUserFile(m_root / "config" / "user-dirs.dirs", "XDG_MUSIC_DIR=x\n");
  m_tools.clear();

  association.WriteAssociation("mis", "");
  EXPECT_EQ(ReadFile(MimeApps()), "[Default Applications]\n");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "");
  EXPECT_FALSE(IsAssociated(association, ".mis", "/opt/penwick"));
  // The entry no longer offers itself for the type, so the desktop does not
  // fall back to it.
  const std::string entry = ReadFile(Applications() / "penwick.desktop");
  EXPECT_EQ(entry.find("MimeType"), std::string::npos) << entry;
  EXPECT_NE(entry.find("Exec=\"/opt/penwick\" %f"), std::string::npos) << entry;
  EXPECT_EQ(ReadFile(Applications() / "mine.desktop"), "[Desktop Entry]\nExec=mine\n");
  EXPECT_EQ(ReadFile(m_root / "config" / "user-dirs.dirs"), "XDG_MUSIC_DIR=x\n");
  const std::vector<std::vector<std::string>> tools = {{"update-desktop-database", Data() + "/applications"}};
  EXPECT_EQ(m_tools, tools);

  // Unassociating where nothing was associated writes nothing.
  fs::remove_all(m_root / "config");
  association.WriteAssociation("mis", "");
  EXPECT_FALSE(fs::exists(m_root / "config"));
}

// The desktop's own tools (gio, the file manager's "set as default") also
// list the default under [Added Associations]; the desktop opens the type
// with an entry listed there even when it is no default and names no type.
TEST_F(XdgFileAssociation, UnassociateAlsoLeavesTheAddedAssociations) {
  TXdgFileAssociation association = Association();
  association.WriteAssociation("mis", "/opt/penwick");
  WriteUserFile(MimeApps(), "[Default Applications]\n" + kType + "=penwick.desktop;\n\n[Added Associations]\n" +
                                kType + "=penwick.desktop;other.desktop;\ntext/plain=penwick.desktop;\n");
  association.WriteAssociation("mis", "");
  EXPECT_EQ(ReadFile(MimeApps()), "[Default Applications]\n\n[Added Associations]\n" + kType +
                                      "=other.desktop;\ntext/plain=penwick.desktop;\n");

  // Also when only the added list names it.
  WriteUserFile(MimeApps(), "[Added Associations]\n" + kType + "=penwick.desktop;\n");
  association.WriteAssociation("mis", "");
  EXPECT_EQ(ReadFile(MimeApps()), "[Added Associations]\n");
}

TEST_F(XdgFileAssociation, MovedExecutableIsNotAssociated) {
  TXdgFileAssociation association = Association();
  association.WriteAssociation("mis", "/old/place/penwick");
  EXPECT_FALSE(IsAssociated(association, ".mis", "/new/place/penwick"));
  association.WriteAssociation("mis", "/new/place/penwick");
  EXPECT_TRUE(IsAssociated(association, ".mis", "/new/place/penwick"));
  EXPECT_FALSE(IsAssociated(association, ".mis", "/old/place/penwick"));
}

TEST_F(XdgFileAssociation, MissingPiecesReadAsNoProgram) {
  TXdgFileAssociation association = Association();
  WriteUserFile(MimeApps(), "[Default Applications]\n" + kType + "=gone.desktop;penwick.desktop;\n");
  WriteUserFile(Applications() / "penwick.desktop", "[Desktop Entry]\nExec=/opt/penwick %f\n");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "");  // the first id has no file
  WriteUserFile(MimeApps(), "[Default Applications]\n" + kType + "=penwick.desktop;\n");
  WriteUserFile(Applications() / "penwick.desktop", "[Desktop Action x]\nExec=/opt/penwick %f\n");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "");  // Exec outside the entry's group
  WriteUserFile(MimeApps(), "[Default Applications]\n" + kType + "=../escape.desktop;\n");
  WriteUserFile(m_root / "data" / "escape.desktop", "[Desktop Entry]\nExec=/opt/penwick %f\n");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "");
  WriteUserFile(MimeApps(), "[Added Associations]\n" + kType + "=penwick.desktop;\n");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "");
}

TEST_F(XdgFileAssociation, UnwritableFolderFailsForTheUser) {
  WriteFile(m_root / "config", "a file where the folder should be");
  TXdgFileAssociation association = Association();
  EXPECT_THROW(association.WriteAssociation("mis", "/opt/penwick"), EFileError);
  EXPECT_EQ(ReadFile(m_root / "config"), "a file where the folder should be");
}

TEST_F(XdgFileAssociation, SystemAssociationUsesTheXdgFolders) {
  TXdgFileAssociation association(Data(), Config(), nullptr);
  association.WriteAssociation("mis", "/opt/penwick");
  const char* oldData = std::getenv("XDG_DATA_HOME");
  const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string savedData = oldData ? oldData : "", savedConfig = oldConfig ? oldConfig : "";
  ::setenv("XDG_DATA_HOME", Data().c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", Config().c_str(), 1);
  const std::string program = SystemFileAssociation()->AssociatedProgram(".mis");
  if (oldData) ::setenv("XDG_DATA_HOME", savedData.c_str(), 1); else ::unsetenv("XDG_DATA_HOME");
  if (oldConfig) ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(program, "/opt/penwick");
}

}  // namespace
}  // namespace penwick
