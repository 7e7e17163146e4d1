#include "cli_common.h"
#include "commands.h"
#include "export/eds_generator.h"
#include "export/workbook_export.h"
#include "model/strings.h"
#include "platform/data_files.h"

#include <filesystem>
#include <iostream>

namespace torvane::cli {
namespace {

constexpr const char* kEdsHelp =
    "Usage: torvane-cli eds IN -o OUT.eds [--template-dir DIR]\n\n"
    "Writes the Electronic Data Sheet of the CANopen Slave configuration IN (.chg archive, or\n"
    "XML when the extension is exactly 'xml') to OUT. The time stamps are the local time.\n"
    "The templates EDSTemplate1.dat and EDSTemplate2.dat are taken from DIR when given, else\n"
    "from beside the program or the installed data folder.\n\n"
    "Exit codes: 0 written, 1 IN unreadable, IN not a slave configuration, a template\n"
    "unreadable or OUT not written (a previous OUT is then left as it was), 2 usage error.\n";

constexpr const char* kExportHelp =
    "Usage: torvane-cli export IN -o OUT.xlsx [--template-dir DIR]\n\n"
    "Exports the configuration IN (.chg archive, or XML when the extension is exactly 'xml')\n"
    "to the workbook OUT, filled from Template_Master.xlsx or Template_Slave.xlsx by the\n"
    "configuration type. The template is taken from DIR when given, else from beside the\n"
    "program or the installed data folder.\n\n"
    "Exit codes: 0 written, 1 IN unreadable, the template missing or damaged, or OUT not\n"
    "written (a previous OUT is then left as it was), 2 usage error.\n";

struct Request {
    std::string in;
    std::string out;
    std::string templateDir;
};

// Takes "IN -o OUT [--template-dir DIR]"; returns kExitOk or the usage exit code.
int parseRequest(const std::string& command, ParsedArgs& p, Request& r) {
    if (p.positional.size() != 1) {
        return usageError(command, "give exactly one input file");
    }
    if (!p.options.contains("-o") || p.options["-o"].empty()) {
        return usageError(command, "give the output file with -o");
    }
    r.in = p.positional[0];
    r.out = p.options["-o"];
    r.templateDir = p.options.contains("--template-dir") ? p.options["--template-dir"] : "";
    return kExitOk;
}

// The reason in a file message about `path` ("cannot save <path>: <reason>", "<path> does not
// exist"), so the line that shows it names the file once.
std::string reasonAbout(const Message& message, const std::string& path) {
    const std::string detail = message.english();
    const std::string none;
    for (const std::string& start :
         {Message(str::FileCannotSave, path, none).english(),
          Message(str::FileCannotRead, path, none).english(),
          Message(str::FileCannotOpen, path, none).english(), path + " "}) {
        if (detail.size() > start.size() && detail.compare(0, start.size(), start) == 0) {
            return detail.substr(start.size());
        }
    }
    return detail;
}

std::string templatePath(const Request& r, const std::string& name) {
    if (r.templateDir.empty()) {
        return platform::findDataFile(name);
    }
    return (std::filesystem::path(r.templateDir) / name).string();
}

int cmdEds(ParsedArgs& p) {
    Request r;
    if (const int rc = parseRequest("eds", p, r); rc != kExitOk) {
        return rc;
    }
    GatewayConfiguration cfg;
    if (!loadConfiguration(r.in, cfg)) {
        return kExitFailed;
    }
    if (!edsAvailable(cfg)) {
        printError(r.in + ": a CANopen Master configuration has no EDS file; only a CANopen "
                          "Slave configuration is a node that needs one");
        return kExitFailed;
    }
    const EdsTemplatePaths templates{templatePath(r, kEdsTemplate1File),
                                     templatePath(r, kEdsTemplate2File)};
    const EdsOutcome outcome = createEdsFile(cfg, r.out, templates, currentLocalTime());
    if (outcome.result == EdsResult::TemplateUnreadable) {
        const bool first = outcome.message.english().ends_with(templates.template1);
        printError(r.out + ": " + outcome.message.english() + " (" +
                   reasonAbout(outcome.detail, first ? templates.template1 : templates.template2) +
                   ")");
        return kExitFailed;
    }
    if (outcome.result != EdsResult::Ok) {
        printError(r.out + ": " + outcome.message.english() + " (" +
                   reasonAbout(outcome.detail, r.out) + ")");
        return kExitFailed;
    }
    return kExitOk;
}

int cmdExport(ParsedArgs& p) {
    Request r;
    if (const int rc = parseRequest("export", p, r); rc != kExitOk) {
        return rc;
    }
    GatewayConfiguration cfg;
    if (!loadConfiguration(r.in, cfg)) {
        return kExitFailed;
    }
    const std::string tpl = templatePath(r, workbookTemplateName(cfg.ConfigType));
    const WorkbookOutcome outcome = exportWorkbook(cfg, tpl, r.out);
    if (outcome.result == WorkbookResult::SaveFailed) {
        // The message names OUT already.
        printError(outcome.message.english() + " (" + reasonAbout(outcome.detail, r.out) + ")");
        return kExitFailed;
    }
    if (outcome.result != WorkbookResult::Ok) {
        printError(r.out + ": " + outcome.message.english() + " (" +
                   reasonAbout(outcome.detail, tpl) + ")");
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

const Command kEdsCommand{
    "eds", "write the EDS file of a slave configuration", kEdsHelp, {}, {"-o", "--template-dir"},
    cmdEds};
const Command kExportCommand{
    "export", "export a configuration to a workbook", kExportHelp, {}, {"-o", "--template-dir"},
    cmdExport};

} // namespace torvane::cli
