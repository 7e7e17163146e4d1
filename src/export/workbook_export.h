#pragma once

#include "export/xlsx_package.h"
#include "model/configuration.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

inline constexpr const char* kTemplateMasterFile = "Template_Master.xlsx";
inline constexpr const char* kTemplateSlaveFile = "Template_Slave.xlsx";

// File name of the template workbook of a configuration type.
const char* workbookTemplateName(int configType);

// "%d (%xH)" of a text's decimal value: "385" -> "385 (181H)", "" -> "0 (0H)".
std::string valueAndHex(std::string_view text);

// Turns a configuration text (8-bit bytes) into UTF-8 for the workbook.
using TextToUtf8 = std::function<std::string(std::string_view)>;

// UTF-8 of a text in the configuration's 8-bit code page (GB18030, a superset of gb2312);
// a byte sequence that is not GB18030 becomes U+FFFD.
std::string codePageToUtf8(std::string_view text);

// Every cell the export writes, sheet by sheet in sheet order, texts converted by `toUtf8`
// (codePageToUtf8 when empty).
std::vector<SheetCells> workbookCells(const GatewayConfiguration& cfg,
                                      const TextToUtf8& toUtf8 = {});

enum class WorkbookResult {
    Ok,
    TemplateUnreadable, // template file missing or unreadable; nothing written
    TemplateBroken,     // template is not a workbook with the needed sheets; nothing written
    SaveFailed,         // the workbook cannot be written; a previous file is left intact
};

struct WorkbookOutcome {
    WorkbookResult result = WorkbookResult::Ok;
    std::string message; // user-visible text naming the file; empty on success
    std::string detail;  // the reason
};

// Fills the template at `templatePath` with the configuration and writes it atomically to
// `path`. On any failure returns the outcome with its message and leaves `path` as it was.
WorkbookOutcome exportWorkbook(const GatewayConfiguration& cfg, const std::string& templatePath,
                               const std::string& path, const TextToUtf8& toUtf8 = {});

} // namespace torvane
