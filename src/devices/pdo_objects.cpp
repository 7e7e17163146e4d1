#include "devices/pdo_objects.h"

namespace torvane {
namespace {

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::optional<DefaultPdo> matchingDefaultPdo(const DeviceDescription& device,
                                             const CommandView& command, unsigned nodeAddress) {
    if (!command.isPdo() || !command.cobId.entered() || !command.bytes.entered()) {
        return std::nullopt;
    }
    const PdoDirection wanted =
        command.kind == CommandKind::TransmitPdo ? PdoDirection::Transmit : PdoDirection::Receive;
    for (DefaultPdo& pdo : defaultPdos(device, nodeAddress)) {
        if (pdo.direction == wanted && pdo.valid && !pdo.extended && pdo.canId() &&
            static_cast<std::int64_t>(*pdo.canId()) == *command.cobId.value &&
            pdo.bytes() == *command.bytes.value) {
            return std::move(pdo);
        }
    }
    return std::nullopt;
}

std::vector<PdoObject> pdoObjects(const DefaultPdo& pdo) {
    std::vector<PdoObject> objects;
    int at = 0;
    for (const PdoMappingEntry& e : pdo.entries) {
        objects.push_back({at, e.bits, e.index, e.subIndex, e.name, e.dataType, e.dummy});
        at += e.bits;
    }
    return objects;
}

const LibraryDevice* deviceForNode(const std::vector<LibraryDevice>& devices,
                                   std::string_view nodeName) {
    const std::string_view name = trimmed(nodeName);
    if (name.empty()) {
        return nullptr;
    }
    const LibraryDevice* best = nullptr;
    for (const LibraryDevice& d : devices) {
        if (trimmed(d.device.info.productName) != name) {
            continue;
        }
        if (best == nullptr || d.device.dcf > best->device.dcf ||
            (d.device.dcf == best->device.dcf && d.key > best->key)) {
            best = &d;
        }
    }
    return best;
}

} // namespace torvane
