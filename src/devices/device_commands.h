#pragma once

// The commands a device description offers a master configuration: its default PDOs as
// Transmit PDO and Receive PDO commands, its objects as Upload SDO and Download SDO commands.
// What the device itself rules out carries the reason; the editor's rules come after, when the
// commands are added as if typed.

#include "devices/device_description.h"
#include "model/configuration.h"
#include "model/vocabulary.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torvane {

struct DeviceCommand {
    CommandKind kind = CommandKind::UploadSdo;
    std::string label;       // "TPDO 1", "0x6041 sub 0"
    std::string description; // UTF-8: the mapped objects' names, or the object's name
    std::uint16_t index = 0; // SDO commands
    std::uint8_t subIndex = 0;
    std::optional<std::uint32_t> cobId; // PDO commands: the CAN identifier for the node
    int bytes = 0;
    // A default PDO the device enables itself; a disabled one is offered only on request.
    bool enabled = true;
    std::vector<DeviceMessage> notes;     // what the engineer must still do on the node
    std::optional<DeviceMessage> refusal; // why the device rules the command out

    // The cells of the command as they would be typed: the type code, Index and Sub-index or
    // COB-ID, Number of Bytes in decimal, the description in the configuration's text encoding.
    // The node, the owner and the mapping address stay empty.
    INSTRUCTION draft() const;
};

// Every default PDO of `device` for node `nodeId` (1..127) as a command, RPDOs then TPDOs: the
// node's TPDO a Transmit PDO, its RPDO a Receive PDO. A disabled PDO (COB-ID bit 31 set) is
// offered with enabled false, its identifier without bit 31 and a note that the node must
// enable it. Refused: no COB-ID, a 29-bit identifier, no data, data that do not end on a
// byte, more than 8 bytes.
std::vector<DeviceCommand> pdoCommands(const DeviceDescription& device, unsigned nodeId);

// The entry `index`, `subIndex` of `device` as an Upload SDO (`kind` UploadSdo) or a Download
// SDO. Refused when the device does not describe it, when an Upload SDO cannot read it or a
// Download SDO cannot write it, or when its size is not 1, 2 or 4 bytes.
DeviceCommand sdoCommand(const DeviceDescription& device, std::uint16_t index,
                         std::uint8_t subIndex, CommandKind kind);

// "0x6041 sub 0".
std::string entryLabel(std::uint16_t index, std::uint8_t subIndex);

} // namespace torvane
