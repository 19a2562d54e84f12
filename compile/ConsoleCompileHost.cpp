// The window-less compile host used by penwick-cli.
#include "compile/ConsoleCompileHost.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <stdexcept>

#include "platform/AbsolutePath.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/UserFolders.h"

namespace penwick {

TConsoleCompileHost::TConsoleCompileHost(const std::string& scriptName, std::ostream& errorStream,
                                         std::ostream* statusStream)
    : m_errors(errorStream), m_status(statusStream) {
  m_scriptName = AbsolutePath(scriptName);
  m_documentName = m_scriptName;
}

void TConsoleCompileHost::SaveEditorText(const std::string& fileName) {
  std::ifstream in(m_scriptName, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot open file \"" + m_scriptName + "\".");
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("Cannot create file \"" + fileName + "\".");
  out << in.rdbuf();
  out.flush();
  if (!out) throw std::runtime_error("Cannot write file \"" + fileName + "\".");
}

void TConsoleCompileHost::SetStatusText(const std::string& text) {
  if (m_status) *m_status << text << '\n' << std::flush;
}

void TConsoleCompileHost::SetOutputLines(const std::vector<std::string>& lines, int selected, int headingLines) {
  m_lines = lines;
  m_selected = selected;
  m_headingLines = headingLines;
}

std::vector<std::string> TConsoleCompileHost::DisplayLines() const {
  std::vector<std::string> shown;
  for (size_t i = 0; i < m_lines.size(); ++i)
    shown.push_back(static_cast<int>(i) < m_headingLines ? m_lines[i] : TCodePage::Default().ToUtf8(m_lines[i]));
  return shown;
}

std::string TConsoleCompileHost::ShortPathOf(const std::string& path) {
  if (std::optional<std::string> shortForm = SystemShortPath(path)) return *shortForm;
  m_errors << "SHRT414 - Error!\r\nPlease contact Odrin\n";
  return {};
}

std::string TConsoleCompileHost::LongPathOf(const std::string& path) { return SystemLongPath(path); }

std::string TConsoleCompileHost::ExecutableFolder() const { return RunningProgramFolder(); }

std::string TConsoleCompileHost::UserCompilerFolder() const { return penwick::UserCompilerFolder(); }

std::string TConsoleCompileHost::RunningProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return ".";
  return self.parent_path().string();
}

}  // namespace penwick
