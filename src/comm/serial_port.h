#pragma once

#include "model/message.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace torvane {

// Line settings a port is opened with. Every transfer and the monitor use 57600 8-O-1.
struct SerialSettings {
    int baudRate = 57600;
    int parity = 1; // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int dataBits = 8;
    int stopBits = 1;
};

// One serial device, used from one thread at a time. Implementations never block longer than a
// short write time-out and never busy-wait.
class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Opens `device` exclusively with `settings`; false with a user-readable reason on failure.
    virtual bool open(const std::string& device, const SerialSettings& settings,
                      Message& reason) = 0;
    // Writes the bytes; returns the number written, or -1 when the write failed.
    virtual long write(const std::uint8_t* data, std::size_t length) = 0;
    // Bytes waiting in the input queue (0 when closed); clears pending line errors.
    virtual std::size_t bytesWaiting() = 0;
    // Reads up to `capacity` queued bytes; returns the number read, or -1 on failure.
    virtual long read(std::uint8_t* buffer, std::size_t capacity) = 0;
    // Drops everything queued in both directions.
    virtual void purge() = 0;
    // Closes the device; harmless when not open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
};

// Creates an unopened port; the transfer job opens it by name.
using SerialPortFactory = std::function<std::unique_ptr<SerialPort>()>;

// Time source of the link layer, so tests run the fixed waits in virtual time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual void sleepMs(int milliseconds) = 0;
    // Milliseconds since an arbitrary fixed start.
    virtual std::int64_t nowMs() const = 0;
};

// The real clock: std::chrono::steady_clock and a blocking sleep.
class SteadyClock final : public Clock {
public:
    void sleepMs(int milliseconds) override;
    std::int64_t nowMs() const override;
};

} // namespace torvane
