// The association check and the open-command rule shared by every platform.
#include "platform/FileAssociation.h"

namespace penwick {

namespace {

std::string TrimSpaces(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool IsAssociated(TFileAssociation& association, const std::string& extensionWithDot,
                  const std::string& executablePath) {
  const std::string program = TrimSpaces(association.AssociatedProgram(extensionWithDot));
  return !program.empty() && program == executablePath;
}

std::string ProgramOfOpenCommand(const std::string& command) {
  if (command.empty()) return std::string();
  if (command[0] == '"') {
    const size_t close = command.find('"', 1);
    return command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  const size_t delimiter = command.find_last_of(".\\:");
  if (delimiter == std::string::npos || command[delimiter] != '.') return std::string();
  std::string extension = command.substr(delimiter);
  const size_t space = extension.find(' ');
  if (space != std::string::npos) extension.resize(space);
  const size_t occurrence = command.find(extension);  // found: the extension is taken from the command
  return command.substr(0, occurrence + extension.size() + 1);
}

}  // namespace penwick
