#pragma once

#include "platform/serial_ports.h"

namespace torvane::samples {

// A USB adapter that reports everything the port details can hold.
inline platform::PortDetails usbAdapter() {
    platform::PortDetails usb;
    usb.device = "/dev/ttyUSB0";
    usb.byIdLink = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0";
    usb.vendorId = 0x0403;
    usb.productId = 0x6001;
    usb.manufacturer = "FTDI";
    usb.description = "FT232R USB UART";
    usb.serialNumber = "A10K1234";
    return usb;
}

// A port that is known by its device name and nothing else.
inline platform::PortDetails barePort(const char* device) {
    platform::PortDetails bare;
    bare.device = device;
    return bare;
}

} // namespace torvane::samples
