#include "model/configuration.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(NewConfiguration, MasterHasTheDocumentedInitialValues) {
    const GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    const CONFIG& c = cfg.Config;
    EXPECT_EQ(c.NodeCount, 0);
    EXPECT_EQ(c.InstructionCount, 0);
    EXPECT_EQ(c.ConfigEdition, 500);
    EXPECT_EQ(cfg.Fieldbus, (FIELDBUS{"112", "125K", "64", "64"}));
    EXPECT_EQ(cfg.FirmwareVersion, "3.0");
    EXPECT_EQ(c.ConfigTypeText, "");
    const std::pair<std::string CONFIG::*, const char*> fields[] = {
        {&CONFIG::BuadRate, "250K"},
        {&CONFIG::SlaveBaudRate, "250K"},
        {&CONFIG::SlaveAddress, "127"},
        {&CONFIG::SlaveNodeAddress, "1"},
        {&CONFIG::SDOTimeout, "200"},
        {&CONFIG::DelayStart, "100"},
        {&CONFIG::SlaveDelayStart, "100"},
        {&CONFIG::SDOConcurrent, "Enable"},
        {&CONFIG::OutputProcessing, "Hold"},
        {&CONFIG::NMT, "Disable"},
        {&CONFIG::ControlStatus, "Disable"},
        {&CONFIG::TPDOTimeout, "0"},
        {&CONFIG::SYNC, "0"},
        {&CONFIG::ErrorControl, "0"},
        {&CONFIG::RPDOCycle, "0"},
        {&CONFIG::SDOCycle, "0"},
        {&CONFIG::SDORetries, "0"},
        {&CONFIG::SDOPollDelay, "0"},
        {&CONFIG::RPDOTimeout, "0"},
        {&CONFIG::ReservedText, ""},
    };
    for (const auto& [field, value] : fields) {
        EXPECT_EQ(c.*field, value);
    }
    EXPECT_EQ(c.Nodes[127], (NodeEntry{"", "New node"}));
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

TEST(CommandTypes, LabelsDirectionsAndCobIdRanges) {
    EXPECT_EQ(commandLabel("1"), "Upload SDO");
    EXPECT_EQ(commandLabel("2"), "Download SDO");
    EXPECT_EQ(commandLabel("3"), "Transmit PDO");
    EXPECT_EQ(commandLabel("4"), "Receive PDO");
    EXPECT_EQ(commandLabel("5"), "");
    EXPECT_EQ(commandLabel(""), "");
    EXPECT_TRUE(isInputCommand("1"));
    EXPECT_TRUE(isInputCommand("3"));
    EXPECT_FALSE(isInputCommand("2"));
    EXPECT_FALSE(isInputCommand("4"));
    for (long v : {1L, 127L, 257L, 1408L, 1664L, 1792L, 1920L, 2046L}) {
        EXPECT_TRUE(isValidCobId(v)) << v;
    }
    for (long v : {0L, 128L, 256L, 1409L, 1663L, 1793L, 1919L, 2047L, -1L}) {
        EXPECT_FALSE(isValidCobId(v)) << v;
    }
}

} // namespace
} // namespace torvane
