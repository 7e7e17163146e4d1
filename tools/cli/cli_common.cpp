#include "cli_common.h"

#include "model/config_file.h"
#include "model/text_codec.h"

#include <iostream>

namespace torvane::cli {

bool parseArgs(const Args& args, const std::set<std::string>& flags,
               const std::set<std::string>& valued, ParsedArgs& out, std::string& error) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
            out.positional.push_back(a);
        } else if (a == "--") {
            optionsEnded = true;
        } else if (flags.contains(a)) {
            out.flags.insert(a);
        } else if (valued.contains(a)) {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs a value";
                return false;
            }
            // An empty name would only fail later, after the work was done.
            if ((a == "-o" || a == "--output") && args[i + 1].empty()) {
                error = "option " + a + " needs a file name";
                return false;
            }
            if (a == "--port" && args[i + 1].empty()) {
                error = "option --port needs a device name";
                return false;
            }
            out.options[a] = args[++i];
            out.inOrder.emplace_back(a, args[i]);
            out.repeated[a].push_back(args[i]);
        } else {
            error = "unknown option " + a;
            return false;
        }
    }
    return true;
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        // U+0080..U+009F too: a terminal showing the JSON would take them as control codes.
        const bool c1 = c == 0xC2 && i + 1 < s.size() &&
                        static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(s[i + 1]) <= 0x9F;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F || c1) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04X",
                              c1 ? static_cast<unsigned char>(s[++i]) : c);
                out += buf;
            } else {
                out += s[i];
            }
        }
    }
    return out + '"';
}

std::string withoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

void printError(const std::string& message) {
    std::cerr << "torvane-cli: " << printableText(withoutLineEnd(message), Backslash::Keep) << '\n';
}

void printError(const Message& message) {
    printError(message.english());
}

int usageError(const std::string& command, const std::string& message) {
    std::cerr << "torvane-cli " << command << ": " << printableText(message, Backslash::Keep)
              << "\n"
              << "Run 'torvane-cli " << command << " --help' for usage.\n";
    return kExitUsage;
}

bool loadConfiguration(const std::string& path, GatewayConfiguration& cfg, DocumentState* doc) {
    // An archive is applied over it; an XML file starts from a new one of its own type.
    GatewayConfiguration read = newConfiguration(kCanopenMaster);
    DocumentState state;
    Message error;
    int damagedLine = 0;
    if (!loadConfigurationFile(path, read, state, error, &damagedLine)) {
        printError(error);
        return false;
    }
    if (damagedLine > 0) {
        printError("warning: " + damagedXmlMessage(path, damagedLine).english());
    }
    cfg = std::move(read);
    if (doc != nullptr) {
        *doc = state;
    }
    return true;
}

bool saveConfiguration(const std::string& path, const GatewayConfiguration& cfg) {
    Message error;
    if (!saveConfigurationFile(path, cfg, error)) {
        printError(error);
        return false;
    }
    if (const std::vector<DroppedField> dropped = fieldsLeftOut(path, cfg); !dropped.empty()) {
        printError("warning: " + path + " does not hold: " + droppedFieldsText(dropped).english());
    }
    return true;
}

bool CliCycleAnswer::askToContinue(const CycleQuestion& question) {
    printError(file_ + ": " + question.text.english() + " -> " + (yes_ ? "OK (--yes)" : "Cancel"));
    return yes_;
}

} // namespace torvane::cli
