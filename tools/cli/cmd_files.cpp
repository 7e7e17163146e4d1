#include "cli_common.h"
#include "commands.h"
#include "model/configuration.h"
#include "model/record_view.h"
#include "model/strings.h"
#include "model/text_codec.h"
#include "platform/terminal.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <utility>

namespace torvane::cli {
namespace {

constexpr const char* kNewHelp =
    "Usage: torvane-cli new --master|--slave OUT\n\n"
    "Writes a new CANopen Master (--master) or CANopen Slave (--slave) configuration to OUT:\n"
    "XML when the extension of OUT is exactly 'xml', a .chg archive otherwise.\n\n"
    "Exit codes: 0 written, 1 the file could not be written, 2 usage error.\n";

constexpr const char* kConvertHelp =
    "Usage: torvane-cli convert IN OUT\n\n"
    "Reads the configuration IN and writes it to OUT. A name whose extension is exactly 'xml'\n"
    "is an XML file, any other name a .chg archive. Reading XML starts from a new configuration\n"
    "of the type the file names, so fields the XML file does not carry get their\n"
    "new-configuration values. Writing XML leaves out the parameters it cannot hold; when one\n"
    "of them differs from a new configuration's value, a warning on stderr names them:\n"
    "  torvane-cli: warning: OUT.xml does not hold: <label> (<value>), ...\n"
    "An XML file that holds no configuration (its second top-level element is not\n"
    "ConfigType) is refused.\n\n"
    "Exit codes: 0 written, 1 IN could not be read or OUT not written, 2 usage error.\n";

constexpr const char* kShowHelp =
    "Usage: torvane-cli show IN [--json]\n\n"
    "Prints the configuration IN (.chg archive, or XML when the extension is exactly 'xml').\n"
    "--json prints one JSON object:\n"
    "  {\"ConfigType\":0,\"FIELDBUS\":{...},\"CONFIG\":{...,\"Nodes\":[...],"
    "\"Instructions\":[...]}}\n"
    "with every field under its own name and only the used node and command entries.\n"
    "Texts are byte strings in the 8-bit code page (GB18030). The JSON is UTF-8: a text that\n"
    "decodes as GB18030 is written as the characters it holds; a text that does not is written\n"
    "as {\"bytes\":\"<hex>\"}, every byte in lower-case hex, so nothing is lost or ambiguous.\n"
    "The summary prints texts in the terminal's encoding (the LC_CTYPE locale), each control\n"
    "character and each byte that does not decode as \\xNN, a line end as \\n, a backslash\n"
    "as \\\\.\n\n"
    "Exit codes: 0 shown, 1 IN could not be read, 2 usage error.\n";

// ---- JSON ------------------------------------------------------------------------------------

// A configuration text: its characters when it decodes, else {"bytes":"<hex>"}.
std::string jsonConfigText(const std::string& bytes) {
    if (const std::optional<std::string> utf8 = decodeConfigText(bytes)) {
        return jsonString(*utf8);
    }
    std::string hex;
    for (const char ch : bytes) {
        char buf[3];
        std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(ch));
        hex += buf;
    }
    return "{\"bytes\":\"" + hex + "\"}";
}

class JsonObject {
public:
    JsonObject& text(const char* key, const std::string& value) {
        return raw(key, jsonConfigText(value));
    }
    JsonObject& number(const char* key, long long value) { return raw(key, std::to_string(value)); }
    JsonObject& raw(const char* key, const std::string& json) {
        body_ += body_.empty() ? "" : ",";
        body_ += jsonString(key) + ":" + json;
        return *this;
    }
    std::string str() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

std::string toJson(const GatewayConfiguration& cfg) {
    const CONFIG& c = cfg.Config;
    JsonObject fieldbus;
    fieldbus.text("InportNum", cfg.Fieldbus.InportNum)
        .text("AuxParam", cfg.Fieldbus.AuxParam)
        .text("SizeByTypeA", cfg.Fieldbus.SizeByTypeA)
        .text("SizeByTypeB", cfg.Fieldbus.SizeByTypeB);

    JsonObject config;
    config.text("ConfigTypeText", c.ConfigTypeText)
        .text("SlaveAddress", c.SlaveAddress)
        .text("BuadRate", c.BuadRate)
        .text("SDOTimeout", c.SDOTimeout)
        .text("ReservedText", c.ReservedText)
        .text("NMT", c.NMT)
        .text("TPDOTimeout", c.TPDOTimeout)
        .text("DelayStart", c.DelayStart)
        .text("SYNC", c.SYNC)
        .text("ControlStatus", c.ControlStatus)
        .text("ErrorControl", c.ErrorControl)
        .text("RPDOCycle", c.RPDOCycle)
        .text("OutputProcessing", c.OutputProcessing)
        .text("SDOCycle", c.SDOCycle)
        .text("SDOConcurrent", c.SDOConcurrent)
        .text("SDORetries", c.SDORetries)
        .text("SDOPollDelay", c.SDOPollDelay)
        .text("SlaveBaudRate", c.SlaveBaudRate)
        .text("SlaveNodeAddress", c.SlaveNodeAddress)
        .text("RPDOTimeout", c.RPDOTimeout)
        .text("SlaveDelayStart", c.SlaveDelayStart)
        .number("NodeCount", c.NodeCount)
        .number("InstructionCount", c.InstructionCount)
        .number("ConfigEdition", c.ConfigEdition);

    std::string nodes;
    for (const NodeEntry& n : usedNodes(c)) {
        nodes += (nodes.empty() ? "" : ",") +
                 JsonObject().text("NodeAddress", n.NodeAddress).text("NodeName", n.NodeName).str();
    }
    std::string commands;
    for (const INSTRUCTION& ins : usedCommands(c)) {
        commands +=
            (commands.empty() ? "" : ",") + JsonObject()
                                                .text("NodeAddress", ins.NodeAddress)
                                                .text("InstructionType", ins.InstructionType)
                                                .text("Index", ins.Index)
                                                .text("SubIndex", ins.SubIndex)
                                                .text("CobId", ins.CobId)
                                                .text("MappingAddress", ins.MappingAddress)
                                                .text("Bytes", ins.Bytes)
                                                .text("Description", ins.Description)
                                                .text("SpareText", ins.SpareText)
                                                .number("NodeIndex", ins.NodeIndex)
                                                .str();
    }
    config.raw("Nodes", "[" + nodes + "]").raw("Instructions", "[" + commands + "]");
    return JsonObject()
        .number("ConfigType", cfg.ConfigType)
        .raw("FIELDBUS", fieldbus.str())
        .raw("CONFIG", config.str())
        .str();
}

// ---- Readable summary ------------------------------------------------------------------------

// The terminal's encoding, looked up once per run.
const std::string& terminalEncoding() {
    static const std::string codeset = platform::terminalCodeset();
    return codeset;
}

// A configuration text in the terminal's encoding, printable.
std::string shown(const std::string& bytes) {
    return configTextForTerminal(bytes, terminalEncoding().c_str());
}

void printParameters(std::ostream& os, const char* title,
                     const std::vector<std::pair<const char*, const std::string*>>& rows) {
    os << title << ":\n";
    for (const auto& [name, value] : rows) {
        os << "  " << std::left << std::setw(18) << name << shown(*value) << '\n';
    }
}

std::string toText(const std::string& path, const GatewayConfiguration& cfg) {
    const CONFIG& c = cfg.Config;
    std::ostringstream os;
    os << printableText(path) << ": " << (cfg.isMaster() ? str::CanopenMaster : str::CanopenSlave)
       << " configuration (ConfigType " << cfg.ConfigType << "), edition " << c.ConfigEdition
       << "\n";
    os << "Profibus buffer (InportNum): " << shown(cfg.Fieldbus.InportNum) << "\n";
    const std::vector<std::pair<const char*, const std::string*>> master = {
        {"BuadRate", &c.BuadRate},
        {"SlaveAddress", &c.SlaveAddress},
        {"SDOTimeout", &c.SDOTimeout},
        {"NMT", &c.NMT},
        {"TPDOTimeout", &c.TPDOTimeout},
        {"DelayStart", &c.DelayStart},
        {"SYNC", &c.SYNC},
        {"ControlStatus", &c.ControlStatus},
        {"ErrorControl", &c.ErrorControl},
        {"RPDOCycle", &c.RPDOCycle},
        {"OutputProcessing", &c.OutputProcessing},
        {"SDOCycle", &c.SDOCycle},
        {"SDOConcurrent", &c.SDOConcurrent},
        {"SDORetries", &c.SDORetries},
        {"SDOPollDelay", &c.SDOPollDelay},
    };
    const std::vector<std::pair<const char*, const std::string*>> slave = {
        {"SlaveBaudRate", &c.SlaveBaudRate},
        {"SlaveNodeAddress", &c.SlaveNodeAddress},
        {"RPDOTimeout", &c.RPDOTimeout},
        {"SlaveDelayStart", &c.SlaveDelayStart},
    };
    // The block the gateway uses comes first; the other is kept in the file all the same.
    if (cfg.isMaster()) {
        printParameters(os, "Master parameters", master);
        printParameters(os, "Slave parameters (unused)", slave);
    } else {
        printParameters(os, "Slave parameters", slave);
        printParameters(os, "Master parameters (unused)", master);
    }

    const RecordView view(c);
    os << "Nodes: " << view.nodes().size() << "\n";
    for (const NodeView& node : view.nodes()) {
        const NodeEntry& n = *node.record;
        os << "  " << std::right << std::setw(3) << node.position + 1 << "  address " << std::left
           << std::setw(5) << shown(n.NodeAddress) << shown(n.NodeName) << "\n";
    }
    os << "Commands: " << view.commands().size() << "\n";
    if (!view.commands().empty()) {
        os << "    #  " << std::left << std::setw(14) << "Type" << std::setw(6) << "Node"
           << std::setw(8) << "Index" << std::setw(5) << "Sub" << std::setw(7) << "COB-ID"
           << std::setw(6) << "Map" << std::setw(6) << "Bytes" << std::setw(6) << "Owner"
           << "Description\n";
    }
    for (const CommandView& cmd : view.commands()) {
        const INSTRUCTION& ins = *cmd.record;
        os << "  " << std::right << std::setw(3) << cmd.position + 1 << "  " << std::left
           << std::setw(14)
           << (cmd.kind ? std::string(cmd.type()->label)
                        : "type '" + shown(ins.InstructionType) + "'")
           << std::setw(6) << shown(ins.NodeAddress) << std::setw(8) << shown(ins.Index)
           << std::setw(5) << shown(ins.SubIndex) << std::setw(7) << shown(ins.CobId)
           << std::setw(6) << shown(ins.MappingAddress) << std::setw(6) << shown(ins.Bytes)
           << std::setw(6) << ins.NodeIndex << shown(ins.Description) << "\n";
    }
    return os.str();
}

int cmdNew(ParsedArgs& p) {
    if (p.flags.size() != 1) {
        return usageError("new", "give exactly one of --master and --slave");
    }
    if (p.positional.size() != 1) {
        return usageError("new", "give exactly one output file");
    }
    if (p.positional[0].empty()) {
        return usageError("new", "the output file name is empty");
    }
    const int type = p.flags.contains("--master") ? kCanopenMaster : kCanopenSlave;
    return saveConfiguration(p.positional[0], newConfiguration(type)) ? kExitOk : kExitFailed;
}

int cmdConvert(ParsedArgs& p) {
    if (p.positional.size() != 2) {
        return usageError("convert", "give an input file and an output file");
    }
    if (p.positional[1].empty()) {
        return usageError("convert", "the output file name is empty");
    }
    GatewayConfiguration cfg;
    if (!loadConfiguration(p.positional[0], cfg)) {
        return kExitFailed;
    }
    return saveConfiguration(p.positional[1], cfg) ? kExitOk : kExitFailed;
}

int cmdShow(ParsedArgs& p) {
    if (p.positional.size() != 1) {
        return usageError("show", "give exactly one input file");
    }
    GatewayConfiguration cfg;
    if (!loadConfiguration(p.positional[0], cfg)) {
        return kExitFailed;
    }
    std::cout << (p.flags.contains("--json") ? toJson(cfg) + "\n" : toText(p.positional[0], cfg));
    return std::cout.flush() ? kExitOk : kExitFailed;
}

} // namespace

const Command kNewCommand{"new",    "write a new master or slave configuration",
                          kNewHelp, {"--master", "--slave"},
                          {},       cmdNew};
const Command kConvertCommand{
    "convert", "convert between .chg archives and .xml files", kConvertHelp, {}, {}, cmdConvert};
const Command kShowCommand{
    "show", "print a configuration (text or --json)", kShowHelp, {"--json"}, {}, cmdShow};

} // namespace torvane::cli
