#include "model/record_view.h"

#include <gtest/gtest.h>
#include <optional>
#include <tuple>

namespace torvane {
namespace {

TEST(DecodeNumber, EveryFormOfText) {
    const std::optional<std::int32_t> none;
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
        std::int32_t number;
        bool canonical;
    } cases[] = {
        {"", none, 0, false},
        {"-1", none, -1, false}, // not entered, yet sent and added as -1
        {"-01", -1, -1, false},
        {"0", 0, 0, true},
        {"07", 7, 7, false},
        {"  42", 42, 42, false},
        {"+7", 7, 7, false},
        {"-", 0, 0, false},
        {"250K", 250, 250, false},
        {"2147483647", 2147483647, 2147483647, true},
        {"2147483648", 2147483647, 2147483647, false},
        {"-99999999999", -2147483647 - 1, -2147483647 - 1, false},
    };
    for (const auto& c : cases) {
        const DecodedNumber n = decodeNumber(c.text);
        EXPECT_EQ(std::tie(n.value, n.number, n.canonical),
                  std::tie(c.value, c.number, c.canonical))
            << '"' << c.text << '"';
    }
    EXPECT_EQ(decodeNumber("-1").atLeastZero(), 0);
}

TEST(NodeIdFromName, DigitsAfterThePrefix) {
    const struct {
        const char* name;
        int id;
    } cases[] = {{"Node-12", 12}, {"Node-", 0}, {"New node", 0}, {"Node-7x", 7}};
    for (const auto& c : cases) {
        EXPECT_EQ(nodeIdFromName(c.name), c.id) << c.name;
    }
}

TEST(RecordView, DecodesTheUsedEntriesAndFindsTheirOwners) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    CONFIG& c = cfg.Config;
    c.NodeCount = 2;
    c.Nodes[0] = {"5", "Node-5"};
    c.Nodes[1] = {"-1", "New node"};
    c.InstructionCount = 3;
    c.Instructions[0] = {"5", "3", "", "", "389", "-1", "4", "", "", 1};
    c.Instructions[1] = {"5", " 4", "", "", "", "8", "", "", "", 2};
    c.Instructions[2] = {"5", "1", "8192", "0", "", "", "2", "", "", 7};
    c.Instructions[3] = {"9", "2", "", "", "", "", "", "", "", 1}; // beyond the count

    const RecordView view(c);
    ASSERT_EQ(view.nodes().size(), 2U);
    EXPECT_EQ(view.nodes()[0].nameId, 5);
    EXPECT_FALSE(view.nodes()[0].unnamed);
    EXPECT_FALSE(view.nodes()[1].address.entered());
    EXPECT_TRUE(view.nodes()[1].unnamed);

    ASSERT_EQ(view.commands().size(), 3U);
    const CommandView& pdo = view.commands()[0];
    EXPECT_TRUE(pdo.kind == CommandKind::TransmitPdo && pdo.isPdo() && pdo.isInput());
    EXPECT_EQ(std::make_tuple(pdo.cobId.value, pdo.mappingAddress.entered(), view.ownerOf(pdo)),
              std::make_tuple(std::optional(389), false, &view.nodes()[0]));

    // A code with a blank is no known type, but the checks read it as 4.
    const CommandView& odd = view.commands()[1];
    EXPECT_FALSE(odd.kind);
    EXPECT_EQ(odd.type(), nullptr);
    EXPECT_EQ(odd.code.number, 4);
    EXPECT_EQ(view.ownerOf(odd), &view.nodes()[1]);

    EXPECT_EQ(view.ownerOf(view.commands()[2]), nullptr); // NodeIndex 7 names no node
    EXPECT_EQ(view.command(3)->index.value, 8192);
    EXPECT_EQ(view.command(4), nullptr);
    EXPECT_EQ(view.node(0), nullptr);
    EXPECT_EQ(view.ofKind(CommandKind::UploadSdo).size(), 1U);

    // Counts a file may hold beyond the tables are clamped to them.
    c.NodeCount = -3;
    c.InstructionCount = 1000;
    const RecordView clamped(c);
    EXPECT_TRUE(clamped.nodes().empty());
    EXPECT_EQ(clamped.commands().size(), static_cast<std::size_t>(kInstructionTableSize));
}

// A slave configuration turns the PDOs round: the gateway transmits what the PLC writes.
TEST(PlcDirection, FollowsTheDataFlow) {
    using enum CommandKind;
    using enum PlcDirection;
    struct Case {
        CommandKind kind;
        PlcDirection master, slave;
    } const cases[] = {{UploadSdo, Input, Input},
                       {DownloadSdo, Output, Output},
                       {TransmitPdo, Input, Output},
                       {ReceivePdo, Output, Input}};
    for (const Case& c : cases) {
        EXPECT_EQ(plcDirection(c.kind, true), c.master) << commandType(c.kind).label;
        EXPECT_EQ(plcDirection(c.kind, false), c.slave) << commandType(c.kind).label;
    }
}

} // namespace
} // namespace torvane
