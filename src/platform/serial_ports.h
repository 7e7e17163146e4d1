#pragma once

#include "comm/serial_port.h"

#include <memory>
#include <string>
#include <vector>

namespace torvane::platform {

// Appends the serial ports of this machine to `ports`: the system's ports in a stable natural
// order (device paths such as /dev/ttyUSB0, COM3 on Windows), then the colon-separated device
// paths of the environment variable TORVANE_EXTRA_PORTS. Clears nothing itself.
void EnumerateSerialPorts(std::vector<std::string>& ports);

// The serial ports of this machine, as EnumerateSerialPorts lists them.
std::vector<std::string> serialPortList();

// What identifies one port to a person choosing between adapters; empty or -1 where the system
// does not say (a pseudo-terminal has none of it).
struct PortDetails {
    std::string device;   // as the port list names it
    std::string byIdLink; // the /dev/serial/by-id/ link that leads to it
    int vendorId = -1;    // USB ids
    int productId = -1;
    std::string manufacturer;
    std::string description;
    std::string serialNumber;
};

inline constexpr const char* kSerialByIdDir = "/dev/serial/by-id";

// The details of each of `devices`, in the same order. Links are followed when matching a device
// to the system's ports and to the links in `byIdDir`; a folder that cannot be read adds nothing.
std::vector<PortDetails> serialPortDetails(const std::vector<std::string>& devices,
                                           const std::string& byIdDir = kSerialByIdDir);

// The device on the first line, then one indented "label: value" line per known detail; no
// trailing line end. The command line's long listing and the port list's tooltips show it.
Message describePort(const PortDetails& details);

// A port backed by QSerialPort; it works without a running Qt event loop. Opening takes the
// device exclusively, whatever name it is reached by: a second open of the same device, in this
// process or another, fails (another process through a different link is caught by Qt's lock
// file on the resolved name). A path that exists but is no terminal device is refused.
std::unique_ptr<SerialPort> createSerialPort();

} // namespace torvane::platform
