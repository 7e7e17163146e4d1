#include "model/text_number.h"

#include <cstdio>
#include <limits>

namespace torvane {

std::int32_t decimalValue(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr long long limit = std::numeric_limits<std::int32_t>::max();
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit + 1) {
            value = limit + 1;
        }
    }
    if (negative) {
        return static_cast<std::int32_t>(-value);
    }
    return static_cast<std::int32_t>(value > limit ? limit : value);
}

bool isCanonicalDecimal(std::string_view text) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    for (char ch : text) {
        if (ch < '0' || ch > '9') {
            return false;
        }
    }
    if (text.size() > 1 && text[0] == '0') {
        return false;
    }
    return decimalText(decimalValue(text)) == text;
}

std::string decimalText(long long value) {
    return std::to_string(value);
}

namespace {
int hexDigit(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    return -1;
}
} // namespace

std::string hexEntryAsDecimal(std::string_view text) {
    std::string_view digits;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        digits = text.substr(2);
    } else if (text.size() > 1 && (text.back() == 'h' || text.back() == 'H')) {
        digits = text.substr(0, text.size() - 1);
    } else {
        return std::string(text);
    }
    constexpr long long limit = std::numeric_limits<std::int32_t>::max();
    long long value = 0;
    for (const char ch : digits) {
        const int d = hexDigit(ch);
        if (d < 0) {
            return std::string(text);
        }
        value = value * 16 + d;
        if (value > limit) {
            return std::string(text);
        }
    }
    return decimalText(value);
}

std::string decimalAndHex(std::string_view stored, int digits) {
    if (!isCanonicalDecimal(stored)) {
        return {};
    }
    return std::string(stored) + " = 0x" + hexText(decimalValue(stored), digits);
}

std::string hexText(long long value, int digits) {
    char hex[24];
    std::snprintf(hex, sizeof hex, "%0*llX", digits, static_cast<unsigned long long>(value));
    return hex;
}

std::string decimalWithHex(std::string_view stored, int digits) {
    if (!isCanonicalDecimal(stored)) {
        return std::string(stored);
    }
    return std::string(stored) + " (0x" + hexText(decimalValue(stored), digits) + ")";
}

std::string withoutHexNote(std::string_view text) {
    const std::size_t open = text.find(" (0x");
    if (open == std::string_view::npos || text.size() < open + 6 || text.back() != ')') {
        return std::string(text);
    }
    const std::string_view number = text.substr(0, open);
    const std::string_view hex = text.substr(open + 4, text.size() - open - 5);
    if (!isCanonicalDecimal(number) || hex.size() > 8) {
        return std::string(text);
    }
    long long value = 0;
    for (const char ch : hex) {
        const int d = hexDigit(ch);
        if (d < 0) {
            return std::string(text);
        }
        value = value * 16 + d;
    }
    return value == decimalValue(number) ? std::string(number) : std::string(text);
}

} // namespace torvane
