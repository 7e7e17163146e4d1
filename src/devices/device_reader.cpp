#include "devices/device_reader.h"

#include "devices/data_types.h"
#include "devices/default_pdos.h"
#include "devices/eds_lexer.h"
#include "devices/eds_values.h"
#include "model/atomic_file.h"
#include "model/text_codec.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <utility>

namespace torvane {
namespace {

std::string hex4(unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04X", value & 0xFFFF);
    return buf;
}

bool isHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

std::optional<unsigned> hexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 4) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : digits) {
        if (!isHex(c)) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                       ? c - '0'
                                                       : std::tolower(c) - 'a' + 10);
    }
    return value;
}

enum class Kind {
    FileInfo,
    DeviceInfo,
    Commissioning,
    ObjectList,
    Object,
    SubObject,
    Names,
    Values,
    Ignored,
    Modular,
    Unknown
};

struct Classified {
    Kind kind = Kind::Unknown;
    std::uint16_t index = 0;
    std::uint8_t subIndex = 0;
};

// What a section is by its (lower-case) name.
Classified classify(const std::string& name) {
    if (name == "fileinfo") {
        return {Kind::FileInfo};
    }
    if (name == "deviceinfo") {
        return {Kind::DeviceInfo};
    }
    // CiA 306 spells it with one 'm'; some tools correct it.
    if (name == "devicecomissioning" || name == "devicecommissioning") {
        return {Kind::Commissioning};
    }
    if (name == "mandatoryobjects" || name == "optionalobjects" || name == "manufacturerobjects") {
        return {Kind::ObjectList};
    }
    if (name == "comments" || name == "dummyusage" || name == "tools" ||
        name == "dynamicchannels" ||
        (name.starts_with("tool") && name.size() > 4 &&
         name.find_first_not_of("0123456789", 4) == std::string::npos)) {
        return {Kind::Ignored};
    }
    if (name == "supportedmodules" || name == "connectedmodules" ||
        (name.size() > 1 && name[0] == 'm' && std::isdigit(static_cast<unsigned char>(name[1])))) {
        return {Kind::Modular};
    }
    std::size_t n = 0;
    while (n < name.size() && n < 4 && isHex(name[n])) {
        ++n;
    }
    const std::optional<unsigned> index = hexNumber(std::string_view(name).substr(0, n));
    if (!index) {
        return {Kind::Unknown};
    }
    const std::string_view rest = std::string_view(name).substr(n);
    const auto at = static_cast<std::uint16_t>(*index);
    if (rest.empty()) {
        return {Kind::Object, at};
    }
    if (rest == "name") {
        return {Kind::Names, at};
    }
    if (rest == "value") {
        return {Kind::Values, at};
    }
    if (rest == "denotation") {
        return {Kind::Ignored, at};
    }
    if (rest.starts_with("sub") && rest.size() <= 6) {
        if (const std::optional<unsigned> sub = hexNumber(rest.substr(3)); sub && *sub <= 0xFF) {
            return {Kind::SubObject, at, static_cast<std::uint8_t>(*sub)};
        }
    }
    return {Kind::Unknown};
}

// CiA 306 allows a ParameterName of at most 241 characters.
constexpr std::size_t kMaxNameCharacters = 241;
// The most text a CompactSubObj copies into each of its sub-objects.
constexpr std::size_t kMaxSharedBytes = 1024;

// `utf8` cut after `max` characters; nullopt when it is not longer.
std::optional<std::string> cutAfter(std::string_view utf8, std::size_t max) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80 && characters++ == max) {
            return std::string(utf8.substr(0, i));
        }
    }
    return std::nullopt;
}

std::string keyValue(const EdsSection& s, const std::string& lowerName) {
    const EdsKey* k = s.find(lowerName);
    return k == nullptr ? std::string() : k->value;
}

// The sections of one object.
struct ObjectParts {
    const EdsSection* main = nullptr;
    std::map<std::uint8_t, const EdsSection*> subs;
    const EdsSection* names = nullptr;
    const EdsSection* values = nullptr;
};

