// The desktop's association in a data and a config folder of the test's own,
// with the desktop tools switched off or recorded.
#include "platform/posix/XdgFileAssociation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/FileErrors.h"
#include "platform/posix/DesktopExec.h"
#include "support/TestFiles.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

const std::string kType = "text/x-varnok-mission";

// A file the install ships, as the source tree holds it.
std::string PackagingFile(const std::string& name) {
  const char* source = std::getenv("PENWICK_SOURCE_DIR");
  return ReadFile(fs::path(source ? source : ".") / "packaging" / name);
}

// The lines of `text` but those starting with `prefix`.
std::vector<std::string> LinesWithout(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (line.rfind(prefix, 0) != 0) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

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
  // System folders inside the test's root: empty until a test fills them.
  TXdgSystemFolders System() const {
    return {{(m_root / "etc/xdg").string()},
            {(m_root / "usr/local/share").string(), (m_root / "usr/share").string()},
            {(m_root / "usr/bin").string()},
            m_desktops};
  }
  TXdgFileAssociation Association() {
    return TXdgFileAssociation(Data(), Config(), System(),
                               [this](const std::vector<std::string>& argv) { m_tools.push_back(argv); });
  }
  void WriteUserFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    WriteFile(path, text);
  }

  fs::path m_root;
  std::vector<std::string> m_desktops;  // the current desktops, none unless a test names them
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
  EXPECT_NE(entry.find("\nName=Penwick\n"), std::string::npos) << entry;
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
    const std::string installed = PackagingFile("penwick.desktop");
    EXPECT_EQ(std::count(entry.begin(), entry.end(), '\n'), std::count(installed.begin(), installed.end(), '\n'))
        << entry;
  }
  // The file holds what any desktop reads: argument quoting, then the
  // key-file escapes over it.
  association.WriteAssociation("mis", "/x/a\"b$c\\d`e%f");
  EXPECT_NE(ReadFile(Applications() / "penwick.desktop").find("\nExec=\"/x/a\\\\\"b\\\\$c\\\\\\\\d\\\\`e%%f\" %f\n"),
            std::string::npos)
      << ReadFile(Applications() / "penwick.desktop");
}

