#include "comm/tavo20_upload.h"

#include "model/strings.h"
#include "model/text_number.h"

#include <algorithm>
#include <array>

namespace torvane {

namespace {

constexpr int kRecordsPerFrame = 7;

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
    std::array<std::uint8_t, FrameSize * 12> bytes{};

    std::uint8_t* frame(int n) { return bytes.data() + FrameSize * static_cast<std::size_t>(n); }
    const std::uint8_t* slot(int s, int recordSize) const {
        return bytes.data() + FrameSize * static_cast<std::size_t>(s / kRecordsPerFrame) + 2 +
               recordSize * (s % kRecordsPerFrame);
    }
};

Bytes request(std::uint8_t op, std::uint8_t kind, std::uint8_t n) {
    Bytes r = {op, 0x02, kind, n, 0};
    r[4] = FrameChecksum(std::span(r.data(), 4));
    return r;
}

} // namespace

// ---- CTAVO20Upload
// -------------------------------------------------------------------------------

CTAVO20Upload::~CTAVO20Upload() = default;

int CTAVO20Upload::Upload() {
    return runOnCopy([this] {
        const int f = Identify();
        if (f == kFormatNone) {
            return kResultReadFailed;
        }
        if (f == kFormatTavo20Compatible) {
            return UploadCompatible();
        }
        if (f == kFormatTavo20New) {
            return UploadNew();
        }
        return kResultSuccess;
    });
}

int CTAVO20Upload::UploadCompatible() {
    notifyRange();
    if (WriteFrame(port(), clock(), request(0x01, 0x01, 0x01)) != kLinkOk) {
        return finish(kResultWriteError);
    }
    clock().sleepMs(500);
    std::uint8_t h[18] = {};
    if (ReadReply(port(), clock(), h, sizeof h) != kLinkOk) {
        return finish(kResultReadFailed);
    }
    if (h[0] != 0x01 || h[1] != 0x0F) {
        return finish(kResultValidation);
    }
    ResetForUpload(config());
    notifyStep();
    const int counts[4] = {
        std::min<int>(h[11], kCompatibleSdoLimit), std::min<int>(h[12], kCompatiblePdoLimit),
        std::min<int>(h[13], kCompatibleSdoLimit), std::min<int>(h[14], kCompatiblePdoLimit)};
    SetIoSize(h[2], kFormatTavo20Compatible);
    SetNodeId(h[3]);
    SetCanBaud(get16(&h[4]));
    SetTpdoClearTime(h[6]);
    SetSdoTimeout(h[7]);
    SetEnableNmt(h[8]);
    SetDelayStartup(h[9]);
    SetSync(h[10]);

    DataFrames<47> data;
    for (int n = 0; n < 12; ++n) {
        if (WriteFrame(port(), clock(), request(0x01, 0x01, static_cast<std::uint8_t>(n + 2))) !=
            kLinkOk) {
            return finish(kResultWriteError);
        }
        clock().sleepMs(500);
        std::uint8_t* f = data.frame(n);
        if (ReadReply(port(), clock(), f, 47) != kLinkOk) {
            return finish(kResultReadFailed);
        }
        if (f[0] != 0x01 || f[1] != 0x2C) {
            return finish(kResultValidation);
        }
        notifyStep();
    }
    framesComplete_ = true;
    for (int s = 0; s < counts[0]; ++s) {
        AddUploadSdo(data.slot(s, 6), kFormatTavo20Compatible);
    }
    for (int s = 28; s < 28 + counts[1]; ++s) {
        AddTpdo(data.slot(s, 6), kFormatTavo20Compatible);
    }
    for (int s = 42; s < 42 + counts[2]; ++s) {
        AddDownloadSdo(data.slot(s, 6), kFormatTavo20Compatible);
    }
    for (int s = 70; s < 70 + counts[3]; ++s) {
        AddRpdo(data.slot(s, 6), kFormatTavo20Compatible);
    }
    return finish(kResultSuccess);
}

