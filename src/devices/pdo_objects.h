#pragma once

// What a PDO command of a master configuration carries when its bytes are those of one of its
// node's default PDOs: the mapped objects, each at its place in the command's bytes. The PLC
// tags give each object a tag of its own and the monitor a row of its own.

#include "devices/default_pdos.h"
#include "devices/device_library.h"
#include "model/record_view.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

struct PdoObject {
    int bitOffset = 0; // from the command's first bit
    int bits = 0;
    std::uint16_t index = 0;
    std::uint8_t subIndex = 0;
    std::string name; // UTF-8; a dummy entry's type name
    std::uint16_t dataType = 0;
    bool dummy = false; // bits the node skips

    bool wholeBytes() const { return bitOffset % 8 == 0 && bits % 8 == 0; }
};

// The default PDO whose data `command` carries for node `nodeAddress` (1..127): the node's TPDO
// for a Transmit PDO command, its RPDO for a Receive PDO command, enabled, with the command's
// COB-ID and exactly the command's whole bytes. nullopt for an SDO command, a command without a
// COB-ID or byte count, or when no default PDO matches. Only master configurations have such
// commands: a slave configuration's PDOs are the gateway's own.
std::optional<DefaultPdo> matchingDefaultPdo(const DeviceDescription& device,
                                             const CommandView& command, unsigned nodeAddress);

// The mapped objects of `pdo` in mapping order.
std::vector<PdoObject> pdoObjects(const DefaultPdo& pdo);

// The device of a node whose tree text (UTF-8) is `nodeName`: a stored device whose product name
// it is, a DCF before an EDS (it holds the configured values), then the greatest key. Names are
// compared as they stand, blanks at either end aside. nullptr when no product has that name.
const LibraryDevice* deviceForNode(const std::vector<LibraryDevice>& devices,
                                   std::string_view nodeName);

} // namespace torvane
