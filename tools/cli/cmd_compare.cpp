#include "cli_common.h"
#include "commands.h"
#include "compare/compare_sources.h"
#include "compare_output.h"
#include "model/strings.h"

#include <iostream>
#include <string>

namespace torvane::cli {
namespace {

const char* const kDiffHelp =
    "Usage: torvane-cli diff A B [--carried [--format compatible|new]] [--json]\n\n"
    "Compares the configuration files A and B (.chg or .xml) and prints each difference\n"
    "as 'place: value in A -> value in B', values as the grid shows them. Commands are\n"
    "matched by node address, type and Index/Sub-index or COB-ID, not by position;\n"
    "commands sharing all of these pair up in list order. An .xml side is read as the\n"
    "program opens it, from a new configuration of the type the file names; the fields\n"
    "the XML file does not hold are not compared, whichever side it is on, and are\n"
    "counted on stderr. So 'diff A B' and 'diff B A' give the same differences mirrored.\n"
    "Texts are printed with control characters as \\xNN, a line end as \\n, a backslash\n"
    "as \\\\; a place or value holding ' -> ' or starting with a quote is put in double\n"
    "quotes, so each difference stays one line.\n\n"
    "  --carried   compare what a download carries: each side as a download would send it\n"
    "              (the first 84 commands, slave mapping addresses recalculated), values as\n"
    "              the codes they become on the wire (NMT 'Yes' equals 'Enable'). Fields a\n"
    "              transfer does not carry (descriptions, node names) are counted on stderr\n"
    "  --format F  the download format of --carried: new (default) or compatible\n"
    "  --json      one JSON object: "
    "{\"equal\":false,\"differences\":[{\"place\":...,\"ours\":...,\n"
    "              \"theirs\":...}],\"notCompared\":{\"count\":0,\"fields\":[]}} (ours is A)\n\n"
    "Exit codes: 0 equal, 1 different, 2 usage error or a file that cannot be read.\n";

// Reads one side, printing what went wrong or how far a damaged file was read.
bool loadSide(const std::string& path, FileSide& side) {
    Message error;
    if (!readFileSide(path, side, error)) {
        printError(error);
        return false;
    }
    if (!side.warning.empty()) {
        printError("warning: " + side.warning.english());
    }
    return true;
}

} // namespace

int printComparison(const CompareResult& result, bool json) {
    if (json) {
        std::cout << "{\"equal\":" << (result.equal() ? "true" : "false") << ",\"differences\":[";
        for (std::size_t i = 0; i < result.differences.size(); ++i) {
            const Difference& d = result.differences[i];
            std::cout << (i == 0 ? "\n  " : ",\n  ")
                      << "{\"place\":" << jsonString(d.place.english())
                      << ",\"ours\":" << jsonString(d.ours.english())
                      << ",\"theirs\":" << jsonString(d.theirs.english()) << '}';
        }
        std::cout << (result.differences.empty() ? "]" : "\n]")
                  << ",\"notCompared\":{\"count\":" << result.notCompared.count << ",\"fields\":[";
        for (std::size_t i = 0; i < result.notCompared.fields.size(); ++i) {
            std::cout << (i == 0 ? "" : ",") << jsonString(result.notCompared.fields[i].english());
        }
        std::cout << "]}}\n";
    } else {
        for (const Difference& d : result.differences) {
            std::cout << differenceLine(d) << '\n';
        }
    }
    if (result.notCompared.count > 0) {
        printError(notComparedMessage(result.notCompared));
    }
    return result.equal() ? kExitOk : kExitFailed;
}

namespace {

int cmdDiff(ParsedArgs& p) {
    if (p.positional.size() != 2) {
        return usageError("diff", "needs exactly two files");
    }
    CompareOptions options;
    options.scope = p.flags.contains("--carried") ? CompareScope::Carried : CompareScope::AllFields;
    if (auto it = p.options.find("--format"); it != p.options.end()) {
        if (options.scope != CompareScope::Carried) {
            return usageError("diff", "--format needs --carried");
        }
        if (it->second == "compatible") {
            options.format = DownloadFormat::Tavo20Compatible;
        } else if (it->second != "new") {
            return usageError("diff",
                              "--format must be compatible or new, not '" + it->second + "'");
        }
    }
    FileSide a;
    FileSide b;
    if (!loadSide(p.positional[0], a) || !loadSide(p.positional[1], b)) {
        return kExitUsage;
    }
    const CompareResult result = compareWithFile(a.configuration, &a.unheld, b, options);
    if (result.outcome == CompareOutcome::NotDownloadable) {
        printError(result.message);
        return kExitUsage;
    }
    return printComparison(result, p.flags.contains("--json"));
}

} // namespace

const Command kDiffCommand{"diff",       "compare two configuration files",
                           kDiffHelp,    {"--carried", "--json"},
                           {"--format"}, cmdDiff};

} // namespace torvane::cli
