#pragma once

#include <QString>

namespace torvane::gui {

// `torvane --measure-startup`: prints start-up time, the time to open the largest configuration
// and rebuild the tree, and resident memory, in the interface language `requestedLanguage`
// chooses (see interfaceLanguage()); returns the exit code (1 when a step failed).
int measureStartup(int& argc, char** argv, const QString& requestedLanguage);

} // namespace torvane::gui
