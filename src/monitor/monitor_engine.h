#pragma once

#include "model/message.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace torvane {

// How the gateway talks while the monitor is open; decided once by the first frame.
enum class MonitorMode { Undecided, Split, FixedImage, Addressed, Silent };

struct MonitorRow {
    Message Status;
    std::string Time;
    std::string Data;

    bool operator==(const MonitorRow&) const = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The bytes of one shown frame: the input or the output buffer as far as the frame carries it.
struct MonitorFrame {
    bool output = false;
    std::vector<std::uint8_t> bytes;
};

// Output bytes an answer carried to the gateway's output buffer, from `start` on.
struct SentOutput {
    std::size_t start = 0;
    std::vector<std::uint8_t> bytes;
};

// What one timer tick produced: rows to append (only while displaying), the frames behind the
// rows (also while not displaying), the answer frame to send (empty: send nothing), the output
// it carried and messages to show.
struct MonitorTick {
    std::vector<MonitorRow> rows;
    std::vector<MonitorFrame> frames;
    std::vector<std::uint8_t> answer;
    std::optional<SentOutput> sent;
    std::vector<Message> messages;
};

// The I/O monitor's protocol state: frame reading, mode decision, rows, split assembly and
// the answers. It does no I/O itself; the caller reads the port and sends the answer.
class MonitorEngine {
public:
    static constexpr std::size_t kReadCapacity = 500;
    static constexpr std::size_t kTransmitCapacity = 1024;
    // The length byte of an addressed answer holds n + 2.
    static constexpr std::size_t kMaxAddressedData = 253;

    // Handles the bytes one ReadAvailable delivered (at most kReadCapacity are looked at).
    // `startText` is the current text of "The starting address:" box.
    MonitorTick onReceived(std::span<const std::uint8_t> received, const TimeOfDay& now,
                           const std::string& startText);

    // "Transmit": returns the message to show, or an empty text when the output is now pending.
    // The start must be a canonical decimal number ("memory address is not a decimal number").
    Message transmit(const std::string& startText, const std::string& dataText);

    // Output at a start of its own instead of the box's, to go with the next answer as the raw
    // "Transmit" does (the same checks at the answer). Returns the message to show, or empty.
    Message transmitAt(std::size_t start, std::span<const std::uint8_t> bytes);

    // Output bytes the answers of this mode can carry: the image length of the last frame's
    // code (fixed image) or its buffer (addressed); 0 for the split mode, -1 before a frame.
    int outputLength() const;

    void setDisplaying(bool on) { displaying_ = on; }
    bool displaying() const { return displaying_; }
    MonitorMode mode() const { return mode_; }
    bool outputPending() const { return outputPending_; }

private:
    void showRows(const std::uint8_t* frame, const TimeOfDay& now, MonitorTick& out);
    void showSplit(const std::uint8_t* frame, const TimeOfDay& now, MonitorTick& out);
    void addRow(Text status, const std::uint8_t* data, std::size_t n, const TimeOfDay& now,
                MonitorTick& out) const;
    const std::string& startOf(const std::string& startText) const;
    void answerAddressed(std::uint8_t code, std::uint8_t len, const std::string& startText,
                         MonitorTick& out);
    void answerFixedImage(std::uint8_t code, const std::string& startText, MonitorTick& out);

    MonitorMode mode_ = MonitorMode::Undecided;
    bool displaying_ = true;
    bool outputPending_ = false;
    std::array<std::uint8_t, kTransmitCapacity> transmitBuffer_{};
    std::size_t transmitCount_ = 0;
    std::string ownStart_; // the start of transmitAt; empty: the box's text
    int lastCode_ = -1;
    int lastLength_ = 0;
    std::array<std::uint8_t, 112> inputParts_{};
    std::array<std::uint8_t, 112> outputParts_{};
    int inputPartCount_ = 0;
    int outputPartCount_ = 0;
};

// Where pending output goes in an answer to a frame whose buffer holds `length` bytes: the
// start, or the message refusing the answer (nothing is then sent). A start that is not a
// canonical decimal number, or one at or beyond `length`, is refused; so is `start + count`
// beyond `length` when `whole` (the addressed answer, which carries every byte).
struct MonitorStart {
    std::size_t start = 0;
    Message refusal; // empty when the answer may go
};
MonitorStart monitorAnswerStart(const std::string& startText, int length, std::size_t count,
                                bool whole);

// "HH:MM:SS" as the Time column shows it.
std::string formatTimeOfDay(const TimeOfDay& t);

// Parses the "Data:" box: two upper-case hex digits per byte, groups separated by exactly one
// blank, no leading or trailing blank. Returns false for any other text.
bool parseMonitorHex(const std::string& text, std::vector<std::uint8_t>& bytes);

// The text "Save Content" writes: a header line, then one tab-separated line per row.
std::string monitorLogText(const std::vector<MonitorRow>& rows);

} // namespace torvane
