#include "plc/plc_tags.h"

#include "devices/data_types.h"
#include "devices/device_texts.h"
#include "devices/pdo_objects.h"
#include "mapping/mapping_calculation.h"
#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_codec.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>

namespace torvane {
namespace {

// Long enough for any description a person reads as a name; TIA takes 128 characters.
constexpr int kMaxNameCharacters = 64;

std::string printed(const char* pattern, unsigned a, unsigned b = 0) {
    char buf[64];
    std::snprintf(buf, sizeof buf, pattern, a, b);
    return buf;
}

const char* abbreviation(CommandKind kind) {
    switch (kind) {
    case CommandKind::UploadSdo:
        return "USDO";
    case CommandKind::DownloadSdo:
        return "DSDO";
    case CommandKind::TransmitPdo:
        return "TPDO";
    case CommandKind::ReceivePdo:
        return "RPDO";
    }
    return "";
}

// "COB-ID 389 (185h)" or "Index 24641 (6041h) Sub-index 0 (00h)".
std::string objectText(const CommandView& c) {
    const auto u = [](std::int32_t v) { return static_cast<unsigned>(std::max(v, 0)); };
    if (c.isPdo()) {
        return printed("COB-ID %u (%Xh)", u(c.cobId.number), u(c.cobId.number));
    }
    return printed("Index %u (%04Xh)", u(c.index.number), u(c.index.number)) +
           printed(" Sub-index %u (%02Xh)", u(c.subIndex.number), u(c.subIndex.number));
}

// N05_TPDO_185h, N05_USDO_6041h_00; GW_ in a slave configuration.
std::string fallbackName(const CommandView& c, bool master) {
    const auto u = [](std::int32_t v) { return static_cast<unsigned>(std::max(v, 0)); };
    std::string name = master ? printed("N%02u_", u(c.nodeAddress.number)) : "GW_";
    name += abbreviation(*c.kind);
    if (c.isPdo()) {
        return name + printed("_%Xh", u(c.cobId.number));
    }
    return name + printed("_%04Xh_%02X", u(c.index.number), u(c.subIndex.number));
}

TagType wholeType(int bytes) {
    switch (bytes) {
    case 1:
        return TagType::Byte;
    case 2:
        return TagType::Word;
    case 4:
        return TagType::DWord;
    default:
        return TagType::ByteArray;
    }
}

// The type of a mapped object; a big-endian target gets the raw type of its size, since the
// gateway hands over CANopen's little-endian bytes unchanged.
TagType objectType(const PdoObject& o, TagFormat format) {
    const DataTypeInfo* info = findDataType(o.dataType);
    const int bytes = o.bits / 8;
    if (o.bits == 1) {
        return TagType::Bool;
    }
    const bool typed =
        info != nullptr && info->bits == o.bits && (bytes == 1 || format != TagFormat::Tia);
    if (typed && info->kind == DataTypeClass::Signed) {
        constexpr TagType kSigned[] = {TagType::SInt, TagType::Int, TagType::DInt, TagType::LInt};
        const int at = bytes == 1 ? 0 : bytes == 2 ? 1 : bytes == 4 ? 2 : bytes == 8 ? 3 : -1;
        if (at >= 0) {
            return kSigned[at];
        }
    }
    if (typed && info->kind == DataTypeClass::Unsigned) {
        constexpr TagType kUnsigned[] = {TagType::USInt, TagType::UInt, TagType::UDInt,
                                         TagType::ULInt};
        const int at = bytes == 1 ? 0 : bytes == 2 ? 1 : bytes == 4 ? 2 : bytes == 8 ? 3 : -1;
        if (at >= 0) {
            return kUnsigned[at];
        }
    }
    if (typed && info->kind == DataTypeClass::Real) {
        return bytes == 4 ? TagType::Real : TagType::LReal;
    }
    return wholeType(bytes);
}

// Only whole-byte objects and single bits can be addressed in a PLC image.
bool splittable(const std::vector<PdoObject>& objects) {
    return std::ranges::all_of(
        objects, [](const PdoObject& o) { return o.dummy || o.wholeBytes() || o.bits == 1; });
}

std::string lowerAscii(std::string s) {
    for (char& ch : s) {
        if (ch >= 'A' && ch <= 'Z') {
            ch = static_cast<char>(ch - 'A' + 'a');
        }
    }
    return s;
}

class NameBook {
public:
    // `wanted`, or `wanted` with the first free suffix _2, _3, ...; taken from then on.
    std::string take(const std::string& wanted) {
        std::string name = wanted;
        for (int n = 2; used_.contains(lowerAscii(name)); ++n) {
            name = wanted + "_" + std::to_string(n);
        }
        used_.insert(lowerAscii(name));
        return name;
    }

private:
    std::set<std::string> used_;
};

std::string joined(const std::vector<std::string>& parts) {
    std::string s;
    for (const std::string& p : parts) {
        if (p.empty()) {
            continue;
        }
        s += s.empty() ? p : "; " + p;
    }
    return s;
}

bool multiByte(TagType t) {
    return t != TagType::Bool && t != TagType::Byte && t != TagType::SInt && t != TagType::USInt &&
           t != TagType::ByteArray;
}

} // namespace

bool tagFormatFromName(const std::string& name, TagFormat& format) {
    for (const TagFormat f : {TagFormat::Csv, TagFormat::Tia, TagFormat::Iec}) {
        if (name == tagFormatName(f)) {
            format = f;
            return true;
        }
    }
    return false;
}

const char* tagFormatName(TagFormat format) {
    switch (format) {
    case TagFormat::Csv:
        return "csv";
    case TagFormat::Tia:
        return "tia";
    case TagFormat::Iec:
        return "iec";
    }
    return "";
}

std::string tagIdentifier(const std::string& text, TagFormat format) {
    std::string out;
    int characters = 0;
    for (std::size_t i = 0; i < text.size() && characters < kMaxNameCharacters;) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        if (byte >= 0xF0) {
            length = 4;
        } else if (byte >= 0xE0) {
            length = 3;
        } else if (byte >= 0xC0) {
            length = 2;
        }
        length = std::min(length, text.size() - i);
        const bool ascii = byte < 0x80;
        const bool keep = ascii ? (std::isalnum(byte) != 0 || byte == '_')
                                : (format == TagFormat::Tia && byte >= 0xC0);
        if (keep) {
            out.append(text, i, length);
        } else if (!out.empty() && out.back() != '_') {
            out += '_';
        }
        ++characters;
        i += length;
    }
    while (!out.empty() && out.back() == '_') {
        out.pop_back();
    }
    std::string collapsed;
    for (const char ch : out) {
        if (ch != '_' || (!collapsed.empty() && collapsed.back() != '_')) {
            collapsed += ch;
        }
    }
    if (collapsed.empty() || std::isdigit(static_cast<unsigned char>(collapsed[0])) != 0) {
        return {};
    }
    return collapsed;
}

