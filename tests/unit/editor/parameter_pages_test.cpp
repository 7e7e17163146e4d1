#include "../../support/english.h"
#include "editor/parameter_pages.h"
#include "model/strings.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

std::vector<std::string> greyRows(const GridPage& page) {
    std::vector<std::string> grey;
    for (const GridRow& row : page.rows) {
        if (row.grey) {
            grey.push_back(row.label.english() + "=" + row.value +
                           (row.editor == EditorKind::None ? "" : "!"));
        }
    }
    return grey;
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
        {M, 7, &CONFIG::SYNC, "007", "007", ""},
        {M, 7, &CONFIG::SYNC, "", "0", "A value is needed; allowed 0 to 2000"},
        {M, 7, &CONFIG::SYNC, "-5", "0", "-5 is not a plain decimal number; allowed 0 to 2000"},
        {M, 7, &CONFIG::SYNC, "12a", "0", "12a is not a plain decimal number; allowed 0 to 2000"},
        {M, 7, &CONFIG::SYNC, "99999999999", "0", "99999999999 is out of range; allowed 0 to 2000"},
        {M, 6, &CONFIG::DelayStart, "6000", "6000", ""},
        {M, 6, &CONFIG::DelayStart, "6001", "100", "6001 is out of range; allowed 0 to 6000"},
        {kCanopenSlave, 3, &CONFIG::SlaveDelayStart, "200", "200", ""},
        {kCanopenSlave, 3, &CONFIG::SlaveDelayStart, "6000", "100", "6000 is out of range; allowed 0 to 200"},
        {M, 14, &CONFIG::SDORetries, "5", "0", ""}, // greyed while "Enable"
        {M, 4, &CONFIG::NMT, "Enable", "Enable", ""},
        {M, 4, &CONFIG::NMT, "enable", "Disable", "\"enable\" is not in the list"},
        {M, 1, &CONFIG::BuadRate, "10K", "250K", "\"10K\" is not in the list"},
    };
    // clang-format on
    for (const Case& c : cases) {
        GatewayConfiguration cfg = newConfiguration(c.type);
        EditorState state;
        const CommitResult r = commitParameter(cfg, state, PageKind::Canopen, c.row, c.typed);
        EXPECT_EQ(cfg.Config.*c.field, c.shown) << c.row << " " << c.typed;
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.note, c.note) << c.row << " " << c.typed;
        if (!r.keepCell) {
            EXPECT_EQ(r.cellText, c.shown) << c.row << " " << c.typed;
        }
    }
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    EditorState state;
    EXPECT_EQ(commitParameter(cfg, state, PageKind::Profibus, 1, "64").note,
              "\"64\" is not in the list");
}

TEST(ParameterPages, SdoConcurrentGreysRetriesAndPollDelay) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    EditorState state;
    GridPage page = canopenPage(cfg, state);
    ASSERT_EQ(page.rows.size(), 16U);
    EXPECT_EQ(greyRows(page),
              (std::vector<std::string>{"Type of Protocol=CANopen",
                                        "Retries of SDO=", "SDO Poll Delay Time="}));
    EXPECT_EQ(page.rows[13].listSelection, "Disable");

    const CommitResult r = commitParameter(cfg, state, PageKind::Canopen, 13, "Disable");
    EXPECT_TRUE(r.refillPage);
    page = canopenPage(cfg, state);
    EXPECT_EQ(greyRows(page), std::vector<std::string>{"Type of Protocol=CANopen"});
    EXPECT_EQ(page.rows[14].value, "0");
    EXPECT_EQ(page.rows[15].editor, EditorKind::Text);
    commitParameter(cfg, state, PageKind::Canopen, 14, "5");
    EXPECT_EQ(cfg.Config.SDORetries, "5");
}

TEST(ParameterPages, OldEditionGreysRowsEightToTwelve) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    cfg.Config.ConfigEdition = 210;
    cfg.Config.SDOConcurrent = "Disable";
    EditorState state;
    const GridPage page = canopenPage(cfg, state);
    EXPECT_EQ(greyRows(page),
              (std::vector<std::string>{
                  "Type of Protocol=CANopen", "Control&Monitor Status=Disable", "Error Control=0",
                  "The Cycle for RPDO Transmission=0", "Output Data Processing=Hold",
                  "The Cycle for SDO Transmission=0"}));
    EXPECT_EQ(page.rows[10].helpId, 61491);
    const CommitResult r = commitParameter(cfg, state, PageKind::Canopen, 10, "50");
    EXPECT_TRUE(r.keepCell);
    EXPECT_FALSE(r.modified);
    EXPECT_EQ(cfg.Config.RPDOCycle, "0");
    cfg.Config.ConfigEdition = 320;
    EXPECT_EQ(greyRows(canopenPage(cfg, state)).size(), 1U);
}