struct Listing {
    std::string list; // the list's section name
    int line = 0;
};

class Reader {
public:
    Reader(DeviceNotes& notes, DeviceDescription& device) : notes_(notes), d_(device) {}

    void read(const std::vector<EdsSection>& sections) {
        for (const EdsSection& s : sections) {
            section(s);
        }
        for (const auto& [index, parts] : parts_) {
            buildObject(index, parts);
        }
        checkLists();
        if (!d_.dcf && firstParameterValue_ > 0) {
            notes_.add(firstParameterValue_, DeviceText::ParameterValueInEds);
        }
        if (!d_.info.present && !d_.objects.empty()) {
            notes_.add(0, DeviceText::NoDeviceInfo);
        }
        checkPdoCounts();
    }

private:
    void section(const EdsSection& s) {
        const Classified c = classify(s.lower);
        switch (c.kind) {
        case Kind::FileInfo:
            fileInfo(s);
            break;
        case Kind::DeviceInfo:
            deviceInfo(s);
            break;
        case Kind::Commissioning:
            commissioning(s);
            break;
        case Kind::ObjectList:
            objectList(s);
            break;
        case Kind::Object:
            place(parts_[c.index].main, s);
            break;
        case Kind::SubObject:
            place(parts_[c.index].subs[c.subIndex], s);
            break;
        case Kind::Names:
            place(parts_[c.index].names, s);
            break;
        case Kind::Values:
            place(parts_[c.index].values, s);
            break;
        case Kind::Ignored:
            break;
        case Kind::Modular:
            notes_.add(s.line, DeviceText::ModularSection, {shortened(s.name)});
            break;
        case Kind::Unknown:
            notes_.add(s.line, DeviceText::UnknownSection, {shortened(s.name)});
            break;
        }
    }

    // Two spellings of one section ("[100]" and "[0100]"): the first is read.
    void place(const EdsSection*& slot, const EdsSection& s) {
        if (slot != nullptr) {
            notes_.add(s.line, DeviceText::DuplicateSection,
                       {shortened(s.name), std::to_string(slot->line)});
            return;
        }
        slot = &s;
    }

    // A number of at most `max`; nullopt, with a note when the key is there, otherwise.
    std::optional<std::uint64_t> number(const EdsSection& s, const std::string& lowerName,
                                        std::uint64_t max) {
        const EdsKey* k = s.find(lowerName);
        if (k == nullptr) {
            return std::nullopt;
        }
        if (k->value.empty()) {
            notes_.add(k->line, DeviceText::EmptyValue, {shortened(s.name), shortened(k->name)});
            return std::nullopt;
        }
        const std::optional<EdsNumber> n = parseEdsNumber(k->value);
        if (!n || n->negative || n->magnitude > max) {
            notes_.add(k->line, DeviceText::BadNumber,
                       {shortened(s.name), shortened(k->name), shortened(k->value)});
            return std::nullopt;
        }
        return n->magnitude;
    }

    void fileInfo(const EdsSection& s) {
        DeviceFileInfo& f = d_.fileInfo;
        f.fileName = keyValue(s, "filename");
        f.fileVersion = keyValue(s, "fileversion");
        f.fileRevision = keyValue(s, "filerevision");
        f.edsVersion = keyValue(s, "edsversion");
        f.description = keyValue(s, "description");
        f.creationTime = keyValue(s, "creationtime");
        f.creationDate = keyValue(s, "creationdate");
        f.createdBy = keyValue(s, "createdby");
        f.modificationTime = keyValue(s, "modificationtime");
        f.modificationDate = keyValue(s, "modificationdate");
        f.modifiedBy = keyValue(s, "modifiedby");
    }

