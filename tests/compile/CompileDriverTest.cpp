// The compile command against a scripted compiler and a recording window.
#include "compile/CompileDriver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "platform/FileOperations.h"
#include "platform/posix/WineCompilerSession.h"
#include "support/TestFiles.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using test::WriteFile;

// Everything the window side was asked to do, in order.
class TRecordingHost : public TCompileHost {
public:
  std::vector<std::string> Log;
  std::string Name;
  std::string EditorText = "editor text\r\n";
  std::string ExeFolder;
  std::string UserFolder;
  std::function<bool(TRecordingHost&)> SaveAs = [](TRecordingHost&) { return false; };
  std::map<std::string, std::string> ShortForms;  // long -> short
  std::string FailOn;                              // a Log entry prefix that throws
  std::vector<std::string> Lines;
  int Selected = -2;
  int HeadingLines = -1;
  bool Enabled = true;
  bool PanelVisible = false;

  std::vector<std::string> Statuses() const {
    std::vector<std::string> result;
    for (const auto& entry : Log)
      if (entry.rfind("status ", 0) == 0) result.push_back(entry.substr(7));
    return result;
  }

  std::string DocumentName() const override { return Name; }
  void SetDocumentName(const std::string& name) override { Name = name; }
  bool RunSaveAs() override {
    Record("save-as");
    return SaveAs(*this);
  }
  void SaveEditorText(const std::string& fileName) override {
    Record("save-text " + fileName);
    std::ofstream out(fileName, std::ios::binary);
    if (!out) throw std::runtime_error("Cannot create file \"" + fileName + "\".");
    out << EditorText;
  }
  void SetStatusText(const std::string& text) override { Record("status " + text); }
  void PumpMessages() override {}
  TPanelSize MainWindowSize() const override { return {801, 601}; }
  TPanelSize ProgressPanelSize() const override { return {185, 34}; }
  void MoveProgressPanel(int left, int top) override {
    Record("move " + std::to_string(left) + "," + std::to_string(top));
  }
  void SetProgressPanelVisible(bool visible) override {
    Record(visible ? "panel shown" : "panel hidden");
    PanelVisible = visible;
  }
  void SetMainWindowEnabled(bool enabled) override {
    Record(enabled ? "enable" : "disable");
    Enabled = enabled;
  }
  void ShowOutputPanel() override { Record("output shown"); }
  void SetOutputLines(const std::vector<std::string>& lines, int selected, int headingLines) override {
    Record("lines");
    Lines = lines;
    Selected = selected;
    HeadingLines = headingLines;
  }
  std::string ShortPathOf(const std::string& path) override {
    Record("short");
    for (const auto& [longForm, shortForm] : ShortForms)
      if (path == longForm || path == shortForm) return shortForm;
    return path;
  }
  std::string LongPathOf(const std::string& path) override {
    for (const auto& [longForm, shortForm] : ShortForms)
      if (path == shortForm || path == longForm) return longForm;
    return path;
  }
  std::string ExecutableFolder() const override { return ExeFolder; }
  std::string UserCompilerFolder() const override { return UserFolder; }

private:
  void Record(const std::string& entry) {
    Log.push_back(entry);
    if (!FailOn.empty() && entry.rfind(FailOn, 0) == 0) throw std::runtime_error("host failed at " + entry);
  }
};

// A compiler that behaves as the real one is relied on to: it takes the file
// named by the hand-over value on 40001, lists its messages on 40003 and
// writes the compiled script under the short name beside it.
class TFakeSession : public TCompilerSession {
public:
  std::vector<std::string> Log;
  int StrayWindows = 0;       // compiler windows open before the compile
  int StrayCloseRefusals = 0; // WM_CLOSE messages a stray window ignores (-1: all)
  int PollsBeforeWindow = 0;  // looks until the started compiler's window exists
  bool NeverStarts = false;
  std::string Messages;
  std::string FailOn;
  bool FailUnreachable = false;  // FailOn raises "the compiler cannot be reached"
  std::string HandOver;
  std::string CompilerName;   // the name the companions get; empty: the script's own
  std::string CompilerShort;  // the script's short form for the compiler; empty: the script's own
  bool RefuseHandOver = false;
  std::string TakenText;   // the text the compiler took on 40001
  std::string TakenTmp;    // the ".tmp" companion as the compiler saw it
  bool WriteOutput = true;
  std::string WorkFile;    // a scratch file the compiler makes in its working directory

