#include "../../support/english.h"
#include "editor/add_command.h"
#include "model/strings.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace torvane {
namespace {

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
    const struct { const char* name; int configType; int firmwareIndex;
                   std::vector<std::pair<const char*, int>> existing; int kind; const char* refusal; } cases[] = {
        {"84th command", M, 3, {{kUploadSdo, 20}, {kDownloadSdo, 21}, {kTransmitPdo, 21}, {kReceivePdo, 21}}, 3, nullptr},
        {"85th command", M, 3, {{kUploadSdo, 21}, {kDownloadSdo, 21}, {kTransmitPdo, 21}, {kReceivePdo, 21}}, 1, str::CommandUpperLimit84.source},
        {"42nd slave TPDO", S, 3, {{kTransmitPdo, 41}}, 0, nullptr},
        {"43rd slave TPDO", S, 3, {{kTransmitPdo, 42}}, 0, str::SlaveTransmitPdoOver42.source},
        {"RPDO beside 42 TPDO", S, 3, {{kTransmitPdo, 42}, {kReceivePdo, 41}}, 1, nullptr},
        {"43rd slave RPDO", S, 2, {{kReceivePdo, 42}}, 1, str::SlaveReceivePdoOver42.source},
        {"29th Upload SDO", M, 1, {{kUploadSdo, 28}, {kDownloadSdo, 28}}, 0, str::SdoLimit28.source},
        {"28th Upload SDO", M, 1, {{kUploadSdo, 27}, {kDownloadSdo, 28}}, 0, nullptr},
        {"29th Download SDO", M, 0, {{kDownloadSdo, 28}}, 1, str::SdoLimit28.source},
        {"15th Transmit PDO", M, 1, {{kTransmitPdo, 14}}, 2, str::TransmitPdoLimit14.source},
        {"15th Receive PDO", M, 1, {{kReceivePdo, 14}}, 3, str::ReceivePdoLimit14.source},
        {"RPDO beside 14 TPDO", M, 1, {{kTransmitPdo, 14}}, 3, nullptr},
        {"43rd slave TPDO, old firmware", S, 0, {{kTransmitPdo, 42}}, 0, str::TransmitPdoLimit42.source},
        {"43rd slave RPDO, old firmware", S, 1, {{kReceivePdo, 42}}, 1, str::ReceivePdoLimit42.source},
        // A loaded file may fill all 256 slots with commands no per-type limit counts.
        {"full table, slave", S, 3, {{kUploadSdo, 256}}, 0, str::CommandUpperLimit84.source},
        {"full table, old firmware", M, 1, {{"", 256}}, 0, str::CommandUpperLimit84.source},
    };
    // clang-format on
    for (const auto& c : cases) {
        GatewayConfiguration cfg = withCommands(c.configType, c.existing);
        const GatewayConfiguration before = cfg;
        const EditTarget target =
            c.configType == M ? EditTarget{PageKind::Node, 1} : EditTarget{PageKind::Canopen, 0};
        const AddCommandResult r = addCommand(cfg, c.firmwareIndex, target, c.kind);
        if (c.refusal == nullptr) {
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
    for (int n = 1; n <= 3; ++n) {
        const AddCommandResult r = addCommand(cfg, 3, {PageKind::Node, 2}, 3);
        EXPECT_EQ(r.position, 2 + n);
        EXPECT_EQ(r.treeText, "Receive PDO");
        EXPECT_EQ(r.parent, (EditTarget{PageKind::Node, 2}));
        EXPECT_TRUE(r.modified);
    }
    INSTRUCTION expected;
    expected.InstructionType = kReceivePdo;
    expected.NodeIndex = 2; // a "New node": no address yet
    EXPECT_EQ(cfg.Config.Instructions[4], expected);
    addCommand(cfg, 3, {PageKind::Node, 1}, 2);
    EXPECT_EQ(cfg.Config.Instructions[5].NodeAddress, "5");

    GatewayConfiguration slave = withCommands(kCanopenSlave, {});
    slave.Config.SlaveNodeAddress = "33";
    EXPECT_EQ(addCommand(slave, 3, {PageKind::Canopen, 0}, 0).treeText, "Transmit PDO");
    EXPECT_EQ(slave.Config.Instructions[0].NodeAddress, "33");
    EXPECT_EQ(slave.Config.Instructions[0].NodeIndex, 0);
}

TEST(AddCommand, IgnoresTargetsAndKindsThatDoNotFit) {
    constexpr int M = kCanopenMaster;
    constexpr int S = kCanopenSlave;
    // clang-format off
    const struct { int configType; EditTarget target; int kind; } cases[] = {
        {M, {PageKind::Canopen, 0}, 0}, {M, {PageKind::Node, 3}, 0}, {M, {PageKind::Node, 0}, 0},
        {M, {PageKind::Node, 1}, 4}, {M, {PageKind::TpdoCommand, 1}, 0}, {S, {PageKind::Node, 1}, 0},
        {S, {PageKind::Canopen, 0}, 2}, {S, {PageKind::Canopen, 0}, -1},
    };
    // clang-format on
    for (const auto& c : cases) {
        GatewayConfiguration cfg = withCommands(c.configType, {{kTransmitPdo, 1}});
        const GatewayConfiguration before = cfg;
        EXPECT_EQ(addCommand(cfg, 3, c.target, c.kind).status, AddCommandStatus::Ignored);
        EXPECT_TRUE(cfg == before);
    }
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

} // namespace
} // namespace torvane
