#include "gateway_sim.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace torvane::sim {
namespace {

// A frame whose bytes stop arriving for this long is dropped; the PC writes a frame in one call.
constexpr double kFrameGapMs = 300;
// The longest frame either side sends (a new-format data frame).
constexpr std::uint8_t kMaxBodyLength = 0x5D;

bool knownOperation(std::uint8_t op) {
    switch (op) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x06:
    case 0x07:
    case 0xFC:
    case 0xFE:
        return true;
    default:
        return false;
    }
}

std::string hex(const Bytes& b) {
    return hexText(b.data(), b.size());
}

} // namespace

GatewaySim::GatewaySim(SimOptions options, GatewayImage stored, LogFn log)
    : opt_(std::move(options)), image_(std::move(stored)), log_(std::move(log)) {}

void GatewaySim::log(const std::string& line) const {
    if (log_) {
        log_(line);
    }
}

void GatewaySim::onIdle(double nowMs) {
    if (!rx_.empty() && nowMs - rxSince_ > kFrameGapMs) {
        log("RX incomplete frame dropped: " + hex(rx_));
        rx_.clear();
    }
}

Bytes GatewaySim::onBytes(const std::uint8_t* data, std::size_t length, double nowMs) {
    onIdle(nowMs);
    now_ = nowMs;
    if (rx_.empty()) {
        rxSince_ = nowMs;
    }
    rx_.insert(rx_.end(), data, data + length);
    Bytes out;
    while (!rx_.empty()) {
        const bool ioAnswer = feed_ != nullptr && rx_[0] == 0x00;
        if (!ioAnswer &&
            (!knownOperation(rx_[0]) || (rx_.size() >= 2 && rx_[1] > kMaxBodyLength))) {
            log("RX unexpected byte " + hexText(rx_.data(), 1) + "skipped");
            rx_.erase(rx_.begin());
            rxSince_ = nowMs;
            continue;
        }
        if (rx_.size() < 2 || rx_.size() < static_cast<std::size_t>(rx_[1]) + 3) {
            break;
        }
        const std::size_t n = static_cast<std::size_t>(rx_[1]) + 3;
        Bytes frame(rx_.begin(), rx_.begin() + static_cast<long>(n));
        rx_.erase(rx_.begin(), rx_.begin() + static_cast<long>(n));
        rxSince_ = nowMs;
        if (feed_ != nullptr && !ioAnswer) {
            feed_->onTransferFrame(nowMs);
        }
        const Bytes reply = handleFrame(frame, ++frameCount_);
        out.insert(out.end(), reply.begin(), reply.end());
    }
    return out;
}

Bytes GatewaySim::handleFrame(const Bytes& frame, long number) {
    const std::string tag = "#" + std::to_string(number) + " ";
    log("RX " + tag + hex(frame));
    if (opt_.silent) {
        log("   " + tag + "not answered (silent)");
        return {};
    }
    if (opt_.dropFrames.count(number) != 0) {
        log("   " + tag + "dropped (injected fault)");
        return {};
    }
    if (checksum(frame.data(), frame.size() - 1) != frame.back()) {
        log("   " + tag + "bad checksum, not answered");
        return {};
    }
    if (feed_ != nullptr && frame[0] == 0x00) {
        feed_->onAnswer(frame, now_);
        return {};
    }
    std::string note;
    Bytes reply;
    const std::uint8_t op = frame[0];
    const std::uint8_t len = frame[1];
    if (op == 0xFE && len == 0) {
        pending_.clear();
        pendingFormat_ = -1;
        slaveCursor_ = 1;
        note = "identification";
        reply = identificationReply();
    } else if (op == 0xFC && len == 0 && opt_.model == SimModel::Master) {
        note = "stored-format query";
        reply = {0xFC, 0x02, 0x00, storedFormatByte(), 0};
        reply.back() = checksum(reply.data(), 4);
    } else if (op == 0x02) {
        reply = downloadFrame(frame, note);
    } else if (op == 0x07 && len == 0x0F && opt_.model == SimModel::Master) {
        const bool expected = !opt_.oldFirmware && opt_.firmwareMajor >= 5 &&
                              opt_.firmwareMinor >= 2 &&
                              !(opt_.firmwareMajor == 255 && opt_.firmwareMinor == 255);
        if (!expected) {
            note = "SDO options frame, not expected from this firmware: not answered";
        } else {
            GatewayImage updated = image_;
            decodeOptions(frame, updated);
            commit(std::move(updated));
            note = "SDO options: concurrent " + std::to_string(image_.sdoConcurrent) +
                   ", retries byte " + std::to_string(image_.sdoRetries) + ", poll delay " +
                   std::to_string(image_.pollDelay);
            reply = {0x07, 0x02, 0x01, 0x01, 0x0B};
        }
    } else if (op == 0x01 && opt_.model == SimModel::Master) {
        reply = masterUpload(frame, note);
    } else if (op == 0x03 && opt_.model == SimModel::Slave && frame == Bytes{3, 2, 1, 1, 7}) {
        reply = slaveUpload(note);
    } else if (op == 0x06 && opt_.model == SimModel::Master && frame == Bytes{6, 2, 1, 1, 0x0A}) {
        note = "SDO options request";
        reply = encodeOptionsReply(image_);
    } else {
        note = "not a request of this model: not answered";
    }
    log("   " + tag + note);
    if (!reply.empty() && opt_.badAckFrames.count(number) != 0) {
        reply[0] = static_cast<std::uint8_t>(~reply[0]);
        reply.back() = checksum(reply.data(), reply.size() - 1);
        log("   " + tag + "reply corrupted (injected fault)");
    }
    if (const auto flip = opt_.flipBits.find(number);
        !reply.empty() && flip != opt_.flipBits.end()) {
        const std::size_t at =
            std::min(static_cast<std::size_t>(flip->second.first), reply.size() - 1);
        reply[at] = static_cast<std::uint8_t>(reply[at] ^ (1u << flip->second.second));
        log("   " + tag + "bit " + std::to_string(flip->second.second) + " of byte " +
            std::to_string(at) + " flipped (injected fault)");
    }
    if (!reply.empty()) {
        log("TX " + tag + hex(reply));
    }
    return reply;
}

