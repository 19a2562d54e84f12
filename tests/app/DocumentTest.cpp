// The document lifecycle: New, Open, Save, Save As, Close and the
// save-changes question, with every answer the user can give.
#include <QApplication>
#include <QTest>
#include <filesystem>

#include "AppTestSupport.h"
#include "app/WelcomePanel.h"
#include "language/TemplateScript.h"

namespace penwick::test {
namespace {

class Document : public TMainWindowTest {
protected:
  // An open, titled script whose text was then edited.
  std::string OpenModified(const std::string& name = "old.mis", const std::string& content = "old") {
    const std::string path = PathOf(name);
    WriteFile(path, content);
    m_dialogs.AnswerOpen(path);
    Trigger("mniOpen");
    Type("!");
    EXPECT_TRUE(Editor().Modified());
    m_dialogs.ClearAsked();
    return path;
  }
};

TEST_F(Document, NewAsksBeforeItReplacesAModifiedDocument) {
  Start();
  Type("abc");
  // Cancel abandons New: the work is still there.
  m_dialogs.AnswerConfirm(TDialogAnswer::Cancel);
  QTest::keyClick(&Editor(), Qt::Key_N, Qt::ControlModifier);
  ASSERT_EQ(m_dialogs.Asked("Confirm").size(), 1u);
  EXPECT_EQ(m_dialogs.Asked("Confirm")[0].Text, "Save changes to Untitled.mis?");
  EXPECT_EQ(Editor().Lines().Text(), "abc");
  EXPECT_TRUE(Editor().Modified());
  // No: replaced.
  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  Trigger("mniNew");
  EXPECT_EQ(Editor().Lines().TextLength(), 0);
  EXPECT_FALSE(Editor().Modified());
  EXPECT_FALSE(Editor().CanUndo());
  EXPECT_EQ(Window().StatusPanelText(1), "");
  // Not modified: no question at all.
  m_dialogs.ClearAsked();
  Trigger("mniNew");
  EXPECT_TRUE(m_dialogs.Asked().empty());
}

TEST_F(Document, NewFromTemplateIsNotModified) {
  Start(TStartup::Template());
  EXPECT_EQ(Editor().Lines().Text(), TemplateScriptText());
  EXPECT_EQ(Editor().Lines().Count(), 40);
  EXPECT_EQ(Editor().Lines().Line(39), "LEVELEND");
  EXPECT_FALSE(Editor().Modified());
  EXPECT_FALSE(Editor().CanUndo());
  EXPECT_EQ(Editor().CaretPos(), (TPoint{0, 0}));
  EXPECT_TRUE(Enabled("mniSaveAs"));
  Trigger("mniClose");
  EXPECT_TRUE(m_dialogs.Asked().empty());
  EXPECT_FALSE(Window().DocumentOpen());
}

TEST_F(Document, OpenAsksAboutChangesFirst) {
  const std::string next = PathOf("next.mis");
  WriteFile(next, "next");
  Start();
  const std::string old = OpenModified();

  // Cancel: nothing else happens.
  m_dialogs.AnswerConfirm(TDialogAnswer::Cancel);
  Trigger("mniOpen");
  ASSERT_EQ(m_dialogs.Asked().size(), 1u);
  EXPECT_EQ(m_dialogs.Asked()[0].Text, "Save changes to " + old + "?");
  EXPECT_EQ(Window().DocumentName(), old);
  EXPECT_TRUE(Editor().Modified());

  // No, then the dialog cancelled: the document stays as it was.
  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  m_dialogs.AnswerOpen(std::nullopt);
  Trigger("mniOpen");
  EXPECT_EQ(Window().DocumentName(), old);
  EXPECT_EQ(Editor().Lines().Text(), "!old");
  EXPECT_EQ(ReadFile(old), "old");

  // Yes: saved, then opened.
  m_dialogs.AnswerConfirm(TDialogAnswer::Yes);
  m_dialogs.AnswerOpen(next);
  Trigger("mniOpen");
  EXPECT_EQ(ReadFile(old), "!old");
  EXPECT_EQ(Window().DocumentName(), next);
  EXPECT_EQ(Title(), "[" + next + "] - Varnok Penwick v2.0");
  EXPECT_EQ(Editor().Lines().Text(), "next");
  EXPECT_FALSE(Editor().Modified());
}

TEST_F(Document, OpenDialogIsConfiguredAndRemembersTheName) {
  const std::string path = PathOf("a.mis");
  WriteFile(path, "a");
  Start();
  m_dialogs.AnswerOpen(path);
  m_dialogs.AnswerOpen(std::nullopt);
  Trigger("mniOpen");
  Trigger("mniOpen");
  const auto asked = m_dialogs.Asked("Open");
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].File.Filter,
            "Varnok Mission Scripts (*.mis)|*.mis|Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
  EXPECT_EQ(asked[0].File.DefaultExt, "mis");
  EXPECT_TRUE(asked[0].File.FileMustExist);
  EXPECT_EQ(asked[1].Text, path) << "the last chosen name is offered again";
}

TEST_F(Document, SaveOfUntitledRunsSaveAs) {
  const std::string path = PathOf("new.mis");
  Start();
  Type("abc");
  m_dialogs.AnswerSave(std::nullopt);
  Window().UpdateCommandStates();
  Trigger("tbtSave");
  EXPECT_EQ(Window().DocumentName(), "Untitled.mis");
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Window().StatusPanelText(1), "Modified");

