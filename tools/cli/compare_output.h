#pragma once

// The output of diff and verify: differences on stdout (lines or JSON), what was not compared
// on stderr, and the exit code diff(1) uses.

#include "compare/configuration_compare.h"

namespace torvane::cli {

// Prints `result` and returns 0 when equal, 1 when different.
int printComparison(const CompareResult& result, bool json);

} // namespace torvane::cli