std::string tagTypeName(TagType type, TagFormat format, int bytes) {
    struct Names {
        const char* iec;
        const char* tia;
    };
    static constexpr Names kNames[] = {
        {"BOOL", "Bool"},   {"BYTE", "Byte"},   {"WORD", "Word"},   {"DWORD", "DWord"},
        {"LWORD", "LWord"}, {"SINT", "SInt"},   {"INT", "Int"},     {"DINT", "DInt"},
        {"LINT", "LInt"},   {"USINT", "USInt"}, {"UINT", "UInt"},   {"UDINT", "UDInt"},
        {"ULINT", "ULInt"}, {"REAL", "Real"},   {"LREAL", "LReal"}, {"BYTE", "Byte"},
    };
    const Names& n = kNames[static_cast<std::size_t>(type)];
    const bool tia = format == TagFormat::Tia;
    if (type == TagType::ByteArray) {
        return std::string(tia ? "Array[0.." : "ARRAY[0..") + std::to_string(bytes - 1) +
               (tia ? "] of Byte" : "] OF BYTE");
    }
    return tia ? n.tia : n.iec;
}

TagResult buildTagTable(const GatewayConfiguration& cfg, const TagOptions& options) {
    TagResult result;
    TagTable& table = result.table;
    table.format = options.format;
    table.master = cfg.isMaster();
    table.controlStatusReserved = cfg.Config.ControlStatus == str::Enable;
    const int limit = ioByteLimit(cfg.Fieldbus.InportNum);
    const RecordView view(cfg.Config);
    NameBook names;

    const auto refuse = [&result](const CommandView& c, Message message) {
        result.outcome = TagOutcome::Refused;
        result.message = std::move(message);
        result.command = c.position;
        result.table.tags.clear();
        return result;
    };

    for (const CommandView& c : view.commands()) {
        if (!c.kind) {
            continue; // no data flow is defined for an unknown type code
        }
        const std::string label = c.type()->label;
        if (!c.mappingAddress.entered() || c.mappingAddress.number < 0) {
            return refuse(
                c, Message(str::PlcTagsNoMappingAddress, c.position + 1, std::string_view(label)));
        }
        if (!c.bytes.entered()) {
            return refuse(c, str::MappingMissingBytes);
        }
        const int start = c.mappingAddress.number;
        const int bytes = c.bytes.atLeastZero();
        if (bytes > limit || start > limit - bytes) {
            return refuse(c, str::MappingOverflow);
        }
        if (bytes == 0) {
            continue;
        }

        PlcTag base;
        base.direction = plcDirection(*c.kind, table.master);
        base.address =
            (base.direction == PlcDirection::Input ? options.inputStart : options.outputStart) +
            start;
        base.node = table.master ? std::to_string(c.nodeAddress.number) : "";
        base.command = label;
        base.object = objectText(c);
        base.commandPosition = c.position;
        const std::string description = configTextToUtf8(c.record->Description);
        const std::string nodePart = table.master ? "Node " + base.node : "";
        std::string name = tagIdentifier(description, options.format);
        if (name.empty()) {
            name = fallbackName(c, table.master);
        }

        // A device's default PDO: one tag per mapped object.
        const auto device = options.devices.find(c.owner());
        if (table.master && device != options.devices.end() && device->second != nullptr &&
            c.nodeAddress.number >= 1 && c.nodeAddress.number <= 127) {
            const auto pdo =
                matchingDefaultPdo(*device->second, c, static_cast<unsigned>(c.nodeAddress.number));
            const std::vector<PdoObject> objects =
                pdo ? pdoObjects(*pdo) : std::vector<PdoObject>{};
            if (pdo && splittable(objects)) {
                const std::string prefix =
                    table.master ? printed("N%02u_", static_cast<unsigned>(c.nodeAddress.number))
                                 : "GW_";
                for (const PdoObject& o : objects) {
                    if (o.dummy) {
                        continue;
                    }
                    PlcTag tag = base;
                    tag.address += o.bitOffset / 8;
                    tag.type = objectType(o, options.format);
                    tag.bytes = std::max(1, o.bits / 8);
                    tag.bit = tag.type == TagType::Bool ? o.bitOffset % 8 : -1;
                    const std::string objectName = tagIdentifier(o.name, options.format);
                    tag.name = names.take(objectName.empty()
                                              ? fallbackName(c, true) +
                                                    printed("_%04Xh_%02X", o.index, o.subIndex)
                                              : prefix + objectName);
                    tag.object = printed("%04Xh:%02Xh ", o.index, o.subIndex) + o.name + " (" +
                                 dataTypeName(o.dataType) + ")";
                    tag.comment = joined({o.name, description, nodePart, label, base.object,
                                          options.format == TagFormat::Tia && multiByte(tag.type)
                                              ? str::PlcTagsSwapBytes
                                              : ""});
                    table.tags.push_back(std::move(tag));
                }
                continue;
            }
        }

        base.bytes = bytes;
        base.type = wholeType(bytes);
        const std::string comment =
            joined({description, nodePart, label, base.object,
                    options.format == TagFormat::Tia && multiByte(base.type) ? str::PlcTagsSwapBytes
                                                                             : ""});
        if (base.type == TagType::ByteArray && options.format == TagFormat::Tia) {
            // The tag table has no arrays: a tag per byte.
            const std::string stem = names.take(name);
            for (int b = 0; b < bytes; ++b) {
                PlcTag tag = base;
                tag.name = names.take(stem + "_b" + std::to_string(b));
                tag.address += b;
                tag.bytes = 1;
                tag.type = TagType::Byte;
                tag.comment =
                    joined({comment, fillPlaceholders(str::PlcTagsByteOf,
                                                      {std::to_string(b), std::to_string(bytes)})});
                table.tags.push_back(std::move(tag));
            }
            continue;
        }
        base.name = names.take(name);
        base.comment = comment;
        table.tags.push_back(std::move(base));
    }
    return result;
}

} // namespace torvane