  m_dialogs.AnswerSave(path);
  Trigger("mniSave");
  ASSERT_EQ(m_dialogs.Asked("Save").size(), 2u);
  EXPECT_EQ(m_dialogs.Asked("Save")[1].File.Filter, "Varnok Mission Script (*.mis)|*.mis|Text File (*.txt)|*.txt");
  EXPECT_TRUE(m_dialogs.Asked("Save")[1].File.OverwritePrompt);
  EXPECT_EQ(ReadFile(path), "abc");
  EXPECT_EQ(Window().DocumentName(), path);
  EXPECT_EQ(Title(), "[" + path + "] - Varnok Penwick v2.0");
  EXPECT_FALSE(Editor().Modified());
  EXPECT_FALSE(Editor().CanUndo());
  EXPECT_EQ(Window().StatusPanelText(1), "");

  // A titled document is written directly, even when named Untitled.mis.
  Type("x");
  Trigger("mniSave");
  EXPECT_EQ(m_dialogs.Asked("Save").size(), 2u);
  EXPECT_EQ(ReadFile(path), "abcx");
}

TEST_F(Document, SavedAsUntitledInAFolderKeepsItsPath) {
  const std::string path = PathOf("Untitled.mis");
  Start();
  Type("a");
  m_dialogs.AnswerSave(path);
  Trigger("mniSaveAs");
  Type("b");
  Trigger("mniSave");
  EXPECT_EQ(m_dialogs.Asked("Save").size(), 1u);
  EXPECT_EQ(ReadFile(path), "ab");
}

TEST_F(Document, SaveAsOverAnExistingFileAsksAgain) {
  const std::string path = PathOf("exists.mis");
  WriteFile(path, "keep");
  Start();
  Type("new");
  for (TDialogAnswer answer : {TDialogAnswer::No, TDialogAnswer::Cancel}) {
    m_dialogs.AnswerSave(path);
    m_dialogs.AnswerConfirm(answer);
    Trigger("mniSaveAs");
    EXPECT_EQ(ReadFile(path), "keep");
    EXPECT_EQ(Window().DocumentName(), "Untitled.mis");
    EXPECT_TRUE(Editor().Modified());
  }
  ASSERT_EQ(m_dialogs.Asked("Confirm").size(), 2u);
  EXPECT_EQ(m_dialogs.Asked("Confirm")[0].Text, "OK to overwrite " + path);
  m_dialogs.AnswerSave(path);
  m_dialogs.AnswerConfirm(TDialogAnswer::Yes);
  Trigger("mniSaveAs");
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_EQ(Window().DocumentName(), path);
  EXPECT_FALSE(Editor().Modified());
}

TEST_F(Document, FailedSaveKeepsTheDocumentModified) {
  const std::string target = PathOf("doc.mis");
  Start();
  const std::string path = OpenModified("doc.mis", "on disk");
  // The script's folder is replaced by one the file cannot be written into:
  // a directory now stands where the file was.
  std::filesystem::remove(target);
  std::filesystem::create_directory(target);
  Trigger("mniSave");
  ASSERT_EQ(m_dialogs.Asked("Error").size(), 1u);
  EXPECT_NE(m_dialogs.Asked("Error")[0].Text.find(path), std::string::npos);
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Window().StatusPanelText(1), "Modified");
  EXPECT_TRUE(std::filesystem::is_directory(target));

  // Save As into a folder that does not exist fails the same way.
  m_dialogs.AnswerSave(PathOf("missing/doc.mis"));
  Trigger("mniSaveAs");
  EXPECT_EQ(m_dialogs.Asked("Error").size(), 2u);
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Window().DocumentName(), path);
}