  bool CompilerWindowExists() override {
    Record("exists?");
    if (StrayWindows > 0) return true;
    if (!m_started || NeverStarts) return false;
    if (m_polls++ < PollsBeforeWindow) return false;
    return !m_closed;
  }
  void CloseCompilerWindow() override {
    Record("close");
    if (StrayWindows > 0) {
      if (StrayCloseRefusals < 0) return;
      if (StrayCloseRefusals > 0) {
        --StrayCloseRefusals;
        return;
      }
      --StrayWindows;
      return;
    }
    if (m_started) m_closed = true;
  }
  std::string CompilerScriptName(const std::string& scriptName) override {
    Record("name");
    if (RefuseHandOver) throw EHandOverImpossible(scriptName, "it has no short (8.3) name");
    return CompilerName.empty() ? scriptName : CompilerName;
  }
  void WriteHandOverValue(const std::string& name) override {
    Record("hand-over");
    HandOver = name;
  }
  void StartCompiler(const std::string& folder) override {
    Record("start " + folder);
    m_started = true;
    if (!WorkFile.empty()) WriteFile(folder + WorkFile, "compiler's scratch");
  }
  void SendPrepare() override {
    Record("40001");
    TakenText = ReadFile(HandOver);
    TakenTmp = ReadFile(TCompileDriver::ChangeFileExt(HandOver, ".tmp"));
  }
  void SendCompile() override {
    Record("40003");
    WriteFile(TCompileDriver::ChangeFileExt(HandOver, ".txt"), "compiler's own listing");
    if (WriteOutput) WriteFile(TCompileDriver::ChangeFileExt(m_shortScript, ".scr"), "compiled " + TakenText);
  }
  std::string ReadMessages() override {
    Record("read");
    return Messages;
  }
  std::string CompilerShortPath(const std::string& path) override {
    Record("compiler-short");
    return CompilerShort.empty() ? path : CompilerShort;
  }
  // The short name the compiler writes its output under (as it derives it
  // from the hand-over file).
  void SetShortScript(const std::string& name) { m_shortScript = name; }

private:
  void Record(const std::string& entry) {
    Log.push_back(entry);
    if (FailOn.empty() || entry.rfind(FailOn, 0) != 0) return;
    if (FailUnreachable) throw ECompilerUnavailable("no compiler at " + entry);
    throw std::runtime_error("session failed at " + entry);
  }
  bool m_started = false;
  bool m_closed = false;
  int m_polls = 0;
  std::string m_shortScript;
};

