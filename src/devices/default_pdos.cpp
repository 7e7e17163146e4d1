#include "devices/default_pdos.h"

#include "devices/data_types.h"
#include "devices/eds_values.h"

#include <algorithm>
#include <cstdio>

namespace torvane {
namespace {

constexpr std::uint32_t kInvalidBit = 0x80000000U;
constexpr std::uint32_t kExtendedBit = 0x20000000U;
constexpr int kMaxMappedObjects = 64; // CiA 301: sub-indices 1..0x40
constexpr int kMaxPdoBits = 64;

std::string hex4(unsigned value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04X", value & 0xFFFF);
    return buf;
}

std::string sectionName(std::uint16_t index, int sub) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04Xsub%X", static_cast<unsigned>(index),
                  static_cast<unsigned>(sub));
    return buf;
}

// A notes sink that may be absent: defaultPdos reads, notePdoOddities tells.
class Sink {
public:
    explicit Sink(DeviceNotes* notes) : notes_(notes) {}
    void add(int line, DeviceText id, std::vector<std::string> args) {
        if (notes_ != nullptr) {
            notes_->add(line, id, std::move(args));
        }
    }

private:
    DeviceNotes* notes_;
};

void readCobId(const DeviceDescription& d, const DeviceObject& o, std::optional<unsigned> nodeId,
               DefaultPdo& p, Sink& notes) {
    const DeviceEntry* e = d.findEntry(o.index, 1);
    std::optional<EdsValue> v;
    if (e != nullptr) {
        p.cobIdText = e->startValue(d.dcf);
        v = parseEdsValue(p.cobIdText);
    }
    if (!v || v->number.negative || v->number.magnitude > 0xFFFFFFFFU) {
        notes.add(e != nullptr ? e->line : o.line, DeviceText::PdoNoCobId,
                  {p.label(), sectionName(o.index, 1)});
        return;
    }
    if (!v->plusNodeId) {
        p.cobId = static_cast<std::uint32_t>(v->number.magnitude);
    } else if (nodeId) {
        p.cobId = static_cast<std::uint32_t>(v->resolve(*nodeId));
    }
    // The node address only adds to the identifier bits, so the flags show without it.
    const auto entry = p.cobId.value_or(static_cast<std::uint32_t>(v->number.magnitude));
    p.valid = (entry & kInvalidBit) == 0;
    p.extended = (entry & kExtendedBit) != 0;
    if (p.extended) {
        notes.add(e->startValueLine(d.dcf) > 0 ? e->startValueLine(d.dcf) : e->line,
                  DeviceText::PdoExtendedId, {p.label(), shortened(p.cobIdText)});
    }
}

// The number of mapped objects sub-index 0 gives; 0 (nothing mapped) when it gives none.
int mappedCount(const DeviceDescription& d, const DeviceObject& m) {
    const DeviceEntry* zero = d.findEntry(m.index, 0);
    if (zero == nullptr) {
        return 0;
    }
    const std::optional<EdsValue> v = parseEdsValue(zero->startValue(d.dcf));
    if (!v || v->plusNodeId || v->number.negative) {
        return 0;
    }
    return static_cast<int>(std::min<std::uint64_t>(v->number.magnitude, kMaxMappedObjects));
}

