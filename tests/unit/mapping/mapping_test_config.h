#pragma once

#include "model/configuration.h"

#include <initializer_list>
#include <string>

namespace torvane::test {

// One command as the tests write it: type code, byte count, address, COB-ID, node address.
struct Cmd {
    std::string type;
    std::string bytes;
    std::string address = "";
    std::string cobId = "";
    std::string node = "1";
};

inline GatewayConfiguration masterWith(const std::string& inportNum,
                                       std::initializer_list<Cmd> cmds) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    cfg.Fieldbus.InportNum = inportNum;
    int i = 0;
    for (const Cmd& c : cmds) {
        INSTRUCTION& ins = cfg.Config.Instructions[i++];
        ins.InstructionType = c.type;
        ins.Bytes = c.bytes;
        ins.MappingAddress = c.address;
        ins.CobId = c.cobId;
        ins.NodeAddress = c.node;
        ins.NodeIndex = 1;
    }
    cfg.Config.InstructionCount = i;
    return cfg;
}

} // namespace torvane::test
