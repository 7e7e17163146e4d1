#include "devices/device_commands.h"

#include "devices/data_types.h"
#include "devices/default_pdos.h"
#include "model/text_codec.h"
#include "model/text_number.h"

#include <cstdio>

namespace torvane {
namespace {

constexpr int kPdoMaxBytes = 8;
constexpr std::uint32_t kStandardIdMask = 0x7FF;

std::string hex3(std::uint32_t value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%03X", static_cast<unsigned>(value));
    return buf;
}

std::string accessShown(AccessType access) {
    return access == AccessType::Unknown ? std::string("?") : accessTypeText(access);
}

// The names of the objects a PDO carries, in mapping order; the bits a dummy entry skips carry
// no object.
std::string mappedNames(const DefaultPdo& pdo) {
    std::string names;
    for (const PdoMappingEntry& e : pdo.entries) {
        if (e.dummy) {
            continue;
        }
        const std::string& name = e.name.empty() ? e.objectName : e.name;
        const std::string shown = name.empty() ? entryLabel(e.index, e.subIndex) : name;
        names += (names.empty() ? "" : ", ") + shown;
    }
    return names;
}

std::optional<DeviceMessage> pdoRefusal(const DefaultPdo& pdo, unsigned nodeId) {
    const std::string label = pdo.label();
    if (!pdo.cobId) {
        return DeviceMessage{DeviceText::CommandNoCobId,
                             plainTexts({label, std::to_string(nodeId)}), 0};
    }
    if (pdo.extended) {
        return DeviceMessage{DeviceText::CommandExtendedId, plainTexts({label}), 0};
    }
    if (pdo.bits() == 0) {
        return DeviceMessage{DeviceText::CommandNoData, plainTexts({label}), 0};
    }
    const std::optional<int> bytes = pdo.bytes();
    if (!bytes) {
        return DeviceMessage{DeviceText::CommandNotWholeBytes,
                             plainTexts({label, std::to_string(pdo.bits())}), 0};
    }
    if (*bytes > kPdoMaxBytes) {
        return DeviceMessage{DeviceText::CommandPdoTooLong,
                             plainTexts({label, std::to_string(*bytes)}), 0};
    }
    return std::nullopt;
}

} // namespace

std::string entryLabel(std::uint16_t index, std::uint8_t subIndex) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "0x%04X sub %u", static_cast<unsigned>(index),
                  static_cast<unsigned>(subIndex));
    return buf;
}

INSTRUCTION DeviceCommand::draft() const {
    INSTRUCTION cmd;
    cmd.InstructionType = commandType(kind).code;
    if (commandType(kind).pdo) {
        cmd.CobId = cobId ? decimalText(*cobId) : std::string();
    } else {
        cmd.Index = decimalText(index);
        cmd.SubIndex = decimalText(subIndex);
    }
    cmd.Bytes = bytes > 0 ? decimalText(bytes) : std::string();
    cmd.Description = configTextFromUtf8(description);
    return cmd;
}

std::vector<DeviceCommand> pdoCommands(const DeviceDescription& device, unsigned nodeId) {
    std::vector<DeviceCommand> commands;
    for (const DefaultPdo& pdo : defaultPdos(device, nodeId)) {
        DeviceCommand c;
        c.kind = pdo.direction == PdoDirection::Transmit ? CommandKind::TransmitPdo
                                                         : CommandKind::ReceivePdo;
        c.label = pdo.label();
        c.description = mappedNames(pdo);
        c.bytes = pdo.bytes().value_or(0);
        c.enabled = pdo.valid;
        c.refusal = pdoRefusal(pdo, nodeId);
        if (!c.refusal) {
            c.cobId = *pdo.cobId & kStandardIdMask;
            if (!pdo.valid) {
                c.notes.push_back(
                    {DeviceText::CommandNotEnabled, plainTexts({c.label, hex3(*c.cobId)}), 0});
            }
        }
        commands.push_back(std::move(c));
    }
    return commands;
}

DeviceCommand sdoCommand(const DeviceDescription& device, std::uint16_t index,
                         std::uint8_t subIndex, CommandKind kind) {
    DeviceCommand c;
    c.kind = kind;
    c.index = index;
    c.subIndex = subIndex;
    c.label = entryLabel(index, subIndex);
    const DeviceEntry* e = device.findEntry(index, subIndex);
    if (e == nullptr) {
        c.refusal = DeviceMessage{DeviceText::CommandNoObject, plainTexts({c.label}), 0};
        return c;
    }
    c.description = e->name;
    const std::optional<int> bytes = dataTypeBytes(e->dataType);
    c.bytes = bytes.value_or(0);
    if (kind == CommandKind::UploadSdo && !e->readable()) {
        c.refusal = DeviceMessage{DeviceText::CommandNotReadable,
                                  plainTexts({c.label, accessShown(e->access)}), e->line};
    } else if (kind == CommandKind::DownloadSdo && !e->writable()) {
        c.refusal = DeviceMessage{DeviceText::CommandNotWritable,
                                  plainTexts({c.label, accessShown(e->access)}), e->line};
    } else if (!bytes) {
        c.refusal = DeviceMessage{DeviceText::CommandSdoNoSize,
                                  plainTexts({c.label, dataTypeName(e->dataType)}), e->line};
    } else if (*bytes != 1 && *bytes != 2 && *bytes != 4) {
        c.refusal = DeviceMessage{DeviceText::CommandSdoSize,
                                  plainTexts({c.label, std::to_string(*bytes)}), e->line};
    }
    return c;
}

} // namespace torvane