class CompileDriverTest : public ::testing::Test {
protected:
  // Also called by tests that run one case after another: each case starts
  // from a fresh host, compiler and folder.
  void SetUp() override {
    Host = TRecordingHost{};
    Session = TFakeSession{};
    m_root = fs::temp_directory_path() /
             ("penwick-compile-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_root);
    fs::create_directories(m_root / "bin" / "compiler");
    fs::create_directories(m_root / "scripts");
    WriteFile(m_root / "bin" / "compiler" / "compiler.exe", "MZ");
    Host.ExeFolder = (m_root / "bin").string();
    Host.UserFolder = UserCompilerDir().string();  // named, but holds no compiler
    Script = (m_root / "scripts" / "mission.mis").string();
    WriteFile(Script, "saved text\r\n");
    Host.Name = Script;
    Session.SetShortScript(Script);
  }
  void TearDown() override {
    std::error_code ignored;
    for (auto& entry : fs::recursive_directory_iterator(m_root, ignored))
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(m_root, ignored);
  }

  void Run(TCompileTimings timings = FastTimings()) {
    TCompileDriver driver(Host, Session, timings);
    driver.Execute();
  }
  static TCompileTimings FastTimings() {
    TCompileTimings t;
    t.WindowWait = std::chrono::milliseconds(200);
    t.CloseTries = 5;
    t.ClosePause = std::chrono::milliseconds(0);
    t.PollPause = std::chrono::milliseconds(1);
    return t;
  }
  fs::path Scripts() const { return m_root / "scripts"; }
  fs::path CompilerDir() const { return m_root / "bin" / "compiler"; }
  fs::path UserCompilerDir() const { return m_root / "data" / "penwick" / "compiler"; }
  std::vector<std::string> ScriptFolder() const {
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(Scripts())) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TRecordingHost Host;
  TFakeSession Session;
  std::string Script;

private:
  fs::path m_root;
};

TEST_F(CompileDriverTest, HeadingLinesReplaceTheCompilersOwnWhateverItListed) {
  const std::string pre = "Preprocessing: " + Script, comp = "Compiling: " + Script;
  struct Case {
    std::string messages;
    std::vector<std::string> lines;
    int selected;
  } cases[] = {
      {"", {pre, comp}, -1},
      {"Only heading\r", {pre, comp}, -1},
      {"A\rB\rC\rD\r", {pre, comp, "C", "D"}, 3},
      // Line breaks of any style split; a final one adds no empty line.
      {"A\r\nB\nC\r\rE\r\n", {pre, comp, "C", "", "E"}, 4},
  };
  for (const auto& c : cases) {
    SetUp();
    Session.Messages = c.messages;
    Run();
    EXPECT_EQ(Host.Lines, c.lines) << c.messages;
    EXPECT_EQ(Host.Selected, c.selected) << c.messages;
    EXPECT_EQ(Host.HeadingLines, 2) << c.messages;
  }
}

TEST_F(CompileDriverTest, StepsAndStatusTextsComeInOrderAndTheWindowIsGivenBack) {
  Session.Messages = "h1\rh2\rline 3\r";
  Run();
  using namespace compile_status;
  EXPECT_EQ(Host.Statuses(),
            (std::vector<std::string>{Killing, HandOver, TempFile, Executing, Prepared, Compiling, Checking, Closing}));
  // The panel is centred by truncated halves, then the window disabled and
  // the panel shown before the first status; the closing step undoes both.
  auto at = [&](const std::string& entry) {
    return std::find(Host.Log.begin(), Host.Log.end(), entry) - Host.Log.begin();
  };
  EXPECT_LT(at("move 308,283"), at("disable"));
  EXPECT_LT(at("disable"), at("panel shown"));
  EXPECT_LT(at("panel shown"), at(std::string("status ") + Killing));
  EXPECT_LT(at("output shown"), at(std::string("status ") + Checking));
  EXPECT_EQ(Host.Log[Host.Log.size() - 2], "enable");
  EXPECT_EQ(Host.Log.back(), "panel hidden");
  // The compiler hears its commands in order, after it was told the file.
  std::vector<std::string> calls;
  for (const auto& e : Session.Log)
    if (e != "exists?" && e != "compiler-short") calls.push_back(e);
  EXPECT_EQ(calls, (std::vector<std::string>{"close", "name", "hand-over", "start " + (CompilerDir().string() + "/"), "40001",
                                             "40003", "read", "close"}));
}

TEST_F(CompileDriverTest, CompilesTheEditorsCurrentTextAndLeavesOnlyTheCompiledScript) {
  Host.EditorText = "unsaved edit\r\n";
  Run();
  EXPECT_EQ(Session.TakenText, "unsaved edit\r\n");
  EXPECT_EQ(Session.HandOver, (Scripts() / "mission.###").string());
  EXPECT_EQ(Session.TakenTmp, "unsaved edit\r\n");
  // The script itself is neither written nor renamed; the companions,
  // the compiler's ".txt" included, are gone.
  EXPECT_EQ(ReadFile(Script), "saved text\r\n");
  EXPECT_EQ(ScriptFolder(), (std::vector<std::string>{"mission.mis", "mission.scr"}));
  EXPECT_EQ(ReadFile(Scripts() / "mission.scr"), "compiled unsaved edit\r\n");
}

TEST_F(CompileDriverTest, AnExistingTmpCompanionIsKeptForTheCompilerAndRemovedAfterwards) {
  WriteFile(Scripts() / "mission.tmp", "older copy");
  Run();
  EXPECT_EQ(Session.TakenTmp, "older copy");
  EXPECT_FALSE(fs::exists(Scripts() / "mission.tmp"));
}

TEST_F(CompileDriverTest, CompilerFolderScratchIsRemovedButReadOnlyFilesAndOthersSurvive) {
  WriteFile(CompilerDir() / "a.tmp", "x");
  WriteFile(CompilerDir() / "B.TMP", "x");
  WriteFile(CompilerDir() / ".hidden.###", "x");
  WriteFile(CompilerDir() / "keep.txt", "x");
  WriteFile(CompilerDir() / "locked.tmp", "x");
  fs::create_directory(CompilerDir() / "folder.tmp");
  fs::permissions(CompilerDir() / "locked.tmp", fs::perms::owner_read | fs::perms::group_read);
  Run();
  std::vector<std::string> left;
  for (auto& entry : fs::directory_iterator(CompilerDir())) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"compiler.exe", "folder.tmp", "keep.txt", "locked.tmp"}));
}

