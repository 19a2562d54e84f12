// The desktop entry and the MIME package that an installation ships, built
// into the program so the association it writes agrees with them.
#pragma once

#include <string_view>

namespace penwick {

// The installed desktop entry (applications/penwick.desktop), byte for byte.
// Its Exec names the program by the bare name "penwick", found in PATH.
std::string_view InstalledDesktopEntry();

// The installed shared-mime-info package (mime/packages/penwick-mis.xml),
// byte for byte: the type of "*.mis" files.
std::string_view InstalledMimePackage();

}  // namespace penwick
