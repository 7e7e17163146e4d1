#include "comm/tavo20_down.h"

#include "comm/frame_layout.h"
#include "model/record_view.h"
#include "model/strings.h"

#include <algorithm>

namespace torvane {

namespace {

using namespace frame;

// A number as the gateway receives it: the bits of the value read, truncated by the field.
unsigned wire(const DecodedNumber& n) {
    return static_cast<unsigned>(n.number);
}

unsigned number(const std::string& text) {
    return wire(decodeNumber(text));
}

std::uint8_t low(unsigned v) {
    return static_cast<std::uint8_t>(v % 256);
}

// Little-endian, truncated to the field width.
void put16(std::uint8_t* p, unsigned v) {
    p[0] = low(v);
    p[1] = low(v >> 8);
}

void put32(std::uint8_t* p, unsigned v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

// A zero-filled frame of `size` bytes with its operation, length, frame type and sequence.
Frame emptyFrame(std::size_t size, std::uint8_t operation, std::uint8_t sequence) {
    Frame f(size, 0);
    f[kOperation] = operation;
    f[kLength] = bodyLength(size);
    f[typeAt(size)] = kTypeConfiguration;
    f[sequenceAt(size)] = sequence;
    return f;
}

void seal(Frame& frame) {
    frame.back() = FrameChecksum(std::span(frame.data(), frame.size() - 1));
}

// Twelve zero-filled data frames with their framing; the records are written afterwards.
std::array<Frame, kDataFrameCount> emptyDataFrames(std::size_t frameSize) {
    std::array<Frame, kDataFrameCount> frames;
    for (std::size_t n = 0; n < frames.size(); ++n) {
        frames[n] =
            emptyFrame(frameSize, kOpDownload, static_cast<std::uint8_t>(kFirstDataSequence + n));
    }
    return frames;
}

// Start of record slot `s` (0..83); never called with a slot outside the twelve frames.
std::uint8_t* slotAt(std::array<Frame, kDataFrameCount>& frames, int s, std::size_t recordSize) {
    const auto slot = static_cast<std::size_t>(s);
    return frames[slotFrame(slot)].data() + slotOffset(slot, recordSize);
}

void sealAll(std::array<Frame, kDataFrameCount>& frames) {
    for (Frame& f : frames) {
        seal(f);
    }
}

void compatibleRecord(std::uint8_t* r, const CommandView& cmd) {
    namespace rec = compatible_record;
    if (cmd.isPdo()) {
        const unsigned cob = wire(cmd.cobId);
        put16(r + rec::kKey, cob);
        r[rec::kKeyHigh] = low(cob >> 16);
    } else {
        put16(r + rec::kKey, wire(cmd.index));
        r[rec::kKeyHigh] = low(wire(cmd.subIndex));
    }
    r[rec::kNode] = low(wire(cmd.nodeAddress));
    r[rec::kBytes] = low(wire(cmd.bytes));
    r[rec::kMapping] = low(wire(cmd.mappingAddress));
}

void newRecord(std::uint8_t* r, const CommandView& cmd) {
    namespace rec = new_record;
    r[rec::kBytes] = low(wire(cmd.bytes));
    r[rec::kNode] = low(wire(cmd.nodeAddress));
    put32(r + rec::kMapping, wire(cmd.mappingAddress));
    if (cmd.isPdo()) {
        put32(r + rec::kCobId, wire(cmd.cobId));
    } else {
        put16(r + rec::kIndex, wire(cmd.index));
        r[rec::kSubIndex] = low(wire(cmd.subIndex));
    }
}

void slaveRecord(std::uint8_t* r, const CommandView& cmd) {
    namespace rec = slave_record;
    put32(r + rec::kCobId, wire(cmd.cobId));
    r[rec::kBytes] = low(wire(cmd.bytes));
    r[rec::kMapping] = low(wire(cmd.mappingAddress));
}

} // namespace

Frame newFormatAck(std::uint8_t sequence) {
    Frame ack = {kOpDownload, bodyLength(kAckSize), kTypeConfiguration, sequence, 0};
    seal(ack);
    return ack;
}

TransferResult CDownConfig::Download() {
    const DownloadFormat format = Identify();
    if (format == DownloadFormat::None) {
        return TransferResult::ReadFailed;
    }
    if (format == DownloadFormat::Cancelled) {
        return TransferResult::DownloadCancel;
    }
    Message text;
    if (const TransferResult r = Validate(text); r != TransferResult::Success) {
        return r;
    }
    return SendConfiguration(format);
}

// The gateway stores the configuration before it acknowledges the last frame, so the reply
// is read after a long wait instead of through Exchange.
TransferResult CDownConfig::SendLastFrame(const Frame& frame, int waitMs) {
    if (WriteFrame(port(), clock(), frame) != LinkResult::Ok) {
        return TransferResult::WriteError;
    }
    clock().sleepMs(waitMs);
    std::uint8_t last[kAckSize] = {};
    if (ReadReply(port(), clock(), last, sizeof last) != LinkResult::Ok) {
        return TransferResult::ReadFailed;
    }
    return TransferResult::Success;
}

// ---- CTAVO20Down
// ---------------------------------------------------------------------------------

CTAVO20Down::~CTAVO20Down() = default;

TransferResult CTAVO20Down::SendConfiguration(DownloadFormat format) {
    return format == DownloadFormat::Tavo20Compatible ? DownloadCompatible() : DownloadNew();
}

TransferResult CTAVO20Down::Validate(Message& textOut) {
    if (!CheckProfibusBytes() || !CheckGatewayParameters() || !CheckNodes() || !CheckCommands()) {
        textOut = message_;
        return TransferResult::FieldEmpty;
    }
    return TransferResult::Success;
}

TransferResult CTAVO20Down::BuildCompatibleFrames(DownloadFrames& frames) const {
    const unsigned io = IoSizeCode(DownloadFormat::Tavo20Compatible);
    if (io == 255 || io == kNoCode) {
        return TransferResult::IoSizeRefused;
    }
    int upSdo = 0;
    int tpdo = 0;
    int downSdo = 0;
    int rpdo = 0;
    CountCommands(upSdo, tpdo, downSdo, rpdo);

    namespace hdr = compatible_header;
    Frame& h = frames.header;
    h = emptyFrame(hdr::kSize, kOpDownload, kHeaderSequence);
    h[hdr::kIoSize] = low(io);
    h[hdr::kNodeId] = low(NodeIdValue());
    put16(&h[hdr::kCanBaud], CanBaudCode());
    h[hdr::kTpdoClearTime] = low(TpdoClearTimeByte());
    h[hdr::kSdoTimeout] = low(SdoTimeoutByte());
    h[hdr::kEnableNmt] = low(EnableNmtCode());
    h[hdr::kDelayStartup] = low(DelayStartupValue());
    h[hdr::kSync] = low(SyncByte());
    const int counts[] = {upSdo, tpdo, downSdo, rpdo};
    for (std::size_t i = 0; i < std::size(counts); ++i) {
        h[hdr::kCounts + i] = low(static_cast<unsigned>(counts[i]));
    }
    seal(h);

    if (upSdo > kCompatibleSdoLimit) {
        return TransferResult::TooManyUploadSdo;
    }
    if (tpdo > kCompatiblePdoLimit) {
        return TransferResult::TooManyTpdo;
    }
    if (downSdo > kCompatibleSdoLimit) {
        return TransferResult::TooManyDownloadSdo;
    }
    if (rpdo > kCompatiblePdoLimit) {
        return TransferResult::TooManyRpdo;
    }

    frames.data = emptyDataFrames(kSmallDataFrameSize);
    const RecordView view(config().Config);
    for (const auto& [kind, first] : kCompatibleSlotGroups) {
        int s = first;
        for (const CommandView* cmd : view.ofKind(kind)) {
            compatibleRecord(slotAt(frames.data, s++, compatible_record::kSize), *cmd);
        }
    }
    sealAll(frames.data);
    return TransferResult::Success;
}

DownloadFrames CTAVO20Down::BuildNewFrames() const {
    DownloadFrames frames;
    int counts[4] = {};
    CountCommands(counts[0], counts[1], counts[2], counts[3]);
    // The header announces only the records that fit the 84 slots.
    int room = kCommandCap;
    for (int& n : counts) {
        n = std::min(n, room);
        room -= n;
    }

    namespace hdr = new_header;
    Frame& h = frames.header;
    h = emptyFrame(hdr::kSize, kOpDownload, kHeaderSequence);
    h[hdr::kIoSize] = low(IoSizeCode(DownloadFormat::Tavo20New));
    h[hdr::kNodeId] = low(NodeIdValue());
    put16(&h[hdr::kCanBaud], CanBaudCode());
    const CONFIG& c = config().Config;
    put16(&h[hdr::kTpdoClearTime], number(c.TPDOTimeout));
    put16(&h[hdr::kSdoTimeout], number(c.SDOTimeout));
    put16(&h[hdr::kDelayStartup], number(c.DelayStart));
    put16(&h[hdr::kSync], number(c.SYNC));
    put16(&h[hdr::kRpdoCycle], number(c.RPDOCycle));
    put16(&h[hdr::kSdoCycle], number(c.SDOCycle));
    h[hdr::kEnableNmt] = low(EnableNmtCode());
    for (std::size_t i = 0; i < std::size(counts); ++i) {
        h[hdr::kCounts + i] = low(static_cast<unsigned>(counts[i]));
    }
    h[hdr::kControlStatus] = low(ControlMonitorCode());
    put16(&h[hdr::kErrorControl], ErrorControlValue());
    h[hdr::kTotalCount] = low(static_cast<unsigned>(counts[0] + counts[1] + counts[2] + counts[3]));
    h[hdr::kOutputProcessing] = low(OutputProcessingCode());
    seal(h);

    frames.data = emptyDataFrames(kLargeDataFrameSize);
    const RecordView view(c);
    const CommandKind order[] = {CommandKind::UploadSdo, CommandKind::TransmitPdo,
                                 CommandKind::DownloadSdo, CommandKind::ReceivePdo};
    int s = 0;
    for (int g = 0; g < 4; ++g) {
        // The header's counts: what fits the 84 slots.
        std::for_each_n(view.ofKind(order[g]).begin(), counts[g], [&](const CommandView* cmd) {
            newRecord(slotAt(frames.data, s++, new_record::kSize), *cmd);
        });
    }
    sealAll(frames.data);
    return frames;
}

Frame CTAVO20Down::BuildSdoOptionsFrame() const {
    namespace opt = sdo_options;
    Frame f(opt::kSize, 0);
    f[kOperation] = kOpSdoOptions;
    f[kLength] = bodyLength(opt::kSize);
    const CONFIG& c = config().Config;
    f[opt::kConcurrent] = c.SDOConcurrent == str::Enable ? 1 : 0;
    if (f[opt::kConcurrent] == 0) {
        unsigned retries = number(c.SDORetries);
        if (retries >= 1 && retries <= 5) {
            ++retries;
        }
        f[opt::kRetries] = low(retries);
        put16(&f[opt::kPollDelay], number(c.SDOPollDelay));
    }
    seal(f);
    return f;
}

TransferResult CTAVO20Down::DownloadCompatible() {
    notifyRange();
    DownloadFrames frames;
    const TransferResult built = BuildCompatibleFrames(frames);
    if (built != TransferResult::Success) {
        return finish(built);
    }
    Frame reply;
    if (Exchange(port(), clock(), frames.header, reply, kCompatibleAck) != LinkResult::Ok) {
        return finish(TransferResult::DownloadError);
    }
    notifyStep();
    clock().sleepMs(500);
    for (std::size_t n = 0; n + 1 < kDataFrameCount; ++n) {
        if (ExchangeWithDelay(port(), clock(), frames.data[n], reply, kCompatibleAck, 500) !=
            LinkResult::Ok) {
            return finish(TransferResult::DownloadError);
        }
        notifyStep();
    }
    if (const TransferResult r = SendLastFrame(frames.data.back(), 2000);
        r != TransferResult::Success) {
        return finish(r);
    }
    notifyStep();
    return finish(TransferResult::Success);
}

TransferResult CTAVO20Down::DownloadNew() {
    TransferResult result = TransferResult::Success;
    notifyRange();
    const DownloadFrames frames = BuildNewFrames();
    Frame reply;
    if (Exchange(port(), clock(), frames.header, reply, newFormatAck(kHeaderSequence)) !=
        LinkResult::Ok) {
        return finish(TransferResult::DownloadError);
    }
    notifyStep();
    for (std::size_t n = 0; n + 1 < kDataFrameCount; ++n) {
        const Frame ack = newFormatAck(static_cast<std::uint8_t>(kFirstDataSequence + n));
        if (Exchange(port(), clock(), frames.data[n], reply, ack) != LinkResult::Ok) {
            return finish(TransferResult::DownloadError);
        }
        notifyStep();
    }
    if (const TransferResult r = SendLastFrame(frames.data.back(), 3000);
        r != TransferResult::Success) {
        return finish(r);
    }
    notifyStep();
    notifyFinished();

    if (sdoOptionsSupported()) {
        WriteFrame(port(), clock(), BuildSdoOptionsFrame());
        clock().sleepMs(100);
        std::uint8_t options[sdo_options::kReplyCapacity] = {};
        std::size_t count = 0;
        ReadAvailable(port(), clock(), options, sizeof options, count);
        if (options[kOperation] != kOpSdoOptions) {
            result = TransferResult::Validation;
        }
    }
    return result;
}

// ---- CTAVO20SDown
// --------------------------------------------------------------------------------

CTAVO20SDown::CTAVO20SDown(std::unique_ptr<SerialPort> port, Clock& clock,
                           GatewayConfiguration& configuration, MappingRecalculation recalculate)
    : CDownConfig(std::move(port), clock, configuration), recalculate_(std::move(recalculate)) {}

CTAVO20SDown::~CTAVO20SDown() = default;

TransferResult CTAVO20SDown::Validate(Message& textOut) {
    if (!recalculate_(config())) {
        textOut = str::ResultMappingOverflow;
        return TransferResult::MappingOverflow;
    }
    return TransferResult::Success;
}

unsigned CTAVO20SDown::IoSizeCode(DownloadFormat format) const {
    if (format != DownloadFormat::Tavo20SCompatible && format != DownloadFormat::Tavo20SNew) {
        return 0;
    }
    // The compatible slave format knows only the four fixed sizes.
    const IoSize* size = findIoSize(config().Fieldbus.InportNum);
    if (size != nullptr && size->fixed) {
        return size->newCode;
    }
    return format == DownloadFormat::Tavo20SCompatible ? kNoWireCode : kHardwareIoSize.newCode;
}

unsigned CTAVO20SDown::CanBaudCode() const {
    return canBaudCode(config().Config.SlaveBaudRate);
}

unsigned CTAVO20SDown::NodeIdValue() const {
    return number(config().Config.SlaveNodeAddress);
}
unsigned CTAVO20SDown::DelayStartupValue() const {
    return number(config().Config.SlaveDelayStart);
}
unsigned CTAVO20SDown::TpdoClearTimeValue() const {
    return number(config().Config.RPDOTimeout);
}

TransferResult CTAVO20SDown::BuildFrames(DownloadFormat format, DownloadFrames& frames) const {
    const unsigned io = IoSizeCode(format);
    if (io == kNoWireCode) {
        return TransferResult::IoSizeRefused;
    }
    int upSdo = 0;
    int tpdo = 0;
    int downSdo = 0;
    int rpdo = 0;
    CountCommands(upSdo, tpdo, downSdo, rpdo);
    // Each direction has 42 slots; the header announces only what is carried.
    tpdo = std::min(tpdo, kSlavePdoLimit);
    rpdo = std::min(rpdo, kSlavePdoLimit);

    namespace hdr = slave_header;
    Frame& h = frames.header;
    h = emptyFrame(hdr::kSize, kOpDownload, kHeaderSequence);
    h[hdr::kIoSize] = low(io);
    h[hdr::kNodeId] = low(NodeIdValue());
    put16(&h[hdr::kCanBaud], CanBaudCode());
    h[hdr::kClearTime] = low(TpdoClearTimeValue());
    h[hdr::kDelayStartup] = low(DelayStartupValue());
    h[hdr::kTpdoCount] = low(static_cast<unsigned>(tpdo));
    h[hdr::kRpdoCount] = low(static_cast<unsigned>(rpdo));
    seal(h);

    frames.data = emptyDataFrames(kSmallDataFrameSize);
    const RecordView view(config().Config);
    const std::tuple<CommandKind, int, int> groups[] = {
        {CommandKind::TransmitPdo, kSlaveTpdoSlot, tpdo},
        {CommandKind::ReceivePdo, kSlaveRpdoSlot, rpdo}};
    for (const auto& [kind, first, count] : groups) {
        int s = first;
        std::for_each_n(view.ofKind(kind).begin(), count, [&](const CommandView* cmd) {
            slaveRecord(slotAt(frames.data, s++, slave_record::kSize), *cmd);
        });
    }
    sealAll(frames.data);
    return TransferResult::Success;
}

TransferResult CTAVO20SDown::SendConfiguration(DownloadFormat format) {
    notifyRange();
    DownloadFrames frames;
    const TransferResult built = BuildFrames(format, frames);
    if (built != TransferResult::Success) {
        return finish(built);
    }
    // The header's exchange taken apart: only a failed write is a write error, a missing or
    // wrong acknowledgement is a failed read.
    clock().sleepMs(500);
    if (WriteFrame(port(), clock(), frames.header) != LinkResult::Ok) {
        return finish(TransferResult::WriteError);
    }
    clock().sleepMs(500);
    std::uint8_t ack[kAckSize] = {};
    if (ReadReply(port(), clock(), ack, sizeof ack) != LinkResult::Ok ||
        CompareReply(ack, kCompatibleAck, kAckSize) != LinkResult::Ok) {
        return finish(TransferResult::ReadFailed);
    }
    notifyStep();
    Frame reply;
    for (const Frame& frame : frames.data) {
        if (ExchangeWithDelay(port(), clock(), frame, reply, kCompatibleAck, 500) !=
            LinkResult::Ok) {
            return finish(TransferResult::DownloadError);
        }
        notifyStep();
    }
    return finish(TransferResult::Success);
}

TransferResult buildDownloadFrames(const GatewayConfiguration& configuration, DownloadFormat format,
                                   DownloadFrames& frames, Frame* sdoOptions) {
    SteadyClock clock; // building frames never waits
    // The classes read the configuration only; the copy satisfies their non-const reference.
    GatewayConfiguration copy = configuration;
    if (configuration.isMaster()) {
        if (format != DownloadFormat::Tavo20Compatible && format != DownloadFormat::Tavo20New) {
            return TransferResult::Unsupported;
        }
        const CTAVO20Down down(nullptr, clock, copy);
        if (format == DownloadFormat::Tavo20Compatible) {
            return down.BuildCompatibleFrames(frames);
        }
        frames = down.BuildNewFrames();
        if (sdoOptions != nullptr) {
            *sdoOptions = down.BuildSdoOptionsFrame();
        }
        return TransferResult::Success;
    }
    if (format != DownloadFormat::Tavo20SCompatible && format != DownloadFormat::Tavo20SNew) {
        return TransferResult::Unsupported;
    }
    const CTAVO20SDown down(nullptr, clock, copy, [](GatewayConfiguration&) { return true; });
    return down.BuildFrames(format, frames);
}

} // namespace torvane
