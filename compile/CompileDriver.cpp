// The Compile command, step by step, over the host and compiler interfaces.
#include "compile/CompileDriver.h"

#include <cctype>
#include <thread>

#include "platform/FileOperations.h"

namespace penwick {

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
bool IsPathDelimiter(char c) { return c == '\\' || c == '/' || c == ':'; }
#else
constexpr char kSeparator = '/';
bool IsPathDelimiter(char c) { return c == '/'; }
#endif

constexpr const char* kUntitled = "Untitled.mis";
constexpr const char* kCompilerProgram = "compiler.exe";

// The folder with one separator at its end; empty stays empty.
std::string WithSeparator(std::string folder) {
  if (!folder.empty() && !IsPathDelimiter(folder.back())) folder += kSeparator;
  return folder;
}

// The folder as a user reads it: without the separator at its end, unless
// that separator is all there is.
std::string WithoutSeparator(std::string folder) {
  while (folder.size() > 1 && IsPathDelimiter(folder.back())) folder.pop_back();
  return folder;
}
// The editor's own lines at the top of the output, naming the script.
constexpr int kHeadingLines = 2;

// The closing step of the command: whatever happened, the user gets the
// window back and the progress panel goes away.
class TWindowGuard {
public:
  explicit TWindowGuard(TCompileHost& host) : m_host(host) {}
  TWindowGuard(const TWindowGuard&) = delete;
  TWindowGuard& operator=(const TWindowGuard&) = delete;
  ~TWindowGuard() {
    // A failure here must not replace the one that is unwinding, and the
    // second call must run even when the first one fails.
    try {
      m_host.SetMainWindowEnabled(true);
    } catch (...) {
    }
    try {
      m_host.SetProgressPanelVisible(false);
    } catch (...) {
    }
  }

private:
  TCompileHost& m_host;
};

// Keeps a line index pointing at the same line while lines are removed in
// front of it or inserted before it; -1 stays -1 and a removed line leaves -1.
void EraseLine(std::vector<std::string>& lines, size_t index, int& selected) {
  if (index >= lines.size()) return;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
  if (selected == static_cast<int>(index))
    selected = -1;
  else if (selected > static_cast<int>(index))
    --selected;
}

void InsertLine(std::vector<std::string>& lines, size_t index, std::string line, int& selected) {
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
  if (selected >= static_cast<int>(index)) ++selected;
}

}  // namespace

TCompileDriver::TCompileDriver(TCompileHost& host, TCompilerSession& session, TCompileTimings timings)
    : m_host(host), m_session(session), m_timings(timings) {}

void TCompileDriver::SetCompilerFolder(const std::string& folder) { m_compilerFolder = WithSeparator(folder); }

std::vector<std::string> TCompileDriver::CompilerFolderCandidates() const {
  if (!m_compilerFolder.empty()) return {m_compilerFolder};
  return DefaultCompilerFolders(m_host.ExecutableFolder(), m_host.UserCompilerFolder());
}

std::vector<std::string> TCompileDriver::DefaultCompilerFolders(const std::string& executableFolder,
                                                                const std::string& userFolder) {
  std::vector<std::string> folders{executableFolder + kSeparator + "compiler" + kSeparator};
  const std::string user = WithSeparator(userFolder);
  if (!user.empty() && user != folders.front()) folders.push_back(user);
  return folders;
}

std::string TCompileDriver::CompilerFolder() const {
  if (!m_compilerFolder.empty()) return m_compilerFolder;
  for (const std::string& folder : CompilerFolderCandidates())
    if (FileExists(folder + kCompilerProgram)) return folder;
  return {};
}

std::string TCompileDriver::FindCompilerFolder() const {
  const std::string folder = CompilerFolder();
  if (!folder.empty() && FileExists(folder + kCompilerProgram)) return folder;
  if (!m_compilerFolder.empty())
    throw ECompilerUnavailable("The mission compiler was not found: " + m_compilerFolder + kCompilerProgram);
  // The user is told every place the compiler may go, so that one without
  // rights to the program's folder learns of their own.
  std::string places;
  const std::vector<std::string> candidates = CompilerFolderCandidates();
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (i > 0) places += " or into ";
    places += "\"" + WithoutSeparator(candidates[i]) + "\"";
  }
  throw ECompilerUnavailable(std::string("The mission compiler was not found. Put ") + kCompilerProgram + " into " +
                             places + ".");
}

