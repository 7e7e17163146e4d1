#include "editor/add_command.h"

#include "model/strings.h"

#include <algorithm>

namespace torvane {

namespace {

constexpr int kFullLayoutIndex = 2;

int countOfType(const CONFIG& c, const std::string& type) {
    const std::span<const INSTRUCTION> commands = usedCommands(c);
    return static_cast<int>(
        std::count_if(commands.begin(), commands.end(),
                      [&](const INSTRUCTION& i) { return i.InstructionType == type; }));
}

AddCommandEntry entry(Text text, CommandKind kind) {
    const CommandType& t = commandType(kind);
    return {text, t.code, t.label};
}

AddCommandResult refused(Text message) {
    AddCommandResult r;
    r.status = AddCommandStatus::Refused;
    r.messages.emplace_back(message);
    return r;
}

} // namespace

CommandTypeLimit oldFirmwareCommandLimit(int configType, const std::string& type) {
    if (configType != kCanopenMaster) {
        return type == kTransmitPdo ? CommandTypeLimit{kSlavePdoLimit, str::TransmitPdoLimit42}
                                    : CommandTypeLimit{kSlavePdoLimit, str::ReceivePdoLimit42};
    }
    if (type == kTransmitPdo) {
        return {kCompatiblePdoLimit, str::TransmitPdoLimit14};
    }
    if (type == kReceivePdo) {
        return {kCompatiblePdoLimit, str::ReceivePdoLimit14};
    }
    return {kCompatibleSdoLimit, str::SdoLimit28};
}

std::vector<AddCommandEntry> addCommandEntries(int configType) {
    if (configType == kCanopenMaster) {
        return {
            entry(str::AddMasterUploadSdo, CommandKind::UploadSdo),
            entry(str::AddMasterDownloadSdo, CommandKind::DownloadSdo),
            entry(str::AddMasterTransmitPdo, CommandKind::TransmitPdo),
            entry(str::AddMasterReceivePdo, CommandKind::ReceivePdo),
        };
    }
    return {
        entry(str::AddSlaveTransmitPdo, CommandKind::TransmitPdo),
        entry(str::AddSlaveReceivePdo, CommandKind::ReceivePdo),
    };
}

AddCommandResult addCommand(GatewayConfiguration& cfg, int firmwareIndex, const EditTarget& target,
                            int kind) {
    const std::vector<AddCommandEntry> entries = addCommandEntries(cfg.ConfigType);
    if (kind < 0 || kind >= static_cast<int>(entries.size())) {
        return {};
    }
    const AddCommandEntry& entry = entries[static_cast<std::size_t>(kind)];
    CONFIG& c = cfg.Config;
    const bool master = cfg.isMaster();
    const bool fullLayout = firmwareIndex >= kFullLayoutIndex;
    const int used = usedCommandCount(c);

    if (fullLayout && !master && countOfType(c, entry.instructionType) + 1 > kSlavePdoLimit) {
        return refused(entry.instructionType == kTransmitPdo ? str::SlaveTransmitPdoOver42
                                                             : str::SlaveReceivePdoOver42);
    }
    const int nodes = usedNodeCount(c);
    const bool nodeTarget =
        master && target.page == PageKind::Node && target.position >= 1 && target.position <= nodes;
    const bool slaveTarget = !master && target.page == PageKind::Canopen;
    if (!nodeTarget && !slaveTarget) {
        return {};
    }
    // The table has 256 slots; a loaded file may already fill them with commands that no
    // per-type limit counts.
    if ((fullLayout && master && used + 1 > kCommandCap) || used >= kInstructionTableSize) {
        return refused(str::CommandUpperLimit84);
    }
    if (!fullLayout) {
        const CommandTypeLimit limit =
            oldFirmwareCommandLimit(cfg.ConfigType, entry.instructionType);
        if (countOfType(c, entry.instructionType) + 1 > limit.limit) {
            return refused(limit.message);
        }
    }

    INSTRUCTION cmd;
    cmd.InstructionType = entry.instructionType;
    if (master) {
        cmd.NodeIndex = target.position;
        cmd.NodeAddress = usedNodes(c)[target.position - 1].NodeAddress;
    } else {
        cmd.NodeIndex = 0;
        cmd.NodeAddress = c.SlaveNodeAddress;
    }
    appendCommand(c, cmd);

    // The older gateways read the first Upload SDO and the first Download SDO at offset 0.
    if (!fullLayout) {
        const std::span<INSTRUCTION> commands = usedCommands(c);
        for (const char* type : {kUploadSdo, kDownloadSdo}) {
            const auto first =
                std::find_if(commands.begin(), commands.end(),
                             [type](const INSTRUCTION& i) { return i.InstructionType == type; });
            if (first != commands.end()) {
                first->MappingAddress.assign(1, '0');
            }
        }
    }

    AddCommandResult r;
    r.status = AddCommandStatus::Added;
    r.position = c.InstructionCount;
    r.treeText = entry.treeText;
    r.parent = target;
    r.modified = true;
    return r;
}

} // namespace torvane
