#pragma once

// The forgiving reader of EDS and DCF files (CiA 306). It reads what vendors really ship:
// every repair or oddity becomes a note with its line number and the file is read all the same.

#include "devices/device_description.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace torvane {

// The largest device file read; the largest public EDS files are a few hundred kilobytes.
inline constexpr std::uint64_t kMaxDeviceFileBytes = 16ULL * 1024 * 1024;

enum class DeviceReadResult {
    Ok,
    Unreadable, // not a regular file, missing, too large, a read error
    NoDevice,   // neither a [DeviceInfo] section nor any object
};

struct DeviceReadOutcome {
    DeviceReadResult result = DeviceReadResult::Ok;
    DeviceMessage message; // why the file was refused
};

// Reads the text of an EDS or DCF file, UTF-8 or else Windows-1252. `fileName` (a name or a
// path) tells a DCF by the extension .dcf; a [DeviceComissioning] section does as well.
// Returns NoDevice, `device` left as it was, when the file holds no device.
DeviceReadOutcome readDevice(std::string_view bytes, const std::string& fileName,
                             DeviceDescription& device);

// Reads the file `path` through the regular-file reader (at most kMaxDeviceFileBytes; FIFOs
// and devices refused unopened). Returns Unreadable with that reader's message naming the
// file, or NoDevice; `device` is then left as it was.
DeviceReadOutcome readDeviceFile(const std::string& path, DeviceDescription& device);

} // namespace torvane