std::string TCompileDriver::ChangeFileExt(std::string_view fileName, std::string_view ext) {
  size_t end = fileName.size();
  for (size_t i = fileName.size(); i > 0; --i) {
    char c = fileName[i - 1];
    if (IsPathDelimiter(c)) break;
    if (c == '.') {
      end = i - 1;
      break;
    }
  }
  std::string result(fileName.substr(0, end));
  result += ext;
  return result;
}

std::vector<std::string> TCompileDriver::SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

TPanelSize TCompileDriver::CentredOrigin(TPanelSize window, TPanelSize panel) {
  // C++ division truncates toward zero, as the window layout expects.
  return {window.Width / 2 - panel.Width / 2, window.Height / 2 - panel.Height / 2};
}

bool TCompileDriver::IsCompanionExtension(std::string_view fileName) {
  std::string ext;
  for (size_t i = fileName.size(); i > 0; --i) {
    char c = fileName[i - 1];
    if (IsPathDelimiter(c)) return false;
    if (c == '.') {
      for (char e : fileName.substr(i - 1)) ext += static_cast<char>(std::tolower(static_cast<unsigned char>(e)));
      break;
    }
  }
  return ext == ".###" || ext == ".tmp" || ext == ".txt";
}

void TCompileDriver::CleanCompilerFolder() { CleanFolder(CompilerFolder()); }

void TCompileDriver::CleanFolder(const std::string& folder) {
  if (folder.empty()) return;  // no compiler folder: nothing of the compiler's to clean
  for (const char* mask : {"*.tmp", "*.###"})
    for (const auto& file : FindFilesByMask(folder, mask)) DeleteFileQuiet(file);
}

void TCompileDriver::SetStatus(const char* text) { m_host.SetStatusText(text); }

void TCompileDriver::CloseRunningCompilers() {
  for (int tries = 1;; ++tries) {
    SetStatus(compile_status::Killing);
    m_session.CloseCompilerWindow();
    if (!m_session.CompilerWindowExists()) return;
    if (tries >= m_timings.CloseTries)
      throw ECompileError(
          "A mission compiler that is already running does not close. End it (compiler.exe) and compile again.");
    m_host.PumpMessages();
    std::this_thread::sleep_for(m_timings.ClosePause);
  }
}

void TCompileDriver::WaitForCompilerWindow() {
  const auto deadline = std::chrono::steady_clock::now() + m_timings.WindowWait;
  for (;;) {
    m_host.PumpMessages();
    if (m_session.CompilerWindowExists()) return;
    if (std::chrono::steady_clock::now() >= deadline)
      throw ECompileError("The mission compiler did not start: its window did not appear within " +
                          std::to_string(m_timings.WindowWait.count() / 1000) + " seconds.");
    std::this_thread::sleep_for(m_timings.PollPause);
  }
}

void TCompileDriver::RemoveCompanions(const std::string& scriptName) {
  for (const char* ext : {".txt", ".tmp", ".###"}) DeleteFileQuiet(ChangeFileExt(scriptName, ext));
}

void TCompileDriver::RemoveScratchAfterFailure(const std::string& scriptName,
                                               const std::string& compilerFolder) noexcept {
  // Runs while a failure unwinds: nothing here may replace it.
  try {
    RemoveCompanions(scriptName);
    CleanFolder(compilerFolder);
  } catch (...) {
  }
}

