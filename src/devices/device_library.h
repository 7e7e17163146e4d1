#pragma once

// The user's library of device files: each imported file copied unchanged into one folder
// (the caller passes it; by default $XDG_DATA_HOME/torvane/devices), under a key that names
// the device.

#include "devices/device_description.h"

#include <string>
#include <vector>

namespace torvane {

// "0xVVVVVVVV:0xPPPPPPPP:0xRRRRRRRR" of the vendor, product and revision numbers of
// [DeviceInfo]; when all three are 0 or missing, `fileName`'s name without extension (':'
// and a leading '.' as '_'). A DCF's key ends in ":dcf".
std::string deviceKey(const DeviceDescription& device, const std::string& fileName);

// The name under which the library stores the device of `key`: the key with ':' as '_',
// ".dcf" or ".eds".
std::string storedFileName(const std::string& key, bool dcf);

struct LibraryDevice {
    std::string key;
    std::string path; // the stored file
    DeviceDescription device;
};

struct ImportedDevice {
    std::string source; // the file imported
    std::string key;
    std::string path; // the stored file
    bool replaced = false;
    std::size_t notes = 0;
};

enum class LibraryResult {
    Ok,
    NotRead,    // a file is unreadable or holds no device
    SameDevice, // two of the files have one key, or a stored file of the name holds another
    NotSaved,   // the folder or a file cannot be written
    NotFound,   // no device of the key
    NotRemoved, // its file cannot be removed
};

struct LibraryOutcome {
    LibraryResult result = LibraryResult::Ok;
    std::string file; // the file the message is about
    DeviceMessage message;
};

// Imports `files`: each is read and, when every one holds a device, copied into `folder`
// (created when missing), replacing a stored device of the same key. Returns NotRead or
// SameDevice before anything is written, or NotSaved after undoing what this call wrote;
// the library is then as it was.
LibraryOutcome importDevices(const std::string& folder, const std::vector<std::string>& files,
                             std::vector<ImportedDevice>& imported);

// The devices stored in `folder`, by key; none when it does not exist. A stored file that no
// longer reads is left out with a message in `problems`.
std::vector<LibraryDevice> listDevices(const std::string& folder,
                                       std::vector<DeviceMessage>& problems);

// Removes the device of `key` (as listDevices gives it; the hexadecimal digits in any case).
// Returns NotFound or NotRemoved, the library then unchanged; `removed` is the stored file.
LibraryOutcome removeDevice(const std::string& folder, const std::string& key,
                            LibraryDevice& removed);

} // namespace torvane