TEST(ParameterPages, ListsAreSortedAndFirmwareBelowTwoUsesTheOlderLayout) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    EditorState state;
    const GridPage current = canopenPage(cfg, state);
    EXPECT_EQ(current.rows[1].choices,
              (std::vector<std::string>{"100K", "125K", "1M", "250K", "500K", "50K"}));
    EXPECT_EQ(current.rows[1].listSelection, "250K");
    EXPECT_EQ(profibusPage(cfg, state).rows[1].choices,
              (std::vector<std::string>{"112", "16", "48", "96",
                                        "Setting through Hardware Configuration of PROFIBUS DP"}));
    cfg.FirmwareVersion = "2.0";
    GridPage master = canopenPage(cfg, state);
    EXPECT_EQ(state.firmwareIndex, 1);
    ASSERT_EQ(master.rows.size(), 10U);
    EXPECT_EQ(master.rows[9].label, "The Cycle for RPDO Transmission");
    EXPECT_EQ(master.rows[9].value, "");
    EXPECT_EQ(master.rows[9].helpId, 61319);
    EXPECT_TRUE(commitParameter(cfg, state, PageKind::Canopen, 12, "5").keepCell);

    const GridPage profibus = profibusPage(cfg, state);
    ASSERT_EQ(profibus.rows.size(), 3U);
    EXPECT_EQ(profibus.rows[1].choices, (std::vector<std::string>{"112", "16", "48", "96"}));
    EXPECT_EQ(profibus.rows[2].value, "2.0");
    EXPECT_EQ(profibus.rows[2].editor, EditorKind::None);

    // An unknown version keeps the index; a known one moves it.
    cfg.FirmwareVersion = "9.9";
    EXPECT_EQ(profibusPage(cfg, state).rows.size(), 3U);
    cfg.FirmwareVersion = "2.1X";
    profibusPage(cfg, state);
    EXPECT_EQ(state.firmwareIndex, 2);
}

TEST(ParameterPages, IoSizeWarningsAreShownAndTheSizeIsStoredAnyway) {
    struct Case {
        const char* mapping; // of a 4-byte command
        std::string size;
        std::string message; // empty: none
    };
    const std::string hw = "Setting through Hardware Configuration of PROFIBUS DP";
    const std::string block = "Configuration command across a critical value 32 or 64!";
    const std::string beyond =
        "Mapping addresses beyond the maximum range,  please decrease some commands!";
    const Case cases[] = {
        {"30", "96", block},  {"28", "96", ""}, {"62", "96", block}, {"94", "96", beyond},
        {"14", "16", beyond}, {"240", hw, ""},  {"241", hw, beyond},
    };
    for (const Case& c : cases) {
        GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
        cfg.Config.InstructionCount = 1;
        cfg.Config.Instructions[0].MappingAddress = c.mapping;
        cfg.Config.Instructions[0].Bytes = "4";
        EditorState state;
        const CommitResult r = commitParameter(cfg, state, PageKind::Profibus, 1, c.size);
        const std::vector<std::string> expected =
            c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message};
        EXPECT_EQ(english(r.messages), expected) << c.mapping << " in " << c.size;
        EXPECT_EQ(cfg.Fieldbus.InportNum, c.size);
        EXPECT_EQ(r.cellText, c.size);
    }
}

TEST(ParameterPages, GatewayNodeIdMayNotEqualANodeAddress) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    cfg.Config.NodeCount = 2;
    cfg.Config.Nodes[0].NodeAddress = "5";
    cfg.Config.Nodes[1].NodeAddress = "";
    EditorState state;
    CommitResult r = commitParameter(cfg, state, PageKind::Canopen, 2, "5");
    EXPECT_EQ(english(r.messages),
              std::vector<std::string>{
                  "Node address and the gateway CANopen address can not be the same!"});
    EXPECT_EQ(r.cellText, "127");
    r = commitParameter(cfg, state, PageKind::Canopen, 2, "");
    EXPECT_TRUE(r.messages.empty());
    r = commitParameter(cfg, state, PageKind::Canopen, 2, "6");
    EXPECT_EQ(cfg.Config.SlaveAddress, "6");
}

} // namespace
} // namespace torvane
