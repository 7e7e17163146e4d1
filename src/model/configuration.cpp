#include "model/configuration.h"

#include "model/strings.h"

#include <algorithm>

namespace torvane {

void resetToNew(GatewayConfiguration& cfg, int configType) {
    cfg.ConfigType = configType;
    const char* sizeByType = configType == kCanopenMaster ? "64" : "112";
    cfg.Fieldbus.InportNum = "112";
    cfg.Fieldbus.AuxParam = "125K";
    cfg.Fieldbus.SizeByTypeA = sizeByType;
    cfg.Fieldbus.SizeByTypeB = sizeByType;

    CONFIG& c = cfg.Config;
    c.SlaveAddress = "127";
    c.BuadRate = "250K";
    c.SDOTimeout = "200";
    c.NMT = str::Disable;
    c.TPDOTimeout = "0";
    c.DelayStart = "100";
    c.SYNC = "0";
    c.ControlStatus = str::Disable;
    c.ErrorControl = "0";
    c.RPDOCycle = "0";
    c.OutputProcessing = str::Hold;
    c.SDOCycle = "0";
    c.SDOConcurrent = str::Enable;
    c.SDORetries = "0";
    c.SDOPollDelay = "0";
    c.SlaveBaudRate = "250K";
    c.SlaveNodeAddress = "1";
    c.RPDOTimeout = "0";
    c.SlaveDelayStart = "100";
    c.NodeCount = 0;
    c.InstructionCount = 0;
    for (NodeEntry& n : c.Nodes) {
        n.NodeAddress.clear();
        n.NodeName = str::NewNode;
    }
    for (INSTRUCTION& i : c.Instructions) {
        i = INSTRUCTION{};
    }
    cfg.FirmwareVersion = "3.0";
}

GatewayConfiguration newConfiguration(int configType) {
    GatewayConfiguration cfg;
    resetToNew(cfg, configType);
    cfg.Config.ConfigEdition = kEditionCurrent;
    return cfg;
}

bool appendNode(CONFIG& c, const NodeEntry& node) {
    const int used = usedNodeCount(c);
    if (used == kNodeTableSize) {
        return false;
    }
    c.Nodes[static_cast<std::size_t>(used)] = node;
    c.NodeCount = used + 1;
    return true;
}

void eraseNode(CONFIG& c, int position) {
    const std::span<NodeEntry> nodes = usedNodes(c);
    if (position < 0 || position >= static_cast<int>(nodes.size())) {
        return;
    }
    const int owner = position + 1;
    const std::span<INSTRUCTION> commands = usedCommands(c);
    const auto kept =
        std::stable_partition(commands.begin(), commands.end(),
                              [owner](const INSTRUCTION& i) { return i.NodeIndex != owner; });
    for (auto i = commands.begin(); i != kept; ++i) {
        if (i->NodeIndex > owner) {
            --i->NodeIndex;
        }
    }
    std::fill(kept, commands.end(), INSTRUCTION{});
    c.InstructionCount = static_cast<std::int32_t>(kept - commands.begin());
    std::rotate(nodes.begin() + position, nodes.begin() + position + 1, nodes.end());
    nodes.back() = NodeEntry{"", str::NewNode};
    c.NodeCount = static_cast<std::int32_t>(nodes.size()) - 1;
}

bool appendCommand(CONFIG& c, const INSTRUCTION& command) {
    const int used = usedCommandCount(c);
    if (used == kInstructionTableSize) {
        return false;
    }
    c.Instructions[static_cast<std::size_t>(used)] = command;
    c.InstructionCount = used + 1;
    return true;
}

void moveCommand(CONFIG& c, int from, int to) {
    const std::span<INSTRUCTION> commands = usedCommands(c);
    const int used = static_cast<int>(commands.size());
    if (from < 0 || from >= used || to < 0 || to >= used) {
        return;
    }
    if (from < to) {
        std::rotate(commands.begin() + from, commands.begin() + from + 1,
                    commands.begin() + to + 1);
    } else {
        std::rotate(commands.begin() + to, commands.begin() + from, commands.begin() + from + 1);
    }
}

void eraseCommand(CONFIG& c, int position) {
    const int used = usedCommandCount(c);
    if (position < 0 || position >= used) {
        return;
    }
    moveCommand(c, position, used - 1);
    c.Instructions[static_cast<std::size_t>(used - 1)] = INSTRUCTION{};
    c.InstructionCount = used - 1;
}

std::string commandLabel(const std::string& instructionType) {
    const CommandType* t = findCommandType(instructionType);
    return t != nullptr ? t->label : std::string();
}

bool isInputCommand(const std::string& instructionType) {
    const CommandType* t = findCommandType(instructionType);
    return t != nullptr && t->input;
}

bool isPdoCommand(const std::string& instructionType) {
    const CommandType* t = findCommandType(instructionType);
    return t != nullptr && t->pdo;
}

bool isValidCobId(long value) {
    return (value >= 1 && value <= 127) || (value >= 257 && value <= 1408) ||
           (value >= 1664 && value <= 1792) || (value >= 1920 && value <= 2046);
}

} // namespace torvane