    void deviceInfo(const EdsSection& s) {
        DeviceInfo& i = d_.info;
        i.present = true;
        for (const EdsKey& k : s.keys) {
            infoLines_.emplace(lowerAscii(k.name), k.line);
        }
        i.vendorName = keyValue(s, "vendorname");
        i.productName = keyValue(s, "productname");
        i.orderCode = keyValue(s, "ordercode");
        auto u32 = [&](const char* key) -> std::optional<std::uint32_t> {
            const std::optional<std::uint64_t> n = number(s, key, 0xFFFFFFFF);
            return n ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*n)) : std::nullopt;
        };
        i.vendorNumber = u32("vendornumber");
        i.productNumber = u32("productnumber");
        i.revisionNumber = u32("revisionnumber");
        for (const int rate : {10, 20, 50, 125, 250, 500, 800, 1000}) {
            if (number(s, "baudrate_" + std::to_string(rate), 1).value_or(0) == 1) {
                i.baudRates.push_back(rate);
            }
        }
        // CiA 301 allows at most 512 of each.
        if (const std::optional<std::uint64_t> n = number(s, "nrofrxpdo", 512)) {
            i.nrOfRxPdo = static_cast<int>(*n);
        }
        if (const std::optional<std::uint64_t> n = number(s, "nroftxpdo", 512)) {
            i.nrOfTxPdo = static_cast<int>(*n);
        }
    }

    void commissioning(const EdsSection& s) {
        d_.dcf = true;
        d_.dcfNodeName = keyValue(s, "nodename");
        if (const std::optional<std::uint64_t> n = number(s, "nodeid", 127); n && *n > 0) {
            d_.dcfNodeId = static_cast<unsigned>(*n);
        }
    }

    void objectList(const EdsSection& s) {
        anyList_ = true;
        const std::optional<std::uint64_t> count = number(s, "supportedobjects", 0xFFFF);
        std::size_t listed = 0;
        for (const EdsKey& k : s.keys) {
            if (k.name.empty() || k.name.find_first_not_of("0123456789") != std::string::npos) {
                continue;
            }
            ++listed;
            const std::optional<EdsNumber> n = parseEdsNumber(k.value);
            if (!n || n->negative || n->magnitude > 0xFFFF) {
                notes_.add(k.line, DeviceText::BadListEntry,
                           {shortened(s.name), shortened(k.name), shortened(k.value)});
                continue;
            }
            listings_.emplace(static_cast<std::uint16_t>(n->magnitude), Listing{s.name, k.line});
        }
        if (count && *count != listed) {
            const EdsKey* k = s.find("supportedobjects");
            notes_.add(k->line, DeviceText::ListCount,
                       {shortened(s.name), shortened(k->value), std::to_string(listed)});
        }
    }

    // The name key `k` of `s` gives; one longer than CiA 306 allows is cut, so that copies of
    // it (in every PDO entry that maps the object) stay small.
    std::string nameOf(const EdsSection& s, const EdsKey* k) {
        if (k == nullptr) {
            return {};
        }
        if (std::optional<std::string> cut = cutAfter(k->value, kMaxNameCharacters)) {
            notes_.add(k->line, DeviceText::NameTooLong, {shortened(s.name), shortened(k->name)});
            return std::move(*cut);
        }
        return k->value;
    }

    // Notes a DefaultValue, ParameterValue or limit that is empty or no value of `dataType`.
    void checkValue(const EdsSection& s, const EdsKey* k, std::uint16_t dataType) {
        const DataTypeInfo* type = findDataType(dataType);
        if (k == nullptr || type == nullptr) {
            return;
        }
        bool ok = true;
        switch (type->kind) {
        case DataTypeClass::Boolean:
        case DataTypeClass::Signed:
        case DataTypeClass::Unsigned: {
            const std::optional<EdsValue> v = parseEdsValue(k->value);
            const int bits = type->kind == DataTypeClass::Boolean ? 1 : type->bits;
            ok = v && (v->plusNodeId ||
                       fitsInteger(v->number, bits, type->kind == DataTypeClass::Signed));
            break;
        }
        case DataTypeClass::Real:
            ok = isEdsReal(k->value);
            break;
        default:
            return;
        }
        if (k->value.empty()) {
            notes_.add(k->line, DeviceText::EmptyValue, {shortened(s.name), shortened(k->name)});
        } else if (!ok) {
            notes_.add(k->line, DeviceText::BadValue,
                       {shortened(s.name), shortened(k->name), shortened(k->value), type->name});
        }
    }

    // The entry that section `s` describes (a VAR object or a sub-object).
    DeviceEntry entry(const EdsSection& s, std::uint16_t index, std::uint8_t subIndex) {
        DeviceEntry e;
        e.index = index;
        e.subIndex = subIndex;
        e.line = s.line;
        e.name = nameOf(s, s.find("parametername"));
        if (s.find("parametername") == nullptr) {
            notes_.add(s.line, DeviceText::MissingName, {shortened(s.name)});
        }
        if (s.find("datatype") == nullptr) {
            notes_.add(s.line, DeviceText::MissingDataType, {shortened(s.name)});
        } else if (const std::optional<std::uint64_t> code = number(s, "datatype", 0xFFFF)) {
            e.dataType = static_cast<std::uint16_t>(*code);
            if (findDataType(e.dataType) == nullptr) {
                notes_.add(s.find("datatype")->line, DeviceText::UnknownDataType,
                           {shortened(s.name), hex4(e.dataType)});
            }
        }
        if (const EdsKey* k = s.find("accesstype"); k == nullptr) {
            notes_.add(s.line, DeviceText::MissingAccessType, {shortened(s.name)});
        } else {
            e.access = accessType(k->value);
            if (e.access == AccessType::Unknown) {
                notes_.add(k->line, DeviceText::UnknownAccessType,
                           {shortened(s.name), shortened(k->value)});
            }
        }
        e.pdoMapping = number(s, "pdomapping", 1).value_or(0) == 1;
        if (const EdsKey* k = s.find("defaultvalue")) {
            e.defaultValue = k->value;
            e.defaultLine = k->line;
        }
        if (const EdsKey* k = s.find("parametervalue")) {
            e.parameterValue = k->value;
            e.parameterLine = k->line;
            if (firstParameterValue_ == 0 || k->line < firstParameterValue_) {
                firstParameterValue_ = k->line;
            }
        }
        e.lowLimit = keyValue(s, "lowlimit");
        e.highLimit = keyValue(s, "highlimit");
        for (const char* key : {"defaultvalue", "parametervalue", "lowlimit", "highlimit"}) {
            checkValue(s, s.find(key), e.dataType);
        }
        return e;
    }

    static AccessType accessType(std::string_view text) {
        const std::string a = lowerAscii(trimmed(text));
        if (a == "ro") {
            return AccessType::ReadOnly;
        }
        if (a == "wo") {
            return AccessType::WriteOnly;
        }
        if (a == "rw") {
            return AccessType::ReadWrite;
        }
        if (a == "rwr") {
            return AccessType::ReadWriteRead;
        }
        if (a == "rww") {
            return AccessType::ReadWriteWrite;
        }
        if (a == "const") {
            return AccessType::Const;
        }
        return AccessType::Unknown;
    }

    ObjectCode objectCode(const EdsSection& s, bool hasSubs) {
        const EdsKey* k = s.find("objecttype");
        if (k == nullptr) {
            return ObjectCode::Var; // CiA 306: a missing ObjectType means VAR
        }
        if (const std::optional<EdsNumber> n = parseEdsNumber(k->value);
            n && !n->negative && n->magnitude <= 9 &&
            *objectCodeText(static_cast<ObjectCode>(n->magnitude)) != '\0') {
            return static_cast<ObjectCode>(n->magnitude);
        }
        const ObjectCode fallback = hasSubs ? ObjectCode::Record : ObjectCode::Var;
        notes_.add(k->line, DeviceText::BadObjectType,
                   {shortened(s.name), shortened(k->value), objectCodeText(fallback)});
        return fallback;
    }

    void buildObject(std::uint16_t index, const ObjectParts& parts) {
        DeviceObject o;
        o.index = index;
        if (parts.main == nullptr) {
            const EdsSection* orphan = !parts.subs.empty()      ? parts.subs.begin()->second
                                       : parts.names != nullptr ? parts.names
                                                                : parts.values;
            notes_.add(orphan->line, DeviceText::SubWithoutObject,
                       {shortened(orphan->name), hex4(index).substr(2)});
            if (parts.subs.empty()) {
                return;
            }
            o.objectType = ObjectCode::Record;
            o.line = orphan->line;
            for (const auto& [sub, section] : parts.subs) {
                o.entries.push_back(entry(*section, index, sub));
            }
            d_.objects.push_back(std::move(o));
            return;
        }
        const EdsSection& m = *parts.main;
        o.line = m.line;
        o.objectType = objectCode(m, !parts.subs.empty());
        const bool structured = o.objectType == ObjectCode::Array ||
                                o.objectType == ObjectCode::Record ||
                                o.objectType == ObjectCode::DefStruct;
        const std::uint64_t compact = number(m, "compactsubobj", 254).value_or(0);
        if (!parts.subs.empty()) {
            if (compact > 0) {
                notes_.add(m.line, DeviceText::CompactWithSubs, {shortened(m.name)});
            }
            for (const auto& [sub, section] : parts.subs) {
                o.entries.push_back(entry(*section, index, sub));
            }
            o.name = nameOf(m, m.find("parametername"));
            if (m.find("parametername") == nullptr) {
                notes_.add(m.line, DeviceText::MissingName, {shortened(m.name)});
            }
            if (const std::optional<std::uint64_t> n = number(m, "subnumber", 0x100);
                n && *n != parts.subs.size()) {
                notes_.add(
                    m.find("subnumber")->line, DeviceText::SubNumberMismatch,
                    {shortened(m.name), std::to_string(*n), std::to_string(parts.subs.size())});
            }
        } else if (compact > 0 && o.objectType == ObjectCode::Array) {
            expandCompact(o, m, parts, static_cast<int>(compact));
        } else {
            if (compact > 0) {
                notes_.add(m.line, DeviceText::CompactNotArray, {shortened(m.name)});
            }
            if (structured) {
                o.name = nameOf(m, m.find("parametername"));
                notes_.add(o.line, DeviceText::NoSubObjects,
                           {shortened(m.name), objectCodeText(o.objectType)});
            } else {
                o.entries.push_back(entry(m, index, 0));
                o.name = o.entries.front().name;
            }
        }
        d_.objects.push_back(std::move(o));
    }

    // CiA 306 CompactSubObj: sub-objects 1..count share the object's type, access and values;
    // sub-index 0 holds their count. Names and a DCF's values come from [xxxxName]/[xxxxValue].
    void expandCompact(DeviceObject& o, const EdsSection& m, const ObjectParts& parts, int count) {
        const DeviceEntry first = entry(m, o.index, 0);
        o.name = first.name;
        if (first.name.size() + first.defaultValue.size() + first.lowLimit.size() +
                first.highLimit.size() >
            kMaxSharedBytes) {
            notes_.add(m.line, DeviceText::CompactTooLong,
                       {shortened(m.name), std::to_string(count)});
            return;
        }
        DeviceEntry zero;
        zero.index = o.index;
        zero.name = "Number of entries";
        zero.dataType = 0x0005;
        zero.access = AccessType::ReadOnly;
        zero.defaultValue = std::to_string(count);
        zero.line = m.line;
        o.entries.push_back(zero);
        for (int i = 1; i <= count; ++i) {
            DeviceEntry e = first;
            e.subIndex = static_cast<std::uint8_t>(i);
            e.parameterValue.reset();
            e.parameterLine = 0;
            const std::string key = std::to_string(i);
            const EdsKey* name = parts.names != nullptr ? parts.names->find(key) : nullptr;
            e.name = name != nullptr ? nameOf(*parts.names, name) : o.name + " " + key;
            if (const EdsKey* value = parts.values != nullptr ? parts.values->find(key) : nullptr) {
                e.parameterValue = value->value;
                e.parameterLine = value->line;
                checkValue(*parts.values, value, e.dataType);
            }
            o.entries.push_back(std::move(e));
        }
    }

    void checkLists() {
        for (const auto& [index, listing] : listings_) {
            if (d_.findObject(index) == nullptr) {
                notes_.add(listing.line, DeviceText::ListedMissing,
                           {shortened(listing.list), hex4(index)});
            }
        }
        if (!anyList_) {
            if (!d_.objects.empty()) {
                notes_.add(0, DeviceText::NoObjectLists);
            }
            return;
        }
        for (const DeviceObject& o : d_.objects) {
            if (!listings_.contains(o.index)) {
                const ObjectParts& parts = parts_.at(o.index);
                notes_.add(o.line, DeviceText::NotListed,
                           {shortened(parts.main != nullptr ? parts.main->name
                                                            : hex4(o.index).substr(2))});
            }
        }
    }

    // NrOfRXPDO and NrOfTXPDO against the communication objects the file describes.
    void checkPdoCounts() {
        struct Count {
            const char* key;
            std::optional<int> said;
            int first;
        };
        for (const auto& [key, said, first] : {Count{"NrOfRXPDO", d_.info.nrOfRxPdo, 0x1400},
                                               Count{"NrOfTXPDO", d_.info.nrOfTxPdo, 0x1800}}) {
            int described = 0;
            for (const DeviceObject& o : d_.objects) {
                described += o.index >= first && o.index < first + 0x200 ? 1 : 0;
            }
            if (said && *said != described) {
                notes_.add(infoLines_[lowerAscii(key)], DeviceText::PdoCountMismatch,
                           {key, std::to_string(*said), std::to_string(described)});
            }
        }
    }

    DeviceNotes& notes_;
    DeviceDescription& d_;
    std::map<std::uint16_t, ObjectParts> parts_;
    std::map<std::uint16_t, Listing> listings_; // the first listing of each index
    std::map<std::string, int> infoLines_;      // lines of [DeviceInfo]'s keys
    bool anyList_ = false;
    int firstParameterValue_ = 0;
};

