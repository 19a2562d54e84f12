// The compile host over the main window's widgets.
#include "app/MainCompileHost.h"

#include <QCoreApplication>
#include <QLabel>

#include "app/Main.h"
#include "compile/OutputPanel.h"
#include "editor/SyntaxMemo.h"
#include "platform/CodePage.h"
#include "platform/UserFolders.h"

namespace penwick {

std::string TMainCompileHost::DocumentName() const { return m_window.DocumentName(); }

void TMainCompileHost::SetDocumentName(const std::string& name) { m_window.SetDocumentName(name); }

bool TMainCompileHost::RunSaveAs() { return m_window.actSaveAsExecute(); }

void TMainCompileHost::SaveEditorText(const std::string& fileName) {
  m_window.syntxm1()->Lines().SaveToFile(fileName);
}

void TMainCompileHost::SetStatusText(const std::string& text) {
  m_window.lblStatus()->setText(QString::fromStdString(TCodePage::Default().ToUtf8(text)));
  PumpMessages();
}

void TMainCompileHost::PumpMessages() { QCoreApplication::processEvents(); }

TPanelSize TMainCompileHost::MainWindowSize() const {
  const QSize outer = m_window.frameGeometry().size();
  return {outer.width(), outer.height()};
}

TPanelSize TMainCompileHost::ProgressPanelSize() const {
  const QSize size = m_window.pnlProgress()->size();
  return {size.width(), size.height()};
}

void TMainCompileHost::MoveProgressPanel(int left, int top) { m_window.pnlProgress()->move(left, top); }

void TMainCompileHost::SetProgressPanelVisible(bool visible) {
  m_window.pnlProgress()->setVisible(visible);
  if (visible) m_window.pnlProgress()->raise();
}

void TMainCompileHost::SetMainWindowEnabled(bool enabled) { m_window.setEnabled(enabled); }

void TMainCompileHost::ShowOutputPanel() { m_window.pnlOutPut()->ShowPanel(); }

void TMainCompileHost::SetOutputLines(const std::vector<std::string>& lines, int selected, int headingLines) {
  m_window.pnlOutPut()->SetLines(lines, selected, headingLines);
}

std::string TMainCompileHost::ShortPathOf(const std::string& path) { return m_window.ShortPathOf(path); }

std::string TMainCompileHost::LongPathOf(const std::string& path) { return m_window.LongPathOf(path); }

std::string TMainCompileHost::ExecutableFolder() const {
  return QCoreApplication::applicationDirPath().toStdString();
}

std::string TMainCompileHost::UserCompilerFolder() const { return penwick::UserCompilerFolder(); }

}  // namespace penwick
