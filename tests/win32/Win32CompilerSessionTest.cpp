// The Win32 compiler session against a window of this process and against
// the stand-in compiler (run under Wine on Linux).
#include "platform/win32/Win32CompilerSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "platform/Paths.h"
#include "platform/win32/HandOverPath.h"
#include "platform/win32/WidePath.h"
#include "tests/support/TestFiles.h"

namespace penwick {
namespace {

using penwick::test::ReadFile;
using penwick::test::WriteFile;

bool Exists(const std::string& name) { return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ModuleFolder() {
  char name[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, name, MAX_PATH);
  std::string path(name);
  return path.substr(0, path.find_last_of('\\') + 1);
}

// A fresh folder under the temporary folder, removed with its files.
class TScratchFolder {
public:
  TScratchFolder() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "penwick-win32-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(s_count++) + "\\";
    CreateDirectoryA(m_path.c_str(), nullptr);
  }
  ~TScratchFolder() { Remove(m_path); }
  const std::string& Path() const { return m_path; }

private:
  static void Remove(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          Remove(folder + name + "\\");
        else
          DeleteFileA((folder + name).c_str());
      } while (FindNextFileA(find, &data));
      FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
  }
  static inline int s_count = 0;
  std::string m_path;
};

// A compiler-like window in this process: the message list with id 200 among
// decoys that must not be taken for it.
class TLocalCompilerWindow {
public:
  TLocalCompilerWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kCompilerWindowClass;
    RegisterClassA(&windowClass);
    m_window = CreateWindowA(kCompilerWindowClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                             windowClass.hInstance, nullptr);
    Child("LISTBOX", 201);
    Child("EDIT", 200);
    m_list = Child("LISTBOX", 200);
  }
  ~TLocalCompilerWindow() {
    if (IsWindow(m_window)) DestroyWindow(m_window);
  }
  HWND Window() const { return m_window; }
  HWND List() const { return m_list; }
  void Add(const std::string& line) { SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str())); }

