// The association of an extension with a program in HKEY_CLASSES_ROOT.
#pragma once

#include <windows.h>

#include <string>

#include "platform/FileAssociation.h"

namespace penwick {

// The classic layout, all values being the keys' default values (REG_SZ):
//   "<.ext>"                          = "<ext>file"
//   "<ext>file"                       (created, no value)
//   "<ext>file\DefaultIcon"           = program + ",0"
//   "<ext>file\shell\open\command"    = program + " \"%1\""
// Key names match without regard to letter case, as the registry has it.
// Paths and names are UTF-8 here and UTF-16 in the registry (the wide
// registry functions), so any file name the shell can run survives; a
// program path that is not valid UTF-8 cannot be written. Works on whatever HKEY_CLASSES_ROOT is for this
// process (tests redirect it with RegOverridePredefKey).
class TWin32FileAssociation : public TFileAssociation {
public:
  // Reads "<.ext>" for the file type, then "<type>\Shell\Open\Command", and
  // takes the program out of that command (ProgramOfOpenCommand). Missing
  // keys, missing values and values that are not text read as "".
  std::string AssociatedProgram(const std::string& extension) override;
  // Writes the four keys above in order, then tells the shell that
  // associations changed. An empty program writes ",0" and " \"%1\"", which
  // name no program; no key is ever removed. A key that cannot be opened or
  // created, or a value that cannot be set, throws EAssociationError
  // "Failed to set data for ''" (the value's name: the default value's is
  // empty); the keys written before stay.
  void WriteAssociation(const std::string& extension, const std::string& programPath) override;

private:
  // The default value of `subKey` under HKEY_CLASSES_ROOT; "" when missing.
  static std::string ReadDefaultValue(const std::string& subKey);
  // Creates `subKey` (and its parents) under HKEY_CLASSES_ROOT and, unless
  // `value` is null, sets its default value.
  static void WriteDefaultValue(const std::string& subKey, const std::string* value);
};

}  // namespace penwick
