#include "../../support/english.h"
#include "editor/add_command.h"
#include "editor/command_drafts.h"
#include "editor/network_tree.h"
#include "model/record_view.h"
#include "model/strings.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace torvane {
namespace {

struct TreeFixture : ::testing::Test {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    EditorState state;
    NetworkTreeEditor tree{cfg, state};

    TreeSelection network() const { return canopenSideItem(cfg); }
    TreeSelection node(int n) const {
        return {TreeItemKind::Node, n, cfg.Config.Nodes[static_cast<std::size_t>(n - 1)].NodeName};
    }
    void addNodeWithAddress(int address) {
        tree.addNode(network());
        NodeEntry& n = cfg.Config.Nodes[static_cast<std::size_t>(cfg.Config.NodeCount - 1)];
        n.NodeAddress = std::to_string(address);
        n.NodeName = "Node-" + std::to_string(address);
    }
    void addCommand(int nodeIndex, const char* type, const char* cobId = "") {
        const std::string& address = cfg.Config.Nodes[nodeIndex - 1].NodeAddress;
        cfg.Config.Instructions[cfg.Config.InstructionCount++] = {
            address, type, "", "", cobId, "0", "4", "speed", "", nodeIndex};
    }
};

// The CANopen side of the tree: each node and its commands with their item data.
std::string outline(const GatewayConfiguration& cfg) {
    const std::vector<TreeItem> roots = buildTree(cfg);
    std::string s;
    for (const TreeItem& node : roots.at(1).children) {
        s += node.text + "#" + std::to_string(node.data) + "[";
        for (const TreeItem& cmd : node.children) {
            s += cmd.text + "#" + std::to_string(cmd.data) + " ";
        }
        s += "]";
    }
    return s;
}

// Added from the network or from a node; the 85th overruns.
TEST_F(TreeFixture, EightyFifthNodeOverrunsAndThePasteThatFollowsCopiesNothing) {
    addNodeWithAddress(5);
    addCommand(1, kTransmitPdo, "389");
    tree.copyNode(node(1));
    for (int n = 2; n <= 84; ++n) {
        ASSERT_TRUE(tree.addNode(n % 2 == 0 ? network() : node(1)).changed) << n;
    }
    const TreeEditResult over = tree.addNode(network());
    EXPECT_FALSE(over.changed);
    EXPECT_EQ(english(over.messages), std::vector<std::string>{"Nodes overrun!"});
    EXPECT_EQ(cfg.Config.NodeCount, 84);

    EXPECT_FALSE(tree.pasteNode(node(1)).messages.empty()); // reported, not silently dropped
    EXPECT_TRUE(tree.copyState().addNodeFailed);
    EXPECT_EQ(cfg.Config.InstructionCount, 1);
}

// Deleting node 2 of 3 moves node 3 and its commands up; deleting a command moves the later
// ones up.
TEST_F(TreeFixture, DeletingNodesAndCommandsMovesTheRestUp) {
    for (int a : {5, 6, 7}) {
        addNodeWithAddress(a);
    }
    addCommand(2, kUploadSdo);
    addCommand(3, kReceivePdo);
    addCommand(1, kDownloadSdo);
    addCommand(2, kTransmitPdo);
    addCommand(3, kTransmitPdo);
    EXPECT_TRUE(tree.deleteNode(node(2)).changed);
    EXPECT_EQ(outline(cfg), "Node-5#1[Download SDO#2 ]Node-7#2[Receive PDO#1 Transmit PDO#3 ]");
    EXPECT_EQ(cfg.Config.Instructions[3], INSTRUCTION{});

    const TreeSelection first{TreeItemKind::Command, 1, "Receive PDO"};
    EXPECT_FALSE(tree.deleteNode(first).changed);

    EXPECT_TRUE(tree.deleteCommand(first).changed);
    EXPECT_EQ(outline(cfg), "Node-5#1[Download SDO#1 ]Node-7#2[Transmit PDO#2 ]");
    EXPECT_FALSE(tree.deleteCommand({TreeItemKind::Command, 3, "Transmit PDO"}).changed);
}

TEST_F(TreeFixture, PasteCopiesTheCommandsOfTheCopiedNodeWithoutDescription) {
    addNodeWithAddress(5);
    addCommand(1, kTransmitPdo, "389");
    tree.copyNode(node(1));
    EXPECT_EQ(state.lastCopiedNodeAddress, 5);
    EXPECT_TRUE(tree.pasteNode(node(1)).messages.empty());
    EXPECT_EQ(cfg.Config.Nodes[1], (NodeEntry{"", "New node"}));
    ASSERT_EQ(cfg.Config.InstructionCount, 2);
    INSTRUCTION expected = cfg.Config.Instructions[0];
    expected.NodeIndex = 2;
    expected.NodeAddress = "";
    expected.Description = "";
    EXPECT_EQ(cfg.Config.Instructions[1], expected);

    // Copying a node without address makes paste unavailable; the last copied address stays.
    tree.copyNode(node(2));
    EXPECT_FALSE(tree.copyState().pastePossible);
    EXPECT_EQ(state.lastCopiedNodeAddress, 0);
    EXPECT_FALSE(tree.pasteNode(node(1)).changed);
}

// A configuration whose node 1 (master) or the gateway (slave) holds `count` commands of each
// listed type.
GatewayConfiguration withCommands(int configType,
                                  const std::vector<std::pair<const char*, int>>& commands) {
    GatewayConfiguration cfg = newConfiguration(configType);
    if (configType == kCanopenMaster) {
        cfg.Config.NodeCount = 2;
        cfg.Config.Nodes[0] = {"5", "Node-5"};
        cfg.Config.Nodes[1] = {"", str::NewNode};
    }
    for (const auto& [type, count] : commands) {
        for (int k = 0; k < count; ++k) {
            INSTRUCTION& i =
                cfg.Config.Instructions[static_cast<std::size_t>(cfg.Config.InstructionCount++)];
            i.InstructionType = type;
            i.NodeIndex = configType == kCanopenMaster ? 1 : 0;
        }
    }
    return cfg;
}

TEST(AddCommand, LimitsPerFirmwareAndConfigurationType) {
    constexpr int M = kCanopenMaster;
    constexpr int S = kCanopenSlave;
    // clang-format off
    // A refusal of "" ignores the command; the target is node 1 or the slave gateway unless given.
    const struct { // NOLINT(clang-analyzer-optin.performance.Padding)
                   const char* name; int configType; int firmwareIndex;
                   std::vector<std::pair<const char*, int>> existing; int kind; const char* refusal;
                   std::optional<EditTarget> target = std::nullopt; } cases[] = {
        {"84th command", M, 3, {{kUploadSdo, 20}, {kDownloadSdo, 21}, {kTransmitPdo, 21}, {kReceivePdo, 21}}, 3, nullptr},
        {"85th command", M, 3, {{kUploadSdo, 21}, {kDownloadSdo, 21}, {kTransmitPdo, 21}, {kReceivePdo, 21}}, 1, str::CommandUpperLimit84.source},
        {"42nd slave TPDO", S, 3, {{kTransmitPdo, 41}}, 0, nullptr},
        {"43rd slave TPDO", S, 3, {{kTransmitPdo, 42}}, 0, str::SlaveTransmitPdoOver42.source},
        {"RPDO beside 42 TPDO", S, 3, {{kTransmitPdo, 42}, {kReceivePdo, 41}}, 1, nullptr},
        {"43rd slave RPDO", S, 2, {{kReceivePdo, 42}}, 1, str::SlaveReceivePdoOver42.source},
        {"29th Upload SDO", M, 1, {{kUploadSdo, 28}, {kDownloadSdo, 28}}, 0, str::SdoLimit28.source},
        {"28th Upload SDO", M, 1, {{kUploadSdo, 27}, {kDownloadSdo, 28}}, 0, nullptr},
        {"15th Transmit PDO", M, 1, {{kTransmitPdo, 14}}, 2, str::TransmitPdoLimit14.source},
        {"15th Receive PDO", M, 1, {{kReceivePdo, 14}}, 3, str::ReceivePdoLimit14.source},
        {"RPDO beside 14 TPDO", M, 1, {{kTransmitPdo, 14}}, 3, nullptr},
        // A loaded file may fill all 256 slots with commands no per-type limit counts.
        {"full table, slave", S, 3, {{kUploadSdo, 256}}, 0, str::CommandUpperLimit84.source},
        {"the network", M, 3, {}, 0, "", EditTarget{PageKind::Canopen, 0}},
        {"no such node", M, 3, {}, 0, "", EditTarget{PageKind::Node, 3}},
        {"a node of a slave", S, 3, {}, 0, "", EditTarget{PageKind::Node, 1}},
        {"a slave has no SDOs", S, 3, {}, 2, ""},
        {"a negative kind", S, 3, {}, -1, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        GatewayConfiguration cfg = withCommands(c.configType, c.existing);
        const GatewayConfiguration before = cfg;
        const EditTarget target = c.target.value_or(
            c.configType == M ? EditTarget{PageKind::Node, 1} : EditTarget{PageKind::Canopen, 0});
        const AddCommandResult r = addCommand(cfg, c.firmwareIndex, target, c.kind);
        if (c.refusal != nullptr && *c.refusal == '\0') {
            EXPECT_EQ(r.status, AddCommandStatus::Ignored) << c.name;
            EXPECT_TRUE(cfg == before) << c.name;
        } else if (c.refusal == nullptr) {
            EXPECT_EQ(r.status, AddCommandStatus::Added) << c.name;
            EXPECT_TRUE(r.messages.empty()) << c.name;
            EXPECT_EQ(cfg.Config.InstructionCount, before.Config.InstructionCount + 1) << c.name;
        } else {
            EXPECT_EQ(r.status, AddCommandStatus::Refused) << c.name;
            EXPECT_EQ(english(r.messages), std::vector<std::string>{c.refusal}) << c.name;
            EXPECT_TRUE(cfg == before) << c.name;
            EXPECT_FALSE(r.modified) << c.name;
        }
    }
}

TEST(AddCommand, AppendsAnEmptyCommandUnderItsTarget) {
    GatewayConfiguration cfg = withCommands(kCanopenMaster, {{kUploadSdo, 2}});
    EXPECT_EQ(addCommand(cfg, 3, {PageKind::Node, 2}, 3).position, 3);
    addCommand(cfg, 3, {PageKind::Node, 1}, 2);
    // A "New node" has no address yet.
    EXPECT_EQ(cfg.Config.Instructions[2],
              (INSTRUCTION{"", kReceivePdo, "", "", "", "", "", "", "", 2}));
    EXPECT_EQ(cfg.Config.Instructions[3],
              (INSTRUCTION{"5", kTransmitPdo, "", "", "", "", "", "", "", 1}));

    GatewayConfiguration slave = withCommands(kCanopenSlave, {});
    slave.Config.SlaveNodeAddress = "33";
    addCommand(slave, 3, {PageKind::Canopen, 0}, 0);
    EXPECT_EQ(slave.Config.Instructions[0],
              (INSTRUCTION{"33", kTransmitPdo, "", "", "", "", "", "", "", 0}));
}

TEST(AddCommand, OldFirmwareMapsTheFirstUploadAndDownloadSdoAtZero) {
    for (const int firmwareIndex : {1, 3}) {
        GatewayConfiguration cfg =
            withCommands(kCanopenMaster, {{kTransmitPdo, 1}, {kUploadSdo, 2}});
        for (int k = 0; k < 3; ++k) {
            cfg.Config.Instructions[static_cast<std::size_t>(k)].MappingAddress = "9";
        }
        addCommand(cfg, firmwareIndex, {PageKind::Node, 1}, 1);
        std::vector<std::string> mapping(4);
        for (std::size_t k = 0; k < mapping.size(); ++k) {
            mapping[k] = cfg.Config.Instructions[k].MappingAddress;
        }
        EXPECT_EQ(mapping, (firmwareIndex < 2 ? std::vector<std::string>{"9", "0", "9", "0"}
                                              : std::vector<std::string>{"9", "9", "9", ""}));
    }
}

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
    const Setup newNode = [](GatewayConfiguration& c) { appendNode(c.Config, {"", str::NewNode}); };
    const std::string conflict = "The COB-ID and node-5 command an Article PDO COB-ID conflict";
    const struct {
        const char* what;
        Setup setup;
        NodeDrafts drafts;
        std::string refusal;              // empty: the node takes the commands
        std::vector<std::string> reasons; // per draft; empty: added
    } cases[] = {
        // clang-format off
        {"a new node and its PDOs and SDOs", none, {0, "6", "Antrieb", {pdo("3", "390", "6"), pdo("4", "518", "2"), sdo("1", "24641", "2")}}, "", {"", "", ""}},
        {"a slave configuration has no nodes", slave, {0, "6", "", {}}, str::DraftsNeedMaster.source, {}},
        {"address taken", none, {0, "5", "", {}}, str::NodeAddressRepetitive.source, {}},
        {"a node without an address", newNode, {2, "", "", {pdo("3", "390", "1")}}, str::EnterNodeAddress.source, {}},
        {"COB-IDs: another node's, invalid, shared beyond 8 bytes", none,
         {0, "6", "", {pdo("3", "389", "1"), pdo("3", "1500", "1"), pdo("3", "390", "5"), pdo("3", "390", "4"), pdo("3", "390", "3")}},
         "", {conflict, str::IllegalCobId.source, "", str::SameCobIdBytesOutOfRange.source, ""}},
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
                INSTRUCTION expected = c.drafts.commands[i];
                expected.NodeIndex = r.node;
                expected.NodeAddress =
                    cfg.Config.Nodes[static_cast<std::size_t>(r.node - 1)].NodeAddress;
                EXPECT_EQ(
                    usedCommands(cfg.Config)[static_cast<std::size_t>(r.commands[i].position - 1)],
                    expected);
            } else {
                ASSERT_FALSE(r.commands[i].reasons.empty());
                EXPECT_EQ(r.commands[i].reasons.front().english(), c.reasons[i]);
            }
        }
        EXPECT_EQ(cfg.Config.InstructionCount, before.Config.InstructionCount + added);
        if (r.nodeAdded) {
            EXPECT_EQ(
                cfg.Config.Nodes[static_cast<std::size_t>(r.node - 1)],
                (NodeEntry{c.drafts.address,
                           c.drafts.name.empty() ? "Node-" + c.drafts.address : c.drafts.name}));
        }
    }
}

} // namespace
} // namespace torvane
