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

// A port backed by QSerialPort; it works without a running Qt event loop. Opening takes the
// device exclusively: a second open of the same device, in this process or another, fails.
std::unique_ptr<SerialPort> createSerialPort();

} // namespace torvane::platform
