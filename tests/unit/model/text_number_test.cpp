#include "model/text_number.h"

#include <gtest/gtest.h>

namespace torvane {
namespace {

TEST(DecimalValue, ReadsLeadingDigitsLikeTheStoredTextsNeed) {
    const struct {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"127", 127},
        {"250K", 250},
        {"-1", -1},
        {"  42", 42},
        {"+7", 7},
        {"07", 7},
        {"12 34", 12},
        {"-", 0},
        {"2147483647", 2147483647},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decimalValue(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(CanonicalDecimal, AcceptsOnlyTheExactDecimalForm) {
    const struct {
        const char* text;
        bool canonical;
    } cases[] = {
        {"0", true},   {"1", true},           {"385", true}, {"2147483647", true},   {"", false},
        {"07", false}, {"-1", false},         {"+1", false}, {" 1", false},          {"1 ", false},
        {"1a", false}, {"2147483648", false}, {"00", false}, {"99999999999", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isCanonicalDecimal(c.text), c.canonical) << '"' << c.text << '"';
    }
}

} // namespace
} // namespace torvane
