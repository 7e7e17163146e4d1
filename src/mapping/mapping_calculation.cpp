#include "mapping/mapping_calculation.h"

#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_number.h"

#include <algorithm>

namespace torvane {

namespace {

// Gateways of editions below the new layout share one budget between both buffers.
constexpr int kOldEditionSharedBudget = 224;

// Places a command of `length` bytes at `cursor`; returns its address and advances the cursor.
long long place(PackingMode mode, long long& cursor, long long length) {
    if (mode == PackingMode::EvenAddress && length % 2 != 0) {
        ++length;
    }
    if (mode == PackingMode::Block32 && crossesBlock32(cursor, length)) {
        cursor = (cursor / kBlockSize + 1) * kBlockSize;
    }
    const long long address = cursor;
    cursor += length;
    return address;
}

} // namespace

int ioByteLimit(const std::string& inportNum) {
    const IoSize* size = findIoSize(inportNum);
    return (size != nullptr ? *size : kHardwareIoSize).byteLimit;
}

MappingResult calculateMapping(GatewayConfiguration& cfg) {
    CONFIG& c = cfg.Config;
    const PackingMode mode = packingOf(cfg.Fieldbus.InportNum);
    const int reserve = c.ControlStatus == str::Enable ? 2 : 0;
    // Placing reads the types and byte counts only; the addresses it writes are not read back.
    const RecordView view(c);

    const IoSize* size = findIoSize(cfg.Fieldbus.InportNum);
    // Whether buffers ending at `in` and `out` (before the reserve) fit.
    auto fitsAt = [&](long long in, long long out) {
        const long long inTotal = in + reserve;
        const long long outTotal = out + reserve;
        if (size != nullptr && size->fixed) {
            return inTotal <= size->byteLimit && outTotal <= size->byteLimit;
        }
        if (c.ConfigEdition >= kEditionNewLayout) {
            const int limit = kHardwareIoSize.byteLimit;
            return inTotal <= limit && outTotal <= limit;
        }
        return inTotal + outTotal <= kOldEditionSharedBudget;
    };
    MappingResult r;
    long long in = 0;
    long long out = 0;
    auto placeAll = [&](bool sdoPass) {
        for (const CommandView& cmd : view.commands()) {
            // A code outside "1".."4" is placed in both passes, in the output buffer.
            if (cmd.kind && cmd.isPdo() == sdoPass) {
                continue;
            }
            // A negative count cannot move the cursor back over earlier commands.
            const long long length = cmd.bytes.atLeastZero();
            storedCommand(c, cmd).MappingAddress =
                decimalText(place(mode, cmd.isInput() ? in : out, length));
            if (r.firstOverflowCommand < 0 && !fitsAt(in, out)) {
                r.firstOverflowCommand = cmd.position;
            }
        }
    };
    placeAll(true);
    placeAll(false);

    r.inputTotal = static_cast<int>(std::min<long long>(in + reserve, INT32_MAX));
    r.outputTotal = static_cast<int>(std::min<long long>(out + reserve, INT32_MAX));
    r.fits = fitsAt(in, out);
    return r;
}

MappingCommandResult runCalculateMappingCommand(GatewayConfiguration& cfg) {
    CONFIG& c = cfg.Config;
    c.InstructionCount = std::min(c.InstructionCount, kCommandCap);

    MappingCommandResult r;
    const RecordView view(c);
    for (const CommandView& cmd : view.commands()) {
        if (!cmd.bytes.entered()) {
            r.outcome = MappingOutcome::Refused;
            r.message = str::MappingMissingBytes;
            r.refusedCommand = cmd.position;
            return r;
        }
    }
    r.totals = calculateMapping(cfg);
    r.outcome = r.totals.fits ? MappingOutcome::Fits : MappingOutcome::Overflow;
    r.message = r.totals.fits ? str::MappingSuccessful : str::MappingOverflow;
    return r;
}

} // namespace torvane
