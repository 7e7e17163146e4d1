#pragma once

#include "comm/serial_port.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// Link result codes of the primitives below (distinct from the transfer result codes).
enum class LinkResult { Ok = 0, Mismatch = 3, OpenFailed = 4, IoFailed = 5 };

using Frame = std::vector<std::uint8_t>;

// Opens `portName` at `baudRate` with `parity`, 8 data bits, 1 stop bit, then purges it.
// Returns Ok, or OpenFailed when the port cannot be opened (the reason goes to `reason`).
LinkResult OpenSerialPort(SerialPort& port, const std::string& portName, int baudRate, int parity,
                          Message& reason);

// Waits 50 ms and writes the frame in one call. Returns Ok, or IoFailed when nothing was written.
LinkResult WriteFrame(SerialPort& port, Clock& clock, std::span<const std::uint8_t> frame);

// Collects what has arrived in up to five 50 ms passes, never more than `capacity` bytes
// (the rest stays queued). `count` is 0 when nothing arrived.
void ReadAvailable(SerialPort& port, Clock& clock, std::uint8_t* buffer, std::size_t capacity,
                   std::size_t& count);

// As WriteFrame, but what is queued when the wait ends is read and dropped first, so a late
// byte of an earlier reply cannot open the reply to this frame. Returns Ok or IoFailed.
LinkResult WriteRequest(SerialPort& port, Clock& clock, std::span<const std::uint8_t> frame);

// Reads a reply in up to five 50 ms passes; bytes beyond `capacity` are read and dropped.
// `stored` is the number of bytes kept in `buffer`. Returns Ok, or IoFailed when nothing was
// queued or the last read delivered nothing.
LinkResult ReadReply(SerialPort& port, Clock& clock, std::uint8_t* buffer, std::size_t capacity,
                     std::size_t& stored);
LinkResult ReadReply(SerialPort& port, Clock& clock, std::uint8_t* buffer, std::size_t capacity);

// Returns Ok when the first `length` bytes are equal, Mismatch at the first difference.
LinkResult CompareReply(const std::uint8_t* received, const std::uint8_t* expected,
                        std::size_t length);

// Writes `frame`, waits 100 ms, reads the reply into `reply` and compares it with `expected`.
// Returns Ok, Mismatch (different reply) or IoFailed (write failed or no reply).
LinkResult Exchange(SerialPort& port, Clock& clock, std::span<const std::uint8_t> frame,
                    Frame& reply, std::span<const std::uint8_t> expected);

// As Exchange, but waits `delayMs` before the write and before reading the reply.
LinkResult ExchangeWithDelay(SerialPort& port, Clock& clock, std::span<const std::uint8_t> frame,
                             Frame& reply, std::span<const std::uint8_t> expected, int delayMs);

// The 8-bit additive checksum that ends every frame (sum modulo 256).
std::uint8_t FrameChecksum(std::span<const std::uint8_t> bytes);

// Two upper-case hex digits and one blank per byte ("0A FF "); empty for no bytes.
std::string FormatHex(std::span<const std::uint8_t> bytes);

// The Windows device of a port name: "COM9" -> "COM9", "COM10" -> "\\.\COM10"; the characters
// after the first three are read as a decimal number, none gives "COM0".
std::string windowsDeviceName(std::string_view portName);

} // namespace torvane
