#include "model/text_number.h"

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

} // namespace torvane
