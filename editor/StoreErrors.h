// Errors raised by the text store: a bad line index and file open or create failures.
#pragma once

#include <stdexcept>
#include <string>

namespace penwick {

// A line index outside the range an operation accepts. The message reads
// "Index <i> is out of range"; the store is left unchanged.
class EStringListError : public std::out_of_range {
public:
  explicit EStringListError(int index)
      : std::out_of_range("Index " + std::to_string(index) + " is out of range"), m_index(index) {}
  int Index() const { return m_index; }

private:
  int m_index;
};

// A file could not be read or written; the message names the file and the
// system's reason.
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

// "Cannot create file "<name>". <reason>" — also used when writing, flushing
// or replacing the target fails; the old file is then still intact.
class EFCreateError : public EFileError {
public:
  EFCreateError(const std::string& fileName, const std::string& reason)
      : EFileError("Cannot create file \"" + fileName + "\". " + reason) {}
};

}  // namespace penwick
