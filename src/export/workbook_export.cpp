#include "export/workbook_export.h"

#include "model/atomic_file.h"
#include "model/strings.h"
#include "model/text_codec.h"
#include "model/text_number.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>

namespace torvane {
namespace {

class SheetFiller {
public:
    explicit SheetFiller(std::string name) { sheet_.sheetName = std::move(name); }
    void set(int row, int column, std::string_view text) {
        sheet_.cells.push_back({row, column, configTextToUtf8(text)});
    }
    // Next command row, counted from row 2.
    int nextRow() { return row_++; }
    SheetCells take() { return std::move(sheet_); }

private:
    SheetCells sheet_;
    int row_ = 2;
};

void writeSdoRow(SheetFiller& s, const INSTRUCTION& ins) {
    const int row = s.nextRow();
    s.set(row, 1, ins.NodeAddress);
    s.set(row, 2, valueAndHex(ins.Index));
    s.set(row, 3, valueAndHex(ins.SubIndex));
    s.set(row, 4, ins.Bytes);
    s.set(row, 5, ins.MappingAddress);
    s.set(row, 6, ins.Description);
}

void writePdoRow(SheetFiller& s, const INSTRUCTION& ins, const std::string& nodeAddress) {
    const int row = s.nextRow();
    s.set(row, 1, nodeAddress);
    s.set(row, 2, valueAndHex(ins.CobId));
    s.set(row, 3, ins.Bytes);
    s.set(row, 4, ins.MappingAddress);
    s.set(row, 5, ins.Description);
}

} // namespace

const char* workbookTemplateName(int configType) {
    return configType == kCanopenMaster ? kTemplateMasterFile : kTemplateSlaveFile;
}

std::string valueAndHex(std::string_view text) {
    const std::int32_t v = decimalValue(text);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%d (%xH)", static_cast<int>(v), static_cast<unsigned>(v));
    return buf;
}

std::vector<SheetCells> workbookCells(const GatewayConfiguration& cfg) {
    const CONFIG& c = cfg.Config;
    const std::span<const INSTRUCTION> commands = usedCommands(c);
    // Counts by command type, taken before any row is written.
    std::array<int, kCommandTypes.size()> count{};
    for (const INSTRUCTION& ins : commands) {
        if (const CommandType* t = findCommandType(ins.InstructionType)) {
            ++count[static_cast<std::size_t>(t->kind)];
        }
    }
    const auto countOf = [&](CommandKind kind) {
        return std::to_string(count[static_cast<std::size_t>(kind)]);
    };
    const bool master = cfg.ConfigType == kCanopenMaster;
    SheetFiller canopen("CANopen");
    SheetFiller upload("Upload SDO");
    SheetFiller download("Download SDO");
    SheetFiller tpdo("TPDO");
    SheetFiller rpdo("RPDO");
    SheetFiller profibus("Profibus");

    if (master) {
        const std::string* texts[] = {
            &c.BuadRate,         &c.SlaveAddress, &c.SDOTimeout,    &c.NMT,          &c.TPDOTimeout,
            &c.DelayStart,       &c.SYNC,         &c.ControlStatus, &c.ErrorControl, &c.RPDOCycle,
            &c.OutputProcessing, &c.SDOCycle,     &c.SDOConcurrent};
        canopen.set(2, 1, "CANopen");
        int column = 2;
        for (const std::string* t : texts) {
            canopen.set(2, column++, *t);
        }
        if (c.SDOConcurrent != str::Enable) {
            canopen.set(2, 15, c.SDORetries);
            canopen.set(2, 16, c.SDOPollDelay);
        }
        canopen.set(2, 17, countOf(CommandKind::UploadSdo));
        canopen.set(2, 18, countOf(CommandKind::TransmitPdo));
        canopen.set(2, 19, countOf(CommandKind::DownloadSdo));
        canopen.set(2, 20, countOf(CommandKind::ReceivePdo));
    } else {
        canopen.set(2, 1, c.SlaveBaudRate);
        canopen.set(2, 2, c.SlaveNodeAddress);
        canopen.set(2, 3, c.RPDOTimeout);
        canopen.set(2, 4, c.SlaveDelayStart);
        canopen.set(2, 5, countOf(CommandKind::TransmitPdo));
        canopen.set(2, 6, countOf(CommandKind::ReceivePdo));
    }
    for (const INSTRUCTION& ins : commands) {
        if (master && ins.InstructionType == kUploadSdo) {
            writeSdoRow(upload, ins);
        } else if (master && ins.InstructionType == kDownloadSdo) {
            writeSdoRow(download, ins);
        } else if (ins.InstructionType == kTransmitPdo) {
            writePdoRow(tpdo, ins, master ? ins.NodeAddress : c.SlaveNodeAddress);
        } else if (ins.InstructionType == kReceivePdo) {
            writePdoRow(rpdo, ins, master ? ins.NodeAddress : c.SlaveNodeAddress);
        }
    }
    profibus.set(2, 1, "Profibus");
    profibus.set(2, 2, cfg.Fieldbus.InportNum);

    std::vector<SheetCells> sheets;
    sheets.push_back(canopen.take());
    if (master) {
        sheets.push_back(upload.take());
        sheets.push_back(download.take());
    }
    sheets.push_back(tpdo.take());
    sheets.push_back(rpdo.take());
    sheets.push_back(profibus.take());
    return sheets;
}

WorkbookOutcome exportWorkbook(const GatewayConfiguration& cfg, const std::string& templatePath,
                               const std::string& path) {
    std::string package;
    Message error;
    if (!readTemplateFile(templatePath, package, error)) {
        return {WorkbookResult::TemplateUnreadable,
                Message(str::WorkbookTemplateUnreadable, templatePath), error};
    }
    std::string filled;
    if (!fillWorkbookPackage(package, workbookCells(cfg), filled, error)) {
        return {WorkbookResult::TemplateBroken, Message(str::WorkbookTemplateBroken, templatePath),
                error};
    }
    if (!writeFileAtomically(path, filled, error)) {
        return {WorkbookResult::SaveFailed, Message(str::WorkbookSaveError, path), error};
    }
    return {};
}

} // namespace torvane
