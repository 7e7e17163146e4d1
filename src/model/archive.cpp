#include "model/archive.h"

#include "model/strings.h"
#include "model/text_codec.h"
#include "model/text_number.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace torvane {
namespace {

constexpr std::uint16_t kNewClassTag = 0xFFFF;
constexpr std::uint16_t kSchema = 1;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr char kFieldbusClass[] = "FIELDBUS";
constexpr char kConfigClass[] = "CONFIG";

// ---- Writing ---------------------------------------------------------------------------------

class ArchiveWriter {
public:
    explicit ArchiveWriter(std::size_t expectedSize) { out_.reserve(expectedSize); }

    void u8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void u64(std::uint64_t v) {
        u32(static_cast<std::uint32_t>(v));
        u32(static_cast<std::uint32_t>(v >> 32));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }

    void text(const std::string& s) {
        const std::uint64_t n = s.size();
        if (n < 0xFF) {
            u8(static_cast<std::uint8_t>(n));
        } else if (n < 0xFFFE) {
            u8(0xFF);
            u16(static_cast<std::uint16_t>(n));
        } else if (n < 0xFFFFFFFFULL) {
            u8(0xFF);
            u16(0xFFFF);
            u32(static_cast<std::uint32_t>(n));
        } else {
            u8(0xFF);
            u16(0xFFFF);
            u32(0xFFFFFFFFU);
            u64(n);
        }
        out_ += s;
    }

    void header(std::string_view className) {
        u16(kNewClassTag);
        u16(kSchema);
        u16(static_cast<std::uint16_t>(className.size()));
        out_ += className;
    }

    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

// ---- Reading ---------------------------------------------------------------------------------

// UTF-16LE to the 8-bit code page. ASCII passes through; a character the code page cannot hold
// becomes '?', and so does an unpaired surrogate, as the platform's own wide-to-narrow
// conversion does with its default character.
std::string wideToCodePage(std::string_view utf16le) {
    std::string utf8;
    utf8.reserve(utf16le.size());
    const std::size_t units = utf16le.size() / 2;
    auto unitAt = [&](std::size_t i) {
        return static_cast<char16_t>(static_cast<unsigned char>(utf16le[2 * i]) |
                                     (static_cast<unsigned char>(utf16le[2 * i + 1]) << 8));
    };
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t u = unitAt(i);
        char32_t cp = u;
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units && unitAt(i + 1) >= 0xDC00 &&
            unitAt(i + 1) <= 0xDFFF) {
            cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00);
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            cp = '?';
        }
        if (cp < 0x80) {
            utf8 += static_cast<char>(cp);
        } else if (cp < 0x800) {
            utf8 += static_cast<char>(0xC0 | (cp >> 6));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (cp >> 12));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (cp >> 18));
            utf8 += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return configTextFromUtf8(utf8);
}

// A bounds-checked little-endian cursor. Every read fails rather than pass the end, and no
// length taken from the file is trusted before it is compared with the bytes that remain.
class ArchiveReader {
public:
    explicit ArchiveReader(std::string_view bytes) : bytes_(bytes) {}

    const Message& error() const { return error_; }
    std::size_t offset() const { return pos_; }

    bool u8(std::uint8_t& v) {
        if (!need(1, str::ArchiveByte)) {
            return false;
        }
        v = static_cast<std::uint8_t>(bytes_[pos_++]);
        return true;
    }
    bool u16(std::uint16_t& v) {
        std::uint8_t lo = 0;
        std::uint8_t hi = 0;
        if (!need(2, str::ArchiveWord16) || !u8(lo) || !u8(hi)) {
            return false;
        }
        v = static_cast<std::uint16_t>(lo | (hi << 8));
        return true;
    }
    bool u32(std::uint32_t& v) {
        std::uint16_t lo = 0;
        std::uint16_t hi = 0;
        if (!need(4, str::ArchiveWord32) || !u16(lo) || !u16(hi)) {
            return false;
        }
        v = static_cast<std::uint32_t>(lo) | (static_cast<std::uint32_t>(hi) << 16);
        return true;
    }
    bool u64(std::uint64_t& v) {
        std::uint32_t lo = 0;
        std::uint32_t hi = 0;
        if (!need(8, str::ArchiveWord64) || !u32(lo) || !u32(hi)) {
            return false;
        }
        v = static_cast<std::uint64_t>(lo) | (static_cast<std::uint64_t>(hi) << 32);
        return true;
    }
    bool i32(std::int32_t& v) {
        std::uint32_t u = 0;
        if (!u32(u)) {
            return false;
        }
        v = static_cast<std::int32_t>(u);
        return true;
    }

