// Errors raised when a file cannot be read or written; each message names
// the file and the system's reason.
#pragma once

#include <stdexcept>
#include <string>

namespace penwick {

class EFileError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// "Cannot open file "<name>". <reason>"
class EFOpenError : public EFileError {
public:
  EFOpenError(const std::string& fileName, const std::string& reason)
      : EFileError("Cannot open file \"" + fileName + "\". " + reason) {}
};

// "Cannot create file "<name>". <reason>": also when writing, flushing or
// replacing the target fails; the old file is then still intact.
class EFCreateError : public EFileError {
public:
  EFCreateError(const std::string& fileName, const std::string& reason)
      : EFileError("Cannot create file \"" + fileName + "\". " + reason) {}
};

}  // namespace penwick
