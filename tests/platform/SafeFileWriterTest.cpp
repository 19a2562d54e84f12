// Safe whole-file writing: replacement by rename, what survives a failure,
// and the files and folders an unprivileged user may not write.
#include "platform/SafeFileWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileErrors.h"
#include "support/TestFiles.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class SafeFileWriter : public ::testing::Test {
protected:
  void SetUp() override {
    m_folder = fs::temp_directory_path() / ("penwick-safe-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
  }
  void TearDown() override {
    fs::permissions(m_folder, fs::perms::owner_all);
    fs::remove_all(m_folder);
  }
  std::string Path(const std::string& name) const { return (m_folder / name).string(); }
  // The names in the folder: no temporary file may be left behind.
  std::size_t Entries() const {
    std::size_t n = 0;
    for (auto it = fs::directory_iterator(m_folder); it != fs::directory_iterator(); ++it) ++n;
    return n;
  }
  mode_t Mode(const std::string& path) const {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
  }

  fs::path m_folder;
};

TEST_F(SafeFileWriter, ReplacesContentKeepsPermissionsAndFollowsLinks) {
  const std::string target = Path("script.mis");
  WriteFile(target, "old content that is longer");
  ::chmod(target.c_str(), 0640);
  WriteFileSafely(target, "new");
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(Mode(target), 0640u);
  EXPECT_EQ(Entries(), 1u);

  // A link: the file it points to gets the content, the link stays a link.
  const std::string link = Path("link.mis");
  fs::create_symlink(target, link);
  WriteFileSafely(link, std::string("via\0link", 8));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(target), std::string("via\0link", 8));

  // A new file: the mode the umask allows.
  const mode_t mask = ::umask(022);
  WriteFileSafely(Path("new.mis"), "");
  ::umask(mask);
  EXPECT_EQ(Mode(Path("new.mis")), 0644u);
  EXPECT_EQ(ReadFile(Path("new.mis")), "");
}

TEST_F(SafeFileWriter, AFailureLeavesTheOldFileAndNoTemporary) {
  const std::string target = Path("script.mis");
  WriteFile(target, "old");
  EXPECT_THROW(WriteFileSafely(target,
                               [](const TByteSink& sink) {
                                 sink("half", 4);
                                 throw std::runtime_error("the producer failed");
                               }),
               std::runtime_error);
  EXPECT_EQ(ReadFile(target), "old");
  EXPECT_EQ(Entries(), 1u);

  // A folder in the target's place, and a folder that does not exist.
  fs::create_directory(Path("folder.mis"));
  try {
    WriteFileSafely(Path("folder.mis"), "x");
    ADD_FAILURE() << "a folder was written as a file";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + Path("folder.mis") + "\". ", 0), 0u) << e.what();
  }
  EXPECT_THROW(WriteFileSafely(Path("missing/x.mis"), "x"), EFCreateError);
  EXPECT_EQ(Entries(), 2u);
}

// Runs `body` as an unprivileged user: in a child process that drops root
// when the tests run as root (root may write anything, so the refusals
// could not show otherwise). Returns what the body returned ("" for success).
std::string AsUnprivilegedUser(const fs::path& folder, const std::function<std::string()>& body) {
  if (::geteuid() != 0) return body();
  constexpr uid_t kNobody = 65534;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) ::lchown(entry.path().c_str(), kNobody, kNobody);
  ::chown(folder.c_str(), kNobody, kNobody);
  int channel[2];
  if (::pipe(channel) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    std::string result;
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) result = "could not drop root";
    else result = body();
    if (::write(channel[1], result.data(), result.size()) < 0) _exit(2);
    _exit(0);
  }
  ::close(channel[1]);
  std::string result;
  char buffer[256];
  ssize_t got;
  while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0) result.append(buffer, static_cast<std::size_t>(got));
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return result;
}

TEST_F(SafeFileWriter, AReadOnlyFileIsRefusedAsADirectWriteWouldBe) {
  const std::string target = Path("read-only.mis");
  WriteFile(target, "keep me");
  ::chmod(target.c_str(), 0444);
  const std::string result = AsUnprivilegedUser(m_folder, [&]() -> std::string {
    try {
      WriteFileSafely(target, "overwritten");
      return "written";
    } catch (const EFCreateError& e) {
      return e.what();
    }
  });
  EXPECT_EQ(result, "Cannot create file \"" + target + "\". Permission denied");
  EXPECT_EQ(ReadFile(target), "keep me");
  EXPECT_EQ(Mode(target), 0444u);
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(SafeFileWriter, AWritableFileInAFolderThatTakesNoNewFileIsRewrittenInPlace) {
  const std::string target = Path("in-place.mis");
  WriteFile(target, "a longer old content");
  ::chmod(target.c_str(), 0664);
  ::chmod(m_folder.c_str(), 0555);
  const std::string result = AsUnprivilegedUser(m_folder, [&]() -> std::string {
    try {
      WriteFileSafely(target, "new");
      // A file that does not exist yet cannot be made there at all.
      try {
        WriteFileSafely(Path("other.mis"), "x");
        return "created a file in a read-only folder";
      } catch (const EFCreateError&) {
      }
      return "";
    } catch (const std::exception& e) {
      return e.what();
    }
  });
  ::chmod(m_folder.c_str(), 0755);
  EXPECT_EQ(result, "");
  EXPECT_EQ(ReadFile(target), "new");
  EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace penwick
