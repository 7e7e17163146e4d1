#include "mapping/predownload_checks.h"

#include "mapping/mapping_calculation.h"
#include "model/strings.h"
#include "model/text_number.h"

#include <algorithm>
#include <vector>

namespace torvane {

namespace {

long long ceilDiv(long long a, long long b) {
    return (a + b - 1) / b;
}

// `format` with %1 and %2 standing for `a` and `b`, each as an int.
Message formatTwoNumbers(Text format, long long a, long long b) {
    return {format, static_cast<int>(a), static_cast<int>(b)};
}

CheckResult fail(Message message, std::vector<int> commands = {}) {
    CheckResult r;
    r.outcome = CheckOutcome::Failed;
    r.message = std::move(message);
    r.commands = std::move(commands);
    return r;
}

// Asks the bus-load question when the configured cycle is shorter than the least one.
// Returns false when the user cancelled; `cancelled` then carries the result to return.
bool passesCycle(const GatewayConfiguration& cfg, CycleKind kind, CycleQuestioner& questioner,
                 CheckResult& cancelled) {
    const CONFIG& c = cfg.Config;
    const int configured = decimalValue(kind == CycleKind::Rpdo ? c.RPDOCycle : c.SDOCycle);
    if (configured < 1) {
        return true;
    }
    int n = 0;
    for (int i = 0; i < usedCommandCount(c); ++i) {
        const std::string& t = c.Instructions[i].InstructionType;
        n += kind == CycleKind::Rpdo ? (t == kReceivePdo) : (t == kUploadSdo || t == kDownloadSdo);
    }
    const int least = leastCycleMs(c.BuadRate, kind, n);
    if (least <= configured) {
        return true;
    }
    CycleQuestion q;
    q.kind = kind;
    q.commandCount = n;
    q.leastCycle = least;
    q.configuredCycle = configured;
    q.text = formatTwoNumbers(
        kind == CycleKind::Rpdo ? str::RpdoCycleQuestion : str::SdoCycleQuestion, n, least);
    if (questioner.askToContinue(q)) {
        return true;
    }
    cancelled = CheckResult{};
    cancelled.outcome = CheckOutcome::Cancelled;
    cancelled.question = q.text;
    return false;
}

struct Range {
    long long start;
    long long length;
    int command; // 0-based position
};

// The positions (ascending) of the first two commands of one buffer that overlap; empty when
// none do.
std::vector<int> overlapping(const std::vector<Range>& side) {
    for (std::size_t i = 0; i < side.size(); ++i) {
        for (std::size_t j = 0; j < side.size(); ++j) {
            if (i != j && side[i].start <= side[j].start &&
                side[j].start < side[i].start + side[i].length) {
                return {std::min(side[i].command, side[j].command),
                        std::max(side[i].command, side[j].command)};
            }
        }
    }
    return {};
}

} // namespace

int leastCycleMs(const std::string& baudRate, CycleKind kind, int commandCount) {
    // A text outside the table costs what the slowest rates cost.
    const CanBaudRate* found = findCanBaudRate(baudRate);
    const CanBaudRate& rate = found != nullptr ? *found : kCanBaudRates.back();
    long long num = rate.rpdoCostNum;
    const long long den = rate.rpdoCostDen;
    if (kind == CycleKind::Sdo) {
        num *= 2;
    }
    const long long n = std::max(commandCount, 0);
    return static_cast<int>(ceilDiv(num * n, den));
}

CheckResult validateConfiguration(const GatewayConfiguration& cfg, CycleQuestioner& questioner) {
    const CONFIG& c = cfg.Config;
    CheckResult cancelled;
    // OK to a question only accepts the slow cycle; the mapping checks still run, so that a
    // faulty mapping cannot reach the gateway behind an accepted warning.
    if (!passesCycle(cfg, CycleKind::Rpdo, questioner, cancelled) ||
        !passesCycle(cfg, CycleKind::Sdo, questioner, cancelled)) {
        return cancelled;
    }

    const int count = usedCommandCount(c);
    const long long limit = ioByteLimit(cfg.Fieldbus.InportNum);
    auto startOf = [&](int i) -> long long {
        return decimalValue(c.Instructions[i].MappingAddress);
    };
    auto lengthOf = [&](int i) -> long long { return decimalValue(c.Instructions[i].Bytes); };

    for (int i = 0; i < count; ++i) {
        if (startOf(i) + lengthOf(i) > limit) {
            return fail(str::CheckRangeFailed, {i});
        }
    }
    if (packingOf(cfg.Fieldbus.InportNum) == PackingMode::Block32) {
        for (int i = 0; i < count; ++i) {
            if (crossesBlock32(startOf(i), lengthOf(i))) {
                return fail(str::CheckBlock32Failed, {i});
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        const std::string& m = c.Instructions[i].MappingAddress;
        if (m.empty() || m == "-1") {
            return fail(str::CheckAddressInvalid, {i});
        }
    }

    std::vector<Range> input;
    std::vector<Range> output;
    for (int i = 0; i < count; ++i) {
        (isInputCommand(c.Instructions[i].InstructionType) ? input : output)
            .push_back({startOf(i), lengthOf(i), i});
    }
    for (const std::vector<Range>* side : {&input, &output}) {
        if (std::vector<int> pair = overlapping(*side); !pair.empty()) {
            return fail(str::CheckAddressConflict, std::move(pair));
        }
    }

    for (int i = 0; i < count; ++i) {
        const INSTRUCTION& a = c.Instructions[i];
        const int typeA = decimalValue(a.InstructionType);
        if (typeA != 3 && typeA != 4) {
            continue;
        }
        const int cobA = decimalValue(a.CobId);
        for (int j = i + 1; j < count; ++j) {
            const INSTRUCTION& b = c.Instructions[j];
            const int typeB = decimalValue(b.InstructionType);
            if ((typeB == 3 || typeB == 4) && typeB != typeA && decimalValue(b.CobId) == cobA) {
                return fail(formatTwoNumbers(str::CheckCobIdConflict, decimalValue(a.NodeAddress),
                                             decimalValue(b.NodeAddress)),
                            {i, j});
            }
        }
    }
    return {};
}

CheckResult checkNodes(const GatewayConfiguration& cfg) {
    const CONFIG& c = cfg.Config;
    const int nodes = usedNodeCount(c);
    const int count = usedCommandCount(c);
    for (int n = 0; n < nodes; ++n) {
        const std::string& address = c.Nodes[n].NodeAddress;
        const auto first = c.Instructions.begin();
        if (std::none_of(first, first + count,
                         [&](const INSTRUCTION& i) { return i.NodeAddress == address; })) {
            CheckResult r = fail(str::CheckInvalidNode);
            r.node = n;
            return r;
        }
    }
    return {};
}

CheckResult runPreDownloadChecks(const GatewayConfiguration& cfg, CycleQuestioner& questioner) {
    CheckResult r = validateConfiguration(cfg, questioner);
    if (!r.passed()) {
        return r;
    }
    return checkNodes(cfg);
}

} // namespace torvane
