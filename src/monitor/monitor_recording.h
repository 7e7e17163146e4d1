#pragma once

#include "monitor/command_monitor.h"

#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace torvane {

// The monitor's recording: a CSV file of one line per frame (local time, the value of every
// command, optionally the frame in hex), written as it goes and flushed at least every second,
// so a crash leaves every line written until the last flush readable.
class MonitorRecording {
public:
    static constexpr long long kFlushEveryMs = 1000;

    MonitorRecording() = default;
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;
    ~MonitorRecording();

    // Creates `path` (replacing a file there) with the header line: "Time", one column per row,
    // then "Input frame" and "Output frame" when `rawFrames`. Returns false with the message in
    // `error`; nothing is recorded then.
    bool open(const std::string& path, std::span<const CommandRow> rows, bool rawFrames,
              Message& error);
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }

    // One line after `frame` was decoded into `rows`; commands are found by their column, so
    // the configuration may change while recording (a command that left it stays empty).
    void addLine(const LocalStamp& at, std::span<const CommandRow> rows, const MonitorFrame& frame,
                 long long nowMs);
    // Writes what is pending. Returns false with the message once writing failed.
    bool flush(Message& error);
    // Flushes and closes. Returns false with the message when anything could not be written.
    bool close(Message& error);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
    bool rawFrames_ = false;
    bool failed_ = false;
    std::vector<std::string> columns_;
    std::string pending_;
    long long lastFlushMs_ = -1;
};

// A CSV field: quoted when it holds a comma, a quote or a line end.
std::string csvField(const std::string& text);

// A command's value in a recording: the unsigned value up to 8 bytes, else the bytes in hex;
// empty while its bytes were not received.
std::string recordedValue(const CommandRow& row);

} // namespace torvane
