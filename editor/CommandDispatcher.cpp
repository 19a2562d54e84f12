// The command dispatcher: a registry of handlers by command number.
#include "editor/CommandDispatcher.h"

namespace penwick {

void TCommandDispatcher::Register(int command, TCommandHandler handler, TCommandAvailability availability) {
  if (!handler) {
    m_commands.erase(command);
    return;
  }
  m_commands[command] = TEntry{std::move(handler), std::move(availability)};
}

bool TCommandDispatcher::IsAvailable(int command) const {
  const auto it = m_commands.find(command);
  if (it == m_commands.end()) return false;
  return !it->second.Availability || it->second.Availability();
}

bool TCommandDispatcher::Execute(int command, char data) {
  if (!IsAvailable(command)) return false;
  // A copy: the handler may register or unregister commands, this one included.
  const TCommandHandler handler = m_commands.at(command).Handler;
  handler(data);
  return true;
}

}  // namespace penwick
