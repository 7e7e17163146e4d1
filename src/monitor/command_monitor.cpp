#include "monitor/command_monitor.h"

#include "comm/serial_link.h"
#include "devices/pdo_objects.h"
#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_codec.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdio>

namespace torvane {
namespace {

std::string rangeText(long long first, long long count) {
    return count == 1 ? std::to_string(first)
                      : std::to_string(first) + ".." + std::to_string(first + count - 1);
}

std::string hex(unsigned value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, value);
    return buf;
}

std::string targetText(const CommandView& c) {
    if (c.isPdo()) {
        const auto id = static_cast<unsigned>(c.cobId.atLeastZero());
        return std::to_string(id) + " (" + hex(id, 3) + ")";
    }
    const auto index = static_cast<unsigned>(c.index.atLeastZero());
    const auto sub = static_cast<unsigned>(c.subIndex.atLeastZero());
    return std::to_string(index) + ":" + std::to_string(sub) + " (" + hex(index, 4) + ":" +
           hex(sub, 2) + ")";
}

// Bits [offset, offset + bits) of little-endian bytes, at most 64 of them.
std::uint64_t bitsOf(std::span<const std::uint8_t> raw, int offset, int bits) {
    std::uint64_t v = 0;
    for (int k = 0; k < bits && k < 64; ++k) {
        const int at = offset + k;
        if ((raw[static_cast<std::size_t>(at / 8)] >> (at % 8) & 1U) != 0) {
            v |= std::uint64_t{1} << k;
        }
    }
    return v;
}

std::int64_t signExtended(std::uint64_t v, int bits) {
    if (bits <= 0 || bits >= 64) {
        return static_cast<std::int64_t>(v);
    }
    const std::uint64_t sign = std::uint64_t{1} << (bits - 1);
    return static_cast<std::int64_t>((v ^ sign) - sign);
}

std::string objectValue(const ObjectRow& o, std::span<const std::uint8_t> raw) {
    if (o.dummy || o.bits <= 0 || o.bitOffset + o.bits > static_cast<int>(raw.size()) * 8) {
        return {};
    }
    if (o.bits > 64 || o.typeClass == DataTypeClass::Text || o.typeClass == DataTypeClass::Domain ||
        o.typeClass == DataTypeClass::Structure || o.typeClass == DataTypeClass::Time) {
        return o.bitOffset % 8 == 0 && o.bits % 8 == 0
                   ? FormatHex(raw.subspan(static_cast<std::size_t>(o.bitOffset / 8),
                                           static_cast<std::size_t>(o.bits / 8)))
                   : std::string();
    }
    const std::uint64_t v = bitsOf(raw, o.bitOffset, o.bits);
    char buf[40];
    if (o.typeClass == DataTypeClass::Real && o.bits == 32) {
        std::snprintf(buf, sizeof buf, "%g",
                      static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(v))));
        return buf;
    }
    if (o.typeClass == DataTypeClass::Real && o.bits == 64) {
        std::snprintf(buf, sizeof buf, "%g", std::bit_cast<double>(v));
        return buf;
    }
    if (o.typeClass == DataTypeClass::Signed) {
        return std::to_string(signExtended(v, o.bits));
    }
    return std::to_string(v);
}

void decodeValue(CommandRow& row, std::span<const std::uint8_t> raw) {
    row.raw.assign(raw.begin(), raw.end());
    row.rawText = FormatHex(raw);
    if (!row.rawText.empty()) {
        row.rawText.pop_back(); // FormatHex ends with a blank
    }
    if (raw.size() <= 8) {
        std::uint64_t v = 0;
        for (std::size_t i = raw.size(); i-- > 0;) {
            v = v << 8 | raw[i];
        }
        row.unsignedText = std::to_string(v);
        row.signedText = std::to_string(signExtended(v, static_cast<int>(raw.size()) * 8));
    } else {
        row.unsignedText.clear();
        row.signedText.clear();
    }
    for (ObjectRow& o : row.objects) {
        o.value = objectValue(o, raw);
    }
}

void clearValue(CommandRow& row) {
    row.raw.clear();
    row.rawText.clear();
    row.unsignedText.clear();
    row.signedText.clear();
    for (ObjectRow& o : row.objects) {
        o.value.clear();
    }
}

// Decodes `row` from its buffer's last frame; true when its value changed.
bool decodeRow(CommandRow& row, const std::vector<std::uint8_t>& buffer, bool seen) {
    if (!seen) {
        return false;
    }
    const auto end = static_cast<std::size_t>(row.address) + static_cast<std::size_t>(row.bytes);
    row.beyond = end > buffer.size();
    if (row.beyond) {
        const bool had = row.received;
        row.received = false;
        clearValue(row);
        return had;
    }
    const std::span<const std::uint8_t> raw(buffer.data() + row.address,
                                            static_cast<std::size_t>(row.bytes));
    if (row.received && std::equal(raw.begin(), raw.end(), row.raw.begin(), row.raw.end())) {
        return false;
    }
    row.received = true;
    decodeValue(row, raw);
    return true;
}

