#pragma once

// Where every field of a configuration transfer sits on the wire. Download and upload use the
// same geometry: an upload reply is the download frame with the upload operation code.

#include "model/vocabulary.h"

#include <cstddef>
#include <cstdint>

namespace torvane::frame {

// ---- Framing: operation, body length, body, checksum -----------------------------------------

inline constexpr std::size_t kOperation = 0;
inline constexpr std::size_t kLength = 1;
inline constexpr std::size_t kBody = 2;
// Bytes around the body: operation, length and checksum.
inline constexpr std::size_t kFraming = 3;

// The length byte of a frame of `size` bytes.
inline constexpr std::uint8_t bodyLength(std::size_t size) {
    return static_cast<std::uint8_t>(size - kFraming);
}

// ---- Operation codes ---------------------------------------------------------------------------

inline constexpr std::uint8_t kOpTavo20Upload = 0x01;
inline constexpr std::uint8_t kOpDownload = 0x02; // also the first byte of its acknowledgements
inline constexpr std::uint8_t kOpTavo20SUpload = 0x03;
inline constexpr std::uint8_t kOpReadSdoOptions = 0x06;
inline constexpr std::uint8_t kOpSdoOptions = 0x07;
inline constexpr std::uint8_t kOpFormatQuery = 0xFC;
inline constexpr std::uint8_t kOpIdentify = 0xFE;

// ---- Frame type and sequence: the last two body bytes of a configuration frame ----------------

inline constexpr std::uint8_t kTypeCompatible = 0x01; // upload requests of the compatible layouts
inline constexpr std::uint8_t kTypeConfiguration = 0x0D;
inline constexpr std::uint8_t kHeaderSequence = 1;
inline constexpr std::uint8_t kFirstDataSequence = 2;
inline constexpr std::size_t kDataFrameCount = 12;

// Offsets of the frame type and sequence bytes in a frame of `size` bytes.
inline constexpr std::size_t typeAt(std::size_t size) {
    return size - 3;
}
inline constexpr std::size_t sequenceAt(std::size_t size) {
    return size - 2;
}

// ---- Identification ----------------------------------------------------------------------------

inline constexpr std::size_t kIdentifyReplySize = 11;
inline constexpr std::size_t kFirmwareMajor = 4;
inline constexpr std::size_t kFirmwareMinor = 5;
inline constexpr std::size_t kStoredFormatReplySize = 5;
inline constexpr std::size_t kStoredFormat = 3;

// ---- Command records ---------------------------------------------------------------------------

inline constexpr std::size_t kRecordsPerFrame = 7;
static_assert(kRecordsPerFrame * kDataFrameCount == kCommandCap, "one slot per command");

// First slot of each command group, in the order the groups are sent.
inline constexpr int kCompatibleUploadSdoSlot = 0;
inline constexpr int kCompatibleTpdoSlot = kCompatibleUploadSdoSlot + kCompatibleSdoLimit;
inline constexpr int kCompatibleDownloadSdoSlot = kCompatibleTpdoSlot + kCompatiblePdoLimit;
inline constexpr int kCompatibleRpdoSlot = kCompatibleDownloadSdoSlot + kCompatibleSdoLimit;
inline constexpr int kSlaveTpdoSlot = 0;
inline constexpr int kSlaveRpdoSlot = kSlavePdoLimit;
static_assert(kCompatibleRpdoSlot + kCompatiblePdoLimit == kCommandCap);
static_assert(kSlaveRpdoSlot + kSlavePdoLimit == kCommandCap);

// The compatible layout's command groups: the command type and the group's first slot, in the
// order the groups are sent.
struct SlotGroup {
    CommandKind kind;
    int firstSlot;
};
inline constexpr SlotGroup kCompatibleSlotGroups[] = {
    {CommandKind::UploadSdo, kCompatibleUploadSdoSlot},
    {CommandKind::TransmitPdo, kCompatibleTpdoSlot},
    {CommandKind::DownloadSdo, kCompatibleDownloadSdoSlot},
    {CommandKind::ReceivePdo, kCompatibleRpdoSlot}};

// 6-byte record of the compatible master layout.
namespace compatible_record {
inline constexpr std::size_t kSize = 6;
inline constexpr std::size_t kKey = 0;     // Index, or the low 16 bits of the COB-ID (2 bytes)
inline constexpr std::size_t kKeyHigh = 2; // SubIndex, or bits 16..23 of the COB-ID
inline constexpr std::size_t kNode = 3;
inline constexpr std::size_t kBytes = 4;
inline constexpr std::size_t kMapping = 5;
} // namespace compatible_record

// 6-byte record of the slave layout (PDOs only).
namespace slave_record {
inline constexpr std::size_t kSize = 6;
inline constexpr std::size_t kCobId = 0; // 4 bytes
inline constexpr std::size_t kBytes = 4;
inline constexpr std::size_t kMapping = 5;
} // namespace slave_record

// 13-byte record of the new master layout.
namespace new_record {
inline constexpr std::size_t kSize = 13;
inline constexpr std::size_t kBytes = 0;
inline constexpr std::size_t kNode = 1;
inline constexpr std::size_t kMapping = 2; // 4 bytes
inline constexpr std::size_t kCobId = 6;   // 4 bytes, PDOs
inline constexpr std::size_t kIndex = 10;  // 2 bytes, SDOs
inline constexpr std::size_t kSubIndex = 12;
} // namespace new_record

// Data frames: seven records after the framing, then frame type and sequence.
inline constexpr std::size_t kSmallDataFrameSize = 47; // 6-byte records
inline constexpr std::size_t kLargeDataFrameSize = 96; // 13-byte records

// Offset of slot `slot` (0..83) within its data frame.
inline constexpr std::size_t slotOffset(std::size_t slot, std::size_t recordSize) {
    return kBody + recordSize * (slot % kRecordsPerFrame);
}
// Data frame (0..11) that carries slot `slot`.
inline constexpr std::size_t slotFrame(std::size_t slot) {
    return slot / kRecordsPerFrame;
}

// ---- Headers -----------------------------------------------------------------------------------

// Header of the compatible master layout.
namespace compatible_header {
inline constexpr std::size_t kSize = 18;
inline constexpr std::size_t kIoSize = 2;
inline constexpr std::size_t kNodeId = 3;
inline constexpr std::size_t kCanBaud = 4; // 2 bytes
inline constexpr std::size_t kTpdoClearTime = 6;
inline constexpr std::size_t kSdoTimeout = 7;
inline constexpr std::size_t kEnableNmt = 8;
inline constexpr std::size_t kDelayStartup = 9;
inline constexpr std::size_t kSync = 10;
inline constexpr std::size_t kCounts = 11; // Upload SDO, TPDO, Download SDO, RPDO
} // namespace compatible_header

// Header of the new master layout; the 2-byte fields are little-endian.
namespace new_header {
inline constexpr std::size_t kSize = 38;
inline constexpr std::size_t kIoSize = 2;
inline constexpr std::size_t kNodeId = 3;
inline constexpr std::size_t kCanBaud = 4;       // 2 bytes
inline constexpr std::size_t kTpdoClearTime = 6; // 2 bytes
inline constexpr std::size_t kSdoTimeout = 8;    // 2 bytes
inline constexpr std::size_t kEnableNmt = 10;
inline constexpr std::size_t kDelayStartup = 11; // 2 bytes
inline constexpr std::size_t kSync = 13;         // 2 bytes
inline constexpr std::size_t kCounts = 15;       // Upload SDO, TPDO, Download SDO, RPDO
inline constexpr std::size_t kControlStatus = 19;
inline constexpr std::size_t kErrorControl = 20; // 2 bytes
inline constexpr std::size_t kTotalCount = 22;
inline constexpr std::size_t kRpdoCycle = 23; // 2 bytes
inline constexpr std::size_t kOutputProcessing = 25;
inline constexpr std::size_t kSdoCycle = 26; // 2 bytes
} // namespace new_header

// Header of the slave layout (formats 5 and 6).
namespace slave_header {
inline constexpr std::size_t kSize = 13;
inline constexpr std::size_t kIoSize = 2;
inline constexpr std::size_t kNodeId = 3;
inline constexpr std::size_t kCanBaud = 4; // 2 bytes
// The RPDO clear time on download; an upload stores it as the SDO time-out byte.
inline constexpr std::size_t kClearTime = 6;
inline constexpr std::size_t kDelayStartup = 7;
inline constexpr std::size_t kTpdoCount = 8;
inline constexpr std::size_t kRpdoCount = 9;
} // namespace slave_header

// ---- SDO options (new master layout, firmware 5.2 and later) ----------------------------------

namespace sdo_options {
inline constexpr std::size_t kSize = 18;
inline constexpr std::size_t kReplyCapacity = 49;
inline constexpr std::size_t kConcurrent = 2;
inline constexpr std::size_t kRetries = 3;
inline constexpr std::size_t kPollDelay = 4; // 2 bytes
} // namespace sdo_options

// ---- Upload requests: operation, length 2, frame type, sequence, checksum ---------------------

inline constexpr std::size_t kRequestSize = 5;

// ---- Acknowledgements --------------------------------------------------------------------------

inline constexpr std::size_t kAckSize = 5;
// What every frame of the compatible and slave layouts expects.
inline constexpr std::uint8_t kCompatibleAck[kAckSize] = {kOpDownload, 0x02, 0x01, 0x01, 0x06};

} // namespace torvane::frame
