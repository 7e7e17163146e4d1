#include "commands.h"

#include <iostream>

namespace torvane::cli {

int cmdEds(const Args& /*args*/) {
    std::cerr << "torvane-cli: eds is not available in this build\n";
    return kExitFailed;
}

int cmdExport(const Args& /*args*/) {
    std::cerr << "torvane-cli: export is not available in this build\n";
    return kExitFailed;
}

} // namespace torvane::cli
