// Feeds arbitrary bytes to the forgiving XML reader. The counts must stay inside the tables, and
// whatever was read must write and read back to the same file.
#include "model/xml_file.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace torvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    GatewayConfiguration cfg = newConfiguration(kCanopenMaster);
    Message error;
    int damagedLine = -1;
    if (!readXml(bytes, cfg, error, &damagedLine)) {
        if (error.empty() || cfg != newConfiguration(kCanopenMaster)) {
            std::abort(); // a refusal must say why and change nothing
        }
        return 0;
    }
    const CONFIG& c = cfg.Config;
    if (damagedLine < 0 || static_cast<std::size_t>(damagedLine) > size + 1) {
        std::abort(); // a damaged line lies inside the text
    }
    if (c.NodeCount < 0 || c.NodeCount > kNodeTableSize || c.InstructionCount < 0 ||
        c.InstructionCount > kInstructionTableSize) {
        std::abort();
    }
    const std::string once = writeXml(cfg);
    GatewayConfiguration back = cfg;
    int rereadDamage = -1;
    if (!readXml(once, back, error, &rereadDamage) || rereadDamage != 0 || writeXml(back) != once) {
        std::abort(); // what the program writes is whole, never damaged
    }
    return 0;
}
