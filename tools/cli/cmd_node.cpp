#include "cli_common.h"
#include "commands.h"
#include "devices/device_commands.h"
#include "devices/device_library.h"
#include "devices/device_reader.h"
#include "editor/command_drafts.h"
#include "model/text_codec.h"
#include "model/text_number.h"
#include "platform/data_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace torvane::cli {
namespace {

constexpr int kExitSomeRefused = 3;

constexpr const char* kNodeHelp =
    "Usage: torvane-cli node add IN --device FILE|KEY --address N [--name TEXT]\n"
    "                            [--pdos | --all-pdos] [--upload INDEX:SUB]...\n"
    "                            [--download INDEX:SUB]... [-o OUT]\n\n"
    "Adds a CANopen node and its commands, built from a device description, to the master\n"
    "configuration IN and writes OUT (IN itself when -o is not given; a name whose extension\n"
    "is exactly 'xml' is written as XML, any other name as a .chg archive).\n\n"
    "--device   an EDS or DCF file, or the key of a device of the library as\n"
    "           'torvane-cli device list' prints it\n"
    "--address  the node's address N (1..127), not used by another node or the gateway\n"
    "--name     the node's name; by default the device's product name, which the PLC tags\n"
    "           and the monitor use to find the node's device\n"
    "--pdos     every default PDO the device enables and maps data into: its TPDOs as\n"
    "           Transmit PDO, its RPDOs as Receive PDO commands, with the COB-ID for N, the\n"
    "           bytes they map and the mapped objects' names as the description\n"
    "--all-pdos also the PDOs the device leaves disabled (COB-ID bit 31 set), with the COB-ID\n"
    "           without bit 31; the node must then enable them\n"
    "--upload   an Upload SDO of object INDEX, sub-index SUB; the object must be readable\n"
    "--download a Download SDO of object INDEX, sub-index SUB; the object must be writable\n"
    "           INDEX is hexadecimal, 0x6041 or 6041h; SUB is decimal or hexadecimal. An SDO\n"
    "           command carries 1, 2 or 4 bytes; objects of other sizes are refused.\n\n"
    "Every rule of the editor applies as if the node and its commands had been typed (node\n"
    "and command limits, COB-ID validity and sharing, byte counts). A command the rules or\n"
    "the device refuse is not added, and stderr names it with the reason:\n"
    "  torvane-cli: OUT: TPDO 2 (Receive PDO) not added: <reason>\n"
    "Mapping addresses stay empty; 'torvane-cli map' calculates them.\n\n"
    "Exit codes: 0 written with every command, 3 written but some commands refused, 1 nothing\n"
    "written (IN unreadable or a slave configuration, the device unreadable, the address taken\n"
    "or out of range, the node limit, OUT not written), 2 usage error.\n";

struct SdoRequest {
    CommandKind kind;
    std::uint16_t index;
    std::uint8_t subIndex;
};

std::string lowered(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// Hex digits after "0x" or before "h"; nullopt for anything else, bare digits included.
std::optional<unsigned long> hexNumber(const std::string& text) {
    std::string digits;
    const std::string t = lowered(text);
    if (t.size() > 2 && t.starts_with("0x")) {
        digits = t.substr(2);
    } else if (t.size() > 1 && t.ends_with('h')) {
        digits = t.substr(0, t.size() - 1);
    } else {
        return std::nullopt;
    }
    if (digits.empty() || digits.size() > 8 ||
        digits.find_first_not_of("0123456789abcdef") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoul(digits, nullptr, 16);
}

// "0x6041:0", "6041h:1", "0x1018:0x02"; false with the reason appended to `error` otherwise.
bool parseObject(const std::string& text, SdoRequest& out, std::string& error) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos) {
        error += "give the object as INDEX:SUB, e.g. 0x6041:0, not '" + text + "'";
        return false;
    }
    const std::string index = text.substr(0, colon);
    const std::string sub = text.substr(colon + 1);
    const std::optional<unsigned long> i = hexNumber(index);
    if (!i) {
        const bool bare = !index.empty() &&
                          index.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
        error += bare ? "index " + index + ": write 0x" + index + " or " + index + "h"
                      : "index '" + index + "' is no hexadecimal index (0x6041 or 6041h)";
        return false;
    }
    std::optional<unsigned long> s = hexNumber(sub);
    if (!s && !sub.empty() && sub.size() <= 3 &&
        sub.find_first_not_of("0123456789") == std::string::npos) {
        s = std::stoul(sub);
    }
    if (*i == 0 || *i > 0xFFFF || !s || *s > 0xFF) {
        error += "object '" + text + "' is out of range (index 0x0001..0xFFFF, sub 0..255)";
        return false;
    }
    out.index = static_cast<std::uint16_t>(*i);
    out.subIndex = static_cast<std::uint8_t>(*s);
    return true;
}

// The device of --device: a file when the name exists, else a key of the library.
bool loadDevice(const std::string& name, DeviceDescription& device) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(name, ec))) {
        const DeviceReadOutcome read = readDeviceFile(name, device);
        if (read.result == DeviceReadResult::Ok) {
            return true;
        }
        const std::string text = englishText(read.message);
        printError(read.result == DeviceReadResult::Unreadable ? text : name + ": " + text);
        return false;
    }
    const std::string folder = platform::deviceLibraryFolder();
    std::vector<DeviceMessage> problems;
    std::vector<LibraryDevice> devices =
        folder.empty() ? std::vector<LibraryDevice>{} : listDevices(folder, problems);
    for (LibraryDevice& d : devices) {
        if (lowered(d.key) == lowered(name)) {
            device = std::move(d.device);
            return true;
        }
    }
    printError(name + ": no such device file, and no device of that key in the library" +
               (folder.empty() ? std::string() : " " + folder));
    return false;
}

