#pragma once

// The default PDOs a device description gives: the communication objects 0x1400-0x15FF
// (the node's RPDOs) and 0x1800-0x19FF (its TPDOs) with their mapping objects 0x200 above
// (CiA 301). A DCF's ParameterValue takes precedence over DefaultValue.

#include "devices/device_description.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torvane {

enum class PdoDirection : std::uint8_t {
    Receive,  // an RPDO: the node receives it
    Transmit, // a TPDO: the node sends it
};

struct PdoMappingEntry {
    std::uint16_t index = 0;
    std::uint8_t subIndex = 0;
    int bits = 0;
    bool dummy = false;     // a data type's index: bits the node skips
    bool described = false; // the file describes the mapped object
    std::string name;       // the mapped entry's name; a dummy's type name
    std::string objectName; // the name of the object it belongs to, for a sub-object
    std::uint16_t dataType = 0;
};

struct DefaultPdo {
    PdoDirection direction = PdoDirection::Receive;
    int number = 1; // 1 for 0x1400 and 0x1800
    std::uint16_t communicationIndex = 0;
    std::uint16_t mappingIndex = 0;
    std::string cobIdText;              // the COB-ID entry as written; empty when there is none
    std::optional<std::uint32_t> cobId; // the entry for the node; nullopt without a value or
                                        // when it adds $NODEID and no node address is known
    bool valid = false;                 // bit 31 clear: the PDO is enabled
    bool extended = false;              // bit 29 set: a 29-bit identifier
    bool hasMapping = false;
    std::vector<PdoMappingEntry> entries;

    // "RPDO 1", "TPDO 3".
    std::string label() const;
    // The CAN identifier of cobId: 11 bits, or 29 for an extended one.
    std::optional<std::uint32_t> canId() const;
    int bits() const;
    // Bytes the mapping fills; nullopt when it does not end on a byte.
    std::optional<int> bytes() const;
};

// The default PDOs of `device` for node `nodeId` (1..127), RPDOs then TPDOs by number;
// without a node address a COB-ID that adds $NODEID stays as written.
std::vector<DefaultPdo> defaultPdos(const DeviceDescription& device,
                                    std::optional<unsigned> nodeId);

// The oddities of the default PDOs (29-bit identifiers, missing or unknown mapped objects,
// sizes that disagree, more than 64 bits) as notes; the reader adds them to its own.
void notePdoOddities(const DeviceDescription& device, DeviceNotes& notes);

} // namespace torvane
