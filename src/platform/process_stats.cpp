#include "platform/process_stats.h"

#include <fstream>
#include <sstream>
#include <string>

#if defined(__linux__)
#include <ctime>
#include <unistd.h>
#endif

namespace torvane::platform {

double processAgeMs() {
#if defined(__linux__)
    std::ifstream stat("/proc/self/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return -1;
    }
    // Field 22 (starttime, clock ticks since boot) follows the command name in parentheses.
    const auto close = line.rfind(')');
    if (close == std::string::npos) {
        return -1;
    }
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    const double ticks = std::stod(field);
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = static_cast<double>(now.tv_sec) * 1000.0 + now.tv_nsec / 1e6;
    return nowMs - ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
#else
    return -1;
#endif
}

long residentMemoryKiB() {
#if defined(__linux__)
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
#endif
    return -1;
}

} // namespace torvane::platform
