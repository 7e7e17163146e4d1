#include "../../support/english.h"
#include "mapping/mapping_calculation.h"
#include "mapping_test_config.h"
#include "model/strings.h"

#include <gtest/gtest.h>
#include <vector>

namespace torvane {
namespace {

using test::Cmd;
using test::masterWith;

const std::string kHw = str::HardwareConfigSize;

struct CalcCase { // NOLINT(clang-analyzer-optin.performance.Padding)
    const char* name;
    std::string inportNum;
    bool controlStatus;
    int edition;
    std::initializer_list<Cmd> cmds;
    std::vector<std::string> addresses; // in list order
    int in, out;
    bool fits;
};

TEST(CalculateMapping, PacksBothBuffersAndTestsTheFit) {
    // clang-format off
    const CalcCase cases[] = {
        {"empty list: only the reserve", "16", true, 500, {}, {}, 2, 2, true},
        {"dense: SDOs first", "48", false, 500, {{"3", "8"}, {"1", "2"}, {"3", "4"}}, {"2", "0", "10"}, 14, 0, true},
        {"separate cursors per side", "48", false, 500, {{"4", "2"}, {"2", "3"}, {"3", "1"}, {"1", "1"}}, {"3", "0", "1", "0"}, 2, 5, true},
        {"even mode rounds odd counts up", "112", false, 500, {{"4", "3"}, {"4", "2"}}, {"0", "4"}, 0, 6, true},
        {"32-byte block: 4 at 30 moves to 32", "96", false, 500, {{"1", "30"}, {"3", "4"}}, {"0", "32"}, 36, 0, true},
        {"32-byte block: 2 at 30 stays", "96", false, 500, {{"1", "30"}, {"3", "2"}}, {"0", "30"}, 32, 0, true},
        {"16 + reserve: 14 bytes fit", "16", true, 500, {{"3", "14"}}, {"0"}, 16, 2, true},
        {"16 + reserve: 15 bytes overflow", "16", true, 500, {{"3", "15"}}, {"0"}, 17, 2, false},
        {"overflow still writes addresses", "16", false, 500, {{"3", "10"}, {"3", "10"}}, {"0", "10"}, 20, 0, false},
        {"edition 210: shared 224", kHw, false, 210, {{"1", "120"}, {"2", "110"}}, {"0", "0"}, 120, 110, false},
        {"edition 320: 244 each", kHw, false, 320, {{"1", "120"}, {"2", "110"}}, {"0", "0"}, 120, 110, true},
        {"edition 210: one side alone 224", kHw, false, 210, {{"3", "224"}}, {"0"}, 224, 0, true},
        {"edition 500: 245 overflows", kHw, false, 500, {{"3", "245"}}, {"0"}, 245, 0, false},
        {"bad counts take no room", "48", false, 500, {{"3", "abc"}, {"3", "-5"}, {"3", "2"}}, {"0", "0", "0"}, 2, 0, true},
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
        EXPECT_EQ(r.fits, c.fits);
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

    for (const char* missing : {"", "-1"}) {
        SCOPED_TRACE(missing);
        GatewayConfiguration cfg =
            masterWith("48", {{"3", "2", "7"}, {"1", missing, "9"}, {"3", "2", "11"}});
        const GatewayConfiguration before = cfg;
        r = runCalculateMappingCommand(cfg);
        EXPECT_EQ(r.outcome, MappingOutcome::Refused);
        EXPECT_EQ(r.message, "Please fill in the number of data for each command!");
        EXPECT_EQ(r.refusedCommand, 1);
        EXPECT_EQ(cfg, before);
    }

    GatewayConfiguration ok = masterWith("16", {{"3", "4"}});
    r = runCalculateMappingCommand(ok);
    EXPECT_EQ(r.outcome, MappingOutcome::Fits);
    EXPECT_EQ(r.message, "Automatic mapping is successful");
}

} // namespace
TEST(CalculateMapping, NamesTheFirstCommandThatDoesNotFit) {
    // 16-byte buffers with the 2-byte control/status reserve; commands in placement order
    // (PDOs before SDOs).
    struct Case {
        const char* name;
        std::initializer_list<Cmd> cmds;
        int first; // -1: fits
    } const cases[] = {
        {"fits", {{"3", "4"}, {"3", "4"}}, -1},
        {"second input passes 16", {{"3", "8"}, {"3", "8"}}, 1},
        {"the PDO listed second is placed first", {{"1", "2"}, {"3", "16"}}, 1},
        {"output buffer", {{"4", "16"}, {"3", "2"}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GatewayConfiguration cfg = masterWith("16", c.cmds);
        cfg.Config.ControlStatus = str::Enable;
        const MappingResult r = calculateMapping(cfg);
        EXPECT_EQ(r.fits, c.first < 0);
        EXPECT_EQ(r.firstOverflowCommand, c.first);
    }
}

} // namespace torvane
