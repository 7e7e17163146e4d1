#pragma once

#include "model/message.h"

#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// One cell text to write; row and column are 1-based.
struct CellText {
    int row = 1;
    int column = 1;
    std::string text; // UTF-8
};

// The cells to write into one worksheet, found by its name in the workbook.
struct SheetCells {
    std::string sheetName;
    std::vector<CellText> cells;
};

// Reads a template data file whole. Returns false with a reason when it is missing, not a regular
// file or unreadable.
bool readTemplateFile(const std::string& path, std::string& bytes, Message& error);

// Column letters of a 1-based column number (1 -> "A", 27 -> "AA"); empty outside 1..16384.
std::string columnLetters(int column);

// A workbook package whose sheets, in this order, have the given names and no cells, ready for
// fillWorkbookPackage. Returns false with a reason when the package cannot be built.
bool blankWorkbookPackage(const std::vector<std::string>& sheetNames, std::string& out,
                          Message& error);

// Reads an OOXML workbook package, writes each cell as an inline string (keeping the cell's own
// style) and returns the new package in `out`. Everything else in the package is carried over
// untouched. Returns false with a reason in `error` when the package cannot be read as a
// workbook, a sheet is missing or a sheet cannot be parsed; `out` is then left empty.
bool fillWorkbookPackage(std::string_view package, const std::vector<SheetCells>& sheets,
                         std::string& out, Message& error);

} // namespace torvane