void addObjects(CommandRow& row, const CommandView& c, const NodeView* node,
                const std::vector<LibraryDevice>& devices) {
    if (node == nullptr || !c.isPdo() || devices.empty()) {
        return;
    }
    const LibraryDevice* device = deviceForNode(devices, configTextToUtf8(node->record->NodeName));
    const int address = c.nodeAddress.atLeastZero();
    if (device == nullptr || address < 1 || address > 127) {
        return;
    }
    const std::optional<DefaultPdo> pdo =
        matchingDefaultPdo(device->device, c, static_cast<unsigned>(address));
    if (!pdo) {
        return;
    }
    for (const PdoObject& p : pdoObjects(*pdo)) {
        ObjectRow o;
        o.name = p.name;
        o.typeName = dataTypeName(p.dataType);
        o.bitOffset = p.bitOffset;
        o.bits = p.bits;
        const DataTypeInfo* info = findDataType(p.dataType);
        o.typeClass = info != nullptr ? info->kind : DataTypeClass::Domain;
        o.dummy = p.dummy;
        row.objects.push_back(std::move(o));
    }
}

} // namespace

std::string iso8601(const LocalStamp& t) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, t.millisecond);
    return buf;
}

std::string timeWithMilliseconds(const LocalStamp& t) {
    return iso8601(t).substr(11);
}

Message commandTransmitBlock(MonitorMode mode, int outputLength, bool configurationMatches) {
    if (mode == MonitorMode::Silent) {
        return str::MonitorSilent;
    }
    if (mode == MonitorMode::Split) {
        return str::MonitorSplitTakesNoOutput;
    }
    if (mode == MonitorMode::Undecided || outputLength < 0) {
        return str::MonitorWaitingForFrame;
    }
    if (outputLength == 0) {
        return str::MonitorNoOutputImage;
    }
    if (!configurationMatches) {
        return str::MonitorConfigurationDiffers;
    }
    return {};
}

bool parseCommandValue(const std::string& text, int bytes, std::vector<std::uint8_t>& out) {
    if (bytes <= 0 || text.empty()) {
        return false;
    }
    const auto n = static_cast<std::size_t>(bytes);
    std::vector<std::uint8_t> b(n, 0);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        // Any length of digits, so a command beyond 8 bytes takes a value too.
        std::size_t digit = 0;
        for (std::size_t i = text.size(); i-- > 2; ++digit) {
            const char c = text[i];
            int v = -1;
            if (c >= '0' && c <= '9') {
                v = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                v = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                v = c - 'A' + 10;
            }
            if (v < 0) {
                return false;
            }
            if (digit / 2 >= n) {
                if (v != 0) {
                    return false;
                }
                continue;
            }
            b[digit / 2] |= static_cast<std::uint8_t>(digit % 2 == 0 ? v : v << 4);
        }
        out = std::move(b);
        return true;
    }
    if (n > 8) {
        return false;
    }
    const bool negative = text[0] == '-';
    const char* first = text.data() + (negative ? 1 : 0);
    const char* last = text.data() + text.size();
    std::uint64_t v = 0;
    const auto [ptr, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || ptr != last || first == last) {
        return false;
    }
    const int bits = bytes * 8;
    if (negative) {
        if (v > (std::uint64_t{1} << (bits - 1))) {
            return false;
        }
        v = ~v + 1;
    } else if (bits < 64 && v >> bits != 0) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        b[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    out = std::move(b);
    return true;
}

void CommandMonitor::setConfiguration(const GatewayConfiguration& cfg,
                                      const std::vector<LibraryDevice>& devices,
                                      const PlcStarts& starts) {
    const RecordView view(cfg.Config);
    const bool master = cfg.isMaster();
    std::vector<CommandRow> rows;
    for (const CommandView& c : view.commands()) {
        if (!c.kind || !c.mappingAddress.entered() || c.mappingAddress.number < 0 ||
            !c.bytes.entered() || c.bytes.number <= 0) {
            continue;
        }
        CommandRow row;
        row.position = c.position;
        row.kind = *c.kind;
        row.output = plcDirection(*c.kind, master) == PlcDirection::Output;
        const NodeView* node = master ? view.ownerOf(c) : nullptr;
        row.node = master ? std::to_string(c.nodeAddress.number) : std::string();
        row.target = targetText(c);
        row.description = configTextToUtf8(c.record->Description);
        row.address = c.mappingAddress.number;
        row.bytes = std::min(c.bytes.number, static_cast<int>(kBufferLimit));
        row.byteRange = rangeText(row.address, row.bytes);
        const std::optional<int>& start = row.output ? starts.output : starts.input;
        if (start) {
            row.plcAddress = rangeText(static_cast<long long>(*start) + row.address, row.bytes);
        }
        row.header = (master ? "Node " + row.node + " " : std::string()) + c.type()->label + " " +
                     row.target + " " + row.byteRange;
        addObjects(row, c, node, devices);
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(), [](const CommandRow& a, const CommandRow& b) {
        return a.output != b.output ? b.output : a.address < b.address;
    });
    // A command that stays keeps its time of change.
    for (CommandRow& row : rows) {
        for (const CommandRow& old : rows_) {
            if (old.position == row.position && old.header == row.header) {
                row.changedAt = old.changedAt;
                row.changedMs = old.changedMs;
                break;
            }
        }
        const std::vector<std::uint8_t>& buffer = row.output ? lastOutput_ : lastInput_;
        decodeRow(row, buffer, !buffer.empty());
    }
    rows_ = std::move(rows);
}