    bool text(std::string& s, const char* field) {
        const std::size_t at = pos_;
        std::uint64_t n = 0;
        bool wide = false;
        if (!length(n, &wide)) {
            return false;
        }
        if (n > (wide ? remaining() / 2 : remaining())) {
            return fail(Message(wide ? str::ArchiveWideTextBeyondEnd : str::ArchiveTextBeyondEnd,
                                field, at, n, remaining()));
        }
        const std::uint64_t byteCount = wide ? n * 2 : n;
        const std::string_view raw = bytes_.substr(pos_, static_cast<std::size_t>(byteCount));
        pos_ += static_cast<std::size_t>(byteCount);
        s = wide ? wideToCodePage(raw) : std::string(raw);
        return true;
    }

    bool header(std::string_view className) {
        const std::size_t at = pos_;
        std::uint16_t tag = 0;
        std::uint16_t schema = 0;
        std::uint16_t len = 0;
        if (!u16(tag) || !u16(schema) || !u16(len)) {
            return false;
        }
        if (tag != kNewClassTag) {
            return fail(Message(str::ArchiveClassTag, at, tag));
        }
        if (schema != kSchema) {
            return fail(Message(str::ArchiveSchema, at, schema));
        }
        if (len > remaining()) {
            return fail(Message(str::ArchiveHeaderCut, at));
        }
        const std::string_view name = bytes_.substr(pos_, len);
        pos_ += len;
        if (name != className) {
            return fail(Message(str::ArchiveClassName, at, printable(name), className));
        }
        return true;
    }

    bool fail(Message why) {
        if (error_.empty()) {
            error_ = std::move(why);
        }
        return false;
    }

private:
    std::size_t remaining() const { return bytes_.size() - pos_; }

    bool need(std::size_t n, Text what) {
        if (n > remaining()) {
            return fail(Message(str::ArchiveEndsEarly, bytes_.size(), what));
        }
        return true;
    }

    // The counted-text length prefix; the wide marker may stand only in front of the first one.
    bool length(std::uint64_t& n, bool* wide) {
        std::uint8_t b = 0;
        if (!u8(b)) {
            return false;
        }
        if (b < 0xFF) {
            n = b;
            return true;
        }
        std::uint16_t w = 0;
        if (!u16(w)) {
            return false;
        }
        if (w == kWideMarker && wide != nullptr) {
            *wide = true;
            return length(n, nullptr);
        }
        if (w < 0xFFFF) {
            n = w;
            return true;
        }
        std::uint32_t d = 0;
        if (!u32(d)) {
            return false;
        }
        if (d < 0xFFFFFFFFU) {
            n = d;
            return true;
        }
        return u64(n);
    }

    static std::string printable(std::string_view s) {
        std::string out;
        for (const char c : s.substr(0, 32)) {
            out += (c >= 0x20 && c < 0x7F) ? c : '?';
        }
        return out;
    }

    std::string_view bytes_;
    std::size_t pos_ = 0;
    Message error_;
};

bool readFieldbus(ArchiveReader& in, FIELDBUS& fb) {
    fb = FIELDBUS{}; // InportNum "112", the others empty
    return in.header(kFieldbusClass) && in.text(fb.InportNum, "InportNum") &&
           in.text(fb.AuxParam, "AuxParam") && in.text(fb.SizeByTypeA, "SizeByTypeA") &&
           in.text(fb.SizeByTypeB, "SizeByTypeB");
}

struct TextField {
    std::string CONFIG::*member;
    const char* name;
};

template <std::size_t N>
bool readTexts(ArchiveReader& in, CONFIG& c, const std::array<TextField, N>& fields) {
    return std::all_of(fields.begin(), fields.end(),
                       [&](const TextField& f) { return in.text(c.*f.member, f.name); });
}

