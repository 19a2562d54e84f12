// Which program the desktop opens files of an extension with, and making
// this program that one.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>

namespace penwick {

// Raised when an association cannot be written; the message is for the user.
class EAssociationError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The platform's store of file associations. Reading is tolerant: anything
// missing or unreadable reads as "no program". Writing adds or changes
// entries and never removes what other programs rely on.
class TFileAssociation {
public:
  virtual ~TFileAssociation() = default;
  // The program path that opens files of `extension` (given with its dot,
  // ".mis"), or "" when none is set or it cannot be read. The path may carry
  // spaces around it; callers compare it trimmed.
  virtual std::string AssociatedProgram(const std::string& extension) = 0;
  // Makes `programPath` the program that opens files of `extension` (given
  // WITHOUT its dot, "mis"). An empty path unassociates (names no program)
  // without removing what other programs rely on. Failures throw a
  // std::runtime_error subclass carrying a user-facing message; what was
  // written before the failure stays.
  virtual void WriteAssociation(const std::string& extension, const std::string& programPath) = 0;
};

// Whether files of `extensionWithDot` open with `executablePath`: the
// associated program, with leading and trailing spaces removed, equals it
// exactly (letter case counts). No program is never associated, even with an
// empty `executablePath`.
bool IsAssociated(TFileAssociation& association, const std::string& extensionWithDot,
                  const std::string& executablePath);

// The program path an open command names, as the registry's readers take it:
//  - a command starting with a double quote names the text up to the next
//    double quote (the rest of the command when none follows);
//  - otherwise the program ends at the first occurrence of the command's
//    extension (from its last "." that no "\" or ":" follows, cut at a space),
//    plus the one character after it (usually the separating space, which
//    the comparison trims). A command without such an extension, or an empty
//    one, names no program ("").
// An unquoted folder name that holds the program's own extension ends the
// program early; that is the rule as the registry's readers have it.
std::string ProgramOfOpenCommand(const std::string& command);

// The running platform's association: the registry on Windows, the desktop's
// files (XDG) elsewhere. The caller owns it.
std::unique_ptr<TFileAssociation> SystemFileAssociation();

}  // namespace penwick
