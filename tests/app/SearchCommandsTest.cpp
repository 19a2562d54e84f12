// Searching and exporting from the main window: Ctrl+F and F3 through the
// window's menu and the editor's keys, the incremental search following the
// find component's options, and "Export to HTML..." writing the page the
// command-line tool writes.
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "AppTestSupport.h"
#include "editor/SearchControl.h"
#include "editor/SyntFindDialog.h"
#include "support/ScriptedSearchForms.h"

namespace penwick::test {
namespace {

class SearchCommands : public TMainWindowTest {
protected:
  // A window with `text` as its document, the caret at its start, and the
  // search forms answered from m_forms.
  void StartWith(const std::string& text) {
    Start();
    Editor().Lines().SetText(text);
    Editor().SetCaretPos(0, 0);
    Editor().SearchControl().SetForms(&m_forms);
  }
  std::vector<TSearchMark> Marks() { return Editor().SearchMarks().Marks(); }
  void TearDown() override {
    if (m_window) Editor().SearchControl().SetForms(nullptr);
    TMainWindowTest::TearDown();
  }

  TScriptedSearchForms m_forms;
};

TEST_F(SearchCommands, CtrlFFindsTheWordAtTheCaretAndF3TheNextOne) {
  StartWith("GENERATOR g1\r\nGENERATOR g2\r\n");
  m_forms.FindAnswers.push_back([](TFindFormData&) { return TFindFormResult::OK; });
  QTest::keyClick(&Editor(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(m_forms.FindShown.size(), 1u);
  EXPECT_EQ(m_forms.FindShown[0].Text, "GENERATOR");
  EXPECT_EQ(m_forms.FindShown[0].Scope, 0);
  EXPECT_EQ(m_forms.FindShown[0].Origin, 0);
  // The search starts right after the caret: the word itself is found.
  EXPECT_EQ(Editor().CaretPos(), (TPoint{9, 0}));
  EXPECT_EQ(Marks(), (std::vector<TSearchMark>{{0, 9}}));
  EXPECT_FALSE(Editor().HaveSelection());

  QTest::keyClick(&Editor(), Qt::Key_F3);
  EXPECT_EQ(Editor().CaretPos(), (TPoint{9, 1}));
  EXPECT_EQ(Marks(), (std::vector<TSearchMark>{{14, 23}}));
  QTest::keyClick(&Editor(), Qt::Key_F3);
  EXPECT_EQ(m_forms.Informations, std::vector<std::string>{"Search string 'GENERATOR' not found."});
  EXPECT_EQ(Editor().CaretPos(), (TPoint{9, 1}));
  EXPECT_TRUE(m_forms.FindShown.size() == 1u) << "F3 shows no form";
}

TEST_F(SearchCommands, ReplaceMenuRunsTheReplaceFormAndOneUndoTakesItBack) {
  StartWith("aaa");
  m_forms.FindAnswers.push_back([](TFindFormData& form) {
    EXPECT_TRUE(form.Replace);
    form.Text = "a";
    form.ReplaceText = "";
    return TFindFormResult::All;
  });
  Trigger("mniReplace");
  EXPECT_EQ(Editor().Lines().Text(), "");
  Window().UpdateCommandStates();
  Trigger("mniUndo");
  EXPECT_EQ(Editor().Lines().Text(), "aaa");
}

TEST_F(SearchCommands, IncrementalSearchTakesTheFindOptionsAndLeavesItsTextForF3) {
  StartWith("abc ABC abc ABC");
  Editor().SetCaretPos(15, 0);
  Window().syntfndlg1()->SetFlags(ftBackward | ftCaseSensitive);
  QTest::keyClick(&Editor(), Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(Editor().IncSearchActive()) << "the option change of the start must not end it";
  EXPECT_TRUE(Editor().IncSearchBack());
  EXPECT_FALSE(Editor().IncSearchIgnoreCase());
  QTest::keyClicks(&Editor(), "ABC");
  EXPECT_EQ(Editor().CaretPos(), (TPoint{12, 0})) << "backward, respecting case";
  EXPECT_EQ(Window().syntfndlg1()->FindText(), "ABC");
  QTest::keyClick(&Editor(), Qt::Key_Escape);
  EXPECT_FALSE(Editor().IncSearchActive());
  EXPECT_EQ(Window().syntfndlg1()->FindText(), "ABC");
  // F3 goes on backward for the same text.
  QTest::keyClick(&Editor(), Qt::Key_F3);
  EXPECT_EQ(Editor().CaretPos(), (TPoint{4, 0}));
  EXPECT_EQ(Marks(), (std::vector<TSearchMark>{{4, 7}}));

  // With the options clear it runs forward and ignores case.
  Window().syntfndlg1()->SetFlags(0);
  Editor().SetCaretPos(0, 0);
  QTest::keyClick(&Editor(), Qt::Key_E, Qt::ControlModifier);
  EXPECT_FALSE(Editor().IncSearchBack());
  EXPECT_TRUE(Editor().IncSearchIgnoreCase());
  QTest::keyClicks(&Editor(), "ab");
  EXPECT_EQ(Window().syntfndlg1()->FindText(), "ab");
  QTest::keyClick(&Editor(), Qt::Key_Escape);
}

TEST_F(SearchCommands, AltGGoesToALineAndRefusesOneBeyondTheEnd) {
  StartWith("one\r\ntwo\r\nthree");
  Editor().SetCaretPos(2, 0);
  m_forms.GotoTexts = {"4", "3"};
  QTest::keyClick(&Editor(), Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(m_forms.Errors, std::vector<std::string>{"Line number must be between 1 and 3"});
  EXPECT_EQ(Editor().CaretPos(), (TPoint{2, 2}));
}

TEST_F(SearchCommands, ExportWritesThePageTheCommandLineToolWrites) {
  const char* source = std::getenv("PENWICK_SOURCE_DIR");
  const char* binary = std::getenv("PENWICK_BINARY_DIR");
  ASSERT_TRUE(source && binary) << "run through ctest";
  const std::string script = (std::filesystem::path(source) / "tests/data/app/template.mis").string();
  // The window loads mis2.lcf from the program's folder; the tool is given the same file.
  const std::string bin = (std::filesystem::path(binary) / "bin").string();
  const std::string expected = PathOf("expected.html");
  const std::string command = "'" + bin + "/penwick-cli' export-html '" + script + "' '" + expected + "' --lexer '" +
                              bin + "/mis2.lcf'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  TStartup startup;
  startup.ProgramFolder = bin;
  Start(startup);
  Editor().Lines().SetText(ReadFile(script));
  const std::string page = PathOf("level.html");
  m_dialogs.AnswerSave(page);
  Trigger("mniExportHtml");
  const auto asked = m_dialogs.Asked("Save");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].File.Title, "Export Script to HTML");
  EXPECT_EQ(asked[0].File.DefaultExt, "html");
  const std::string written = ReadFile(page);
  EXPECT_NE(written.find("<SPAN id=\"Game_Loops\">LEVELSTART</span><br>"), std::string::npos);
  EXPECT_EQ(written, ReadFile(expected));

  // Cancelled: nothing is written.
  std::filesystem::remove(page);
  m_dialogs.AnswerSave(std::nullopt);
  Trigger("mniExportHtml");
  EXPECT_FALSE(Exists(page));
}

}  // namespace
}  // namespace penwick::test