TEST_F(XdgFileAssociation, ExecValuesOfOtherWriters) {
  EXPECT_EQ(ProgramOfDesktopExec("penwick %f"), "penwick");
  EXPECT_EQ(ProgramOfDesktopExec("  /usr/bin/penwick"), "/usr/bin/penwick");
  EXPECT_EQ(ProgramOfDesktopExec("\"/opt/my apps/penwick\" --open %U"), "/opt/my apps/penwick");
  // Four backslashes in the file are one in the program; "\\$" is a dollar sign.
  EXPECT_EQ(ProgramOfDesktopExec("\"/a\\\\\\\\b/\\\\$x/\\\\\"q\\\\\"\" %f"), "/a\\b/$x/\"q\"");
  EXPECT_EQ(ProgramOfDesktopExec("/opt/my\\sapps/penwick %f"), "/opt/my");
  EXPECT_EQ(ProgramOfDesktopExec(""), "");
  EXPECT_EQ(ProgramOfDesktopExec("\"\" %f"), "");
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
  // An id that is not installed is passed over for the next one.
  EXPECT_EQ(association.AssociatedProgram(".mis"), "/opt/penwick");
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
  TXdgFileAssociation association(Data(), Config(), System(), nullptr);
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

// --- With the program installed system-wide --------------------------------
// usr/share/applications/penwick.desktop is the shipped entry (Exec=penwick),
// usr/bin/penwick a link to ../lib/penwick/penwick, the real executable.

class XdgInstalledAssociation : public XdgFileAssociation {
protected:
  void SetUp() override {
    XdgFileAssociation::SetUp();
    WriteUserFile(m_root / "usr/share/applications/penwick.desktop", PackagingFile("penwick.desktop"));
    WriteUserFile(m_root / "usr/lib/penwick/penwick", "#!/bin/sh\n");
    fs::permissions(m_root / "usr/lib/penwick/penwick", fs::perms::owner_all);
    fs::create_directories(m_root / "usr/bin");
    fs::create_directory_symlink("lib/penwick", m_root / "usr/lib-link");  // a linked folder on the way too
    fs::create_symlink("../lib-link/penwick", m_root / "usr/bin/penwick");
    m_executable = fs::canonical(m_root / "usr/lib/penwick/penwick").string();
  }
  void WriteEntry(const fs::path& file, const std::string& exec) {
    WriteUserFile(file, "[Desktop Entry]\nType=Application\nName=X\nExec=" + exec + "\nMimeType=" + kType + ";\n");
  }
  std::string m_executable;
};

TEST_F(XdgInstalledAssociation, TheInstalledEntryAssociatesUntilUnassociatedAndAgain) {
  ASSERT_FALSE(PackagingFile("penwick.desktop").empty());
  TXdgFileAssociation association = Association();
  EXPECT_EQ(association.AssociatedProgram(".mis"), m_executable);
  EXPECT_TRUE(IsAssociated(association, ".mis", m_executable));
  EXPECT_FALSE(IsAssociated(association, ".mis", (m_root / "usr/bin/penwick").string()));
  EXPECT_FALSE(IsAssociated(association, ".mis", "/elsewhere/penwick"));

  association.WriteAssociation("mis", "");
  EXPECT_EQ(ReadFile(MimeApps()), "[Removed Associations]\n" + kType + "=penwick.desktop;\n");
  EXPECT_FALSE(IsAssociated(association, ".mis", m_executable));
  EXPECT_EQ(ReadFile(m_root / "usr/share/applications/penwick.desktop"), PackagingFile("penwick.desktop"));

  association.WriteAssociation("mis", m_executable);
  EXPECT_TRUE(IsAssociated(association, ".mis", m_executable));
  EXPECT_EQ(ReadFile(MimeApps()), "[Removed Associations]\n\n[Default Applications]\n" + kType + "=penwick.desktop;\n");

  // Unassociated while the user's copy shadows the installed entry, the
  // installed one stays removed when that copy goes.
  association.WriteAssociation("mis", "");
  EXPECT_FALSE(IsAssociated(association, ".mis", m_executable));
  fs::remove(Applications() / "penwick.desktop");
  EXPECT_FALSE(IsAssociated(association, ".mis", m_executable));
  EXPECT_EQ(association.AssociatedProgram(".mis"), "");
  // Unassociating twice lists it once.
  association.WriteAssociation("mis", "");
  EXPECT_EQ(ReadFile(MimeApps()), "[Removed Associations]\n" + kType + "=penwick.desktop;\n\n[Default Applications]\n");
}

TEST_F(XdgInstalledAssociation, DefaultsAreTakenInTheDesktopsOrder) {
  TXdgFileAssociation association = Association();
  WriteEntry(m_root / "usr/local/share/applications/other.desktop", "/no/such/other %f");
  // A default of the system's config folder wins over the installed entry's type.
  WriteUserFile(m_root / "etc/xdg/mimeapps.list", "[Default Applications]\n" + kType + "=other.desktop;\n");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "/no/such/other");
  // The user's default wins over the system's; one that is not installed is passed over.
  WriteUserFile(MimeApps(), "[Default Applications]\n" + kType + "=gone.desktop;penwick.desktop;\n");
  EXPECT_TRUE(IsAssociated(association, ".mis", m_executable));
  // A default in the user's data folder comes after the system's config folder.
  fs::remove(MimeApps());
  WriteUserFile(Applications() / "mimeapps.list", "[Default Applications]\n" + kType + "=penwick.desktop;\n");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "/no/such/other");
  fs::remove(m_root / "etc/xdg/mimeapps.list");
  EXPECT_TRUE(IsAssociated(association, ".mis", m_executable));

  // The current desktop's own list comes before the plain one of its folder.
  WriteUserFile(MimeApps(), "[Default Applications]\n" + kType + "=penwick.desktop;\n");
  WriteUserFile(m_root / "config/kde-mimeapps.list", "[Default Applications]\n" + kType + "=other.desktop;\n");
  EXPECT_TRUE(IsAssociated(association, ".mis", m_executable));
  m_desktops = {"kde"};
  EXPECT_EQ(Association().AssociatedProgram(".mis"), "/no/such/other");
  m_desktops.clear();
  fs::remove(m_root / "config/kde-mimeapps.list");

  // Without defaults, an added association comes before the entries declaring the type.
  fs::remove(Applications() / "mimeapps.list");
  WriteUserFile(MimeApps(), "[Added Associations]\n" + kType + "=other.desktop;\n");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "/no/such/other");
  WriteUserFile(MimeApps(), "[Added Associations]\n" + kType + "=other.desktop;\n[Removed Associations]\n" + kType +
                                "=other.desktop;\n");
  EXPECT_TRUE(IsAssociated(association, ".mis", m_executable));
}

