// The compile driver's host for programs without a window: the script is a
// file on disk, the output panel is a list of lines.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "compile/CompileHost.h"

namespace penwick {

// The "editor's text" is the script file's content as it is on disk, copied
// byte for byte to the companion, so a compile leaves the same files as the
// editor does after loading the script unchanged. There is no Save As: a
// script that is not on disk cannot be named here.
class TConsoleCompileHost : public TCompileHost {
public:
  // `scriptName` is made absolute. Status texts go to `statusStream` when
  // given (one line each), short-path failures to `errorStream`.
  TConsoleCompileHost(const std::string& scriptName, std::ostream& errorStream, std::ostream* statusStream = nullptr);

  std::string DocumentName() const override { return m_documentName; }
  void SetDocumentName(const std::string& name) override { m_documentName = name; }
  bool RunSaveAs() override { return false; }
  // Throws std::runtime_error when the script cannot be read or the
  // companion not written.
  void SaveEditorText(const std::string& fileName) override;
  void SetStatusText(const std::string& text) override;
  void PumpMessages() override {}
  TPanelSize MainWindowSize() const override { return {}; }
  TPanelSize ProgressPanelSize() const override { return {}; }
  void MoveProgressPanel(int, int) override {}
  void SetProgressPanelVisible(bool) override {}
  void SetMainWindowEnabled(bool) override {}
  void ShowOutputPanel() override {}
  void SetOutputLines(const std::vector<std::string>& lines, int selected, int headingLines) override;
  std::string ShortPathOf(const std::string& path) override;
  std::string LongPathOf(const std::string& path) override;
  std::string ExecutableFolder() const override;
  // penwick/compiler in the user's data folder.
  std::string UserCompilerFolder() const override;

  // The lines the output panel would hold after the compile, as given.
  const std::vector<std::string>& OutputLines() const { return m_lines; }
  int SelectedLine() const { return m_selected; }
  // The same lines as the panel shows them, all in UTF-8: the headings as
  // they are (file names are UTF-8 here), the compiler's lines converted
  // from the display code page.
  std::vector<std::string> DisplayLines() const;

  // Folder of the running program, without a trailing separator.
  static std::string RunningProgramFolder();

private:
  std::string m_scriptName;
  std::string m_documentName;
  std::ostream& m_errors;
  std::ostream* m_status;
  std::vector<std::string> m_lines;
  int m_selected = -1;
  int m_headingLines = 0;
};

}  // namespace penwick
