#include "commands.h"

#include <cstring>
#include <iostream>
#include <string_view>

namespace {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const torvane::cli::Args&);
};

using namespace torvane::cli;

constexpr Command kCommands[] = {
    {"new", "write a new master or slave configuration", cmdNew},
    {"convert", "convert between .chg archives and .xml files", cmdConvert},
    {"show", "print a configuration (text or --json)", cmdShow},
    {"map", "calculate the mapping addresses", cmdMap},
    {"check", "run the pre-download checks", cmdCheck},
    {"ports", "list the serial ports", cmdPorts},
    {"download", "download a configuration to the gateway", cmdDownload},
    {"upload", "upload the configuration from the gateway", cmdUpload},
    {"verify", "compare a configuration with the gateway's", cmdVerify},
    {"diff", "compare two configuration files", cmdDiff},
    {"eds", "write the EDS file of a slave configuration", cmdEds},
    {"export", "export a configuration to a workbook", cmdExport},
};

void printUsage(std::ostream& os) {
    os << "Usage: torvane-cli COMMAND [ARGS...]\n\n"
          "Configuration tool for the PROFIBUS-DP / CANopen gateway.\n\nCommands:\n";
    for (const Command& c : kCommands) {
        os << "  " << c.name << std::string(10 - std::strlen(c.name), ' ') << c.summary << '\n';
    }
    os << "\nRun 'torvane-cli COMMAND --help' for the options of a command,\n"
          "'torvane-cli --version' for the version.\n"
          "Exit codes: 0 success, 1 failure, 2 usage error; see each command for more.\n";
}

} // namespace

namespace torvane::cli {

bool wantsHelp(const Args& args) {
    for (const std::string& a : args) {
        if (a == "-h" || a == "--help") {
            return true;
        }
    }
    return false;
}

} // namespace torvane::cli

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(std::cerr);
        return kExitUsage;
    }
    const std::string_view name = argv[1];
    if (name == "-h" || name == "--help" || name == "help") {
        printUsage(std::cout);
        return kExitOk;
    }
    if (name == "--version") {
        std::cout << "torvane-cli " << TORVANE_VERSION << '\n';
        return std::cout.flush() ? kExitOk : kExitFailed;
    }
    for (const Command& c : kCommands) {
        if (name == c.name) {
            return c.run(Args(argv + 2, argv + argc));
        }
    }
    std::cerr << "torvane-cli: unknown command '" << name << "'\n";
    printUsage(std::cerr);
    return kExitUsage;
}
