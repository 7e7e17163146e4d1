#include "cli_common.h"
#include "commands.h"
#include "devices/data_types.h"
#include "devices/default_pdos.h"
#include "devices/device_library.h"
#include "devices/device_reader.h"
#include "model/text_codec.h"
#include "platform/data_files.h"

#include <cstdio>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>

namespace torvane::cli {
namespace {

constexpr const char* kDeviceHelp =
    "Usage: torvane-cli device show FILE [--node N] [--json]\n"
    "       torvane-cli device import FILE...\n"
    "       torvane-cli device list [--json]\n"
    "       torvane-cli device remove KEY\n\n"
    "Reads CANopen device description files (EDS, or DCF with configured values; CiA 306)\n"
    "and keeps a library of them.\n\n"
    "show    prints what FILE describes: identity, baud rates, the default PDOs (number,\n"
    "        COB-ID, valid or not, the mapped objects with index, sub-index, bits and name),\n"
    "        the objects (index, sub-index, name, data type, access, PDO-mappable, bytes) and\n"
    "        the reader's notes (line, text). A COB-ID written with $NODEID is shown for node\n"
    "        N (1..127) of --node, else for a DCF's NodeID, else as written. --json prints one\n"
    "        JSON object (keys in camelCase, numbers as numbers, null for what is missing).\n"
    "import  copies each FILE unchanged into the library; a device already there under the\n"
    "        same key is replaced, and the line says \"replaced\" instead of \"imported\".\n"
    "        When one FILE cannot be read or holds no device, nothing is imported.\n"
    "list    prints the library's devices, one a line: key, vendor, product, revision,\n"
    "        number of notes and the stored file; --json prints them as a JSON array.\n"
    "remove  removes the device KEY (as list prints it) from the library.\n\n"
    "The library is the folder torvane/devices in $XDG_DATA_HOME (~/.local/share when it is\n"
    "not set). A device's key is 0xVENDOR:0xPRODUCT:0xREVISION, the numbers of [DeviceInfo];\n"
    "when all three are 0 or missing, the file's name without extension. A DCF's key ends\n"
    "in :dcf, so the EDS and the DCF of one device are two entries.\n\n"
    "The reader takes the files vendors ship: every repair or oddity (empty or malformed\n"
    "values, repeated sections or keys, objects listed but missing or the reverse, unknown\n"
    "data types, stray text, modular sections, text that is not UTF-8 and is read as\n"
    "Windows-1252) is a note with its line, and the file is read all the same. A file is\n"
    "refused only when it has neither a [DeviceInfo] section nor any object.\n\n"
    "Exit codes: 0 done (show: read, with notes or not), 1 FILE unreadable or no device file,\n"
    "the library not written (nothing imported then), no device KEY, 2 usage error.\n";

// ---- Formatting ------------------------------------------------------------------------------

std::string hex(std::uint32_t value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, value);
    return buf;
}

std::string shown(const std::string& utf8) {
    return printableText(utf8);
}

// A string of a device file or a path: its characters when it is UTF-8, else its bytes in hex.
std::string jsonText(const std::string& bytes) {
    if (isUtf8(bytes)) {
        return jsonString(bytes);
    }
    std::string hexBytes;
    for (const char c : bytes) {
        char buf[3];
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(c));
        hexBytes += buf;
    }
    return "{\"bytes\":\"" + hexBytes + "\"}";
}

template <typename T> std::string jsonNumber(const std::optional<T>& value) {
    return value ? std::to_string(*value) : "null";
}