void TCompileDriver::Execute() {
  std::string scriptName = m_host.DocumentName();
  if (scriptName.empty()) {
    scriptName = kUntitled;
    m_host.SetDocumentName(scriptName);
  }
  if (scriptName == kUntitled) {
    // Compiling a script nobody named would scatter its companions in the
    // process's current folder; a cancelled Save As cancels the compile.
    if (!m_host.RunSaveAs()) return;
    scriptName = m_host.DocumentName();
    if (scriptName.empty() || scriptName == kUntitled) return;
  }
  if (IsCompanionExtension(scriptName))
    throw ECompileError("The script \"" + scriptName +
                        "\" cannot be compiled under this name: the compiler's scratch files "
                        "(.###, .tmp, .txt) would overwrite it. Save it as a .mis script and compile again.");

  // Looked for before the session is first asked anything: asking starts
  // the compiler's side (Wine, whose first start of a prefix sets it up at
  // length), and a missing compiler must be told at once.
  const std::string compilerFolder = FindCompilerFolder();

  TWindowGuard windowGuard(m_host);
  CleanFolder(compilerFolder);
  const TPanelSize origin = CentredOrigin(m_host.MainWindowSize(), m_host.ProgressPanelSize());
  m_host.MoveProgressPanel(origin.Width, origin.Height);
  m_host.SetMainWindowEnabled(false);
  m_host.SetProgressPanelVisible(true);
  m_host.PumpMessages();

  CloseRunningCompilers();

  // The companions carry the name the compiler can be told, which it also
  // gives the files it makes from it. A script it cannot be told about stops
  // the compile here, before anything is written.
  SetStatus(compile_status::HandOver);
  const std::string compilerName = m_session.CompilerScriptName(scriptName);
  const std::string handOverFile = ChangeFileExt(compilerName, ".###");
  const std::string tmpFile = ChangeFileExt(compilerName, ".tmp");
  std::vector<std::string> lines;
  int selected = -1;
  try {
    m_host.SaveEditorText(handOverFile);
    m_session.WriteHandOverValue(handOverFile);

    SetStatus(compile_status::TempFile);
    CopyFileNoOverwrite(handOverFile, tmpFile);  // an existing .tmp is kept

    SetStatus(compile_status::Executing);
    m_session.StartCompiler(compilerFolder);
    WaitForCompilerWindow();

    SetStatus(compile_status::Prepared);
    m_session.SendPrepare();
    SetStatus(compile_status::Compiling);
    m_session.SendCompile();

    m_host.ShowOutputPanel();
    SetStatus(compile_status::Checking);
    m_host.SetOutputLines({}, -1, 0);
    lines = SplitLines(m_session.ReadMessages());
    selected = lines.empty() ? -1 : static_cast<int>(lines.size()) - 1;
    m_host.SetOutputLines(lines, selected, 0);
    m_host.PumpMessages();

    m_host.PumpMessages();
    SetStatus(compile_status::Closing);
    m_session.CloseCompilerWindow();
  } catch (const ECompilerUnavailable&) {
    // The compiler cannot be reached, so there is none to close; asking
    // would only start the unreachable bridge again.
    RemoveScratchAfterFailure(compilerName, compilerFolder);
    throw;
  } catch (...) {
    // The command stops here, but it must not leave a compiler behind.
    try {
      if (m_session.CompilerWindowExists()) m_session.CloseCompilerWindow();
    } catch (...) {
    }
    RemoveScratchAfterFailure(compilerName, compilerFolder);
    throw;
  }

  RemoveCompanions(compilerName);

  // The compiler's own two heading lines give way to the editor's.
  const std::string longName = m_host.LongPathOf(scriptName);
  EraseLine(lines, 1, selected);
  EraseLine(lines, 0, selected);
  InsertLine(lines, 0, "Preprocessing: " + longName, selected);
  InsertLine(lines, 1, "Compiling: " + longName, selected);
  m_host.SetOutputLines(lines, selected, kHeadingLines);

  // The compiler names its output after the short form of the script's
  // name; the user finds it under the name they chose. An empty short form
  // (the conversion failed and said so) names no file at all.
  const std::string shortName = m_host.ShortPathOf(scriptName);
  if (!shortName.empty())
    RenameNoReplace(ChangeFileExt(m_session.CompilerShortPath(shortName), ".scr"), ChangeFileExt(longName, ".scr"));

  CleanFolder(compilerFolder);
  m_host.PumpMessages();
}

}  // namespace penwick
