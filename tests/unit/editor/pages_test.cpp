#include "../../support/english.h"
#include "editor/command_pages.h"
#include "editor/parameter_pages.h"
#include "model/record_view.h"
#include "model/strings.h"

#include <gtest/gtest.h>
#include <vector>

namespace torvane {
namespace {

using Strings = std::vector<std::string>;
const Strings none;

// A master configuration whose nodes have the given addresses ("" makes a "New node").
GatewayConfiguration master(const Strings& addresses) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    for (const std::string& a : addresses) {
        cfg.Config.Nodes[static_cast<std::size_t>(cfg.Config.NodeCount++)] = {
            a, a.empty() ? str::NewNode : "Node-" + a};
    }
    return cfg;
}

INSTRUCTION& at(GatewayConfiguration& cfg, const EditTarget& t) {
    return cfg.Config.Instructions[static_cast<std::size_t>(t.position - 1)];
}

// Appends a command of node `node` (1-based; 0 = the slave gateway); `key` is the COB-ID of a
// PDO, the index of an SDO (sub-index `sub`).
EditTarget add(GatewayConfiguration& cfg, int node, const char* type, const std::string& key,
               const std::string& bytes, const std::string& mapping = "", const char* sub = "1") {
    const EditTarget t{commandPageKind(type), ++cfg.Config.InstructionCount};
    INSTRUCTION& i = at(cfg, t);
    i.InstructionType = type;
    i.NodeIndex = node;
    i.NodeAddress = node > 0 ? cfg.Config.Nodes[static_cast<std::size_t>(node - 1)].NodeAddress
                             : cfg.Config.SlaveNodeAddress;
    (isPdoCommand(type) ? i.CobId : i.Index) = key;
    i.SubIndex = isPdoCommand(type) ? "" : sub;
    i.Bytes = bytes;
    i.MappingAddress = mapping;
    return t;
}

TEST(CobIdCommit, SharingAndConflictsInMasterAndSlaveConfigurations) {
    const std::string node5 = "The COB-ID and node-5 command an Article PDO COB-ID conflict";
    // Node 5 (or the slave gateway) already holds two 4-byte Transmit PDO parts of COB-ID 389.
    // clang-format off
    const struct { bool slave; int node; const char* type; const char* bytes; const char* typed;
                   const char* after; Strings messages; } cases[] = {
        {false, 1, kTransmitPdo, "", "389", "389", {}},
        {false, 1, kTransmitPdo, "1", "389", "", {str::CobIdBytesOutOfRange.source}},
        {false, 1, kReceivePdo, "1", "389", "", {node5}},
        {false, 2, kTransmitPdo, "1", "389", "", {node5}},
        {true, 0, kReceivePdo, "1", "389", "385", {str::CobIdExists.source}},
        {true, 0, kReceivePdo, "8", "390", "390", {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        GatewayConfiguration cfg = c.slave ? newConfiguration(kCanopenSlave) : master({"5", "6"});
        add(cfg, c.slave ? 0 : 1, kTransmitPdo, "389", "4");
        add(cfg, c.slave ? 0 : 1, kTransmitPdo, "389", "4");
        const EditTarget t = add(cfg, c.node, c.type, "385", c.bytes);
        const CommitResult r = commitCommandGridCell(cfg, {}, t, kRowPdoCobId, c.typed);
        EXPECT_EQ(english(r.messages), c.messages) << c.typed << " slave " << c.slave;
        EXPECT_EQ(at(cfg, t).CobId, c.after) << c.typed;
    }
}

// Every cell of a command page: byte sums, buffer limits, COB-ID and Index ranges in decimal or
// hex. A refused COB-ID leaves the stored one (rewritten canonical, except after non-digits). A
// text kept out without a message box leaves a note saying why, with the allowed values; a bare
// Index of decimal digits that also reads as hex is stored as decimal with a note saying so.
TEST(CommandCellCommit, EveryRowRefusesWhatItsRulesDoNotAllow) {
    constexpr int PB = kRowPdoBytes;
    constexpr int PM = kRowPdoMapping;
    constexpr int CO = kRowPdoCobId;
    constexpr int SB = kRowSdoBytes;
    constexpr int SI = kRowSdoIndex;
    constexpr int SS = kRowSdoSubIndex;
    const char* const T = kTransmitPdo;
    const char* const R = kReceivePdo;
    const char* const U = kUploadSdo;
    const char* const D = kDownloadSdo;
    // Node 5 holds two 4-byte parts of PDO 389 (of no COB-ID when `key` is empty) and two 2-byte
    // Upload SDO reads of 8192 sub-index 1. The edited command: `key` is its COB-ID or index.
    // clang-format off
    const struct { const char* inport; const char* type; const char* key; const char* sub;
                   const char* bytes; const char* mapping; int row; const char* typed;
                   const char* after; Strings messages; const char* note = nullptr; } cases[] = {
        {"112", T, "389", "", "", "", PB, "1", "", {str::SameCobIdBytesOutOfRange.source}},
        {"112", T, "390", "", "", "", PB, "8", "8", {}},
        {"112", R, "389", "", "", "", PB, "8", "8", {}},
        {"112", R, "389", "", "2", "", PB, "0", "2", {}},
        {"16", R, "389", "", "", "12", PB, "5", "", {str::MappingOutOfRange.source}},
        {"96", R, "389", "", "", "30", PB, "4", "", {str::Io96BlockIntegrity.source}},
        {"112", U, "8192", "1", "", "", SB, "1", "", {str::SameIndexBytesOutOfRange.source}},
        {"112", U, "8193", "1", "", "", SB, "4", "4", {}},
        {"112", D, "8192", "1", "", "", SB, "4", "4", {}},
        {"96", D, "8192", "1", "", "62", SB, "4", "", {str::Io96BlockIntegrity.source}},
        {"112", U, "8191", "1", "1", "", SI, "8192", "8191", {str::SameIndexBytesOutOfRange.source}},
        {"112", U, "8191", "1", "1", "", SI, "65535", "65535", {}},
        {"112", U, "8191", "1", "1", "", SI, "0", "8191", {}},
        {"112", U, "8192", "2", "1", "", SS, "1", "2", {str::SameIndexBytesOutOfRange.source}},
        {"112", U, "8192", "2", "1", "", SS, "0", "0", {}},
        {"112", R, "517", "", "4", "7", PM, "108", "108", {}},
        {"112", R, "517", "", "4", "7", PM, "109", "7", {str::MappingOutOfRange.source}},
        {"112", R, "517", "", "4", "7", PM, "112", "7", {str::MappingBeyondRange.source}},
        {str::HardwareConfigSize, R, "517", "", "4", "7", PM, "240", "240", {}},
        {"96", R, "517", "", "4", "7", PM, "30", "7", {str::Io96BlockIntegrity.source}},
        {"112", R, "517", "", "4", "7", PM, "abc", "7", {}},
        {"112", R, "517", "", "4", "7", PM, "", "", {}},
        {"112", T, "", "", "1", "", CO, "1", "1", {}},
        {"112", T, "", "", "1", "", CO, "127", "127", {}},
        {"112", T, "", "", "1", "", CO, "257", "257", {}},
        {"112", T, "", "", "1", "", CO, "1408", "1408", {}},
        {"112", T, "", "", "1", "", CO, "1664", "1664", {}},
        {"112", T, "", "", "1", "", CO, "1792", "1792", {}},
        {"112", T, "", "", "1", "", CO, "1920", "1920", {}},
        {"112", T, "", "", "1", "", CO, "2046", "2046", {}},
        {"112", T, "", "", "1", "", CO, "0390", "390", {}},
        {"112", T, "0389", "", "1", "", CO, "0", "389", {str::IllegalCobId.source}},
        {"112", T, "389", "", "1", "", CO, "128", "389", {str::IllegalCobId.source}},
        {"112", T, "", "", "1", "", CO, "256", "", {str::IllegalCobId.source}},
        {"112", T, "", "", "1", "", CO, "1409", "", {str::IllegalCobId.source}},
        {"112", T, "", "", "1", "", CO, "1663", "", {str::IllegalCobId.source}},
        {"112", T, "", "", "1", "", CO, "1793", "", {str::IllegalCobId.source}},
        {"112", T, "", "", "1", "", CO, "1919", "", {str::IllegalCobId.source}},
        {"112", T, "", "", "1", "", CO, "2047", "", {str::IllegalCobId.source}},
        {"112", T, "", "", "1", "", CO, "99999999999", "", {str::IllegalCobId.source}},
        {"112", T, "0389", "", "1", "", CO, "12a", "0389", {str::IllegalCobId.source}},
        {"112", T, "0389", "", "1", "", CO, "Self-defining", "389", {str::SelfDefiningHint.source}},
        {"112", U, "8191", "1", "1", "0", SI, "0X6041", "24641", {}, ""},
        {"112", U, "8191", "1", "1", "0", SI, "0x10000", "8191", {}, "0x10000 is not a plain decimal number; allowed 1 to 65535"},
        {"112", U, "8191", "1", "1", "0", SI, "", "8191", {}, "A value is needed; allowed 1 to 65535"},
        {"112", U, "8191", "1", "1", "0", SI, "1A00", "8191", {}, "1A00 is not a decimal number; type 0x1A00 for hex"},
        {"112", U, "8191", "1", "1", "0", SI, "6041", "6041", {}, "6041 is read as decimal (0x1799); type 0x6041 for hex"},
        {"112", U, "8191", "1", "1", "0", SS, "256", "1", {}, "256 is out of range; allowed 0 to 255"},
        {"112", U, "8191", "1", "1", "0", SB, "3", "1", {}, "3 is not an allowed byte count; allowed 1, 2 or 4"},
        {"112", T, "385", "", "1", "", PB, "9", "1", {}, "9 is out of range; allowed 1 to 8"},
        {"112", T, "385", "", "1", "", CO, "390 (0x186)", "390", {}, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        GatewayConfiguration cfg = master({"5"});
        cfg.Fieldbus.InportNum = c.inport;
        for (int k = 0; k < 2; ++k) {
            add(cfg, 1, kTransmitPdo, *c.key == '\0' ? "" : "389", "4");
            add(cfg, 1, kUploadSdo, "8192", "2");
        }
        const EditTarget t = add(cfg, 1, c.type, c.key, c.bytes, c.mapping, c.sub);
        const CommitResult r = commitCommandGridCell(cfg, {}, t, c.row, c.typed);
        const std::string what = std::string(c.type) + " " + c.key + " row " +
                                 std::to_string(c.row) + " typed " + c.typed;
        EXPECT_EQ(english(r.messages), c.messages) << what;
        EXPECT_EQ(commandGridPage(cfg, t).rows[static_cast<std::size_t>(c.row)].value, c.after)
            << what;
        if (c.note != nullptr) {
            EXPECT_EQ(r.note, c.note) << what;
        }
    }
    // Slave mapping addresses are set by the calculation alone.
    GatewayConfiguration slave = newConfiguration(kCanopenSlave);
    const EditTarget t = add(slave, 0, kTransmitPdo, "385", "4", "7");
    EXPECT_FALSE(commitCommandGridCell(slave, {}, t, kRowPdoMapping, "8").modified);
    EXPECT_EQ(at(slave, t).MappingAddress, "7");
}

TEST(NodeAddressCommit, RenumbersCobIdsOrRefuses) {
    struct Cmd {
        int node;
        const char* type;
        const char* cobId;
    };
    const std::string toNode9 =
        "After changing the node address, COB-ID conflict a command of "
        "COB-ID and node a command of the node-9, the COB-ID will be empty!";
    const NodeEntry n5{"5", "Node-5"};
    const NodeEntry n9{"9", "Node-9"};
    const NodeEntry pasted{"", str::NewNode};
    // Node 1 is edited; `address` is its address afterwards and that of its commands.
    // clang-format off
    const struct { std::vector<NodeEntry> nodes; std::vector<Cmd> commands; int lastCopied;
                   const char* typed; const char* address; const char* name; Strings cobIds;
                   Strings messages; } cases[] = {
        {{n5, n9}, {{1, kTransmitPdo, "389"}, {1, kTransmitPdo, "390"}, {1, kReceivePdo, "517"}, {2, kTransmitPdo, "393"}},
         0, "6", "6", "Node-6", {"390", "391", "518", "393"}, {}},
        {{n5}, {{1, kTransmitPdo, "389"}}, 0, "127", "5", "Node-5", {"389"}, {str::NodeAddressIsGateway.source}},
        {{n5, n9}, {{1, kTransmitPdo, "389"}}, 0, "9", "5", "Node-5", {"389"}, {str::NodeAddressRepetitive.source}},
        {{n5}, {{1, kTransmitPdo, "1400"}}, 0, "20", "20", "Node-20", {""}, {str::RenumberCobIdIllegal.source}},
        {{n5, n9}, {{1, kTransmitPdo, "389"}, {2, kReceivePdo, "391"}}, 0, "7", "7", "Node-7", {"", "391"}, {toNode9}},
        {{pasted, n5}, {{1, kTransmitPdo, "389"}, {2, kTransmitPdo, "389"}}, 5, "7", "7", "Node-7", {"391", "389"}, {}},
        {{pasted}, {{1, kTransmitPdo, "389"}}, 0, "7", "7", "Node-7", {"396"}, {}},
        // A node that lost its address moves from the address its name still carries.
        {{{"-1", "Node-5"}}, {{1, kTransmitPdo, "389"}}, 0, "6", "6", "Node-6", {"390"}, {}},
        // Only a canonical decimal number in 1..127 is taken; other text is refused silently.
        {{n5}, {{1, kTransmitPdo, "389"}}, 0, "1", "1", "Node-1", {"385"}, {}},
        {{n5}, {{1, kTransmitPdo, "389"}}, 0, "0", "5", "Node-5", {"389"}, {}},
        {{n5}, {{1, kTransmitPdo, "389"}}, 0, "128", "5", "Node-5", {"389"}, {}},
        {{n5}, {{1, kTransmitPdo, "389"}}, 0, "06", "5", "Node-5", {"389"}, {}},
        {{n5}, {{1, kTransmitPdo, "389"}}, 0, "99999999999", "5", "Node-5", {"389"}, {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
        for (const NodeEntry& n : c.nodes) {
            cfg.Config.Nodes[static_cast<std::size_t>(cfg.Config.NodeCount++)] = n;
        }
        for (const Cmd& k : c.commands) {
            add(cfg, k.node, k.type, k.cobId, "1");
        }
        const CommitResult r = commitCommandGridCell(
            cfg, EditorState{0, c.lastCopied}, {PageKind::Node, 1}, kRowSlaveAddress, c.typed);
        EXPECT_EQ(english(r.messages), c.messages) << c.typed;
        EXPECT_EQ(cfg.Config.Nodes[0], (NodeEntry{c.address, c.name})) << c.typed;
        Strings cobIds;
        for (int k = 0; k < cfg.Config.InstructionCount; ++k) {
            const INSTRUCTION& i = cfg.Config.Instructions[static_cast<std::size_t>(k)];
            cobIds.push_back(i.CobId);
            EXPECT_TRUE(i.NodeIndex != 1 || i.NodeAddress == c.address) << c.typed;
        }
        EXPECT_EQ(cobIds, c.cobIds) << c.typed;
    }
}

TEST(ParameterPages, NumericRowsStoreAcceptedTextAndRestoreTheRestWithANote) {
    struct Case {
        int type;
        int row;
        std::string CONFIG::*field;
        const char* typed;
        const char* shown; // cell text and stored value afterwards
        const char* note;  // why the typed text was kept out
    };
    constexpr int M = kCanopenMaster;
    // clang-format off
    const Case cases[] = {
        {M, 3, &CONFIG::SDOTimeout, "2000", "2000", ""},
        {M, 3, &CONFIG::SDOTimeout, "2001", "200", "2001 is out of range; allowed 1 to 2000"},
        {M, 3, &CONFIG::SDOTimeout, "0", "200", "0 is out of range; allowed 1 to 2000"},
        {M, 7, &CONFIG::SYNC, "0", "0", ""},
        {M, 7, &CONFIG::SYNC, "", "0", "A value is needed; allowed 0 to 2000"},
        {M, 7, &CONFIG::SYNC, "99999999999", "0", "99999999999 is out of range; allowed 0 to 2000"},
        {M, 6, &CONFIG::DelayStart, "6000", "6000", ""},
        {M, 6, &CONFIG::DelayStart, "6001", "100", "6001 is out of range; allowed 0 to 6000"},
        {kCanopenSlave, 3, &CONFIG::SlaveDelayStart, "200", "200", ""},
        {kCanopenSlave, 3, &CONFIG::SlaveDelayStart, "6000", "100", "6000 is out of range; allowed 0 to 200"},
        {M, 14, &CONFIG::SDORetries, "5", "0", ""}, // greyed while "Enable"
        {M, 4, &CONFIG::NMT, "Enable", "Enable", ""},
        {M, 4, &CONFIG::NMT, "enable", "Disable", "\"enable\" is not in the list"},
    };
    // clang-format on
    for (const Case& c : cases) {
        GatewayConfiguration cfg = newConfiguration(c.type);
        EditorState state;
        const CommitResult r = commitParameter(cfg, state, PageKind::Canopen, c.row, c.typed);
        EXPECT_EQ(cfg.Config.*c.field, c.shown) << c.row << " " << c.typed;
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.note, c.note) << c.row << " " << c.typed;
    }
}

// A size that no longer holds the mapping warns, and is stored anyway.
TEST(ParameterPages, IoSizeWarningsAreShownAndTheSizeIsStoredAnyway) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    cfg.Config.InstructionCount = 1;
    cfg.Config.Instructions[0].MappingAddress = "241";
    cfg.Config.Instructions[0].Bytes = "4";
    EditorState state;
    const CommitResult r =
        commitParameter(cfg, state, PageKind::Profibus, 1, str::HardwareConfigSize);
    EXPECT_EQ(
        english(r.messages),
        Strings{"Mapping addresses beyond the maximum range,  please decrease some commands!"});
    EXPECT_EQ(cfg.Fieldbus.InportNum, str::HardwareConfigSize);
}

TEST(ParameterPages, GatewayNodeIdMayNotEqualANodeAddress) {
    GatewayConfiguration cfg = master({"5", ""});
    EditorState state;
    CommitResult r = commitParameter(cfg, state, PageKind::Canopen, 2, "5");
    EXPECT_EQ(english(r.messages),
              Strings{"Node address and the gateway CANopen address can not be the same!"});
    EXPECT_EQ(cfg.Config.SlaveAddress, "127");
    EXPECT_TRUE(commitParameter(cfg, state, PageKind::Canopen, 2, "").messages.empty());
    commitParameter(cfg, state, PageKind::Canopen, 2, "6");
    EXPECT_EQ(cfg.Config.SlaveAddress, "6");
}

} // namespace
} // namespace torvane
