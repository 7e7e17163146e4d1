#pragma once

#include "comm/protocol_base.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace torvane {

// Frames of a download, built from the configuration without sending anything.
struct DownloadFrames {
    Frame header;
    std::array<Frame, 12> data;
};

// Download to the TAVO20 (CANopen master configurations): compatible and new format.
class CTAVO20Down : public CDownConfig {
public:
    using CDownConfig::CDownConfig;
    ~CTAVO20Down() override;

    TransferResult SendConfiguration(DownloadFormat format) override;
    // Completeness checks in order; Success, or FieldEmpty with the complaint in `textOut`.
    TransferResult Validate(Message& textOut) override;

    // Frames of the compatible format; IoSizeRefused, TooMany... over a limit, else Success.
    TransferResult BuildCompatibleFrames(DownloadFrames& frames) const;
    // Frames of the new format (never refused).
    DownloadFrames BuildNewFrames() const;
    // The SDO options frame of the new format.
    Frame BuildSdoOptionsFrame() const;

private:
    TransferResult DownloadCompatible();
    TransferResult DownloadNew();
};

// Recalculates every mapping address of a slave configuration in place; false when they
// overflow the Profibus buffers. Supplied by the layer that knows the mapping rules.
using MappingRecalculation = std::function<bool(GatewayConfiguration&)>;

// Download to the TAVO20S (CANopen slave configurations); one layout for formats 5 and 6.
class CTAVO20SDown : public CDownConfig {
public:
    CTAVO20SDown(std::unique_ptr<SerialPort> port, Clock& clock,
                 GatewayConfiguration& configuration, MappingRecalculation recalculate);
    ~CTAVO20SDown() override;

    // Recalculates the mapping addresses; Success, or MappingOverflow when they do not fit.
    TransferResult Validate(Message& textOut) override;
    unsigned IoSizeCode(DownloadFormat format) const override;
    unsigned CanBaudCode() const override;
    unsigned NodeIdValue() const override;
    unsigned DelayStartupValue() const override;
    unsigned TpdoClearTimeValue() const override;
    // Sends header and data frames in `format`; returns a transfer result code.
    TransferResult SendConfiguration(DownloadFormat format) override;

    // Frames for `format`; IoSizeRefused for a refused buffer size, else Success.
    TransferResult BuildFrames(DownloadFormat format, DownloadFrames& frames) const;

private:
    MappingRecalculation recalculate_;
};

// The frames a download in `format` sends for `configuration`, built by the download classes
// themselves without a port: the master formats (with the SDO options frame of the new one in
// `sdoOptions`) or the slave formats. The configuration is taken as it is: no 84 cut and no
// mapping recalculation. Returns Success, IoSizeRefused or a TooMany... result of the compatible
// format, or Unsupported for a format of the other model.
TransferResult buildDownloadFrames(const GatewayConfiguration& configuration, DownloadFormat format,
                                   DownloadFrames& frames, Frame* sdoOptions = nullptr);

// Acknowledgement a new-format frame with sequence number `sequence` expects.
Frame newFormatAck(std::uint8_t sequence);

} // namespace torvane