Bytes GatewaySim::identificationReply() const {
    Bytes r(11, 0);
    r[0] = 0xFE;
    if (opt_.oldFirmware) {
        r.back() = checksum(r.data(), 10);
        return r;
    }
    r[1] = 0x08;
    r[2] = opt_.model == SimModel::Master ? 0x20 : 0x21;
    r[3] = opt_.model == SimModel::Slave ? storedFormatByte() : 0;
    r[4] = opt_.firmwareMajor;
    r[5] = opt_.firmwareMinor;
    r.back() = checksum(r.data(), 10);
    return r;
}

std::uint8_t GatewaySim::storedFormatByte() const {
    const bool slave = opt_.model == SimModel::Slave;
    switch (opt_.storedFormat) {
    case StoredFormat::Compatible:
        return slave ? 1 : 0;
    case StoredFormat::New:
        return slave ? 2 : 1;
    case StoredFormat::Raw:
        return opt_.storedFormatRaw;
    case StoredFormat::Auto:
        break;
    }
    if (slave) {
        return image_.format == kFormatSlaveOld ? 1 : 2;
    }
    return image_.format == kFormatCompatible ? 0 : 1;
}

Bytes GatewaySim::downloadFrame(const Bytes& frame, std::string& note) {
    const std::uint8_t len = frame[1];
    const std::uint8_t type = frame[frame.size() - 3];
    const std::uint8_t seq = frame[frame.size() - 2];
    int format = -1;
    if (headerFormat(opt_.model, len, opt_.oldFirmware, format) != 0) {
        if (type != 0x0D || seq != 1) {
            note = "download header without 0D 01 before the checksum: not answered";
            return {};
        }
        pendingFormat_ = format;
        pending_.assign(1, frame);
        note = "download header, format " + std::to_string(format);
    } else if (pendingFormat_ >= 0 &&
               frame.size() == static_cast<std::size_t>(dataFrameLength(pendingFormat_))) {
        const int expected = static_cast<int>(pending_.size()) + 1;
        if (type != 0x0D || seq != expected) {
            note = "data frame out of sequence (expected number " + std::to_string(expected) +
                   "): not answered";
            return {};
        }
        pending_.push_back(frame);
        note = "data frame " + std::to_string(seq);
        if (pending_.size() == kDataFrames + 1) {
            GatewayImage decoded;
            std::string error;
            if (!decodeDownload(opt_.model, pendingFormat_, pending_, decoded, error)) {
                note += ", configuration refused: " + error + "; not answered";
                pending_.clear();
                pendingFormat_ = -1;
                return {};
            }
            commit(std::move(decoded));
            note += "; configuration stored: " + describeImage(image_);
        }
    } else {
        note = "download frame not expected here: not answered";
        return {};
    }
    const int format0 = pendingFormat_;
    if (pending_.size() == kDataFrames + 1) {
        pending_.clear();
        pendingFormat_ = -1;
    }
    if (format0 == kFormatNew) {
        Bytes ack = {0x02, 0x02, 0x0D, seq, 0};
        ack[4] = checksum(ack.data(), 4);
        return ack;
    }
    return {0x02, 0x02, 0x01, 0x01, 0x06};
}

Bytes GatewaySim::masterUpload(const Bytes& frame, std::string& note) {
    if (frame.size() != 5 || (frame[2] != 0x01 && frame[2] != 0x0D) || frame[3] < 1 ||
        frame[3] > 13) {
        note = "unknown upload request: not answered";
        return {};
    }
    const int format = frame[2] == 0x01 ? kFormatCompatible : kFormatNew;
    if (format == kFormatNew && opt_.oldFirmware) {
        note = "new-format upload request to old firmware: not answered";
        return {};
    }
    note = std::string(format == kFormatNew ? "new" : "compatible") + " upload request " +
           std::to_string(frame[3]);
    return encodeMasterUpload(image_, format, frame[3]);
}

Bytes GatewaySim::slaveUpload(std::string& note) {
    const int n = slaveCursor_;
    slaveCursor_ = n == kDataFrames + 1 ? 1 : n + 1;
    note = "upload request, answered with frame " + std::to_string(n);
    return encodeSlaveUpload(image_, n);
}

void GatewaySim::commit(GatewayImage image) {
    image_ = std::move(image);
    if (opt_.storePath.empty()) {
        return;
    }
    std::string error;
    // The configuration is still served from memory when the store cannot be written.
    if (!saveStore(opt_.storePath, opt_.model, image_, error)) {
        log("   store not written: " + error);
    }
}

} // namespace torvane::sim
