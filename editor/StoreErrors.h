// Errors raised by the text store: a bad line index, and (from the platform
// layer) file open or create failures.
#pragma once

#include <stdexcept>
#include <string>

#include "platform/FileErrors.h"

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

}  // namespace penwick
