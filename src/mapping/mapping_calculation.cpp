#include "mapping/mapping_calculation.h"

#include "model/strings.h"
#include "model/text_number.h"

#include <algorithm>

namespace torvane {

namespace {

constexpr int kMenuCommandCap = 84;
constexpr int kHardwareLimit = 244;
// Gateways of editions below 320 share one budget between both buffers.
constexpr int kOldEditionSharedBudget = 224;
constexpr int kNewLayoutEdition = 320;

int usedCommandCount(const CONFIG& c) {
    return std::clamp(c.InstructionCount, 0, kInstructionTableSize);
}

bool isFixedSize(const std::string& inportNum) {
    return inportNum == "16" || inportNum == "48" || inportNum == "96" || inportNum == "112";
}

// Places a command of `length` bytes at `cursor`; returns its address and advances the cursor.
long long place(PackingMode mode, long long& cursor, long long length) {
    if (mode == PackingMode::EvenAddress && length % 2 != 0) {
        ++length;
    }
    if (mode == PackingMode::Block32 && (cursor % 32) + length > 32) {
        cursor = (cursor / 32 + 1) * 32;
    }
    const long long address = cursor;
    cursor += length;
    return address;
}

bool isMissingByteCount(const std::string& bytes) {
    return bytes.empty() || bytes == "-1";
}

} // namespace

PackingMode packingModeFor(const std::string& inportNum) {
    if (inportNum == "96") {
        return PackingMode::Block32;
    }
    if (inportNum == "112") {
        return PackingMode::EvenAddress;
    }
    return PackingMode::Dense;
}

int ioByteLimit(const std::string& inportNum) {
    return isFixedSize(inportNum) ? decimalValue(inportNum) : kHardwareLimit;
}

MappingResult calculateMapping(GatewayConfiguration& cfg) {
    CONFIG& c = cfg.Config;
    const PackingMode mode = packingModeFor(cfg.Fieldbus.InportNum);
    const int reserve = c.ControlStatus == str::Enable ? 2 : 0;
    const int count = usedCommandCount(c);

    long long in = 0;
    long long out = 0;
    auto placeAll = [&](bool sdoPass) {
        for (int i = 0; i < count; ++i) {
            INSTRUCTION& ins = c.Instructions[i];
            const std::string& t = ins.InstructionType;
            // Every type that is not a PDO goes with the SDOs, every type that is not an SDO
            // with the PDOs; the buffer is the input one only for "1" and "3".
            const bool take = sdoPass ? (t != kTransmitPdo && t != kReceivePdo)
                                      : (t != kUploadSdo && t != kDownloadSdo);
            if (!take) {
                continue;
            }
            const bool input = t == (sdoPass ? kUploadSdo : kTransmitPdo);
            // A negative count cannot move the cursor back over earlier commands.
            const long long length = std::max<std::int32_t>(decimalValue(ins.Bytes), 0);
            ins.MappingAddress = decimalText(place(mode, input ? in : out, length));
        }
    };
    placeAll(true);
    placeAll(false);

    MappingResult r;
    const long long inTotal = in + reserve;
    const long long outTotal = out + reserve;
    r.inputTotal = static_cast<int>(std::min<long long>(inTotal, INT32_MAX));
    r.outputTotal = static_cast<int>(std::min<long long>(outTotal, INT32_MAX));
    const std::string& size = cfg.Fieldbus.InportNum;
    if (isFixedSize(size)) {
        const int limit = decimalValue(size);
        r.fits = inTotal <= limit && outTotal <= limit;
    } else if (c.ConfigEdition >= kNewLayoutEdition) {
        r.fits = inTotal <= kHardwareLimit && outTotal <= kHardwareLimit;
    } else {
        r.fits = inTotal + outTotal <= kOldEditionSharedBudget;
    }
    return r;
}

MappingCommandResult runCalculateMappingCommand(GatewayConfiguration& cfg) {
    CONFIG& c = cfg.Config;
    c.InstructionCount = std::min(c.InstructionCount, kMenuCommandCap);

    MappingCommandResult r;
    const int count = usedCommandCount(c);
    for (int i = 0; i < count; ++i) {
        if (isMissingByteCount(c.Instructions[i].Bytes)) {
            r.outcome = MappingOutcome::Refused;
            r.message = str::MappingMissingBytes;
            r.refusedCommand = i;
            return r;
        }
    }
    r.totals = calculateMapping(cfg);
    r.outcome = r.totals.fits ? MappingOutcome::Fits : MappingOutcome::Overflow;
    r.message = r.totals.fits ? str::MappingSuccessful : str::MappingOverflow;
    return r;
}

} // namespace torvane
