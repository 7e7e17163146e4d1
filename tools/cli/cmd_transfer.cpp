#include "commands.h"

#include <iostream>

namespace torvane::cli {

int cmdPorts(const Args& /*args*/) {
    std::cerr << "torvane-cli: ports is not available in this build\n";
    return kExitFailed;
}

int cmdDownload(const Args& /*args*/) {
    std::cerr << "torvane-cli: download is not available in this build\n";
    return kExitFailed;
}

int cmdUpload(const Args& /*args*/) {
    std::cerr << "torvane-cli: upload is not available in this build\n";
    return kExitFailed;
}

} // namespace torvane::cli
