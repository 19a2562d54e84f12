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

  fs::path m_root;

private:
  fs::path m_bridge, m_standIn;
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

// A script whose folder or name the ANSI code page lacks compiles as one with
// a plain name: the same messages, its compiled script beside it under its
// own name, no companion or scratch file left, in the editor's driver and in
// penwick-cli alike.
TEST_F(CompileWineTest, ScriptsWithAccentedOrCyrillicNamesCompileLikeAPlainOne) {
  InstallCompiler();
  const std::string text = "LEVELSTART\r\nFOO 1 2\r\n\r\nPLAYER_PED p1 = ( 1.0 , 2.0 , 3.0 ) 25 180\r\n";
  const fs::path scripts[] = {
      m_root / "plain" / "plain.mis",
      m_root / "Missões é" / "ação.mis",
      m_root / "cyrillic" / "миссия.mis",
      m_root / "Папка" / "миссия.mis",
  };
  std::vector<std::string> plainMessages;
  for (const fs::path& script : scripts) {
    SCOPED_TRACE(script.string());
    fs::create_directories(script.parent_path());
    WriteFile(script, text);
    const std::string stem = script.stem().string();
    const std::vector<std::string> expectedFiles = {stem + ".mis", stem + ".scr"};
    const std::vector<std::string> headings = {"Preprocessing: " + script.string(), "Compiling: " + script.string()};

    TWineCompilerSession session(Bridge());
    TConsoleCompileHost host(script.string(), std::cerr);
    TCompileDriver driver(host, session, Timings());
    driver.SetCompilerFolder(CompilerDir().string());
    driver.Execute();

    const std::vector<std::string> shown = host.DisplayLines();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(shown.begin(), shown.begin() + 2), headings);
    const std::vector<std::string> messages(shown.begin() + 2, shown.end());
    if (plainMessages.empty()) {
      plainMessages = messages;
      EXPECT_EQ(messages, (std::vector<std::string>{"Error: unknown word 'LEVELSTART' on line 1",
                                                    "Error: unknown word 'FOO' on line 2",
                                                    "Error: unknown word 'PLAYER_PED' on line 4"}));
    }
    EXPECT_EQ(messages, plainMessages);
    EXPECT_EQ(Names(script.parent_path()), expectedFiles);
    EXPECT_EQ(ReadFile(script.parent_path() / (stem + ".scr")), "VARNOK-SCR\r\n" + text);
    EXPECT_EQ(Names(CompilerDir()), std::vector<std::string>{"compiler.exe"});
    EXPECT_FALSE(session.CompilerWindowExists());

    // penwick-cli prints the same lines and leaves the same files.
    fs::remove(script.parent_path() / (stem + ".scr"));
    const std::string cli = (fs::path(std::getenv("PENWICK_BINARY_DIR")) / "bin" / "penwick-cli").string();
    const std::string printed = RunCommand("'" + cli + "' compile '" + script.string() + "' --compiler-dir '" +
                                           CompilerDir().string() + "' 2>&1");
    std::string expectedOutput;
    for (const auto& line : shown) expectedOutput += line + "\n";
    EXPECT_EQ(printed, expectedOutput);
    EXPECT_EQ(Names(script.parent_path()), expectedFiles);
    EXPECT_EQ(Names(CompilerDir()), std::vector<std::string>{"compiler.exe"});
  }
}

// A folder named in another encoding than the system's (here Latin-1 bytes
// under a UTF-8 locale) names no file the compiler could be told: the
// compile stops with a message naming it, before anything is written.
TEST_F(CompileWineTest, APathThatCannotBeHandedOverStopsTheCompileWithNothingTouched) {
  InstallCompiler();
  const fs::path folder = m_root / "Miss\xF5" "es";
  const fs::path script = folder / "plain.mis";
  fs::create_directories(folder);
  WriteFile(script, "FOO\r\n");
  WriteFile(folder / "plain.tmp", "older copy");
  const std::string query = "wine reg query 'HKCU\\Software\\Fennick' /v varnokmiscompilerdllhookfilename 2>&1";
  {
    TWineCompilerSession session(Bridge());
    session.WriteHandOverValue("/marker.###");
  }
  const std::string handOverBefore = RunCommand(query);

  TWineCompilerSession session(Bridge());
  TConsoleCompileHost host(script.string(), std::cerr);
  TCompileDriver driver(host, session, Timings());
  driver.SetCompilerFolder(CompilerDir().string());
  try {
    driver.Execute();
    ADD_FAILURE() << "no error";
  } catch (const EHandOverImpossible& e) {
    EXPECT_EQ(std::string(e.what()), "The mission compiler cannot be told the path \"" + script.string() +
                                         "\": the path is not valid UTF-8 text, the encoding file names are read "
                                         "in. Rename or move the script and compile again.");
  }
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"plain.mis", "plain.tmp"}));
  EXPECT_EQ(ReadFile(folder / "plain.tmp"), "older copy");
  EXPECT_FALSE(session.CompilerWindowExists());
  EXPECT_EQ(RunCommand(query), handOverBefore);
  EXPECT_TRUE(host.OutputLines().empty());

  const std::string cli = (fs::path(std::getenv("PENWICK_BINARY_DIR")) / "bin" / "penwick-cli").string();
  const std::string printed =
      RunCommand("'" + cli + "' compile '" + script.string() + "' --compiler-dir '" + CompilerDir().string() +
                 "' 2>&1; echo \"exit $?\"");
  EXPECT_NE(printed.find("The mission compiler cannot be told the path \"" + script.string() + "\""),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("exit 1"), std::string::npos) << printed;
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"plain.mis", "plain.tmp"}));
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
