#include "gateway_image.h"

#include "model/atomic_file.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

namespace torvane::sim {
namespace {

constexpr int kKindOrder[4] = {1, 3, 2, 4}; // Upload SDO, TPDO, Download SDO, RPDO

// Compatible-format slot ranges by kind (first slot, capacity).
struct SlotRange {
    int first;
    int capacity;
};
SlotRange compatibleRange(int kind) {
    switch (kind) {
    case 1:
        return {0, 28};
    case 3:
        return {28, 14};
    case 2:
        return {42, 28};
    default:
        return {70, 14};
    }
}

bool isPdo(int kind) {
    return kind == 3 || kind == 4;
}

std::uint32_t le16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t le24(const Bytes& b, std::size_t at) {
    return le16(b, at) | (static_cast<std::uint32_t>(b[at + 2]) << 16);
}
std::uint32_t le32(const Bytes& b, std::size_t at) {
    return le24(b, at) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v);
    put16(b, at + 2, v >> 16);
}

int recordSize(int format) {
    return format == kFormatNew ? 13 : 6;
}

// Where record slot s lies: frame index into the 13-frame list and byte offset in it.
std::pair<std::size_t, std::size_t> slotPlace(int format, int s) {
    return {static_cast<std::size_t>(1 + s / 7),
            static_cast<std::size_t>(2 + recordSize(format) * (s % 7))};
}

SimRecord readRecord(int format, int kind, const Bytes& f, std::size_t at) {
    SimRecord r;
    r.kind = kind;
    if (format == kFormatNew) {
        r.bytes = f[at];
        r.node = f[at + 1];
        r.mapping = le32(f, at + 2);
        if (isPdo(kind)) {
            r.cobId = le32(f, at + 6);
        } else {
            r.index = le16(f, at + 10);
            r.subIndex = f[at + 12];
        }
    } else if (format == kFormatCompatible) {
        if (isPdo(kind)) {
            r.cobId = le24(f, at);
        } else {
            r.index = le16(f, at);
            r.subIndex = f[at + 2];
        }
        r.node = f[at + 3];
        r.bytes = f[at + 4];
        r.mapping = f[at + 5];
    } else {
        r.cobId = le32(f, at);
        r.bytes = f[at + 4];
        r.mapping = f[at + 5];
    }
    return r;
}

void writeRecord(int format, const SimRecord& r, Bytes& f, std::size_t at) {
    if (format == kFormatNew) {
        f[at] = static_cast<std::uint8_t>(r.bytes);
        f[at + 1] = static_cast<std::uint8_t>(r.node);
        put32(f, at + 2, r.mapping);
        if (isPdo(r.kind)) {
            put32(f, at + 6, r.cobId);
        } else {
            put16(f, at + 10, r.index);
            f[at + 12] = static_cast<std::uint8_t>(r.subIndex);
        }
    } else if (format == kFormatCompatible) {
        if (isPdo(r.kind)) {
            put16(f, at, r.cobId);
            f[at + 2] = static_cast<std::uint8_t>(r.cobId >> 16);
        } else {
            put16(f, at, r.index);
            f[at + 2] = static_cast<std::uint8_t>(r.subIndex);
        }
        f[at + 3] = static_cast<std::uint8_t>(r.node);
        f[at + 4] = static_cast<std::uint8_t>(r.bytes);
        f[at + 5] = static_cast<std::uint8_t>(r.mapping);
    } else {
        put32(f, at, r.cobId);
        f[at + 4] = static_cast<std::uint8_t>(r.bytes);
        f[at + 5] = static_cast<std::uint8_t>(r.mapping);
    }
}

// The slots a download of `format` uses for `counts` (kind -> count), in slot order.
std::vector<std::pair<int, int>> usedSlots(int format, const int counts[5]) {
    std::vector<std::pair<int, int>> slots; // (slot, kind)
    if (format == kFormatNew) {
        int s = 0;
        for (int kind : kKindOrder) {
            for (int i = 0; i < counts[kind] && s < kSlots; ++i) {
                slots.emplace_back(s++, kind);
            }
        }
    } else if (format == kFormatCompatible) {
        for (int kind : kKindOrder) {
            const SlotRange r = compatibleRange(kind);
            for (int i = 0; i < std::min(counts[kind], r.capacity); ++i) {
                slots.emplace_back(r.first + i, kind);
            }
        }
    } else {
        for (int i = 0; i < std::min(counts[3], 42); ++i) {
            slots.emplace_back(i, 3);
        }
        for (int i = 0; i < std::min(counts[4], 42); ++i) {
            slots.emplace_back(42 + i, 4);
        }
    }
    return slots;
}

Bytes frameOf(std::uint8_t op, std::size_t length, std::uint8_t number) {
    Bytes f(length, 0);
    f[0] = op;
    f[1] = static_cast<std::uint8_t>(length - 3);
    f[length - 3] = 0x0D;
    f[length - 2] = number;
    return f;
}

void seal(Bytes& f) {
    f.back() = checksum(f.data(), f.size() - 1);
}

std::vector<SimRecord> recordsOfKind(const GatewayImage& image, int kind) {
    std::vector<SimRecord> out;
    for (const SimRecord& r : image.records) {
        if (r.kind == kind) {
            out.push_back(r);
        }
    }
    return out;
}

Bytes encodeData(const GatewayImage& image, int format, std::uint8_t op, int n) {
    const std::size_t length = static_cast<std::size_t>(dataFrameLength(format));
    std::vector<Bytes> frames(kDataFrames + 1);
    frames[static_cast<std::size_t>(n - 1)] = frameOf(op, length, static_cast<std::uint8_t>(n));
    int counts[5] = {};
    for (int kind = 1; kind <= 4; ++kind) {
        counts[kind] = image.count(kind);
    }
    std::vector<std::size_t> next(5, 0);
    for (auto [slot, kind] : usedSlots(format, counts)) {
        const auto records = recordsOfKind(image, kind);
        const SimRecord& r = records[next[static_cast<std::size_t>(kind)]++];
        auto [fi, at] = slotPlace(format, slot);
        if (fi == static_cast<std::size_t>(n - 1)) {
            writeRecord(format, r, frames[fi], at);
        }
    }
    Bytes f = frames[static_cast<std::size_t>(n - 1)];
    seal(f);
    return f;
}

} // namespace

