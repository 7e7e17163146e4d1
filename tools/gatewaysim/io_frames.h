#pragma once

#include "gateway_image.h"
#include "sim_options.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace torvane::sim {

// The gateway's side of the I/O monitor: it sends I/O frames with changing input data and takes
// the output data the monitor answers with. Transfer frames on the same line pause the I/O frames,
// so a download or upload is never interleaved with them.
class IoFrameFeed {
public:
    using LogFn = std::function<void(const std::string&)>;

    static constexpr double kPeriodMs = 200;
    // Without an answer the frame goes out again after this long (fixed and addressed modes).
    static constexpr double kAnswerWaitMs = 1000;
    // I/O frames stay paused this long after the last transfer frame or a purge of the line.
    static constexpr double kTransferHoldMs = 3000;
    static constexpr double kOpenHoldMs = 500;
    // Unanswered frames after which nobody is taken to be listening; a purge (a new opener)
    // starts the frames again.
    static constexpr int kMaxUnanswered = 5;
    static constexpr std::size_t kImageSize = 16;

    // `opensSeen`: purges of the line are reported (a pseudo-terminal), so frames nobody answers
    // may pause until the next opener; on a real device they never pause.
    IoFrameFeed(MonitorMode mode, bool opensSeen, LogFn log);

    // Plays `steps` as the input values instead of the counter, in a loop. A step lasts
    // `stepMs` and, where the monitor answers, until it answered a frame carrying it, so a
    // monitor that reads every 500 ms sees every step.
    void setPattern(std::vector<Bytes> steps, double stepMs);

    // The next I/O frame when one is due at `nowMs`, else empty.
    Bytes due(double nowMs);
    // Milliseconds until due() may have something; the event loop waits at most this long.
    double waitMs(double nowMs) const;

    // A complete answer frame (code 0) from the monitor; its checksum was already checked.
    void onAnswer(const Bytes& frame, double nowMs);
    // A transfer frame arrived: the PC is downloading or uploading.
    void onTransferFrame(double nowMs);
    // The other side purged the line, as every program does when it opens the port.
    void onPurge(double nowMs);

private:
    Bytes nextFrame(double nowMs);
    Bytes inputData(std::size_t n, double nowMs);
    void log(const std::string& line) const;

    MonitorMode mode_;
    bool opensSeen_;
    LogFn log_;
    double lastSent_ = -1e9;
    double holdUntil_ = 0;
    bool awaitingAnswer_ = false;
    int unanswered_ = 0;
    int step_ = 0;
    std::uint8_t counter_ = 0;
    std::array<std::uint8_t, kImageSize> output_{};
    std::vector<Bytes> pattern_;
    double stepMs_ = 1000;
    std::size_t patternStep_ = 0;
    double stepSince_ = -1;
    bool stepSent_ = false; // a frame of the current step went out
    bool stepSeen_ = false; // ... and, where answers come, was answered
};

} // namespace torvane::sim
