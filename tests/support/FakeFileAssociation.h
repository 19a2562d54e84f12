// An association store in memory, for tests of the association commands.
#pragma once

#include <map>
#include <stdexcept>
#include <string>

#include "platform/FileAssociation.h"

namespace penwick::test {

class TFakeFileAssociation : public TFileAssociation {
public:
  std::string AssociatedProgram(const std::string& extension) override {
    const auto found = Programs.find(extension);
    return found == Programs.end() ? std::string() : found->second;
  }
  void WriteAssociation(const std::string& extension, const std::string& programPath) override {
    ++Writes;
    if (FailWrites) throw std::runtime_error("Failed to set data for ''");
    Programs["." + extension] = programPath;
  }

  std::map<std::string, std::string> Programs;  // extension with its dot -> program
  int Writes = 0;
  bool FailWrites = false;
};

}  // namespace penwick::test
