#include "model/configuration.h"

#include "model/strings.h"

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
