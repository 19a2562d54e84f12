// The output panel under the editor: the compiler's messages, its Close
// button, and the jump from a message to the script line it names.
#pragma once

#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace penwick {

class TSyntaxMemo;
class TQtPanelSplitter;

// A text that should have been a whole number; the message reads
// "'<text>' is not a valid integer value".
class EConvertError : public std::runtime_error {
public:
  explicit EConvertError(const std::string& text) : std::runtime_error("'" + text + "' is not a valid integer value") {}
};

// The place a compiler message names: the quoted word (empty when none) and
// the 1-based script line (0 when none).
struct TMessagePlace {
  std::string Word;
  int Line = 0;
};

// `pnlOutPut`: the list `OutPut` left of the button column `pnlOpts`. The
// splitter `splMain` above it belongs to the same arrangement and is made
// by the panel, for the owner to put into its layout.
class TOutputPanel : public QFrame {
  Q_OBJECT
public:
  // `editor` is where a double click jumps to; not owned, must outlive the panel.
  explicit TOutputPanel(TSyntaxMemo& editor, QWidget* parent = nullptr);

  TQtPanelSplitter* splMain() const { return m_splitter; }
  QListWidget* OutPut() const { return m_list; }
  QFrame* pnlOpts() const { return m_options; }
  QPushButton* btn_closemessages() const { return m_close; }
  QPushButton* btn_save() const { return m_save; }
  QPushButton* btn_gotomessage() const { return m_goTo; }

  // Replaces the lines (8-bit, in the display code page); `selected` is the
  // index of the line to select, -1 for none. The first `fileNameLines`
  // lines name files and are shown in the encoding of file names instead.
  void SetLines(const std::vector<std::string>& lines, int selected, int fileNameLines = 0);
  std::vector<std::string> Lines() const;
  // The panel shown: `pnlOutPut` shown, `OutPut` and `pnlOpts` visible, `splMain` shown.
  void ShowPanel();

  // Where an error of a double click goes (the event loop's report);
  // without one the error is thrown on.
  std::function<void(std::exception_ptr)> OnError;

  // The quoted word and line number of a message. The line number is read
  // from the four characters after the first "on line ", trimmed, taking
  // their leading digits ("12: e" gives 12); none there raises EConvertError.
  static TMessagePlace ParseMessagePlace(const std::string& message);

public slots:
  // Hides the panel, the list and the splitter; the lines stay.
  void btn_closemessagesClick();
  // Puts the editor's caret on the place the selected line names and
  // selects the quoted word there. Nothing happens without a selected line.
  void OutPutDblClick();

private:
  TSyntaxMemo& m_editor;
  TQtPanelSplitter* m_splitter;
  QListWidget* m_list;
  QFrame* m_options;
  QPushButton* m_close;
  QPushButton* m_save;
  QPushButton* m_goTo;
};

}  // namespace penwick