int GatewayImage::count(int kind) const {
    return static_cast<int>(std::count_if(records.begin(), records.end(),
                                          [&](const SimRecord& r) { return r.kind == kind; }));
}

GatewayImage factoryImage(SimModel model) {
    GatewayImage image;
    if (model == SimModel::Slave) {
        image.format = kFormatSlaveNew;
        image.nodeId = 1;
    }
    return image;
}

int headerFormat(SimModel model, std::uint8_t lengthByte, bool oldFirmware, int& format) {
    if (model == SimModel::Master && lengthByte == 0x0F) {
        format = kFormatCompatible;
        return 18;
    }
    if (model == SimModel::Master && lengthByte == 0x23 && !oldFirmware) {
        format = kFormatNew;
        return 38;
    }
    if (model == SimModel::Slave && lengthByte == 0x0A) {
        format = oldFirmware ? kFormatSlaveOld : kFormatSlaveNew;
        return 13;
    }
    return 0;
}

int dataFrameLength(int format) {
    return format == kFormatNew ? 96 : 47;
}

bool decodeDownload(SimModel model, int format, const std::vector<Bytes>& frames,
                    GatewayImage& image, std::string& error) {
    if (frames.size() != kDataFrames + 1) {
        error = "a download needs a header and twelve data frames";
        return false;
    }
    GatewayImage out = factoryImage(model);
    out.format = format;
    const Bytes& h = frames[0];
    int counts[5] = {};
    if (format == kFormatCompatible) {
        out.ioCode = h[2] == 0 ? 3 : h[2] == 1 ? 1 : 0xFF;
        out.nodeId = h[3];
        out.baud = static_cast<std::uint16_t>(le16(h, 4));
        out.clearTime = h[6];
        out.sdoTimeout = h[7];
        out.nmt = h[8];
        out.delayStart = h[9];
        out.sync = h[10];
        counts[1] = h[11];
        counts[3] = h[12];
        counts[2] = h[13];
        counts[4] = h[14];
    } else if (format == kFormatNew) {
        out.ioCode = h[2];
        out.nodeId = h[3];
        out.baud = static_cast<std::uint16_t>(le16(h, 4));
        out.clearTime = static_cast<std::uint16_t>(le16(h, 6));
        out.sdoTimeout = static_cast<std::uint16_t>(le16(h, 8));
        out.nmt = h[10];
        out.delayStart = static_cast<std::uint16_t>(le16(h, 11));
        out.sync = static_cast<std::uint16_t>(le16(h, 13));
        counts[1] = h[15];
        counts[3] = h[16];
        counts[2] = h[17];
        counts[4] = h[18];
        out.controlMonitor = h[19];
        out.errorControl = static_cast<std::uint16_t>(le16(h, 20));
        out.rpdoCycle = static_cast<std::uint16_t>(le16(h, 23));
        out.outputProcessing = h[25];
        out.sdoCycle = static_cast<std::uint16_t>(le16(h, 26));
        if (h[22] != static_cast<std::uint8_t>(h[15] + h[16] + h[17] + h[18])) {
            error = "header byte 22 is not the sum of the four counts";
            return false;
        }
        if (std::any_of(h.begin() + 28, h.begin() + 35, [](std::uint8_t b) { return b != 0; })) {
            error = "header bytes 28..34 are not zero";
            return false;
        }
    } else {
        out.ioCode = h[2];
        out.nodeId = h[3];
        out.baud = static_cast<std::uint16_t>(le16(h, 4));
        out.clearTime = h[6];
        out.delayStart = h[7];
        counts[3] = h[8];
        counts[4] = h[9];
    }

    // Every record byte outside the announced slots must be zero.
    const int rs = recordSize(format);
    std::vector<bool> used(kSlots, false);
    for (auto [slot, kind] : usedSlots(format, counts)) {
        auto [fi, at] = slotPlace(format, slot);
        out.records.push_back(readRecord(format, kind, frames[fi], at));
        used[static_cast<std::size_t>(slot)] = true;
    }
    for (int s = 0; s < kSlots; ++s) {
        if (used[static_cast<std::size_t>(s)]) {
            continue;
        }
        auto [fi, at] = slotPlace(format, s);
        const Bytes& f = frames[fi];
        if (std::any_of(f.begin() + static_cast<long>(at), f.begin() + static_cast<long>(at) + rs,
                        [](std::uint8_t b) { return b != 0; })) {
            error = "record slot " + std::to_string(s) + " holds data beyond the announced counts";
            return false;
        }
    }
    // The packed new format and the slave layout keep the kinds grouped in wire order already;
    // the compatible ranges do too.
    std::stable_sort(out.records.begin(), out.records.end(),
                     [](const SimRecord& a, const SimRecord& b) {
                         auto rank = [](int k) { return k == 1 ? 0 : k == 3 ? 1 : k == 2 ? 2 : 3; };
                         return rank(a.kind) < rank(b.kind);
                     });
    out.downloadFrames = frames;
    image = std::move(out);
    return true;
}

