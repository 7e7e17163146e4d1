#pragma once

#include <string>
#include <string_view>

namespace torvane {

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to disk and renames it
// over `path`, so a failed write never destroys the previous file. Returns false and fills
// `error` with a readable reason on failure (the temporary file is removed).
bool writeFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// Reads a whole file. Returns false and fills `error` when it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& bytes, std::string& error);

} // namespace torvane
