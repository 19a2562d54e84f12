// Where the settings file goes: beside a copy run from its own folder, in the
// user's config folder for an installed copy or an unwritable folder.
#include "platform/SettingsLocation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "support/TestFiles.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;

class SettingsLocation : public ::testing::Test {
protected:
  void SetUp() override {
    m_root = fs::temp_directory_path() / ("penwick-settings-" + std::to_string(::getpid()));
    fs::remove_all(m_root);
    fs::create_directories(Program());
  }
  void TearDown() override { fs::remove_all(m_root); }

  fs::path Program() const { return m_root / "lib" / "penwick"; }
  fs::path Config() const { return m_root / "config"; }
  std::string Beside() const { return (Program() / "penwick.ini").string(); }
  std::string InConfig() const { return (Config() / "penwick" / "penwick.ini").string(); }

  // The settings file when the process may write exactly `writable`.
  std::string Chosen(const std::set<std::string>& writable) const {
    return SettingsFileFor((Program() / "penwick").string(), Config().string(),
                           [&](const std::string& path) { return writable.count(path) > 0; });
  }

  fs::path m_root;
};

TEST_F(SettingsLocation, AnInstalledCopyAlwaysKeepsItsSettingsInTheConfigFolder) {
  test::WriteFile(Program() / kInstalledMarker, "");
  const std::string folder = Program().string();
  EXPECT_EQ(Chosen({folder}), InConfig());  // run as root: the folder may be written
  EXPECT_EQ(Chosen({}), InConfig());
  test::WriteFile(Beside(), "[EDITOR]\n");  // an ini beside it does not draw settings back
  EXPECT_EQ(Chosen({folder, Beside()}), InConfig());
}

TEST_F(SettingsLocation, WithoutTheMarkerTheSettingsStayBesideAWritableProgram) {
  const std::string folder = Program().string();
  // A marker elsewhere (in the config folder or the working directory's
  // sense of "here") marks nothing.
  fs::create_directories(Config());
  test::WriteFile(Config() / kInstalledMarker, "");
  EXPECT_EQ(Chosen({folder}), Beside());
  EXPECT_EQ(Chosen({}), InConfig());
  test::WriteFile(Beside(), "[EDITOR]\n");
  EXPECT_EQ(Chosen({Beside()}), Beside());  // the file may be written, the folder not
  EXPECT_EQ(Chosen({folder}), InConfig());  // the file is read-only
}

}  // namespace
}  // namespace penwick
