#include "comm/tavo20_down.h"

#include "model/strings.h"
#include "model/text_number.h"

#include <algorithm>

namespace torvane {

namespace {

constexpr int kRecordsPerFrame = 7;
constexpr std::uint8_t kCompatibleAck[] = {0x02, 0x02, 0x01, 0x01, 0x06};

unsigned number(const std::string& text) {
    return static_cast<unsigned>(decimalValue(text));
}

void put16(std::uint8_t* p, unsigned v) {
    p[0] = static_cast<std::uint8_t>(v & 0xFF);
    p[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

void put32(std::uint8_t* p, unsigned v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, (v >> 16) & 0xFFFF);
}

std::uint8_t low(unsigned v) {
    return static_cast<std::uint8_t>(v & 0xFF);
}

void seal(Bytes& frame) {
    frame.back() = FrameChecksum(std::span(frame.data(), frame.size() - 1));
}

// Twelve zero-filled data frames with their framing; the records are written afterwards.
std::array<Bytes, 12> emptyDataFrames(std::size_t frameSize) {
    std::array<Bytes, 12> frames;
    for (std::size_t n = 0; n < frames.size(); ++n) {
        Bytes& f = frames[n];
        f.assign(frameSize, 0);
        f[0] = 0x02;
        f[1] = static_cast<std::uint8_t>(frameSize - 3);
        f[frameSize - 3] = 0x0D;
        f[frameSize - 2] = static_cast<std::uint8_t>(n + 2);
    }
    return frames;
}

// Start of record slot `s` (0..83); never called with a slot outside the twelve frames.
std::uint8_t* slotAt(std::array<Bytes, 12>& frames, int s, int recordSize) {
    const int offset = 2 + recordSize * (s % kRecordsPerFrame);
    return frames[static_cast<std::size_t>(s / kRecordsPerFrame)].data() + offset;
}

void sealAll(std::array<Bytes, 12>& frames) {
    for (Bytes& f : frames) {
        seal(f);
    }
}

// Used commands of one type in table order.
std::vector<const INSTRUCTION*> commandsOfType(const CONFIG& c, const char* type) {
    std::vector<const INSTRUCTION*> list;
    const int count = std::clamp(c.InstructionCount, 0, kInstructionTableSize);
    for (int i = 0; i < count; ++i) {
        if (c.Instructions[i].InstructionType == type) {
            list.push_back(&c.Instructions[i]);
        }
    }
    return list;
}

void compatibleRecord(std::uint8_t* r, const INSTRUCTION& cmd) {
    if (isPdoCommand(cmd.InstructionType)) {
        const unsigned cob = number(cmd.CobId);
        put16(r, cob & 0xFFFF);
        r[2] = low(cob >> 16);
    } else {
        put16(r, number(cmd.Index) & 0xFFFF);
        r[2] = low(number(cmd.SubIndex));
    }
    r[3] = low(number(cmd.NodeAddress));
    r[4] = low(number(cmd.Bytes));
    r[5] = low(number(cmd.MappingAddress));
}

void newRecord(std::uint8_t* r, const INSTRUCTION& cmd) {
    r[0] = low(number(cmd.Bytes));
    r[1] = low(number(cmd.NodeAddress));
    put32(r + 2, number(cmd.MappingAddress));
    if (isPdoCommand(cmd.InstructionType)) {
        put32(r + 6, number(cmd.CobId));
    } else {
        put16(r + 10, number(cmd.Index) & 0xFFFF);
        r[12] = low(number(cmd.SubIndex));
    }
}

} // namespace

Bytes newFormatAck(std::uint8_t sequence) {
    Bytes ack = {0x02, 0x02, 0x0D, sequence, 0};
    ack[4] = FrameChecksum(std::span(ack.data(), 4));
    return ack;
}

int CDownConfig::IdentifyAndValidate(int& format) {
    format = Identify();
    if (format == kFormatNone) {
        return kResultReadFailed;
    }
    if (format == kFormatCancelled) {
        return kResultDownloadCancel;
    }
    std::string text;
    return Validate(text);
}

// The gateway stores the configuration before it acknowledges the last frame, so the reply
// is read after a long wait instead of through Exchange.
int CDownConfig::SendLastFrame(const Bytes& frame, int waitMs) {
    if (WriteFrame(port(), clock(), frame) != kLinkOk) {
        return kResultWriteError;
    }
    clock().sleepMs(waitMs);
    std::uint8_t last[5] = {};
    if (ReadReply(port(), clock(), last, sizeof last) != kLinkOk) {
        return kResultReadFailed;
    }
    return kResultSuccess;
}

// ---- CTAVO20Down
// ---------------------------------------------------------------------------------

CTAVO20Down::~CTAVO20Down() = default;

int CTAVO20Down::Download() {
    int f = kFormatNone;
    const int r = IdentifyAndValidate(f);
    if (r != kResultSuccess) {
        return r;
    }
    return f == kFormatTavo20Compatible ? DownloadCompatible() : DownloadNew();
}

int CTAVO20Down::Validate(std::string& textOut) {
    if (CheckProfibusBytes() == 0 || CheckGatewayParameters() == 0 || CheckNodes() == 0 ||
        CheckCommands() == 0) {
        textOut = message_;
        return kResultFieldEmpty;
    }
    return kResultSuccess;
}

int CTAVO20Down::BuildCompatibleFrames(DownloadFrames& frames) const {
    const unsigned io = IoSizeCode(kFormatTavo20Compatible);
    if (io == 255 || io == kNoCode) {
        return kResultIoSizeRefused;
    }
    int upSdo = 0;
    int tpdo = 0;
    int downSdo = 0;
    int rpdo = 0;
    CountCommands(upSdo, tpdo, downSdo, rpdo);

    Bytes& h = frames.header;
    h.assign(18, 0);
    h[0] = 0x02;
    h[1] = 0x0F;
    h[2] = low(io);
    h[3] = low(NodeIdValue());
    put16(&h[4], CanBaudCode());
    h[6] = low(TpdoClearTimeByte());
    h[7] = low(SdoTimeoutByte());
    h[8] = low(EnableNmtCode());
    h[9] = low(DelayStartupValue());
    h[10] = low(SyncByte());
    h[11] = low(static_cast<unsigned>(upSdo));
    h[12] = low(static_cast<unsigned>(tpdo));
    h[13] = low(static_cast<unsigned>(downSdo));
    h[14] = low(static_cast<unsigned>(rpdo));
    h[15] = 0x0D;
    h[16] = 0x01;
    seal(h);

    if (upSdo > kCompatibleSdoLimit) {
        return kResultTooManyUploadSdo;
    }
    if (tpdo > kCompatiblePdoLimit) {
        return kResultTooManyTpdo;
    }
    if (downSdo > kCompatibleSdoLimit) {
        return kResultTooManyDownloadSdo;
    }
    if (rpdo > kCompatiblePdoLimit) {
        return kResultTooManyRpdo;
    }

    frames.data = emptyDataFrames(47);
    const CONFIG& c = config().Config;
    const std::pair<const char*, int> groups[] = {
        {kUploadSdo, 0}, {kTransmitPdo, 28}, {kDownloadSdo, 42}, {kReceivePdo, 70}};
    for (const auto& [type, first] : groups) {
        int s = first;
        for (const INSTRUCTION* cmd : commandsOfType(c, type)) {
            compatibleRecord(slotAt(frames.data, s++, 6), *cmd);
        }
    }
    sealAll(frames.data);
    return kResultSuccess;
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

    Bytes& h = frames.header;
    h.assign(38, 0);
    h[0] = 0x02;
    h[1] = 0x23;
    h[2] = low(IoSizeCode(kFormatTavo20New));
    h[3] = low(NodeIdValue());
    put16(&h[4], CanBaudCode());
    const CONFIG& c = config().Config;
    put16(&h[6], number(c.TPDOTimeout));
    put16(&h[8], number(c.SDOTimeout));
    put16(&h[11], number(c.DelayStart));
    put16(&h[13], number(c.SYNC));
    put16(&h[23], number(c.RPDOCycle));
    put16(&h[26], number(c.SDOCycle));
    h[10] = low(EnableNmtCode());
    for (int i = 0; i < 4; ++i) {
        h[15 + i] = low(static_cast<unsigned>(counts[i]));
    }
    h[19] = low(ControlMonitorCode());
    put16(&h[20], ErrorControlValue());
    h[22] = low(static_cast<unsigned>(counts[0] + counts[1] + counts[2] + counts[3]));
    h[25] = low(OutputProcessingCode());
    h[35] = 0x0D;
    h[36] = 0x01;
    seal(h);

    frames.data = emptyDataFrames(96);
    const char* order[] = {kUploadSdo, kTransmitPdo, kDownloadSdo, kReceivePdo};
    int s = 0;
    for (int g = 0; g < 4; ++g) {
        const auto list = commandsOfType(c, order[g]);
        for (int i = 0; i < counts[g]; ++i) {
            newRecord(slotAt(frames.data, s++, 13), *list[static_cast<std::size_t>(i)]);
        }
    }
    sealAll(frames.data);
    return frames;
}

Bytes CTAVO20Down::BuildSdoOptionsFrame() const {
    Bytes f(18, 0);
    f[0] = 0x07;
    f[1] = 0x0F;
    const CONFIG& c = config().Config;
    f[2] = c.SDOConcurrent == str::Enable ? 1 : 0;
    if (f[2] == 0) {
        unsigned retries = number(c.SDORetries);
        if (retries >= 1 && retries <= 5) {
            ++retries;
        }
        f[3] = low(retries);
        put16(&f[4], number(c.SDOPollDelay));
    }
    seal(f);
    return f;
}

int CTAVO20Down::DownloadCompatible() {
    notifyRange();
    DownloadFrames frames;
    const int built = BuildCompatibleFrames(frames);
    if (built != kResultSuccess) {
        return finish(built);
    }
    Bytes reply;
    if (Exchange(port(), clock(), frames.header, reply, kCompatibleAck) != kLinkOk) {
        return finish(kResultDownloadError);
    }
    notifyStep();
    clock().sleepMs(500);
    for (std::size_t n = 0; n < 11; ++n) {
        if (ExchangeWithDelay(port(), clock(), frames.data[n], reply, kCompatibleAck, 500) !=
            kLinkOk) {
            return finish(kResultDownloadError);
        }
        notifyStep();
    }
    if (const int r = SendLastFrame(frames.data[11], 2000); r != kResultSuccess) {
        return finish(r);
    }
    notifyStep();
    return finish(kResultSuccess);
}

int CTAVO20Down::DownloadNew() {
    int result = kResultSuccess;
    notifyRange();
    const DownloadFrames frames = BuildNewFrames();
    Bytes reply;
    if (Exchange(port(), clock(), frames.header, reply, newFormatAck(1)) != kLinkOk) {
        return finish(kResultDownloadError);
    }
    notifyStep();
    for (std::size_t n = 0; n < 11; ++n) {
        const Bytes ack = newFormatAck(static_cast<std::uint8_t>(n + 2));
        if (Exchange(port(), clock(), frames.data[n], reply, ack) != kLinkOk) {
            return finish(kResultDownloadError);
        }
        notifyStep();
    }
    if (const int r = SendLastFrame(frames.data[11], 3000); r != kResultSuccess) {
        return finish(r);
    }
    notifyStep();
    notifyFinished();

    if (sdoOptionsSupported()) {
        WriteFrame(port(), clock(), BuildSdoOptionsFrame());
        clock().sleepMs(100);
        std::uint8_t options[49] = {};
        std::size_t count = 0;
        ReadAvailable(port(), clock(), options, sizeof options, count);
        if (options[0] != 0x07) {
            result = kResultValidation;
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

int CTAVO20SDown::Download() {
    int f = kFormatNone;
    const int r = IdentifyAndValidate(f);
    if (r != kResultSuccess) {
        return r;
    }
    return SendConfiguration(f);
}

int CTAVO20SDown::Validate(std::string& textOut) {
    if (!recalculate_(config())) {
        textOut = str::ResultMappingOverflow;
        return kResultMappingOverflow;
    }
    return kResultSuccess;
}

unsigned CTAVO20SDown::IoSizeCode(int format) const {
    if (format != kFormatTavo20SCompatible && format != kFormatTavo20SNew) {
        return 0;
    }
    // The compatible slave format knows only the four fixed sizes.
    const IoSize* size = findIoSize(config().Fieldbus.InportNum);
    if (size != nullptr && size->fixed) {
        return size->newCode;
    }
    return format == kFormatTavo20SCompatible ? kNoWireCode : kHardwareIoSize.newCode;
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

int CTAVO20SDown::BuildFrames(int format, DownloadFrames& frames) const {
    const unsigned io = IoSizeCode(format);
    if (io == 255) {
        return kResultIoSizeRefused;
    }
    int upSdo = 0;
    int tpdo = 0;
    int downSdo = 0;
    int rpdo = 0;
    CountCommands(upSdo, tpdo, downSdo, rpdo);
    // Each direction has 42 slots; the header announces only what is carried.
    tpdo = std::min(tpdo, kSlavePdoLimit);
    rpdo = std::min(rpdo, kSlavePdoLimit);

    Bytes& h = frames.header;
    h.assign(13, 0);
    h[0] = 0x02;
    h[1] = 0x0A;
    h[2] = low(io);
    h[3] = low(NodeIdValue());
    put16(&h[4], CanBaudCode());
    h[6] = low(TpdoClearTimeValue());
    h[7] = low(DelayStartupValue());
    h[8] = low(static_cast<unsigned>(tpdo));
    h[9] = low(static_cast<unsigned>(rpdo));
    h[10] = 0x0D;
    h[11] = 0x01;
    seal(h);

    frames.data = emptyDataFrames(47);
    const CONFIG& c = config().Config;
    const std::tuple<const char*, int, int> groups[] = {{kTransmitPdo, 0, tpdo},
                                                        {kReceivePdo, 42, rpdo}};
    for (const auto& [type, first, count] : groups) {
        const auto list = commandsOfType(c, type);
        for (int i = 0; i < count; ++i) {
            const INSTRUCTION& cmd = *list[static_cast<std::size_t>(i)];
            std::uint8_t* r = slotAt(frames.data, first + i, 6);
            put32(r, number(cmd.CobId));
            r[4] = low(number(cmd.Bytes));
            r[5] = low(number(cmd.MappingAddress));
        }
    }
    sealAll(frames.data);
    return kResultSuccess;
}

int CTAVO20SDown::SendConfiguration(int format) {
    notifyRange();
    DownloadFrames frames;
    const int built = BuildFrames(format, frames);
    if (built != kResultSuccess) {
        return finish(built);
    }
    Bytes reply;
    if (ExchangeWithDelay(port(), clock(), frames.header, reply, kCompatibleAck, 500) != kLinkOk) {
        return finish(kResultWriteError);
    }
    notifyStep();
    for (const Bytes& frame : frames.data) {
        if (ExchangeWithDelay(port(), clock(), frame, reply, kCompatibleAck, 500) != kLinkOk) {
            return finish(kResultDownloadError);
        }
        notifyStep();
    }
    return finish(kResultSuccess);
}

} // namespace torvane