std::vector<std::size_t> CommandMonitor::onFrame(const MonitorFrame& frame, const LocalStamp& at,
                                                 long long nowMs) {
    std::vector<std::uint8_t>& buffer = frame.output ? lastOutput_ : lastInput_;
    buffer.assign(frame.bytes.begin(), frame.bytes.end());
    std::vector<std::size_t> changed;
    std::string when;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        CommandRow& row = rows_[i];
        if (row.output != frame.output || !decodeRow(row, buffer, true)) {
            continue;
        }
        if (when.empty()) {
            when = timeWithMilliseconds(at);
        }
        row.changedAt = when;
        row.changedMs = nowMs;
        changed.push_back(i);
    }
    return changed;
}

bool CommandMonitor::recentlyChanged(std::size_t row, long long nowMs) const {
    return row < rows_.size() && rows_[row].changedMs >= 0 && nowMs - rows_[row].changedMs < 1000;
}

CommandTransmit CommandMonitor::transmit(std::size_t row, const std::string& valueText,
                                         MonitorMode mode, int outputLength) {
    CommandTransmit t;
    if (Message block = commandTransmitBlock(mode, outputLength, true); !block.empty()) {
        t.refusal = std::move(block);
        return t;
    }
    if (row >= rows_.size() || !rows_[row].output) {
        t.refusal = str::MonitorNotAnOutput;
        return t;
    }
    const CommandRow& r = rows_[row];
    std::vector<std::uint8_t> bytes;
    if (!parseCommandValue(valueText, r.bytes, bytes)) {
        t.refusal = str::MonitorValueInvalid;
        return t;
    }
    // The same check the answer makes: every byte inside the buffer.
    if (static_cast<long long>(r.address) + r.bytes > outputLength) {
        t.refusal = str::ResultMappingOverflow;
        return t;
    }
    if (mode != MonitorMode::FixedImage) {
        t.start = static_cast<std::size_t>(r.address);
        t.bytes = std::move(bytes);
        return t;
    }
    image_.resize(static_cast<std::size_t>(outputLength), 0);
    std::copy(bytes.begin(), bytes.end(), image_.begin() + r.address);
    t.bytes = image_;
    return t;
}

void CommandMonitor::noteSent(const SentOutput& sent, MonitorMode mode) {
    if (mode == MonitorMode::FixedImage) {
        image_ = sent.bytes;
    }
}

void OutputsThatStay::noteSent(const SentOutput& sent) {
    for (std::size_t i = 0; i < sent.bytes.size(); ++i) {
        const std::size_t at = sent.start + i;
        if (at < set_.size()) {
            set_[at] = sent.bytes[i] != 0;
        }
    }
}

std::string OutputsThatStay::text() const {
    std::string out;
    for (std::size_t i = 0; i < set_.size(); ++i) {
        if (!set_[i]) {
            continue;
        }
        std::size_t end = i;
        while (end + 1 < set_.size() && set_[end + 1]) {
            ++end;
        }
        out += (out.empty() ? "" : ", ") +
               rangeText(static_cast<int>(i), static_cast<int>(end - i + 1));
        i = end;
    }
    return out;
}

std::vector<SentOutput> OutputsThatStay::resetOutputs(MonitorMode mode, int outputLength) const {
    std::vector<SentOutput> out;
    if (!set_.any()) {
        return out;
    }
    if (mode == MonitorMode::FixedImage) {
        if (outputLength > 0) {
            out.push_back({0, std::vector<std::uint8_t>(static_cast<std::size_t>(outputLength))});
        }
        return out;
    }
    for (std::size_t i = 0; i < set_.size(); ++i) {
        if (!set_[i]) {
            continue;
        }
        std::size_t n = 1;
        while (i + n < set_.size() && set_[i + n] && n < MonitorEngine::kMaxAddressedData) {
            ++n;
        }
        out.push_back({i, std::vector<std::uint8_t>(n)});
        i += n - 1;
    }
    return out;
}

} // namespace torvane
