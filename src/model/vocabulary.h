#pragma once

// The gateway's domain vocabulary: every value the stored texts stand for, defined once.
// The records keep their texts (they are the file and wire format); code asks here what a
// text means instead of comparing literals.

#include <array>
#include <cstdint>
#include <string_view>

namespace torvane {

// ---- Limits ----------------------------------------------------------------------------------

inline constexpr int kNodeTableSize = 128;        // node entries a configuration holds
inline constexpr int kInstructionTableSize = 256; // command entries a configuration holds
inline constexpr int kCommandCap = 84;            // commands a download carries (record slots)
inline constexpr int kNodeLimit = 84;             // nodes the editor lets a user add
// Command limits of the older firmware and the compatible download format.
inline constexpr int kCompatibleSdoLimit = 28; // per SDO type
inline constexpr int kCompatiblePdoLimit = 14; // per PDO type
inline constexpr int kSlavePdoLimit = 42;      // per PDO type of a slave configuration

// ---- Configuration editions ------------------------------------------------------------------

enum Edition : std::int32_t {
    kEditionCompatible = 210, // the compatible download format; no status fields
    kEditionStatus = 220,     // archives carry ErrorControl and ControlStatus from here on
    kEditionNewLayout = 320,  // the new download format; below it the layout counts as old
    kEditionReadDefault = 410,
    kEditionCurrent = 500, // every new configuration and every archive written
};

// ---- Command types ---------------------------------------------------------------------------

enum class CommandKind { UploadSdo, DownloadSdo, TransmitPdo, ReceivePdo };

struct CommandType {
    CommandKind kind;
    const char* code;    // INSTRUCTION::InstructionType
    const char* label;   // tree and grid label
    const char* xmlName; // InstructionName in the XML file
    bool pdo;
    bool input; // data in the Profibus input buffer (else the output buffer)
};

inline constexpr std::array<CommandType, 4> kCommandTypes = {{
    {CommandKind::UploadSdo, "1", "Upload SDO", "Upload-SDO", false, true},
    {CommandKind::DownloadSdo, "2", "Download SDO", "Download-SDO", false, false},
    {CommandKind::TransmitPdo, "3", "Transmit PDO", "Transmit-PDO", true, true},
    {CommandKind::ReceivePdo, "4", "Receive PDO", "Receive-PDO", true, false},
}};

inline constexpr const CommandType& commandType(CommandKind kind) {
    return kCommandTypes[static_cast<std::size_t>(kind)];
}

// Stored codes, for the many places that compare or write InstructionType.
inline constexpr const char* kUploadSdo = commandType(CommandKind::UploadSdo).code;
inline constexpr const char* kDownloadSdo = commandType(CommandKind::DownloadSdo).code;
inline constexpr const char* kTransmitPdo = commandType(CommandKind::TransmitPdo).code;
inline constexpr const char* kReceivePdo = commandType(CommandKind::ReceivePdo).code;

// The type a stored code stands for; null for any code outside "1".."4".
inline const CommandType* findCommandType(std::string_view code) {
    for (const CommandType& t : kCommandTypes) {
        if (code == t.code) {
            return &t;
        }
    }
    return nullptr;
}

// ---- The PLC's side -------------------------------------------------------------------------

// Which of the PLC's images a command's bytes belong to. In a master configuration the input
// buffer's commands (Upload SDO, Transmit PDO) are PLC inputs. A slave configuration turns the
// PDOs round: the gateway transmits what the PLC writes (Transmit PDO, a PLC output) and hands the
// PLC what it receives (Receive PDO, a PLC input), whichever cursor the mapping calculation
// counts them with.
enum class PlcDirection { Input, Output };

inline constexpr PlcDirection plcDirection(CommandKind kind, bool master) {
    if (!master && commandType(kind).pdo) {
        return kind == CommandKind::ReceivePdo ? PlcDirection::Input : PlcDirection::Output;
    }
    return commandType(kind).input ? PlcDirection::Input : PlcDirection::Output;
}

// ---- Profibus I/O sizes ----------------------------------------------------------------------

// How commands are packed into a Profibus buffer.
enum class PackingMode {
    Dense,       // each command starts where the previous one of its buffer ended
    EvenAddress, // odd byte counts are followed by one spare byte
    Block32,     // no command straddles a 32-byte boundary
};

inline constexpr long long kBlockSize = 32;

// True when `length` bytes from `start` run over the next 32-byte boundary; a negative start
// (a hand-edited file) counts from the first boundary, 32.
inline constexpr bool crossesBlock32(long long start, long long length) {
    const long long next = start < 0 ? kBlockSize : (start / kBlockSize + 1) * kBlockSize;
    return start + length > next;
}

inline constexpr const char* kHardwareConfigSize =
    "Setting through Hardware Configuration of PROFIBUS DP";

inline constexpr std::uint8_t kNoWireCode = 255;

struct IoSize {
    const char* text; // FIELDBUS::InportNum
    int byteLimit;    // bytes each buffer holds
    bool fixed;       // one of the four sizes (else set by the DP master's configuration)
    PackingMode packing;
    std::uint8_t newCode;        // code in the new download formats
    std::uint8_t compatibleCode; // code in the compatible master format; kNoWireCode: none
};

// The four fixed sizes, in wire-code order, then the hardware-configuration choice.
inline constexpr std::array<IoSize, 5> kIoSizes = {{
    {"16", 16, true, PackingMode::Dense, 0, kNoWireCode},
    {"48", 48, true, PackingMode::Dense, 1, 1},
    {"96", 96, true, PackingMode::Block32, 2, kNoWireCode},
    {"112", 112, true, PackingMode::EvenAddress, 3, 0},
    {kHardwareConfigSize, 244, false, PackingMode::Dense, 4, kNoWireCode},
}};
inline constexpr std::size_t kFixedIoSizeCount = 4;
inline constexpr const IoSize& kHardwareIoSize = kIoSizes[kFixedIoSizeCount];

// The size an InportNum text stands for; null for any other text.
inline const IoSize* findIoSize(std::string_view text) {
    for (const IoSize& s : kIoSizes) {
        if (text == s.text) {
            return &s;
        }
    }
    return nullptr;
}

// Packing of an InportNum text; any text outside the table packs densely.
inline PackingMode packingOf(std::string_view inportNum) {
    const IoSize* size = findIoSize(inportNum);
    return size != nullptr ? size->packing : PackingMode::Dense;
}

// ---- CANopen baud rates ----------------------------------------------------------------------

struct CanBaudRate {
    const char* text;      // BuadRate / SlaveBaudRate
    std::uint8_t wireCode; // code in every download and upload format
    // Bus time of one RPDO in ms as a fraction (an SDO costs twice as much).
    int rpdoCostNum;
    int rpdoCostDen;
};

// In wire-code order.
inline constexpr std::array<CanBaudRate, 8> kCanBaudRates = {{
    {"1M", 0, 3, 20},
    {"500K", 1, 3, 10},
    {"250K", 2, 3, 5},
    {"125K", 3, 6, 5},
    {"100K", 4, 3, 2},
    {"50K", 5, 3, 1},
    {"20K", 6, 3, 1},
    {"10K", 7, 3, 1},
}};

// The rate a text stands for; null for any other text.
inline const CanBaudRate* findCanBaudRate(std::string_view text) {
    for (const CanBaudRate& b : kCanBaudRates) {
        if (text == b.text) {
            return &b;
        }
    }
    return nullptr;
}

// The rate of a wire code; null for a code above 7.
inline const CanBaudRate* canBaudRateOfCode(unsigned code) {
    return code < kCanBaudRates.size() ? &kCanBaudRates[code] : nullptr;
}

} // namespace torvane
