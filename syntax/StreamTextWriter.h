// Writing a stored component's tree in the text form that the parser reads.
#pragma once

#include <string>

#include "syntax/StreamTree.h"

namespace penwick {

// The text of `object`: a header line ("object name: Class", or "object
// Class" without a name), one line per property at two more blanks of
// indentation per level, `end`; every line ends with CR LF. Strings are
// quoted parts of at most 64 characters, with control characters and the
// quote written as #codes; a string that does not fit on one line (over 64
// characters, or a line break followed by more text) starts on the next line
// one level deeper and continues with " +" at the end of each line. Lists
// are "(" one value per line ")", collections "<" item ... end ">" ("<>"
// when empty), sets "[a, b]". Bytes of 128 and above stay as they are.
std::string WriteStreamText(const TStreamObject& object);

}  // namespace penwick
