#include "comm/tavo20_upload.h"

#include "comm/frame_layout.h"
#include "model/strings.h"
#include "model/text_number.h"

#include <algorithm>
#include <array>

namespace torvane {

namespace {

using namespace frame;

unsigned get16(const std::uint8_t* p) {
    return p[0] | (static_cast<unsigned>(p[1]) << 8);
}

unsigned get32(const std::uint8_t* p) {
    return get16(p) | (get16(p + 2) << 16);
}

std::string dec(unsigned v) {
    return decimalText(v);
}

// The twelve data frames of an upload, read one after another.
template <std::size_t FrameSize> struct DataFrames {
    std::array<std::uint8_t, FrameSize * kDataFrameCount> bytes{};

    std::uint8_t* frame(int n) { return bytes.data() + FrameSize * static_cast<std::size_t>(n); }
    const std::uint8_t* slot(int s, std::size_t recordSize) const {
        const auto index = static_cast<std::size_t>(s);
        return bytes.data() + FrameSize * slotFrame(index) + slotOffset(index, recordSize);
    }
};

Frame request(std::uint8_t op, std::uint8_t type, std::uint8_t sequence) {
    Frame r = {op, bodyLength(kRequestSize), type, sequence, 0};
    r.back() = FrameChecksum(std::span(r.data(), r.size() - 1));
    return r;
}

// True when the `received` bytes of `reply` are one whole frame of `size` bytes as a download
// sends it, with operation `op`: its length byte, frame type, sequence and checksum. A changed
// byte would otherwise be stored as a value, and a short reply decoded with zeros.
bool wholeFrame(const std::uint8_t* reply, std::size_t received, std::uint8_t op, std::size_t size,
                std::uint8_t sequence) {
    return received == size && reply[kOperation] == op && reply[kLength] == bodyLength(size) &&
           reply[typeAt(size)] == kTypeConfiguration && reply[sequenceAt(size)] == sequence &&
           reply[size - 1] == FrameChecksum(std::span(reply, size - 1));
}

// True when the SDO options reply is one whole frame: operation, the length its length byte
// gives, and the checksum. It carries no frame type or sequence.
bool wholeOptionsReply(const std::uint8_t* reply, std::size_t received) {
    if (received < kFraming || reply[kOperation] != kOpReadSdoOptions) {
        return false;
    }
    const std::size_t size = reply[kLength] + kFraming;
    return size <= received && reply[size - 1] == FrameChecksum(std::span(reply, size - 1));
}

// The data frame request of data frame `n` (0..11).
std::uint8_t dataSequence(int n) {
    return static_cast<std::uint8_t>(kFirstDataSequence + n);
}

} // namespace

// Record decoders of the four command groups, in the order the groups are sent.
using Decoder = void (CTAVO20Upload::*)(const std::uint8_t*, DownloadFormat);
constexpr Decoder kDecoders[4] = {&CTAVO20Upload::AddUploadSdo, &CTAVO20Upload::AddTpdo,
                                  &CTAVO20Upload::AddDownloadSdo, &CTAVO20Upload::AddRpdo};

// ---- CTAVO20Upload
// -------------------------------------------------------------------------------

CTAVO20Upload::~CTAVO20Upload() = default;

TransferResult CTAVO20Upload::ReceiveConfiguration(DownloadFormat format) {
    if (format == DownloadFormat::Tavo20Compatible) {
        return UploadCompatible();
    }
    if (format == DownloadFormat::Tavo20New) {
        return UploadNew();
    }
    return TransferResult::Success;
}

TransferResult CTAVO20Upload::UploadCompatible() {
    notifyRange();
    namespace hdr = compatible_header;
    if (WriteRequest(port(), clock(), request(kOpTavo20Upload, kTypeCompatible, kHeaderSequence)) !=
        LinkResult::Ok) {
        return finish(TransferResult::WriteError);
    }
    clock().sleepMs(500);
    std::uint8_t h[hdr::kSize] = {};
    std::size_t received = 0;
    if (ReadReply(port(), clock(), h, sizeof h, received) != LinkResult::Ok) {
        return finish(TransferResult::ReadFailed);
    }
    if (!wholeFrame(h, received, kOpTavo20Upload, hdr::kSize, kHeaderSequence)) {
        return finish(TransferResult::Validation);
    }
    ResetForUpload(config());
    notifyStep();
    const int counts[4] = {std::min<int>(h[hdr::kCounts], kCompatibleSdoLimit),
                           std::min<int>(h[hdr::kCounts + 1], kCompatiblePdoLimit),
                           std::min<int>(h[hdr::kCounts + 2], kCompatibleSdoLimit),
                           std::min<int>(h[hdr::kCounts + 3], kCompatiblePdoLimit)};
    SetIoSize(h[hdr::kIoSize], DownloadFormat::Tavo20Compatible);
    SetNodeId(h[hdr::kNodeId]);
    SetCanBaud(get16(&h[hdr::kCanBaud]));
    SetTpdoClearTime(h[hdr::kTpdoClearTime]);
    SetSdoTimeout(h[hdr::kSdoTimeout]);
    SetEnableNmt(h[hdr::kEnableNmt]);
    SetDelayStartup(h[hdr::kDelayStartup]);
    SetSync(h[hdr::kSync]);

    DataFrames<kSmallDataFrameSize> data;
    for (int n = 0; n < static_cast<int>(kDataFrameCount); ++n) {
        if (WriteRequest(port(), clock(),
                         request(kOpTavo20Upload, kTypeCompatible, dataSequence(n))) !=
            LinkResult::Ok) {
            return finish(TransferResult::WriteError);
        }
        clock().sleepMs(500);
        std::uint8_t* f = data.frame(n);
        if (ReadReply(port(), clock(), f, kSmallDataFrameSize, received) != LinkResult::Ok) {
            return finish(TransferResult::ReadFailed);
        }
        if (!wholeFrame(f, received, kOpTavo20Upload, kSmallDataFrameSize, dataSequence(n))) {
            return finish(TransferResult::Validation);
        }
        notifyStep();
    }
    framesComplete_ = true;
    const int firstSlots[4] = {kCompatibleUploadSdoSlot, kCompatibleTpdoSlot,
                               kCompatibleDownloadSdoSlot, kCompatibleRpdoSlot};
    for (int g = 0; g < 4; ++g) {
        for (int s = firstSlots[g]; s < firstSlots[g] + counts[g]; ++s) {
            (this->*kDecoders[g])(data.slot(s, compatible_record::kSize),
                                  DownloadFormat::Tavo20Compatible);
        }
    }
    return finish(TransferResult::Success);
}

TransferResult CTAVO20Upload::UploadNew() {
    ResetForUpload(config());
    notifyRange();
    namespace hdr = new_header;
    if (WriteRequest(port(), clock(),
                     request(kOpTavo20Upload, kTypeConfiguration, kHeaderSequence)) !=
        LinkResult::Ok) {
        return finish(TransferResult::WriteError);
    }
    std::uint8_t h[hdr::kSize] = {};
    std::size_t received = 0;
    if (ReadReply(port(), clock(), h, sizeof h, received) != LinkResult::Ok) {
        return finish(TransferResult::ReadFailed);
    }
    notifyStep();
    if (!wholeFrame(h, received, kOpTavo20Upload, hdr::kSize, kHeaderSequence)) {
        return finish(TransferResult::Validation);
    }
    SetIoSize(h[hdr::kIoSize], DownloadFormat::Tavo20New);
    SetNodeId(h[hdr::kNodeId]);
    SetCanBaud(get16(&h[hdr::kCanBaud]));
    SetTpdoClearTime(get16(&h[hdr::kTpdoClearTime]));
    SetSdoTimeout(get16(&h[hdr::kSdoTimeout]));
    SetEnableNmt(h[hdr::kEnableNmt]);
    SetDelayStartup(get16(&h[hdr::kDelayStartup]));
    SetSync(get16(&h[hdr::kSync]));
    SetControlMonitor(h[hdr::kControlStatus]);
    SetErrorControl(get16(&h[hdr::kErrorControl]));
    SetRpdoCycle(get16(&h[hdr::kRpdoCycle]));
    SetOutputProcessing(h[hdr::kOutputProcessing]);
    SetSdoCycle(get16(&h[hdr::kSdoCycle]));
    // Upload SDO, TPDO, Download SDO, RPDO counts.
    const int counts[4] = {h[hdr::kCounts], h[hdr::kCounts + 1], h[hdr::kCounts + 2],
                           h[hdr::kCounts + 3]};

    DataFrames<kLargeDataFrameSize> data;
    for (int n = 0; n < static_cast<int>(kDataFrameCount); ++n) {
        if (WriteRequest(port(), clock(),
                         request(kOpTavo20Upload, kTypeConfiguration, dataSequence(n))) !=
            LinkResult::Ok) {
            return finish(TransferResult::WriteError);
        }
        std::uint8_t* f = data.frame(n);
        if (ReadReply(port(), clock(), f, kLargeDataFrameSize, received) != LinkResult::Ok) {
            return finish(TransferResult::ReadFailed);
        }
        if (!wholeFrame(f, received, kOpTavo20Upload, kLargeDataFrameSize, dataSequence(n))) {
            return finish(TransferResult::Validation);
        }
        notifyStep();
    }
    framesComplete_ = true;
    int s = 0;
    for (int g = 0; g < 4; ++g) {
        for (int i = 0; i < counts[g] && s < kCommandCap; ++i, ++s) {
            (this->*kDecoders[g])(data.slot(s, new_record::kSize), DownloadFormat::Tavo20New);
        }
    }
    notifyFinished();

    if (sdoOptionsSupported()) {
        namespace opt = sdo_options;
        WriteRequest(port(), clock(), request(kOpReadSdoOptions, kTypeCompatible, kHeaderSequence));
        std::uint8_t o[opt::kReplyCapacity] = {};
        std::size_t count = 0;
        ReadAvailable(port(), clock(), o, sizeof o, count);
        if (!wholeOptionsReply(o, count)) {
            return TransferResult::Validation;
        }
        CONFIG& c = config().Config;
        c.SDOConcurrent = o[opt::kConcurrent] == 1 ? str::Enable : str::Disable;
        const unsigned stored = o[opt::kRetries];
        // The download sends 1..5 retries as 2..6.
        const unsigned retries = stored >= 2 && stored <= 6 ? stored - 1u : stored;
        c.SDORetries = dec(retries);
        c.SDOPollDelay = dec(get16(&o[opt::kPollDelay]));
    }
    return TransferResult::Success;
}

void CTAVO20Upload::addSdo(const std::uint8_t* r, DownloadFormat format, const char* type) {
    UploadedCommand cmd;
    cmd.InstructionType = type;
    if (format == DownloadFormat::Tavo20Compatible) {
        namespace rec = compatible_record;
        cmd.Index = dec(get16(r + rec::kKey));
        cmd.SubIndex = dec(r[rec::kKeyHigh]);
        cmd.NodeAddress = dec(r[rec::kNode]);
        cmd.Bytes = dec(r[rec::kBytes]);
        cmd.MappingAddress = dec(r[rec::kMapping]);
    } else {
        namespace rec = new_record;
        cmd.Bytes = dec(r[rec::kBytes]);
        cmd.NodeAddress = dec(r[rec::kNode]);
        cmd.MappingAddress = dec(get32(r + rec::kMapping));
        cmd.Index = dec(get16(r + rec::kIndex));
        cmd.SubIndex = dec(r[rec::kSubIndex]);
    }
    AddCommand(cmd);
}

void CTAVO20Upload::addPdo(const std::uint8_t* r, DownloadFormat format, const char* type) {
    UploadedCommand cmd;
    cmd.InstructionType = type;
    if (format == DownloadFormat::Tavo20Compatible) {
        namespace rec = compatible_record;
        cmd.CobId = dec(get16(r + rec::kKey) | (static_cast<unsigned>(r[rec::kKeyHigh]) << 16));
        cmd.NodeAddress = dec(r[rec::kNode]);
        cmd.Bytes = dec(r[rec::kBytes]);
        cmd.MappingAddress = dec(r[rec::kMapping]);
    } else {
        namespace rec = new_record;
        cmd.Bytes = dec(r[rec::kBytes]);
        cmd.NodeAddress = dec(r[rec::kNode]);
        cmd.MappingAddress = dec(get32(r + rec::kMapping));
        cmd.CobId = dec(get32(r + rec::kCobId));
    }
    AddCommand(cmd);
}

void CTAVO20Upload::AddUploadSdo(const std::uint8_t* record, DownloadFormat format) {
    addSdo(record, format, kUploadSdo);
}
void CTAVO20Upload::AddTpdo(const std::uint8_t* record, DownloadFormat format) {
    addPdo(record, format, kTransmitPdo);
}
void CTAVO20Upload::AddDownloadSdo(const std::uint8_t* record, DownloadFormat format) {
    addSdo(record, format, kDownloadSdo);
}
void CTAVO20Upload::AddRpdo(const std::uint8_t* record, DownloadFormat format) {
    addPdo(record, format, kReceivePdo);
}

void CTAVO20Upload::AddCommand(const UploadedCommand& fields) {
    CONFIG& c = config().Config;
    const std::span<const NodeEntry> nodes = usedNodes(c);
    const auto known = std::find_if(nodes.begin(), nodes.end(), [&](const NodeEntry& n) {
        return n.NodeAddress == fields.NodeAddress;
    });
    const int node = static_cast<int>(known - nodes.begin());
    if (known == nodes.end() &&
        !appendNode(c,
                    {fields.NodeAddress, std::string(str::NodeNamePrefix) + fields.NodeAddress})) {
        return;
    }
    INSTRUCTION cmd;
    cmd.Bytes = fields.Bytes;
    cmd.NodeAddress = fields.NodeAddress;
    cmd.MappingAddress = fields.MappingAddress;
    cmd.CobId = fields.CobId;
    cmd.InstructionType = fields.InstructionType;
    cmd.SubIndex = fields.SubIndex;
    cmd.Index = fields.Index;
    cmd.NodeIndex = node + 1;
    appendCommand(c, cmd);
}

// ---- CTAVO20SUpload
// ------------------------------------------------------------------------------

CTAVO20SUpload::~CTAVO20SUpload() = default;

TransferResult CTAVO20SUpload::ReceiveConfiguration(DownloadFormat format) {
    if (format == DownloadFormat::Tavo20SCompatible) {
        return UploadFormat5();
    }
    if (format == DownloadFormat::Tavo20SNew) {
        return UploadFormat6();
    }
    return TransferResult::Success;
}

TransferResult CTAVO20SUpload::UploadFormat5() {
    return ReadConfiguration(DownloadFormat::Tavo20SCompatible);
}

TransferResult CTAVO20SUpload::UploadFormat6() {
    ResetForUpload(config());
    return ReadConfiguration(DownloadFormat::Tavo20SNew);
}

TransferResult CTAVO20SUpload::ReadConfiguration(DownloadFormat format) {
    notifyRange();
    notifyStep();
    namespace hdr = slave_header;
    // Every frame of the slave layout is asked for with the same request.
    const Frame req = request(kOpTavo20SUpload, kTypeCompatible, kHeaderSequence);
    if (WriteRequest(port(), clock(), req) != LinkResult::Ok) {
        return finish(TransferResult::WriteError);
    }
    clock().sleepMs(500);
    std::uint8_t h[hdr::kSize] = {};
    std::size_t received = 0;
    if (ReadReply(port(), clock(), h, sizeof h, received) != LinkResult::Ok) {
        return finish(TransferResult::ReadFailed);
    }
    if (!wholeFrame(h, received, kOpTavo20SUpload, hdr::kSize, kHeaderSequence)) {
        return finish(TransferResult::Validation);
    }
    ResetForUpload(config());
    SetIoSize(h[hdr::kIoSize], format);
    SetNodeId(h[hdr::kNodeId]);
    SetCanBaud(get16(&h[hdr::kCanBaud]));
    SetSdoTimeoutByte(h[hdr::kClearTime]);
    SetDelayStartup(h[hdr::kDelayStartup]);
    const int tpdo = std::min<int>(h[hdr::kTpdoCount], kSlavePdoLimit);
    const int rpdo = std::min<int>(h[hdr::kRpdoCount], kSlavePdoLimit);

    DataFrames<kSmallDataFrameSize> data;
    for (int n = 0; n < static_cast<int>(kDataFrameCount); ++n) {
        if (WriteRequest(port(), clock(), req) != LinkResult::Ok) {
            return finish(TransferResult::WriteError);
        }
        std::uint8_t* f = data.frame(n);
        if (ReadReply(port(), clock(), f, kSmallDataFrameSize, received) != LinkResult::Ok) {
            return finish(TransferResult::ReadFailed);
        }
        notifyStep();
        if (!wholeFrame(f, received, kOpTavo20SUpload, kSmallDataFrameSize, dataSequence(n))) {
            return finish(TransferResult::Validation);
        }
    }
    framesComplete_ = true;
    for (int s = kSlaveTpdoSlot; s < kSlaveTpdoSlot + tpdo; ++s) {
        AddTpdo(data.slot(s, slave_record::kSize), format);
    }
    for (int s = kSlaveRpdoSlot; s < kSlaveRpdoSlot + rpdo; ++s) {
        AddRpdo(data.slot(s, slave_record::kSize), format);
    }
    return finish(TransferResult::Success);
}

void CTAVO20SUpload::SetIoSize(unsigned code, DownloadFormat format) {
    if (format != DownloadFormat::Tavo20SCompatible && format != DownloadFormat::Tavo20SNew) {
        return;
    }
    // The compatible slave format leaves the size alone for a code outside the four sizes.
    if (code < kFixedIoSizeCount || format == DownloadFormat::Tavo20SNew) {
        config().Fieldbus.InportNum = fixedIoSizeText(code);
    }
}

void CTAVO20SUpload::SetNodeId(unsigned value) {
    config().Config.SlaveNodeAddress = dec(value);
}

void CTAVO20SUpload::SetCanBaud(unsigned code) {
    const CanBaudRate* rate = canBaudRateOfCode(code);
    if (rate != nullptr) {
        config().Config.SlaveBaudRate = rate->text;
    }
}

// The slave header carries the RPDO clear time where the master's carries the SDO time-out;
// that is the gateway's layout, so the byte lands in RPDOTimeout.
void CTAVO20SUpload::SetSdoTimeoutByte(unsigned value8) {
    config().Config.RPDOTimeout = dec(value8 % 256);
}

void CTAVO20SUpload::SetDelayStartup(unsigned value) {
    config().Config.SlaveDelayStart = dec(value);
}

void CTAVO20SUpload::AddUploadSdo(const std::uint8_t* /*record*/, DownloadFormat /*format*/) {}
void CTAVO20SUpload::AddDownloadSdo(const std::uint8_t* /*record*/, DownloadFormat /*format*/) {}

void CTAVO20SUpload::AddTpdo(const std::uint8_t* record, DownloadFormat /*format*/) {
    addPdo(record, kTransmitPdo);
}
void CTAVO20SUpload::AddRpdo(const std::uint8_t* record, DownloadFormat /*format*/) {
    addPdo(record, kReceivePdo);
}

void CTAVO20SUpload::addPdo(const std::uint8_t* r, const char* type) {
    CONFIG& c = config().Config;
    INSTRUCTION cmd;
    cmd.InstructionType = type;
    namespace rec = slave_record;
    cmd.CobId = dec(get32(r + rec::kCobId));
    cmd.Bytes = dec(r[rec::kBytes]);
    cmd.MappingAddress = dec(r[rec::kMapping]);
    cmd.NodeIndex = usedCommandCount(c);
    appendCommand(c, cmd);
}

} // namespace torvane
