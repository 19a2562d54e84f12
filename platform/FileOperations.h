// File operations with the semantics of the game's Windows tools: copying
// that never overwrites, renaming that never replaces, deletion that spares
// read-only files, and finding files by a wildcard mask.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace penwick {

// Copies `source` to `target`; fails (returns false, target untouched) when
// the target exists or the source cannot be read.
bool CopyFileNoOverwrite(const std::string& source, const std::string& target);

// Deletes a file. A read-only file (no owner write permission), a directory
// or a missing file is left alone and yields false.
bool DeleteFileQuiet(const std::string& fileName);

// Renames `source` to `target`; fails when the target exists (also when both
// name the same file) or the source is missing.
bool RenameNoReplace(const std::string& source, const std::string& target);

// Full names of the files (never directories) in `folder` whose names match
// `mask` ("*" any run, "?" one character), compared without regard to ASCII
// case. Hidden and read-only files are included. A missing folder yields none.
std::vector<std::string> FindFilesByMask(const std::string& folder, std::string_view mask);

// Whether `name` matches the wildcard `mask` without regard to ASCII case.
bool MatchesMask(std::string_view name, std::string_view mask);

bool FileExists(const std::string& fileName);

}  // namespace penwick
