#pragma once

// What an EDS or DCF file (CiA 306) says about a CANopen device: its identity, its object
// dictionary and the notes the reader made about the file. Texts are UTF-8.

#include "devices/device_texts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace torvane {

enum class AccessType : std::uint8_t {
    Unknown,
    ReadOnly,
    WriteOnly,
    ReadWrite,
    ReadWriteRead,
    ReadWriteWrite,
    Const
};

// "ro", "wo", "rw", "rwr", "rww", "const"; empty for Unknown.
const char* accessTypeText(AccessType access);
// Whether an SDO can read or write an object of this access type.
bool isReadable(AccessType access);
bool isWritable(AccessType access);

// CiA 301 object codes (ObjectType=).
enum class ObjectCode : std::uint8_t {
    Null = 0,
    Domain = 2,
    DefType = 5,
    DefStruct = 6,
    Var = 7,
    Array = 8,
    Record = 9
};

// "VAR", "ARRAY", "RECORD", ...; empty for a code CiA 301 does not define.
const char* objectCodeText(ObjectCode code);

// One value an SDO can address: a VAR or DOMAIN object (sub-index 0) or one sub-object.
struct DeviceEntry {
    std::uint16_t index = 0;
    std::uint8_t subIndex = 0;
    std::string name;
    std::uint16_t dataType = 0; // CiA 301 code; 0 when the file gives none
    AccessType access = AccessType::Unknown;
    bool pdoMapping = false;
    std::string defaultValue;                  // as written, blanks at either end removed
    std::optional<std::string> parameterValue; // a DCF's configured value
    std::string lowLimit;
    std::string highLimit;
    int line = 0;          // of its section
    int defaultLine = 0;   // of DefaultValue, 0 when there is none
    int parameterLine = 0; // of ParameterValue

    bool readable() const { return isReadable(access); }
    bool writable() const { return isWritable(access); }
    // The value the device holds when it starts: a DCF's ParameterValue, else DefaultValue.
    const std::string& startValue(bool dcf) const;
    int startValueLine(bool dcf) const;
};

struct DeviceObject {
    std::uint16_t index = 0;
    std::string name;
    ObjectCode objectType = ObjectCode::Var;
    int line = 0;
    std::vector<DeviceEntry> entries; // by sub-index; one entry for a VAR
};

struct DeviceFileInfo {
    std::string fileName;
    std::string fileVersion;
    std::string fileRevision;
    std::string edsVersion;
    std::string description;
    std::string creationTime;
    std::string creationDate;
    std::string createdBy;
    std::string modificationTime;
    std::string modificationDate;
    std::string modifiedBy;
};

struct DeviceInfo {
    bool present = false; // the file has a [DeviceInfo] section
    std::string vendorName;
    std::optional<std::uint32_t> vendorNumber;
    std::string productName;
    std::optional<std::uint32_t> productNumber;
    std::optional<std::uint32_t> revisionNumber;
    std::string orderCode;
    std::vector<int> baudRates; // kbit/s, ascending
    std::optional<int> nrOfRxPdo;
    std::optional<int> nrOfTxPdo;
};

struct DeviceDescription {
    bool dcf = false; // a DCF: [DeviceComissioning] or the extension .dcf
    std::optional<unsigned> dcfNodeId;
    std::string dcfNodeName;
    DeviceFileInfo fileInfo;
    DeviceInfo info;
    std::vector<DeviceObject> objects; // by index
    std::vector<DeviceMessage> notes;  // by line

    // The object at `index`; nullptr when the file does not describe it.
    const DeviceObject* findObject(std::uint16_t index) const;
    // The entry at `index`, `subIndex`; nullptr when the file does not describe it.
    const DeviceEntry* findEntry(std::uint16_t index, std::uint8_t subIndex) const;
};

} // namespace torvane
