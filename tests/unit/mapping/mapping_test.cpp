#include "../../support/english.h"
#include "../../support/fixed_cycle_answer.h"
#include "mapping/mapping_calculation.h"
#include "mapping/predownload_checks.h"
#include "mapping/usage_tables.h"
#include "model/strings.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace torvane {
namespace {

// One command: type code, byte count, mapping address, COB-ID, node address.
struct Cmd {
    std::string type;
    std::string bytes;
    std::string address{};
    std::string cobId{};
    std::string node = "1";
};

GatewayConfiguration masterWith(const std::string& inportNum, std::initializer_list<Cmd> cmds) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    cfg.Fieldbus.InportNum = inportNum;
    for (const Cmd& c : cmds) {
        INSTRUCTION& ins = cfg.Config.Instructions[cfg.Config.InstructionCount++];
        ins = {c.node, c.type, "", "", c.cobId, c.address, c.bytes, "", "", 1};
    }
    return cfg;
}

const std::string kHw = str::HardwareConfigSize;

struct CalcCase { // NOLINT(clang-analyzer-optin.performance.Padding)
    const char* name;
    std::string inportNum;
    bool controlStatus;
    int edition;
    std::initializer_list<Cmd> cmds;
    std::vector<std::string> addresses; // in list order
    int in, out;
    int firstOverflow; // -1: fits
};

TEST(CalculateMapping, PacksBothBuffersAndTestsTheFit) {
    // clang-format off
    const CalcCase cases[] = {
        {"empty list: only the reserve", "16", true, 500, {}, {}, 2, 2, -1},
        {"dense: SDOs first", "48", false, 500, {{"3", "8"}, {"1", "2"}, {"3", "4"}}, {"2", "0", "10"}, 14, 0, -1},
        {"separate cursors per side", "48", false, 500, {{"4", "2"}, {"2", "3"}, {"3", "1"}, {"1", "1"}}, {"3", "0", "1", "0"}, 2, 5, -1},
        {"even mode rounds odd counts up", "112", false, 500, {{"4", "3"}, {"4", "2"}}, {"0", "4"}, 0, 6, -1},
        {"32-byte block: 4 at 30 moves to 32", "96", false, 500, {{"1", "30"}, {"3", "4"}}, {"0", "32"}, 36, 0, -1},
        {"32-byte block: 2 at 30 stays", "96", false, 500, {{"1", "30"}, {"3", "2"}}, {"0", "30"}, 32, 0, -1},
        {"16 + reserve: 14 bytes fit", "16", true, 500, {{"3", "14"}}, {"0"}, 16, 2, -1},
        {"16 + reserve: 15 bytes overflow", "16", true, 500, {{"3", "15"}}, {"0"}, 17, 2, 0},
        {"overflow still writes addresses", "16", false, 500, {{"3", "10"}, {"3", "10"}}, {"0", "10"}, 20, 0, 1},
        {"the PDO listed second is placed first", "16", true, 500, {{"1", "2"}, {"3", "16"}}, {}, 20, 2, 1},
        {"output buffer overflows first", "16", true, 500, {{"4", "16"}, {"3", "2"}}, {}, 4, 18, 0},
        {"edition 210: shared 224", kHw, false, 210, {{"1", "120"}, {"2", "110"}}, {"0", "0"}, 120, 110, 1},
        {"edition 320: 244 each", kHw, false, 320, {{"1", "120"}, {"2", "110"}}, {"0", "0"}, 120, 110, -1},
        {"edition 210: one side alone 224", kHw, false, 210, {{"3", "224"}}, {"0"}, 224, 0, -1},
        {"edition 500: 245 overflows", kHw, false, 500, {{"3", "245"}}, {"0"}, 245, 0, 0},
        {"bad counts take no room", "48", false, 500, {{"3", "abc"}, {"3", "-5"}, {"3", "2"}}, {"0", "0", "0"}, 2, 0, -1},
    };
    // clang-format on
    for (const CalcCase& c : cases) {
        SCOPED_TRACE(c.name);
        GatewayConfiguration cfg = masterWith(c.inportNum, c.cmds);
        cfg.Config.ControlStatus = c.controlStatus ? "Enable" : "Disable";
        cfg.Config.ConfigEdition = c.edition;
        const MappingResult r = calculateMapping(cfg);
        for (std::size_t i = 0; i < c.addresses.size(); ++i) {
            EXPECT_EQ(cfg.Config.Instructions[i].MappingAddress, c.addresses[i]) << "command " << i;
        }
        EXPECT_EQ(r.inputTotal, c.in);
        EXPECT_EQ(r.outputTotal, c.out);
        EXPECT_EQ(r.fits, c.firstOverflow < 0);
        EXPECT_EQ(r.firstOverflowCommand, c.firstOverflow);
    }
}