std::string kindLabel(const INSTRUCTION& draft) {
    const CommandType* t = findCommandType(draft.InstructionType);
    return t != nullptr ? t->label : "";
}

int nodeAdd(ParsedArgs& p) {
    if (p.positional.size() != 2) {
        return usageError("node add", "give exactly one configuration file");
    }
    if (!p.options.contains("--device") || !p.options.contains("--address")) {
        return usageError("node add", "give --device FILE|KEY and --address N");
    }
    if (p.flags.contains("--pdos") && p.flags.contains("--all-pdos")) {
        return usageError("node add", "give --pdos or --all-pdos, not both");
    }
    const std::string& address = p.options["--address"];
    if (address.empty() || address.size() > 9 ||
        address.find_first_not_of("0123456789") != std::string::npos) {
        return usageError("node add", "--address takes a node address 1..127");
    }
    std::vector<SdoRequest> sdos;
    for (const auto& [option, value] : p.inOrder) {
        if (option != "--upload" && option != "--download") {
            continue;
        }
        SdoRequest r{option == "--upload" ? CommandKind::UploadSdo : CommandKind::DownloadSdo, 0,
                     0};
        std::string error = option + " ";
        if (!parseObject(value, r, error)) {
            return usageError("node add", error);
        }
        sdos.push_back(r);
    }
    const std::string& in = p.positional[1];
    const std::string out = p.options.contains("-o") ? p.options["-o"] : in;

    GatewayConfiguration cfg;
    if (!loadConfiguration(in, cfg)) {
        return kExitFailed;
    }
    DeviceDescription device;
    if (!loadDevice(p.options["--device"], device)) {
        return kExitFailed;
    }

    const unsigned node = static_cast<unsigned>(decimalValue(address));
    std::vector<DeviceCommand> offered;
    if (p.flags.contains("--pdos") || p.flags.contains("--all-pdos")) {
        for (DeviceCommand& c : pdoCommands(device, node)) {
            // A PDO that maps nothing carries no data: there is no command to make of it.
            const bool empty = c.refusal && c.refusal->id == DeviceText::CommandNoData;
            if (!empty && (c.enabled || p.flags.contains("--all-pdos"))) {
                offered.push_back(std::move(c));
            }
        }
    }
    for (const SdoRequest& r : sdos) {
        offered.push_back(sdoCommand(device, r.index, r.subIndex, r.kind));
    }

    NodeDrafts drafts;
    drafts.address = address;
    drafts.name = p.options.contains("--name") ? configTextFromUtf8(p.options["--name"])
                                               : configTextFromUtf8(device.info.productName);
    std::vector<const DeviceCommand*> drafted;
    for (const DeviceCommand& c : offered) {
        if (!c.refusal) {
            drafts.commands.push_back(c.draft());
            drafted.push_back(&c);
        }
    }
    EditorState state;
    const DraftResult r = addDrafts(cfg, state, drafts);
    if (!r.nodeAdded) {
        std::string reasons;
        for (const Message& m : r.refusal) {
            reasons += (reasons.empty() ? "" : "; ") + withoutLineEnd(m.english());
        }
        printError(in + ": node " + address + " not added: " + reasons);
        return kExitFailed;
    }
    if (!saveConfiguration(out, cfg)) {
        return kExitFailed;
    }

    const std::string name = usedNodes(cfg.Config)[r.node - 1].NodeName;
    std::cout << printableText(out) << ": node " << address << " \"" << printableConfigText(name)
              << "\" added\n";
    bool refused = false;
    const auto refuse = [&](const DeviceCommand& c, const std::string& reason) {
        printError(out + ": " + c.label + " (" + commandType(c.kind).label +
                   ") not added: " + withoutLineEnd(reason));
        refused = true;
    };
    std::size_t at = 0;
    for (const DeviceCommand& c : offered) {
        if (c.refusal) {
            refuse(c, englishText(*c.refusal));
            continue;
        }
        const DraftOutcome& o = r.commands[at];
        const INSTRUCTION& draft = drafts.commands[at++];
        if (!o.added) {
            std::string reasons;
            for (const Message& m : o.reasons) {
                reasons += (reasons.empty() ? "" : "; ") + withoutLineEnd(m.english());
            }
            refuse(c, reasons);
            continue;
        }
        std::cout << "  " << kindLabel(draft) << "  " << c.label << "  "
                  << (c.cobId ? "COB-ID " + draft.CobId + "  " : std::string()) << draft.Bytes
                  << (c.bytes == 1 ? " byte  " : " bytes  ") << printableText(c.description)
                  << "\n";
        for (const DeviceMessage& n : c.notes) {
            std::cout << "    note: " << printableText(englishText(n)) << "\n";
        }
    }
    if (!std::cout.flush()) {
        return kExitFailed;
    }
    return refused ? kExitSomeRefused : kExitOk;
}

int cmdNode(ParsedArgs& p) {
    if (p.positional.empty() || p.positional[0] != "add") {
        return usageError("node", p.positional.empty()
                                      ? "give a sub-command: add"
                                      : "unknown sub-command '" + p.positional[0] + "'");
    }
    return nodeAdd(p);
}

} // namespace

const Command kNodeCommand{"node",
                           "add a node and its commands from a device description",
                           kNodeHelp,
                           {"--pdos", "--all-pdos"},
                           {"--device", "--address", "--name", "--upload", "--download", "-o"},
                           cmdNode};

} // namespace torvane::cli
