#include "mapping/predownload_checks.h"

#include "mapping/mapping_calculation.h"
#include "model/record_view.h"
#include "model/strings.h"

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
bool passesCycle(const GatewayConfiguration& cfg, const RecordView& view, CycleKind kind,
                 CycleQuestioner& questioner, CheckResult& cancelled) {
    const CONFIG& c = cfg.Config;
    const int configured = decodeNumber(kind == CycleKind::Rpdo ? c.RPDOCycle : c.SDOCycle).number;
    if (configured < 1) {
        return true;
    }
    const auto counted = [kind](const CommandView& cmd) {
        return kind == CycleKind::Rpdo ? cmd.kind == CommandKind::ReceivePdo
                                       : cmd.kind && !cmd.isPdo();
    };
    const int n =
        static_cast<int>(std::count_if(view.commands().begin(), view.commands().end(), counted));
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
    const RecordView view(cfg.Config);
    CheckResult cancelled;
    // OK to a question only accepts the slow cycle; the mapping checks still run, so that a
    // faulty mapping cannot reach the gateway behind an accepted warning.
    if (!passesCycle(cfg, view, CycleKind::Rpdo, questioner, cancelled) ||
        !passesCycle(cfg, view, CycleKind::Sdo, questioner, cancelled)) {
        return cancelled;
    }

    const std::span<const CommandView> commands = view.commands();
    const long long limit = ioByteLimit(cfg.Fieldbus.InportNum);
    // The numbers as the gateway reads them: a "not entered" text counts with its own value.
    auto startOf = [](const CommandView& cmd) -> long long { return cmd.mappingAddress.number; };
    auto lengthOf = [](const CommandView& cmd) -> long long { return cmd.bytes.number; };

    for (const CommandView& cmd : commands) {
        if (startOf(cmd) + lengthOf(cmd) > limit) {
            return fail(str::CheckRangeFailed, {cmd.position});
        }
    }
    if (packingOf(cfg.Fieldbus.InportNum) == PackingMode::Block32) {
        for (const CommandView& cmd : commands) {
            if (crossesBlock32(startOf(cmd), lengthOf(cmd))) {
                return fail(str::CheckBlock32Failed, {cmd.position});
            }
        }
    }
    for (const CommandView& cmd : commands) {
        if (!cmd.mappingAddress.entered()) {
            return fail(str::CheckAddressInvalid, {cmd.position});
        }
    }

    std::vector<Range> input;
    std::vector<Range> output;
    for (const CommandView& cmd : commands) {
        (cmd.isInput() ? input : output).push_back({startOf(cmd), lengthOf(cmd), cmd.position});
    }
    for (const std::vector<Range>* side : {&input, &output}) {
        if (std::vector<int> pair = overlapping(*side); !pair.empty()) {
            return fail(str::CheckAddressConflict, std::move(pair));
        }
    }

    // Type codes as numbers: a PDO is 3 or 4 however its code is written.
    const auto isPdoCode = [](const CommandView& cmd) {
        return cmd.code.number == 3 || cmd.code.number == 4;
    };
    for (auto a = commands.begin(); a != commands.end(); ++a) {
        if (!isPdoCode(*a)) {
            continue;
        }
        for (auto b = std::next(a); b != commands.end(); ++b) {
            if (isPdoCode(*b) && b->code.number != a->code.number &&
                b->cobId.number == a->cobId.number) {
                return fail(formatTwoNumbers(str::CheckCobIdConflict, a->nodeAddress.number,
                                             b->nodeAddress.number),
                            {a->position, b->position});
            }
        }
    }
    return {};
}

CheckResult checkNodes(const GatewayConfiguration& cfg) {
    const RecordView view(cfg.Config);
    for (const NodeView& node : view.nodes()) {
        const std::string& address = node.record->NodeAddress;
        if (std::none_of(view.commands().begin(), view.commands().end(),
                         [&](const CommandView& c) { return c.record->NodeAddress == address; })) {
            CheckResult r = fail(str::CheckInvalidNode);
            r.node = node.position;
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
