#pragma once

// A serial line in virtual time with a scripted gateway at its far end, the configurations
// the tests send over it and one download or upload run over it.

#include "comm/protocol_base.h"
#include "comm/serial_link.h"
#include "comm/tavo20_down.h"
#include "comm/tavo20_upload.h"
#include "mapping/mapping_calculation.h"
#include "model/configuration.h"
#include "model/text_number.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace torvane::test {

// The numbers of results and formats, as the case tables write them.
constexpr int code(TransferResult result) {
    return static_cast<int>(result);
}
constexpr int code(DownloadFormat format) {
    return static_cast<int>(format);
}

class VirtualClock final : public Clock {
public:
    void sleepMs(int ms) override { now += ms; }
    std::int64_t nowMs() const override { return now; }
    std::int64_t now = 0;
};

// The gateway's side: what arrives when, and what the PC wrote.
struct FakeLine {
    VirtualClock clock;
    std::vector<Frame> written;
    std::vector<std::int64_t> writtenAt;                        // virtual time of each write
    std::deque<std::pair<std::int64_t, std::uint8_t>> incoming; // arrival time, byte
    // Called with each frame written (its index in `written`); queues the answer.
    std::function<void(FakeLine&, const Frame&, std::size_t)> gateway;
    bool openFails = false;
    long failWriteAt = -1; // index of the write that fails
    bool open = false;

    void reply(const Frame& bytes, int afterMs = 10) {
        for (const std::uint8_t b : bytes) {
            incoming.emplace_back(clock.now + afterMs, b);
        }
    }
    std::size_t arrived() const {
        return static_cast<std::size_t>(std::count_if(
            incoming.begin(), incoming.end(), [&](const auto& p) { return p.first <= clock.now; }));
    }
};

class FakePort final : public SerialPort {
public:
    explicit FakePort(FakeLine& line) : line_(line) {}
    bool open(const std::string&, const SerialSettings& s, Message& reason) override {
        if (line_.openFails || line_.open || s.baudRate != 57600 || s.parity != 1) {
            reason = Message::plain("busy");
            return false;
        }
        return mine_ = line_.open = true;
    }
    long write(const std::uint8_t* data, std::size_t length) override {
        const std::size_t index = line_.written.size();
        line_.written.emplace_back(data, data + length);
        line_.writtenAt.push_back(line_.clock.now);
        if (static_cast<long>(index) == line_.failWriteAt) {
            return -1;
        }
        if (line_.gateway) {
            line_.gateway(line_, line_.written.back(), index);
        }
        return static_cast<long>(length);
    }
    std::size_t bytesWaiting() override { return line_.arrived(); }
    long read(std::uint8_t* buffer, std::size_t capacity) override {
        const std::size_t n = std::min(capacity, line_.arrived());
        for (std::size_t i = 0; i < n; ++i) {
            buffer[i] = line_.incoming.front().second;
            line_.incoming.pop_front();
        }
        return static_cast<long>(n);
    }
    void purge() override { line_.incoming.clear(); }
    void close() override {
        if (mine_) {
            line_.open = mine_ = false;
        }
    }
    bool isOpen() const override { return mine_; }

private:
    FakeLine& line_;
    bool mine_ = false;
};

// Appends a byte checksum to a frame written out by hand.
inline Frame sealed(Frame f) {
    f.push_back(FrameChecksum(f));
    return f;
}

// A configuration frame of `size` bytes as the gateway sends it: operation, length, `body` from
// byte 2, frame type 0x0D and `sequence`, checksum.
inline Frame configurationFrame(std::uint8_t op, std::size_t size, std::uint8_t sequence,
                                const Frame& body = {}) {
    Frame f(size - 1, 0);
    f[0] = op;
    f[1] = static_cast<std::uint8_t>(size - 3);
    std::copy(body.begin(), body.end(), f.begin() + 2);
    f[size - 3] = 0x0D;
    f[size - 2] = sequence;
    return sealed(f);
}

// The 18-byte reply to the SDO options request.
inline Frame sdoOptionsReply(std::uint8_t concurrent, std::uint8_t retries,
                             std::uint16_t pollDelay) {
    Frame f(17, 0);
    f[0] = 0x06;
    f[1] = 0x0F;
    f[2] = concurrent;
    f[3] = retries;
    f[4] = static_cast<std::uint8_t>(pollDelay & 0xFF);
    f[5] = static_cast<std::uint8_t>(pollDelay >> 8);
    return sealed(f);
}