int CTAVO20Upload::UploadNew() {
    ResetForUpload(config());
    notifyRange();
    if (WriteFrame(port(), clock(), request(0x01, 0x0D, 0x01)) != kLinkOk) {
        return finish(kResultWriteError);
    }
    std::uint8_t h[38] = {};
    if (ReadReply(port(), clock(), h, sizeof h) != kLinkOk) {
        return finish(kResultReadFailed);
    }
    notifyStep();
    if (h[0] != 0x01 || h[1] != 0x23) {
        return finish(kResultValidation);
    }
    SetIoSize(h[2], kFormatTavo20New);
    SetNodeId(h[3]);
    SetCanBaud(get16(&h[4]));
    SetTpdoClearTime(get16(&h[6]));
    SetSdoTimeout(get16(&h[8]));
    SetEnableNmt(h[10]);
    SetDelayStartup(get16(&h[11]));
    SetSync(get16(&h[13]));
    SetControlMonitor(h[19]);
    SetErrorControl(get16(&h[20]));
    SetRpdoCycle(get16(&h[23]));
    SetOutputProcessing(h[25]);
    SetSdoCycle(get16(&h[26]));
    // Upload SDO, TPDO, Download SDO, RPDO counts.
    const int counts[4] = {h[15], h[16], h[17], h[18]};

    DataFrames<96> data;
    for (int n = 0; n < 12; ++n) {
        if (WriteFrame(port(), clock(), request(0x01, 0x0D, static_cast<std::uint8_t>(n + 2))) !=
            kLinkOk) {
            return finish(kResultWriteError);
        }
        std::uint8_t* f = data.frame(n);
        if (ReadReply(port(), clock(), f, 96) != kLinkOk) {
            return finish(kResultReadFailed);
        }
        if (f[0] != 0x01 || f[1] != 0x5D) {
            return finish(kResultValidation);
        }
        notifyStep();
    }
    framesComplete_ = true;
    using Decoder = void (CTAVO20Upload::*)(const std::uint8_t*, int);
    const Decoder decoders[4] = {&CTAVO20Upload::AddUploadSdo, &CTAVO20Upload::AddTpdo,
                                 &CTAVO20Upload::AddDownloadSdo, &CTAVO20Upload::AddRpdo};
    int s = 0;
    for (int g = 0; g < 4; ++g) {
        for (int i = 0; i < counts[g] && s < kCommandCap; ++i, ++s) {
            (this->*decoders[g])(data.slot(s, 13), kFormatTavo20New);
        }
    }
    notifyFinished();

    if (sdoOptionsSupported()) {
        WriteFrame(port(), clock(), request(0x06, 0x01, 0x01));
        std::uint8_t o[49] = {};
        std::size_t count = 0;
        ReadAvailable(port(), clock(), o, sizeof o, count);
        if (o[0] != 0x06) {
            return kResultValidation;
        }
        CONFIG& c = config().Config;
        c.SDOConcurrent = o[2] == 1 ? str::Enable : str::Disable;
        const unsigned retries = o[3] >= 2 && o[3] <= 6 ? o[3] - 1u : o[3];
        c.SDORetries = dec(retries);
        c.SDOPollDelay = dec(get16(&o[4]));
    }
    return kResultSuccess;
}

void CTAVO20Upload::addSdo(const std::uint8_t* r, int format, const char* type) {
    UploadedCommand cmd;
    cmd.InstructionType = type;
    if (format == kFormatTavo20Compatible) {
        cmd.Index = dec(get16(r));
        cmd.SubIndex = dec(r[2]);
        cmd.NodeAddress = dec(r[3]);
        cmd.Bytes = dec(r[4]);
        cmd.MappingAddress = dec(r[5]);
    } else {
        cmd.Bytes = dec(r[0]);
        cmd.NodeAddress = dec(r[1]);
        cmd.MappingAddress = dec(get32(r + 2));
        cmd.Index = dec(get16(r + 10));
        cmd.SubIndex = dec(r[12]);
    }
    AddCommand(cmd);
}

void CTAVO20Upload::addPdo(const std::uint8_t* r, int format, const char* type) {
    UploadedCommand cmd;
    cmd.InstructionType = type;
    if (format == kFormatTavo20Compatible) {
        cmd.CobId = dec(get16(r) | (static_cast<unsigned>(r[2]) << 16));
        cmd.NodeAddress = dec(r[3]);
        cmd.Bytes = dec(r[4]);
        cmd.MappingAddress = dec(r[5]);
    } else {
        cmd.Bytes = dec(r[0]);
        cmd.NodeAddress = dec(r[1]);
        cmd.MappingAddress = dec(get32(r + 2));
        cmd.CobId = dec(get32(r + 6));
    }
    AddCommand(cmd);
}

void CTAVO20Upload::AddUploadSdo(const std::uint8_t* record, int format) {
    addSdo(record, format, kUploadSdo);
}
void CTAVO20Upload::AddTpdo(const std::uint8_t* record, int format) {
    addPdo(record, format, kTransmitPdo);
}
void CTAVO20Upload::AddDownloadSdo(const std::uint8_t* record, int format) {
    addSdo(record, format, kDownloadSdo);
}
void CTAVO20Upload::AddRpdo(const std::uint8_t* record, int format) {
    addPdo(record, format, kReceivePdo);
}

void CTAVO20Upload::AddCommand(const UploadedCommand& fields) {
    CONFIG& c = config().Config;
    c.NodeCount = std::clamp(c.NodeCount, 0, kNodeTableSize);
    c.InstructionCount = std::clamp(c.InstructionCount, 0, kInstructionTableSize);
    int node = 0;
    while (node < c.NodeCount && c.Nodes[node].NodeAddress != fields.NodeAddress) {
        ++node;
    }
    if (node == c.NodeCount) {
        if (c.NodeCount == kNodeTableSize) {
            return;
        }
        c.Nodes[node].NodeAddress = fields.NodeAddress;
        c.Nodes[node].NodeName = std::string(str::NodeNamePrefix) + fields.NodeAddress;
        ++c.NodeCount;
    }
    if (c.InstructionCount == kInstructionTableSize) {
        return;
    }
    INSTRUCTION& cmd = c.Instructions[c.InstructionCount++];
    cmd = INSTRUCTION{};
    cmd.Bytes = fields.Bytes;
    cmd.NodeAddress = fields.NodeAddress;
    cmd.MappingAddress = fields.MappingAddress;
    cmd.CobId = fields.CobId;
    cmd.InstructionType = fields.InstructionType;
    cmd.SubIndex = fields.SubIndex;
    cmd.Index = fields.Index;
    cmd.NodeIndex = node + 1;
}

