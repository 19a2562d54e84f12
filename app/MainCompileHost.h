// The compile command's view of the main window: the document, the progress
// panel, the output panel and the editor's text.
#pragma once

#include "compile/CompileHost.h"

namespace penwick {

class TfrmMain;

class TMainCompileHost : public TCompileHost {
public:
  explicit TMainCompileHost(TfrmMain& window) : m_window(window) {}

  std::string DocumentName() const override;
  void SetDocumentName(const std::string& name) override;
  bool RunSaveAs() override;
  void SaveEditorText(const std::string& fileName) override;
  void SetStatusText(const std::string& text) override;
  void PumpMessages() override;
  TPanelSize MainWindowSize() const override;
  TPanelSize ProgressPanelSize() const override;
  void MoveProgressPanel(int left, int top) override;
  void SetProgressPanelVisible(bool visible) override;
  void SetMainWindowEnabled(bool enabled) override;
  void ShowOutputPanel() override;
  void SetOutputLines(const std::vector<std::string>& lines, int selected, int headingLines) override;
  std::string ShortPathOf(const std::string& path) override;
  std::string LongPathOf(const std::string& path) override;
  std::string ExecutableFolder() const override;
  // penwick/compiler in the user's data folder.
  std::string UserCompilerFolder() const override;

private:
  TfrmMain& m_window;
};

}  // namespace penwick
