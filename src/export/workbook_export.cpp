#include "export/workbook_export.h"

#include "model/atomic_file.h"
#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_codec.h"

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

// "24641 (6041H)": a number and its hexadecimal form.
std::string withHex(std::int32_t v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%d (%xH)", static_cast<int>(v), static_cast<unsigned>(v));
    return buf;
}

void writeSdoRow(SheetFiller& s, const CommandView& cmd) {
    const INSTRUCTION& ins = *cmd.record;
    const int row = s.nextRow();
    s.set(row, 1, ins.NodeAddress);
    s.set(row, 2, withHex(cmd.index.number));
    s.set(row, 3, withHex(cmd.subIndex.number));
    s.set(row, 4, ins.Bytes);
    s.set(row, 5, ins.MappingAddress);
    s.set(row, 6, ins.Description);
}

void writePdoRow(SheetFiller& s, const CommandView& cmd, const std::string& nodeAddress) {
    const INSTRUCTION& ins = *cmd.record;
    const int row = s.nextRow();
    s.set(row, 1, nodeAddress);
    s.set(row, 2, withHex(cmd.cobId.number));
    s.set(row, 3, ins.Bytes);
    s.set(row, 4, ins.MappingAddress);
    s.set(row, 5, ins.Description);
}

} // namespace

const char* workbookTemplateName(int configType) {
    return configType == kCanopenMaster ? kTemplateMasterFile : kTemplateSlaveFile;
}

std::string valueAndHex(std::string_view text) {
    return withHex(decodeNumber(text).number);
}

std::vector<SheetCells> workbookCells(const GatewayConfiguration& cfg) {
    const CONFIG& c = cfg.Config;
    const RecordView view(c);
    const auto countOf = [&](CommandKind kind) { return std::to_string(view.ofKind(kind).size()); };
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
    for (const CommandView& cmd : view.commands()) {
        const std::string& node = master ? cmd.record->NodeAddress : c.SlaveNodeAddress;
        if (master && cmd.kind == CommandKind::UploadSdo) {
            writeSdoRow(upload, cmd);
        } else if (master && cmd.kind == CommandKind::DownloadSdo) {
            writeSdoRow(download, cmd);
        } else if (cmd.kind == CommandKind::TransmitPdo) {
            writePdoRow(tpdo, cmd, node);
        } else if (cmd.kind == CommandKind::ReceivePdo) {
            writePdoRow(rpdo, cmd, node);
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
