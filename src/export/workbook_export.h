#pragma once

#include "export/xlsx_package.h"
#include "model/configuration.h"

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

// Every cell the export writes, sheet by sheet in sheet order, as UTF-8 (configTextToUtf8).
std::vector<SheetCells> workbookCells(const GatewayConfiguration& cfg);

enum class WorkbookResult {
    Ok,
    TemplateUnreadable, // template file missing or unreadable; nothing written
    TemplateBroken,     // template is not a workbook with the needed sheets; nothing written
    SaveFailed,         // the workbook cannot be written; a previous file is left intact
};

struct WorkbookOutcome {
    WorkbookResult result = WorkbookResult::Ok;
    Message message; // user-visible text naming the file; empty on success
    Message detail;  // the reason
};

// Fills the template at `templatePath` with the configuration and writes it atomically to
// `path`. On any failure returns the outcome with its message and leaves `path` as it was.
WorkbookOutcome exportWorkbook(const GatewayConfiguration& cfg, const std::string& templatePath,
                               const std::string& path);

} // namespace torvane
