#include "commands.h"
#include "mapping/mapping_calculation.h"
#include "mapping/predownload_checks.h"
#include "model/config_file.h"
#include "model/configuration.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>

namespace torvane::cli {

namespace {

constexpr int kExitOverflow = 3;
constexpr int kMaxCommands = 84;

constexpr const char* kMapHelp =
    "Usage: torvane-cli map IN [-o OUT]\n\n"
    "Calculates the mapping address of every command of IN (.chg or .xml), as the\n"
    "\"Calculate Mapping Address\" command does without its confirmation: at most 84\n"
    "commands are kept, and a command without a byte count stops it.\n"
    "Prints the new addresses. With -o, writes the configuration to OUT (a name ending\n"
    "in .xml is written as XML, anything else as an archive); IN itself is not changed.\n\n"
    "Exit codes: 0 the mapping fits, 3 the mapping overflows (OUT is still written),\n"
    "1 refused (a byte count is missing; nothing written) or a file error, 2 usage error.\n";

constexpr const char* kCheckHelp =
    "Usage: torvane-cli check IN [--yes]\n\n"
    "Runs the checks a master download runs on IN (.chg or .xml): Validate\n"
    "configuration (bus load of the RPDO and SDO cycles, mapping range, 32-byte rule,\n"
    "missing addresses, overlaps, PDO COB-ID directions), then Check nodes.\n"
    "Prints the first failing message.\n\n"
    "  --yes   answer OK to the bus-load questions (default: Cancel)\n\n"
    "Exit codes: 0 the checks pass, 1 a check fails, a question was cancelled or a\n"
    "file error, 2 usage error.\n";

struct Parsed {
    std::string in;
    std::optional<std::string> out;
    bool yes = false;
};

// Parses IN plus the options a command allows; prints the reason and returns nullopt on misuse.
std::optional<Parsed> parse(const char* command, const Args& args, bool allowOut, bool allowYes) {
    Parsed p;
    bool haveIn = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (allowOut && (a == "-o" || a == "--output")) {
            if (i + 1 >= args.size()) {
                std::cerr << "torvane-cli " << command << ": " << a << " needs a file name\n";
                return std::nullopt;
            }
            p.out = args[++i];
        } else if (allowYes && a == "--yes") {
            p.yes = true;
        } else if (a.size() > 1 && a[0] == '-') {
            std::cerr << "torvane-cli " << command << ": unknown option '" << a << "'\n";
            return std::nullopt;
        } else if (!haveIn) {
            p.in = a;
            haveIn = true;
        } else {
            std::cerr << "torvane-cli " << command << ": unexpected argument '" << a << "'\n";
            return std::nullopt;
        }
    }
    if (!haveIn) {
        std::cerr << "torvane-cli " << command << ": no input file given\n";
        return std::nullopt;
    }
    return p;
}

// Reads IN the way the program opens a file, starting from a new master configuration.
bool load(const std::string& path, GatewayConfiguration& cfg) {
    cfg = newConfiguration(kCanopenMaster);
    DocumentState doc;
    std::string error;
    if (!loadConfigurationFile(path, cfg, doc, error)) {
        std::cerr << "torvane-cli: " << error << '\n';
        return false;
    }
    return true;
}

std::string withoutTrailingNewline(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) {
        s.pop_back();
    }
    return s;
}

void printAddresses(const GatewayConfiguration& cfg) {
    const CONFIG& c = cfg.Config;
    std::cout << "#   Type          Bytes  Mapping Address\n";
    for (int i = 0; i < c.InstructionCount && i < kInstructionTableSize; ++i) {
        const INSTRUCTION& ins = c.Instructions[i];
        std::string label = commandLabel(ins.InstructionType);
        if (label.empty()) {
            label = "type " + ins.InstructionType;
        }
        std::string n = std::to_string(i + 1);
        std::cout << n << std::string(n.size() < 4 ? 4 - n.size() : 1, ' ') << label
                  << std::string(label.size() < 14 ? 14 - label.size() : 1, ' ') << ins.Bytes
                  << std::string(ins.Bytes.size() < 7 ? 7 - ins.Bytes.size() : 1, ' ')
                  << ins.MappingAddress << '\n';
    }
}

// Prints each bus-load question with the answer the command line gives it.
class FlagAnswer : public CycleQuestioner {
public:
    FlagAnswer(const std::string& file, bool yes) : file_(file), yes_(yes) {}
    bool askToContinue(const CycleQuestion& q) override {
        std::cerr << "torvane-cli: " << file_ << ": " << q.text << " -> "
                  << (yes_ ? "OK (--yes)" : "Cancel") << '\n';
        return yes_;
    }

private:
    const std::string& file_;
    bool yes_;
};

} // namespace

int cmdMap(const Args& args) {
    if (wantsHelp(args)) {
        std::cout << kMapHelp;
        return kExitOk;
    }
    const std::optional<Parsed> p = parse("map", args, true, false);
    if (!p) {
        std::cerr << kMapHelp;
        return kExitUsage;
    }
    GatewayConfiguration cfg;
    if (!load(p->in, cfg)) {
        return kExitFailed;
    }
    const MappingCommandResult r = runCalculateMappingCommand(cfg);
    if (r.outcome == MappingOutcome::Refused) {
        std::cerr << "torvane-cli: " << p->in << ": " << r.message << " (command "
                  << r.refusedCommand + 1 << " has no byte count)\n";
        return kExitFailed;
    }
    printAddresses(cfg);
    std::cout << "Input bytes: " << r.totals.inputTotal
              << ", output bytes: " << r.totals.outputTotal
              << ", I/O byte count: " << cfg.Fieldbus.InportNum << '\n';
    (r.outcome == MappingOutcome::Fits ? std::cout : std::cerr)
        << (r.outcome == MappingOutcome::Fits ? "" : "torvane-cli: " + p->in + ": ") << r.message
        << '\n';
    if (p->out) {
        std::string error;
        if (!saveConfigurationFile(*p->out, cfg, error)) {
            std::cerr << "torvane-cli: " << error << '\n';
            return kExitFailed;
        }
    }
    return r.outcome == MappingOutcome::Fits ? kExitOk : kExitOverflow;
}

int cmdCheck(const Args& args) {
    if (wantsHelp(args)) {
        std::cout << kCheckHelp;
        return kExitOk;
    }
    const std::optional<Parsed> p = parse("check", args, false, true);
    if (!p) {
        std::cerr << kCheckHelp;
        return kExitUsage;
    }
    GatewayConfiguration cfg;
    if (!load(p->in, cfg)) {
        return kExitFailed;
    }
    // The download checks at most the 84 commands it sends.
    cfg.Config.InstructionCount = std::min(cfg.Config.InstructionCount, kMaxCommands);
    FlagAnswer answer(p->in, p->yes);
    const CheckResult r = runPreDownloadChecks(cfg, answer);
    switch (r.outcome) {
    case CheckOutcome::Passed:
        std::cout << p->in << ": the checks pass\n";
        return kExitOk;
    case CheckOutcome::Failed:
        std::cerr << "torvane-cli: " << p->in << ": " << withoutTrailingNewline(r.message) << '\n';
        return kExitFailed;
    case CheckOutcome::Cancelled:
        break;
    }
    std::cerr << "torvane-cli: " << p->in
              << ": stopped at a bus-load question (run with --yes to accept the slow cycle)\n";
    return kExitFailed;
}

} // namespace torvane::cli