constexpr std::array<TextField, 9> kLeadingTexts = {{
    {&CONFIG::ConfigTypeText, "ConfigTypeText"},
    {&CONFIG::BuadRate, "BuadRate"},
    {&CONFIG::SDOTimeout, "SDOTimeout"},
    {&CONFIG::SlaveAddress, "SlaveAddress"},
    {&CONFIG::ReservedText, "ReservedText"},
    {&CONFIG::NMT, "NMT"},
    {&CONFIG::TPDOTimeout, "TPDOTimeout"},
    {&CONFIG::DelayStart, "DelayStart"},
    {&CONFIG::SYNC, "SYNC"},
}};
constexpr std::array<TextField, 3> kCycleTexts = {{
    {&CONFIG::RPDOCycle, "RPDOCycle"},
    {&CONFIG::OutputProcessing, "OutputProcessing"},
    {&CONFIG::SDOCycle, "SDOCycle"},
}};
constexpr std::array<TextField, 1> kErrorControlText = {{{&CONFIG::ErrorControl, "ErrorControl"}}};
constexpr std::array<TextField, 3> kSdoTexts = {{
    {&CONFIG::SDOConcurrent, "SDOConcurrent"},
    {&CONFIG::SDORetries, "SDORetries"},
    {&CONFIG::SDOPollDelay, "SDOPollDelay"},
}};
constexpr std::array<TextField, 4> kSlaveTexts = {{
    {&CONFIG::SlaveBaudRate, "SlaveBaudRate"},
    {&CONFIG::SlaveNodeAddress, "SlaveNodeAddress"},
    {&CONFIG::RPDOTimeout, "RPDOTimeout"},
    {&CONFIG::SlaveDelayStart, "SlaveDelayStart"},
}};
constexpr std::array<TextField, 1> kControlStatusText = {
    {{&CONFIG::ControlStatus, "ControlStatus"}}};

bool readInstruction(ArchiveReader& in, INSTRUCTION& ins) {
    return in.text(ins.NodeAddress, "NodeAddress") &&
           in.text(ins.InstructionType, "InstructionType") &&
           in.text(ins.MappingAddress, "MappingAddress") && in.text(ins.Bytes, "Bytes") &&
           in.text(ins.SpareText, "SpareText") && in.text(ins.Index, "Index") &&
           in.text(ins.SubIndex, "SubIndex") && in.text(ins.CobId, "CobId") &&
           in.text(ins.Description, "Description") && in.i32(ins.NodeIndex);
}

// Editions are compared as unsigned numbers, as the earlier programs did.
bool readConfig(ArchiveReader& in, bool slave, CONFIG& c) {
    std::uint32_t edition = 0;
    if (!in.header(kConfigClass) || !in.u32(edition)) {
        return false;
    }
    c.ConfigEdition = static_cast<std::int32_t>(edition);
    if (!readTexts(in, c, kLeadingTexts)) {
        return false;
    }
    if (edition >= 410) {
        if (!readTexts(in, c, kCycleTexts)) {
            return false;
        }
    } else if (edition >= 320) {
        c.RPDOCycle = "0";
        c.OutputProcessing = str::Hold;
        c.SDOCycle = "0";
    }
    if (edition >= 220 && !readTexts(in, c, kErrorControlText)) {
        return false;
    }
    if (edition >= 500) {
        if (!readTexts(in, c, kSdoTexts)) {
            return false;
        }
    } else {
        c.SDOConcurrent = str::Enable;
        c.SDORetries = "0";
        c.SDOPollDelay = "0";
    }
    if (!readTexts(in, c, kSlaveTexts)) {
        return false;
    }

    const std::size_t countsAt = in.offset();
    if (!in.i32(c.NodeCount) || !in.i32(c.InstructionCount)) {
        return false;
    }
    // The tables have fixed sizes: a count beyond them cannot come from this program and would
    // have the reader store outside the tables, so such a file is refused.
    if (c.NodeCount > kNodeTableSize) {
        return in.fail(Message(str::ArchiveNodeCount, c.NodeCount, countsAt, kNodeTableSize));
    }
    if (c.InstructionCount > kInstructionTableSize) {
        return in.fail(Message(str::ArchiveCommandCount, c.InstructionCount, countsAt + 4,
                               kInstructionTableSize));
    }
    c.NodeCount = std::max(c.NodeCount, 0);
    c.InstructionCount = std::max(c.InstructionCount, 0);

    for (NodeEntry& n : usedNodes(c)) {
        if (!in.text(n.NodeAddress, "NodeAddress") || !in.text(n.NodeName, "NodeName")) {
            return false;
        }
    }
    for (INSTRUCTION& ins : usedCommands(c)) {
        if (!readInstruction(in, ins)) {
            return false;
        }
        if (slave) {
            ins.NodeAddress = c.SlaveNodeAddress;
        }
    }
    return edition < 220 || readTexts(in, c, kControlStatusText);
}

} // namespace

