#pragma once

// The monitor's Commands view: the buffers the gateway reports, decoded by the open
// configuration into one row per mapped command (and one sub-row per object of a default PDO),
// the writing of one command's output bytes, and the output bytes the window leaves set in the
// gateway.

#include "devices/data_types.h"
#include "devices/device_library.h"
#include "model/configuration.h"
#include "model/message.h"
#include "model/vocabulary.h"
#include "monitor/monitor_engine.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace torvane {

// A local date and time to the millisecond, as the caller's clock gives it.
struct LocalStamp {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};
// "2024-05-01T14:03:07.250"
std::string iso8601(const LocalStamp& t);
// "14:03:07.250"
std::string timeWithMilliseconds(const LocalStamp& t);

// PLC start addresses of the two buffers; a PLC address is start + mapping address.
struct PlcStarts {
    std::optional<int> input;
    std::optional<int> output;
};

// One object of a default PDO within its command's bytes.
struct ObjectRow {
    std::string name; // UTF-8
    std::string typeName;
    int bitOffset = 0;
    int bits = 0;
    DataTypeClass typeClass = DataTypeClass::Domain;
    bool dummy = false;
    std::string value; // empty until the command has a value
};

struct CommandRow {
    int position = 0; // 0-based in the command table
    CommandKind kind = CommandKind::UploadSdo;
    bool output = false;     // a PLC output: its bytes lie in the output buffer
    std::string node;        // node address; empty in a slave configuration
    std::string target;      // "389 (0x185)" or "24641:0 (0x6041:0x00)"
    std::string description; // UTF-8
    int address = 0;
    int bytes = 0;
    std::string byteRange;  // "4..5", "4" for one byte
    std::string plcAddress; // the same from the PLC start; empty when none is set
    std::string header;     // the command in one line: recording column, command-line output
    std::vector<ObjectRow> objects;

    // Live values.
    bool received = false; // a frame of its buffer covered its bytes
    bool beyond = false;   // the last frame of its buffer ended before its last byte
    std::vector<std::uint8_t> raw;
    std::string rawText;      // "0F 00"
    std::string unsignedText; // little-endian; empty beyond 8 bytes
    std::string signedText;   // two's complement of the same bytes
    std::string changedAt;    // "14:03:07.250" of the last change
    long long changedMs = -1; // the caller's monotonic milliseconds of the last change
};

// Why writing by command is not possible now; empty when it is.
Message commandTransmitBlock(MonitorMode mode, int outputLength, bool configurationMatches);

// What "Transmit" of one command sends: `start` and the bytes (the whole image from 0 in the
// fixed-image mode), or the message refusing it.
struct CommandTransmit {
    Message refusal;
    std::size_t start = 0;
    std::vector<std::uint8_t> bytes;
};

// Reads a value for `bytes` bytes: decimal (a leading '-' for two's complement) or hex with
// "0x"; little-endian bytes. False when the text is no number or does not fit.
bool parseCommandValue(const std::string& text, int bytes, std::vector<std::uint8_t>& out);

class CommandMonitor {
public:
    static constexpr std::size_t kBufferLimit = 256;

    // Rows of the mapped commands of `cfg` in buffer (input first) and mapping-address order;
    // the objects of a master's PDO from `devices` when its node's device has a matching default
    // PDO. The values are decoded again from the last frames of each buffer.
    void setConfiguration(const GatewayConfiguration& cfg,
                          const std::vector<LibraryDevice>& devices, const PlcStarts& starts);

    // Decodes one frame; returns the indexes of the rows whose value changed.
    std::vector<std::size_t> onFrame(const MonitorFrame& frame, const LocalStamp& at,
                                     long long nowMs);

    std::span<const CommandRow> rows() const { return rows_; }
    // Changed in the last second before `nowMs`.
    bool recentlyChanged(std::size_t row, long long nowMs) const;

    // Writing `valueText` to the command of `row`; `mode` and `outputLength` are the engine's.
    // In the fixed-image mode the window's own image carries the other bytes.
    CommandTransmit transmit(std::size_t row, const std::string& valueText, MonitorMode mode,
                             int outputLength);
    // The fixed-image mode's own image follows what went out, whoever sent it.
    void noteSent(const SentOutput& sent, MonitorMode mode);

private:
    std::vector<CommandRow> rows_;
    std::vector<std::uint8_t> lastInput_;
    std::vector<std::uint8_t> lastOutput_;
    std::vector<std::uint8_t> image_;
};

// The output bytes the window has left set (not 00) in the gateway's output buffer, from what
// went out.
class OutputsThatStay {
public:
    void noteSent(const SentOutput& sent);
    bool any() const { return set_.any(); }
    // "4..5, 10"
    std::string text() const;
    // The outputs that set them back to 00: the whole image of `outputLength` bytes in the
    // fixed-image mode, else one per run of set bytes (at most 253 bytes each).
    std::vector<SentOutput> resetOutputs(MonitorMode mode, int outputLength) const;

private:
    std::bitset<CommandMonitor::kBufferLimit> set_;
};

// How long the window waits for the reset outputs to go out before closing anyway.
inline constexpr int kResetWaitMs = 5000;

} // namespace torvane
