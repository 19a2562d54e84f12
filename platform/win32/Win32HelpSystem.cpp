// The help viewer on Windows: HTML Help, loaded when first asked for.
#include <windows.h>

#include <algorithm>

#include "platform/HelpSystem.h"

namespace penwick {
namespace {

// HtmlHelpA's commands.
constexpr UINT kDisplayTopic = 0x0000;
constexpr UINT kDisplayToc = 0x0001;

using THtmlHelpA = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

class TWin32Help : public THelpSystem {
public:
  void ShowContents(const std::string& helpFile) override { Call(helpFile, kDisplayToc, 0); }

  void ShowTopic(const std::string& helpFile, const std::string& topic) override {
    // A topic is addressed inside the file as "file::/topic".
    Call(helpFile + "::/" + topic, kDisplayTopic, 0);
  }

private:
  void Call(std::string target, UINT command, DWORD_PTR data) {
    // The program names its folders with "/"; HTML Help wants the
    // system's separator in the file part (the topic part keeps "/").
    const std::size_t topic = target.find("::/");
    for (std::size_t i = 0; i < std::min(topic, target.size()); ++i)
      if (target[i] == '/') target[i] = '\\';
    if (!m_htmlHelp) {
      HMODULE module = LoadLibraryA("hhctrl.ocx");
      if (module)
        m_htmlHelp = reinterpret_cast<THtmlHelpA>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
      if (!m_htmlHelp) throw EHelpError("HTML Help is not installed on this system.");
    }
    // What a missing file shows is the viewer's own message.
    m_htmlHelp(GetDesktopWindow(), target.c_str(), command, data);
  }

  THtmlHelpA m_htmlHelp = nullptr;
};

}  // namespace

std::shared_ptr<THelpSystem> SystemHelp() { return std::make_shared<TWin32Help>(); }

}  // namespace penwick
