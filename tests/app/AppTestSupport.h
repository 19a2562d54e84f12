// Shared set-up of the main-window tests: a window answered by scripted
// dialogs, files in a scratch folder, and short ways to reach its commands.
#pragma once

#include <QAction>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "editor/SyntaxMemo.h"
#include "platform/HelpSystem.h"
#include "support/FakeFileAssociation.h"
#include "support/ScriptedDialogs.h"

namespace penwick::test {

// Records what the window asks the help viewer for.
class TRecordingHelp : public THelpSystem {
public:
  void ShowContents(const std::string& helpFile) override { Asked.push_back(helpFile + " contents"); }
  void ShowTopic(const std::string& helpFile, const std::string& topic) override {
    Asked.push_back(helpFile + " topic " + topic);
  }
  std::vector<std::string> Asked;
};

struct TStartup {
  std::string ScriptPath;       // first command-line argument
  bool CreateNewStart = true;   // the defaults of a missing settings file...
  bool OpenLastUsed = false;
  bool EmptyScr = true;
  bool WndMax = false;          // ...except that tests keep the window small
  std::string ProgramFolder;    // where mis2.lcf is looked for after the working directory; empty: the executable's
  // Take the start-up choices from the settings file instead of the fields above.
  bool FromSettingsFile = false;

  // "Show Welcome Screen": neither start-up choice; optionally a script argument.
  static TStartup Welcome(std::string scriptPath = {}) {
    TStartup startup;
    startup.ScriptPath = std::move(scriptPath);
    startup.CreateNewStart = false;
    return startup;
  }
  // New scripts start from the template.
  static TStartup Template() {
    TStartup startup;
    startup.EmptyScr = false;
    return startup;
  }
};

class TMainWindowTest : public ::testing::Test {
protected:
  // Creates and shows the window; the start-up choice is applied on showing.
  TfrmMain& Start(const TStartup& startup = {});
  TfrmMain& Window() { return *m_window; }
  // What a window of this test is created with: its settings file in the
  // scratch folder, the association in m_association, the executable named
  // by ExecutablePath().
  TMainWindowSetup Setup(const std::string& scriptPath = {}, const std::string& programFolder = {});
  std::string SettingsPath() const { return PathOf("penwick.ini"); }
  static std::string ExecutablePath() { return "/opt/penwick/penwick"; }
  TSyntaxMemo& Editor() { return *m_window->syntxm1(); }

  QAction* Item(const char* objectName);
  bool Enabled(const char* objectName) { return Item(objectName)->isEnabled(); }
  // Triggers a menu item or toolbar button as a click would (nothing when disabled).
  void Trigger(const char* objectName);
  // Types into the editor with real key events.
  void Type(const char* text);

  std::string PathOf(const std::string& name) const;
  void WriteFile(const std::string& path, const std::string& content) const;
  std::string ReadFile(const std::string& path) const;
  bool Exists(const std::string& path) const;
  std::string Title() const;

  void TearDown() override;

  TScriptedDialogs m_dialogs;
  QTemporaryDir m_folder;
  std::shared_ptr<TFakeFileAssociation> m_association = std::make_shared<TFakeFileAssociation>();
  std::shared_ptr<TRecordingHelp> m_help = std::make_shared<TRecordingHelp>();
  // The preferences forms windows of this test are given; empty: the Qt forms.
  std::shared_ptr<TPrefsView> m_prefsView;
  std::shared_ptr<TStylesView> m_stylesView;
  std::unique_ptr<TfrmMain> m_window;
};

}  // namespace penwick::test
