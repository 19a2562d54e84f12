// The help viewer on desktops without HTML Help: what it hands the
// desktop's opener, and the messages when it cannot.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/HelpSystem.h"

namespace penwick {
namespace {

class DesktopHelpTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = std::filesystem::temp_directory_path() /
               ("penwick-help-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(m_folder);
    std::filesystem::create_directories(m_folder);
    m_helpFile = (m_folder / "Varnok Penwick.chm").string();
  }
  void TearDown() override { std::filesystem::remove_all(m_folder); }
  static void Touch(const std::filesystem::path& path) { std::ofstream(path) << "x"; }

  std::shared_ptr<THelpSystem> Help(bool starts = true) {
    return DesktopHelp([this, starts](const std::vector<std::string>& argv) {
      m_started.push_back(argv);
      return starts;
    });
  }

  std::filesystem::path m_folder;
  std::string m_helpFile;
  std::vector<std::vector<std::string>> m_started;
};

TEST_F(DesktopHelpTest, OpensTheFileOrAnUnpackedTopicWithTheDesktopsOpener) {
  Touch(m_helpFile);
  auto help = Help();
  help->ShowContents(m_helpFile);
  // No unpacked topic: the file itself, since a viewer cannot be given a topic.
  help->ShowTopic(m_helpFile, "levelstart.html");
  std::filesystem::create_directories(m_folder / "Varnok Penwick");
  Touch(m_folder / "Varnok Penwick" / "levelstart.html");
  help->ShowTopic(m_helpFile, "levelstart.html");
  const std::string topic = (m_folder / "Varnok Penwick" / "levelstart.html").string();
  EXPECT_EQ(m_started, (std::vector<std::vector<std::string>>{
                           {"xdg-open", m_helpFile}, {"xdg-open", m_helpFile}, {"xdg-open", topic}}));
}

TEST_F(DesktopHelpTest, AMissingFileOrViewerIsToldNotIgnored) {
  auto help = Help();
  try {
    help->ShowContents(m_helpFile);
    FAIL() << "a missing help file must be reported";
  } catch (const EHelpError& error) {
    EXPECT_NE(std::string(error.what()).find(m_helpFile), std::string::npos) << error.what();
  }
  // A topic folder alone is no help file either.
  std::filesystem::create_directories(m_folder / "Varnok Penwick");
  Touch(m_folder / "Varnok Penwick" / "levelend.html");
  EXPECT_THROW(help->ShowTopic(m_helpFile, "levelend.html"), EHelpError);
  EXPECT_TRUE(m_started.empty());

  Touch(m_helpFile);
  EXPECT_THROW(Help(false)->ShowContents(m_helpFile), EHelpError);
}

}  // namespace
}  // namespace penwick