bool decodeOptions(const Bytes& frame, GatewayImage& image) {
    if (frame.size() != 18) {
        return false;
    }
    image.optionsReceived = true;
    image.sdoConcurrent = frame[2];
    image.sdoRetries = frame[3];
    image.pollDelay = static_cast<std::uint16_t>(le16(frame, 4));
    image.optionsFrame = frame;
    return true;
}

Bytes encodeMasterUpload(const GatewayImage& image, int format, int n) {
    if (n >= 2) {
        return encodeData(image, format, 0x01, n);
    }
    const int c1 = image.count(1);
    const int c3 = image.count(3);
    const int c2 = image.count(2);
    const int c4 = image.count(4);
    if (format == kFormatCompatible) {
        Bytes h = frameOf(0x01, 18, 1);
        h[2] = image.ioCode == 3 ? 0 : image.ioCode == 1 ? 1 : 0xFF;
        h[3] = image.nodeId;
        put16(h, 4, image.baud);
        h[6] = static_cast<std::uint8_t>(image.clearTime);
        h[7] = static_cast<std::uint8_t>(image.sdoTimeout);
        h[8] = image.nmt;
        h[9] = static_cast<std::uint8_t>(image.delayStart);
        h[10] = static_cast<std::uint8_t>(image.sync);
        h[11] = static_cast<std::uint8_t>(std::min(c1, 28));
        h[12] = static_cast<std::uint8_t>(std::min(c3, 14));
        h[13] = static_cast<std::uint8_t>(std::min(c2, 28));
        h[14] = static_cast<std::uint8_t>(std::min(c4, 14));
        seal(h);
        return h;
    }
    Bytes h = frameOf(0x01, 38, 1);
    h[2] = image.ioCode;
    h[3] = image.nodeId;
    put16(h, 4, image.baud);
    put16(h, 6, image.clearTime);
    put16(h, 8, image.sdoTimeout);
    h[10] = image.nmt;
    put16(h, 11, image.delayStart);
    put16(h, 13, image.sync);
    h[15] = static_cast<std::uint8_t>(c1);
    h[16] = static_cast<std::uint8_t>(c3);
    h[17] = static_cast<std::uint8_t>(c2);
    h[18] = static_cast<std::uint8_t>(c4);
    h[19] = image.controlMonitor;
    put16(h, 20, image.errorControl);
    h[22] = static_cast<std::uint8_t>(c1 + c2 + c3 + c4);
    put16(h, 23, image.rpdoCycle);
    h[25] = image.outputProcessing;
    put16(h, 26, image.sdoCycle);
    seal(h);
    return h;
}