TEST(CalculateMappingCommand, CapsRefusesAndReports) {
    // 90 commands of 3 bytes (4 in even mode): the command keeps 84, maps them and overflows.
    GatewayConfiguration many = masterWith("112", {});
    for (int i = 0; i < 90; ++i) {
        many.Config.Instructions[i].InstructionType = i % 2 ? "3" : "4";
        many.Config.Instructions[i].Bytes = "3";
    }
    many.Config.Instructions[85].Bytes = ""; // beyond the cap: must not refuse
    many.Config.InstructionCount = 90;
    MappingCommandResult r = runCalculateMappingCommand(many);
    EXPECT_EQ(many.Config.InstructionCount, 84);
    EXPECT_EQ(r.outcome, MappingOutcome::Overflow);
    EXPECT_EQ(r.message,
              "Mapping addresses beyond the maximum range,  please decrease some commands!");
    EXPECT_EQ(many.Config.Instructions[83].MappingAddress, "164");
    EXPECT_EQ(many.Config.Instructions[84].MappingAddress, "");

    GatewayConfiguration cfg =
        masterWith("48", {{"3", "2", "7"}, {"1", "", "9"}, {"3", "2", "11"}});
    const GatewayConfiguration before = cfg;
    r = runCalculateMappingCommand(cfg);
    EXPECT_EQ(r.outcome, MappingOutcome::Refused);
    EXPECT_EQ(r.message, "Please fill in the number of data for each command!");
    EXPECT_EQ(r.refusedCommand, 1);
    EXPECT_EQ(cfg, before);

    GatewayConfiguration ok = masterWith("16", {{"3", "4"}});
    r = runCalculateMappingCommand(ok);
    EXPECT_EQ(r.outcome, MappingOutcome::Fits);
    EXPECT_EQ(r.message, "Automatic mapping is successful");
}

