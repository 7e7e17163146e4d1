#include "commands.h"

#include <iostream>

namespace torvane::cli {

int cmdMap(const Args& /*args*/) {
    std::cerr << "torvane-cli: map is not available in this build\n";
    return kExitFailed;
}

int cmdCheck(const Args& /*args*/) {
    std::cerr << "torvane-cli: check is not available in this build\n";
    return kExitFailed;
}

} // namespace torvane::cli
