// The file operations on POSIX systems.
#include "platform/FileOperations.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

namespace penwick {

namespace {

bool IsRegularFile(const std::string& fileName, struct stat* info = nullptr) {
  struct stat st {};
  if (::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (info) *info = st;
  return true;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

bool FileExists(const std::string& fileName) { return IsRegularFile(fileName); }

bool CopyFileNoOverwrite(const std::string& source, const std::string& target) {
  struct stat st {};
  if (!IsRegularFile(source, &st)) return false;
  int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  // O_EXCL makes "the target exists" and the creation one step, so a file
  // appearing meanwhile is never overwritten.
  int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = true;
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (got == 0) break;
    if (!WriteAll(out, buffer, static_cast<size_t>(got))) {
      ok = false;
      break;
    }
  }
  ::close(in);
  if (::close(out) != 0) ok = false;
  if (!ok) ::unlink(target.c_str());  // never leave a half copy behind
  return ok;
}

bool DeleteFileQuiet(const std::string& fileName) {
  struct stat st {};
  if (!IsRegularFile(fileName, &st)) return false;
  // Windows refuses to delete a read-only file; the compiler folder's
  // clean-up relies on that to spare files the user protected.
  if ((st.st_mode & S_IWUSR) == 0) return false;
  return ::unlink(fileName.c_str()) == 0;
}

bool RenameNoReplace(const std::string& source, const std::string& target) {
  if (::access(source.c_str(), F_OK) != 0) return false;
#ifdef RENAME_NOREPLACE
  if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
#endif
  // Without an atomic no-replace rename: a hard link fails when the target
  // exists, and then the source name is dropped.
  if (::link(source.c_str(), target.c_str()) != 0) return false;
  return ::unlink(source.c_str()) == 0;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // Iterative wildcard match with one back-track point: linear in practice
  // and never recursive, whatever the mask.
  size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
  auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || (mask[m] != '*' && same(mask[m], name[n])))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starM = m++;
      starN = n;
    } else if (starM != std::string_view::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::vector<std::string> FindFilesByMask(const std::string& folder, std::string_view mask) {
  std::vector<std::string> found;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return found;
  std::string prefix = folder;
  if (!prefix.empty() && prefix.back() != '/') prefix += '/';
  while (dirent* entry = ::readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (!MatchesMask(name, mask)) continue;
    std::string full = prefix + std::string(name);
    if (IsRegularFile(full)) found.push_back(std::move(full));
  }
  ::closedir(dir);
  return found;
}

}  // namespace penwick
