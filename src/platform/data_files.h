#pragma once

#include <string>

namespace torvane::platform {

// Folder of the running executable; empty when it cannot be determined.
std::string executableDir();

// Full path of a data file (EDS templates, workbook templates, news page, logo, help): first
// beside the executable, then in the installed data folder. Returns the path beside the
// executable when the file is in neither place, so callers can name it in their message.
std::string findDataFile(const std::string& name);

// The folder of the user's device library: torvane/devices in the user's data folder
// ($XDG_DATA_HOME, by default ~/.local/share, on Linux). Empty when the system gives none.
std::string deviceLibraryFolder();

} // namespace torvane::platform
