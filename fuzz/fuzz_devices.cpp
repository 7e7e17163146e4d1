// Feeds arbitrary bytes to the device reader, as an EDS and as a DCF. A refusal must be the one
// that says no device is there; what it accepts must hold its objects and sub-objects in
// order, its notes by line and within their limit, and give default PDOs for any node.
#include "devices/default_pdos.h"
#include "devices/device_library.h"
#include "devices/device_reader.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace torvane;

namespace {

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

void readAs(std::string_view bytes, const std::string& name) {
    DeviceDescription d;
    const DeviceReadOutcome read = readDevice(bytes, name, d);
    if (read.result != DeviceReadResult::Ok) {
        check(read.result == DeviceReadResult::NoDevice && read.message.id == DeviceText::NoDevice);
        return;
    }
    for (std::size_t i = 0; i < d.objects.size(); ++i) {
        check(i == 0 || d.objects[i - 1].index < d.objects[i].index);
        const auto& entries = d.objects[i].entries;
        for (std::size_t k = 0; k < entries.size(); ++k) {
            check(entries[k].index == d.objects[i].index);
            check(k == 0 || entries[k - 1].subIndex < entries[k].subIndex);
        }
    }
    check(d.notes.size() <= DeviceNotes::kLimit + 1);
    for (std::size_t i = 0; i < d.notes.size(); ++i) {
        const DeviceMessage& n = d.notes[i];
        check(n.id < DeviceText::Count && !englishText(n).empty());
        check(i == 0 || n.id == DeviceText::NotesLeftOut || d.notes[i - 1].line <= n.line);
    }
    for (const std::optional<unsigned> node :
         {std::optional<unsigned>(), std::optional(1U), std::optional(127U)}) {
        for (const DefaultPdo& p : defaultPdos(d, node)) {
            check(!p.canId() || *p.canId() <= 0x1FFFFFFFU);
            check(p.entries.size() <= 64);
        }
    }
    check(!deviceKey(d, name).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    readAs(bytes, "device.eds");
    readAs(bytes, "device.dcf");
    return 0;
}
