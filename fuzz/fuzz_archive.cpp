// Feeds arbitrary bytes to the archive reader. Whatever it accepts must survive a write and a
// second read unchanged, and its XML form must read back.
#include "model/archive.h"
#include "model/xml_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ArchiveContents read;
    Message error;
    if (!readArchive(bytes, read, error)) {
        if (error.empty()) {
            std::abort(); // a refusal must say why
        }
        return 0;
    }
    GatewayConfiguration live = newConfiguration(kCanopenMaster);
    DocumentState doc;
    applyArchive(read, live, doc);

    const std::string once = writeArchive(live);
    ArchiveContents again;
    if (!readArchive(once, again, error)) {
        std::abort();
    }
    GatewayConfiguration relived = newConfiguration(kCanopenMaster);
    applyArchive(again, relived, doc);
    if (writeArchive(relived) != once) {
        std::abort();
    }

    GatewayConfiguration fromXml = newConfiguration(kCanopenMaster);
    if (!readXml(writeXml(live), fromXml, error)) {
        std::abort();
    }
    return 0;
}