// A gateway that answers every request the protocol sends; faults are set per frame index.
struct ScriptedGateway {
    Frame identification = {0xFE, 1, 0, 0, 5, 2}; // new firmware 5.2
    std::uint8_t storedFormat = 1;                // q3 of the stored-format query
    Frame optionsAck = {0x07, 0x02, 0x00, 0x00, 0x09};
    Frame optionsReply = sdoOptionsReply(1, 0, 0);
    Frame uploadHeader;
    std::vector<Frame> uploadData;             // twelve frames
    std::map<std::size_t, Frame> replaceReply; // frame index -> reply (empty: silent)
    std::map<std::size_t, Frame> lateBytes;    // frame index -> bytes 120 ms after the reply
    int slaveReads = 0;

    void operator()(FakeLine& line, const Frame& f, std::size_t index) {
        const Frame normal = answer(f);
        const auto replaced = replaceReply.find(index);
        line.reply(replaced != replaceReply.end() ? replaced->second : normal);
        if (const auto late = lateBytes.find(index); late != lateBytes.end()) {
            line.reply(late->second, 120);
        }
    }
    Frame answer(const Frame& f) {
        if (f.size() < 3) {
            return {};
        }
        switch (f[0]) {
        case 0xFE:
            return identification;
        case 0xFC:
            return {0xFC, 0x02, 0x0D, storedFormat, 0};
        case 0x02: {
            const bool newFormat = f.size() == 38 || f.size() == 96;
            return newFormat ? newAck(f[f.size() - 2]) : Frame{0x02, 0x02, 0x01, 0x01, 0x06};
        }
        case 0x07:
            return optionsAck;
        case 0x06:
            return optionsReply;
        case 0x01:
            return f[3] == 1 ? uploadHeader : uploadData.at(f[3] - 2u);
        case 0x03: {
            const int n = slaveReads++;
            return n == 0 ? uploadHeader : uploadData.at(n - 1u);
        }
        default:
            return {};
        }
    }
    static Frame newAck(std::uint8_t n) {
        return {0x02, 0x02, 0x0D, n, static_cast<std::uint8_t>(0x11 + n)};
    }
};

inline ScriptedGateway identifyingAs(Frame reply) {
    ScriptedGateway gw;
    gw.identification = std::move(reply);
    return gw;
}

struct RecordingProgress final : ProgressObserver {
    void progressRange(int steps) override { range = steps; }
    void progressStep(int k) override { steps += k; }
    void progressFinished() override { ++finished; }
    int range = 0;
    int steps = 0;
    int finished = 0;
};

struct FixedFormat final : FormatQuestion {
    explicit FixedFormat(FormatChoice c) : choice(c) {}
    FormatChoice askDownloadFormat() override {
        ++asked;
        return choice;
    }
    FormatChoice choice;
    int asked = 0;
};

// The mapping rules the slave download runs before it sends.
inline bool recalculateMapping(GatewayConfiguration& cfg) {
    return calculateMapping(cfg).fits;
}

// Appends a command for the node with address `node`, adding the node when it is new.
// SDO commands take `key` as Index, PDO commands as CobId.
inline void addCommand(GatewayConfiguration& cfg, const char* type, int node, int key, int sub,
                       int bytes, int map) {
    CONFIG& c = cfg.Config;
    const std::string address = decimalText(node);
    int n = 0;
    while (n < c.NodeCount && c.Nodes[n].NodeAddress != address) {
        ++n;
    }
    if (n == c.NodeCount) {
        c.Nodes[n].NodeAddress = address;
        c.Nodes[n].NodeName = "Node-" + address;
        ++c.NodeCount;
    }
    INSTRUCTION& i = c.Instructions[c.InstructionCount++];
    i.InstructionType = type;
    i.NodeAddress = cfg.isMaster() ? address : c.SlaveNodeAddress;
    if (isPdoCommand(type)) {
        i.CobId = decimalText(key);
    } else {
        i.Index = decimalText(key);
        i.SubIndex = decimalText(sub);
    }
    i.Bytes = decimalText(bytes);
    i.MappingAddress = decimalText(map);
    i.NodeIndex = n + 1;
}

