#include "model/text_number.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(HexEntry, TurnsBothHexFormsIntoDecimalAndLeavesEverythingElse) {
    const struct {
        const char* typed;
        const char* result;
    } cases[] = {
        {"0x6041", "24641"},
        {"6041h", "24641"},
        {"0xabcD", "43981"},
        {"0x7FFFFFFF", "2147483647"},
        // Plain decimal stays decimal; bad forms reach the commit rule unchanged.
        {"6041", "6041"},
        {"0x", "0x"},
        {"0xG1", "0xG1"},
        {"0x10h", "0x10h"},
        {" 0x10", " 0x10"},
        {"0x80000000", "0x80000000"},
        {"0x00000000000000000001", "1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hexEntryAsDecimal(c.typed), c.result) << '"' << c.typed << '"';
    }
}

TEST(HexEntry, GridFormReadsBackAsTheNumberOnlyWhenBothHalvesAgree) {
    const struct {
        const char* text;
        const char* number;
    } cases[] = {
        {"24641 (0x6041)", "24641"},          {"43981 (0xabcd)", "43981"},
        {"24641 (0x6042)", "24641 (0x6042)"}, {"024641 (0x6041)", "024641 (0x6041)"},
        {"24641 (0x6041", "24641 (0x6041"},   {"Self-defining", "Self-defining"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withoutHexNote(c.text), c.number) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace torvane
