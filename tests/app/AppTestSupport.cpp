// Shared set-up of the main-window tests.
#include "AppTestSupport.h"

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace penwick::test {

TfrmMain& TMainWindowTest::Start(const TStartup& startup) {
  m_window = std::make_unique<TfrmMain>(m_dialogs, Setup(startup.ScriptPath, startup.ProgramFolder));
  if (!startup.FromSettingsFile) {
    m_window->SetCreateNewStart(startup.CreateNewStart);
    m_window->SetOpenLastUsed(startup.OpenLastUsed);
    m_window->SetEmptyScr(startup.EmptyScr);
    m_window->SetWndMax(startup.WndMax);
  }
  m_window->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
  m_window->activateWindow();
  QApplication::processEvents();
  return *m_window;
}

TMainWindowSetup TMainWindowTest::Setup(const std::string& scriptPath, const std::string& programFolder) {
  TMainWindowSetup setup;
  setup.ScriptPath = scriptPath;
  setup.ProgramFolder = programFolder;
  setup.ExecutablePath = ExecutablePath();
  setup.SettingsFile = SettingsPath();
  setup.Association = m_association;
  setup.Help = m_help;
  setup.PrefsView = m_prefsView;
  setup.StylesView = m_stylesView;
  return setup;
}

QAction* TMainWindowTest::Item(const char* objectName) {
  auto* action = m_window->findChild<QAction*>(objectName);
  if (!action) ADD_FAILURE() << "no action " << objectName;
  return action;
}

void TMainWindowTest::Trigger(const char* objectName) {
  Item(objectName)->trigger();
  QApplication::processEvents();
}

void TMainWindowTest::Type(const char* text) { QTest::keyClicks(&Editor(), text); }

std::string TMainWindowTest::PathOf(const std::string& name) const {
  return m_folder.filePath(QString::fromStdString(name)).toStdString();
}

void TMainWindowTest::WriteFile(const std::string& path, const std::string& content) const {
  std::ofstream(path, std::ios::binary) << content;
}

std::string TMainWindowTest::ReadFile(const std::string& path) const {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

bool TMainWindowTest::Exists(const std::string& path) const { return std::filesystem::exists(path); }

std::string TMainWindowTest::Title() const { return m_window->windowTitle().toStdString(); }

void TMainWindowTest::TearDown() {
  if (m_window) {
    // Leave without questions: the document is dropped as it is.
    m_window->syntxm1()->SetModified(false);
    m_window->close();
    m_window.reset();
  }
  EXPECT_TRUE(m_dialogs.AllAnswered()) << "a scripted answer was not used";
}

}  // namespace penwick::test
