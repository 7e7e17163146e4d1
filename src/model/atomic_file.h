#pragma once

#include "model/message.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace torvane {

// The largest input file read. The editor writes archives and XML files of well under a
// megabyte and the templates are smaller still, so this only stops endless or huge inputs.
inline constexpr std::uint64_t kMaxInputFileBytes = 64ULL * 1024 * 1024;

// Saves `bytes` as `path`. A name of one of this process's descriptors (/dev/stdout,
// /dev/stderr, /dev/fd/N, /proc/self/fd/N) is written through that descriptor, at its position
// or, in append mode, at its end, after this process's buffered output. A symlink is followed to
// the file it names (a dangling one creates that file). A regular or missing file is replaced
// atomically: a temporary file in the same folder is written, flushed to disk, given the old
// file's permission bits (and owner and group where allowed) and renamed over it, so a failed
// save never destroys the previous file and other hard links keep the old bytes. An existing
// file that is not regular (a device, a pipe) is written straight through, never replaced.
// Returns false with one line in `error`, "cannot save <path>: <reason>", naming `path` as
// given (a folder that takes no new file is named as the reason); nothing is left behind.
bool writeFileAtomically(const std::string& path, std::string_view bytes, Message& error);

// Reads a whole input file without ever blocking: only a regular file of at most `limit` bytes
// is read. Returns false with one line in `error` naming the file and the reason (missing,
// a folder, not a regular file, larger than the limit, a read error).
bool readWholeFile(const std::string& path, std::string& bytes, Message& error,
                   std::uint64_t limit = kMaxInputFileBytes);

} // namespace torvane
