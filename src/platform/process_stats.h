#pragma once

namespace torvane::platform {

// Milliseconds since this process was started (10 ms resolution on Linux); -1 when unknown.
double processAgeMs();

// Resident memory of this process in KiB; -1 when unknown.
long residentMemoryKiB();

} // namespace torvane::platform