TEST_F(CompileDriverTest, AScriptOpenedUnderItsShortNameIsCompiledToTheLongName) {
  const std::string longName = (Scripts() / "Harbour Night Raid.mis").string();
  const std::string shortName = (Scripts() / "HARBOU~1.MIS").string();
  WriteFile(longName, "saved");
  Host.ShortForms[longName] = shortName;
  Host.Name = shortName;  // as the open step leaves it
  Session.SetShortScript(shortName);
  Run();
  EXPECT_EQ(Host.Lines.at(0), "Preprocessing: " + longName);
  EXPECT_EQ(Host.Lines.at(1), "Compiling: " + longName);
  EXPECT_EQ(ReadFile(Scripts() / "Harbour Night Raid.scr"), "compiled editor text\r\n");
  EXPECT_FALSE(fs::exists(Scripts() / "HARBOU~1.scr"));
}

TEST_F(CompileDriverTest, AnExistingCompiledScriptUnderTheLongNameIsNotReplaced) {
  const std::string longName = (Scripts() / "Harbour Night Raid.mis").string();
  const std::string shortName = (Scripts() / "HARBOU~1.MIS").string();
  Host.ShortForms[longName] = shortName;
  Host.Name = shortName;
  Session.SetShortScript(shortName);
  WriteFile(Scripts() / "Harbour Night Raid.scr", "previous");
  Run();
  EXPECT_EQ(ReadFile(Scripts() / "Harbour Night Raid.scr"), "previous");
  EXPECT_TRUE(fs::exists(Scripts() / "HARBOU~1.scr"));
}

TEST_F(CompileDriverTest, CompilersLeftOpenAreClosedBeforeTheNewOneStarts) {
  Session.StrayWindows = 2;
  Session.StrayCloseRefusals = 1;
  Run();
  auto killing = std::count(Host.Log.begin(), Host.Log.end(), std::string("status ") + compile_status::Killing);
  EXPECT_EQ(killing, 3);
  auto start = std::find_if(Session.Log.begin(), Session.Log.end(), [](auto& e) { return e.rfind("start", 0) == 0; });
  ASSERT_NE(start, Session.Log.end());
  EXPECT_EQ(std::count(Session.Log.begin(), start, std::string("close")), 3);
}