class Json {
public:
    Json& text(const char* key, const std::string& value) { return raw(key, jsonText(value)); }
    Json& number(const char* key, long long value) { return raw(key, std::to_string(value)); }
    Json& flag(const char* key, bool value) { return raw(key, value ? "true" : "false"); }
    Json& raw(const char* key, const std::string& json) {
        body_ += body_.empty() ? "" : ",";
        body_ += jsonString(key) + ":" + json;
        return *this;
    }
    std::string str() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

template <typename List, typename F> std::string jsonArray(const List& list, F toJson) {
    std::string out = "[";
    for (const auto& item : list) {
        out += (out.size() > 1 ? "," : "") + toJson(item);
    }
    return out + "]";
}

std::string noteJson(const DeviceMessage& note) {
    return Json()
        .raw("line", note.line > 0 ? std::to_string(note.line) : "null")
        .text("text", englishText(note))
        .str();
}

std::string noteLine(const DeviceMessage& note) {
    const std::string text = shown(englishText(note));
    return note.line > 0 ? "line " + std::to_string(note.line) + ": " + text : text;
}

std::string pdoJson(const DefaultPdo& p) {
    const std::string entries = jsonArray(p.entries, [](const PdoMappingEntry& e) {
        return Json()
            .number("index", e.index)
            .number("subIndex", e.subIndex)
            .number("bits", e.bits)
            .text("name", e.name)
            .text("objectName", e.objectName)
            .raw("dataType", e.dataType != 0 ? jsonString(dataTypeName(e.dataType)) : "null")
            .flag("dummy", e.dummy)
            .flag("described", e.described)
            .str();
    });
    return Json()
        .text("label", p.label())
        .text("direction", p.direction == PdoDirection::Receive ? "receive" : "transmit")
        .number("number", p.number)
        .number("communicationIndex", p.communicationIndex)
        .number("mappingIndex", p.mappingIndex)
        .raw("cobId", jsonNumber(p.canId()))
        .raw("cobIdEntry", jsonNumber(p.cobId))
        .text("cobIdText", p.cobIdText)
        .flag("valid", p.valid)
        .flag("extended", p.extended)
        .flag("hasMapping", p.hasMapping)
        .number("bits", p.bits())
        .raw("bytes", jsonNumber(p.bytes()))
        .raw("entries", entries)
        .str();
}

std::string objectsJson(const DeviceDescription& d) {
    std::string out = "[";
    for (const DeviceObject& o : d.objects) {
        for (const DeviceEntry& e : o.entries) {
            out +=
                (out.size() > 1 ? "," : "") +
                Json()
                    .number("index", e.index)
                    .number("subIndex", e.subIndex)
                    .text("name", e.name)
                    .text("objectName", o.name)
                    .text("objectType", objectCodeText(o.objectType))
                    .raw("dataType",
                         e.dataType != 0 ? jsonString(dataTypeName(e.dataType)) : "null")
                    .raw("dataTypeCode", e.dataType != 0 ? std::to_string(e.dataType) : "null")
                    .raw("access", e.access != AccessType::Unknown
                                       ? jsonString(accessTypeText(e.access))
                                       : "null")
                    .flag("readable", e.readable())
                    .flag("writable", e.writable())
                    .flag("pdoMapping", e.pdoMapping)
                    .raw("bytes", jsonNumber(dataTypeBytes(e.dataType)))
                    .text("defaultValue", e.defaultValue)
                    .raw("parameterValue", e.parameterValue ? jsonText(*e.parameterValue) : "null")
                    .text("lowLimit", e.lowLimit)
                    .text("highLimit", e.highLimit)
                    .number("line", e.line)
                    .str();
        }
    }
    return out + "]";
}

std::string showJson(const std::string& path, const DeviceDescription& d,
                     std::optional<unsigned> node, const std::vector<DefaultPdo>& pdos) {
    const DeviceFileInfo& f = d.fileInfo;
    const DeviceInfo& i = d.info;
    return Json()
               .text("file", path)
               .text("kind", d.dcf ? "dcf" : "eds")
               .text("key", deviceKey(d, path))
               .raw("fileInfo", Json()
                                    .text("fileName", f.fileName)
                                    .text("fileVersion", f.fileVersion)
                                    .text("fileRevision", f.fileRevision)
                                    .text("edsVersion", f.edsVersion)
                                    .text("description", f.description)
                                    .text("creationTime", f.creationTime)
                                    .text("creationDate", f.creationDate)
                                    .text("createdBy", f.createdBy)
                                    .text("modificationTime", f.modificationTime)
                                    .text("modificationDate", f.modificationDate)
                                    .text("modifiedBy", f.modifiedBy)
                                    .str())
               .raw("deviceInfo",
                    Json()
                        .flag("present", i.present)
                        .text("vendorName", i.vendorName)
                        .raw("vendorNumber", jsonNumber(i.vendorNumber))
                        .text("productName", i.productName)
                        .raw("productNumber", jsonNumber(i.productNumber))
                        .raw("revisionNumber", jsonNumber(i.revisionNumber))
                        .text("orderCode", i.orderCode)
                        .raw("baudRates",
                             jsonArray(i.baudRates, [](int r) { return std::to_string(r); }))
                        .raw("nrOfRxPdo", jsonNumber(i.nrOfRxPdo))
                        .raw("nrOfTxPdo", jsonNumber(i.nrOfTxPdo))
                        .str())
               .raw("dcfNodeId", jsonNumber(d.dcfNodeId))
               .raw("node", jsonNumber(node))
               .raw("defaultPdos", jsonArray(pdos, pdoJson))
               .raw("objects", objectsJson(d))
               .raw("notes", jsonArray(d.notes, noteJson))
               .str() +
           "\n";
}

std::string numberAndName(const std::string& name, const std::optional<std::uint32_t>& number) {
    std::string out = name.empty() ? "-" : shown(name);
    return number ? out + " (" + hex(*number, 8) + ")" : out;
}

std::string cobIdShown(const DefaultPdo& p) {
    if (const std::optional<std::uint32_t> id = p.canId()) {
        return hex(*id, 3) + " (" + std::to_string(*id) + ")";
    }
    return p.cobIdText.empty() ? "none" : shown(p.cobIdText);
}

std::string showText(const std::string& path, const DeviceDescription& d,
                     std::optional<unsigned> node, const std::vector<DefaultPdo>& pdos) {
    const DeviceInfo& i = d.info;
    std::ostringstream os;
    os << shown(path) << ": " << (d.dcf ? "DCF" : "EDS") << " file, " << d.notes.size()
       << (d.notes.size() == 1 ? " note\n" : " notes\n");
    os << "Key:        " << shown(deviceKey(d, path)) << "\n";
    os << "Vendor:     " << numberAndName(i.vendorName, i.vendorNumber) << "\n";
    os << "Product:    " << numberAndName(i.productName, i.productNumber) << "\n";
    os << "Revision:   " << (i.revisionNumber ? hex(*i.revisionNumber, 8) : "-") << "\n";
    os << "Order code: " << (i.orderCode.empty() ? "-" : shown(i.orderCode)) << "\n";
    os << "Baud rates:";
    for (const int rate : i.baudRates) {
        os << ' ' << rate;
    }
    os << (i.baudRates.empty() ? " -\n" : " kbit/s\n");
    const auto count = [](const std::optional<int>& n) { return n ? std::to_string(*n) : "-"; };
    os << "PDOs:       NrOfRXPDO " << count(i.nrOfRxPdo) << ", NrOfTXPDO " << count(i.nrOfTxPdo)
       << "\n";
    os << "Node:       "
       << (node ? std::to_string(*node) + (d.dcfNodeId == node ? " (the DCF's NodeID)" : "")
                : "none (COB-IDs with $NODEID as written)")
       << "\n";

    os << "Default PDOs: " << pdos.size() << "\n";
    for (const DefaultPdo& p : pdos) {
        const std::optional<int> bytes = p.bytes();
        os << "  " << std::left << std::setw(8) << p.label() << hex(p.communicationIndex, 4)
           << "  COB-ID " << cobIdShown(p) << (p.valid ? "  valid" : "  not valid")
           << (p.extended ? ", 29-bit" : "") << "  "
           << (!p.hasMapping ? "no mapping"
               : bytes       ? std::to_string(*bytes) + (*bytes == 1 ? " byte" : " bytes")
                             : std::to_string(p.bits()) + " bits, not whole bytes")
           << "\n";
        for (const PdoMappingEntry& e : p.entries) {
            os << "      " << hex(e.index, 4) << " sub " << std::setw(3)
               << static_cast<int>(e.subIndex) << std::right << std::setw(3) << e.bits << " bits  "
               << std::left
               << (e.dummy       ? "dummy " + e.name
                   : e.described ? shown(e.name) + " (" + dataTypeName(e.dataType) + ")"
                                 : std::string("(not described)"))
               << "\n";
        }
    }

    std::size_t entries = 0;
    for (const DeviceObject& o : d.objects) {
        entries += o.entries.size();
    }
    os << "Objects: " << d.objects.size() << ", " << entries << " entries\n";
    if (entries > 0) {
        os << "  " << std::left << std::setw(6) << "Index" << std::right << std::setw(5) << "Sub"
           << "  " << std::left << std::setw(8) << "Access" << std::setw(5) << "PDO" << std::right
           << std::setw(5) << "Bytes"
           << "  " << std::left << std::setw(16) << "Type"
           << "Name\n";
    }
    for (const DeviceObject& o : d.objects) {
        const bool structured = o.objectType == ObjectCode::Array ||
                                o.objectType == ObjectCode::Record ||
                                o.objectType == ObjectCode::DefStruct;
        if (structured) {
            // The object's code under Type, its name under Name.
            os << "  " << hex(o.index, 4) << std::string(27, ' ') << std::left << std::setw(16)
               << objectCodeText(o.objectType) << shown(o.name) << "\n";
        }
        for (const DeviceEntry& e : o.entries) {
            const std::optional<int> bytes = dataTypeBytes(e.dataType);
            os << "  " << hex(e.index, 4) << std::right << std::setw(5)
               << static_cast<int>(e.subIndex) << "  " << std::left << std::setw(8)
               << (e.access == AccessType::Unknown ? "?" : accessTypeText(e.access)) << std::setw(5)
               << (e.pdoMapping ? "yes" : "no") << std::right << std::setw(5)
               << (bytes ? std::to_string(*bytes) : "-") << "  " << std::left << std::setw(16)
               << (e.dataType != 0 ? dataTypeName(e.dataType) : "-") << (structured ? "  " : "")
               << shown(e.name) << "\n";
        }
    }

    os << "Notes: " << d.notes.size() << "\n";
    for (const DeviceMessage& n : d.notes) {
        os << "  " << noteLine(n) << "\n";
    }
    return os.str();
}

// ---- Sub-commands ----------------------------------------------------------------------------

// A usage fault when `p` carries an option the sub-command does not take.
int checkOptions(const std::string& sub, const ParsedArgs& p, const std::set<std::string>& flags,
                 const std::set<std::string>& valued) {
    for (const std::string& f : p.flags) {
        if (!flags.contains(f)) {
            return usageError("device " + sub, "unknown option " + f);
        }
    }
    for (const auto& [option, value] : p.options) {
        if (!valued.contains(option)) {
            return usageError("device " + sub, "unknown option " + option);
        }
    }
    return kExitOk;
}

// The library's folder; empty after a message when the system names no data folder.
std::string libraryFolder() {
    std::string folder = platform::deviceLibraryFolder();
    if (folder.empty()) {
        printError(
            "the device library has no folder: set HOME or XDG_DATA_HOME to an absolute path");
    }
    return folder;
}

// The file a library message is about, unless its text names it already.
void printLibraryFailure(const LibraryOutcome& o) {
    const std::string text = englishText(o.message);
    const bool named = o.message.id == DeviceText::ReadFailed ||
                       o.message.id == DeviceText::LibraryFolderFailed ||
                       o.message.id == DeviceText::LibraryRemoveFailed ||
                       o.message.id == DeviceText::LibraryNotFound;
    printError(named ? text : o.file + ": " + text);
}

int deviceShow(ParsedArgs& p) {
    if (const int rc = checkOptions("show", p, {"--json"}, {"--node"}); rc != kExitOk) {
        return rc;
    }
    if (p.positional.size() != 2) {
        return usageError("device show", "give exactly one device file");
    }
    std::optional<unsigned> node;
    if (p.options.contains("--node")) {
        const std::string& text = p.options["--node"];
        const bool digits = !text.empty() && text.size() <= 3 &&
                            text.find_first_not_of("0123456789") == std::string::npos;
        const int value = digits ? std::stoi(text) : 0;
        if (value < 1 || value > 127) {
            return usageError("device show", "--node takes a node address 1..127");
        }
        node = static_cast<unsigned>(value);
    }
    const std::string& path = p.positional[1];
    DeviceDescription device;
    if (const DeviceReadOutcome read = readDeviceFile(path, device);
        read.result != DeviceReadResult::Ok) {
        const std::string text = englishText(read.message);
        printError(read.result == DeviceReadResult::Unreadable ? text : path + ": " + text);
        return kExitFailed;
    }
    if (!node) {
        node = device.dcfNodeId;
    }
    const std::vector<DefaultPdo> pdos = defaultPdos(device, node);
    std::cout << (p.flags.contains("--json") ? showJson(path, device, node, pdos)
                                             : showText(path, device, node, pdos));
    return std::cout.flush() ? kExitOk : kExitFailed;
}

int deviceImport(ParsedArgs& p) {
    if (const int rc = checkOptions("import", p, {}, {}); rc != kExitOk) {
        return rc;
    }
    if (p.positional.size() < 2) {
        return usageError("device import", "give at least one device file");
    }
    const std::string folder = libraryFolder();
    if (folder.empty()) {
        return kExitFailed;
    }
    const std::vector<std::string> files(p.positional.begin() + 1, p.positional.end());
    std::vector<ImportedDevice> imported;
    if (const LibraryOutcome o = importDevices(folder, files, imported);
        o.result != LibraryResult::Ok) {
        printLibraryFailure(o);
        return kExitFailed;
    }
    for (const ImportedDevice& d : imported) {
        std::cout << (d.replaced ? "replaced " : "imported ") << shown(d.key)
                  << (d.replaced ? " with " : " from ") << shown(d.source) << " (" << d.notes
                  << (d.notes == 1 ? " note)\n" : " notes)\n");
    }
    return std::cout.flush() ? kExitOk : kExitFailed;
}

int deviceList(ParsedArgs& p) {
    if (const int rc = checkOptions("list", p, {"--json"}, {}); rc != kExitOk) {
        return rc;
    }
    if (p.positional.size() != 1) {
        return usageError("device list", "takes no file");
    }
    const std::string folder = libraryFolder();
    if (folder.empty()) {
        return kExitFailed;
    }
    std::vector<DeviceMessage> problems;
    const std::vector<LibraryDevice> devices = listDevices(folder, problems);
    for (const DeviceMessage& m : problems) {
        printError("warning: " + englishText(m));
    }
    if (p.flags.contains("--json")) {
        std::cout << jsonArray(devices, [](const LibraryDevice& d) {
            const DeviceInfo& i = d.device.info;
            return Json()
                .text("key", d.key)
                .text("kind", d.device.dcf ? "dcf" : "eds")
                .text("vendorName", i.vendorName)
                .raw("vendorNumber", jsonNumber(i.vendorNumber))
                .text("productName", i.productName)
                .raw("productNumber", jsonNumber(i.productNumber))
                .raw("revisionNumber", jsonNumber(i.revisionNumber))
                .number("notes", static_cast<long long>(d.device.notes.size()))
                .text("file", d.path)
                .str();
        }) << "\n";
    } else {
        for (const LibraryDevice& d : devices) {
            const DeviceInfo& i = d.device.info;
            std::cout << shown(d.key) << "  " << (i.vendorName.empty() ? "-" : shown(i.vendorName))
                      << "  " << (i.productName.empty() ? "-" : shown(i.productName)) << "  "
                      << (i.revisionNumber ? "revision " + hex(*i.revisionNumber, 8) : "-") << "  "
                      << d.device.notes.size()
                      << (d.device.notes.size() == 1 ? " note  " : " notes  ") << shown(d.path)
                      << "\n";
        }
    }
    return std::cout.flush() ? kExitOk : kExitFailed;
}

int deviceRemove(ParsedArgs& p) {
    if (const int rc = checkOptions("remove", p, {}, {}); rc != kExitOk) {
        return rc;
    }
    if (p.positional.size() != 2) {
        return usageError("device remove", "give exactly one key as 'device list' prints it");
    }
    const std::string folder = libraryFolder();
    if (folder.empty()) {
        return kExitFailed;
    }
    LibraryDevice removed;
    if (const LibraryOutcome o = removeDevice(folder, p.positional[1], removed);
        o.result != LibraryResult::Ok) {
        printLibraryFailure(o);
        return kExitFailed;
    }
    std::cout << "removed " << shown(removed.key) << ": " << shown(removed.path) << "\n";
    return std::cout.flush() ? kExitOk : kExitFailed;
}

int cmdDevice(ParsedArgs& p) {
    if (p.positional.empty()) {
        return usageError("device", "give a sub-command: show, import, list or remove");
    }
    const std::string& sub = p.positional[0];
    if (sub == "show") {
        return deviceShow(p);
    }
    if (sub == "import") {
        return deviceImport(p);
    }
    if (sub == "list") {
        return deviceList(p);
    }
    if (sub == "remove") {
        return deviceRemove(p);
    }
    return usageError("device", "unknown sub-command '" + sub + "'");
}

} // namespace

const Command kDeviceCommand{"device",    "read EDS/DCF device files; keep a library of them",
                             kDeviceHelp, {"--json"},
                             {"--node"},  cmdDevice};

} // namespace torvane::cli
