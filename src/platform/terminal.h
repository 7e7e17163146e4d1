#pragma once

#include <string>

namespace torvane::platform {

// The character encoding of the user's terminal (the locale's LC_CTYPE codeset, e.g. "UTF-8",
// "GB18030", "ANSI_X3.4-1968"); "UTF-8" where the platform has no such notion.
std::string terminalCodeset();

} // namespace torvane::platform
