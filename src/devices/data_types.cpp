#include "devices/data_types.h"

#include <array>
#include <cstdio>

namespace torvane {
namespace {

using K = DataTypeClass;

// CiA 301, table "Object dictionary data types"; the codes left out are reserved.
constexpr std::array<DataTypeInfo, 29> kTypes{{
    {0x0001, "BOOLEAN", K::Boolean, 8},
    {0x0002, "INTEGER8", K::Signed, 8},
    {0x0003, "INTEGER16", K::Signed, 16},
    {0x0004, "INTEGER32", K::Signed, 32},
    {0x0005, "UNSIGNED8", K::Unsigned, 8},
    {0x0006, "UNSIGNED16", K::Unsigned, 16},
    {0x0007, "UNSIGNED32", K::Unsigned, 32},
    {0x0008, "REAL32", K::Real, 32},
    {0x0009, "VISIBLE_STRING", K::Text, 0},
    {0x000A, "OCTET_STRING", K::Text, 0},
    {0x000B, "UNICODE_STRING", K::Text, 0},
    {0x000C, "TIME_OF_DAY", K::Time, 48},
    {0x000D, "TIME_DIFFERENCE", K::Time, 48},
    {0x000F, "DOMAIN", K::Domain, 0},
    {0x0010, "INTEGER24", K::Signed, 24},
    {0x0011, "REAL64", K::Real, 64},
    {0x0012, "INTEGER40", K::Signed, 40},
    {0x0013, "INTEGER48", K::Signed, 48},
    {0x0014, "INTEGER56", K::Signed, 56},
    {0x0015, "INTEGER64", K::Signed, 64},
    {0x0016, "UNSIGNED24", K::Unsigned, 24},
    {0x0018, "UNSIGNED40", K::Unsigned, 40},
    {0x0019, "UNSIGNED48", K::Unsigned, 48},
    {0x001A, "UNSIGNED56", K::Unsigned, 56},
    {0x001B, "UNSIGNED64", K::Unsigned, 64},
    {0x0020, "PDO_COMMUNICATION_PARAMETER", K::Structure, 0},
    {0x0021, "PDO_MAPPING", K::Structure, 0},
    {0x0022, "SDO_PARAMETER", K::Structure, 0},
    {0x0023, "IDENTITY", K::Structure, 0},
}};

} // namespace

const DataTypeInfo* findDataType(std::uint16_t code) {
    for (const DataTypeInfo& t : kTypes) {
        if (t.code == code) {
            return &t;
        }
    }
    return nullptr;
}

std::optional<int> dataTypeBytes(std::uint16_t code) {
    const DataTypeInfo* t = findDataType(code);
    if (t == nullptr || t->bits == 0) {
        return std::nullopt;
    }
    return t->bits / 8;
}

std::string dataTypeName(std::uint16_t code) {
    if (const DataTypeInfo* t = findDataType(code)) {
        return t->name;
    }
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(code));
    return buf;
}

bool isDummyMapping(std::uint16_t index) {
    return index < 0x0020 && dataTypeBytes(index).has_value();
}

} // namespace torvane
