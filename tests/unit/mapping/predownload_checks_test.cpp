#include "../../support/english.h"
#include "../../support/fixed_cycle_answer.h"
#include "mapping/predownload_checks.h"
#include "mapping_test_config.h"
#include "model/strings.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

using test::Cmd;
using test::masterWith;

TEST(LeastCycle, FollowsTheBaudRateTable) {
    struct Case {
        const char* baud;
        CycleKind kind;
        int n;
        int expected;
    } const cases[] = {
        {"1M", CycleKind::Rpdo, 1, 1},    {"1M", CycleKind::Rpdo, 20, 3},
        {"1M", CycleKind::Sdo, 10, 3},    {"500K", CycleKind::Rpdo, 7, 3},
        {"500K", CycleKind::Sdo, 5, 3},   {"250K", CycleKind::Rpdo, 5, 3},
        {"250K", CycleKind::Sdo, 10, 12}, {"125K", CycleKind::Rpdo, 7, 9},
        {"125K", CycleKind::Sdo, 5, 12},  {"100K", CycleKind::Rpdo, 3, 5},
        {"100K", CycleKind::Sdo, 3, 9},   {"50K", CycleKind::Rpdo, 4, 12},
        {"10K", CycleKind::Sdo, 4, 24},   {"garbage", CycleKind::Rpdo, 1, 3},
        {"250K", CycleKind::Sdo, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(leastCycleMs(c.baud, c.kind, c.n), c.expected)
            << c.baud << (c.kind == CycleKind::Rpdo ? " RPDO " : " SDO ") << c.n;
    }
}

GatewayConfiguration tenSdos(const std::string& sdoCycle, bool overlap) {
    GatewayConfiguration cfg = masterWith("112", {});
    for (int i = 0; i < 10; ++i) {
        INSTRUCTION& ins = cfg.Config.Instructions[i];
        ins.InstructionType = "1";
        ins.Bytes = "2";
        ins.MappingAddress = std::to_string(overlap && i == 9 ? 1 : 2 * i);
    }
    cfg.Config.InstructionCount = 10;
    cfg.Config.SDOCycle = sdoCycle;
    return cfg;
}

TEST(ValidateConfiguration, CycleQuestionsAndWhatFollowsThem) {
    struct Case {
        const char* name;
        std::string sdoCycle;
        bool overlap;
        bool answer;
        CheckOutcome outcome;
        int asked;
        std::string message;
    } const cases[] = {
        {"cycle 0 skips the estimate", "0", false, false, CheckOutcome::Passed, 0, ""},
        {"cycle 12 keeps up with 10 SDOs at 250K", "12", false, false, CheckOutcome::Passed, 0, ""},
        {"cycle 11 asks, Cancel stops", "11", false, false, CheckOutcome::Cancelled, 1, ""},
        {"cycle 11 asks, OK passes a sound mapping", "11", false, true, CheckOutcome::Passed, 1,
         ""},
        {"OK does not let an overlap through", "11", true, true, CheckOutcome::Failed, 1,
         "Mapping address conflict !\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GatewayConfiguration cfg = tenSdos(c.sdoCycle, c.overlap);
        FixedCycleAnswer answer(c.answer);
        const CheckResult r = validateConfiguration(cfg, answer);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(answer.asked(), c.asked);
    }

    // OK to the RPDO question goes on to the SDO question.
    GatewayConfiguration both = tenSdos("1", false);
    both.Config.RPDOCycle = "1";
    both.Config.Instructions[10] = both.Config.Instructions[0];
    both.Config.Instructions[10].InstructionType = "4";
    for (int i = 11; i < 17; ++i) {
        both.Config.Instructions[i] = both.Config.Instructions[10];
        both.Config.Instructions[i].MappingAddress = std::to_string(2 * (i - 10));
    }
    both.Config.InstructionCount = 17;
    FixedCycleAnswer ok(true);
    EXPECT_TRUE(validateConfiguration(both, ok).passed());
    EXPECT_EQ(ok.asked(), 2);
    EXPECT_EQ(ok.lastQuestion(),
              "At this CAN baud rate, to configure 10 SDO commands, SDO send cycle takes at "
              "least 12 milliseconds! Do you want to continue the download?");
    FixedCycleAnswer cancel(false);
    const CheckResult r = validateConfiguration(both, cancel);
    EXPECT_EQ(r.outcome, CheckOutcome::Cancelled);
    EXPECT_EQ(r.question, "At this CAN baud rate, to configure 7 RPDO commands, RPDO send cycle "
                          "takes at least 5 milliseconds! Do you want to continue the download?");
    EXPECT_EQ(cancel.asked(), 1);
}

TEST(ValidateConfiguration, MappingRules) {
    const std::string range = str::CheckRangeFailed.source;
    const std::string block = str::CheckBlock32Failed.source;
    const std::string invalid = "Mapping address is invalid!";
    const std::string conflict = "Mapping address conflict !\n";
    struct Case {
        const char* name;
        std::string inportNum;
        std::initializer_list<Cmd> cmds;
        std::string message;       // empty: passes
        std::vector<int> commands; // the commands the failure names
    } const cases[] = {
        // clang-format off
        {"16: 12 + 4 fits", "16", {{"3", "4", "12"}}, "", {}},
        {"16: 13 + 4 is beyond", "16", {{"3", "4", "13"}}, range, {0}},
        {"hardware limit 244 exceeded", str::HardwareConfigSize, {{"4", "5", "240"}}, range, {0}},
        {"96: 30 + 2 keeps the block", "96", {{"3", "2", "30"}}, "", {}},
        {"96: 30 + 4 straddles 32", "96", {{"3", "4", "30"}}, block, {0}},
        {"96: 62 + 4 straddles 64", "96", {{"3", "4", "62"}}, block, {0}},
        {"96: 94 + 4 fails the range first", "96", {{"3", "4", "94"}}, range, {0}},
        {"empty address", "112", {{"3", "4", "0"}, {"3", "4", ""}}, invalid, {1}},
        {"address -1", "112", {{"1", "4", "-1"}}, invalid, {0}},
        {"two TPDOs at 0 and 2", "112", {{"3", "4", "0"}, {"3", "2", "2"}}, conflict, {0, 1}},
        {"later command covering an earlier start", "112", {{"3", "2", "2"}, {"1", "4", "0"}}, conflict, {0, 1}},
        {"TPDO and RPDO at 0", "112", {{"3", "4", "0", "385"}, {"4", "4", "0", "386"}}, "", {}},
        {"0-byte command inside another", "112", {{"1", "4", "0"}, {"3", "0", "3"}}, conflict, {0, 1}},
        {"0-byte command at the end of another", "112", {{"1", "4", "0"}, {"3", "0", "4"}}, "", {}},
        {"COB-ID clash names both nodes", "112", {{"4", "2", "0", "385", "3"}, {"1", "2", "0", "", "4"}, {"3", "2", "2", "385", "5"}},
         "Node-3 and Node-5 a strip under the command PDO COB-ID conflict!", {0, 2}},
        {"same direction may share a COB-ID", "112", {{"3", "2", "0", "385", "3"}, {"3", "2", "2", "385", "5"}}, "", {}},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GatewayConfiguration cfg = masterWith(c.inportNum, c.cmds);
        FixedCycleAnswer never(false);
        const CheckResult r = validateConfiguration(cfg, never);
        EXPECT_EQ(r.outcome, c.message.empty() ? CheckOutcome::Passed : CheckOutcome::Failed);
        EXPECT_EQ(r.message, c.message);
        EXPECT_EQ(r.commands, c.commands);
        EXPECT_EQ(r.node, -1);
    }
}

TEST(CheckNodes, EveryNodeNeedsACommand) {
    struct Case {
        const char* name;
        std::vector<std::string> nodes;
        std::initializer_list<Cmd> cmds;
        bool passes;
        int node; // the node the failure names
    } const cases[] = {
        {"no nodes", {}, {}, true, -1},
        {"nodes but no commands", {"3"}, {}, false, 0},
        {"every node served",
         {"3", "5"},
         {{"3", "2", "0", "", "5"}, {"1", "2", "2", "", "3"}},
         true,
         -1},
        {"second node idle", {"3", "5"}, {{"3", "2", "0", "", "3"}}, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GatewayConfiguration cfg = masterWith("112", c.cmds);
        for (std::size_t i = 0; i < c.nodes.size(); ++i) {
            cfg.Config.Nodes[i].NodeAddress = c.nodes[i];
        }
        cfg.Config.NodeCount = static_cast<int>(c.nodes.size());
        const CheckResult r = checkNodes(cfg);
        EXPECT_EQ(r.passed(), c.passes);
        EXPECT_EQ(r.message, c.passes ? "" : "There is invalid node!");
        EXPECT_EQ(r.node, c.node);
        EXPECT_TRUE(r.commands.empty());
        FixedCycleAnswer never(false);
        EXPECT_EQ(runPreDownloadChecks(cfg, never).passed(), c.passes);
    }
}

} // namespace
} // namespace torvane
