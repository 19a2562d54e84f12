// Writing a whole file so that a failure never leaves it half-written and a
// file the user may not write is never replaced.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace penwick {

// Receives the bytes of the file, in pieces, in order.
using TByteSink = std::function<void(const char* data, std::size_t size)>;

// Writes the bytes `produce` hands to its sink as the whole content of
// `fileName`:
//  - An existing target must open for writing, as a direct write would need
//    (a read-only file, a folder or a file of another user is refused).
//  - The bytes go to a temporary file beside the target, which is flushed to
//    disk, given the target's permissions and owner (a new file: 0666 less
//    the umask), then renamed over the target. A link is followed: the file
//    it points to is replaced, the link stays.
//  - When no temporary file can be made in the target's folder (a folder the
//    user may not write to) but the target itself opens for writing, the
//    target is rewritten in place.
// Every failure raises EFCreateError naming `fileName` and the reason; before
// the rename the old file is untouched, and a temporary file is removed. An
// exception thrown by `produce` (or by the sink on its behalf) is passed on
// after the same clean-up.
void WriteFileSafely(const std::string& fileName, const std::function<void(const TByteSink& sink)>& produce);

// The same for content already in memory.
void WriteFileSafely(const std::string& fileName, std::string_view content);

}  // namespace penwick
