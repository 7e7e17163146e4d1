#include "model/configuration.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

// The fields the archive carries are checked by the new_master.chg golden file; these are not
// written to it.
TEST(NewConfiguration, MasterValuesTheArchiveDoesNotCarry) {
    const GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    EXPECT_EQ(cfg.Config.ConfigEdition, 500);
    EXPECT_EQ(cfg.FirmwareVersion, "3.0");
    EXPECT_EQ(cfg.Config.ConfigTypeText, "");
    EXPECT_EQ(cfg.Config.Nodes[127], (NodeEntry{"", "New node"}));
}

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
    EXPECT_EQ(cfg.Config.Instructions[200], INSTRUCTION{});
    EXPECT_EQ(cfg.Config.Nodes[5], (NodeEntry{"", "New node"}));
    EXPECT_EQ(cfg.Config.ReservedText, "kept");
    EXPECT_EQ(cfg.Config.ConfigTypeText, "1");
    EXPECT_EQ(cfg.Config.ConfigEdition, 210);
    EXPECT_EQ(cfg.FirmwareVersion, "3.0");
    EXPECT_EQ(cfg.Config.InstructionCount, 0);
}

// The COB-ID ranges are checked through the command grid (CobIdCommit).
TEST(CommandTypes, LabelsAndDirections) {
    const struct {
        const char* type;
        const char* label;
        bool input;
    } cases[] = {{"1", "Upload SDO", true},
                 {"2", "Download SDO", false},
                 {"3", "Transmit PDO", true},
                 {"4", "Receive PDO", false},
                 {"5", "", false},
                 {"", "", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(commandLabel(c.type), c.label) << c.type;
        EXPECT_EQ(isInputCommand(c.type), c.input) << c.type;
    }
}

} // namespace
} // namespace torvane
