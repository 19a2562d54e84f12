// What the compile driver needs from the main window: the document, the
// progress panel, the output panel and the editor's text.
#pragma once

#include <string>
#include <vector>

namespace penwick {

struct TPanelSize {
  int Width = 0;
  int Height = 0;
};

// Implemented by the main window (and by penwick-cli's console host). Every
// call happens on the GUI thread inside the compile command. Any call may
// throw; the driver's closing step still re-enables the window and hides the
// progress panel.
class TCompileHost {
public:
  virtual ~TCompileHost() = default;

  // `DocumentName`: empty, "Untitled.mis", or the script's path.
  virtual std::string DocumentName() const = 0;
  virtual void SetDocumentName(const std::string& name) = 0;
  // Runs the Save As command; false when the user cancelled the dialog (or the
  // overwrite question), true when the script was saved. On true
  // DocumentName() holds the chosen name.
  virtual bool RunSaveAs() = 0;
  // Writes the editor's whole current text to `fileName` through the line
  // store's save (byte-order mark and line breaks as the document has them),
  // without touching the document's name or modified state. Throws on failure.
  virtual void SaveEditorText(const std::string& fileName) = 0;

  // Sets `lblStatus` and pumps messages once so that it paints.
  virtual void SetStatusText(const std::string& text) = 0;
  // Dispatches every message waiting in the queue and returns.
  virtual void PumpMessages() = 0;

  // Outer size of the main window and size of `pnlProgress`.
  virtual TPanelSize MainWindowSize() const = 0;
  virtual TPanelSize ProgressPanelSize() const = 0;
  // Places `pnlProgress` with its top-left corner at (left, top) in the main
  // window's coordinates.
  virtual void MoveProgressPanel(int left, int top) = 0;
  virtual void SetProgressPanelVisible(bool visible) = 0;
  virtual void SetMainWindowEnabled(bool enabled) = 0;

  // `pnlOutPut` shown, `OutPut` and `pnlOpts` visible, `splMain` shown.
  virtual void ShowOutputPanel() = 0;
  // Replaces the lines of `OutPut`; `selected` is the index of the selected
  // line, or -1 for none. The first `headingLines` lines are the editor's
  // headings, which name the script by its file name and so are in the
  // encoding of file names (UTF-8 on Linux); the others are the compiler's
  // 8-bit text in the display code page.
  virtual void SetOutputLines(const std::vector<std::string>& lines, int selected, int headingLines) = 0;

  // The path routines of the document lifecycle: short (8.3) and long form.
  // ShortPathOf reports its own failure to the user and returns "".
  virtual std::string ShortPathOf(const std::string& path) = 0;
  virtual std::string LongPathOf(const std::string& path) = 0;
  // Folder of the editor's executable, without a trailing separator.
  virtual std::string ExecutableFolder() const = 0;
  // The place a user may put the compiler into without rights beyond their
  // own (penwick/compiler in the user's data folder), without a trailing
  // separator; the folder need not exist. Empty when the host has no such
  // place, which leaves the folder beside the executable the only one.
  virtual std::string UserCompilerFolder() const = 0;
};

}  // namespace penwick