TEST_F(Document, CloseWhoseSaveFailsReportsItAndKeepsTheDocument) {
  const std::string target = PathOf("doc.mis");
  Start();
  const std::string path = OpenModified("doc.mis", "on disk");
  std::filesystem::remove(target);
  std::filesystem::create_directory(target);
  m_dialogs.AnswerConfirm(TDialogAnswer::Yes);
  Trigger("mniClose");
  ASSERT_EQ(m_dialogs.Asked("Error").size(), 1u);
  EXPECT_NE(m_dialogs.Asked("Error")[0].Text.find(path), std::string::npos);
  EXPECT_TRUE(Window().DocumentOpen());
  EXPECT_EQ(Window().DocumentName(), path);
  EXPECT_TRUE(Editor().Modified());
  EXPECT_FALSE(Window().WelcomePanel()->isVisible());
}

TEST_F(Document, UnreadableFileKeepsThePreviousDocument) {
  Start();
  const std::string old = OpenModified("old.mis", "old text");
  const std::string title = Title();
  const std::string missing = PathOf("missing.mis");
  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  m_dialogs.AnswerOpen(missing);
  Trigger("mniOpen");
  ASSERT_EQ(m_dialogs.Asked("Error").size(), 1u);
  EXPECT_EQ(m_dialogs.Asked("Error")[0].Text.rfind("Cannot open file \"" + missing + "\". ", 0), 0u);
  EXPECT_EQ(Window().DocumentName(), old);
  EXPECT_EQ(Title(), title);
  EXPECT_EQ(Editor().Lines().Text(), "!old text");
  EXPECT_TRUE(Editor().Modified());
  EXPECT_TRUE(Editor().CanUndo());

  // A folder cannot be read as a script either.
  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  m_dialogs.AnswerOpen(PathOf(""));
  Trigger("mniOpen");
  EXPECT_EQ(m_dialogs.Asked("Error").size(), 2u);
  EXPECT_EQ(Window().DocumentName(), old);
}

TEST_F(Document, OpenKeepsTheFileBytesAndLineBreaks) {
  const std::string path = PathOf("lf.mis");
  WriteFile(path, "a\nb\n");
  Start();
  m_dialogs.AnswerOpen(path);
  Trigger("mniOpen");
  QTest::keyClick(&Editor(), Qt::Key_End);
  QTest::keyClick(&Editor(), Qt::Key_Return);
  Type("c");
  Trigger("mniSave");
  EXPECT_EQ(ReadFile(path), "a\nc\nb\n");
}

TEST_F(Document, ANewScriptAfterAUtf16OneIsEightBitTextWithCrLfBreaks) {
  const std::string wide = PathOf("wide.mis");
  WriteFile(wide, std::string("\xFF\xFE" "a\0\n\0", 6));
  Start();
  m_dialogs.AnswerOpen(wide);
  Trigger("mniOpen");
  Trigger("mniNew");
  Type("x");
  QTest::keyClick(&Editor(), Qt::Key_Return);
  Type("y");
  m_dialogs.AnswerSave(PathOf("new.mis"));
  Trigger("mniSave");
  EXPECT_EQ(ReadFile(PathOf("new.mis")), "x\r\ny");
}

