// The Wine session's side of the bridge protocol, against a scripted bridge.
#include "platform/posix/WineCompilerSession.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/BridgeProtocol.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;

class WineCompilerSessionTest : public ::testing::Test {
protected:
  void SetUp() override {
    const char* source = std::getenv("PENWICK_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    m_fakeWine = (fs::path(source) / "tests" / "compile" / "fake_wine.sh").string();
    m_log = fs::temp_directory_path() / ("penwick-bridge-log-" + std::to_string(::getpid()));
    fs::remove(m_log);
    ::setenv("FAKE_BRIDGE_LOG", m_log.c_str(), 1);
    Mode("normal");
  }
  void TearDown() override {
    fs::remove(m_log);
    ::unsetenv("FAKE_BRIDGE_MODE");
  }
  static void Mode(const char* mode) { ::setenv("FAKE_BRIDGE_MODE", mode, 1); }
  // The bridge only has to exist; the fake "wine" never runs it.
  std::unique_ptr<TWineCompilerSession> Session() {
    auto session = std::make_unique<TWineCompilerSession>(m_fakeWine, m_fakeWine);
    session->SetFirstAnswerLimit(std::chrono::milliseconds(1500));
    session->SetAnswerLimit(std::chrono::milliseconds(1000));
    return session;
  }
  std::string Requests() const {
    std::ifstream in(m_log);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

private:
  std::string m_fakeWine;
  fs::path m_log;
};

TEST_F(WineCompilerSessionTest, PathsAndTextsCrossTheBridgeIntact) {
  auto session = Session();
  EXPECT_TRUE(session->CompilerWindowExists());
  session->WriteHandOverValue("/tmp/My Missions/back\\slash.###");
  EXPECT_EQ(session->ReadMessages(), "first\rback\\slash\ttab\r\r");
  // Only the file's own short name is taken; its folder stays the real one.
  EXPECT_EQ(session->CompilerShortPath("/tmp/Mission Scripts/Harbour Night Raid.mis"),
            "/tmp/Mission Scripts/HARBOU~1.MIS");
  // A name is sent as the bytes it has; the companions' name comes back in
  // the script's own folder.
  EXPECT_EQ(session->CompilerScriptName("/tmp/Miss\xC3\xB5" "es/\xD0\xBC.mis"), "/tmp/Miss\xC3\xB5" "es/____~FKW.MIS");
  session.reset();  // ends the bridge with QUIT
  EXPECT_EQ(Requests(),
            "HELLO\nEXISTS\nHANDOVER Z:\\\\tmp\\\\My Missions\\\\back\\\\slash.###\nREAD\n"
            "SHORT Z:\\\\tmp\\\\Mission Scripts\\\\Harbour Night Raid.mis\n"
            "NAME Z:\\\\tmp\\\\Miss\xC3\xB5" "es\\\\\xD0\xBC.mis\nQUIT\n");
}

TEST_F(WineCompilerSessionTest, TheBridgesFailuresKeepTheirKind) {
  auto session = Session();
  const fs::path folder = fs::temp_directory_path() / ("penwick-compiler-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  std::ofstream(folder / "compiler.exe") << "x";
  try {
    session->StartCompiler(folder.string());
    ADD_FAILURE() << "no error";
  } catch (const ECompilerUnavailable& e) {
    EXPECT_STREQ(e.what(), "The mission compiler was not found: C:\\compiler.exe");
  }
  fs::remove_all(folder);
  try {
    session->SendPrepare();
    ADD_FAILURE() << "no error";
  } catch (const ECompilerUnavailable&) {
    ADD_FAILURE() << "a failure of the compiler's side is not a missing bridge";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Failed to set data");
  }
  // The session goes on after a reported failure.
  EXPECT_TRUE(session->CompilerWindowExists());
}

TEST_F(WineCompilerSessionTest, APathTheCompilerCannotBeToldIsRefusedByItsHostName) {
  Mode("refuse");
  auto session = Session();
  for (const std::string path : {"/home/ana/Miss\xF5" "es.mis", "/home/ana/m.###"}) {
    try {
      if (path.back() == 's')
        session->CompilerScriptName(path);
      else
        session->WriteHandOverValue(path);
      ADD_FAILURE() << "no error";
    } catch (const EHandOverImpossible& e) {
      EXPECT_EQ(e.what(), "The mission compiler cannot be told the path \"" + path +
                              "\": it has no short (8.3) name. Rename or move the script and compile again.");
    }
  }
  // A refusal is an answer: the bridge goes on.
  EXPECT_TRUE(session->CompilerWindowExists());
}

TEST_F(WineCompilerSessionTest, ABridgeThatDiesHangsOrBabblesIsReportedAndReplaced) {
  for (const char* mode : {"die", "hang", "garbage", "silent"}) {
    Mode(mode);
    auto session = Session();
    EXPECT_THROW(session->CompilerWindowExists(), ECompilerUnavailable) << mode;
    // The next request starts a fresh bridge.
    Mode("normal");
    EXPECT_TRUE(session->CompilerWindowExists()) << mode;
  }
}

TEST(BridgeProtocol, EscapingRoundTripsEveryByte) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  all += "\\\\r\\";
  const std::string escaped = bridge::Escape(all);
  EXPECT_EQ(escaped.find('\n'), std::string::npos);
  EXPECT_EQ(escaped.find('\r'), std::string::npos);
  EXPECT_EQ(bridge::Unescape(escaped), all);
  EXPECT_EQ(TWineCompilerSession::ToWinePath("/a b/c.mis"), "Z:\\a b\\c.mis");
}

}  // namespace
}  // namespace penwick
