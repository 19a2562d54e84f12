// The Compile command of the main window over a stand-in compiler session:
// the progress panel, the disabled window, the output panel and Close.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <filesystem>

#include "AppTestSupport.h"
#include "compile/OutputPanel.h"
#include "compile/QtPanelSplitter.h"
#include "platform/CompilerSession.h"

namespace penwick::test {
namespace {

// A compiler that lists fixed messages; it records what the window looked
// like while it was being driven.
class TStandInSession : public TCompilerSession {
public:
  struct TSeen {
    bool WindowEnabled = true;
    bool ProgressVisible = false;
    QString Status;
    QPoint ProgressPos;
    // The box as drawn while the window is disabled, and as it would be drawn enabled.
    QImage ProgressDisabled;
    QImage ProgressEnabled;
  };
  TStandInSession(TfrmMain& window, TSeen& seen, std::string messages, bool fails)
      : m_window(window), m_seen(seen), m_messages(std::move(messages)), m_fails(fails) {}

  bool CompilerWindowExists() override { return m_open; }
  void CloseCompilerWindow() override { m_open = false; }
  void WriteHandOverValue(const std::string&) override {}
  void StartCompiler(const std::string&) override {
    if (m_fails) throw ECompilerUnavailable("Wine is not installed");
    m_open = true;
  }
  void SendPrepare() override {}
  void SendCompile() override {
    m_seen.WindowEnabled = m_window.isEnabled();
    m_seen.ProgressVisible = m_window.pnlProgress()->isVisible();
    m_seen.Status = m_window.lblStatus()->text();
    m_seen.ProgressPos = m_window.pnlProgress()->pos();
    m_seen.ProgressDisabled = m_window.pnlProgress()->grab().toImage();
    m_window.setEnabled(true);
    m_seen.ProgressEnabled = m_window.pnlProgress()->grab().toImage();
    m_window.setEnabled(false);
  }
  std::string ReadMessages() override { return m_messages; }
  std::string CompilerShortPath(const std::string& path) override { return path; }

private:
  TfrmMain& m_window;
  TSeen& m_seen;
  std::string m_messages;
  bool m_fails;
  bool m_open = false;
};

class Compile : public TMainWindowTest {
protected:
  void StartWithCompiler(const std::string& messages, bool fails = false) {
    Start();
    std::filesystem::create_directory(PathOf("compiler"));
    WriteFile(PathOf("compiler") + "/compiler.exe", "MZ");  // looked for before the session is asked
    Window().SetCompilerFolder(PathOf("compiler"));
    Window().SetCompilerSessionFactory([this, messages, fails] {
      return std::make_unique<TStandInSession>(Window(), m_seen, messages, fails);
    });
  }
  std::vector<std::string> OutputLines() { return Window().pnlOutPut()->Lines(); }

  TStandInSession::TSeen m_seen;
};

TEST_F(Compile, ShowsTheMessagesUnderTheEditorAndGivesTheWindowBack) {
  StartWithCompiler("heading 1\rheading 2\rError: 'p1' on line 2\rDone\r");
  const std::string script = PathOf("level.mis");
  WriteFile(script, "LEVELSTART\r\nPLAYER_PED p1\r\nLEVELEND");
  m_dialogs.AnswerOpen(script);
  Trigger("mniOpen");
  EXPECT_FALSE(Window().pnlOutPut()->isVisible()) << "hidden until the first compile";
  Trigger("mniCompile");

  EXPECT_FALSE(m_seen.WindowEnabled);
  EXPECT_TRUE(m_seen.ProgressVisible);
  EXPECT_EQ(m_seen.Status, "Compiling...");
  const QSize outer = Window().frameGeometry().size();
  EXPECT_EQ(m_seen.ProgressPos, QPoint(outer.width() / 2 - 185 / 2, outer.height() / 2 - 34 / 2));
  EXPECT_EQ(m_seen.ProgressDisabled, m_seen.ProgressEnabled) << "the box stays readable in the disabled window";
  EXPECT_TRUE(Window().isEnabled());
  EXPECT_FALSE(Window().pnlProgress()->isVisible());
  EXPECT_TRUE(m_dialogs.Asked("Error").empty());

  EXPECT_TRUE(Window().pnlOutPut()->isVisible());
  EXPECT_TRUE(Window().pnlOutPut()->OutPut()->isVisible());
  EXPECT_EQ(OutputLines(), (std::vector<std::string>{"Preprocessing: " + script, "Compiling: " + script,
                                                     "Error: 'p1' on line 2", "Done"}));
  EXPECT_FALSE(Editor().Modified()) << "the compile neither saves nor marks the script";

  // Jump from the message, then Close hides the panel with the document.
  QListWidget* list = Window().pnlOutPut()->OutPut();
  list->setCurrentRow(2);
  Window().pnlOutPut()->OutPutDblClick();
  EXPECT_EQ(Editor().CaretPos(), (TPoint{11, 1}));
  EXPECT_EQ(Editor().SelText(), "p1");
  Trigger("mniClose");
  EXPECT_FALSE(Window().pnlOutPut()->isVisible());
  EXPECT_FALSE(Window().pnlOutPut()->splMain()->isVisible());
}

TEST_F(Compile, UntitledScriptIsSavedFirst) {
  StartWithCompiler("");
  Type("LEVELSTART");
  const std::string script = PathOf("new.mis");
  m_dialogs.AnswerSave(script);
  Trigger("tbtCompile");
  EXPECT_EQ(Window().DocumentName(), script);
  EXPECT_EQ(ReadFile(script), "LEVELSTART");
  EXPECT_EQ(OutputLines(), (std::vector<std::string>{"Preprocessing: " + script, "Compiling: " + script}));
}

TEST_F(Compile, MissingCompilerIsReportedAndTheWindowComesBack) {
  StartWithCompiler("", /*fails=*/true);
  const std::string script = PathOf("a.mis");
  WriteFile(script, "x");
  m_dialogs.AnswerOpen(script);
  Trigger("mniOpen");
  Trigger("mniCompile");
  ASSERT_EQ(m_dialogs.Asked("Error").size(), 1u);
  EXPECT_EQ(m_dialogs.Asked("Error")[0].Text, "Wine is not installed");
  EXPECT_TRUE(Window().isEnabled());
  EXPECT_FALSE(Window().pnlProgress()->isVisible());
  EXPECT_FALSE(std::filesystem::exists(PathOf("a.###"))) << "no scratch file is left behind";
}

TEST_F(Compile, BadLineNumberInAMessageIsShownAsAnError) {
  StartWithCompiler("h1\rh2\rError on line ?\r");
  const std::string script = PathOf("b.mis");
  WriteFile(script, "x");
  m_dialogs.AnswerOpen(script);
  Trigger("mniOpen");
  Trigger("mniCompile");
  QListWidget* list = Window().pnlOutPut()->OutPut();
  const QRect row = list->visualItemRect(list->item(2));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
  ASSERT_EQ(m_dialogs.Asked("Error").size(), 1u);
  EXPECT_EQ(m_dialogs.Asked("Error")[0].Text, "'?' is not a valid integer value");
}

}  // namespace
}  // namespace penwick::test
