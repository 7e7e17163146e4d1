#include "devices/eds_values.h"

#include <cctype>
#include <charconv>
#include <limits>

namespace torvane {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

std::optional<std::uint64_t> digits(std::string_view text, unsigned base) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        const auto d = static_cast<unsigned>(digitValue(c));
        if (d >= base || value > (std::numeric_limits<std::uint64_t>::max() - d) / base) {
            return std::nullopt;
        }
        value = value * base + d;
    }
    return value;
}

bool startsWithNodeId(std::string_view text) {
    constexpr std::string_view kNodeId = "$nodeid";
    if (text.size() < kNodeId.size()) {
        return false;
    }
    for (std::size_t i = 0; i < kNodeId.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != kNodeId[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<EdsNumber> parseEdsNumber(std::string_view text) {
    text = trimmed(text);
    EdsNumber n;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        n.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::optional<std::uint64_t> value;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        value = digits(text.substr(2), 16);
    } else if (text.size() > 1 && text[0] == '0') {
        value = digits(text.substr(1), 8);
    } else {
        value = digits(text, 10);
    }
    if (!value) {
        return std::nullopt;
    }
    n.magnitude = *value;
    n.negative = n.negative && n.magnitude != 0;
    return n;
}

std::optional<EdsValue> parseEdsValue(std::string_view text) {
    if (const std::size_t comment = text.find(';'); comment != std::string_view::npos) {
        text = text.substr(0, comment);
    }
    text = trimmed(text);
    EdsValue v;
    if (startsWithNodeId(text)) {
        v.plusNodeId = true;
        text = trimmed(text.substr(7));
        if (text.empty()) {
            return v;
        }
        if (text.front() != '+') {
            return std::nullopt;
        }
        text.remove_prefix(1);
    } else if (const std::size_t plus = text.rfind('+');
               plus != std::string_view::npos && startsWithNodeId(trimmed(text.substr(plus + 1))) &&
               trimmed(text.substr(plus + 1)).size() == 7) {
        v.plusNodeId = true;
        text = text.substr(0, plus);
    }
    text = trimmed(text);
    // A sign belongs to a plain number only: "$NODEID+-1" is no offset CiA 306 knows.
    if (v.plusNodeId && (text.empty() || text.front() == '-' || text.front() == '+')) {
        return std::nullopt;
    }
    const std::optional<EdsNumber> n = parseEdsNumber(text);
    if (!n) {
        return std::nullopt;
    }
    v.number = *n;
    return v;
}

bool fitsInteger(const EdsNumber& n, int bits, bool isSigned) {
    if (bits <= 0 || bits > 64) {
        return false;
    }
    const std::uint64_t unsignedMax =
        bits == 64 ? std::numeric_limits<std::uint64_t>::max() : (std::uint64_t{1} << bits) - 1;
    if (!n.negative) {
        return n.magnitude <= unsignedMax;
    }
    return isSigned && n.magnitude <= (std::uint64_t{1} << (bits - 1));
}

bool isEdsReal(std::string_view text) {
    text = trimmed(text);
    if (parseEdsNumber(text)) {
        return true;
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double d = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), d);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

} // namespace torvane