TEST_F(CompileDriverTest, ACompilerThatWillNotCloseStopsTheCompileBeforeAnyFileIsMade) {
  Session.StrayWindows = 1;
  Session.StrayCloseRefusals = -1;
  WriteFile(CompilerDir() / "old.tmp", "x");
  EXPECT_THROW(Run(), ECompileError);
  EXPECT_TRUE(Host.Enabled);
  EXPECT_FALSE(Host.PanelVisible);
  EXPECT_EQ(std::count(Host.Log.begin(), Host.Log.end(), std::string("status ") + compile_status::Killing), 5);
  EXPECT_EQ(ScriptFolder(), std::vector<std::string>{"mission.mis"});
  EXPECT_FALSE(fs::exists(CompilerDir() / "old.tmp"));
}

TEST_F(CompileDriverTest, AFailureInAnyStepGivesTheWindowBackAndLeavesNoScratchFiles) {
  struct Point {
    const char* host;
    const char* session;
  } points[] = {
      {"status Killing", nullptr}, {"save-text", nullptr},  {nullptr, "hand-over"},  {"status Temp", nullptr},
      {nullptr, "start"},          {"status Compiler is", nullptr}, {nullptr, "40001"}, {nullptr, "40003"},
      {"output shown", nullptr},   {nullptr, "read"},       {"status Closing", nullptr}, {"short", nullptr},
      {nullptr, "compiler-short"}, {nullptr, "name"},
  };
  for (const auto& p : points) {
    SetUp();
    Host.FailOn = p.host ? p.host : "";
    Session.FailOn = p.session ? p.session : "";
    WriteFile(CompilerDir() / "stale.###", "x");
    const std::string where = p.host ? p.host : p.session;
    EXPECT_THROW(Run(), std::runtime_error) << where;
    EXPECT_TRUE(Host.Enabled) << where;
    EXPECT_FALSE(Host.PanelVisible) << where;
    EXPECT_EQ(Host.Log.back(), "panel hidden") << where;
    for (const char* ext : {"###", "tmp", "txt"})
      EXPECT_FALSE(fs::exists(Scripts() / (std::string("mission.") + ext))) << where << " " << ext;
    EXPECT_EQ(ReadFile(Script), "saved text\r\n") << where;
  }
}

TEST_F(CompileDriverTest, AnUnreachableCompilerIsNotAskedAgainWhileTheCompileStops) {
  Session.FailOn = "start";
  Session.FailUnreachable = true;
  EXPECT_THROW(Run(), ECompilerUnavailable);
  EXPECT_EQ(Session.Log.back().rfind("start", 0), 0u);
  EXPECT_EQ(ScriptFolder(), std::vector<std::string>{"mission.mis"});
  EXPECT_TRUE(Host.Enabled);
}

