// The editor's command dispatcher: command numbers to handlers, and whether
// a command is available now (for the enabled state of menu items).
#pragma once

#include <functional>
#include <unordered_map>

namespace penwick {

// A command's handler. `data` is the typed character of the character
// command and 0 for every other command.
using TCommandHandler = std::function<void(char data)>;
// Whether the command can run now; empty means always.
using TCommandAvailability = std::function<bool()>;

// Parts of the editor register their commands here, the editing commands
// first, others (search, completion) later; registering a number again
// replaces its handler. A command nobody registered does nothing and is not
// available.
class TCommandDispatcher {
public:
  void Register(int command, TCommandHandler handler, TCommandAvailability availability = {});
  void Unregister(int command) { m_commands.erase(command); }
  bool IsRegistered(int command) const { return m_commands.count(command) != 0; }

  // Registered, and its availability (if any) says yes.
  bool IsAvailable(int command) const;
  // Runs the handler when the command is available. Returns whether it ran.
  // Exceptions of the handler reach the caller.
  bool Execute(int command, char data = 0);

private:
  struct TEntry {
    TCommandHandler Handler;
    TCommandAvailability Availability;
  };
  std::unordered_map<int, TEntry> m_commands;
};

}  // namespace penwick
