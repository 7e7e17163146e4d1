#include "devices/data_types.h"
#include "devices/eds_values.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace torvane {
namespace {

TEST(EdsValues, NumbersAsCiA306WritesThem) {
    struct Case {
        const char* text;
        std::optional<std::uint64_t> bits; // nullopt: no number
    };
    const Case cases[] = {
        {"385", 385},
        {" 0x181 ", 0x181},
        {"0X1a", 0x1A},
        {"010", 8}, // octal
        {"-100", static_cast<std::uint64_t>(-100)},
        {"0xFFFFFFFFFFFFFFFF", 0xFFFFFFFFFFFFFFFFULL},
        {"0x10000000000000000", std::nullopt}, // beyond 64 bits
        {"08", std::nullopt},                  // no octal digit
        {"1018h", std::nullopt},
        {"0x", std::nullopt},
        {"", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<EdsNumber> n = parseEdsNumber(c.text);
        ASSERT_EQ(n.has_value(), c.bits.has_value());
        if (n) {
            EXPECT_EQ(n->bits(), *c.bits);
        }
    }
}

TEST(EdsValues, NodeIdExpressions) {
    struct Case {
        const char* text;
        bool valid;
        bool plusNodeId;
        std::uint64_t forNode5;
    };
    const Case cases[] = {
        {"$NODEID+0x180", true, true, 0x185},
        {"0x180+$NODEID", true, true, 0x185},
        {"$nodeid + 384", true, true, 0x185},
        {"$NODEID", true, true, 5},
        {"$NODEID+0x80000200 ; disabled", true, true, 0x80000205},
        {"0x200", true, false, 0x200},
        {"$NODEID-1", false, false, 0},
        {"0x180+$NODEID+1", false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<EdsValue> v = parseEdsValue(c.text);
        ASSERT_EQ(v.has_value(), c.valid);
        if (v) {
            EXPECT_EQ(v->plusNodeId, c.plusNodeId);
            EXPECT_EQ(v->resolve(5), c.forNode5);
        }
    }
}

TEST(EdsValues, IntegerRangesOfTheTypes) {
    struct Case {
        const char* text;
        int bits;
        bool isSigned;
        bool fits;
    };
    const Case cases[] = {
        {"255", 8, false, true}, {"256", 8, false, false}, {"-1", 8, false, false},
        {"-128", 8, true, true}, {"-129", 8, true, false}, {"0xFF", 8, true, true},
        {"1", 1, false, true},   {"2", 1, false, false},   {"0xFFFFFFFFFFFFFFF6", 64, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(fitsInteger(*parseEdsNumber(c.text), c.bits, c.isSigned), c.fits);
    }
}

TEST(DataTypes, BytesOfTheCiA301Types) {
    struct Case {
        std::uint16_t code;
        const char* name;
        std::optional<int> bytes;
    };
    const Case cases[] = {
        {0x0001, "BOOLEAN", 1},           {0x0003, "INTEGER16", 2},
        {0x0016, "UNSIGNED24", 3},        {0x0008, "REAL32", 4},
        {0x000C, "TIME_OF_DAY", 6},       {0x0011, "REAL64", 8},
        {0x001B, "UNSIGNED64", 8},        {0x0009, "VISIBLE_STRING", std::nullopt},
        {0x0017, "0x0017", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dataTypeName(c.code), c.name);
        EXPECT_EQ(dataTypeBytes(c.code), c.bytes);
        EXPECT_EQ(isDummyMapping(c.code), c.bytes.has_value());
    }
}

} // namespace
} // namespace torvane