TEST(LeastCycle, FollowsTheBaudRateTable) {
    constexpr CycleKind R = CycleKind::Rpdo;
    constexpr CycleKind S = CycleKind::Sdo;
    const struct {
        const char* baud;
        CycleKind kind;
        int n;
        int expected;
    } cases[] = {
        {"1M", R, 1, 1},   {"1M", R, 20, 3},  {"250K", S, 10, 12},  {"125K", R, 7, 9},
        {"100K", S, 3, 9}, {"10K", S, 4, 24}, {"garbage", R, 1, 3}, {"250K", S, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(leastCycleMs(c.baud, c.kind, c.n), c.expected) << c.baud << " " << c.n;
    }
}

GatewayConfiguration tenSdos(const std::string& sdoCycle, bool overlap) {
    GatewayConfiguration cfg = masterWith("112", {});
    for (int i = 0; i < 10; ++i) {
        cfg.Config.Instructions[i] = {
            "", "1", "", "", "", std::to_string(overlap && i == 9 ? 1 : 2 * i), "2", "", "", 0};
    }
    cfg.Config.InstructionCount = 10;
    cfg.Config.SDOCycle = sdoCycle;
    return cfg;
}

TEST(ValidateConfiguration, CycleQuestionsAndWhatFollowsThem) {
    const struct {
        const char* name;
        std::string sdoCycle;
        bool overlap;
        bool answer;
        CheckOutcome outcome;
        int asked;
        std::string message;
    } cases[] = {
        {"cycle 0 skips the estimate", "0", false, false, CheckOutcome::Passed, 0, ""},
        {"cycle 12 keeps up with 10 SDOs at 250K", "12", false, false, CheckOutcome::Passed, 0, ""},
        {"cycle 11 asks, Cancel stops", "11", false, false, CheckOutcome::Cancelled, 1, ""},
        {"cycle 11 asks, OK passes", "11", false, true, CheckOutcome::Passed, 1, ""},
        {"OK does not let an overlap through", "11", true, true, CheckOutcome::Failed, 1,
         "Mapping address conflict !\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FixedCycleAnswer answer(c.answer);
        const CheckResult r = validateConfiguration(tenSdos(c.sdoCycle, c.overlap), answer);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(answer.asked(), c.asked);
    }

    // OK to the RPDO question goes on to the SDO question.
    GatewayConfiguration both = tenSdos("1", false);
    both.Config.RPDOCycle = "1";
    for (int i = 10; i < 17; ++i) {
        both.Config.Instructions[i] = {"",  "4", "", "", "", std::to_string(2 * (i - 10)),
                                       "2", "",  "", 0};
    }
    both.Config.InstructionCount = 17;
    FixedCycleAnswer ok(true);
    EXPECT_TRUE(validateConfiguration(both, ok).passed());
    EXPECT_EQ(ok.asked(), 2);
    FixedCycleAnswer cancel(false);
    EXPECT_EQ(validateConfiguration(both, cancel).outcome, CheckOutcome::Cancelled);
    EXPECT_EQ(cancel.asked(), 1);
}

TEST(ValidateConfiguration, MappingRules) {
    const std::string range = str::CheckRangeFailed.source;
    const std::string block = str::CheckBlock32Failed.source;
    const std::string invalid = "Mapping address is invalid!";
    const std::string conflict = "Mapping address conflict !\n";
    const struct {
        const char* name;
        std::string inportNum;
        std::initializer_list<Cmd> cmds;
        std::string message;       // empty: passes
        std::vector<int> commands; // the commands the failure names
    } cases[] = {
        // clang-format off
        {"16: 12 + 4 fits", "16", {{"3", "4", "12"}}, "", {}},
        {"16: 13 + 4 is beyond", "16", {{"3", "4", "13"}}, range, {0}},
        {"hardware limit 244 exceeded", kHw, {{"4", "5", "240"}}, range, {0}},
        {"96: 30 + 2 keeps the block", "96", {{"3", "2", "30"}}, "", {}},
        {"96: 30 + 4 straddles 32", "96", {{"3", "4", "30"}}, block, {0}},
        {"empty address", "112", {{"3", "4", "0"}, {"3", "4", ""}}, invalid, {1}},
        {"two TPDOs at 0 and 2", "112", {{"3", "4", "0"}, {"3", "2", "2"}}, conflict, {0, 1}},
        {"TPDO and RPDO at 0", "112", {{"3", "4", "0", "385"}, {"4", "4", "0", "386"}}, "", {}},
        {"0-byte command inside another", "112", {{"1", "4", "0"}, {"3", "0", "3"}}, conflict, {0, 1}},
        {"0-byte command at the end of another", "112", {{"1", "4", "0"}, {"3", "0", "4"}}, "", {}},
        {"COB-ID clash names both nodes", "112", {{"4", "2", "0", "385", "3"}, {"1", "2", "0", "", "4"}, {"3", "2", "2", "385", "5"}},
         "Node-3 and Node-5 a strip under the command PDO COB-ID conflict!", {0, 2}},
        {"same direction may share a COB-ID", "112", {{"3", "2", "0", "385", "3"}, {"3", "2", "2", "385", "5"}}, "", {}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FixedCycleAnswer never(false);
        const CheckResult r = validateConfiguration(masterWith(c.inportNum, c.cmds), never);
        EXPECT_EQ(r.outcome, c.message.empty() ? CheckOutcome::Passed : CheckOutcome::Failed);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.commands, c.commands);
    }
}

TEST(CheckNodes, EveryNodeNeedsACommand) {
    const struct {
        const char* name;
        std::vector<std::string> nodes;
        std::initializer_list<Cmd> cmds;
        int node; // the node the failure names; -1: passes
    } cases[] = {
        {"every node served", {"3", "5"}, {{"3", "2", "0", "", "5"}, {"1", "2", "2", "", "3"}}, -1},
        {"second node idle", {"3", "5"}, {{"3", "2", "0", "", "3"}}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GatewayConfiguration cfg = masterWith("112", c.cmds);
        for (const std::string& address : c.nodes) {
            cfg.Config.Nodes[cfg.Config.NodeCount++].NodeAddress = address;
        }
        const CheckResult r = checkNodes(cfg);
        EXPECT_EQ(r.message, c.node < 0 ? "" : "There is invalid node!");
        EXPECT_EQ(r.node, c.node);
        EXPECT_TRUE(r.commands.empty());
        FixedCycleAnswer never(false);
        EXPECT_EQ(runPreDownloadChecks(cfg, never).passed(), c.node < 0);
    }
}

// Colours of offsets 0..n-1 on one side as letters: . default, I input, O output, X conflict.
std::string strip(const ByteUsageTables& t, BufferSide side, int n) {
    std::string s;
    for (int a = 0; a < n; ++a) {
        s += ".IOX"[static_cast<int>(t.colour(side, usageCellOfOffset(a)))];
    }
    return s;
}

TEST(UsageTables, CountsAndColoursEveryIncludedByte) {
    const struct {
        const char* name;
        std::initializer_list<Cmd> cmds;
        std::string input;  // offsets 0..7
        std::string output; // offsets 0..7
    } cases[] = {
        {"two TPDOs at 0 and 2", {{"3", "4", "0"}, {"3", "4", "2"}}, "IIXXII..", "........"},
        {"TPDO and RPDO at 0", {{"3", "1", "0"}, {"4", "1", "0"}}, "I.......", "O......."},
        {"SDOs take their sides", {{"1", "2", "1"}, {"2", "3", "5"}}, ".II.....", ".....OOO"},
        {"0-byte command colours nothing", {{"3", "0", "0"}}, "........", "........"},
        {"no address colours nothing", {{"3", "4", ""}, {"4", "4", "-1"}}, "........", "........"},
        {"unknown type colours nothing",
         {{"5", "4", "0"}, {"0", "4", "0"}},
         "........",
         "........"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ByteUsageTables t(masterWith("112", c.cmds));
        EXPECT_EQ(strip(t, BufferSide::Input, 8), c.input);
        EXPECT_EQ(strip(t, BufferSide::Output, 8), c.output);
    }
}

TEST(UsageTables, OutOfRangeCommandsAndBytesAreIgnored) {
    ByteUsageTables t(masterWith("112", {{"3", "2", "0"}}));
    EXPECT_FALSE(t.setIncluded(1, false));
    EXPECT_FALSE(t.setIncluded(-1, true));

    // Ten offsets a row; bytes beyond 249 have no cell; a huge count is clipped, not walked.
    EXPECT_EQ(usageCellOfOffset(250), -1);
    EXPECT_EQ(usageCellOfOffset(-1), -1);
    ByteUsageTables edge(masterWith(
        "112",
        {{"3", "4", "248"}, {"4", "2147483647", "240"}, {"4", "3", "300"}, {"1", "2", "-2"}}));
    EXPECT_EQ(edge.count(BufferSide::Input, usageCellOfOffset(249)), 1);
    EXPECT_EQ(edge.count(BufferSide::Output, usageCellOfOffset(239)), 0);
    EXPECT_EQ(edge.count(BufferSide::Input, 400), 0);
    int used = 0;
    for (int i = 0; i < kUsageCellCount; ++i) {
        used += edge.count(BufferSide::Input, i) + edge.count(BufferSide::Output, i);
    }
    EXPECT_EQ(used, 2 + 10);
}

} // namespace
} // namespace torvane
