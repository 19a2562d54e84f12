// A stand-in for the game's mission compiler, for tests: the same window
// class, message list and commands, with behaviour a test can steer.
//
// Steering:
// - environment PENWICK_STANDIN=nowindow: end at once without a window;
//   PENWICK_STANDIN=stubborn: ignore WM_CLOSE (a test ends it otherwise);
// - a script line containing "standin messages=N": list N messages (default 3);
// - a script line containing "standin longline": one message of 5,000 characters.
// On 40001 it takes the file named by the hand-over value and leaves scratch
// files in its working folder and a ".txt" beside the script; on 40003 it
// lists two heading lines and its messages, and writes the compiled script
// beside the script under the script's short name with the extension ".scr".
// Like the real compiler and its hook, it reads the hand-over value as 8-bit
// text in the ANSI code page and opens and makes files by 8-bit names.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

HWND g_list = nullptr;
std::string g_source;  // the file named by the hand-over value
std::string g_text;    // its content, as taken on 40001
bool g_read = false;   // whether that file could be opened
bool g_stubborn = false;

std::string ReadHandOver() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Fennick", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  DWORD type = 0;
  LONG result = RegQueryValueExA(key, "varnokmiscompilerdllhookfilename", nullptr, &type,
                                 reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS && type == REG_SZ ? std::string(data) : std::string();
}

// The file's bytes, opened by its 8-bit name; empty when it cannot be read.
std::string ReadNamedFile(const std::string& name) {
  std::string text;
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

void WriteNamedFile(const std::string& name, const std::string& text) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

std::string ChangeExt(const std::string& name, const std::string& ext) {
  size_t slash = name.find_last_of("\\/:");
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name + ext;
  return name.substr(0, dot) + ext;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

void Prepare() {
  g_source = ReadHandOver();
  g_read = GetFileAttributesA(g_source.c_str()) != INVALID_FILE_ATTRIBUTES;
  g_text = ReadNamedFile(g_source);
  // What the real compiler leaves behind: scratch in its own folder, and a
  // listing beside the script.
  WriteNamedFile("stand-in.tmp", "scratch");
  WriteNamedFile("stand-in.###", "scratch");
  WriteNamedFile(ChangeExt(g_source, ".txt"), "listing of " + g_source);
}

void Compile() {
  SendMessageA(g_list, LB_RESETCONTENT, 0, 0);
  auto add = [](const std::string& line) { SendMessageA(g_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str())); };
  add("Varnok mission compiler (stand-in)");
  add("Reading " + g_source);
  if (!g_read) add("Error: cannot open the source file");
  const std::vector<std::string> lines = Lines(g_text);
  int wanted = 3;
  bool longLine = false;
  for (const auto& line : lines) {
    size_t at = line.find("standin messages=");
    if (at != std::string::npos) wanted = std::atoi(line.c_str() + at + 17);
    if (line.find("standin longline") != std::string::npos) longLine = true;
  }
  int listed = 0;
  for (size_t i = 0; i < lines.size() && listed < wanted; ++i) {
    std::istringstream words(lines[i]);
    std::string word;
    if (!(words >> word)) continue;
    add("Error: unknown word '" + word + "' on line " + std::to_string(i + 1));
    ++listed;
  }
  if (longLine) add("Long: " + std::string(5000, 'x') + " end");
  // The compiled script goes beside the script, under its short name.
  std::string script = ChangeExt(g_source, ".mis");
  if (GetFileAttributesA(script.c_str()) == INVALID_FILE_ATTRIBUTES) script = g_source;
  char shortName[MAX_PATH] = {};
  DWORD length = GetShortPathNameA(script.c_str(), shortName, MAX_PATH);
  const std::string target = ChangeExt(length > 0 && length < MAX_PATH ? std::string(shortName) : script, ".scr");
  WriteNamedFile(target, "VARNOK-SCR\r\n" + g_text);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (wParam == 40001) Prepare();
      if (wParam == 40003) Compile();
      return 0;
    case WM_CLOSE:
      if (!g_stubborn) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  const char* mode = std::getenv("PENWICK_STANDIN");
  if (mode && std::strcmp(mode, "nowindow") == 0) return 0;
  g_stubborn = mode && std::strcmp(mode, "stubborn") == 0;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "VPSkelWinClass";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowA("VPSkelWinClass", "Mission compiler", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                              400, 300, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  g_list = CreateWindowA("LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 380, 260, window,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(200)), instance, nullptr);
  ShowWindow(window, show);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
