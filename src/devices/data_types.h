#pragma once

// The CiA 301 data types a device description names by their code (DataType=0x0007).

#include <cstdint>
#include <optional>
#include <string>

namespace torvane {

enum class DataTypeClass : std::uint8_t {
    Boolean,
    Signed,
    Unsigned,
    Real,
    Text,
    Time,
    Domain,
    Structure
};

struct DataTypeInfo {
    std::uint16_t code;
    const char* name; // as CiA 301 writes it: "UNSIGNED16"
    DataTypeClass kind;
    int bits; // 0 for the types without a fixed size (strings, DOMAIN, structures)
};

// The basic or structured type of `code`; nullptr for a code CiA 301 does not define (a
// manufacturer's or a profile's own type).
const DataTypeInfo* findDataType(std::uint16_t code);

// Bytes an object of type `code` occupies: 1 for BOOLEAN and the 8-bit types up to 8 for the
// 64-bit ones; nullopt for strings, DOMAIN, structures and unknown codes.
std::optional<int> dataTypeBytes(std::uint16_t code);

// "UNSIGNED16", or "0x0040" for a code CiA 301 does not define.
std::string dataTypeName(std::uint16_t code);

// Whether index `index` of a PDO mapping entry is a dummy entry: the index of a basic type
// whose size is known, which stands for that many bits the node skips.
bool isDummyMapping(std::uint16_t index);

} // namespace torvane
