#include "comm/serial_link.h"

#include "model/text_number.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace torvane {

namespace {

constexpr int kPassWaitMs = 50;
constexpr int kExtraReadPasses = 4;

long readInto(SerialPort& port, std::uint8_t* buffer, std::size_t length) {
    return length == 0 ? 0 : port.read(buffer, length);
}

// Reads and drops what is queued now, without waiting for more.
void discardQueued(SerialPort& port) {
    std::uint8_t scratch[256];
    std::size_t queued = port.bytesWaiting();
    while (queued > 0) {
        const long got = port.read(scratch, std::min(queued, sizeof scratch));
        if (got <= 0) {
            return;
        }
        queued -= std::min(queued, static_cast<std::size_t>(got));
    }
}

} // namespace

void SteadyClock::sleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::int64_t SteadyClock::nowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

LinkResult OpenSerialPort(SerialPort& port, const std::string& portName, int baudRate, int parity,
                          Message& reason) {
    SerialSettings settings;
    settings.baudRate = baudRate;
    settings.parity = parity;
    if (!port.open(portName, settings, reason)) {
        port.close();
        return LinkResult::OpenFailed;
    }
    port.purge();
    return LinkResult::Ok;
}

LinkResult WriteFrame(SerialPort& port, Clock& clock, std::span<const std::uint8_t> frame) {
    clock.sleepMs(kPassWaitMs);
    const long written = port.write(frame.data(), frame.size());
    return written <= 0 ? LinkResult::IoFailed : LinkResult::Ok;
}

void ReadAvailable(SerialPort& port, Clock& clock, std::uint8_t* buffer, std::size_t capacity,
                   std::size_t& count) {
    count = 0;
    clock.sleepMs(kPassWaitMs);
    std::size_t queued = port.bytesWaiting();
    if (queued == 0) {
        return;
    }
    std::size_t total = 0;
    const long first = readInto(port, buffer, std::min(queued, capacity));
    if (first > 0) {
        total = static_cast<std::size_t>(first);
    }
    for (int pass = 0; pass < kExtraReadPasses; ++pass) {
        clock.sleepMs(kPassWaitMs);
        queued = port.bytesWaiting();
        if (queued == 0 || total + queued > capacity) {
            break;
        }
        const long got = readInto(port, buffer + total, queued);
        if (got > 0) {
            total += static_cast<std::size_t>(got);
        }
    }
    count = total;
}

LinkResult WriteRequest(SerialPort& port, Clock& clock, std::span<const std::uint8_t> frame) {
    clock.sleepMs(kPassWaitMs);
    discardQueued(port);
    const long written = port.write(frame.data(), frame.size());
    return written <= 0 ? LinkResult::IoFailed : LinkResult::Ok;
}

LinkResult ReadReply(SerialPort& port, Clock& clock, std::uint8_t* buffer, std::size_t capacity) {
    std::size_t stored = 0;
    return ReadReply(port, clock, buffer, capacity, stored);
}

LinkResult ReadReply(SerialPort& port, Clock& clock, std::uint8_t* buffer, std::size_t capacity,
                     std::size_t& stored) {
    stored = 0;
    long last = 0;
    // Reads everything queued; what lies beyond `capacity` is read and dropped.
    auto drain = [&](std::size_t queued) {
        std::uint8_t scratch[256];
        last = 0;
        while (queued > 0) {
            const std::size_t room = capacity - stored;
            long got = 0;
            if (room > 0) {
                got = readInto(port, buffer + stored, std::min(queued, room));
                if (got > 0) {
                    stored += static_cast<std::size_t>(got);
                }
            } else {
                got = readInto(port, scratch, std::min(queued, sizeof scratch));
            }
            if (got <= 0) {
                last = got < 0 ? 0 : got;
                return;
            }
            last += got;
            queued -= std::min(queued, static_cast<std::size_t>(got));
        }
    };

    clock.sleepMs(kPassWaitMs);
    std::size_t queued = port.bytesWaiting();
    if (queued == 0) {
        return LinkResult::IoFailed;
    }
    drain(queued);
    for (int pass = 0; pass < kExtraReadPasses; ++pass) {
        clock.sleepMs(kPassWaitMs);
        queued = port.bytesWaiting();
        if (queued == 0) {
            break;
        }
        drain(queued);
    }
    return last == 0 ? LinkResult::IoFailed : LinkResult::Ok;
}

LinkResult CompareReply(const std::uint8_t* received, const std::uint8_t* expected,
                        std::size_t length) {
    return std::equal(received, received + length, expected) ? LinkResult::Ok
                                                             : LinkResult::Mismatch;
}

LinkResult ExchangeWithDelay(SerialPort& port, Clock& clock, std::span<const std::uint8_t> frame,
                             Frame& reply, std::span<const std::uint8_t> expected, int delayMs) {
    reply.assign(std::max<std::size_t>(expected.size(), 4), 0);
    if (delayMs > 0) {
        clock.sleepMs(delayMs);
    }
    if (WriteFrame(port, clock, frame) != LinkResult::Ok) {
        return LinkResult::IoFailed;
    }
    clock.sleepMs(delayMs);
    const LinkResult read = ReadReply(port, clock, reply.data(), reply.size());
    if (read != LinkResult::Ok) {
        return read;
    }
    return CompareReply(reply.data(), expected.data(), expected.size());
}

LinkResult Exchange(SerialPort& port, Clock& clock, std::span<const std::uint8_t> frame,
                    Frame& reply, std::span<const std::uint8_t> expected) {
    reply.assign(std::max<std::size_t>(expected.size(), 4), 0);
    if (WriteFrame(port, clock, frame) != LinkResult::Ok) {
        return LinkResult::IoFailed;
    }
    clock.sleepMs(100);
    const LinkResult read = ReadReply(port, clock, reply.data(), reply.size());
    if (read != LinkResult::Ok) {
        return read;
    }
    return CompareReply(reply.data(), expected.data(), expected.size());
}

std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes) {
    std::uint8_t sum = 0;
    for (const std::uint8_t b : bytes) {
        sum = static_cast<std::uint8_t>(sum + b);
    }
    return sum;
}

std::string FormatHex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
        text += ' ';
    }
    return text;
}

std::string windowsDeviceName(std::string_view portName) {
    const std::string_view rest = portName.size() > 3 ? portName.substr(3) : std::string_view{};
    std::int64_t n = 0;
    for (const char c : rest) {
        if (c < '0' || c > '9' || n > 99999999) {
            break;
        }
        n = n * 10 + (c - '0');
    }
    const std::string number = decimalText(n);
    return n > 9 ? "\\\\.\\COM" + number : "COM" + number;
}

} // namespace torvane
