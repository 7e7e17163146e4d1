#include "mapping/usage_tables.h"

#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_number.h"

#include <algorithm>

namespace torvane {

namespace {

bool isKnownType(int type) {
    return type >= 1 && type <= 4;
}

const char* listLabelOf(int type) {
    switch (type) {
    case 1:
        return commandType(CommandKind::UploadSdo).label;
    case 2:
        return commandType(CommandKind::DownloadSdo).label;
    case 3:
        return str::ConflictListTpdo;
    default:
        return str::ConflictListRpdo;
    }
}

} // namespace

Rgb rgbOf(CellColour colour) {
    switch (colour) {
    case CellColour::InputOnce:
        return {0, 255, 0};
    case CellColour::OutputOnce:
        return {0, 0, 255};
    case CellColour::Conflict:
        return {255, 0, 0};
    case CellColour::Default:
        break;
    }
    return {0, 0, 0};
}

int usageCellOfOffset(int offset) {
    if (offset < 0 || offset > kUsageLastOffset) {
        return -1;
    }
    return kUsageCellsPerRow * (offset / kUsageBytesPerRow) + offset % kUsageBytesPerRow;
}

int usageRowOfCell(int cell) {
    return cell / kUsageCellsPerRow;
}

int usageColumnOfCell(int cell) {
    return cell % kUsageCellsPerRow + 1;
}

std::string usageRowLabel(int row) {
    const int r = std::clamp(row, 0, 999);
    std::string label = decimalText(r);
    return std::string(3 - label.size(), '0') + label + "0";
}

ByteUsageTables::ByteUsageTables(const GatewayConfiguration& cfg) {
    const RecordView view(cfg.Config);
    commands_.reserve(view.commands().size());
    for (const CommandView& cmd : view.commands()) {
        UsageCommand u;
        u.type = cmd.code.number;
        u.start = cmd.mappingAddress.number;
        u.bytes = cmd.bytes.number;
        u.hasAddress = cmd.mappingAddress.entered();
        commands_.push_back(u);
        if (isKnownType(u.type)) {
            list_.push_back({cmd.position, listLabelOf(u.type)});
        }
    }
    refill();
}

void ByteUsageTables::refill() {
    input_.fill(0);
    output_.fill(0);
    for (const UsageCommand& c : commands_) {
        if (c.type > 0) {
            add(c, 1);
        }
    }
}

void ByteUsageTables::add(const UsageCommand& c, int delta) {
    const int type = c.type < 0 ? -c.type : c.type;
    if (!isKnownType(type) || !c.hasAddress || c.bytes < 1) {
        return;
    }
    auto& table = (type == 1 || type == 3) ? input_ : output_;
    // Only offsets 0..249 have cells; clip the range instead of walking a huge byte count.
    const long long first = std::max<long long>(c.start, 0);
    const long long last =
        std::min<long long>(static_cast<long long>(c.start) + c.bytes - 1, kUsageLastOffset);
    for (long long a = first; a <= last; ++a) {
        table[static_cast<std::size_t>(usageCellOfOffset(static_cast<int>(a)))] += delta;
    }
}

bool ByteUsageTables::setIncluded(int command, bool included) {
    if (command < 0 || command >= static_cast<int>(commands_.size())) {
        return false;
    }
    UsageCommand& c = commands_[static_cast<std::size_t>(command)];
    if ((c.type > 0) == included || c.type == 0) {
        return true;
    }
    c.type = -c.type;
    add(c, included ? 1 : -1);
    return true;
}

bool ByteUsageTables::isIncluded(int command) const {
    return command >= 0 && command < static_cast<int>(commands_.size()) &&
           commands_[static_cast<std::size_t>(command)].type > 0;
}

int ByteUsageTables::count(BufferSide side, int cell) const {
    if (cell < 0 || cell >= kUsageCellCount) {
        return 0;
    }
    const auto& table = side == BufferSide::Input ? input_ : output_;
    return table[static_cast<std::size_t>(cell)];
}

CellColour ByteUsageTables::colour(BufferSide side, int cell) const {
    const int n = count(side, cell);
    if (n >= 2) {
        return CellColour::Conflict;
    }
    if (n == 1) {
        return side == BufferSide::Input ? CellColour::InputOnce : CellColour::OutputOnce;
    }
    return CellColour::Default;
}

} // namespace torvane
