#pragma once

// The tag table as the file each target imports.

#include "export/xlsx_package.h"
#include "plc/plc_tags.h"

#include <string>
#include <vector>

namespace torvane {

// The worksheet the TIA Portal import reads, and its columns in order.
inline constexpr const char* kTiaSheet = "PLC Tags";
inline constexpr const char* kTiaTagTable = "Default tag table";

// RFC 4180, UTF-8, CRLF line ends: a header row, then one row per tag.
std::string tagsCsv(const TagTable& table);

// An IEC 61131-3 VAR_GLOBAL list. Byte addressing: %IB n, %IW n and %ID n begin at byte n.
// With `wordAddressing` %IW n covers bytes 2n and 2n+1 and %ID n bytes 4n..4n+3; a tag such an
// index cannot reach is declared as an array of bytes at %IB.
std::string tagsIec(const TagTable& table, bool wordAddressing);

// The cells of the "PLC Tags" worksheet (header in row 1), and of a "Notes" sheet when there is
// something to say.
std::vector<SheetCells> tiaCells(const TagTable& table);

// The TIA workbook package; false with a reason when it cannot be built.
bool tagsTiaWorkbook(const TagTable& table, std::string& out, Message& error);

// The whole file of `table` in its format.
bool tagFileBytes(const TagTable& table, bool wordAddressing, std::string& out, Message& error);

} // namespace torvane
