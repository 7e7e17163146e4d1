#pragma once

#include "model/configuration.h"
#include "model/message.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace torvane {

// Template files copied into every EDS file, kept beside the programs.
inline constexpr const char* kEdsTemplate1File = "EDSTemplate1.dat";
inline constexpr const char* kEdsTemplate2File = "EDSTemplate2.dat";

// Local wall-clock time of a generation; passed in so that files can be reproduced in tests.
struct LocalTime {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
};

// The current local time of day and date.
LocalTime currentLocalTime();

// True when the "Create EDS File" command applies: only a CANopen Slave configuration is a node
// that a master's tool needs an EDS for.
bool edsAvailable(const GatewayConfiguration& cfg);

// "hh:mmAM"/"hh:mmPM" on a 12-hour clock (00:05 -> 12:05AM, 12:30 -> 12:30PM, 13:05 -> 01:05PM).
std::string edsTimeText(int hour, int minute);

// "mm-dd-yyyy".
std::string edsDateText(const LocalTime& t);

// DefaultValue of a PDO's COB-ID sub-index: "$NODEID+0x180" .. "$NODEID+0x500" when the COB-ID is
// the node ID plus one of the predefined offsets, else "0x%4.4x" of the COB-ID.
std::string edsCobIdText(std::int32_t cobId, std::int32_t nodeId);

// DefaultValue of the k-th PDO's mapping entry: its data area object (0x3000 + k for a Receive
// PDO, 0x2000 + k for a Transmit PDO), sub-index 0, length 8 * bytes bits kept to 16 bits.
std::string edsMappedObjectText(bool receivePdo, int k, std::int32_t bytes);

// CiA 301 data type code of a data area of `bytes` bytes; 0x001c for any count outside 1..8.
unsigned edsDataType(std::int32_t bytes);

// The whole EDS text of a slave configuration, CR LF line ends. `fileName` is written into
// [FileInfo] without its folder; the templates are copied byte for byte.
std::string buildEdsText(const CONFIG& config, std::string_view fileName,
                         std::string_view template1, std::string_view template2,
                         const LocalTime& now);

enum class EdsResult {
    Ok,
    TemplateUnreadable, // a template file is missing or cannot be read; nothing was written
    CreateFailed,       // the EDS file cannot be written; a previous file is left intact
};

struct EdsOutcome {
    EdsResult result = EdsResult::Ok;
    Message message; // user-visible text; empty on success
    Message detail;  // the system's reason, for logs and the command line
};

// Paths of the two template files (the programs find them beside the executable).
struct EdsTemplatePaths {
    std::string template1;
    std::string template2;
};

// Writes the EDS file of `cfg` to `path` atomically. Returns TemplateUnreadable with a message
// naming the template, or CreateFailed with "Create EDS File Error!!"; in both cases no new or
// truncated file is left at `path`.
EdsOutcome createEdsFile(const GatewayConfiguration& cfg, const std::string& path,
                         const EdsTemplatePaths& templates, const LocalTime& now);

} // namespace torvane
