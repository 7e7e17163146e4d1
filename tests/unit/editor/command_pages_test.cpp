#include "editor/command_pages.h"
#include "model/strings.h"

#include <gtest/gtest.h>
#include <vector>

namespace torvane {
namespace {

using Messages = std::vector<std::string>;

// A master configuration with nodes at the given addresses ("" for a "New node").
GatewayConfiguration masterWithNodes(const std::vector<std::string>& addresses) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    for (const std::string& a : addresses) {
        NodeEntry& n = cfg.Config.Nodes[static_cast<std::size_t>(cfg.Config.NodeCount++)];
        n.NodeAddress = a;
        n.NodeName = a.empty() ? str::NewNode : "Node-" + a;
    }
    return cfg;
}

// Appends a command of `node` (1-based; 0 in a slave configuration) and returns its target.
EditTarget add(GatewayConfiguration& cfg, int node, const char* type, const std::string& cobId,
               const std::string& bytes, const std::string& mapping = "") {
    INSTRUCTION& i =
        cfg.Config.Instructions[static_cast<std::size_t>(cfg.Config.InstructionCount++)];
    i.InstructionType = type;
    i.NodeIndex = node;
    i.NodeAddress = node > 0 ? cfg.Config.Nodes[static_cast<std::size_t>(node - 1)].NodeAddress
                             : cfg.Config.SlaveNodeAddress;
    (isPdoCommand(type) ? i.CobId : i.Index) = cobId;
    i.Bytes = bytes;
    i.MappingAddress = mapping;
    return {commandPageKind(type), cfg.Config.InstructionCount};
}

const INSTRUCTION& command(const GatewayConfiguration& cfg, const EditTarget& t) {
    return cfg.Config.Instructions[static_cast<std::size_t>(t.position - 1)];
}

INSTRUCTION& at(GatewayConfiguration& cfg, const EditTarget& t) {
    return cfg.Config.Instructions[static_cast<std::size_t>(t.position - 1)];
}

TEST(CobIdCommit, ValidityBoundariesAndRefusedTexts) {
    const struct {
        const char* typed;
        const char* stored; // COB-ID before the commit
        const char* cell;   // shown afterwards
        const char* after;  // stored afterwards
        Messages messages;
    } cases[] = {
        {"1", "", "1", "1", {}},
        {"127", "", "127", "127", {}},
        {"128", "389", "389", "389", {str::IllegalCobId}},
        {"256", "", "", "", {str::IllegalCobId}},
        {"257", "", "257", "257", {}},
        {"1408", "", "1408", "1408", {}},
        {"1409", "", "", "", {str::IllegalCobId}},
        {"1500", "", "", "", {str::IllegalCobId}},
        {"1663", "", "", "", {str::IllegalCobId}},
        {"1664", "", "1664", "1664", {}},
        {"1792", "", "1792", "1792", {}},
        {"1793", "", "", "", {str::IllegalCobId}},
        {"1919", "", "", "", {str::IllegalCobId}},
        {"1920", "", "1920", "1920", {}},
        {"2046", "", "2046", "2046", {}},
        {"2047", "", "", "", {str::IllegalCobId}},
        {"0", "0389", "389", "389", {str::IllegalCobId}},
        {"", "", "", "", {str::IllegalCobId}},
        {"99999999999999", "", "", "", {str::IllegalCobId}},
        // Non-digits leave the stored COB-ID untouched, and the cell shows it.
        {"12a", "0389", "0389", "0389", {str::IllegalCobId}},
        {"3:9", "", "", "", {str::IllegalCobId}},
        {"-5", "389", "389", "389", {str::IllegalCobId}},
        {"Self-defining", "0389", "389", "389", {str::SelfDefiningHint}},
        {"Self-defining", "0", "", "", {str::SelfDefiningHint}},
        {"0390", "", "390", "390", {}},
    };
    for (const auto& c : cases) {
        GatewayConfiguration cfg = masterWithNodes({"5"});
        const EditTarget t = add(cfg, 1, kTransmitPdo, c.stored, "1");
        const CommitResult r = commitCommandGridCell(cfg, {}, t, kRowPdoCobId, c.typed);
        EXPECT_EQ(r.cellText, c.cell) << c.typed;
        EXPECT_EQ(r.messages, c.messages) << c.typed;
        EXPECT_EQ(command(cfg, t).CobId, c.after) << c.typed;
        EXPECT_TRUE(r.modified);
    }
}

TEST(CobIdCommit, SharingAndConflictsInMasterAndSlaveConfigurations) {
    const std::string conflict5 = "The COB-ID and node-5 command an Article PDO COB-ID conflict";
    const struct {
        const char* name;
        bool slave;
        int node;         // owner of the edited command (1 = node 5, 2 = node 6)
        const char* type; // of the edited command
        const char* bytes;
        const char* typed;
        const char* after;
        Messages messages;
    } cases[] = {
        {"third part fits", false, 1, kTransmitPdo, "", "389", "389", {}},
        {"third part overflows",
         false,
         1,
         kTransmitPdo,
         "1",
         "389",
         "",
         {str::CobIdBytesOutOfRange}},
        {"other direction", false, 1, kReceivePdo, "1", "389", "", {conflict5}},
        {"other node", false, 2, kTransmitPdo, "1", "389", "", {conflict5}},
        {"unused value", false, 2, kTransmitPdo, "8", "390", "390", {}},
        {"slave duplicate", true, 0, kReceivePdo, "1", "389", "385", {str::CobIdExists}},
        {"slave duplicate by value", true, 0, kReceivePdo, "1", "0389", "385", {str::CobIdExists}},
        {"slave unique", true, 0, kReceivePdo, "8", "390", "390", {}},
    };
    for (const auto& c : cases) {
        GatewayConfiguration cfg =
            c.slave ? newConfiguration(kCanopenSlave) : masterWithNodes({"5", "6"});
        add(cfg, c.slave ? 0 : 1, kTransmitPdo, "389", "4");
        add(cfg, c.slave ? 0 : 1, kTransmitPdo, "389", "4");
        const EditTarget t = add(cfg, c.node, c.type, "385", c.bytes);
        const CommitResult r = commitCommandGridCell(cfg, {}, t, kRowPdoCobId, c.typed);
        EXPECT_EQ(r.messages, c.messages) << c.name;
        EXPECT_EQ(command(cfg, t).CobId, c.after) << c.name;
        EXPECT_EQ(r.cellText, c.after) << c.name;
    }
}

TEST(ByteCountCommit, SumsPerCobIdAndPerSdoObjectAndBufferLimits) {
    const struct {
        const char* name;
        const char* inport;
        const char* type;
        const char* cobOrIndex; // of the edited command; the others use 389 / index 8192
        const char* mapping;
        int row;
        const char* typed;
        const char* after;
        Messages messages;
    } cases[] = {
        {"pdo zero", "112", kTransmitPdo, "390", "", kRowPdoBytes, "0", "", {}},
        {"pdo part over 8",
         "112",
         kTransmitPdo,
         "389",
         "",
         kRowPdoBytes,
         "1",
         "",
         {str::SameCobIdBytesOutOfRange}},
        {"other cob-id", "112", kTransmitPdo, "390", "", kRowPdoBytes, "8", "8", {}},
        {"empty cob-ids share",
         "112",
         kTransmitPdo,
         "",
         "",
         kRowPdoBytes,
         "1",
         "",
         {str::SameCobIdBytesOutOfRange}},
        {"other type", "112", kReceivePdo, "389", "", kRowPdoBytes, "8", "8", {}},
        {"pdo 9", "112", kReceivePdo, "389", "", kRowPdoBytes, "9", "", {}},
        {"pdo leading zero", "112", kReceivePdo, "389", "", kRowPdoBytes, "08", "", {}},
        {"pdo past buffer",
         "16",
         kReceivePdo,
         "389",
         "12",
         kRowPdoBytes,
         "5",
         "",
         {str::MappingOutOfRange}},
        {"pdo crosses 32 at 96",
         "96",
         kReceivePdo,
         "389",
         "30",
         kRowPdoBytes,
         "4",
         "",
         {str::Io96BlockIntegrity}},
        {"pdo ends at 32 at 96", "96", kReceivePdo, "389", "28", kRowPdoBytes, "4", "4", {}},
        {"sdo object over 4",
         "112",
         kUploadSdo,
         "8192",
         "",
         kRowSdoBytes,
         "1",
         "",
         {str::SameIndexBytesOutOfRange}},
        {"sdo other object", "112", kUploadSdo, "8193", "", kRowSdoBytes, "4", "4", {}},
        {"sdo other type", "112", kDownloadSdo, "8192", "", kRowSdoBytes, "4", "4", {}},
        {"sdo 3 bytes", "112", kDownloadSdo, "8192", "", kRowSdoBytes, "3", "", {}},
        {"sdo crosses 64 at 96",
         "96",
         kDownloadSdo,
         "8192",
         "62",
         kRowSdoBytes,
         "4",
         "",
         {str::Io96BlockIntegrity}},
    };
    for (const auto& c : cases) {
        GatewayConfiguration cfg = masterWithNodes({"5"});
        cfg.Fieldbus.InportNum = c.inport;
        // Two 4-byte parts of PDO 389 (no COB-ID yet in the empty-COB-ID case) and two 2-byte
        // reads of object 8192 sub-index 1.
        const std::string shared = *c.cobOrIndex == '\0' ? "" : "389";
        for (int k = 0; k < 2; ++k) {
            add(cfg, 1, kTransmitPdo, shared, "4");
            at(cfg, add(cfg, 1, kUploadSdo, "8192", "2")).SubIndex = "1";
        }
        const EditTarget t = add(cfg, 1, c.type, c.cobOrIndex, "", c.mapping);
        at(cfg, t).SubIndex = "1";
        const CommitResult r = commitCommandGridCell(cfg, {}, t, c.row, c.typed);
        EXPECT_EQ(r.messages, c.messages) << c.name;
        EXPECT_EQ(command(cfg, t).Bytes, c.after) << c.name;
        EXPECT_EQ(r.cellText, c.after) << c.name;
    }
}

TEST(SdoObjectCommit, IndexAndSubIndexKeepFourBytesPerObject) {
    const struct {
        int row;
        const char* typed;
        const char* after;
        Messages messages;
    } cases[] = {
        {kRowSdoIndex, "8192", "8191", {str::SameIndexBytesOutOfRange}},
        {kRowSdoIndex, "8193", "8193", {}},
        {kRowSdoIndex, "65535", "65535", {}},
        {kRowSdoIndex, "65536", "8191", {}},
        {kRowSdoIndex, "0", "8191", {}},
        {kRowSdoIndex, "08193", "8191", {}},
        {kRowSdoSubIndex, "1", "2", {str::SameIndexBytesOutOfRange}},
        {kRowSdoSubIndex, "0", "0", {}},
        {kRowSdoSubIndex, "255", "255", {}},
        {kRowSdoSubIndex, "256", "2", {}},
    };
    for (const auto& c : cases) {
        GatewayConfiguration cfg = masterWithNodes({"5"});
        for (int k = 0; k < 2; ++k) {
            at(cfg, add(cfg, 1, kUploadSdo, "8192", "2")).SubIndex = "1";
        }
        const EditTarget t = add(cfg, 1, kUploadSdo, c.row == kRowSdoIndex ? "8191" : "8192", "1");
        INSTRUCTION& i = at(cfg, t);
        i.SubIndex = c.row == kRowSdoIndex ? "1" : "2";
        const CommitResult r = commitCommandGridCell(cfg, {}, t, c.row, c.typed);
        EXPECT_EQ(r.messages, c.messages) << c.typed;
        EXPECT_EQ(c.row == kRowSdoIndex ? i.Index : i.SubIndex, c.after) << c.typed;
        EXPECT_EQ(r.cellText, c.after) << c.typed;
    }
}

TEST(MappingAddressCommit, LimitsBlocksAndRefusedTexts) {
    const struct {
        const char* inport;
        const char* typed;
        const char* after;
        bool keepCell;
        Messages messages;
    } cases[] = {
        {"112", "108", "108", false, {}},
        {"112", "109", "7", true, {str::MappingOutOfRange}},
        {"112", "112", "7", true, {str::MappingBeyondRange}},
        {str::HardwareConfigSize, "240", "240", false, {}},
        {"unknown", "112", "7", true, {str::MappingBeyondRange}},
        {"96", "30", "7", false, {str::Io96BlockIntegrity}},
        {"96", "28", "28", false, {}},
        {"112", "abc", "7", false, {}},
        {"112", "-3", "7", false, {}},
        {"112", "07", "7", false, {}},
        {"112", "", "", false, {}},
    };
    for (const auto& c : cases) {
        GatewayConfiguration cfg = masterWithNodes({"5"});
        cfg.Fieldbus.InportNum = c.inport;
        const EditTarget t = add(cfg, 1, kReceivePdo, "517", "4", "7");
        const CommitResult r = commitCommandGridCell(cfg, {}, t, kRowPdoMapping, c.typed);
        EXPECT_EQ(r.messages, c.messages) << c.inport << " " << c.typed;
        EXPECT_EQ(command(cfg, t).MappingAddress, c.after) << c.typed;
        EXPECT_EQ(r.keepCell, c.keepCell) << c.typed;
        EXPECT_EQ(r.cellText, c.after) << c.typed;
    }
    // Slave mapping addresses belong to the calculation alone.
    GatewayConfiguration slave = newConfiguration(kCanopenSlave);
    const EditTarget t = add(slave, 0, kTransmitPdo, "385", "4", "7");
    EXPECT_FALSE(commitCommandGridCell(slave, {}, t, kRowPdoMapping, "8").modified);
    EXPECT_EQ(command(slave, t).MappingAddress, "7");
}

TEST(NodeAddressCommit, RenumbersCobIdsOrRefuses) {
    struct Cmd {
        int node;
        const char* type;
        const char* cobId;
    };
    const std::string conflict9 = "After changing the node address, COB-ID conflict a command of "
                                  "COB-ID and node a command of the node-9, the COB-ID will be "
                                  "empty!";
    const struct {
        const char* name;
        std::vector<NodeEntry> nodes; // target is node 1
        std::vector<Cmd> commands;
        int lastCopied;
        const char* typed;
        const char* address; // node 1 afterwards (and its commands' addresses)
        const char* nodeName;
        const char* cell;
        std::vector<std::string> cobIds;
        Messages messages;
    } cases[] = {
        {"move with siblings",
         {{"5", "Node-5"}, {"9", "Node-9"}},
         {{1, kTransmitPdo, "389"},
          {1, kTransmitPdo, "390"},
          {1, kReceivePdo, "517"},
          {2, kTransmitPdo, "393"}},
         0,
         "6",
         "6",
         "Node-6",
         "6",
         {"390", "391", "518", "393"},
         {}},
        {"gateway address",
         {{"5", "Node-5"}},
         {{1, kTransmitPdo, "389"}},
         0,
         "127",
         "5",
         "Node-5",
         "5",
         {"389"},
         {str::NodeAddressIsGateway}},
        {"repetitive",
         {{"5", "Node-5"}, {"9", "Node-9"}},
         {{1, kTransmitPdo, "389"}},
         0,
         "9",
         "5",
         "Node-5",
         "5",
         {"389"},
         {str::NodeAddressRepetitive}},
        {"out of range",
         {{"5", "Node-5"}},
         {{1, kTransmitPdo, "389"}},
         0,
         "128",
         "5",
         "Node-5",
         "5",
         {"389"},
         {}},
        {"zero",
         {{"5", "Node-5"}},
         {{1, kTransmitPdo, "389"}},
         0,
         "0",
         "5",
         "Node-5",
         "5",
         {"389"},
         {}},
        {"emptied",
         {{"5", "Node-5"}},
         {{1, kTransmitPdo, "389"}},
         0,
         "",
         "5",
         "Node-5",
         "5",
         {"389"},
         {}},
        {"leading zero loses the address",
         {{"5", "Node-5"}},
         {{1, kTransmitPdo, "389"}},
         0,
         "07",
         "-1",
         "Node-5",
         "",
         {"389"},
         {}},
        {"moved into the SDO range",
         {{"5", "Node-5"}},
         {{1, kTransmitPdo, "1400"}},
         0,
         "20",
         "20",
         "Node-20",
         "20",
         {""},
         {str::RenumberCobIdIllegal}},
        {"moved onto another node's",
         {{"5", "Node-5"}, {"9", "Node-9"}},
         {{1, kTransmitPdo, "389"}, {2, kReceivePdo, "391"}},
         0,
         "7",
         "7",
         "Node-7",
         "7",
         {"", "391"},
         {conflict9}},
        {"pasted node after copying 5",
         {{"", str::NewNode}, {"5", "Node-5"}},
         {{1, kTransmitPdo, "389"}, {2, kTransmitPdo, "389"}},
         5,
         "7",
         "7",
         "Node-7",
         "7",
         {"391", "389"},
         {}},
        {"pasted node, nothing copied",
         {{"", str::NewNode}},
         {{1, kTransmitPdo, "389"}},
         0,
         "7",
         "7",
         "Node-7",
         "7",
         {"396"},
         {}},
        {"lost address comes back",
         {{"-1", "Node-5"}},
         {{1, kTransmitPdo, "389"}},
         0,
         "6",
         "6",
         "Node-6",
         "6",
         {"390"},
         {}},
    };
    for (const auto& c : cases) {
        GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
        for (const NodeEntry& n : c.nodes) {
            cfg.Config.Nodes[static_cast<std::size_t>(cfg.Config.NodeCount++)] = n;
        }
        for (const Cmd& k : c.commands) {
            add(cfg, k.node, k.type, k.cobId, "1");
        }
        const int target = 1;
        EditorState state;
        state.lastCopiedNodeAddress = c.lastCopied;
        const CommitResult r =
            commitCommandGridCell(cfg, state, {PageKind::Node, target}, kRowSlaveAddress, c.typed);
        const NodeEntry& node = cfg.Config.Nodes[static_cast<std::size_t>(target - 1)];
        EXPECT_EQ(r.messages, c.messages) << c.name;
        EXPECT_EQ(r.cellText, c.cell) << c.name;
        EXPECT_EQ(node.NodeAddress, c.address) << c.name;
        EXPECT_EQ(node.NodeName, c.nodeName) << c.name;
        std::vector<std::string> cobIds;
        for (int k = 0; k < cfg.Config.InstructionCount; ++k) {
            const INSTRUCTION& i = cfg.Config.Instructions[static_cast<std::size_t>(k)];
            cobIds.push_back(i.CobId);
            if (i.NodeIndex == target) {
                EXPECT_EQ(i.NodeAddress, c.address) << c.name;
            }
        }
        EXPECT_EQ(cobIds, c.cobIds) << c.name;
    }
}

TEST(CommandGridPage, RowsEditorsAndCobIdChoices) {
    using Strings = std::vector<std::string>;
    GatewayConfiguration cfg = masterWithNodes({"5", ""});
    const EditTarget tpdo = add(cfg, 1, kTransmitPdo, "-1", "-1");
    const EditTarget rpdo = add(cfg, 1, kReceivePdo, "517", "2");
    const EditTarget orphan = add(cfg, 2, kTransmitPdo, "", "");
    const EditTarget sdo = add(cfg, 1, kDownloadSdo, "8192", "4");

    const GridPage t = commandGridPage(cfg, tpdo);
    ASSERT_EQ(t.rows.size(), 5U);
    EXPECT_EQ(t.rows[1].choices, (Strings{"1157", "389", "645", "901", "Self-defining"}));
    EXPECT_EQ(t.rows[1].listSelection, "1157");
    EXPECT_EQ(t.rows[1].value, "");
    EXPECT_EQ(t.rows[2].value, "");
    EXPECT_EQ(t.rows[0].value, "5");
    EXPECT_TRUE(t.rows[0].grey);
    EXPECT_FALSE(t.rows[3].grey);
    EXPECT_EQ(t.rows[3].editor, EditorKind::Text);
    EXPECT_EQ(commandGridPage(cfg, rpdo).rows[1].choices,
              (Strings{"1029", "1285", "517", "773", "Self-defining"}));
    EXPECT_EQ(commandGridPage(cfg, orphan).rows[1].openRefusal, str::EnterNodeAddress);

    const GridPage s = commandGridPage(cfg, sdo);
    Strings labels;
    std::vector<int> help;
    for (const GridRow& r : s.rows) {
        labels.push_back(r.label);
        help.push_back(r.helpId);
    }
    EXPECT_EQ(labels,
              (Strings{"Slave Address (1 to 127)", "Index value", "Sub-index value",
                       "Number of Bytes", "Mapping Address (Decimal)", "Mnemonic Description"}));
    EXPECT_EQ(help, (std::vector<int>{61303, 61304, 61305, 61306, 61307, kHelpClear}));

    cfg.Config.Nodes[0].NodeAddress = "-1";
    const GridPage n = commandGridPage(cfg, {PageKind::Node, 1});
    ASSERT_EQ(n.rows.size(), 1U);
    EXPECT_EQ(n.rows[0].value, "");
    EXPECT_EQ(n.rows[0].editor, EditorKind::Text);
    EXPECT_TRUE(commandGridPage(cfg, {PageKind::Node, 3}).rows.empty());

    GatewayConfiguration slave = newConfiguration(kCanopenSlave);
    const GridPage st = commandGridPage(slave, add(slave, 0, kTransmitPdo, "", "8", "7"));
    EXPECT_EQ(st.rows[0].value, "1");
    EXPECT_EQ(st.rows[1].choices, (Strings{"1153", "385", "641", "897", "Self-defining"}));
    EXPECT_TRUE(st.rows[3].grey);
    EXPECT_EQ(st.rows[3].editor, EditorKind::None);
}

} // namespace
} // namespace torvane