TEST_F(CompileDriverTest, ACompilerWhoseWindowNeverAppearsIsReportedAndCleanedUp) {
  Session.NeverStarts = true;
  try {
    Run();
    FAIL() << "no error";
  } catch (const ECompileError& e) {
    EXPECT_NE(std::string(e.what()).find("did not start"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(Host.Enabled);
  EXPECT_EQ(ScriptFolder(), std::vector<std::string>{"mission.mis"});
}

TEST_F(CompileDriverTest, ACompilerThatTakesItsTimeToOpenItsWindowIsWaitedFor) {
  Session.PollsBeforeWindow = 20;
  Session.Messages = "h1\rh2\rWarning on line 3\r";
  Run();
  EXPECT_EQ(Host.Lines.back(), "Warning on line 3");
}

TEST_F(CompileDriverTest, ScriptsNamedLikeACompanionAreRefusedUntouched) {
  for (const char* name : {"notes.txt", "mission.TMP", "mission.###"}) {
    SetUp();
    const fs::path path = Scripts() / name;
    WriteFile(path, "precious");
    Host.Name = path.string();
    EXPECT_THROW(Run(), ECompileError) << name;
    EXPECT_EQ(ReadFile(path), "precious") << name;
    EXPECT_TRUE(Session.Log.empty()) << name;
    EXPECT_EQ(std::count(Host.Log.begin(), Host.Log.end(), "disable"), 0) << name;
    EXPECT_EQ(ScriptFolder().size(), 2u) << name;
  }
}

TEST_F(CompileDriverTest, CancellingSaveAsOfAnUntitledScriptCancelsTheCompile) {
  for (const char* name : {"", "Untitled.mis"}) {
    SetUp();
    Host.Name = name;
    Run();
    EXPECT_EQ(Host.Log, std::vector<std::string>{"save-as"}) << name;
    EXPECT_TRUE(Session.Log.empty());
    EXPECT_EQ(Host.Name, "Untitled.mis");
    EXPECT_FALSE(fs::exists("Untitled.###"));
  }
}

TEST_F(CompileDriverTest, AnUntitledScriptSavedThroughSaveAsIsCompiledUnderTheChosenName) {
  const std::string chosen = (Scripts() / "Untitled.mis").string();
  Host.Name = "Untitled.mis";
  Host.SaveAs = [&](TRecordingHost& host) {
    WriteFile(chosen, "chosen");
    host.Name = chosen;
    return true;
  };
  Session.SetShortScript(chosen);
  Run();
  EXPECT_EQ(Session.HandOver, (Scripts() / "Untitled.###").string());
  EXPECT_TRUE(fs::exists(Scripts() / "Untitled.scr"));
}

TEST_F(CompileDriverTest, AMissingCompilerIsReportedBeforeTheCompilerSideIsAskedAnything) {
  fs::remove(CompilerDir() / "compiler.exe");
  WriteFile(CompilerDir() / "stale.tmp", "x");
  fs::create_directories(UserCompilerDir());
  WriteFile(UserCompilerDir() / "stale.tmp", "x");
  const std::string expected = "The mission compiler was not found. Put compiler.exe into \"" + CompilerDir().string() +
                               "\" or into \"" + UserCompilerDir().string() + "\".";
  try {
    Run();
    ADD_FAILURE() << "no error";
  } catch (const ECompilerUnavailable& e) {
    EXPECT_EQ(e.what(), expected);
  }
  EXPECT_TRUE(Session.Log.empty());
  EXPECT_EQ(std::count(Host.Log.begin(), Host.Log.end(), "disable"), 0);
  EXPECT_EQ(ScriptFolder(), std::vector<std::string>{"mission.mis"});
  EXPECT_TRUE(fs::exists(CompilerDir() / "stale.tmp"));
  EXPECT_TRUE(fs::exists(UserCompilerDir() / "stale.tmp"));

  // Through the Wine session: Wine (here a script that logs every start) is
  // never started, so a new prefix's set-up cannot come first.
  const char* source = std::getenv("PENWICK_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  const std::string fakeWine = (fs::path(source) / "tests" / "compile" / "fake_wine.sh").string();
  const fs::path log = Scripts().parent_path() / "wine-started.log";
  ::setenv("FAKE_BRIDGE_LOG", log.c_str(), 1);
  TWineCompilerSession wine(fakeWine, fakeWine);
  wine.SetFirstAnswerLimit(std::chrono::milliseconds(1500));
  TCompileDriver driver(Host, wine, FastTimings());
  try {
    driver.Execute();
    ADD_FAILURE() << "no error";
  } catch (const ECompilerUnavailable& e) {
    EXPECT_EQ(e.what(), expected);
  }
  ::unsetenv("FAKE_BRIDGE_LOG");
  EXPECT_FALSE(fs::exists(log)) << ReadFile(log);
}

TEST_F(CompileDriverTest, ACompilerOnlyInTheUsersFolderServesTheWholeCommand) {
  // The folder beside the executable exists but holds no compiler, only
  // files the compile must leave alone there.
  fs::remove(CompilerDir() / "compiler.exe");
  WriteFile(CompilerDir() / "beside.tmp", "x");
  fs::create_directories(UserCompilerDir());
  WriteFile(UserCompilerDir() / "compiler.exe", "MZ");
  WriteFile(UserCompilerDir() / "stale.###", "x");
  Session.WorkFile = "work.tmp";
  Session.Messages = "h1\rh2\rDone\r";
  Run();
  EXPECT_EQ(std::count(Session.Log.begin(), Session.Log.end(), "start " + UserCompilerDir().string() + "/"), 1);
  EXPECT_FALSE(fs::exists(UserCompilerDir() / "stale.###"));
  EXPECT_FALSE(fs::exists(UserCompilerDir() / "work.tmp"));
  EXPECT_TRUE(fs::exists(CompilerDir() / "beside.tmp"));
  EXPECT_EQ(Host.Lines.back(), "Done");
}

TEST_F(CompileDriverTest, TheCompilerBesideTheExecutableWinsOverTheUsersOwn) {
  fs::create_directories(UserCompilerDir());
  WriteFile(UserCompilerDir() / "compiler.exe", "MZ");
  WriteFile(UserCompilerDir() / "user.tmp", "x");
  Session.WorkFile = "work.tmp";
  Run();
  EXPECT_EQ(std::count(Session.Log.begin(), Session.Log.end(), "start " + CompilerDir().string() + "/"), 1);
  EXPECT_FALSE(fs::exists(CompilerDir() / "work.tmp"));
  EXPECT_TRUE(fs::exists(UserCompilerDir() / "user.tmp"));
}

TEST_F(CompileDriverTest, AFolderSetForTheCompilerIsTheOnlyPlaceLookedAt) {
  const fs::path set = Scripts().parent_path() / "elsewhere";
  fs::create_directories(set);
  fs::create_directories(UserCompilerDir());
  WriteFile(UserCompilerDir() / "compiler.exe", "MZ");
  WriteFile(UserCompilerDir() / "user.tmp", "x");
  TCompileDriver driver(Host, Session, FastTimings());
  driver.SetCompilerFolder(set.string());
  try {
    driver.Execute();
    ADD_FAILURE() << "no error";
  } catch (const ECompilerUnavailable& e) {
    EXPECT_EQ(e.what(), "The mission compiler was not found: " + (set / "compiler.exe").string());
  }
  EXPECT_TRUE(Session.Log.empty());
  EXPECT_TRUE(fs::exists(UserCompilerDir() / "user.tmp"));
  EXPECT_EQ(ScriptFolder(), std::vector<std::string>{"mission.mis"});
}

TEST_F(CompileDriverTest, CompanionsCarryTheNameTheCompilerCanBeToldAndAllGoAfterwards) {
  // "миссия.mis", which the compiler's code page lacks: the compiler is told
  // the short form, so the companions are made under it.
  Script = (Scripts() / "\xD0\xBC\xD0\xB8\xD1\x81\xD1\x81\xD0\xB8\xD1\x8F.mis").string();
  WriteFile(Script, "saved");
  fs::remove(Scripts() / "mission.mis");
  Host.Name = Script;
  const std::string shortName = (Scripts() / "____~FKW.MIS").string();
  Session.CompilerName = shortName;
  Session.CompilerShort = shortName;
  Session.SetShortScript(shortName);
  Session.Messages = "h1\rh2\rError: unknown word 'FOO' on line 2\r";
  Run();
  EXPECT_EQ(Session.HandOver, (Scripts() / "____~FKW.###").string());
  EXPECT_EQ(Session.TakenText, Host.EditorText);
  EXPECT_EQ(Session.TakenTmp, Host.EditorText);
  EXPECT_EQ(Host.Lines, (std::vector<std::string>{"Preprocessing: " + Script, "Compiling: " + Script,
                                                  "Error: unknown word 'FOO' on line 2"}));
  EXPECT_EQ(Host.HeadingLines, 2);
  // The compiler's listing under the short name went with the companions;
  // its output moved to the script's own name.
  EXPECT_EQ(ScriptFolder(), (std::vector<std::string>{"\xD0\xBC\xD0\xB8\xD1\x81\xD1\x81\xD0\xB8\xD1\x8F.mis",
                                                      "\xD0\xBC\xD0\xB8\xD1\x81\xD1\x81\xD0\xB8\xD1\x8F.scr"}));
  EXPECT_EQ(ReadFile(fs::path(TCompileDriver::ChangeFileExt(Script, ".scr"))), "compiled " + Host.EditorText);
}

TEST_F(CompileDriverTest, AScriptTheCompilerCannotBeToldAboutStopsTheCompileWithNothingWritten) {
  WriteFile(Scripts() / "mission.tmp", "older copy");
  WriteFile(Scripts() / "mission.txt", "notes");
  Session.RefuseHandOver = true;
  try {
    Run();
    ADD_FAILURE() << "no error";
  } catch (const EHandOverImpossible& e) {
    EXPECT_NE(std::string(e.what()).find("\"" + Script + "\""), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("no short (8.3) name"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(Host.Enabled);
  EXPECT_FALSE(Host.PanelVisible);
  EXPECT_EQ(std::count_if(Host.Log.begin(), Host.Log.end(), [](auto& e) { return e.rfind("save-text", 0) == 0; }), 0);
  for (const auto& call : Session.Log) EXPECT_TRUE(call == "close" || call == "exists?" || call == "name") << call;
  EXPECT_EQ(ScriptFolder(), (std::vector<std::string>{"mission.mis", "mission.tmp", "mission.txt"}));
  EXPECT_EQ(ReadFile(Scripts() / "mission.tmp"), "older copy");
  EXPECT_EQ(ReadFile(Scripts() / "mission.txt"), "notes");
  EXPECT_EQ(ReadFile(Script), "saved text\r\n");
}

TEST(CompileDriverNames, CompanionNamesReplaceOnlyTheFileNamesExtension) {
  EXPECT_EQ(TCompileDriver::ChangeFileExt("/a/m.mis", ".###"), "/a/m.###");
  EXPECT_EQ(TCompileDriver::ChangeFileExt("/a/m.tar.mis", ".tmp"), "/a/m.tar.tmp");
  EXPECT_EQ(TCompileDriver::ChangeFileExt("/a.b/mission", ".txt"), "/a.b/mission.txt");
  EXPECT_EQ(TCompileDriver::ChangeFileExt(".scr", ".scr"), ".scr");
  EXPECT_FALSE(TCompileDriver::IsCompanionExtension("/my.txt/mission.mis"));
  EXPECT_FALSE(TCompileDriver::IsCompanionExtension("/a/mission.txt2"));
}

TEST(CompileDriverFiles, MasksMatchWithoutRegardToCase) {
  EXPECT_TRUE(MatchesMask("A.TMP", "*.tmp"));
  EXPECT_TRUE(MatchesMask(".tmp", "*.tmp"));
  EXPECT_TRUE(MatchesMask("a.b.###", "*.###"));
  EXPECT_FALSE(MatchesMask("a.tmpx", "*.tmp"));
  EXPECT_FALSE(MatchesMask("atmp", "*.tmp"));
  EXPECT_TRUE(MatchesMask("ab", "a?"));
  EXPECT_FALSE(MatchesMask("a", "a?"));
}

}  // namespace
}  // namespace penwick
