#include "editor/command_drafts.h"
#include "model/record_view.h"
#include "model/strings.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace torvane {
namespace {

// Node 5 ("Node-5") with a Transmit PDO 389 of 4 bytes and a 2-byte Upload SDO of 0x6041.
GatewayConfiguration sample() {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    appendNode(cfg.Config, {"5", "Node-5"});
    appendCommand(cfg.Config, {"5", "3", "", "", "389", "", "4", "", "", 1});
    appendCommand(cfg.Config, {"5", "1", "24641", "0", "", "", "2", "", "", 1});
    return cfg;
}

INSTRUCTION pdo(const char* type, const char* cobId, const char* bytes) {
    return {"", type, "", "", cobId, "", bytes, "Statusword", "", 0};
}

INSTRUCTION sdo(const char* type, const char* index, const char* bytes) {
    return {"", type, index, "0", "", "", bytes, "Statusword", "", 0};
}

// Every rule of the tree and the grid keeps its commands and nodes out as if they were typed; a
// refused command leaves nothing behind, a refused node nothing at all.
TEST(CommandDrafts, TheEditorsRulesApplyAsIfTyped) {
    using Setup = std::function<void(GatewayConfiguration&)>;
    const Setup none = [](GatewayConfiguration&) {};
    const Setup slave = [](GatewayConfiguration& c) { c = newConfiguration(kCanopenSlave); };
    const Setup fullNodes = [](GatewayConfiguration& c) {
        for (int n = 1; n < kNodeLimit; ++n) {
            appendNode(c.Config, {std::to_string(n + 5), "Node"});
        }
    };
    const Setup newNode = [](GatewayConfiguration& c) { appendNode(c.Config, {"", str::NewNode}); };
    const Setup oldFirmware14Tpdo = [](GatewayConfiguration& c) {
        c.FirmwareVersion = "1.3X";
        for (int n = 1; n < 14; ++n) {
            appendCommand(c.Config, {"5", "3", "", "", "", "", "1", "", "", 1});
        }
    };
    const std::string conflict = "The COB-ID and node-5 command an Article PDO COB-ID conflict";
    const struct {
        const char* what;
        Setup setup;
        NodeDrafts drafts;
        std::string refusal;              // empty: the node takes the commands
        std::vector<std::string> reasons; // per draft; empty: added; "x": any reason
    } cases[] = {
        // clang-format off
        {"a new node and its PDOs and SDOs", none, {0, "6", "Antrieb", {pdo("3", "390", "6"), pdo("4", "518", "2"), sdo("1", "24641", "2")}}, "", {"", "", ""}},
        {"a slave configuration has no nodes", slave, {0, "6", "", {}}, str::DraftsNeedMaster.source, {}},
        {"address taken", none, {0, "5", "", {}}, str::NodeAddressRepetitive.source, {}},
        {"85th node", fullNodes, {0, "100", "", {}}, str::NodesOverrun.source, {}},
        {"a node without an address", newNode, {2, "", "", {pdo("3", "390", "1")}}, str::EnterNodeAddress.source, {}},
        {"COB-IDs: another node's, invalid, shared beyond 8 bytes", none,
         {0, "6", "", {pdo("3", "389", "1"), pdo("3", "1500", "1"), pdo("3", "390", "5"), pdo("3", "390", "4"), pdo("3", "390", "3")}},
         "", {conflict, str::IllegalCobId.source, "", str::SameCobIdBytesOutOfRange.source, ""}},
        {"a 5-byte SDO and more than 4 bytes of one object", none,
         {1, "", "", {sdo("1", "24641", "5"), sdo("1", "24641", "4"), sdo("1", "24641", "2")}}, "", {"x", str::SameIndexBytesOutOfRange.source, ""}},
        {"old firmware: the 15th Transmit PDO", oldFirmware14Tpdo, {1, "", "", {pdo("3", "645", "1")}}, "", {str::TransmitPdoLimit14.source}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GatewayConfiguration cfg = sample();
        c.setup(cfg);
        const GatewayConfiguration before = cfg;
        EditorState state;
        const DraftResult r = addDrafts(cfg, state, c.drafts);
        if (!c.refusal.empty()) {
            ASSERT_FALSE(r.refusal.empty());
            EXPECT_EQ(r.refusal.front().english(), c.refusal);
            EXPECT_FALSE(r.changed());
            EXPECT_EQ(cfg, before);
            continue;
        }
        ASSERT_EQ(r.commands.size(), c.reasons.size());
        int added = 0;
        for (std::size_t i = 0; i < c.reasons.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(r.commands[i].added, c.reasons[i].empty());
            if (c.reasons[i].empty()) {
                ++added;
                // Stored as typed, the mapping address left for the calculation.
                const INSTRUCTION& stored =
                    usedCommands(cfg.Config)[static_cast<std::size_t>(r.commands[i].position - 1)];
                EXPECT_EQ(stored.Bytes, c.drafts.commands[i].Bytes);
                EXPECT_EQ(stored.NodeIndex, r.node);
                EXPECT_TRUE(stored.MappingAddress.empty());
            } else if (c.reasons[i] != "x") {
                ASSERT_FALSE(r.commands[i].reasons.empty());
                EXPECT_EQ(r.commands[i].reasons.front().english(), c.reasons[i]);
            }
        }
        EXPECT_EQ(cfg.Config.InstructionCount, before.Config.InstructionCount + added);
    }
}

TEST(CommandDrafts, NewNodeCarriesItsAddressAndNameAndOnlyFreeAddressesAreOffered) {
    GatewayConfiguration cfg = sample();
    EditorState state;
    const DraftResult r = addDrafts(cfg, state, {0, "6", "Antrieb", {pdo("3", "390", "2")}});
    ASSERT_TRUE(r.nodeAdded);
    EXPECT_EQ(cfg.Config.Nodes[1], (NodeEntry{"6", "Antrieb"}));
    EXPECT_EQ(r.select, (TreeSelection{TreeItemKind::Node, 2, "Antrieb"}));
    EXPECT_EQ(cfg.Config.Instructions[2].NodeAddress, "6");
    const std::vector<int> free = freeNodeAddresses(cfg);
    EXPECT_EQ(free.size(), 124U); // 127 less nodes 5 and 6 and the gateway's 127
    EXPECT_EQ(free.front(), 1);
    EXPECT_EQ(free.back(), 126);
    EXPECT_EQ(std::count(free.begin(), free.end(), 6), 0);
}

} // namespace
} // namespace torvane