Bytes encodeSlaveUpload(const GatewayImage& image, int n) {
    if (n >= 2) {
        return encodeData(image, kFormatSlaveNew, 0x03, n);
    }
    Bytes h = frameOf(0x03, 13, 1);
    h[2] = image.ioCode;
    h[3] = image.nodeId;
    put16(h, 4, image.baud);
    h[6] = static_cast<std::uint8_t>(image.clearTime);
    h[7] = static_cast<std::uint8_t>(image.delayStart);
    h[8] = static_cast<std::uint8_t>(std::min(image.count(3), 42));
    h[9] = static_cast<std::uint8_t>(std::min(image.count(4), 42));
    seal(h);
    return h;
}

Bytes encodeOptionsReply(const GatewayImage& image) {
    Bytes f(18, 0);
    f[0] = 0x06;
    f[1] = 0x0F;
    f[2] = image.sdoConcurrent;
    f[3] = image.sdoRetries;
    put16(f, 4, image.pollDelay);
    seal(f);
    return f;
}

std::string describeImage(const GatewayImage& image) {
    std::ostringstream os;
    os << "format " << image.format << ", buffer code " << int{image.ioCode} << ", node "
       << int{image.nodeId} << ", baud code " << image.baud << ", " << image.count(1)
       << " Upload SDO, " << image.count(3) << " TPDO, " << image.count(2) << " Download SDO, "
       << image.count(4) << " RPDO";
    return os.str();
}

std::uint8_t checksum(const std::uint8_t* bytes, std::size_t length) {
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < length; ++i) {
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    }
    return sum;
}

