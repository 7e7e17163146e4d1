#include "cli_common.h"
#include "commands.h"
#include "devices/device_library.h"
#include "devices/device_reader.h"
#include "devices/device_texts.h"
#include "devices/pdo_objects.h"
#include "model/atomic_file.h"
#include "model/record_view.h"
#include "model/text_codec.h"
#include "platform/data_files.h"
#include "platform/print_pdf.h"
#include "plc/io_map.h"
#include "plc/plc_tags.h"
#include "plc/tag_files.h"

#include <charconv>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <list>

namespace torvane::cli {
namespace {

constexpr const char* kTagsHelp =
    "Usage: torvane-cli tags IN --format csv|tia|iec [--input-start N] [--output-start N]\n"
    "                        [--word-addressing] [--device NODE=FILE|KEY]... [-o OUT]\n\n"
    "Writes the PLC tags of the configuration IN (.chg archive, or XML when the extension is\n"
    "exactly 'xml'): one tag per command with its PLC address (the start address of its\n"
    "direction, 0 unless given, plus its mapping address), type, name and comment.\n\n"
    "  csv   generic comma-separated table, UTF-8\n"
    "  tia   PLC tag table workbook (.xlsx) in the layout TIA Portal imports; byte addresses,\n"
    "        multi-byte tags as raw Word/DWord (the bytes are little-endian)\n"
    "  iec   IEC 61131-3 VAR_GLOBAL list with AT addresses in byte addressing;\n"
    "        --word-addressing writes %IW/%ID as word and double-word indices instead\n\n"
    "A PDO command whose bytes are a default PDO of its node's device is written as one tag\n"
    "per mapped object. The device of a node is the library's device whose product name is the\n"
    "node's name, or the one given with --device: NODE is the node address, FILE an EDS or DCF\n"
    "file, KEY a library key (torvane-cli device list).\n"
    "Without -o the tags go to standard output.\n\n"
    "Exit codes: 0 written, 1 IN unreadable, a command without mapping address or byte count,\n"
    "a device unreadable or OUT not written (nothing is written then), 2 usage error.\n";

constexpr const char* kReportHelp =
    "Usage: torvane-cli report IN -o OUT.html|OUT.pdf [--input-start N] [--output-start N]\n\n"
    "Writes the I/O map of the configuration IN: its file, date, type and gateway parameters,\n"
    "a table per buffer in mapping-address order with the PLC addresses, the free bytes, the\n"
    "outcome of the pre-download checks and the least cycle times; in English. OUT ending in\n"
    ".pdf is an A4 PDF document, anything else a self-contained HTML page. The date is the\n"
    "local time, or SOURCE_DATE_EPOCH (UTC) when that is set.\n\n"
    "Exit codes: 0 written, 1 IN unreadable or OUT not written (nothing is written then),\n"
    "2 usage error.\n";

// A PLC start address: a decimal byte address 0..65535.
bool startAddress(const ParsedArgs& p, const char* option, int& value, std::string& error) {
    const auto it = p.options.find(option);
    if (it == p.options.end()) {
        return true;
    }
    const std::string& text = it->second;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < 0 || value > 65535) {
        error = std::string(option) + " takes a byte address 0..65535";
        return false;
    }
    return true;
}

// Every --device NODE=FILE|KEY, each by the node's position. The descriptions are kept in
// `owned`; returns false after a message.
bool givenDevices(const ParsedArgs& p, const GatewayConfiguration& cfg,
                  const std::vector<LibraryDevice>& library, std::list<DeviceDescription>& owned,
                  std::map<int, const DeviceDescription*>& devices, int& usage) {
    const auto it = p.repeated.find("--device");
    if (it == p.repeated.end()) {
        return true;
    }
    const RecordView view(cfg.Config);
    for (const std::string& given : it->second) {
        const std::size_t eq = given.find('=');
        int address = 0;
        const char* end = given.data() + (eq == std::string::npos ? 0 : eq);
        const auto [ptr, ec] = std::from_chars(given.data(), end, address);
        if (eq == std::string::npos || eq + 1 == given.size() || ec != std::errc() || ptr != end ||
            address < 1 || address > 127) {
            usage = usageError("tags", "--device takes NODE=FILE or NODE=KEY with a node "
                                       "address 1..127: " +
                                           given);
            return false;
        }
        std::vector<int> positions;
        for (const NodeView& n : view.nodes()) {
            if (n.address.entered() && n.address.number == address) {
                positions.push_back(n.position + 1);
            }
        }
        if (positions.empty()) {
            usage = usageError("tags", "no node has the address " + std::to_string(address));
            return false;
        }
        const std::string source = given.substr(eq + 1);
        const DeviceDescription* device = nullptr;
        for (const LibraryDevice& d : library) {
            if (d.key == source) {
                device = &d.device;
            }
        }
        if (device == nullptr) {
            DeviceDescription& read = owned.emplace_back();
            const DeviceReadOutcome outcome = readDeviceFile(source, read);
            if (outcome.result != DeviceReadResult::Ok) {
                printError(source + ": " + englishText(outcome.message));
                return false;
            }
            device = &read;
        }
        for (const int position : positions) {
            devices[position] = device;
        }
    }
    return true;
}

// Writes `bytes` to OUT, or to standard output without one.
bool writeOutput(const std::string& out, const std::string& bytes) {
    if (out.empty()) {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        if (!std::cout) {
            printError("cannot write to standard output");
            return false;
        }
        return true;
    }
    Message error;
    if (!writeFileAtomically(out, bytes, error)) {
        printError(error);
        return false;
    }
    return true;
}

int cmdTags(ParsedArgs& p) {
    if (p.positional.size() != 1) {
        return usageError("tags", "give exactly one input file");
    }
    TagOptions options;
    if (!p.options.contains("--format") ||
        !tagFormatFromName(p.options["--format"], options.format)) {
        return usageError("tags", "give --format csv, tia or iec");
    }
    const bool words = p.flags.contains("--word-addressing");
    if (words && options.format != TagFormat::Iec) {
        return usageError("tags", "--word-addressing is for --format iec");
    }
    std::string error;
    if (!startAddress(p, "--input-start", options.inputStart, error) ||
        !startAddress(p, "--output-start", options.outputStart, error)) {
        return usageError("tags", error);
    }
    const std::string in = p.positional[0];
    const std::string out = p.options.contains("-o") ? p.options["-o"] : "";
    GatewayConfiguration cfg;
    if (!loadConfiguration(in, cfg)) {
        return kExitFailed;
    }
    std::vector<DeviceMessage> problems;
    const std::string folder = platform::deviceLibraryFolder();
    const std::vector<LibraryDevice> library =
        folder.empty() ? std::vector<LibraryDevice>{} : listDevices(folder, problems);
    const RecordView view(cfg.Config);
    for (const NodeView& n : view.nodes()) {
        if (const LibraryDevice* d = deviceForNode(library, configTextToUtf8(n.record->NodeName))) {
            options.devices[n.position + 1] = &d->device;
        }
    }
    std::list<DeviceDescription> owned;
    int usage = kExitOk;
    if (!givenDevices(p, cfg, library, owned, options.devices, usage)) {
        return usage != kExitOk ? usage : kExitFailed;
    }
    const TagResult result = buildTagTable(cfg, options);
    if (result.outcome != TagOutcome::Ok) {
        printError(in + ": " + result.message.english());
        return kExitFailed;
    }
    std::string bytes;
    Message failure;
    if (!tagFileBytes(result.table, words, bytes, failure)) {
        printError(in + ": " + failure.english());
        return kExitFailed;
    }
    return writeOutput(out, bytes) ? kExitOk : kExitFailed;
}

std::string reportDate() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch != 0) {
        now = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
        gmtime_r(&now, &tm);
    } else {
        localtime_r(&now, &tm);
    }
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M", &tm);
    return buf;
}

