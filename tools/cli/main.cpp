#include "cli_common.h"
#include "commands.h"

#include <cstring>
#include <iostream>
#include <string_view>

namespace {

using namespace torvane::cli;

// In the order `--help` lists them.
const Command* const kCommands[] = {
    &kNewCommand,   &kConvertCommand,  &kShowCommand,   &kMapCommand,    &kCheckCommand,
    &kPortsCommand, &kDownloadCommand, &kUploadCommand, &kVerifyCommand, &kDiffCommand,
    &kEdsCommand,   &kExportCommand,   &kDeviceCommand, &kNodeCommand,   &kMonitorCommand,
    &kTagsCommand,  &kReportCommand,
};

void printUsage(std::ostream& os) {
    os << "Usage: torvane-cli COMMAND [ARGS...]\n\n"
          "Configuration tool for the PROFIBUS-DP / CANopen gateway.\n\nCommands:\n";
    for (const Command* c : kCommands) {
        os << "  " << c->name << std::string(10 - std::strlen(c->name), ' ') << c->summary << '\n';
    }
    os << "\nRun 'torvane-cli COMMAND --help' for the options of a command,\n"
          "'torvane-cli --version' for the version.\n"
          "Exit codes: 0 success, 1 failure, 2 usage error; see each command for more.\n";
}

} // namespace

namespace torvane::cli {

int runCommand(const Command& command, const Args& args) {
    for (const std::string& a : args) {
        if (a == "-h" || a == "--help") {
            std::cout << command.help;
            return kExitOk;
        }
    }
    ParsedArgs parsed;
    std::string error;
    if (!parseArgs(args, command.flags, command.valued, parsed, error)) {
        return usageError(command.name, error);
    }
    return command.run(parsed);
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
    for (const Command* c : kCommands) {
        if (name == c->name) {
            return runCommand(*c, Args(argv + 2, argv + argc));
        }
    }
    std::cerr << "torvane-cli: unknown command '" << name << "'\n";
    printUsage(std::cerr);
    return kExitUsage;
}
