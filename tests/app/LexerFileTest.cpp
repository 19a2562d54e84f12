// The lexer file at start-up: which copy of mis2.lcf is loaded, what the user
// is told when none can be used, and that the editor then draws in the
// built-in palette, not in the bare definition's black.
#include <filesystem>
#include <optional>
#include <string>

#include "AppTestSupport.h"
#include "language/MissionLexer.h"
#include "language/MissionPalette.h"
#include "support/WorkingDirectoryGuard.h"
#include "syntax/StreamProperties.h"
#include "syntax/SyntAnalyzer.h"

namespace penwick::test {
namespace {

namespace fs = std::filesystem;

std::string NamingFile(const std::string& lexerName) {
  return "object syntnlyzr1: TSyntAnalyzer\r\n  LexerName = '" + lexerName + "'\r\nend\r\n";
}

// Three lines that cannot be applied between two that can.
const char* const kPropertyErrors =
    "object syntnlyzr1: TSyntAnalyzer\r\n  LexerName = 'applied first'\r\n  Bogus = 1\r\n  Extentions = 3\r\n"
    "  Unknown.Path = 'x'\r\n  LineComment = '#'\r\nend\r\n";

// The definition as the window names it, made by `build`, in its text form.
template <typename F>
std::string DefinitionText(F build) {
  TSyntAnalyzer analyzer;
  analyzer.SetName("syntnlyzr1");
  build(analyzer);
  return analyzer.SaveToText();
}
std::string BuiltInPalette() { return DefinitionText([](TSyntAnalyzer& a) { BuildDefaultMissionLexer(a); }); }

class LexerFileAtStartUp : public TMainWindowTest {
protected:
  void SetUp() override {
    fs::create_directories(PathOf("work"));
    fs::create_directories(PathOf("program"));
    m_workingDirectory.emplace(PathOf("work"));
  }
  // The copies as the open errors name them.
  std::string WorkCopy() const { return (fs::current_path() / "mis2.lcf").string(); }
  std::string ProgramCopy() const { return PathOf("program/mis2.lcf"); }

  // The default start opens an untitled script on showing: proof that
  // start-up went on after the lexer file.
  TSyntAnalyzer& StartUp(const std::string& programFolder) {
    TStartup startup;
    startup.ProgramFolder = programFolder;
    Start(startup);
    EXPECT_EQ(Window().DocumentName(), "Untitled.mis");
    EXPECT_EQ(Editor().SyntaxAnalyzer(), Window().syntnlyzr1());
    return *Window().syntnlyzr1();
  }
  TSyntAnalyzer& StartUp() { return StartUp(PathOf("program")); }

  std::optional<TWorkingDirectoryGuard> m_workingDirectory;
};

TEST_F(LexerFileAtStartUp, WorkingDirectoryCopyIsPreferredToTheOneBesideTheProgram) {
  WriteFile(WorkCopy(), NamingFile("working directory"));
  WriteFile(ProgramCopy(), NamingFile("beside the program"));
  TSyntAnalyzer& lexer = StartUp();
  EXPECT_TRUE(m_dialogs.Asked().empty());
  EXPECT_EQ(lexer.Name(), "syntnlyzr1");
  EXPECT_EQ(lexer.LexerName(), "working directory");
}

TEST_F(LexerFileAtStartUp, CopyBesideTheProgramIsUsedWhenTheWorkingDirectoryHasNone) {
  WriteFile(ProgramCopy(), NamingFile("beside the program"));
  EXPECT_EQ(StartUp().LexerName(), "beside the program");
  EXPECT_TRUE(m_dialogs.Asked().empty());
}

TEST_F(LexerFileAtStartUp, ShippedCopyBesideTheRealExecutableIsFound) {
  TSyntAnalyzer& lexer = StartUp("");  // the build puts mis2.lcf beside every program
  EXPECT_TRUE(m_dialogs.Asked().empty()) << m_dialogs.Asked().front().Text;
  EXPECT_EQ(lexer.SaveToText(), BuiltInPalette());
}

TEST_F(LexerFileAtStartUp, NoCopyIsToldOnceAndTheBuiltInPaletteIsUsed) {
  TSyntAnalyzer& lexer = StartUp();
  ASSERT_EQ(m_dialogs.Asked().size(), 1u);
  EXPECT_EQ(m_dialogs.Asked()[0].Kind, "Error");
  const std::string& text = m_dialogs.Asked()[0].Text;
  for (const std::string& copy : {WorkCopy(), ProgramCopy()})
    EXPECT_NE(text.find("Cannot open file \"" + copy + "\"."), std::string::npos) << text;
  EXPECT_EQ(lexer.SaveToText(), BuiltInPalette());
  EXPECT_NE(lexer.SaveToText(), DefinitionText([](TSyntAnalyzer& a) { BuildMissionLexer(a); }));
}

TEST_F(LexerFileAtStartUp, SyntaxErrorIsShownWithItsLineAndTheBuiltInPaletteIsUsed) {
  WriteFile(WorkCopy(), "object syntnlyzr1: TSyntAnalyzer\r\n  LexerName = \r\n");
  WriteFile(ProgramCopy(), NamingFile("beside the program"));  // not tried: the first copy opened
  TSyntAnalyzer& lexer = StartUp();
  ASSERT_EQ(m_dialogs.Asked().size(), 1u);
  EXPECT_EQ(m_dialogs.Asked()[0].Kind, "Error");
  EXPECT_NE(m_dialogs.Asked()[0].Text.find("on line 3"), std::string::npos) << m_dialogs.Asked()[0].Text;
  EXPECT_EQ(lexer.SaveToText(), BuiltInPalette());
}

TEST_F(LexerFileAtStartUp, PropertyErrorAnsweredAllAsksNoMoreInThatLoad) {
  WriteFile(WorkCopy(), kPropertyErrors);
  m_dialogs.AnswerIgnoreError(TDialogAnswer::All);
  TSyntAnalyzer& lexer = StartUp();
  ASSERT_EQ(m_dialogs.Asked().size(), 1u);
  EXPECT_EQ(m_dialogs.Asked()[0].Kind, "IgnoreError");
  EXPECT_EQ(lexer.LexerName(), "applied first");
  EXPECT_EQ(lexer.LineComment(), "#");
}

TEST_F(LexerFileAtStartUp, PropertyErrorAnsweredNoIsShownAndWhatWasAppliedKept) {
  WriteFile(WorkCopy(), kPropertyErrors);
  m_dialogs.AnswerIgnoreError(TDialogAnswer::No);
  TSyntAnalyzer& lexer = StartUp();
  ASSERT_EQ(m_dialogs.Asked("Error").size(), 1u);
  EXPECT_EQ(m_dialogs.Asked("Error")[0].Text, m_dialogs.Asked("IgnoreError")[0].Text);
  // Not repaired with the palette: exactly what the load applied before it stopped.
  EXPECT_EQ(lexer.SaveToText(), DefinitionText([](TSyntAnalyzer& a) {
              BuildMissionLexer(a);
              EXPECT_THROW(a.LoadFromText(kPropertyErrors, [](const std::string&) { return false; }), EStreamReadError);
            }));
  EXPECT_EQ(lexer.LexerName(), "applied first");
}

}  // namespace
}  // namespace penwick::test
