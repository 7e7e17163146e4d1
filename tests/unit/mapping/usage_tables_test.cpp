#include "mapping/usage_tables.h"
#include "mapping_test_config.h"

#include <gtest/gtest.h>
#include <string>

namespace torvane {
namespace {

using test::masterWith;

// Colours of offsets 0..n-1 on one side as letters: . default, I input, O output, X conflict.
std::string strip(const ByteUsageTables& t, BufferSide side, int n) {
    std::string s;
    for (int a = 0; a < n; ++a) {
        switch (t.colour(side, usageCellOfOffset(a))) {
        case CellColour::Default:
            s += '.';
            break;
        case CellColour::InputOnce:
            s += 'I';
            break;
        case CellColour::OutputOnce:
            s += 'O';
            break;
        case CellColour::Conflict:
            s += 'X';
            break;
        }
    }
    return s;
}

TEST(UsageTables, CountsAndColoursEveryIncludedByte) {
    struct Case {
        const char* name;
        std::initializer_list<test::Cmd> cmds;
        std::string input;  // offsets 0..7
        std::string output; // offsets 0..7
    } const cases[] = {
        {"two TPDOs at 0 and 2", {{"3", "4", "0"}, {"3", "4", "2"}}, "IIXXII..", "........"},
        {"TPDO and RPDO at 0", {{"3", "1", "0"}, {"4", "1", "0"}}, "I.......", "O......."},
        {"SDOs take their sides", {{"1", "2", "1"}, {"2", "3", "5"}}, ".II.....", ".....OOO"},
        {"0-byte command colours nothing", {{"3", "0", "0"}}, "........", "........"},
        {"missing addresses colour nothing",
         {{"3", "4", ""}, {"4", "4", "-1"}},
         "........",
         "........"},
        {"unknown type colours nothing",
         {{"5", "4", "0"}, {"0", "4", "0"}},
         "........",
         "........"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ByteUsageTables t(masterWith("112", c.cmds));
        EXPECT_EQ(strip(t, BufferSide::Input, 8), c.input);
        EXPECT_EQ(strip(t, BufferSide::Output, 8), c.output);
    }
}

TEST(UsageTables, UncheckingAndCheckingAgain) {
    ByteUsageTables t(masterWith("112", {{"3", "4", "0"}, {"3", "4", "2"}}));
    ASSERT_TRUE(t.setIncluded(1, false));
    EXPECT_EQ(strip(t, BufferSide::Input, 8), "IIII....");
    EXPECT_FALSE(t.isIncluded(1));
    ASSERT_TRUE(t.setIncluded(1, false)); // already out: no second subtraction
    EXPECT_EQ(strip(t, BufferSide::Input, 8), "IIII....");
    ASSERT_TRUE(t.setIncluded(1, true));
    EXPECT_EQ(strip(t, BufferSide::Input, 8), "IIXXII..");
    EXPECT_EQ(t.count(BufferSide::Input, usageCellOfOffset(2)), 2);
    EXPECT_FALSE(t.setIncluded(2, false));
    EXPECT_FALSE(t.setIncluded(-1, true));
}

TEST(UsageTables, ListLinesPointAtTheirCommands) {
    // The unknown command is not listed; the lines after it still reach the right command.
    ByteUsageTables t(masterWith(
        "112",
        {{"9", "4", "0"}, {"1", "1", "0"}, {"2", "1", "0"}, {"3", "1", "1"}, {"4", "1", "1"}}));
    const auto& list = t.listEntries();
    ASSERT_EQ(list.size(), 4U);
    const char* labels[] = {"Upload SDO", "Download SDO", "TPDO", "RPDO"};
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].label, labels[i]);
        EXPECT_EQ(list[i].command, static_cast<int>(i) + 1);
    }
    t.setIncluded(list[3].command, false);
    EXPECT_EQ(strip(t, BufferSide::Output, 3), "O..");
    EXPECT_EQ(strip(t, BufferSide::Input, 3), "II.");
}

TEST(UsageTables, GridGeometryAndBounds) {
    const int cell = usageCellOfOffset(123);
    EXPECT_EQ(cell, 16 * 12 + 3);
    EXPECT_EQ(usageRowOfCell(cell), 12);
    EXPECT_EQ(usageColumnOfCell(cell), 4);
    EXPECT_EQ(usageRowLabel(12), "0120");
    EXPECT_EQ(usageRowLabel(0), "0000");
    EXPECT_EQ(usageRowLabel(24), "0240");
    EXPECT_EQ(usageCellOfOffset(249), 16 * 24 + 9);
    EXPECT_EQ(usageCellOfOffset(250), -1);
    EXPECT_EQ(usageCellOfOffset(-1), -1);

    // Bytes beyond 249 have no cell; a huge count is clipped, not walked or written past.
    ByteUsageTables t(masterWith(
        "112",
        {{"3", "4", "248"}, {"4", "2147483647", "240"}, {"4", "3", "300"}, {"1", "2", "-2"}}));
    EXPECT_EQ(t.count(BufferSide::Input, usageCellOfOffset(248)), 1);
    EXPECT_EQ(t.count(BufferSide::Input, usageCellOfOffset(249)), 1);
    EXPECT_EQ(t.count(BufferSide::Output, usageCellOfOffset(249)), 1);
    EXPECT_EQ(t.count(BufferSide::Output, usageCellOfOffset(239)), 0);
    EXPECT_EQ(t.count(BufferSide::Input, usageCellOfOffset(0)), 0);
    EXPECT_EQ(t.count(BufferSide::Input, 400), 0);
    int used = 0;
    for (int i = 0; i < kUsageCellCount; ++i) {
        used += t.count(BufferSide::Input, i) + t.count(BufferSide::Output, i);
    }
    EXPECT_EQ(used, 2 + 10);
    EXPECT_EQ(rgbOf(CellColour::Conflict).r, 255);
    EXPECT_EQ(rgbOf(CellColour::InputOnce).g, 255);
    EXPECT_EQ(rgbOf(CellColour::OutputOnce).b, 255);
}

} // namespace
} // namespace torvane
