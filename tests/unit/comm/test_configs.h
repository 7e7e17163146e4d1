#pragma once

#include "mapping/mapping_calculation.h"
#include "model/configuration.h"
#include "model/text_number.h"

#include <string>

namespace torvane::test {

// The mapping rules the slave download runs before it sends.
inline bool recalculateMapping(GatewayConfiguration& cfg) {
    return calculateMapping(cfg).fits;
}

// Appends a command for the node with address `node`, adding the node when it is new.
// SDO commands take `key` as Index, PDO commands as CobId.
inline void addCommand(GatewayConfiguration& cfg, const char* type, int node, int key, int sub,
                       int bytes, int map) {
    CONFIG& c = cfg.Config;
    const std::string address = decimalText(node);
    int n = 0;
    while (n < c.NodeCount && c.Nodes[n].NodeAddress != address) {
        ++n;
    }
    if (n == c.NodeCount) {
        c.Nodes[n].NodeAddress = address;
        c.Nodes[n].NodeName = "Node-" + address;
        ++c.NodeCount;
    }
    INSTRUCTION& i = c.Instructions[c.InstructionCount++];
    i.InstructionType = type;
    i.NodeAddress = cfg.isMaster() ? address : c.SlaveNodeAddress;
    if (isPdoCommand(type)) {
        i.CobId = decimalText(key);
    } else {
        i.Index = decimalText(key);
        i.SubIndex = decimalText(sub);
    }
    i.Bytes = decimalText(bytes);
    i.MappingAddress = decimalText(map);
    i.NodeIndex = n + 1;
}

// Master configuration with one command of each kind on node 1.
inline GatewayConfiguration sampleMaster() {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    addCommand(cfg, kUploadSdo, 1, 0x6000, 1, 2, 0);
    addCommand(cfg, kTransmitPdo, 1, 385, 0, 4, 2);
    addCommand(cfg, kDownloadSdo, 1, 0x6200, 2, 1, 0);
    addCommand(cfg, kReceivePdo, 1, 513, 0, 2, 2);
    return cfg;
}

// Master configuration with the given number of commands of each kind, each 1 byte.
inline GatewayConfiguration masterWithCounts(int upSdo, int tpdo, int downSdo, int rpdo) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    int in = 0;
    int out = 0;
    for (int k = 0; k < upSdo; ++k) {
        addCommand(cfg, kUploadSdo, 1 + k % 3, 0x2000 + k, 1, 1, in++);
    }
    for (int k = 0; k < tpdo; ++k) {
        addCommand(cfg, kTransmitPdo, 1 + k % 3, 0x181 + k, 0, 1, in++);
    }
    for (int k = 0; k < downSdo; ++k) {
        addCommand(cfg, kDownloadSdo, 1 + k % 3, 0x3000 + k, 2, 1, out++);
    }
    for (int k = 0; k < rpdo; ++k) {
        addCommand(cfg, kReceivePdo, 1 + k % 3, 0x201 + k, 0, 1, out++);
    }
    return cfg;
}

} // namespace torvane::test
