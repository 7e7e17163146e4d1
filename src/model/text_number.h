#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace torvane {

// Decimal text-to-integer conversion behind every number the program reads: optional blanks, an
// optional sign, then the leading decimal digits; 0 when there are none. Saturates at the int32
// range. Readers use decodeNumber (model/record_view.h), which also says what the text means.
std::int32_t decimalValue(std::string_view text);

// True when `text` is exactly the decimal form of its own value: digits only, no sign, no
// leading zeros, no blanks, and within the int32 range.
bool isCanonicalDecimal(std::string_view text);

// Decimal form of a value ("%d").
std::string decimalText(long long value);

// A number typed in hexadecimal as CANopen writes it: "0x6041" / "0X6041" or "6041h" / "6041H"
// (hex digits of either case, leading zeros allowed, nothing else) becomes its canonical decimal
// text ("24641"). Any other text, a bare "0x" or "h", and a value beyond the int32 range are
// returned unchanged, so the commit rule that follows judges them as it always has.
std::string hexEntryAsDecimal(std::string_view text);

// "24641 = 0x6041": a stored canonical decimal number followed by its hexadecimal form in upper
// case with at least `digits` digits. Empty when `stored` is not a canonical decimal number.
std::string decimalAndHex(std::string_view stored, int digits);

// `value` in upper-case hexadecimal with at least `digits` digits, without a prefix ("6041").
std::string hexText(long long value, int digits);

// "24641 (0x6041)": a stored canonical decimal number as the grid and the COB-ID lists show it,
// its hexadecimal form (at least `digits` digits) in brackets. Any other text as it is.
std::string decimalWithHex(std::string_view stored, int digits);

// The decimal number of a text shown by decimalWithHex() ("24641 (0x6041)", hex digits of
// either case, naming the same number), so that a list entry or a copied cell commits as the
// number. Any other text is returned unchanged.
std::string withoutHexNote(std::string_view text);

} // namespace torvane
