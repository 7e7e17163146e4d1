#include "../../support/english.h"
#include "editor/network_tree.h"
#include "model/strings.h"

#include <gtest/gtest.h>

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
    TreeSelection command(int q) const {
        return {
            TreeItemKind::Command, q,
            commandLabel(cfg.Config.Instructions[static_cast<std::size_t>(q - 1)].InstructionType)};
    }
    void addNodeWithAddress(int address) {
        tree.addNode(network());
        NodeEntry& n = cfg.Config.Nodes[static_cast<std::size_t>(cfg.Config.NodeCount - 1)];
        n.NodeAddress = std::to_string(address);
        n.NodeName = "Node-" + std::to_string(address);
    }
    void addCommand(int nodeIndex, const char* type, const char* cobId = "") {
        INSTRUCTION& i =
            cfg.Config.Instructions[static_cast<std::size_t>(cfg.Config.InstructionCount++)];
        i.NodeIndex = nodeIndex;
        i.NodeAddress = cfg.Config.Nodes[static_cast<std::size_t>(nodeIndex - 1)].NodeAddress;
        i.InstructionType = type;
        i.CobId = cobId;
        i.Bytes = "4";
        i.MappingAddress = "0";
        i.Description = "speed";
    }
};

TEST_F(TreeFixture, BuildsNodesWithTheirCommandsAndItemData) {
    addNodeWithAddress(5);
    addNodeWithAddress(6);
    addCommand(2, kReceivePdo);
    addCommand(1, kUploadSdo);
    const std::vector<TreeItem> roots = buildTree(cfg);
    ASSERT_EQ(roots.size(), 2U);
    ASSERT_EQ(roots[1].children.size(), 2U);
    EXPECT_EQ(roots[1].children[1].text, "Node-6");
    EXPECT_EQ(roots[1].children[1].data, 2);
    ASSERT_EQ(roots[1].children[0].children.size(), 1U);
    EXPECT_EQ(roots[1].children[0].children[0].text, "Upload SDO");
    EXPECT_EQ(roots[1].children[0].children[0].data, 2);

    cfg.ConfigType = kCanopenSlave;
    const std::vector<TreeItem> slave = buildTree(cfg);
    EXPECT_EQ(slave[1].text, "CANopen Slave");
    EXPECT_EQ(slave[1].children.size(), 2U);
}

TEST_F(TreeFixture, FlagsAndPageFollowTheSelection) {
    addNodeWithAddress(5);
    addCommand(1, kTransmitPdo);
    struct Case {
        TreeSelection item;
        const char* firmware;
        bool copied;
        PageKind page;
        EditFlags flags; // add node, delete node, add command, delete command, copy, paste
    };
    const TreeSelection slave{TreeItemKind::CanopenSlave, 0, "CANopen Slave"};
    const TreeSelection profibus{TreeItemKind::Profibus, 0, "Profibus Network"};
    // clang-format off
    const Case cases[] = {
        {profibus, "3.0", false, PageKind::Profibus, {}},
        {network(), "3.0", false, PageKind::Canopen, {true, false, false, false, false, false}},
        {node(1), "3.0", false, PageKind::Node, {true, true, true, false, true, false}},
        {node(1), "3.0", true, PageKind::Node, {true, true, true, false, true, true}},
        {node(1), "2.0", false, PageKind::Node, {true, true, true, false, true, false}},
        {slave, "3.0", false, PageKind::Canopen, {false, false, true, false, false, false}},
        {command(1), "3.0", false, PageKind::TpdoCommand, {false, false, false, true, false, false}},
    };
    // clang-format on
    for (const Case& c : cases) {
        cfg.FirmwareVersion = c.firmware;
        tree.resetCopyState();
        if (c.copied) {
            tree.copyNode(node(1));
        }
        EXPECT_EQ(pageKindOf(c.item), c.page) << c.item.text;
        EXPECT_EQ(tree.enabledFlags(c.item), c.flags) << c.item.text << " " << c.firmware;
    }
}

TEST_F(TreeFixture, AddNodeSelectsTheNewNodeFromTheNetworkOrFromANode) {
    addNodeWithAddress(5);
    for (const TreeSelection& from : {network(), node(1)}) {
        const TreeEditResult r = tree.addNode(from);
        ASSERT_TRUE(r.changed);
        EXPECT_EQ(r.select, node(cfg.Config.NodeCount));
        EXPECT_EQ(r.select.text, "New node");
        EXPECT_EQ(r.expand, std::vector<TreeSelection>{network()});
    }
    EXPECT_EQ(cfg.Config.NodeCount, 3);
}

