#include "monitor/monitor_engine.h"

#include "comm/serial_link.h"
#include "model/record_view.h"
#include "model/strings.h"

#include <algorithm>
#include <cstdio>

namespace torvane {
namespace {

// Buffer bytes per code in the fixed-image and addressed layouts.
int bufferSizeOfCode(std::uint8_t code) {
    static constexpr int kSizes[] = {16, 48, 96, 112};
    return code < 4 ? kSizes[code] : -1;
}

bool isAddressedFirstFrame(std::uint8_t code, std::uint8_t len) {
    static constexpr std::uint8_t kLens[] = {0x11, 0x31, 0x61, 0x71};
    return code == 4 || (code < 4 && len == kLens[code]);
}

} // namespace

MonitorTick MonitorEngine::onReceived(std::span<const std::uint8_t> received, const TimeOfDay& now,
                                      const std::string& startText) {
    MonitorTick out;
    if (received.empty()) {
        return out;
    }
    // The frame is read from a zeroed buffer of the read capacity, so a short frame's missing
    // bytes read as zero and a length byte can never lead outside the buffer.
    std::array<std::uint8_t, kReadCapacity> frame{};
    std::copy_n(received.begin(), std::min(received.size(), frame.size()), frame.begin());
    const std::uint8_t code = frame[0];
    const std::uint8_t len = frame[1];
    const bool valid = FrameChecksum(std::span(frame.data(), len + 2U)) == frame[len + 2U];

    if (mode_ == MonitorMode::Undecided) {
        if (code == 5 || code == 6) {
            mode_ = MonitorMode::Split;
        } else if (!valid) {
            mode_ = MonitorMode::Silent;
        } else if (isAddressedFirstFrame(code, len)) {
            mode_ = MonitorMode::Addressed;
        } else {
            mode_ = MonitorMode::FixedImage;
        }
    }
    if (!valid || mode_ == MonitorMode::Silent) {
        return out;
    }
    lastCode_ = code;
    lastLength_ = len;
    showRows(frame.data(), now, out);
    if (mode_ == MonitorMode::Addressed) {
        answerAddressed(code, len, startText, out);
    } else if (mode_ == MonitorMode::FixedImage) {
        answerFixedImage(code, startText, out);
    }
    return out;
}

void MonitorEngine::showRows(const std::uint8_t* frame, const TimeOfDay& now, MonitorTick& out) {
    const std::uint8_t code = frame[0];
    const std::uint8_t len = frame[1];
    switch (mode_) {
    case MonitorMode::Split:
        showSplit(frame, now, out);
        break;
    case MonitorMode::FixedImage: {
        const int size = code == 4 ? 244 : bufferSizeOfCode(code);
        addRow(str::MonitorInputData, frame + 2, size < 0 ? len : size, now, out);
        break;
    }
    case MonitorMode::Addressed:
        if (len == 0) {
            break;
        }
        if (frame[2] == 0) {
            addRow(str::MonitorInputData, frame + 3, len - 1U, now, out);
        } else if (frame[2] == 1) {
            addRow(str::MonitorOutputData, frame + 3, len - 1U, now, out);
        }
        break;
    default:
        break;
    }
}

void MonitorEngine::showSplit(const std::uint8_t* frame, const TimeOfDay& now, MonitorTick& out) {
    const std::uint8_t code = frame[0];
    const std::uint8_t len = frame[1];
    if (code != 5 && code != 6) {
        return;
    }
    const Text status = code == 5 ? str::MonitorInputData : str::MonitorOutputData;
    if (len == 0x30) {
        addRow(status, frame + 2, 48, now, out);
        return;
    }
    if (len != 0x39) {
        return;
    }
    auto& parts = code == 5 ? inputParts_ : outputParts_;
    int& count = code == 5 ? inputPartCount_ : outputPartCount_;
    if (frame[2] == 0) {
        std::copy_n(frame + 3, 56, parts.begin());
        count = 1;
    } else if (frame[2] == 1) {
        std::copy_n(frame + 3, 56, parts.begin() + 56);
        ++count;
    } else {
        return;
    }
    if (count == 2) {
        addRow(status, parts.data(), parts.size(), now, out);
        count = 0;
    }
}

void MonitorEngine::addRow(Text status, const std::uint8_t* data, std::size_t n,
                           const TimeOfDay& now, MonitorTick& out) const {
    const bool output = std::string_view(status.source) == str::MonitorOutputData.source;
    out.frames.push_back({output, std::vector(data, data + n)});
    if (!displaying_) {
        return;
    }
    out.rows.push_back({status, formatTimeOfDay(now), FormatHex(std::span(data, n))});
}

MonitorStart monitorAnswerStart(const std::string& startText, int length, std::size_t count,
                                bool whole) {
    const DecodedNumber typed = decodeNumber(startText);
    if (!typed.canonical) {
        return {0, str::MonitorStartNotDecimal};
    }
    const auto start = static_cast<long long>(typed.number);
    if (start >= length || (whole && start + static_cast<long long>(count) > length)) {
        return {0, str::ResultMappingOverflow};
    }
    return {static_cast<std::size_t>(start), {}};
}

void MonitorEngine::answerAddressed(std::uint8_t code, std::uint8_t len,
                                    const std::string& startText, MonitorTick& out) {
    std::vector<std::uint8_t>& a = out.answer;
    a.push_back(code);
    if (outputPending_ && transmitCount_ > kMaxAddressedData) {
        out.messages.emplace_back(str::MonitorAddressedTooLong);
        outputPending_ = false;
    }
    if (!outputPending_) {
        a.push_back(0x00);
    } else {
        // A code without a fixed buffer size carries its whole buffer after the status byte.
        const int length = code < 4 ? bufferSizeOfCode(code) : len - 1;
        const MonitorStart at =
            monitorAnswerStart(startOf(startText), length, transmitCount_, true);
        outputPending_ = false;
        if (!at.refusal.empty()) {
            out.messages.push_back(at.refusal);
            a.clear();
            return;
        }
        const auto n = static_cast<std::uint8_t>(transmitCount_);
        a.push_back(static_cast<std::uint8_t>(n + 2));
        a.push_back(static_cast<std::uint8_t>(at.start));
        a.push_back(n);
        a.insert(a.end(), transmitBuffer_.begin(), transmitBuffer_.begin() + n);
        out.sent =
            SentOutput{at.start, std::vector(transmitBuffer_.begin(), transmitBuffer_.begin() + n)};
    }
    a.push_back(FrameChecksum(a));
}

void MonitorEngine::answerFixedImage(std::uint8_t code, const std::string& startText,
                                     MonitorTick& out) {
    std::vector<std::uint8_t>& a = out.answer;
    if (!outputPending_) {
        a = {code, 0x00};
        a.push_back(FrameChecksum(a));
        return;
    }
    const int size = code < 4 ? bufferSizeOfCode(code) : code - 4;
    const MonitorStart at = monitorAnswerStart(startOf(startText), size, transmitCount_, false);
    outputPending_ = false;
    if (!at.refusal.empty()) {
        out.messages.push_back(at.refusal);
        return;
    }
    const auto start = static_cast<std::ptrdiff_t>(at.start);
    a.assign(static_cast<std::size_t>(size) + 2, 0);
    a[0] = code;
    a[1] = static_cast<std::uint8_t>(size);
    std::copy_n(transmitBuffer_.begin(), size - start, a.begin() + 2 + start);
    out.sent = SentOutput{0, std::vector(a.begin() + 2, a.end())};
    a.push_back(FrameChecksum(a));
}

Message MonitorEngine::transmit(const std::string& startText, const std::string& dataText) {
    if (startText.empty()) {
        return str::MonitorStartEmpty;
    }
    if (!decodeNumber(startText).canonical) {
        return str::MonitorStartNotDecimal;
    }
    if (dataText.empty()) {
        return str::MonitorDataEmpty;
    }
    std::vector<std::uint8_t> bytes;
    if (!parseMonitorHex(dataText, bytes)) {
        return str::MonitorMalformed;
    }
    if (bytes.size() > kTransmitCapacity) {
        return str::MonitorDataTooLong;
    }
    if (mode_ == MonitorMode::Addressed && bytes.size() > kMaxAddressedData) {
        return str::MonitorAddressedTooLong;
    }
    std::copy(bytes.begin(), bytes.end(), transmitBuffer_.begin());
    transmitCount_ = bytes.size();
    outputPending_ = true;
    ownStart_.clear();
    return {};
}

Message MonitorEngine::transmitAt(std::size_t start, std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return str::MonitorDataEmpty;
    }
    if (bytes.size() > kTransmitCapacity) {
        return str::MonitorDataTooLong;
    }
    if (mode_ == MonitorMode::Addressed && bytes.size() > kMaxAddressedData) {
        return str::MonitorAddressedTooLong;
    }
    std::copy(bytes.begin(), bytes.end(), transmitBuffer_.begin());
    transmitCount_ = bytes.size();
    outputPending_ = true;
    ownStart_ = std::to_string(start);
    return {};
}

