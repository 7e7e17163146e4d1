#pragma once

// A serial line in virtual time with a scripted gateway at its far end.

#include "comm/serial_link.h"
#include "comm/protocol_base.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <memory>
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
    bool open(const std::string&, const SerialSettings& s, std::string& reason) override {
        if (line_.openFails || line_.open || s.baudRate != 57600 || s.parity != 1) {
            reason = "busy";
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

// A gateway that answers every request the protocol sends; faults are set per frame index.
struct ScriptedGateway {
    Frame identification = {0xFE, 1, 0, 0, 5, 2}; // new firmware 5.2
    std::uint8_t storedFormat = 1;                // q3 of the stored-format query
    Frame optionsAck = {0x07, 0x02, 0x00, 0x00, 0x09};
    Frame optionsReply = {0x06, 0x0F, 0x01, 0x00, 0x00, 0x00};
    Frame uploadHeader;
    std::vector<Frame> uploadData;             // twelve frames
    std::map<std::size_t, Frame> replaceReply; // frame index -> reply (empty: silent)
    int slaveReads = 0;

    void operator()(FakeLine& line, const Frame& f, std::size_t index) {
        if (auto it = replaceReply.find(index); it != replaceReply.end()) {
            line.reply(it->second);
            return;
        }
        if (f.size() < 3) {
            return;
        }
        switch (f[0]) {
        case 0xFE:
            line.reply(identification);
            break;
        case 0xFC:
            line.reply({0xFC, 0x02, 0x0D, storedFormat, 0});
            break;
        case 0x02: {
            const bool newFormat = f.size() == 38 || f.size() == 96;
            line.reply(newFormat ? newAck(f[f.size() - 2]) : Frame{0x02, 0x02, 0x01, 0x01, 0x06});
            break;
        }
        case 0x07:
            line.reply(optionsAck);
            break;
        case 0x06:
            line.reply(optionsReply);
            break;
        case 0x01:
            line.reply(f[3] == 1 ? uploadHeader : uploadData.at(f[3] - 2u));
            break;
        case 0x03:
            line.reply(slaveReads == 0 ? uploadHeader : uploadData.at(slaveReads - 1u));
            ++slaveReads;
            break;
        default:
            break;
        }
    }
    static Frame newAck(std::uint8_t n) {
        return {0x02, 0x02, 0x0D, n, static_cast<std::uint8_t>(0x11 + n)};
    }
};

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

// Appends a byte checksum to a frame written out by hand.
inline Frame sealed(Frame f) {
    f.push_back(FrameChecksum(f));
    return f;
}

} // namespace torvane::test
