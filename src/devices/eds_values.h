#pragma once

// Numbers as CiA 306 writes them in EDS and DCF files: decimal, hexadecimal after "0x",
// octal after a leading "0", with a sign; values may add the node ID ("$NODEID+0x180").

#include <cstdint>
#include <optional>
#include <string_view>

namespace torvane {

struct EdsNumber {
    bool negative = false;
    std::uint64_t magnitude = 0;

    // The low 64 bits, a negative number in two's complement.
    std::uint64_t bits() const { return negative ? ~magnitude + 1 : magnitude; }
};

// The number `text` writes, blanks around it ignored; nullopt when it is none or does not fit
// 64 bits.
std::optional<EdsNumber> parseEdsNumber(std::string_view text);

// A value that may add the node ID: "$NODEID", "$NODEID+n", "n+$NODEID" ($NODEID in any case,
// blanks around '+' allowed) or a plain number. A comment after ';' is no part of it.
struct EdsValue {
    EdsNumber number;
    bool plusNodeId = false;

    // The value for node `nodeId`, as 64 bits.
    std::uint64_t resolve(unsigned nodeId) const {
        return number.bits() + (plusNodeId ? nodeId : 0);
    }
};

// The value `text` writes; nullopt when it is no number or $NODEID expression.
std::optional<EdsValue> parseEdsValue(std::string_view text);

// Whether `n` is a value of an integer type of `bits` bits: within the signed or unsigned
// range, or for a signed type also its bit pattern written without a sign (0xFFFF as -1).
bool fitsInteger(const EdsNumber& n, int bits, bool isSigned);

// Whether `text` is a floating-point number ("5.2", "-1e3") or an integer.
bool isEdsReal(std::string_view text);

// `text` without blanks at either end.
std::string_view trimmed(std::string_view text);

} // namespace torvane
