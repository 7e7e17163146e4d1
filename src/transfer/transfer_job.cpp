#include "transfer/transfer_job.h"

#include "comm/tavo20_down.h"
#include "comm/tavo20_upload.h"
#include "mapping/mapping_calculation.h"
#include "mapping/predownload_checks.h"
#include "model/strings.h"

#include <algorithm>

namespace torvane {

namespace {

// Answers Cancel when the caller gave no questioner: a doubtful configuration is not sent.
class CancelCycleQuestions final : public CycleQuestioner {
public:
    bool askToContinue(const CycleQuestion& /*question*/) override { return false; }
};

struct Port {
    std::unique_ptr<SerialPort> port;
    std::string name;
    bool known = false;
};

Port choosePort(const TransferRequest& request, const TransferServices& services) {
    Port p;
    if (request.portIndex >= 0 &&
        static_cast<std::size_t>(request.portIndex) < request.ports.size()) {
        p.name = request.ports[static_cast<std::size_t>(request.portIndex)];
        p.known = true;
    }
    if (services.openPort) {
        p.port = services.openPort();
    }
    return p;
}

// Opens the port, runs `body` and fills the result; a port index outside the list is result 0.
template <typename Proto, typename Body>
void openAndRun(Proto& proto, const Port& port, TransferOutcome& outcome, Body body) {
    outcome.started = true;
    if (!port.known) {
        outcome.resultCode = static_cast<int>(TransferResult::OpenFailed);
        outcome.text = transferResultText(TransferResult::OpenFailed, {}, str::OpenNoPortSelected);
        return;
    }
    outcome.port = port.name;
    const TransferResult opened = proto.Open(port.name, 57600, 1);
    const TransferResult result = opened == TransferResult::Success ? body() : opened;
    outcome.resultCode = static_cast<int>(result);
    outcome.text = proto.ResultText(result);
}

} // namespace

TransferOutcome runDownload(TransferRequest request, const TransferServices& services) {
    TransferOutcome outcome;
    GatewayConfiguration& cfg = request.configuration;
    if (cfg.Config.InstructionCount >= kCommandCap) {
        outcome.commandsCapped = cfg.Config.InstructionCount > kCommandCap;
        cfg.Config.InstructionCount = kCommandCap;
    }
    const GatewayConfiguration before = cfg;

    if (cfg.ConfigType == kCanopenMaster) {
        CancelCycleQuestions cancel;
        CycleQuestioner& questioner =
            services.cycleQuestion != nullptr ? *services.cycleQuestion : cancel;
        const CheckResult check = runPreDownloadChecks(cfg, questioner);
        if (!check.passed()) {
            outcome.text = check.message;
            outcome.checkCommands = check.commands;
            outcome.checkNode = check.node;
            outcome.configuration = std::move(cfg);
            return outcome;
        }
    } else if (cfg.ConfigType == kCanopenSlave) {
        calculateMapping(cfg); // sent whatever it says; the protocol checks the fit again
    } else {
        outcome.configuration = std::move(cfg);
        return outcome;
    }

    SteadyClock steady;
    Clock& clock = services.clock != nullptr ? *services.clock : steady;
    Port port = choosePort(request, services);
    std::unique_ptr<CDownConfig> proto;
    if (cfg.ConfigType == kCanopenMaster) {
        proto = std::make_unique<CTAVO20Down>(std::move(port.port), clock, cfg);
    } else {
        proto = std::make_unique<CTAVO20SDown>(
            std::move(port.port), clock, cfg,
            [](GatewayConfiguration& c) { return calculateMapping(c).fits; });
    }
    proto->setOldEditionLoaded(request.oldEditionLoaded);
    proto->setProgressObserver(services.progress);
    proto->setFormatQuestion(services.formatQuestion);

    openAndRun(*proto, port, outcome, [&] { return proto->Download(); });
    proto.reset(); // closes the port before the caller shows the message

    outcome.configurationChanged = outcome.commandsCapped || !(cfg == before);
    outcome.configuration = std::move(cfg);
    return outcome;
}

TransferOutcome runUpload(TransferRequest request, const TransferServices& services) {
    TransferOutcome outcome;
    GatewayConfiguration& cfg = request.configuration;
    if (cfg.ConfigType != kCanopenMaster && cfg.ConfigType != kCanopenSlave) {
        outcome.configuration = std::move(cfg);
        return outcome;
    }
    SteadyClock steady;
    Clock& clock = services.clock != nullptr ? *services.clock : steady;
    Port port = choosePort(request, services);
    std::unique_ptr<CUploadConfig> proto;
    if (cfg.ConfigType == kCanopenMaster) {
        proto = std::make_unique<CTAVO20Upload>(std::move(port.port), clock, cfg);
    } else {
        proto = std::make_unique<CTAVO20SUpload>(std::move(port.port), clock, cfg);
    }
    proto->setProgressObserver(services.progress);

    openAndRun(*proto, port, outcome, [&] { return proto->Upload(); });
    outcome.configurationChanged = proto->framesComplete();
    outcome.format = proto->downloadFormat();
    outcome.sdoOptionsRead = proto->sdoOptionsSupported();
    proto.reset();

    outcome.configuration = std::move(cfg);
    return outcome;
}

Message transferMessage(const TransferOutcome& outcome) {
    // The link and gateway failures; the later codes refuse the configuration, not the port.
    const bool portFailed = outcome.started &&
                            outcome.resultCode >= static_cast<int>(TransferResult::OpenFailed) &&
                            outcome.resultCode <= static_cast<int>(TransferResult::Unsupported);
    if (!portFailed || outcome.port.empty()) {
        return outcome.text;
    }
    return {str::TwoLines, outcome.text, Message(str::PortLine, outcome.port)};
}

DownloadChanges applyDownloadChanges(GatewayConfiguration& live, const TransferOutcome& outcome) {
    DownloadChanges changes;
    const CONFIG& sent = outcome.configuration.Config;
    CONFIG& c = live.Config;
    if (outcome.commandsCapped && c.InstructionCount > kCommandCap) {
        c.InstructionCount = kCommandCap;
        changes.commandsCut = true;
    }
    if (!outcome.started) {
        return changes;
    }
    if ((c.ConfigEdition < kEditionNewLayout) != (sent.ConfigEdition < kEditionNewLayout)) {
        c.ConfigEdition = sent.ConfigEdition;
        changes.layout = true;
    }
    if (live.ConfigType == kCanopenSlave && outcome.configuration.ConfigType == kCanopenSlave) {
        // The slave download recalculated every address; commands edited meanwhile keep theirs.
        const std::span<const INSTRUCTION> theirs = usedCommands(sent);
        auto their = theirs.begin();
        for (INSTRUCTION& mine : usedCommands(c)) {
            if (their == theirs.end()) {
                break;
            }
            if (mine.InstructionType == their->InstructionType && mine.Bytes == their->Bytes &&
                mine.MappingAddress != their->MappingAddress) {
                mine.MappingAddress = their->MappingAddress;
                changes.mappingAddresses = true;
            }
            ++their;
        }
    }
    return changes;
}

Message downloadStepName(const DownloadChanges& changes) {
    std::vector<Message> parts;
    auto add = [&parts](bool changed, Text part) {
        if (changed) {
            parts.emplace_back(part);
        }
    };
    add(changes.commandsCut, str::StepPartCommandCut);
    add(changes.mappingAddresses, str::StepPartMappingAddresses);
    add(changes.layout, str::StepPartLayout);
    if (parts.empty()) {
        return {};
    }
    return {str::StepDownloadChanged, joined(parts, str::ListJoin)};
}

} // namespace torvane
