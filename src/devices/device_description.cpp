#include "devices/device_description.h"

#include <algorithm>

namespace torvane {

const char* accessTypeText(AccessType access) {
    switch (access) {
    case AccessType::ReadOnly:
        return "ro";
    case AccessType::WriteOnly:
        return "wo";
    case AccessType::ReadWrite:
        return "rw";
    case AccessType::ReadWriteRead:
        return "rwr";
    case AccessType::ReadWriteWrite:
        return "rww";
    case AccessType::Const:
        return "const";
    case AccessType::Unknown:
        break;
    }
    return "";
}

bool isReadable(AccessType access) {
    return access != AccessType::Unknown && access != AccessType::WriteOnly;
}

bool isWritable(AccessType access) {
    return access == AccessType::WriteOnly || access == AccessType::ReadWrite ||
           access == AccessType::ReadWriteRead || access == AccessType::ReadWriteWrite;
}

const char* objectCodeText(ObjectCode code) {
    switch (code) {
    case ObjectCode::Null:
        return "NULL";
    case ObjectCode::Domain:
        return "DOMAIN";
    case ObjectCode::DefType:
        return "DEFTYPE";
    case ObjectCode::DefStruct:
        return "DEFSTRUCT";
    case ObjectCode::Var:
        return "VAR";
    case ObjectCode::Array:
        return "ARRAY";
    case ObjectCode::Record:
        return "RECORD";
    }
    return "";
}

const std::string& DeviceEntry::startValue(bool dcf) const {
    return dcf && parameterValue ? *parameterValue : defaultValue;
}

int DeviceEntry::startValueLine(bool dcf) const {
    return dcf && parameterValue ? parameterLine : defaultLine;
}

const DeviceObject* DeviceDescription::findObject(std::uint16_t index) const {
    const auto it = std::lower_bound(
        objects.begin(), objects.end(), index,
        [](const DeviceObject& o, std::uint16_t wanted) { return o.index < wanted; });
    return it != objects.end() && it->index == index ? &*it : nullptr;
}

const DeviceEntry* DeviceDescription::findEntry(std::uint16_t index, std::uint8_t subIndex) const {
    const DeviceObject* object = findObject(index);
    if (object == nullptr) {
        return nullptr;
    }
    const auto it = std::lower_bound(
        object->entries.begin(), object->entries.end(), subIndex,
        [](const DeviceEntry& e, std::uint8_t wanted) { return e.subIndex < wanted; });
    return it != object->entries.end() && it->subIndex == subIndex ? &*it : nullptr;
}

} // namespace torvane
