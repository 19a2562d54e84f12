// Safe whole-file writing on POSIX systems: a temporary file renamed over the
// target, or an in-place rewrite where the folder cannot take a new file.
#include "platform/SafeFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileErrors.h"

namespace penwick {

namespace {

namespace fs = std::filesystem;

std::string ErrorText(int error) { return std::generic_category().message(error); }

// An open descriptor that closes itself.
class TFile {
public:
  explicit TFile(int fd = -1) : m_fd(fd) {}
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;
  ~TFile() { Close(); }
  int Get() const { return m_fd; }
  // 0, or the errno of a failed close.
  int Close() {
    if (m_fd < 0) return 0;
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0 ? 0 : errno;
  }

private:
  int m_fd;
};

// Writes every byte, buffering small pieces; raises EFCreateError.
class TBufferedWriter {
public:
  TBufferedWriter(int fd, const std::string& fileName) : m_fd(fd), m_fileName(fileName) { m_buffer.reserve(kSize); }
  void Write(const char* data, std::size_t size) {
    if (m_buffer.size() + size > kSize) Flush();
    if (size >= kSize) WriteAll(data, size);
    else m_buffer.insert(m_buffer.end(), data, data + size);
  }
  void Flush() {
    WriteAll(m_buffer.data(), m_buffer.size());
    m_buffer.clear();
  }

private:
  static constexpr std::size_t kSize = 1u << 20;
  void WriteAll(const char* data, std::size_t size) {
    while (size > 0) {
      const ssize_t written = ::write(m_fd, data, size);
      if (written < 0) {
        if (errno == EINTR) continue;
        throw EFCreateError(m_fileName, ErrorText(errno));
      }
      data += written;
      size -= static_cast<std::size_t>(written);
      m_written += written;
    }
    StartWriteback();
  }
  // Hands what is written so far to the disk in the background, a stretch
  // at a time, so that the closing fsync of a big file waits for the last
  // stretch only. Failures here are left to that fsync to report.
  void StartWriteback() {
#ifdef __linux__
    if (m_written - m_handedOver < kWritebackStretch) return;
    ::sync_file_range(m_fd, m_handedOver, m_written - m_handedOver, SYNC_FILE_RANGE_WRITE);
    m_handedOver = m_written;
#endif
  }
  static constexpr off_t kWritebackStretch = off_t{8} << 20;
  int m_fd;
  off_t m_written = 0;
  off_t m_handedOver = 0;
  const std::string& m_fileName;
  std::vector<char> m_buffer;
};

void Produce(int fd, const std::string& fileName, const std::function<void(const TByteSink&)>& produce) {
  TBufferedWriter writer(fd, fileName);
  produce([&](const char* data, std::size_t size) { writer.Write(data, size); });
  writer.Flush();
  if (::fsync(fd) != 0 && errno != EINVAL) throw EFCreateError(fileName, ErrorText(errno));
}

// The target as the rename must see it: the file a link points to.
fs::path ResolveTarget(const std::string& fileName) {
  std::error_code ec;
  fs::path target(fileName);
  if (fs::is_symlink(target, ec)) {
    const fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) return resolved;
  }
  return target;
}

void SyncFolder(const fs::path& folder) {
  TFile dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) ::fsync(dir.Get());
}

// No temporary file can go beside the target, but the target opens for
// writing: rewrite it where it is.
void WriteInPlace(const fs::path& target, const std::string& fileName,
                  const std::function<void(const TByteSink&)>& produce) {
  TFile file(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (file.Get() < 0) throw EFCreateError(fileName, ErrorText(errno));
  Produce(file.Get(), fileName, produce);
  if (const int error = file.Close()) throw EFCreateError(fileName, ErrorText(error));
}

}  // namespace

void WriteFileSafely(const std::string& fileName, const std::function<void(const TByteSink&)>& produce) {
  const fs::path target = ResolveTarget(fileName);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (S_ISDIR(old.st_mode)) throw EFCreateError(fileName, ErrorText(EISDIR));
    // The same test a direct write would meet; nothing is truncated here.
    TFile probe(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (probe.Get() < 0) throw EFCreateError(fileName, ErrorText(errno));
  }

  std::string tempName = (folder / ("." + target.filename().string() + ".penwick-XXXXXX")).string();
  TFile temp(::mkstemp(tempName.data()));
  if (temp.Get() < 0) {
    const int error = errno;
    if (exists && (error == EACCES || error == EPERM)) return WriteInPlace(target, fileName, produce);
    throw EFCreateError(fileName, ErrorText(error));
  }
  if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
      ::fchown(temp.Get(), old.st_uid, old.st_gid) != 0) {
    // Another user's file that we may write: a new file would change its
    // owner, so it is rewritten where it is.
    temp.Close();
    ::unlink(tempName.c_str());
    return WriteInPlace(target, fileName, produce);
  }
  try {
    Produce(temp.Get(), fileName, produce);
    if (exists) {
      ::fchmod(temp.Get(), old.st_mode & 07777);
    } else {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      ::fchmod(temp.Get(), 0666 & ~mask);
    }
    if (const int error = temp.Close()) throw EFCreateError(fileName, ErrorText(error));
    if (::rename(tempName.c_str(), target.c_str()) != 0) throw EFCreateError(fileName, ErrorText(errno));
  } catch (...) {
    temp.Close();
    ::unlink(tempName.c_str());
    throw;
  }
  SyncFolder(folder);
}

void WriteFileSafely(const std::string& fileName, std::string_view content) {
  WriteFileSafely(fileName, [content](const TByteSink& sink) {
    if (!content.empty()) sink(content.data(), content.size());
  });
}

}  // namespace penwick
