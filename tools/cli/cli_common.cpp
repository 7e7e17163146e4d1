#include "cli_common.h"

#include "model/config_file.h"

#include <iostream>

namespace torvane::cli {

bool parseArgs(const Args& args, const std::set<std::string>& flags,
               const std::set<std::string>& valued, ParsedArgs& out, std::string& error) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            out.positional.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (flags.contains(a)) {
            out.flags.insert(a);
        } else if (valued.contains(a)) {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return false;
            }
            out.options[a] = args[++i];
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    return true;
}

void printError(const std::string& message) {
    std::cerr << "torvane-cli: " << message << '\n';
}

int usageError(const std::string& command, const std::string& message) {
    std::cerr << "torvane-cli " << command << ": " << message << "\n"
              << "Run 'torvane-cli " << command << " --help' for usage.\n";
    return kExitUsage;
}

bool loadConfiguration(const std::string& path, GatewayConfiguration& cfg, DocumentState* doc) {
    GatewayConfiguration read = newConfiguration(kCanopenMaster);
    DocumentState state;
    std::string error;
    if (!loadConfigurationFile(path, read, state, error)) {
        printError(error);
        return false;
    }
    cfg = std::move(read);
    if (doc != nullptr) {
        *doc = state;
    }
    return true;
}

bool saveConfiguration(const std::string& path, const GatewayConfiguration& cfg) {
    std::string error;
    if (!saveConfigurationFile(path, cfg, error)) {
        printError(error);
        return false;
    }
    return true;
}

} // namespace torvane::cli
