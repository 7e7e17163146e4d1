#pragma once

#include "gateway_image.h"
#include "io_frames.h"
#include "sim_options.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace torvane::sim {

// The simulated gateway's protocol engine: frames bytes from the line, answers them and keeps the
// downloaded configuration. Toolkit- and OS-free so the loop around it stays small.
class GatewaySim {
public:
    using LogFn = std::function<void(const std::string&)>;

    GatewaySim(SimOptions options, GatewayImage stored, LogFn log);

    // Feeds bytes that arrived at `nowMs`; returns the bytes to send back (possibly none).
    Bytes onBytes(const std::uint8_t* data, std::size_t length, double nowMs);

    // Called when the line is quiet; drops a partial frame older than the frame gap.
    void onIdle(double nowMs);

    // Routes the monitor's answers (code 0) to `feed` and tells it of every transfer frame.
    void setIoFrameFeed(IoFrameFeed* feed) { feed_ = feed; }

private:
    Bytes handleFrame(const Bytes& frame, long number);
    Bytes identificationReply() const;
    Bytes downloadFrame(const Bytes& frame, std::string& note);
    Bytes masterUpload(const Bytes& frame, std::string& note);
    Bytes slaveUpload(std::string& note);
    std::uint8_t storedFormatByte() const;
    void commit(GatewayImage image);
    void log(const std::string& line) const;

    SimOptions opt_;
    IoFrameFeed* feed_ = nullptr;
    double now_ = 0;
    GatewayImage image_;
    LogFn log_;
    Bytes rx_;
    double rxSince_ = 0;
    long frameCount_ = 0;

    // Download in progress.
    int pendingFormat_ = -1;
    std::vector<Bytes> pending_;
    // TAVO20S upload: the same request twelve times, so the position is kept here.
    int slaveCursor_ = 1;
};

} // namespace torvane::sim