int cmdReport(ParsedArgs& p) {
    if (p.positional.size() != 1) {
        return usageError("report", "give exactly one input file");
    }
    if (!p.options.contains("-o") || p.options["-o"].empty()) {
        return usageError("report", "give the output file with -o");
    }
    IoMapOptions options;
    std::string error;
    if (!startAddress(p, "--input-start", options.inputStart, error) ||
        !startAddress(p, "--output-start", options.outputStart, error)) {
        return usageError("report", error);
    }
    const std::string in = p.positional[0];
    const std::string out = p.options["-o"];
    GatewayConfiguration cfg;
    if (!loadConfiguration(in, cfg)) {
        return kExitFailed;
    }
    options.fileName = std::filesystem::path(in).filename().string();
    options.date = reportDate();
    const std::string html = ioMapHtml(cfg, options);
    std::string bytes = html;
    const std::string extension = std::filesystem::path(out).extension().string();
    if (extension == ".pdf" || extension == ".PDF") {
        const platform::OffscreenApplication printing;
        if (!platform::htmlToPdf(html, options.fileName, bytes, error)) {
            printError(out + ": " + error);
            return kExitFailed;
        }
    }
    return writeOutput(out, bytes) ? kExitOk : kExitFailed;
}

} // namespace

const Command kTagsCommand{"tags",
                           "write the PLC tags of a configuration (csv, TIA, IEC 61131-3)",
                           kTagsHelp,
                           {"--word-addressing"},
                           {"-o", "--format", "--input-start", "--output-start", "--device"},
                           cmdTags};
const Command kReportCommand{"report", "write the printable I/O map (HTML or PDF)", kReportHelp,
                             {},       {"-o", "--input-start", "--output-start"},   cmdReport};

} // namespace torvane::cli