void readMapping(const DeviceDescription& d, const DeviceObject& o, DefaultPdo& p, Sink& notes) {
    const DeviceObject* m = d.findObject(p.mappingIndex);
    if (m == nullptr) {
        notes.add(o.line, DeviceText::PdoNoMapping, {p.label(), hex4(p.mappingIndex).substr(2)});
        return;
    }
    p.hasMapping = true;
    const int count = mappedCount(d, *m);
    for (int i = 1; i <= count; ++i) {
        const DeviceEntry* e = d.findEntry(m->index, static_cast<std::uint8_t>(i));
        if (e == nullptr) {
            notes.add(m->line, DeviceText::PdoEntryMissing,
                      {p.label(), std::to_string(count), std::to_string(i)});
            continue;
        }
        const std::string& text = e->startValue(d.dcf);
        const std::optional<EdsValue> v = parseEdsValue(text);
        const int line = e->startValueLine(d.dcf) > 0 ? e->startValueLine(d.dcf) : e->line;
        if (!v || v->plusNodeId || v->number.negative || v->number.magnitude > 0xFFFFFFFFU ||
            (v->number.magnitude & 0xFF) == 0) {
            notes.add(line, DeviceText::PdoBadEntry,
                      {p.label(), std::to_string(i), shortened(text)});
            continue;
        }
        // CiA 301: index in bits 31..16, sub-index in 15..8, length in bits in 7..0.
        const auto raw = static_cast<std::uint32_t>(v->number.magnitude);
        PdoMappingEntry entry;
        entry.index = static_cast<std::uint16_t>(raw >> 16);
        entry.subIndex = static_cast<std::uint8_t>(raw >> 8);
        entry.bits = static_cast<int>(raw & 0xFF);
        if (isDummyMapping(entry.index)) {
            entry.dummy = true;
            entry.described = true;
            entry.dataType = entry.index;
            entry.name = dataTypeName(entry.index);
        } else if (const DeviceEntry* target = d.findEntry(entry.index, entry.subIndex)) {
            entry.described = true;
            entry.name = target->name;
            entry.objectName = d.findObject(entry.index)->name;
            entry.dataType = target->dataType;
            const std::optional<int> bytes = dataTypeBytes(target->dataType);
            // A BOOLEAN is mapped as one bit or as a byte.
            const bool boolBit = target->dataType == 0x0001 && entry.bits == 1;
            if (bytes && entry.bits != *bytes * 8 && !boolBit) {
                notes.add(line, DeviceText::PdoEntrySize,
                          {p.label(), hex4(entry.index), std::to_string(entry.subIndex),
                           std::to_string(entry.bits), dataTypeName(target->dataType),
                           std::to_string(*bytes * 8)});
            }
        } else {
            notes.add(line, DeviceText::PdoUnknownObject,
                      {p.label(), hex4(entry.index), std::to_string(entry.subIndex)});
        }
        p.entries.push_back(std::move(entry));
    }
    if (p.bits() > kMaxPdoBits) {
        notes.add(m->line, DeviceText::PdoTooLong, {p.label(), std::to_string(p.bits())});
    }
}

std::vector<DefaultPdo> analyse(const DeviceDescription& d, std::optional<unsigned> nodeId,
                                DeviceNotes* sink) {
    Sink notes(sink);
    std::vector<DefaultPdo> pdos;
    for (const auto& [first, direction] :
         {std::pair{0x1400, PdoDirection::Receive}, std::pair{0x1800, PdoDirection::Transmit}}) {
        for (const DeviceObject& o : d.objects) {
            if (o.index < first || o.index >= first + 0x200) {
                continue;
            }
            DefaultPdo p;
            p.direction = direction;
            p.number = o.index - first + 1;
            p.communicationIndex = o.index;
            p.mappingIndex = static_cast<std::uint16_t>(o.index + 0x200);
            readCobId(d, o, nodeId, p, notes);
            readMapping(d, o, p, notes);
            pdos.push_back(std::move(p));
        }
    }
    return pdos;
}

} // namespace

std::string DefaultPdo::label() const {
    return (direction == PdoDirection::Receive ? "RPDO " : "TPDO ") + std::to_string(number);
}

std::optional<std::uint32_t> DefaultPdo::canId() const {
    if (!cobId) {
        return std::nullopt;
    }
    return *cobId & (extended ? 0x1FFFFFFFU : 0x7FFU);
}

int DefaultPdo::bits() const {
    int total = 0;
    for (const PdoMappingEntry& e : entries) {
        total += e.bits;
    }
    return total;
}

std::optional<int> DefaultPdo::bytes() const {
    const int total = bits();
    if (total % 8 != 0) {
        return std::nullopt;
    }
    return total / 8;
}

std::vector<DefaultPdo> defaultPdos(const DeviceDescription& device,
                                    std::optional<unsigned> nodeId) {
    return analyse(device, nodeId, nullptr);
}

void notePdoOddities(const DeviceDescription& device, DeviceNotes& notes) {
    analyse(device, std::nullopt, &notes);
}

} // namespace torvane
