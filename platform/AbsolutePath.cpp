// Absolute, normalised paths for messages and reports.
#include "platform/AbsolutePath.h"

#include <filesystem>
#include <system_error>

namespace penwick {

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error || absolute.empty() ? path : absolute.lexically_normal().string();
}

}  // namespace penwick
