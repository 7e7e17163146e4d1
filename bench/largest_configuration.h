#pragma once

// The largest configuration the benchmarks measure: every command slot used, with long
// descriptions; each command keyed apart from the others (its own Index or COB-ID).

#include "model/configuration.h"

#include <string>

namespace torvane::bench {

// `nodes` nodes (84 is the editor's limit, 128 the table) and 256 commands with descriptions of
// `descriptionLength` characters.
inline GatewayConfiguration largestConfiguration(int nodes = kNodeTableSize,
                                                 std::size_t descriptionLength = 300) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    CONFIG& c = cfg.Config;
    c.NodeCount = nodes;
    for (int n = 0; n < nodes; ++n) {
        c.Nodes[static_cast<std::size_t>(n)] = {std::to_string(n % 127 + 1),
                                                "Node number " + std::to_string(n + 1)};
    }
    c.InstructionCount = kInstructionTableSize;
    for (int i = 0; i < kInstructionTableSize; ++i) {
        const std::string type = std::to_string(i % 4 + 1);
        const int node = i % nodes;
        c.Instructions[static_cast<std::size_t>(i)] = {
            c.Nodes[static_cast<std::size_t>(node)].NodeAddress,
            type,
            isPdoCommand(type) ? "" : std::to_string(24576 + i),
            isPdoCommand(type) ? "" : "1",
            isPdoCommand(type) ? std::to_string(385 + i) : "",
            std::to_string(i % 112),
            "2",
            std::string(descriptionLength, static_cast<char>('a' + i % 26)),
            "",
            node + 1};
    }
    return cfg;
}

} // namespace torvane::bench
