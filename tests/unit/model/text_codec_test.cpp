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
        {"Node-5", "Node-5", true},
        {"\xCE\xC2\xB6\xC8", "\xE6\xB8\xA9\xE5\xBA\xA6", true},     // "温度"
        {"\xB5\xE7\xBB\xFA 1", "\xE7\x94\xB5\xE6\x9C\xBA 1", true}, // "电机 1"
        {"\x81\x30\x81\x30", "\xC2\x80", true},                     // four-byte form
        {"\x95\x32\x82\x36", "\xF0\xA0\x80\x80", true},             // U+20000
        {std::string("a\0b", 3), std::string("a\0b", 3), true},     // NUL stays a byte
        {"cut \xB5", "cut \xEF\xBF\xBD", false},                    // lead byte at the end
        {"\xFF\xB5\xE7", "\xEF\xBF\xBD\xE7\x94\xB5", false},        // 0xFF never decodes
        {"\x80x", "\xEF\xBF\xBDx", false},
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

TEST(TextCodec, TerminalEncodings) {
    const std::string wendu = "\xCE\xC2\xB6\xC8";
    const struct {
        const char* codeset;
        std::string bytes;
        std::string shown;
    } cases[] = {
        {"UTF-8", wendu, "\xE6\xB8\xA9\xE5\xBA\xA6"},
        {"utf8", wendu, "\xE6\xB8\xA9\xE5\xBA\xA6"},
        {"GB18030", wendu + "\xFF", wendu + "\xFF"}, // the bytes as stored
        {"ANSI_X3.4-1968", "A" + wendu, "A??"},      // the C locale
        {"ISO-8859-1", "\xA8\xA6", "\xE9"},          // GB2312 "é"
        {"UTF-8", "\xFF", "\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(configTextForTerminal(c.bytes, c.codeset), c.shown) << c.codeset;
    }
}

} // namespace
} // namespace torvane
