// The registry association in a scratch key that stands in for
// HKEY_CLASSES_ROOT (run under Wine on Linux).
#include "platform/win32/Win32FileAssociation.h"

#include <gtest/gtest.h>

#include <string>

namespace penwick {
namespace {

// Redirects HKEY_CLASSES_ROOT of this process to a fresh key under
// HKEY_CURRENT_USER for the test's duration, and removes that key afterwards.
class Win32FileAssociation : public ::testing::Test {
protected:
  void SetUp() override {
    m_scratch = "Software\\PenwickTest-" + std::to_string(GetCurrentProcessId()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RegDeleteTreeA(HKEY_CURRENT_USER, m_scratch.c_str());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, m_scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_root,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, m_root), ERROR_SUCCESS);
  }
  void TearDown() override {
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    if (m_root) RegCloseKey(m_root);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_scratch.c_str());
  }

  // The default value of `subKey` in the scratch key; "<none>" when the key
  // or value is missing.
  std::string Read(const std::string& subKey) const {
    char buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueA(m_root, subKey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
      return "<none>";
    return buffer;
  }
  void Write(const std::string& subKey, const std::string& value) {
    ASSERT_EQ(RegSetKeyValueA(m_root, subKey.c_str(), nullptr, REG_SZ, value.c_str(),
                              static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
  }

  std::string m_scratch;
  HKEY m_root = nullptr;
  TWin32FileAssociation m_association;
};

const std::string kProgram = "C:\\Program Files\\Varnok Penwick\\penwick.exe";

TEST_F(Win32FileAssociation, AssociateWritesTheClassicLayoutAndReadsBack) {
  EXPECT_FALSE(IsAssociated(m_association, ".mis", kProgram));
  m_association.WriteAssociation("mis", kProgram);
  EXPECT_EQ(Read(".mis"), "misfile");
  EXPECT_EQ(Read("misfile\\DefaultIcon"), kProgram + ",0");
  EXPECT_EQ(Read("misfile\\shell\\open\\command"), kProgram + " \"%1\"");
  EXPECT_TRUE(IsAssociated(m_association, ".mis", kProgram));
  // Letter case of key names does not matter; the extension is looked up as given.
  EXPECT_TRUE(IsAssociated(m_association, ".MIS", kProgram));
  // The path compares exactly, letter case included.
  EXPECT_FALSE(IsAssociated(m_association, ".mis", "C:\\Program Files\\Varnok Penwick\\PENWICK.exe"));
  // Writing again over an existing layout is the same.
  m_association.WriteAssociation("mis", kProgram);
  EXPECT_TRUE(IsAssociated(m_association, ".mis", kProgram));
}

TEST_F(Win32FileAssociation, OtherProgramsCommandsAreRecognised) {
  Write(".mis", "VarnokScript");
  Write("VarnokScript\\shell\\open\\command", "\"" + kProgram + "\" /edit \"%1\"");
  EXPECT_TRUE(IsAssociated(m_association, ".mis", kProgram));
  Write("VarnokScript\\shell\\open\\command", "C:\\Tools.v2\\penwick.exe %1");
  EXPECT_EQ(m_association.AssociatedProgram(".mis"), "C:\\Tools.v2\\penwick.exe ");
  EXPECT_TRUE(IsAssociated(m_association, ".mis", "C:\\Tools.v2\\penwick.exe"));
}

TEST_F(Win32FileAssociation, MovedExecutableIsNotAssociated) {
  m_association.WriteAssociation("mis", kProgram);
  EXPECT_FALSE(IsAssociated(m_association, ".mis", "D:\\Elsewhere\\penwick.exe"));
  m_association.WriteAssociation("mis", "D:\\Elsewhere\\penwick.exe");
  EXPECT_TRUE(IsAssociated(m_association, ".mis", "D:\\Elsewhere\\penwick.exe"));
  EXPECT_FALSE(IsAssociated(m_association, ".mis", kProgram));
}

// Paths come in UTF-8, as every path of the program; the shell reads the
// registry's text as UTF-16, so a name outside ASCII must arrive there as it is.
TEST_F(Win32FileAssociation, ProgramPathsOutsideAsciiReachTheShellAsTheyAre) {
  const std::string program = "C:\\Users\\Jos\xc3\xa9\\\xe6\x97\xa5\xe6\x9c\xac\\penwick.exe";
  const std::wstring wide = L"C:\\Users\\Jos\u00e9\\\u65e5\u672c\\penwick.exe";
  m_association.WriteAssociation("mis", program);
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  ASSERT_EQ(RegGetValueW(m_root, L"misfile\\shell\\open\\command", nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size),
            ERROR_SUCCESS);
  EXPECT_TRUE(std::wstring(buffer) == wide + L" \"%1\"");
  EXPECT_EQ(m_association.AssociatedProgram(".mis"), program + " ");
  EXPECT_TRUE(IsAssociated(m_association, ".mis", program));
}

TEST_F(Win32FileAssociation, UnassociateNamesNoProgramAndRemovesNoKey) {
  m_association.WriteAssociation("mis", kProgram);
  m_association.WriteAssociation("mis", "");
  EXPECT_EQ(Read(".mis"), "misfile");
  EXPECT_EQ(Read("misfile\\DefaultIcon"), ",0");
  EXPECT_EQ(Read("misfile\\shell\\open\\command"), " \"%1\"");
  EXPECT_EQ(m_association.AssociatedProgram(".mis"), "");
  EXPECT_FALSE(IsAssociated(m_association, ".mis", kProgram));
  EXPECT_FALSE(IsAssociated(m_association, ".mis", ""));
}

TEST_F(Win32FileAssociation, MissingKeysAndValuesReadAsNoProgram) {
  EXPECT_EQ(m_association.AssociatedProgram(".mis"), "");
  Write(".mis", "misfile");  // a type without its command key
  EXPECT_EQ(m_association.AssociatedProgram(".mis"), "");
  Write(".mis", "");  // an empty type name
  EXPECT_EQ(m_association.AssociatedProgram(".mis"), "");
  // A command that is not text names nothing either.
  Write(".mis", "misfile");
  const DWORD number = 7;
  ASSERT_EQ(RegSetKeyValueA(m_root, "misfile\\shell\\open\\command", nullptr, REG_DWORD, &number, sizeof number),
            ERROR_SUCCESS);
  EXPECT_EQ(m_association.AssociatedProgram(".mis"), "");
}

TEST_F(Win32FileAssociation, KeyThatCannotBeCreatedFailsWithTheValueName) {
  // HKEY_CLASSES_ROOT now stands for a key that was deleted: nothing can be
  // created under it.
  HKEY gone = nullptr;
  ASSERT_EQ(RegCreateKeyExA(m_root, "Gone", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &gone, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKeyA(m_root, "Gone"), ERROR_SUCCESS);
  ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, gone), ERROR_SUCCESS);
  try {
    m_association.WriteAssociation("mis", kProgram);
    ADD_FAILURE() << "the write under a deleted key succeeded";
  } catch (const EAssociationError& error) {
    EXPECT_STREQ(error.what(), "Failed to set data for ''");
  }
  RegOverridePredefKey(HKEY_CLASSES_ROOT, m_root);
  RegCloseKey(gone);
}

}  // namespace
}  // namespace penwick
