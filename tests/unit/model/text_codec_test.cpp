#include "model/text_codec.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace torvane {
namespace {

TEST(TextCodec, ConfigTextToUtf8AndBack) {
    const struct {
        std::string bytes;
        std::string utf8;
        bool decodes;
    } cases[] = {
        {"", "", true},
        {"\xCE\xC2\xB6\xC8", "\xE6\xB8\xA9\xE5\xBA\xA6", true}, // "温度"
        {"\x81\x30\x81\x30", "\xC2\x80", true},                 // four-byte form
        {"\x95\x32\x82\x36", "\xF0\xA0\x80\x80", true},         // U+20000
        {std::string("a\0b", 3), std::string("a\0b", 3), true}, // NUL stays a byte
        {"cut \xB5", "cut \xEF\xBF\xBD", false},                // lead byte at the end
        {"\xFF\xB5\xE7", "\xEF\xBF\xBD\xE7\x94\xB5", false},    // 0xFF never decodes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(configTextToUtf8(c.bytes), c.utf8) << c.bytes;
        const std::optional<std::string> strict = decodeConfigText(c.bytes);
        EXPECT_EQ(strict.has_value(), c.decodes) << c.bytes;
        if (c.decodes) {
            EXPECT_EQ(*strict, c.utf8);
            EXPECT_EQ(configTextFromUtf8(c.utf8), c.bytes) << c.bytes;
        }
    }
}

TEST(TextCodec, Utf8ThatCannotBeStoredBecomesQuestionMarks) {
    const struct {
        std::string utf8;
        std::string bytes;
    } cases[] = {
        {"\xED\xA0\x80x", "?x"}, // an encoded surrogate is one character
        {"\xC3(", "?("},         // a lead byte without its continuation
        {"\x80\x80", "??"},      // stray continuation bytes, one mark each
        {"\xE6\xB8\xA9\xFF", "\xCE\xC2?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(configTextFromUtf8(c.utf8), c.bytes) << c.utf8;
    }
}

// Whatever a text holds, its printed form is one line without a control character, and two
// different texts never print alike.
TEST(TextCodec, PrintableForms) {
    const struct {
        std::string text;
        std::string utf8;   // printableText
        std::string config; // printableConfigText of the same bytes
    } cases[] = {
        {"\x1B[31mred", "\\x1B[31mred", "\\x1B[31mred"},
        {"\xC2\x9B\x31m", "\\x9B\x31m", "\xE8\x81\xB8\x31m"}, // U+009B (CSI); GB18030 "聸"
        {"\x81\x30\x81\x30", "\\x81\x30\\x81\x30", "\\x80"},  // GB18030's form of U+0080
    };
    for (const auto& c : cases) {
        EXPECT_EQ(printableText(c.text), c.utf8) << c.text;
        EXPECT_EQ(printableConfigText(c.text), c.config) << c.text;
    }
}

// Device description files: UTF-8 when they are, else Windows-1252.
TEST(TextCodec, Utf8CheckAndWindows1252) {
    const struct {
        std::string bytes;
        bool utf8;
        std::string from1252;
    } cases[] = {
        {"M\xC3\xBCller \xE2\x82\xAC", true, "M\xC3\x83\xC2\xBCller \xC3\xA2\xE2\x80\x9A\xC2\xAC"},
        {"M\xFCller \x80", false, "M\xC3\xBCller \xE2\x82\xAC"},
        {"\xC0\x80", false, "\xC3\x80\xE2\x82\xAC"},                                 // overlong NUL
        {"\xED\xA0\x80", false, "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},                     // a surrogate
        {"\xF4\x90\x80\x80", false, "\xC3\xB4\xEF\xBF\xBD\xE2\x82\xAC\xE2\x82\xAC"}, // > U+10FFFF
        {"cut \xE2\x82", false, "cut \xC3\xA2\xE2\x80\x9A"},
        {"\x81", false, "\xEF\xBF\xBD"}, // undefined in Windows-1252
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isUtf8(c.bytes), c.utf8) << c.bytes;
        EXPECT_EQ(windows1252ToUtf8(c.bytes), c.from1252) << c.bytes;
    }
}

} // namespace
} // namespace torvane