TEST_F(XdgInstalledAssociation, TheUsersEntryShadowsTheInstalledOne) {
  TXdgFileAssociation association = Association();
  const fs::path elsewhere = m_root / "elsewhere/penwick";
  WriteUserFile(elsewhere, "#!/bin/sh\n");
  fs::permissions(elsewhere, fs::perms::owner_all);
  WriteEntry(Applications() / "penwick.desktop", "\"" + elsewhere.string() + "\" %f");
  EXPECT_EQ(association.AssociatedProgram(".mis"), elsewhere.string());
  EXPECT_FALSE(IsAssociated(association, ".mis", m_executable));
  // Left over from a build that is gone, the user's entry gives way to the
  // installed one, which the desktop then starts; so does one whose TryExec
  // names no program.
  fs::remove(elsewhere);
  EXPECT_TRUE(IsAssociated(association, ".mis", m_executable));
  WriteUserFile(Applications() / "penwick.desktop", PackagingFile("penwick.desktop") + "TryExec=/no/such/penwick\n");
  EXPECT_TRUE(IsAssociated(association, ".mis", m_executable));
  fs::remove(m_root / "usr/share/applications/penwick.desktop");
  EXPECT_EQ(association.AssociatedProgram(".mis"), m_executable) << "the only entry of the id counts, runnable or not";
  WriteUserFile(m_root / "usr/share/applications/penwick.desktop", PackagingFile("penwick.desktop"));
  // A shadowing entry that no longer declares the type associates nothing.
  WriteUserFile(Applications() / "penwick.desktop", "[Desktop Entry]\nType=Application\nExec=penwick %f\n");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "");
  // Nor does one the user has hidden, even as the default.
  WriteUserFile(MimeApps(), "[Default Applications]\n" + kType + "=penwick.desktop;\n");
  WriteUserFile(Applications() / "penwick.desktop", PackagingFile("penwick.desktop") + "Hidden=true\n");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "");
  // The program's name is looked up in PATH; not found there, it names nothing on disk.
  fs::remove(Applications() / "penwick.desktop");
  EXPECT_TRUE(IsAssociated(association, ".mis", m_executable));
  fs::remove(m_root / "usr/bin/penwick");
  EXPECT_EQ(association.AssociatedProgram(".mis"), "penwick");
  EXPECT_FALSE(IsAssociated(association, ".mis", m_executable));
}

TEST_F(XdgFileAssociation, WrittenFilesAreTheInstalledOnesButForTheProgram) {
  const std::string installed = PackagingFile("penwick.desktop");
  ASSERT_FALSE(installed.empty());
  TXdgFileAssociation association = Association();
  association.WriteAssociation("mis", "/opt/my games/penwick");
  EXPECT_EQ(ReadFile(m_root / "data/mime/packages/penwick-mis.xml"), PackagingFile("penwick-mis.xml"));
  const std::string entry = ReadFile(Applications() / "penwick.desktop");
  EXPECT_EQ(LinesWithout(entry, "Exec="), LinesWithout(installed, "Exec="));
  EXPECT_NE(entry.find("\nExec=\"/opt/my games/penwick\" %f\n"), std::string::npos) << entry;

  if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "desktop-file-validate is not installed";
  const std::string command = "desktop-file-validate '" + (Applications() / "penwick.desktop").string() + "' 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[256];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  // Hints (suggested extra categories) are no faults of the entry.
  EXPECT_EQ(::pclose(pipe), 0) << output;
  EXPECT_EQ(output.find("error:"), std::string::npos) << output;
}

}  // namespace
}  // namespace penwick