// ---- CTAVO20SUpload
// ------------------------------------------------------------------------------

CTAVO20SUpload::~CTAVO20SUpload() = default;

int CTAVO20SUpload::Upload() {
    return runOnCopy([this] {
        const int f = Identify();
        if (f == kFormatNone) {
            return kResultReadFailed;
        }
        if (f == kFormatTavo20SCompatible) {
            return UploadFormat5();
        }
        if (f == kFormatTavo20SNew) {
            return UploadFormat6();
        }
        return kResultSuccess;
    });
}

int CTAVO20SUpload::UploadFormat5() {
    return ReadConfiguration(kFormatTavo20SCompatible);
}

int CTAVO20SUpload::UploadFormat6() {
    ResetForUpload(config());
    return ReadConfiguration(kFormatTavo20SNew);
}

int CTAVO20SUpload::ReadConfiguration(int format) {
    notifyRange();
    notifyStep();
    const Bytes req = request(0x03, 0x01, 0x01);
    if (WriteFrame(port(), clock(), req) != kLinkOk) {
        return finish(kResultWriteError);
    }
    clock().sleepMs(500);
    std::uint8_t h[13] = {};
    if (ReadReply(port(), clock(), h, sizeof h) != kLinkOk) {
        return finish(kResultReadFailed);
    }
    ResetForUpload(config());
    SetIoSize(h[2], format);
    SetNodeId(h[3]);
    SetCanBaud(get16(&h[4]));
    SetSdoTimeoutByte(h[6]);
    SetDelayStartup(h[7]);
    const int tpdo = std::min<int>(h[8], kSlavePdoLimit);
    const int rpdo = std::min<int>(h[9], kSlavePdoLimit);

    DataFrames<47> data;
    for (int n = 0; n < 12; ++n) {
        if (WriteFrame(port(), clock(), req) != kLinkOk) {
            return finish(kResultWriteError);
        }
        std::uint8_t* f = data.frame(n);
        if (ReadReply(port(), clock(), f, 47) != kLinkOk) {
            return finish(kResultReadFailed);
        }
        notifyStep();
        if (f[0] != 0x03 || f[1] != 0x2C) {
            return finish(kResultValidation);
        }
    }
    framesComplete_ = true;
    for (int s = 0; s < tpdo; ++s) {
        AddTpdo(data.slot(s, 6), format);
    }
    for (int s = 42; s < 42 + rpdo; ++s) {
        AddRpdo(data.slot(s, 6), format);
    }
    return finish(kResultSuccess);
}

void CTAVO20SUpload::SetIoSize(unsigned code, int format) {
    if (format != kFormatTavo20SCompatible && format != kFormatTavo20SNew) {
        return;
    }
    // The compatible slave format leaves the size alone for a code outside the four sizes.
    if (code < kFixedIoSizeCount || format == kFormatTavo20SNew) {
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

void CTAVO20SUpload::SetSdoTimeoutByte(unsigned value8) {
    config().Config.RPDOTimeout = dec(value8 & 0xFF);
}

void CTAVO20SUpload::SetDelayStartup(unsigned value) {
    config().Config.SlaveDelayStart = dec(value);
}

void CTAVO20SUpload::AddUploadSdo(const std::uint8_t* /*record*/, int /*format*/) {}
void CTAVO20SUpload::AddDownloadSdo(const std::uint8_t* /*record*/, int /*format*/) {}

void CTAVO20SUpload::AddTpdo(const std::uint8_t* record, int /*format*/) {
    addPdo(record, kTransmitPdo);
}
void CTAVO20SUpload::AddRpdo(const std::uint8_t* record, int /*format*/) {
    addPdo(record, kReceivePdo);
}

void CTAVO20SUpload::addPdo(const std::uint8_t* r, const char* type) {
    CONFIG& c = config().Config;
    c.InstructionCount = std::clamp(c.InstructionCount, 0, kInstructionTableSize);
    if (c.InstructionCount == kInstructionTableSize) {
        return;
    }
    const int position = c.InstructionCount++;
    INSTRUCTION& cmd = c.Instructions[position];
    cmd = INSTRUCTION{};
    cmd.InstructionType = type;
    cmd.CobId = dec(get32(r));
    cmd.Bytes = dec(r[4]);
    cmd.MappingAddress = dec(r[5]);
    cmd.NodeIndex = position;
}

} // namespace torvane