// Master configuration with one command of each kind on node 1.
inline GatewayConfiguration sampleMaster() {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    addCommand(cfg, kUploadSdo, 1, 0x6000, 1, 2, 0);
    addCommand(cfg, kTransmitPdo, 1, 385, 0, 4, 2);
    addCommand(cfg, kDownloadSdo, 1, 0x6200, 2, 1, 0);
    addCommand(cfg, kReceivePdo, 1, 513, 0, 2, 2);
    return cfg;
}

// Master configuration with the given number of commands of each kind, each 1 byte.
inline GatewayConfiguration masterWithCounts(int upSdo, int tpdo, int downSdo, int rpdo) {
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    int in = 0;
    int out = 0;
    for (int k = 0; k < upSdo; ++k) {
        addCommand(cfg, kUploadSdo, 1 + k % 3, 0x2000 + k, 1, 1, in++);
    }
    for (int k = 0; k < tpdo; ++k) {
        addCommand(cfg, kTransmitPdo, 1 + k % 3, 0x181 + k, 0, 1, in++);
    }
    for (int k = 0; k < downSdo; ++k) {
        addCommand(cfg, kDownloadSdo, 1 + k % 3, 0x3000 + k, 2, 1, out++);
    }
    for (int k = 0; k < rpdo; ++k) {
        addCommand(cfg, kReceivePdo, 1 + k % 3, 0x201 + k, 0, 1, out++);
    }
    return cfg;
}

// One download or upload over a fresh line: the result and everything the gateway saw.
struct TransferRun {
    int result = -1;
    int format = -1;
    std::vector<Frame> written;
    std::vector<std::int64_t> writtenAt;
    std::int64_t end = 0; // virtual time when the transfer returned
    GatewayConfiguration cfg;
    RecordingProgress progress;
    int asked = 0;
    std::string message;
};

struct RunOptions {
    bool oldEdition = false;
    FormatChoice choice = FormatChoice::Cancel;
    long failWriteAt = -1;
};

inline TransferRun transfer(bool download, GatewayConfiguration cfg, ScriptedGateway gateway,
                            RunOptions options = {}) {
    TransferRun run;
    FakeLine line;
    line.gateway = std::ref(gateway);
    line.failWriteAt = options.failWriteAt;
    FixedFormat question(options.choice);
    run.cfg = std::move(cfg);
    auto port = std::make_unique<FakePort>(line);
    std::unique_ptr<CTAVOConfig> proto;
    if (download && run.cfg.isMaster()) {
        proto = std::make_unique<CTAVO20Down>(std::move(port), line.clock, run.cfg);
    } else if (download) {
        proto = std::make_unique<CTAVO20SDown>(std::move(port), line.clock, run.cfg,
                                               recalculateMapping);
    } else if (run.cfg.isMaster()) {
        proto = std::make_unique<CTAVO20Upload>(std::move(port), line.clock, run.cfg);
    } else {
        proto = std::make_unique<CTAVO20SUpload>(std::move(port), line.clock, run.cfg);
    }
    proto->setOldEditionLoaded(options.oldEdition);
    proto->setFormatQuestion(&question);
    proto->setProgressObserver(&run.progress);
    EXPECT_EQ(proto->Open("/dev/fake", 57600, 1), TransferResult::Success);
    const TransferResult result = download ? static_cast<CDownConfig&>(*proto).Download()
                                           : static_cast<CUploadConfig&>(*proto).Upload();
    run.result = code(result);
    run.format = code(proto->downloadFormat());
    run.written = line.written;
    run.writtenAt = line.writtenAt;
    run.end = line.clock.now;
    run.asked = question.asked;
    run.message = proto->ResultText(result).english();
    return run;
}

inline TransferRun download(GatewayConfiguration cfg, ScriptedGateway gateway,
                            RunOptions options = {}) {
    return transfer(true, std::move(cfg), std::move(gateway), options);
}

inline TransferRun upload(GatewayConfiguration cfg, ScriptedGateway gateway,
                          long failWriteAt = -1) {
    return transfer(false, std::move(cfg), std::move(gateway),
                    {false, FormatChoice::Cancel, failWriteAt});
}

} // namespace torvane::test
