// The compile command end to end under Wine: the driver, the Wine session,
// the bridge, the Win32 session and the stand-in compiler together.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "compile/CompileDriver.h"
#include "compile/ConsoleCompileHost.h"
#include "platform/posix/WineCompilerSession.h"
#include "support/TestFiles.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using test::WriteFile;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string RunCommand(const std::string& command) {
  std::string output;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[512];
    while (size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
    ::pclose(pipe);
  }
  return output;
}

class CompileWineTest : public ::testing::Test {
protected:
  void SetUp() override {
    const char* binary = std::getenv("PENWICK_BINARY_DIR");
    ASSERT_NE(binary, nullptr) << "PENWICK_BINARY_DIR names the build";
    m_bridge = fs::path(binary) / "bin" / "penwick-compile-bridge.exe";
    m_standIn = fs::path(binary) / "win32" / "standin-compiler.exe";
    ASSERT_TRUE(fs::exists(m_bridge)) << m_bridge;
    ASSERT_TRUE(fs::exists(m_standIn)) << m_standIn;
    m_root = fs::temp_directory_path() / ("penwick-wine-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "Mission Scripts");
    fs::create_directories(m_root / "compiler");
    Script = m_root / "Mission Scripts" / "Harbour Night Raid.mis";
    WriteFile(Script, kScript);
  }
  void TearDown() override { fs::remove_all(m_root); }

  void InstallCompiler() { fs::copy_file(m_standIn, CompilerDir() / "compiler.exe"); }
  fs::path CompilerDir() const { return m_root / "compiler"; }
  fs::path ScriptDir() const { return m_root / "Mission Scripts"; }
  std::string Bridge() const { return m_bridge.string(); }

  static TCompileTimings Timings() {
    TCompileTimings timings;
    timings.WindowWait = std::chrono::seconds(60);
    return timings;
  }

  static constexpr const char* kScript =
      "PLAYER_PED p1 = ( 127.5 , 127.5 , 255.0 ) 25 180\r\n\r\nCAR_DATA c1 = ( 10.0 , 12.0 , 2.0 ) 0 0\r\n"
      "  \r\nEND\r\n";
  fs::path Script;

private:
  fs::path m_root, m_bridge, m_standIn;
};

TEST_F(CompileWineTest, CompilesAScriptWithALongNameThroughTheStandInCompiler) {
  InstallCompiler();
  WriteFile(CompilerDir() / "left over.tmp", "x");
  WriteFile(CompilerDir() / "LEFT.###", "x");
  TWineCompilerSession session(Bridge());
  // A compiler left running from an earlier compile is closed first.
  session.StartCompiler(CompilerDir().string());
  for (int i = 0; i < 3000 && !session.CompilerWindowExists(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(session.CompilerWindowExists());

  TConsoleCompileHost host(Script.string(), std::cerr);
  TCompileDriver driver(host, session, Timings());
  driver.SetCompilerFolder(CompilerDir().string());
  driver.Execute();

  const std::string name = Script.string();
  EXPECT_EQ(host.OutputLines(), (std::vector<std::string>{
                                    "Preprocessing: " + name,
                                    "Compiling: " + name,
                                    "Error: unknown word 'PLAYER_PED' on line 1",
                                    "Error: unknown word 'CAR_DATA' on line 3",
                                    "Error: unknown word 'END' on line 5",
                                }));
  EXPECT_EQ(host.SelectedLine(), 4);
  // The compiled script is found under the long name; the companions, the
  // compiler's listing and the compiler folder's scratch are gone.
  EXPECT_EQ(Names(ScriptDir()), (std::vector<std::string>{"Harbour Night Raid.mis", "Harbour Night Raid.scr"}));
  EXPECT_EQ(ReadFile(ScriptDir() / "Harbour Night Raid.scr"), std::string("VARNOK-SCR\r\n") + kScript);
  EXPECT_EQ(ReadFile(Script), kScript);
  EXPECT_EQ(Names(CompilerDir()), std::vector<std::string>{"compiler.exe"});
  EXPECT_FALSE(session.CompilerWindowExists());

  // The hand-over value stays, naming the companion the compiler read.
  const std::string query =
      RunCommand("wine reg query 'HKCU\\Software\\Fennick' /v varnokmiscompilerdllhookfilename 2>/dev/null");
  EXPECT_NE(query.find("REG_SZ"), std::string::npos) << query;
  EXPECT_NE(query.find(TWineCompilerSession::ToWinePath(ScriptDir().string() + "/Harbour Night Raid.###")),
            std::string::npos)
      << query;
}

TEST_F(CompileWineTest, MissingPiecesAreReportedInOneClearMessage) {
  auto messageOf = [&](TWineCompilerSession& session) {
    TConsoleCompileHost host(Script.string(), std::cerr);
    TCompileDriver driver(host, session, Timings());
    driver.SetCompilerFolder(CompilerDir().string());
    try {
      driver.Execute();
    } catch (const ECompilerUnavailable& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  // The compiler is looked for first, so without it neither Wine nor the
  // bridge matters.
  const std::string noCompilerMessage =
      "The mission compiler was not found: " + CompilerDir().string() + "/compiler.exe";
  TWineCompilerSession noCompilerNoWine(Bridge(), "/nonexistent/wine");
  EXPECT_EQ(messageOf(noCompilerNoWine), noCompilerMessage);
  TWineCompilerSession noCompiler(Bridge());
  EXPECT_EQ(messageOf(noCompiler), noCompilerMessage);

  InstallCompiler();
  TWineCompilerSession noWine(Bridge(), "/nonexistent/wine");
  EXPECT_EQ(messageOf(noWine), "The mission compiler needs Wine on this system: install the package wine.");
  TWineCompilerSession noBridge((CompilerDir() / "penwick-compile-bridge.exe").string());
  EXPECT_EQ(messageOf(noBridge).rfind("The compiler bridge was not found: ", 0), 0u);
  EXPECT_EQ(Names(ScriptDir()), std::vector<std::string>{"Harbour Night Raid.mis"});
}

TEST_F(CompileWineTest, ACompilerThatNeverOpensItsWindowIsReported) {
  InstallCompiler();
  ::setenv("PENWICK_STANDIN", "nowindow", 1);
  TWineCompilerSession session(Bridge());
  TConsoleCompileHost host(Script.string(), std::cerr);
  TCompileTimings timings;
  timings.WindowWait = std::chrono::seconds(5);
  TCompileDriver driver(host, session, timings);
  driver.SetCompilerFolder(CompilerDir().string());
  EXPECT_THROW(driver.Execute(), ECompileError);
  ::unsetenv("PENWICK_STANDIN");
  EXPECT_EQ(Names(ScriptDir()), std::vector<std::string>{"Harbour Night Raid.mis"});
}

}  // namespace
}  // namespace penwick
