#pragma once

// Commands added as if their cells had been typed: a node and its commands built from a device
// description. Every rule of the tree and the grid applies to them, and a command the rules keep
// out is not added at all.

#include "editor/grid_page.h"
#include "editor/network_tree.h"
#include "model/configuration.h"
#include "model/message.h"

#include <string>
#include <vector>

namespace torvane {

struct NodeDrafts {
    // 1-based position of the node that receives the commands; 0 adds a node for them.
    int node = 0;
    std::string address; // the new node's address, as typed
    std::string name;    // the new node's tree text (configuration text); empty keeps "Node-N"
    // InstructionType, then Index and SubIndex or CobId, Bytes and Description as typed; the
    // other fields are filled as Add Command fills them.
    std::vector<INSTRUCTION> commands;
};

struct DraftOutcome {
    bool added = false;
    int position = 0;             // 1-based position of the added command
    std::vector<Message> reasons; // why the rules kept it out, as the editor says it
};

struct DraftResult {
    bool nodeAdded = false;
    // Why no node received commands (the node was refused or cannot take any); nothing changed.
    std::vector<Message> refusal;
    int node = 0;                       // 1-based position of the node
    std::vector<DraftOutcome> commands; // one for each draft, in order
    TreeSelection select;               // the node's item

    bool changed() const;
    int refusedCount() const;
};

// Adds the node of `drafts` (master configurations only) as Add Node does and types its address
// into its page, then names it; or takes the existing node, which must have an address. Then
// each command as Add Command appends it, its cells typed in the grid's order: COB-ID or Index
// and Sub-index, then Number of Bytes and Mnemonic Description. A command whose limit message
// or commit kept a cell from holding the typed text is removed again with the reasons. Returns
// a refusal and leaves `cfg` as it was when no node can take the commands.
DraftResult addDrafts(GatewayConfiguration& cfg, EditorState& state, const NodeDrafts& drafts);

// The addresses a new node may take: 1..127 except the gateway's own and those of the nodes.
std::vector<int> freeNodeAddresses(const GatewayConfiguration& cfg);

} // namespace torvane