// The line of the first byte that is no UTF-8.
int firstNonUtf8Line(std::string_view text) {
    int first = 0;
    forEachLine(text, [&](std::string_view line, int number) {
        if (first == 0 && !isUtf8(line)) {
            first = number;
        }
    });
    return first;
}

bool hasDcfExtension(const std::string& fileName) {
    return lowerAscii(std::filesystem::path(fileName).extension().string()) == ".dcf";
}

} // namespace

DeviceReadOutcome readDevice(std::string_view bytes, const std::string& fileName,
                             DeviceDescription& device) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kBom)) {
        bytes.remove_prefix(kBom.size());
    }
    DeviceNotes notes;
    std::string converted;
    std::string_view text = bytes;
    if (!isUtf8(bytes)) {
        notes.add(firstNonUtf8Line(bytes), DeviceText::NotUtf8);
        converted = windows1252ToUtf8(bytes);
        text = converted;
    }
    const std::vector<EdsSection> sections = lexEds(text, notes);

    DeviceDescription read;
    read.dcf = hasDcfExtension(fileName);
    Reader reader(notes, read);
    reader.read(sections);
    if (!read.info.present && read.objects.empty()) {
        return {DeviceReadResult::NoDevice, {DeviceText::NoDevice, {}, 0}};
    }
    notePdoOddities(read, notes);
    read.notes = notes.take();
    device = std::move(read);
    return {};
}

DeviceReadOutcome readDeviceFile(const std::string& path, DeviceDescription& device) {
    std::string bytes;
    Message error;
    if (!readWholeFile(path, bytes, error, kMaxDeviceFileBytes)) {
        return {DeviceReadResult::Unreadable, {DeviceText::ReadFailed, {error}, 0}};
    }
    return readDevice(bytes, path, device);
}

} // namespace torvane
