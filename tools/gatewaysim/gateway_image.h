#pragma once

#include "sim_options.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The gateway's own view of a configuration, decoded from the download frames and encoded into
// the upload replies. Written from the frame tables alone, independent of the product's codecs.
namespace torvane::sim {

using Bytes = std::vector<std::uint8_t>;

// Wire formats as the download format code names them.
inline constexpr int kFormatCompatible = 0;
inline constexpr int kFormatNew = 4;
inline constexpr int kFormatSlaveOld = 5;
inline constexpr int kFormatSlaveNew = 6;

inline constexpr int kDataFrames = 12;
inline constexpr int kSlots = 84;

struct SimRecord {
    int kind = 0; // 1 Upload SDO, 2 Download SDO, 3 TPDO, 4 RPDO
    std::uint32_t bytes = 0;
    std::uint32_t node = 0;
    std::uint32_t mapping = 0;
    std::uint32_t cobId = 0;
    std::uint32_t index = 0;
    std::uint32_t subIndex = 0;

    bool operator==(const SimRecord&) const = default;
};

struct GatewayImage {
    int format = kFormatNew;
    // Buffer size in the new-format coding: 0 16, 1 48, 2 96, 3 112, 4 set by the DP master.
    std::uint8_t ioCode = 3;
    std::uint8_t nodeId = 127;
    std::uint16_t baud = 2;
    std::uint16_t clearTime = 0; // TPDO clear time (TAVO20), RPDO clear time (TAVO20S)
    std::uint16_t sdoTimeout = 200;
    std::uint8_t nmt = 0;
    std::uint16_t delayStart = 100;
    std::uint16_t sync = 0;
    std::uint8_t controlMonitor = 0;
    std::uint16_t errorControl = 0;
    std::uint16_t rpdoCycle = 0;
    std::uint8_t outputProcessing = 1;
    std::uint16_t sdoCycle = 0;
    bool optionsReceived = false;
    std::uint8_t sdoConcurrent = 1;
    std::uint8_t sdoRetries = 0; // as on the wire (1..5 travel as 2..6)
    std::uint16_t pollDelay = 0;
    std::vector<SimRecord> records; // in wire order: grouped by kind 1, 3, 2, 4

    // The frames that built this image, kept for the store file.
    std::vector<Bytes> downloadFrames;
    Bytes optionsFrame;

    int count(int kind) const;
};

// What a gateway fresh from the factory holds.
GatewayImage factoryImage(SimModel model);

// Total frame length announced by a download header's length byte for `model`; 0 when the byte
// names no header this model accepts. Sets `format` to the format of that header.
int headerFormat(SimModel model, std::uint8_t lengthByte, bool oldFirmware, int& format);

// Length of a data frame of `format` (47 or 96).
int dataFrameLength(int format);

// Decodes a complete download (header plus twelve data frames) of `format` into `image`.
// Returns false with `error` set when a frame does not have the layout of that format.
bool decodeDownload(SimModel model, int format, const std::vector<Bytes>& frames,
                    GatewayImage& image, std::string& error);

// Decodes an SDO options frame (0x07) into `image`. Returns false when it is not 18 bytes.
bool decodeOptions(const Bytes& frame, GatewayImage& image);

// Upload replies. `n` is 1 for the header and 2..13 for the data frames.
Bytes encodeMasterUpload(const GatewayImage& image, int format, int n);
Bytes encodeSlaveUpload(const GatewayImage& image, int n);
Bytes encodeOptionsReply(const GatewayImage& image);

// A short readable summary of the image, for the log.
std::string describeImage(const GatewayImage& image);

// Store file: the frames of the last download. Load returns false with `error` when the file
// exists but cannot be read back; a missing file leaves `image` untouched and returns true.
bool saveStore(const std::string& path, SimModel model, const GatewayImage& image,
               std::string& error);
bool loadStore(const std::string& path, SimModel model, GatewayImage& image, std::string& error);

// Sum of the bytes modulo 256, as every frame ends with.
std::uint8_t checksum(const std::uint8_t* bytes, std::size_t length);

// Two upper-case hex digits and a blank per byte.
std::string hexText(const std::uint8_t* bytes, std::size_t length);

} // namespace torvane::sim
