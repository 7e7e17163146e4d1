#include "model/configuration.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(NewConfiguration, SlaveDiffersOnlyInSizeByType) {
    GatewayConfiguration master = newConfiguration(kCanopenMaster);
    const GatewayConfiguration slave = newConfiguration(kCanopenSlave);
    EXPECT_EQ(slave.Fieldbus.SizeByTypeA, "112");
    EXPECT_EQ(slave.Fieldbus.SizeByTypeB, "112");
    master.ConfigType = kCanopenSlave;
    master.Fieldbus.SizeByTypeA = master.Fieldbus.SizeByTypeB = "112";
    EXPECT_EQ(master, slave);
}

TEST(ResetToNew, ClearsEveryCommandSlotButKeepsReservedTexts) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    cfg.Config.ReservedText = "kept";
    cfg.Config.ConfigTypeText = "1";
    cfg.Config.ConfigEdition = 210;
    cfg.Config.InstructionCount = 1;
    cfg.Config.Instructions[200].Description = "left over";
    cfg.Config.Instructions[200].NodeIndex = 3;
    cfg.Config.Nodes[5] = {"9", "Node-9"};
    cfg.FirmwareVersion = "2.0";
    resetToNew(cfg, kCanopenSlave);
    GatewayConfiguration expected = newConfiguration(kCanopenSlave);
    expected.Config.ReservedText = "kept";
    expected.Config.ConfigTypeText = "1";
    expected.Config.ConfigEdition = 210;
    EXPECT_EQ(cfg, expected);
}

// Three nodes and five commands; each command's Description names its node and its place.
CONFIG tables() {
    CONFIG c = newConfiguration(kCanopenMaster).Config;
    for (const char* address : {"5", "6", "7"}) {
        EXPECT_TRUE(appendNode(c, {address, std::string("Node-") + address}));
    }
    const int owners[] = {2, 3, 1, 2, 3};
    for (int i = 0; i < 5; ++i) {
        INSTRUCTION cmd;
        cmd.NodeIndex = owners[i];
        cmd.Description = std::to_string(owners[i]) + "/" + std::to_string(i);
        EXPECT_TRUE(appendCommand(c, cmd));
    }
    return c;
}

// The Description of every used command, and the NodeIndex it now has.
std::vector<std::pair<std::string, int>> commandsOf(const CONFIG& c) {
    std::vector<std::pair<std::string, int>> seen;
    for (const INSTRUCTION& i : usedCommands(c)) {
        seen.emplace_back(i.Description, i.NodeIndex);
    }
    return seen;
}

TEST(TableOperations, KeepTheUsedEntriesFirstAndClearWhatLeaves) {
    using Commands = std::vector<std::pair<std::string, int>>;
    const struct {
        const char* name;
        void (*op)(CONFIG&);
        Commands commands;
        std::vector<std::string> nodes;
    } cases[] = {
        {"erase node 2: its commands go, node 3 and its commands move up",
         [](CONFIG& c) { eraseNode(c, 1); },
         {{"3/1", 2}, {"1/2", 1}, {"3/4", 2}},
         {"5", "7"}},
        {"erase a node beyond the used ones",
         [](CONFIG& c) { eraseNode(c, 3); },
         Commands{{"2/0", 2}, {"3/1", 3}, {"1/2", 1}, {"2/3", 2}, {"3/4", 3}},
         {"5", "6", "7"}},
        {"erase command 2",
         [](CONFIG& c) { eraseCommand(c, 1); },
         Commands{{"2/0", 2}, {"1/2", 1}, {"2/3", 2}, {"3/4", 3}},
         {"5", "6", "7"}},
        {"erase a command beyond the used ones",
         [](CONFIG& c) { eraseCommand(c, 5); },
         Commands{{"2/0", 2}, {"3/1", 3}, {"1/2", 1}, {"2/3", 2}, {"3/4", 3}},
         {"5", "6", "7"}},
        {"move the first command last",
         [](CONFIG& c) { moveCommand(c, 0, 4); },
         Commands{{"3/1", 3}, {"1/2", 1}, {"2/3", 2}, {"3/4", 3}, {"2/0", 2}},
         {"5", "6", "7"}},
        {"move the last command second",
         [](CONFIG& c) { moveCommand(c, 4, 1); },
         Commands{{"2/0", 2}, {"3/4", 3}, {"3/1", 3}, {"1/2", 1}, {"2/3", 2}},
         {"5", "6", "7"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CONFIG t = tables();
        c.op(t);
        EXPECT_EQ(commandsOf(t), c.commands);
        std::vector<std::string> nodes;
        for (const NodeEntry& n : usedNodes(t)) {
            nodes.push_back(n.NodeAddress);
        }
        EXPECT_EQ(nodes, c.nodes);
        // What left the used part is as in a new configuration.
        EXPECT_EQ(t.Instructions[c.commands.size()], INSTRUCTION{});
        EXPECT_EQ(t.Nodes[c.nodes.size()], (NodeEntry{"", "New node"}));
    }
}

TEST(TableOperations, AppendRefusesAFullTable) {
    CONFIG c = newConfiguration(kCanopenMaster).Config;
    c.NodeCount = kNodeTableSize;
    c.InstructionCount = kInstructionTableSize + 9; // a count a file may hold
    EXPECT_FALSE(appendNode(c, {"5", "Node-5"}));
    EXPECT_FALSE(appendCommand(c, INSTRUCTION{}));
    EXPECT_EQ(c.NodeCount, kNodeTableSize);
    c.InstructionCount = -4;
    INSTRUCTION cmd;
    cmd.NodeAddress = "5";
    EXPECT_TRUE(appendCommand(c, cmd));
    EXPECT_EQ(c.InstructionCount, 1);
    EXPECT_EQ(c.Instructions[0].NodeAddress, "5");
}

} // namespace
} // namespace torvane
