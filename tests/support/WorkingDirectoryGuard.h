// Enters another working directory for a scope and goes back on leaving it,
// so a test of relative file names leaves later tests where they were.
#pragma once

#include <filesystem>
#include <system_error>

namespace penwick::test {

class TWorkingDirectoryGuard {
public:
  explicit TWorkingDirectoryGuard(const std::filesystem::path& folder) : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);  // throws, changing nothing, when the folder cannot be entered
  }
  ~TWorkingDirectoryGuard() {
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
  }
  TWorkingDirectoryGuard(const TWorkingDirectoryGuard&) = delete;
  TWorkingDirectoryGuard& operator=(const TWorkingDirectoryGuard&) = delete;

private:
  std::filesystem::path m_previous;
};

}  // namespace penwick::test