std::string writeArchive(const GatewayConfiguration& cfg) {
    const CONFIG& c = cfg.Config;
    // Counts outside the tables never reach the file: only what the tables hold is written.
    const std::span<const NodeEntry> nodes = usedNodes(c);
    const std::span<const INSTRUCTION> commands = usedCommands(c);

    // One allocation for the whole file: the texts plus at most 15 bytes of prefix each.
    std::size_t estimate = 512;
    for (const NodeEntry& n : nodes) {
        estimate += n.NodeAddress.size() + n.NodeName.size() + 30;
    }
    constexpr std::size_t kCommandPrefixes = 9 * 15 + 4;
    for (const INSTRUCTION& ins : commands) {
        estimate += ins.NodeAddress.size() + ins.InstructionType.size() + ins.Index.size() +
                    ins.SubIndex.size() + ins.CobId.size() + ins.MappingAddress.size() +
                    ins.Bytes.size() + ins.Description.size() + ins.SpareText.size() +
                    kCommandPrefixes;
    }
    ArchiveWriter out(estimate);
    out.i32(cfg.ConfigType);

    out.header(kFieldbusClass);
    out.text(cfg.Fieldbus.InportNum);
    out.text(cfg.Fieldbus.AuxParam);
    out.text(cfg.Fieldbus.SizeByTypeA);
    out.text(cfg.Fieldbus.SizeByTypeB);

    out.header(kConfigClass);
    out.i32(kEditionCurrent);
    out.text(decimalText(cfg.ConfigType));
    for (const std::string* s :
         {&c.BuadRate, &c.SDOTimeout, &c.SlaveAddress, &c.ReservedText, &c.NMT, &c.TPDOTimeout,
          &c.DelayStart, &c.SYNC, &c.RPDOCycle, &c.OutputProcessing, &c.SDOCycle, &c.ErrorControl,
          &c.SDOConcurrent, &c.SDORetries, &c.SDOPollDelay, &c.SlaveBaudRate, &c.SlaveNodeAddress,
          &c.RPDOTimeout, &c.SlaveDelayStart}) {
        out.text(*s);
    }
    out.i32(usedNodeCount(c));
    out.i32(usedCommandCount(c));
    for (const NodeEntry& n : nodes) {
        out.text(n.NodeAddress);
        out.text(n.NodeName);
    }
    for (const INSTRUCTION& ins : commands) {
        for (const std::string* s :
             {&ins.NodeAddress, &ins.InstructionType, &ins.MappingAddress, &ins.Bytes,
              &ins.SpareText, &ins.Index, &ins.SubIndex, &ins.CobId, &ins.Description}) {
            out.text(*s);
        }
        out.i32(ins.NodeIndex);
    }
    out.text(c.ControlStatus);
    return out.take();
}

bool readArchive(std::string_view bytes, ArchiveContents& out, Message& error) {
    ArchiveReader in(bytes);
    ArchiveContents read;
    read.Config.ConfigEdition = 410;
    if (!in.i32(read.ConfigType) || !readFieldbus(in, read.Fieldbus) ||
        !readConfig(in, read.ConfigType != kCanopenMaster, read.Config)) {
        error = in.error();
        return false;
    }
    out = std::move(read);
    return true;
}

void applyArchive(const ArchiveContents& in, GatewayConfiguration& live, DocumentState& doc) {
    // Any word but 0 counts as a slave configuration; only 0 and 1 ever live in memory.
    live.ConfigType = in.ConfigType == kCanopenMaster ? kCanopenMaster : kCanopenSlave;
    live.Fieldbus = in.Fieldbus;

    const CONFIG& src = in.Config;
    CONFIG& dst = live.Config;
    for (std::string CONFIG::*field : kMasterBlock) {
        dst.*field = src.*field;
    }
    for (std::string CONFIG::*field : kSlaveBlock) {
        dst.*field = src.*field;
    }
    dst.NodeCount = usedNodeCount(src);
    dst.InstructionCount = usedCommandCount(src);
    dst.ConfigEdition = src.ConfigEdition;
    std::copy_n(src.Nodes.begin(), dst.NodeCount, dst.Nodes.begin());
    std::copy_n(src.Instructions.begin(), dst.InstructionCount, dst.Instructions.begin());

    doc.OldEditionLoaded = dst.ConfigEdition < 320;
    doc.LoadedFromArchive = true;
}

} // namespace torvane