// A UTF-8 script holding Cyrillic letters: they are shown as "?", and "?"
// must not be written over them without the user's consent.
TEST_F(Document, LettersTheCodePageLacksAreToldOnceAndNeverOverwrittenWithoutConsent) {
  const std::string path = PathOf("cyrillic.mis");
  const std::string original = "\xEF\xBB\xBF" "SET \xD0\xB0\xD0\xB1 = 1\r\n";
  WriteFile(path, original);
  Start();
  m_dialogs.AnswerOpen(path);
  Trigger("mniOpen");
  ASSERT_EQ(m_dialogs.Asked("Message").size(), 1u);
  EXPECT_NE(m_dialogs.Asked("Message")[0].Text.find("\"" + path + "\""), std::string::npos);
  EXPECT_NE(m_dialogs.Asked("Message")[0].Text.find("2 characters"), std::string::npos);
  EXPECT_EQ(Editor().Lines().Text(), "SET ?? = 1\r\n");
  Type("!");

  // Any answer but Yes writes nothing and keeps the document modified.
  for (TDialogAnswer answer : {TDialogAnswer::No, TDialogAnswer::Cancel}) {
    m_dialogs.AnswerConfirm(answer);
    Trigger("mniSave");
    EXPECT_EQ(ReadFile(path), original);
    EXPECT_TRUE(Editor().Modified());
  }
  ASSERT_EQ(m_dialogs.Asked("Confirm").size(), 2u);
  EXPECT_NE(m_dialogs.Asked("Confirm")[0].Text.find("\"" + path + "\""), std::string::npos);

  // Saved elsewhere: no question, and the original is still guarded.
  const std::string copy = PathOf("copy.mis");
  m_dialogs.AnswerSave(copy);
  Trigger("mniSaveAs");
  EXPECT_EQ(m_dialogs.Asked("Confirm").size(), 2u);
  EXPECT_EQ(ReadFile(copy), "\xEF\xBB\xBF" "!SET ?? = 1\r\n");
  Type("?");
  m_dialogs.AnswerConfirm(TDialogAnswer::Yes);  // "OK to overwrite"
  m_dialogs.AnswerConfirm(TDialogAnswer::No);   // the letters
  m_dialogs.AnswerSave(path);
  Trigger("mniSaveAs");
  EXPECT_EQ(ReadFile(path), original);

  // Yes writes, and once written there is nothing left to ask about.
  m_dialogs.AnswerConfirm(TDialogAnswer::Yes);
  m_dialogs.AnswerConfirm(TDialogAnswer::Yes);
  m_dialogs.AnswerSave(path);
  Trigger("mniSaveAs");
  EXPECT_EQ(ReadFile(path), "\xEF\xBB\xBF" "!?SET ?? = 1\r\n");
  EXPECT_FALSE(Editor().Modified());
  Type("+");
  Trigger("mniSave");
  EXPECT_EQ(m_dialogs.Asked("Confirm").size(), 6u);
  EXPECT_EQ(m_dialogs.Asked("Message").size(), 1u);
  EXPECT_TRUE(m_dialogs.AllAnswered());
}

TEST_F(Document, CloseAnswers) {
  Start();
  Type("abc");
  // Cancel leaves the document, the title and the commands unchanged.
  m_dialogs.AnswerConfirm(TDialogAnswer::Cancel);
  Trigger("mniClose");
  EXPECT_TRUE(m_dialogs.Asked("Error").empty());
  EXPECT_TRUE(Window().DocumentOpen());
  EXPECT_EQ(Window().DocumentName(), "Untitled.mis");
  EXPECT_EQ(Title(), "[Untitled.mis] - Varnok Penwick v2.0");
  EXPECT_TRUE(Enabled("mniClose"));
  EXPECT_TRUE(Enabled("mniSaveAs"));
  EXPECT_FALSE(Window().WelcomePanel()->isVisible());

  // Yes with the Save As dialog cancelled: the changes would be lost, so the
  // document stays open.
  m_dialogs.AnswerConfirm(TDialogAnswer::Yes);
  m_dialogs.AnswerSave(std::nullopt);
  Trigger("mniClose");
  EXPECT_TRUE(Window().DocumentOpen());
  EXPECT_TRUE(Editor().Modified());

  // Yes with a name: saved, then closed.
  const std::string path = PathOf("closed.mis");
  m_dialogs.AnswerConfirm(TDialogAnswer::Yes);
  m_dialogs.AnswerSave(path);
  Trigger("mniClose");
  EXPECT_EQ(ReadFile(path), "abc");
  EXPECT_FALSE(Window().DocumentOpen());
  EXPECT_TRUE(Window().DocumentName().empty());
}

TEST_F(Document, NoQuestionAfterCloseOffersTheHiddenText) {
  Start();
  Type("abc");
  m_dialogs.AnswerConfirm(TDialogAnswer::No);
  Trigger("mniClose");
  m_dialogs.ClearAsked();
  // Neither opening another script nor ending the program asks about the
  // closed document, whose name is now empty.
  const std::string path = PathOf("b.mis");
  WriteFile(path, "b");
  m_dialogs.AnswerOpen(path);
  Trigger("mniOpen");
  EXPECT_TRUE(m_dialogs.Asked("Confirm").empty());
  EXPECT_EQ(Editor().Lines().Text(), "b");
  Trigger("mniClose");
  Window().close();
  EXPECT_TRUE(m_dialogs.Asked("Confirm").empty());
  EXPECT_TRUE(Window().ShutDownDone());
}

TEST_F(Document, ModifiedPanelFollowsTheText) {
  Start();
  EXPECT_EQ(Window().StatusPanelText(1), "");
  Type("a");
  EXPECT_EQ(Window().StatusPanelText(1), "Modified");
  QTest::keyClick(&Editor(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Window().StatusPanelText(1), "");
  Type("b");
  m_dialogs.AnswerSave(PathOf("m.mis"));
  Trigger("mniSave");
  EXPECT_EQ(Window().StatusPanelText(1), "");
}

}  // namespace
}  // namespace penwick::test
