#pragma once

#include "model/vocabulary.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace torvane {

inline constexpr int kCanopenMaster = 0;
inline constexpr int kCanopenSlave = 1;

struct NodeEntry {
    std::string NodeAddress;
    std::string NodeName;

    bool operator==(const NodeEntry&) const = default;
};

struct INSTRUCTION {
    std::string NodeAddress;
    std::string InstructionType;
    std::string Index;
    std::string SubIndex;
    std::string CobId;
    std::string MappingAddress;
    std::string Bytes;
    std::string Description;
    std::string SpareText;
    std::int32_t NodeIndex = 0;

    bool operator==(const INSTRUCTION&) const = default;
};

struct CONFIG {
    std::string ConfigTypeText;
    // Master parameter block: SlaveAddress .. SDOPollDelay (sixteen texts, see kMasterBlock).
    std::string SlaveAddress;
    std::string BuadRate;
    std::string SDOTimeout;
    std::string ReservedText;
    std::string NMT;
    std::string TPDOTimeout;
    std::string DelayStart;
    std::string SYNC;
    std::string ControlStatus;
    std::string ErrorControl;
    std::string RPDOCycle;
    std::string OutputProcessing;
    std::string SDOCycle;
    std::string SDOConcurrent;
    std::string SDORetries;
    std::string SDOPollDelay;
    // Slave parameter block.
    std::string SlaveBaudRate;
    std::string SlaveNodeAddress;
    std::string RPDOTimeout;
    std::string SlaveDelayStart;

    std::int32_t NodeCount = 0;
    std::int32_t InstructionCount = 0;
    std::int32_t ConfigEdition = kEditionReadDefault;

    std::array<NodeEntry, kNodeTableSize> Nodes{};
    std::array<INSTRUCTION, kInstructionTableSize> Instructions{};

    bool operator==(const CONFIG&) const = default;
};

// How many node and command entries are in use: the counts, clamped to the tables (a file may
// hold any count).
inline int usedNodeCount(const CONFIG& c) {
    return std::clamp(c.NodeCount, 0, kNodeTableSize);
}
inline int usedCommandCount(const CONFIG& c) {
    return std::clamp(c.InstructionCount, 0, kInstructionTableSize);
}

// The entries in use.
inline std::span<const NodeEntry> usedNodes(const CONFIG& c) {
    return std::span(c.Nodes).first(static_cast<std::size_t>(usedNodeCount(c)));
}
inline std::span<NodeEntry> usedNodes(CONFIG& c) {
    return std::span(c.Nodes).first(static_cast<std::size_t>(usedNodeCount(c)));
}
inline std::span<const INSTRUCTION> usedCommands(const CONFIG& c) {
    return std::span(c.Instructions).first(static_cast<std::size_t>(usedCommandCount(c)));
}
inline std::span<INSTRUCTION> usedCommands(CONFIG& c) {
    return std::span(c.Instructions).first(static_cast<std::size_t>(usedCommandCount(c)));
}

// Table operations. The used entries stay first and the counts follow them; an entry that leaves
// the used part becomes that of a new configuration. A position outside the used entries
// changes nothing.

// Appends `node` after the used nodes; false when all kNodeTableSize entries are used.
bool appendNode(CONFIG& c, const NodeEntry& node);
// Removes the node at 0-based `position` with every command it owns; the later nodes move up
// and their commands' NodeIndex follows them.
void eraseNode(CONFIG& c, int position);
// Appends `command` after the used commands; false when all kInstructionTableSize slots are used.
bool appendCommand(CONFIG& c, const INSTRUCTION& command);
// Removes the command at 0-based `position`; the later commands move up.
void eraseCommand(CONFIG& c, int position);
// Moves the command at 0-based `from` to `to`; the commands between shift by one place.
void moveCommand(CONFIG& c, int from, int to);

// The master parameter block in declared order; the parameter grid numbers its rows over it.
inline constexpr std::array<std::string CONFIG::*, 16> kMasterBlock = {
    &CONFIG::SlaveAddress,  &CONFIG::BuadRate,      &CONFIG::SDOTimeout, &CONFIG::ReservedText,
    &CONFIG::NMT,           &CONFIG::TPDOTimeout,   &CONFIG::DelayStart, &CONFIG::SYNC,
    &CONFIG::ControlStatus, &CONFIG::ErrorControl,  &CONFIG::RPDOCycle,  &CONFIG::OutputProcessing,
    &CONFIG::SDOCycle,      &CONFIG::SDOConcurrent, &CONFIG::SDORetries, &CONFIG::SDOPollDelay,
};

inline constexpr std::array<std::string CONFIG::*, 4> kSlaveBlock = {
    &CONFIG::SlaveBaudRate,
    &CONFIG::SlaveNodeAddress,
    &CONFIG::RPDOTimeout,
    &CONFIG::SlaveDelayStart,
};

struct FIELDBUS {
    std::string InportNum = "112";
    std::string AuxParam;
    std::string SizeByTypeA;
    std::string SizeByTypeB;

    bool operator==(const FIELDBUS&) const = default;
};

// The one configuration the program edits: both records plus the values that travel with them.
struct GatewayConfiguration {
    int ConfigType = kCanopenMaster;
    FIELDBUS Fieldbus;
    CONFIG Config;
    std::string FirmwareVersion = "3.0";

    bool operator==(const GatewayConfiguration&) const = default;

    bool isMaster() const { return ConfigType == kCanopenMaster; }
};

// File state of the open document; belongs to the document, not to the records.
struct DocumentState {
    bool ModifiedFlag = false;
    int FileKind = 0; // 0 none, 1 archive, 2 XML
    bool LoadedFromArchive = false;
    bool OldEditionLoaded = false;
    std::string CurrentFilePath;
};

inline constexpr int kFileKindNone = 0;
inline constexpr int kFileKindArchive = 1;
inline constexpr int kFileKindXml = 2;

// Applies every new-configuration value for `configType`, keeping ConfigTypeText, ReservedText
// and ConfigEdition, and sets FirmwareVersion to "3.0".
void resetToNew(GatewayConfiguration& cfg, int configType);

// A configuration as New creates it: resetToNew plus ConfigEdition 500.
GatewayConfiguration newConfiguration(int configType);

// Tree and grid label of a command type code; empty for a code outside "1".."4".
std::string commandLabel(const std::string& instructionType);

// True for Upload SDO and Transmit PDO: their data lie in the Profibus input buffer.
bool isInputCommand(const std::string& instructionType);

// True for the PDO command codes "3" and "4".
bool isPdoCommand(const std::string& instructionType);

// COB-ID ranges a command may use: 1..127, 257..1408, 1664..1792, 1920..2046.
bool isValidCobId(long value);

} // namespace torvane
