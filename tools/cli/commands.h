#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace torvane::cli {

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

using Args = std::vector<std::string>;

// The arguments of one command, split into flags, options with a value and positional words.
struct ParsedArgs {
    std::set<std::string> flags;                // e.g. "--yes"
    std::map<std::string, std::string> options; // e.g. "-o" -> "out.chg"; the last one given
    std::vector<std::pair<std::string, std::string>> inOrder; // every option given, in order
    std::map<std::string, std::vector<std::string>> repeated; // every value, in order
    std::vector<std::string> positional;
};

// One command of torvane-cli. Every command goes through the same preamble (runCommand): -h or
// --help prints `help`, the words are split by `flags` and `valued`, and a misuse is reported
// before `run` sees the parsed arguments and returns the exit code.
struct Command {
    const char* name;
    const char* summary; // its line in `torvane-cli --help`
    const char* help;
    std::set<std::string> flags;  // words that stand alone
    std::set<std::string> valued; // words that take the next word as their value
    int (*run)(ParsedArgs& args);
};

extern const Command kNewCommand;
extern const Command kConvertCommand;
extern const Command kShowCommand;
extern const Command kMapCommand;
extern const Command kCheckCommand;
extern const Command kPortsCommand;
extern const Command kDownloadCommand;
extern const Command kUploadCommand;
extern const Command kVerifyCommand;
extern const Command kDiffCommand;
extern const Command kEdsCommand;
extern const Command kExportCommand;
extern const Command kDeviceCommand;
extern const Command kMonitorCommand;
extern const Command kNodeCommand;
extern const Command kTagsCommand;
extern const Command kReportCommand;

// The preamble and the command: returns the process exit code.
int runCommand(const Command& command, const Args& args);

} // namespace torvane::cli
