#include "cli_common.h"
#include "comm/protocol_base.h"
#include "commands.h"
#include "compare/compare_sources.h"
#include "compare_output.h"
#include "mapping/predownload_checks.h"
#include "model/strings.h"
#include "model/text_codec.h"
#include "platform/serial_ports.h"
#include "transfer/transfer_job.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace torvane::cli {
namespace {

// Transfer results map to exit codes 10 + code, so scripts can tell every outcome apart.
constexpr int kExitResultBase = 10;

const char* const kPortsHelp =
    "Usage: torvane-cli ports [--long | --json]\n\n"
    "Lists the serial ports a transfer can use, one device per line,\n"
    "including the devices named in TORVANE_EXTRA_PORTS (colon-separated).\n"
    "--port of download and upload also takes any other terminal device by its path.\n\n"
    "  --long  under each device, what tells adapters apart, as far as the system knows it:\n"
    "          its /dev/serial/by-id/ link, USB vendor:product id, manufacturer,\n"
    "          description and serial number\n"
    "  --json  the same as one JSON array with an object per device:\n"
    "          "
    "{\"device\":\"/dev/ttyUSB0\",\"byId\":\"/dev/serial/by-id/...\",\"vendorId\":\"0403\",\n"
    "           "
    "\"productId\":\"6001\",\"manufacturer\":...,\"description\":...,\"serialNumber\":...}\n"
    "          (ids as four hex digits; null for what is not known)\n\n"
    "Exit codes: 0 listed, 2 usage error.\n";

const char* const kDownloadHelp =
    "Usage: torvane-cli download IN --port DEVICE [--yes] [--old-format compatible|new|cancel]\n\n"
    "Downloads the configuration file IN (.chg or .xml) to the gateway on DEVICE.\n"
    "A master configuration is checked first; a slave configuration gets its mapping\n"
    "addresses calculated. The file IN is not changed.\n\n"
    "  --port DEVICE   serial device: one of 'torvane-cli ports', or the path of any other\n"
    "                  terminal device (links followed)\n"
    "  --yes           answer OK to the bus-load questions (default: Cancel)\n"
    "  --old-format F  answer to the \"Download hint:\" question asked when a configuration\n"
    "                  from an earlier version meets new firmware: compatible, new or cancel\n"
    "                  (default: ask on the terminal when there is one, else cancel)\n\n"
    "Exit codes: 0 success (result 18), 10 + the transfer result code otherwise,\n"
    "1 the file could not be read or the checks failed, 2 usage error.\n";

const char* const kUploadHelp =
    "Usage: torvane-cli upload --port DEVICE --master|--slave -o OUT\n\n"
    "Uploads the configuration stored in the gateway on DEVICE and saves it as OUT\n"
    "(.xml by its extension, anything else an archive). --master reads a TAVO20 gateway,\n"
    "--slave a TAVO20S. OUT is written only when the upload succeeds (result 18); after any\n"
    "other result OUT is left exactly as it was, or absent.\n\n"
    "Exit codes: 0 success (result 18), 10 + the transfer result code otherwise,\n"
    "1 OUT could not be written, 2 usage error.\n";

const char* const kVerifyHelp =
    "Usage: torvane-cli verify IN --port DEVICE [--json]\n\n"
    "Uploads the configuration stored in the gateway on DEVICE into memory (the upload of\n"
    "'torvane-cli upload'; no file is written, IN is not changed) and compares it with the\n"
    "configuration file IN as a download would send IN: the first 84 commands, slave mapping\n"
    "addresses recalculated, values as the codes they become on the wire, in the format the\n"
    "gateway stores. IN chooses the gateway model (master or slave). Each difference is printed\n"
    "as 'place: value in IN -> value on the gateway'; fields a transfer does not carry\n"
    "(descriptions, node names) are counted on stderr.\n\n"
    "  --port DEVICE   serial device, as for upload\n"
    "  --json          one JSON object, as 'torvane-cli diff --json' prints it (ours is IN);\n"
    "                  when the upload does not succeed "
    "{\"transferResult\":3,\"message\":\"Data validation errors\"}\n\n"
    "Exit codes: 0 equal, 1 different, 2 usage error, IN cannot be read or cannot be put\n"
    "in the format the gateway stores, 10 + the transfer result code when the upload does\n"
    "not succeed (result 18; nothing is compared then).\n";

bool stderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

// A one-line bar on stderr, redrawn in place; nothing at all when stderr is not a terminal.
class TerminalProgress final : public ProgressObserver {
public:
    explicit TerminalProgress(const char* what) : what_(what), enabled_(stderrIsTerminal()) {}
    void progressRange(int steps) override {
        range_ = steps > 0 ? steps : 1;
        done_ = 0;
        draw();
    }
    void progressStep(int steps) override {
        done_ += steps;
        draw();
    }
    void progressFinished() override {
        if (enabled_ && drawn_) {
            std::fputs("\r\033[K", stderr);
            std::fflush(stderr);
            drawn_ = false;
        }
    }

private:
    void draw() {
        if (!enabled_) {
            return;
        }
        constexpr int kWidth = 30;
        const int shown = done_ > range_ ? range_ : done_;
        const int filled = shown * kWidth / range_;
        std::string bar(static_cast<std::size_t>(filled), '#');
        bar.append(static_cast<std::size_t>(kWidth - filled), '.');
        std::fprintf(stderr, "\r%s [%s] %2d/%d", what_, bar.c_str(), shown, range_);
        std::fflush(stderr);
        drawn_ = true;
    }

