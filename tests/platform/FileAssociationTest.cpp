// The association check and the rule that takes the program out of an open
// command, as both platforms use them.
#include "platform/FileAssociation.h"

#include <gtest/gtest.h>

namespace penwick {
namespace {

TEST(ProgramOfOpenCommand, QuotedAndUnquotedCommands) {
  // Quoted: the text between the first pair of quotes, whatever follows.
  EXPECT_EQ(ProgramOfOpenCommand("\"C:\\Program Files\\Penwick\\penwick.exe\" /edit \"%1\""),
            "C:\\Program Files\\Penwick\\penwick.exe");
  EXPECT_EQ(ProgramOfOpenCommand("\"C:\\Prog\\penwick.exe"), "C:\\Prog\\penwick.exe");
  // Unquoted: up to the program's extension and the one character after it.
  EXPECT_EQ(ProgramOfOpenCommand("C:\\Prog\\penwick.exe \"%1\""), "C:\\Prog\\penwick.exe ");
  EXPECT_EQ(ProgramOfOpenCommand("C:\\Program Files\\penwick.exe %1"), "C:\\Program Files\\penwick.exe ");
  EXPECT_EQ(ProgramOfOpenCommand("C:\\Prog\\penwick.exe"), "C:\\Prog\\penwick.exe");
  // A dot in a folder name is not the program's extension.
  EXPECT_EQ(ProgramOfOpenCommand("C:\\Tools.v2\\penwick.exe \"%1\""), "C:\\Tools.v2\\penwick.exe ");
  EXPECT_EQ(ProgramOfOpenCommand("D:\\a.b\\c.d\\penwick.exe"), "D:\\a.b\\c.d\\penwick.exe");
  // ...unless the folder holds the program's extension: the first occurrence ends it.
  EXPECT_EQ(ProgramOfOpenCommand("C:\\old.exe.d\\penwick.exe %1"), "C:\\old.exe.");
}

TEST(ProgramOfOpenCommand, CommandsThatNameNoProgram) {
  EXPECT_EQ(ProgramOfOpenCommand(""), "");
  EXPECT_EQ(ProgramOfOpenCommand(" \"%1\""), "");  // what unassociating leaves
  EXPECT_EQ(ProgramOfOpenCommand("C:\\Prog\\penwick \"%1\""), "");  // no extension after the last "\"
  EXPECT_EQ(ProgramOfOpenCommand("C:penwick"), "");
  EXPECT_EQ(ProgramOfOpenCommand("\"\" %1"), "");
}

class TFixedAssociation : public TFileAssociation {
public:
  explicit TFixedAssociation(std::string program) : m_program(std::move(program)) {}
  std::string AssociatedProgram(const std::string& extension) override {
    m_asked = extension;
    return m_program;
  }
  void WriteAssociation(const std::string&, const std::string&) override {}
  std::string m_asked;

private:
  std::string m_program;
};

TEST(IsAssociated, ComparesTheTrimmedProgramExactly) {
  TFixedAssociation association("  C:\\Prog\\penwick.exe ");
  EXPECT_TRUE(IsAssociated(association, ".mis", "C:\\Prog\\penwick.exe"));
  EXPECT_EQ(association.m_asked, ".mis");
  EXPECT_FALSE(IsAssociated(association, ".mis", "c:\\prog\\PENWICK.EXE"));
  EXPECT_FALSE(IsAssociated(association, ".mis", "C:\\Other\\penwick.exe"));
  TFixedAssociation tabbed("\tC:\\Prog\\penwick.exe");  // only spaces are trimmed
  EXPECT_FALSE(IsAssociated(tabbed, ".mis", "C:\\Prog\\penwick.exe"));
  TFixedAssociation none("   ");
  EXPECT_FALSE(IsAssociated(none, ".mis", ""));
}

}  // namespace
}  // namespace penwick
