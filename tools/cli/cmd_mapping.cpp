#include "cli_common.h"
#include "commands.h"
#include "mapping/mapping_calculation.h"
#include "mapping/predownload_checks.h"
#include "model/configuration.h"
#include "model/record_view.h"
#include "model/text_codec.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <set>
#include <string>

namespace torvane::cli {

namespace {

constexpr int kExitOverflow = 3;

constexpr const char* kMapHelp =
    "Usage: torvane-cli map IN [-o OUT]\n\n"
    "Calculates the mapping address of every command of IN (.chg or .xml), as the\n"
    "\"Calculate Mapping Address\" command does without its confirmation: at most 84\n"
    "commands are kept, and a command without a byte count stops it.\n"
    "Prints the new addresses. With -o, writes the configuration to OUT (a name ending\n"
    "in .xml is written as XML, anything else as an archive); IN itself is not changed.\n"
    "When a byte count is missing or the mapping overflows, stderr also names the\n"
    "command (the one without a byte count, or the first that does not fit):\n"
    "  torvane-cli: IN: command 3: node 5, Transmit PDO\n"
    "(position in the command table, the command's node address, its type).\n\n"
    "Exit codes: 0 the mapping fits, 3 the mapping overflows (OUT is still written),\n"
    "1 refused (a byte count is missing; nothing written) or a file error, 2 usage error.\n";

constexpr const char* kCheckHelp =
    "Usage: torvane-cli check IN [--yes]\n\n"
    "Runs the checks a master download runs on IN (.chg or .xml): Validate\n"
    "configuration (bus load of the RPDO and SDO cycles, mapping range, 32-byte rule,\n"
    "missing addresses, overlaps, PDO COB-ID directions), then Check nodes.\n"
    "Prints the first failing message, then on stderr one line for each command it is\n"
    "about (\"torvane-cli: IN: command 3: node 5, Transmit PDO\": position in the\n"
    "command table, node address, type) or for a node without a command\n"
    "(\"torvane-cli: IN: node 2: address 6, no command\").\n\n"
    "  --yes   answer OK to the bus-load questions (default: Cancel)\n\n"
    "Exit codes: 0 the checks pass, 1 a check fails, a question was cancelled or a\n"
    "file error, 2 usage error.\n";

// IN must be the one word besides the options; prints the reason and returns false otherwise.
bool oneInput(const char* command, const ParsedArgs& parsed) {
    if (parsed.positional.empty()) {
        usageError(command, "no input file given");
        return false;
    }
    if (parsed.positional.size() > 1) {
        usageError(command, "unexpected argument '" + parsed.positional[1] + "'");
        return false;
    }
    return true;
}

// The label of a command's type, or "type <text>" for a type the program does not know;
// printable.
std::string typeLabel(const CommandView& cmd) {
    return cmd.kind ? cmd.type()->label
                    : "type " + printableConfigText(cmd.record->InstructionType);
}

void printAddresses(const GatewayConfiguration& cfg) {
    std::cout << "#   Type          Bytes  Mapping Address\n";
    const RecordView view(cfg.Config);
    for (const CommandView& cmd : view.commands()) {
        const std::string label = typeLabel(cmd);
        const std::string bytes = printableConfigText(cmd.record->Bytes);
        const std::string n = std::to_string(cmd.position + 1);
        std::cout << n << std::string(n.size() < 4 ? 4 - n.size() : 1, ' ') << label
                  << std::string(label.size() < 14 ? 14 - label.size() : 1, ' ') << bytes
                  << std::string(bytes.size() < 7 ? 7 - bytes.size() : 1, ' ')
                  << printableConfigText(cmd.record->MappingAddress) << '\n';
    }
}

// One stderr line about the command at 0-based `position`:
// "torvane-cli: IN: command 3: node 5, Transmit PDO" (1-based position in the command table, the
// command's node address, its type label).
void printCommandLine(const std::string& in, const CONFIG& c, int position) {
    const RecordView view(c);
    const CommandView* cmd = view.command(position + 1);
    if (cmd == nullptr) {
        return;
    }
    const std::string address =
        cmd->nodeAddress.entered() ? printableConfigText(cmd->record->NodeAddress) : "?";
    printError(in + ": command " + std::to_string(position + 1) + ": node " + address + ", " +
               typeLabel(*cmd));
}

int cmdMap(ParsedArgs& p) {
    if (!oneInput("map", p)) {
        return kExitUsage;
    }
    const std::string& in = p.positional.front();
    std::optional<std::string> out;
    if (p.options.contains("-o")) {
        out = p.options["-o"];
    } else if (p.options.contains("--output")) {
        out = p.options["--output"];
    }
    GatewayConfiguration cfg;
    if (!loadConfiguration(in, cfg)) {
        return kExitFailed;
    }
    const MappingCommandResult r = runCalculateMappingCommand(cfg);
    if (r.outcome == MappingOutcome::Refused) {
        printError(in + ": " + r.message.english() + " (command " +
                   std::to_string(r.refusedCommand + 1) + " has no byte count)");
        printCommandLine(in, cfg.Config, r.refusedCommand);
        return kExitFailed;
    }
    printAddresses(cfg);
    std::cout << "Input bytes: " << r.totals.inputTotal
              << ", output bytes: " << r.totals.outputTotal
              << ", I/O byte count: " << printableConfigText(cfg.Fieldbus.InportNum) << '\n';
    if (r.outcome == MappingOutcome::Fits) {
        std::cout << r.message.english() << '\n';
    } else {
        printError(in + ": " + r.message.english());
        printCommandLine(in, cfg.Config, r.totals.firstOverflowCommand);
    }
    if (out && !saveConfiguration(*out, cfg)) {
        return kExitFailed;
    }
    return r.outcome == MappingOutcome::Fits ? kExitOk : kExitOverflow;
}

int cmdCheck(ParsedArgs& p) {
    if (!oneInput("check", p)) {
        return kExitUsage;
    }
    const std::string& in = p.positional.front();
    GatewayConfiguration cfg;
    if (!loadConfiguration(in, cfg)) {
        return kExitFailed;
    }
    // The download checks at most the 84 commands it sends.
    cfg.Config.InstructionCount = std::min(cfg.Config.InstructionCount, kCommandCap);
    CliCycleAnswer answer(in, p.flags.contains("--yes"));
    const CheckResult r = runPreDownloadChecks(cfg, answer);
    switch (r.outcome) {
    case CheckOutcome::Passed:
        std::cout << printableText(in) << ": the checks pass\n";
        return kExitOk;
    case CheckOutcome::Failed: {
        printError(in + ": " + r.message.english());
        for (const int position : r.commands) {
            printCommandLine(in, cfg.Config, position);
        }
        const RecordView view(cfg.Config);
        if (const NodeView* node = view.node(r.node + 1)) {
            // "torvane-cli: IN: node 2: address 6, no command"
            printError(in + ": node " + std::to_string(r.node + 1) + ": address " +
                       printableConfigText(node->record->NodeAddress) + ", no command");
        }
        return kExitFailed;
    }
    case CheckOutcome::Cancelled:
        break;
    }
    printError(in + ": stopped at a bus-load question (run with --yes to accept the slow cycle)");
    return kExitFailed;
}

} // namespace

const Command kMapCommand{
    "map", "calculate the mapping addresses", kMapHelp, {}, {"-o", "--output"}, cmdMap};
const Command kCheckCommand{"check", "run the pre-download checks", kCheckHelp, {"--yes"}, {},
                            cmdCheck};

} // namespace torvane::cli