    const char* what_;
    bool enabled_;
    bool drawn_ = false;
    int range_ = 1;
    int done_ = 0;
};

enum class FormatAnswer { Ask, Compatible, New, Cancel };

// Answers "Download hint:" from --old-format, or asks on the terminal.
class CliFormatQuestion final : public FormatQuestion {
public:
    explicit CliFormatQuestion(FormatAnswer answer) : answer_(answer) {}
    FormatChoice askDownloadFormat() override {
        std::cerr << (stderrIsTerminal() ? "\r\033[K" : "") << str::DownloadHintTitle.source
                  << " the configuration comes from an earlier version of the program.\n"
                     "  1) "
                  << str::FormatCompatible.source
                  << ": the old download method, for gateways with the earlier firmware\n"
                     "  2) "
                  << str::FormatNew.source << ": for all other gateways\n";
        switch (answer_) {
        case FormatAnswer::Compatible:
            std::cerr << "Answer: " << str::FormatCompatible.source << " (--old-format)\n";
            return FormatChoice::Compatible;
        case FormatAnswer::New:
            std::cerr << "Answer: " << str::FormatNew.source << " (--old-format)\n";
            return FormatChoice::New;
        case FormatAnswer::Cancel:
            std::cerr << "Answer: Cancel (--old-format)\n";
            return FormatChoice::Cancel;
        case FormatAnswer::Ask:
            break;
        }
        if (isatty(STDIN_FILENO) != 1) {
            std::cerr << "Answer: Cancel (no terminal to ask; use --old-format)\n";
            return FormatChoice::Cancel;
        }
        std::cerr << "Select 1 or 2 (anything else cancels): " << std::flush;
        std::string line;
        if (!std::getline(std::cin, line)) {
            return FormatChoice::Cancel;
        }
        if (line == "1") {
            return FormatChoice::Compatible;
        }
        if (line == "2") {
            return FormatChoice::New;
        }
        return FormatChoice::Cancel;
    }

private:
    FormatAnswer answer_;
};

// Index of `device` in `ports`: the same text, or the same file after resolving links
// ("/dev/serial/by-id/..." names the same port as "/dev/ttyUSB0"). -1 when it is not listed.
int findPort(const std::vector<std::string>& ports, const std::string& device) {
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (ports[i] == device) {
            return static_cast<int>(i);
        }
    }
    std::error_code ec;
    const auto wanted = std::filesystem::canonical(device, ec);
    if (ec) {
        return -1;
    }
    for (std::size_t i = 0; i < ports.size(); ++i) {
        std::error_code ec2;
        if (std::filesystem::canonical(ports[i], ec2) == wanted && !ec2) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Fills the port part of a request. A device the system does not list joins the list for this
// run: any terminal device will do, and opening says why a path is none.
void choosePort(TransferRequest& request, const std::string& device) {
    request.ports = platform::serialPortList();
    request.portIndex = findPort(request.ports, device);
    if (request.portIndex < 0) {
        request.ports.push_back(device);
        request.portIndex = static_cast<int>(request.ports.size()) - 1;
    }
}

bool openFailed(const TransferOutcome& outcome) {
    return outcome.started && outcome.resultCode == static_cast<int>(TransferResult::OpenFailed);
}

// The result on stdout, one line; a port that could not be opened is an error on stderr that
// names the device, with the reason on the next line.
void printOutcome(const std::string& device, const TransferOutcome& outcome) {
    if (!openFailed(outcome)) {
        std::cout << printableText(withoutLineEnd(outcome.text.english()), Backslash::Keep) << '\n';
        return;
    }
    const std::string text = withoutLineEnd(outcome.text.english());
    const std::size_t lineEnd = text.find('\n');
    printError(device + ": " + text.substr(0, lineEnd));
    if (lineEnd != std::string::npos) {
        std::cerr << printableText(text.substr(lineEnd + 1), Backslash::Keep) << '\n';
    }
}

// A JSON string of UTF-8 text, or null when it is empty.
std::string jsonTextOrNull(const std::string& text) {
    return text.empty() ? "null" : jsonString(text);
}

std::string jsonHexIdOrNull(int id) {
    if (id < 0) {
        return "null";
    }
    char buf[8];
    std::snprintf(buf, sizeof buf, "\"%04x\"", static_cast<unsigned>(id) & 0xFFFFu);
    return buf;
}

std::string portJson(const platform::PortDetails& d) {
    return "{\"device\":" + jsonTextOrNull(d.device) + ",\"byId\":" + jsonTextOrNull(d.byIdLink) +
           ",\"vendorId\":" + jsonHexIdOrNull(d.vendorId) +
           ",\"productId\":" + jsonHexIdOrNull(d.productId) +
           ",\"manufacturer\":" + jsonTextOrNull(d.manufacturer) +
           ",\"description\":" + jsonTextOrNull(d.description) +
           ",\"serialNumber\":" + jsonTextOrNull(d.serialNumber) + "}";
}

int exitCodeOf(int resultCode) {
    return resultCode == static_cast<int>(TransferResult::Success) ? kExitOk
                                                                   : kExitResultBase + resultCode;
}

// The gateway's configuration of `configType`, read over `device` with progress on stderr.
TransferOutcome uploadFrom(const std::string& device, int configType) {
    TransferRequest request;
    request.configuration = newConfiguration(configType);
    choosePort(request, device);
    TerminalProgress progress("Uploading");
    TransferServices services;
    services.openPort = [] { return platform::createSerialPort(); };
    services.progress = &progress;
    TransferOutcome outcome = runUpload(std::move(request), services);
    progress.progressFinished();
    return outcome;
}

// The result code an exit code is made of; a command stopped before the port is "open failed".
int resultCodeOf(const TransferOutcome& outcome) {
    return outcome.started ? outcome.resultCode : static_cast<int>(TransferResult::OpenFailed);
}

int cmdPorts(ParsedArgs& p) {
    if (!p.positional.empty()) {
        return usageError("ports", "takes no arguments");
    }
    const bool longList = p.flags.contains("--long");
    const bool json = p.flags.contains("--json");
    if (longList && json) {
        return usageError("ports", "takes only one of --long and --json");
    }
    const std::vector<std::string> ports = platform::serialPortList();
    if (!longList && !json) {
        for (const std::string& port : ports) {
            std::cout << printableText(port) << '\n';
        }
        return kExitOk;
    }
    const std::vector<platform::PortDetails> details = platform::serialPortDetails(ports);
    if (longList) {
        for (const platform::PortDetails& d : details) {
            std::cout << platform::describePort(d).english() << '\n';
        }
        return kExitOk;
    }
    std::cout << '[';
    for (std::size_t i = 0; i < details.size(); ++i) {
        std::cout << (i == 0 ? "\n  " : ",\n  ") << portJson(details[i]);
    }
    std::cout << (details.empty() ? "]\n" : "\n]\n");
    return kExitOk;
}

int cmdDownload(ParsedArgs& p) {
    if (p.positional.size() != 1) {
        return usageError("download", "needs exactly one input file");
    }
    if (p.options.count("--port") == 0) {
        return usageError("download", "needs --port DEVICE");
    }
    FormatAnswer answer = FormatAnswer::Ask;
    if (auto it = p.options.find("--old-format"); it != p.options.end()) {
        if (it->second == "compatible") {
            answer = FormatAnswer::Compatible;
        } else if (it->second == "new") {
            answer = FormatAnswer::New;
        } else if (it->second == "cancel") {
            answer = FormatAnswer::Cancel;
        } else {
            return usageError("download", "--old-format must be compatible, new or cancel, not '" +
                                              it->second + "'");
        }
    }
    const std::string& in = p.positional[0];

    TransferRequest request;
    DocumentState doc;
    if (!loadConfiguration(in, request.configuration, &doc)) {
        return kExitFailed;
    }
    request.oldEditionLoaded = doc.OldEditionLoaded;
    const std::string device = p.options["--port"];
    choosePort(request, device);

    TerminalProgress progress("Downloading");
    CliFormatQuestion formatQuestion(answer);
    CliCycleAnswer cycles(in, p.flags.count("--yes") != 0);
    TransferServices services;
    services.openPort = [] { return platform::createSerialPort(); };
    services.progress = &progress;
    services.formatQuestion = &formatQuestion;
    services.cycleQuestion = &cycles;

    const TransferOutcome outcome = runDownload(std::move(request), services);
    progress.progressFinished();
    if (outcome.commandsCapped) {
        printError(in + ": only the first " + std::to_string(kCommandCap) +
                   " commands are downloaded");
    }
    if (!outcome.started) {
        if (!outcome.text.empty()) {
            printError(in + ": " + outcome.text.english());
        } else {
            printError(in + ": download cancelled");
        }
        return kExitFailed;
    }
    printOutcome(device, outcome);
    return exitCodeOf(outcome.resultCode);
}

int cmdUpload(ParsedArgs& p) {
    const bool master = p.flags.count("--master") != 0;
    const bool slave = p.flags.count("--slave") != 0;
    if (master == slave) {
        return usageError("upload", "needs exactly one of --master and --slave");
    }
    if (!p.positional.empty()) {
        return usageError("upload", "unexpected argument '" + p.positional[0] + "'");
    }
    if (p.options.count("--port") == 0 || p.options.count("-o") == 0) {
        return usageError("upload", "needs --port DEVICE and -o OUT");
    }
    const std::string& out = p.options["-o"];

    const std::string device = p.options["--port"];
    const TransferOutcome outcome = uploadFrom(device, master ? kCanopenMaster : kCanopenSlave);
    printOutcome(device, outcome);
    const int resultCode = resultCodeOf(outcome);
    // A script must never get a file from a failed command, not even a fully read one whose
    // last reply was wrong (result 3).
    if (resultCode != static_cast<int>(TransferResult::Success)) {
        if (outcome.configurationChanged) {
            printError(out + " not written: the upload did not succeed");
        }
        return exitCodeOf(resultCode);
    }
    if (!saveConfiguration(out, outcome.configuration)) {
        return kExitFailed;
    }
    printError("saved " + out);
    return kExitOk;
}

int cmdVerify(ParsedArgs& p) {
    if (p.positional.size() != 1) {
        return usageError("verify", "needs exactly one input file");
    }
    if (p.options.count("--port") == 0) {
        return usageError("verify", "needs --port DEVICE");
    }
    const std::string& in = p.positional[0];
    GatewayConfiguration ours;
    if (!loadConfiguration(in, ours)) {
        return kExitUsage;
    }

    const bool json = p.flags.contains("--json");
    const std::string device = p.options["--port"];
    const TransferOutcome outcome =
        uploadFrom(device, ours.isMaster() ? kCanopenMaster : kCanopenSlave);
    const int resultCode = resultCodeOf(outcome);
    // Only a complete and confirmed upload is compared (a result 3 compares nothing).
    if (resultCode != static_cast<int>(TransferResult::Success)) {
        if (!json || openFailed(outcome)) {
            printOutcome(device, outcome);
        }
        if (json) {
            std::cout << "{\"transferResult\":" << resultCode
                      << ",\"message\":" << jsonString(withoutLineEnd(outcome.text.english()))
                      << "}\n";
        }
        return exitCodeOf(resultCode);
    }
    const CompareResult result =
        compareWithUpload(ours, outcome.configuration, outcome.format, outcome.sdoOptionsRead);
    // IN itself cannot go to this gateway: a fault of the input, as in diff.
    if (result.outcome == CompareOutcome::NotDownloadable) {
        printError(in + ": " + result.message.english());
        return kExitUsage;
    }
    return printComparison(result, json);
}

} // namespace

const Command kPortsCommand{"ports", "list the serial ports", kPortsHelp, {"--long", "--json"}, {},
                            cmdPorts};
const Command kDownloadCommand{"download",
                               "download a configuration to the gateway",
                               kDownloadHelp,
                               {"--yes"},
                               {"--port", "--old-format"},
                               cmdDownload};
const Command kUploadCommand{"upload",         "upload the configuration from the gateway",
                             kUploadHelp,      {"--master", "--slave"},
                             {"--port", "-o"}, cmdUpload};
const Command kVerifyCommand{"verify",    "compare a configuration with the gateway's",
                             kVerifyHelp, {"--json"},
                             {"--port"},  cmdVerify};

} // namespace torvane::cli