std::string hexText(const std::uint8_t* bytes, std::size_t length) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(length * 3);
    for (std::size_t i = 0; i < length; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
        out += ' ';
    }
    return out;
}

namespace {

const char* modelName(SimModel model) {
    return model == SimModel::Master ? "master" : "slave";
}

bool parseHex(const std::string& text, Bytes& out) {
    std::istringstream is(text);
    std::string tok;
    out.clear();
    while (is >> tok) {
        if (tok.size() != 2) {
            return false;
        }
        unsigned v = 0;
        if (std::sscanf(tok.c_str(), "%2x", &v) != 1) {
            return false;
        }
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return true;
}

} // namespace

bool saveStore(const std::string& path, SimModel model, const GatewayImage& image,
               std::string& error) {
    std::ostringstream os;
    os << "torvane-gatewaysim store 1\nmodel " << modelName(model) << "\nformat " << image.format
       << '\n';
    for (const Bytes& f : image.downloadFrames) {
        os << "frame " << hexText(f.data(), f.size()) << '\n';
    }
    if (image.optionsReceived) {
        os << "options " << hexText(image.optionsFrame.data(), image.optionsFrame.size()) << '\n';
    }
    Message why;
    if (!writeFileAtomically(path, os.str(), why)) {
        error = why.english();
        return false;
    }
    return true;
}

bool loadStore(const std::string& path, SimModel model, GatewayImage& image, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        return true; // nothing stored yet
    }
    std::string bytes;
    if (Message why; !readWholeFile(path, bytes, why)) {
        error = why.english();
        return false;
    }
    std::istringstream in(bytes);
    auto fail = [&](const std::string& why) {
        error = path + ": " + why;
        return false;
    };
    std::string line;
    if (!std::getline(in, line) || line != "torvane-gatewaysim store 1") {
        return fail("not a gateway simulator store file");
    }
    int format = -1;
    std::vector<Bytes> frames;
    Bytes options;
    while (std::getline(in, line)) {
        const auto sp = line.find(' ');
        const std::string key = line.substr(0, sp);
        const std::string rest = sp == std::string::npos ? "" : line.substr(sp + 1);
        if (key == "model") {
            if (rest != modelName(model)) {
                return fail("holds a " + rest + " configuration, but the model is " +
                            modelName(model));
            }
        } else if (key == "format") {
            format = std::atoi(rest.c_str());
        } else if (key == "frame" || key == "options") {
            Bytes b;
            if (!parseHex(rest, b)) {
                return fail("bad hex in line '" + line.substr(0, 40) + "'");
            }
            (key == "frame" ? frames.emplace_back() : options) = b;
        } else if (!key.empty()) {
            return fail("unknown line '" + line.substr(0, 40) + "'");
        }
    }
    if (frames.empty()) {
        return true;
    }
    const bool knownFormat = model == SimModel::Master
                                 ? (format == kFormatCompatible || format == kFormatNew)
                                 : (format == kFormatSlaveOld || format == kFormatSlaveNew);
    if (!knownFormat || frames.size() != kDataFrames + 1) {
        return fail("incomplete or unknown download");
    }
    int f2 = 0;
    const std::size_t headerLength = static_cast<std::size_t>(
        frames[0].size() >= 2 ? headerFormat(model, frames[0][1], false, f2) : 0);
    if (headerLength == 0 || frames[0].size() != headerLength) {
        return fail("bad header frame");
    }
    for (std::size_t i = 1; i < frames.size(); ++i) {
        if (frames[i].size() != static_cast<std::size_t>(dataFrameLength(format))) {
            return fail("bad data frame " + std::to_string(i + 1));
        }
    }
    GatewayImage loaded;
    if (!decodeDownload(model, format, frames, loaded, error)) {
        return fail(error);
    }
    if (!options.empty() && !decodeOptions(options, loaded)) {
        return fail("bad options frame");
    }
    image = std::move(loaded);
    return true;
}

} // namespace torvane::sim