private:
  HWND Child(const char* className, int id) {
    return CreateWindowA(className, "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, m_window,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  }
  HWND m_window = nullptr;
  HWND m_list = nullptr;
};

TEST(Win32CompilerSession, FindsTheMessageListByParentClassAndIdentifier) {
  EXPECT_EQ(TWin32CompilerSession::FindCompilerMessageList(), nullptr);
  TLocalCompilerWindow compiler;
  ASSERT_NE(compiler.Window(), nullptr);
  EXPECT_EQ(TWin32CompilerSession::FindCompilerWindow(), compiler.Window());
  HWND found = TWin32CompilerSession::FindCompilerMessageList();
  ASSERT_NE(found, nullptr);
  // The scan may find the list under its short handle value; it must name
  // the same window.
  EXPECT_EQ(GetDlgCtrlID(found), 200);
  compiler.Add("marker line");
  EXPECT_EQ(TWin32CompilerSession::ReadCompilerMessages(found), "marker line\r");
}

TEST(Win32CompilerSession, ReadsEveryLineWholeWhateverItsLength) {
  TLocalCompilerWindow compiler;
  EXPECT_EQ(TWin32CompilerSession::ReadCompilerMessages(compiler.List()), "");
  const std::string longLine = "on line 7 " + std::string(3000, 'w') + " end";
  compiler.Add("first");
  compiler.Add("");
  compiler.Add(longLine);
  compiler.Add(std::string(2047, 'a'));
  compiler.Add(std::string(2048, 'b'));
  EXPECT_EQ(TWin32CompilerSession::ReadCompilerMessages(compiler.List()),
            "first\r\r" + longLine + "\r" + std::string(2047, 'a') + "\r" + std::string(2048, 'b') + "\r");
  EXPECT_EQ(TWin32CompilerSession::ReadCompilerMessages(nullptr), "");
}

TEST(Win32CompilerSession, CallsWithoutACompilerDoNothing) {
  TWin32CompilerSession session;
  EXPECT_FALSE(session.CompilerWindowExists());
  session.CloseCompilerWindow();  // nothing to close: no effect, no failure
  session.SendPrepare();
  session.SendCompile();
  EXPECT_EQ(session.ReadMessages(), "");
}

TEST(Win32CompilerSession, TheHandOverValueIsWrittenUnderTheUsersKey) {
  TWin32CompilerSession session;
  session.WriteHandOverValue("C:\\Missions\\Harbour Night Raid.###");
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Fennick", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  char data[MAX_PATH] = {};
  DWORD size = sizeof data, type = 0;
  ASSERT_EQ(RegQueryValueExA(key, kHandOverValue, nullptr, &type, reinterpret_cast<BYTE*>(data), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(data, "C:\\Missions\\Harbour Night Raid.###");
}

TEST(Win32CompilerSession, AMissingCompilerIsReportedByName) {
  TScratchFolder folder;
  TWin32CompilerSession session;
  try {
    session.StartCompiler(folder.Path());
    FAIL() << "no error";
  } catch (const ECompilerUnavailable& e) {
    EXPECT_EQ(std::string(e.what()), "The mission compiler was not found: " + folder.Path() + "compiler.exe");
  }
}

TEST(Win32Paths, ShortAndLongFormsOfALongName) {
  TScratchFolder folder;
  const std::string longName = folder.Path() + "Harbour Night Raid.mis";
  WriteFile(longName, "x");
  const std::optional<std::string> shortName = SystemShortPath(longName);
  ASSERT_TRUE(shortName.has_value());
  EXPECT_EQ(shortName->find(' '), std::string::npos) << *shortName;
  EXPECT_TRUE(Exists(*shortName));
  EXPECT_EQ(SystemLongPath(*shortName), SystemLongPath(longName));
  EXPECT_NE(SystemLongPath(*shortName).find("Harbour Night Raid.mis"), std::string::npos);
  EXPECT_FALSE(SystemShortPath(folder.Path() + "missing.mis").has_value());
  EXPECT_EQ(SystemLongPath(folder.Path() + "missing.mis"), folder.Path() + "missing.mis");
}

// A short-name table standing in for the file system.
THandOverPath::TShortPathLookup ShortNames(std::map<std::wstring, std::wstring> table) {
  return [table](const std::wstring& path) -> std::optional<std::wstring> {
    auto found = table.find(path);
    if (found == table.end()) return std::nullopt;
    return found->second;
  };
}

TEST(HandOverPath, KeepsWhatTheCodePageHoldsAndTakesShortFormsForTheRest) {
  const auto shortNames = ShortNames({
      {L"C:\\Папка", L"C:\\____~KE1"},
      {L"C:\\Missões é\\миссия.mis", L"C:\\MISS~ZQK\\____~FKW.MIS"},
      {L"C:\\Папка\\миссия.mis", L"C:\\____~KE1\\____~FKW.MIS"},
  });
  const THandOverPath western(1252, shortNames);
  EXPECT_EQ(western.CompilerForm(L"C:\\Missões é\\ação.###"), L"C:\\Missões é\\ação.###");
  // Only the part the code page lacks changes; the folder keeps its own name.
  EXPECT_EQ(western.CompilerForm(L"C:\\Missões é\\миссия.mis"), L"C:\\Missões é\\____~FKW.MIS");
  EXPECT_EQ(western.CompilerForm(L"C:\\Папка\\plain.###"), L"C:\\____~KE1\\plain.###");
  EXPECT_EQ(western.CompilerForm(L"C:\\Папка\\миссия.mis"), L"C:\\____~KE1\\____~FKW.MIS");
  // No best fit: "Ł" read back as "L" would name another file.
  EXPECT_FALSE(western.SurvivesCodePage(L"C:\\Łódź.mis"));
  EXPECT_TRUE(western.SurvivesCodePage(L"C:\\Ação é.mis"));
  EXPECT_EQ(western.ToCodePage(L"ação"), "a\xE7\xE3o");

  // Another code page holds other letters.
  const THandOverPath cyrillic(1251, shortNames);
  EXPECT_EQ(cyrillic.CompilerForm(L"C:\\Папка\\миссия.mis"), L"C:\\Папка\\миссия.mis");
  EXPECT_THROW(cyrillic.CompilerForm(L"C:\\Missões é\\ação.###"), EHandOverImpossible);
}

TEST(HandOverPath, APathWithoutAShortFormTheCodePageHoldsIsRefusedByName) {
  // Short names switched off: no short form at all, or (as Windows answers
  // then) the long form handed back as the "short" one.
  const THandOverPath noShortNames(1252, [](const std::wstring&) { return std::nullopt; });
  const THandOverPath longAsShort(1252, [](const std::wstring& path) { return path; });
  for (const THandOverPath* handOver : {&noShortNames, &longAsShort}) {
    try {
      handOver->CompilerForm(L"C:\\Missões é\\миссия.mis");
      ADD_FAILURE() << "no error";
    } catch (const EHandOverImpossible& e) {
      EXPECT_STREQ(e.what(),
                   "The mission compiler cannot be told the path \"C:\\Missões é\\миссия.mis\": the file name "
                   "\"миссия.mis\" holds characters that the compiler's code page (1252) lacks, and the system "
                   "keeps no short (8.3) name for it. Rename or move the script and compile again.");
    }
    try {
      handOver->CompilerForm(L"C:\\Папка\\plain.mis");
      ADD_FAILURE() << "no error";
    } catch (const EHandOverImpossible& e) {
      EXPECT_NE(std::string(e.what()).find("the folder \"C:\\Папка\" holds"), std::string::npos) << e.what();
    }
  }
}

TEST(WidePath, ConvertsUtf8BothWaysAndRefusesWhatIsNotUtf8) {
  EXPECT_EQ(WidePathOf("C:\\Missões é\\миссия.mis"), std::wstring(L"C:\\Missões é\\миссия.mis"));
  EXPECT_EQ(Utf8PathOf(L"C:\\Missões é\\миссия.mis"), "C:\\Missões é\\миссия.mis");
  EXPECT_FALSE(WidePathOf("C:\\Miss\xF5" "es.mis").has_value());  // Latin-1, not UTF-8
  EXPECT_FALSE(WidePathOf(std::string("C:\\a\0b.mis", 10)).has_value());
  EXPECT_EQ(WidePathOf(""), std::wstring());
}

// What the compiler's hook sees: the hand-over value read as 8-bit text and
// the file opened by that 8-bit name.
TEST(Win32CompilerSession, TheHookReachesTheCompanionOfAScriptWhoseNameTheCodePageLacks) {
  TScratchFolder folder;
  const std::string script = folder.Path() + "миссия.mis";
  const std::wstring wideScript = *WidePathOf(script);
  HANDLE file = CreateFileW(wideScript.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);

  TWin32CompilerSession session;
  const std::string name = session.CompilerScriptName(script);
  ASSERT_EQ(name.rfind(folder.Path(), 0), 0u) << name;  // the folder stays the script's
  const std::string fileName = name.substr(folder.Path().size());
  EXPECT_TRUE(std::all_of(fileName.begin(), fileName.end(), [](char c) { return c > 0 && c < 0x7F; })) << fileName;
  // The script's short form, from which the compiler names its output, ends
  // in the same name.
  const std::string shortScript = session.CompilerShortPath(script);
  EXPECT_EQ(shortScript.substr(shortScript.rfind('\\') + 1), fileName);

  const std::string companion = name.substr(0, name.rfind('.')) + ".###";
  WriteFile(companion, "LEVELSTART\r\n");
  session.WriteHandOverValue(companion);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Fennick", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  char value[MAX_PATH] = {};
  DWORD size = sizeof value - 1, type = 0;
  ASSERT_EQ(RegQueryValueExA(key, kHandOverValue, nullptr, &type, reinterpret_cast<BYTE*>(value), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(ReadFile(value), "LEVELSTART\r\n") << value;

  EXPECT_THROW(session.CompilerScriptName(folder.Path() + "Miss\xF5" "es.mis"), EHandOverImpossible);
  DeleteFileA(companion.c_str());
  DeleteFileW(wideScript.c_str());
}

// The whole conversation with the stand-in compiler, as the driver holds it.
TEST(Win32CompilerSession, DrivesTheStandInCompilerThroughACompile) {
  TScratchFolder folder;
  const std::string compilerFolder = folder.Path() + "compiler\\";
  CreateDirectoryA(compilerFolder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((ModuleFolder() + "standin-compiler.exe").c_str(), (compilerFolder + "compiler.exe").c_str(),
                        FALSE));
  const std::string script = folder.Path() + "Harbour Night Raid.mis";
  const std::string text = "PLAYER_PED p1 = ( 1.0 , 2.0 , 3.0 ) 25 180\r\n\r\nCAR_DATA c1\r\n; standin longline\r\n";
  WriteFile(script, "saved");
  WriteFile(folder.Path() + "Harbour Night Raid.###", text);

  TWin32CompilerSession session;
  session.WriteHandOverValue(folder.Path() + "Harbour Night Raid.###");
  session.StartCompiler(compilerFolder);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!session.CompilerWindowExists() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(session.CompilerWindowExists()) << "the stand-in compiler did not open its window";
  EXPECT_FALSE(IsWindowVisible(TWin32CompilerSession::FindCompilerWindow())) << "started hidden";

  session.SendPrepare();
  session.SendCompile();
  const std::string messages = session.ReadMessages();
  const std::string expected = "Varnok mission compiler (stand-in)\rReading " + folder.Path() +
                               "Harbour Night Raid.###\rError: unknown word 'PLAYER_PED' on line 1\r"
                               "Error: unknown word 'CAR_DATA' on line 3\rError: unknown word ';' on line 4\rLong: " +
                               std::string(5000, 'x') + " end\r";
  EXPECT_EQ(messages, expected);

  const std::string shortScr = session.CompilerShortPath(script);
  EXPECT_EQ(shortScr.find(' '), std::string::npos);
  const std::string scr = shortScr.substr(0, shortScr.rfind('.')) + ".scr";
  EXPECT_EQ(ReadFile(scr), "VARNOK-SCR\r\n" + text);

  session.CloseCompilerWindow();
  const auto closing = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (session.CompilerWindowExists() && std::chrono::steady_clock::now() < closing)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(session.CompilerWindowExists());
  EXPECT_TRUE(Exists(compilerFolder + "stand-in.tmp"));
}

}  // namespace
}  // namespace penwick
