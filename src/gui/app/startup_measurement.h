#pragma once

namespace torvane::gui {

// `torvane --measure-startup`: prints start-up time, the time to open the largest configuration
// and rebuild the tree, and resident memory; returns the exit code (1 when a step failed).
int measureStartup(int& argc, char** argv);

} // namespace torvane::gui
