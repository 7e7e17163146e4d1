#include "commands.h"

#include <iostream>

namespace torvane::cli {

int cmdNew(const Args& /*args*/) {
    std::cerr << "torvane-cli: new is not available in this build\n";
    return kExitFailed;
}

int cmdConvert(const Args& /*args*/) {
    std::cerr << "torvane-cli: convert is not available in this build\n";
    return kExitFailed;
}

int cmdShow(const Args& /*args*/) {
    std::cerr << "torvane-cli: show is not available in this build\n";
    return kExitFailed;
}

} // namespace torvane::cli
