#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvane {

// Decimal text-to-integer conversion used for every stored number: optional blanks, an optional
// sign, then the leading decimal digits; 0 when there are none. Saturates at the int32 range.
std::int32_t decimalValue(std::string_view text);

// True when `text` is exactly the decimal form of its own value: digits only, no sign, no
// leading zeros, no blanks, and within the int32 range.
bool isCanonicalDecimal(std::string_view text);

// Decimal form of a value ("%d").
std::string decimalText(long long value);

} // namespace torvane
