#include "io_frames.h"

#include <algorithm>
#include <utility>

namespace torvane::sim {
namespace {

// Code 0 is the 16-byte buffer; the addressed layout adds the direction byte to its length.
constexpr std::uint8_t kCodeBuffer16 = 0;
constexpr std::uint8_t kAddressedLength = 0x11;
constexpr std::uint8_t kSplitInput = 5;
constexpr std::uint8_t kSplitOutput = 6;
constexpr std::uint8_t kSplitWhole = 0x30;
constexpr std::uint8_t kSplitPart = 0x39;

Bytes sealed(Bytes frame) {
    frame.push_back(checksum(frame.data(), frame.size()));
    return frame;
}

} // namespace

IoFrameFeed::IoFrameFeed(MonitorMode mode, bool opensSeen, LogFn log)
    : mode_(mode), opensSeen_(opensSeen), log_(std::move(log)) {}

void IoFrameFeed::log(const std::string& line) const {
    if (log_) {
        log_(line);
    }
}

double IoFrameFeed::waitMs(double nowMs) const {
    if (unanswered_ >= kMaxUnanswered) {
        return 1e9;
    }
    const double next =
        std::max({holdUntil_, lastSent_ + (awaitingAnswer_ ? kAnswerWaitMs : kPeriodMs)});
    return std::max(0.0, next - nowMs);
}

Bytes IoFrameFeed::due(double nowMs) {
    if (unanswered_ >= kMaxUnanswered || waitMs(nowMs) > 0) {
        return {};
    }
    if (awaitingAnswer_ && opensSeen_) {
        ++unanswered_;
        if (unanswered_ >= kMaxUnanswered) {
            log("IO no answer to " + std::to_string(kMaxUnanswered) +
                " frames: paused until the line is opened again");
            return {};
        }
    }
    lastSent_ = nowMs;
    awaitingAnswer_ = mode_ != MonitorMode::Split;
    return nextFrame(nowMs);
}

void IoFrameFeed::setPattern(std::vector<Bytes> steps, double stepMs) {
    pattern_ = std::move(steps);
    stepMs_ = stepMs;
}

Bytes IoFrameFeed::inputData(std::size_t n, double nowMs) {
    Bytes b(n);
    if (pattern_.empty()) {
        // Input data that visibly changes: a running counter, then its neighbours.
        for (std::size_t i = 0; i < n; ++i) {
            b[i] = static_cast<std::uint8_t>(counter_ + i);
        }
        return b;
    }
    if (stepSince_ < 0) {
        stepSince_ = nowMs;
    } else if (stepSeen_ && nowMs - stepSince_ >= stepMs_) {
        patternStep_ = (patternStep_ + 1) % pattern_.size();
        stepSince_ = nowMs;
        stepSeen_ = false;
        log("IO pattern step " + std::to_string(patternStep_ + 1));
    }
    const Bytes& step = pattern_[patternStep_];
    std::copy_n(step.begin(), std::min(n, step.size()), b.begin());
    stepSent_ = true;
    // Without answers, a frame sent is all the monitor can be given.
    stepSeen_ = stepSeen_ || mode_ == MonitorMode::Split;
    return b;
}

Bytes IoFrameFeed::nextFrame(double nowMs) {
    ++counter_;
    stepSent_ = false;
    auto input = [this, nowMs](std::size_t n) { return inputData(n, nowMs); };
    Bytes f;
    switch (mode_) {
    case MonitorMode::Fixed:
        f = {kCodeBuffer16, static_cast<std::uint8_t>(kImageSize)};
        for (std::uint8_t b : input(kImageSize)) {
            f.push_back(b);
        }
        break;
    case MonitorMode::Addressed: {
        // Input and output buffer in turn; the output shows what the monitor wrote.
        const bool out = (step_++ % 2) == 1;
        f = {kCodeBuffer16, kAddressedLength, static_cast<std::uint8_t>(out ? 1 : 0)};
        const Bytes data = out ? Bytes(output_.begin(), output_.end()) : input(kImageSize);
        f.insert(f.end(), data.begin(), data.end());
        break;
    }
    case MonitorMode::Split: {
        // A whole 48-byte input frame, then the 112-byte output buffer in two parts.
        const int s = step_++ % 3;
        if (s == 0) {
            f = {kSplitInput, kSplitWhole};
            const Bytes data = input(kSplitWhole);
            f.insert(f.end(), data.begin(), data.end());
        } else {
            f = {kSplitOutput, kSplitPart, static_cast<std::uint8_t>(s - 1)};
            for (std::size_t i = 0; i < 56; ++i) {
                const std::size_t at = static_cast<std::size_t>(s - 1) * 56 + i;
                f.push_back(at < kImageSize ? output_[at] : 0);
            }
        }
        break;
    }
    case MonitorMode::None:
        break;
    }
    return sealed(std::move(f));
}

void IoFrameFeed::onAnswer(const Bytes& frame, double /*nowMs*/) {
    awaitingAnswer_ = false;
    stepSeen_ = stepSeen_ || stepSent_;
    unanswered_ = 0;
    const std::uint8_t len = frame[1];
    if (len == 0) {
        return; // a poll: nothing to write
    }
    if (mode_ == MonitorMode::Fixed) {
        if (len != kImageSize) {
            log("IO output image of " + std::to_string(len) + " bytes refused");
            return;
        }
        std::copy_n(frame.begin() + 2, kImageSize, output_.begin());
        log("IO OUT image " + hexText(output_.data(), output_.size()));
        return;
    }
    if (mode_ == MonitorMode::Addressed) {
        // code, n + 2, start, n, n bytes, checksum
        const std::size_t n = frame.size() >= 5 ? frame[3] : 0;
        if (len < 2 || n + 2 != len) {
            log("IO addressed output with a wrong length refused");
            return;
        }
        const std::size_t start = frame[2];
        const std::uint8_t* data = frame.data() + 4;
        log("IO OUT start " + std::to_string(start) + " data " + hexText(data, n));
        if (start + n > kImageSize) {
            log("IO output beyond the " + std::to_string(kImageSize) +
                "-byte buffer: the bytes beyond it are dropped");
        }
        for (std::size_t i = 0; i < n && start + i < kImageSize; ++i) {
            output_[start + i] = data[i];
        }
        return;
    }
    log("IO answer not expected in the split protocol: ignored");
}

void IoFrameFeed::onTransferFrame(double nowMs) {
    holdUntil_ = nowMs + kTransferHoldMs;
    awaitingAnswer_ = false;
    unanswered_ = 0;
}

void IoFrameFeed::onPurge(double nowMs) {
    holdUntil_ = std::max(holdUntil_, nowMs + kOpenHoldMs);
    awaitingAnswer_ = false;
    unanswered_ = 0;
}

} // namespace torvane::sim