TEST_F(TreeFixture, EightyFifthNodeOverrunsAndThePasteThatFollowsCopiesNothing) {
    addNodeWithAddress(5);
    addCommand(1, kTransmitPdo, "389");
    tree.copyNode(node(1));
    for (int n = 2; n <= 84; ++n) {
        EXPECT_TRUE(tree.addNode(network()).changed) << n;
    }
    EXPECT_EQ(cfg.Config.NodeCount, 84);
    const TreeEditResult over = tree.addNode(network());
    EXPECT_FALSE(over.changed);
    EXPECT_EQ(english(over.messages), std::vector<std::string>{"Nodes overrun!"});
    EXPECT_EQ(cfg.Config.NodeCount, 84);

    const TreeEditResult paste = tree.pasteNode(node(1));
    EXPECT_EQ(english(paste.messages), std::vector<std::string>{"Nodes overrun!"});
    EXPECT_TRUE(tree.copyState().addNodeFailed);
    EXPECT_EQ(cfg.Config.InstructionCount, 1);
}

TEST_F(TreeFixture, DeletingNodeTwoOfThreeMovesNodeThreeAndItsCommandsUp) {
    for (int a : {5, 6, 7}) {
        addNodeWithAddress(a);
    }
    addCommand(2, kUploadSdo);
    addCommand(3, kReceivePdo);
    addCommand(1, kDownloadSdo);
    addCommand(2, kTransmitPdo);
    addCommand(3, kTransmitPdo);
    const TreeEditResult r = tree.deleteNode(node(2));
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.select, network());
    EXPECT_EQ(r.expand, std::vector<TreeSelection>{network()});
    const CONFIG& c = cfg.Config;
    EXPECT_EQ(c.NodeCount, 2);
    EXPECT_EQ(c.Nodes[1].NodeName, "Node-7");
    ASSERT_EQ(c.InstructionCount, 3);
    EXPECT_EQ((std::pair{c.Instructions[0].InstructionType, c.Instructions[0].NodeIndex}),
              (std::pair{std::string(kReceivePdo), 2}));
    EXPECT_EQ(c.Instructions[1].NodeIndex, 1);
    EXPECT_EQ(c.Instructions[2].NodeIndex, 2);
    EXPECT_EQ(c.Instructions[3], INSTRUCTION{});
    EXPECT_EQ(buildTree(cfg)[1].children[1].children.size(), 2U);

    EXPECT_FALSE(tree.deleteNode(command(1)).changed);
}

TEST_F(TreeFixture, DeleteCommandMovesLaterCommandsUpAndSelectsItsNode) {
    addNodeWithAddress(5);
    addCommand(1, kUploadSdo);
    addCommand(1, kTransmitPdo, "389");
    const TreeEditResult r = tree.deleteCommand(command(1));
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.select, node(1));
    EXPECT_EQ(cfg.Config.InstructionCount, 1);
    EXPECT_EQ(cfg.Config.Instructions[0].CobId, "389");
    EXPECT_FALSE(tree.deleteCommand({TreeItemKind::Command, 2, "Upload SDO"}).changed);
}

TEST_F(TreeFixture, PasteCopiesTheCommandsOfTheCopiedNodeWithoutDescription) {
    addNodeWithAddress(5);
    addCommand(1, kTransmitPdo, "389");
    tree.copyNode(node(1));
    EXPECT_EQ(state.lastCopiedNodeAddress, 5);
    const TreeEditResult r = tree.pasteNode(node(1));
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(cfg.Config.NodeCount, 2);
    EXPECT_EQ(cfg.Config.Nodes[1].NodeName, "New node");
    ASSERT_EQ(cfg.Config.InstructionCount, 2);
    INSTRUCTION expected = cfg.Config.Instructions[0];
    expected.NodeIndex = 2;
    expected.NodeAddress = "";
    expected.Description = "";
    EXPECT_EQ(cfg.Config.Instructions[1], expected);
    EXPECT_EQ(r.expand, std::vector<TreeSelection>{node(2)});

    // Copying a node without address makes paste unavailable; the last copied address stays.
    tree.copyNode(node(2));
    EXPECT_FALSE(tree.copyState().pastePossible);
    EXPECT_EQ(state.lastCopiedNodeAddress, 0);
    EXPECT_FALSE(tree.pasteNode(node(1)).changed);
}

TEST_F(TreeFixture, PasteStopsAtTheCommandLimitOfTheFirmware) {
    // Node 5 holds `existing` commands of one type; two of its copies fit before the stop.
    const struct {
        const char* firmware;
        const char* type;
        int existing;
        const char* message;
    } cases[] = {
        {"3.0", kUploadSdo, 82, "Commands number exceed the limit!"},
        {"1.3X", kTransmitPdo, 12, "Transmit PDO commands beyond the limit (14 )!"},
        {"2.0", kDownloadSdo, 26, "SDO commands beyond the limit (28 )!"},
    };
    for (const auto& c : cases) {
        cfg = newConfiguration(kCanopenMaster);
        cfg.FirmwareVersion = c.firmware;
        addNodeWithAddress(5);
        for (int i = 0; i < c.existing; ++i) {
            addCommand(1, c.type);
        }
        tree.copyNode(node(1));
        const TreeEditResult r = tree.pasteNode(node(1));
        EXPECT_EQ(english(r.messages), std::vector<std::string>{c.message}) << c.firmware;
        EXPECT_EQ(cfg.Config.InstructionCount, c.existing + 2) << c.firmware;
    }
}

} // namespace
} // namespace torvane
