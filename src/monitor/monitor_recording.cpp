#include "monitor/monitor_recording.h"

#include "comm/serial_link.h"
#include "model/strings.h"

#include <cerrno>
#include <cstring>

namespace torvane {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + '"';
}

std::string recordedValue(const CommandRow& row) {
    if (!row.received) {
        return {};
    }
    return row.unsignedText.empty() ? row.rawText : row.unsignedText;
}

MonitorRecording::~MonitorRecording() {
    Message ignored;
    close(ignored);
}

bool MonitorRecording::open(const std::string& path, std::span<const CommandRow> rows,
                            bool rawFrames, Message& error) {
    Message ignored;
    close(ignored);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        error = Message(str::FileCannotSave, path, std::strerror(errno));
        return false;
    }
    file_ = f;
    path_ = path;
    rawFrames_ = rawFrames;
    failed_ = false;
    columns_.clear();
    pending_ = "Time";
    for (const CommandRow& r : rows) {
        columns_.push_back(r.header);
        pending_ += ',' + csvField(r.header);
    }
    if (rawFrames_) {
        pending_ += ",Input frame,Output frame";
    }
    pending_ += "\r\n";
    lastFlushMs_ = -1;
    return flush(error);
}

void MonitorRecording::addLine(const LocalStamp& at, std::span<const CommandRow> rows,
                               const MonitorFrame& frame, long long nowMs) {
    if (file_ == nullptr) {
        return;
    }
    pending_ += iso8601(at);
    const bool sameRows = rows.size() == columns_.size();
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const CommandRow* row = nullptr;
        if (sameRows && rows[c].header == columns_[c]) {
            row = &rows[c];
        } else {
            for (const CommandRow& r : rows) {
                if (r.header == columns_[c]) {
                    row = &r;
                    break;
                }
            }
        }
        pending_ += ',';
        if (row != nullptr) {
            pending_ += csvField(recordedValue(*row));
        }
    }
    if (rawFrames_) {
        std::string hex = FormatHex(frame.bytes);
        if (!hex.empty()) {
            hex.pop_back();
        }
        pending_ += frame.output ? ",," + hex : "," + hex + ",";
    }
    pending_ += "\r\n";
    if (lastFlushMs_ < 0 || nowMs - lastFlushMs_ >= kFlushEveryMs) {
        Message ignored;
        flush(ignored);
        lastFlushMs_ = nowMs;
    }
}

bool MonitorRecording::flush(Message& error) {
    if (file_ == nullptr) {
        return true;
    }
    if (!failed_ && !pending_.empty()) {
        failed_ = std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size() ||
                  std::fflush(file_) != 0;
    }
    pending_.clear();
    if (failed_) {
        error = Message(str::FileCannotSave, path_, std::strerror(errno));
    }
    return !failed_;
}

bool MonitorRecording::close(Message& error) {
    if (file_ == nullptr) {
        return true;
    }
    bool ok = flush(error);
    if (std::fclose(file_) != 0 && ok) {
        error = Message(str::FileCannotSave, path_, std::strerror(errno));
        ok = false;
    }
    file_ = nullptr;
    return ok;
}

} // namespace torvane