const std::string& MonitorEngine::startOf(const std::string& startText) const {
    return ownStart_.empty() ? startText : ownStart_;
}

int MonitorEngine::outputLength() const {
    if (lastCode_ < 0) {
        return -1;
    }
    const auto code = static_cast<std::uint8_t>(lastCode_);
    switch (mode_) {
    case MonitorMode::FixedImage:
        return code < 4 ? bufferSizeOfCode(code) : code - 4;
    case MonitorMode::Addressed:
        return code < 4 ? bufferSizeOfCode(code) : lastLength_ - 1;
    case MonitorMode::Split:
    case MonitorMode::Silent:
        return 0;
    case MonitorMode::Undecided:
        break;
    }
    return -1;
}

std::string formatTimeOfDay(const TimeOfDay& t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%2.2d:%2.2d:%2.2d", t.hour, t.minute, t.second);
    return buf;
}

bool parseMonitorHex(const std::string& text, std::vector<std::uint8_t>& bytes) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        return -1;
    };
    // Groups of two digits and single blanks: "AB", "AB CD", ... so the length is 3k - 1.
    if (text.size() % 3 != 2) {
        return false;
    }
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 3 + 1);
    for (std::size_t i = 0; i < text.size(); i += 3) {
        const int hi = nibble(text[i]);
        const int lo = nibble(text[i + 1]);
        if (hi < 0 || lo < 0 || (i + 2 < text.size() && text[i + 2] != ' ')) {
            return false;
        }
        out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
    }
    bytes = std::move(out);
    return true;
}

std::string monitorLogText(const std::vector<MonitorRow>& rows) {
    std::string text = "Status\t\tTime\tData\n";
    for (const MonitorRow& r : rows) {
        text += r.Status.english() + '\t' + r.Time + '\t' + r.Data + '\n';
    }
    return text;
}

} // namespace torvane
