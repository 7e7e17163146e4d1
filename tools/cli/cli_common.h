#pragma once

// Small helpers every torvane-cli command shares: argument splitting, messages on stderr and
// loading or saving a configuration file by name (.xml by its extension, anything else an
// archive). Messages go to stderr as "torvane-cli: <text>"; a file's messages name the file.

#include "commands.h"
#include "mapping/predownload_checks.h"
#include "model/configuration.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace torvane::cli {

// Splits `args`: words in `flags` are flags, words in `valued` take the next word as their value,
// "--" ends the options, any other word starting with '-' is unknown. Returns false with a
// message in `error` on an unknown option, a missing value or an empty -o/--output or --port
// name.
bool parseArgs(const Args& args, const std::set<std::string>& flags,
               const std::set<std::string>& valued, ParsedArgs& out, std::string& error);

// A JSON string of UTF-8 (or ASCII) text, control characters escaped.
std::string jsonString(const std::string& s);

// Every message below is printed as printableText shows it, keeping its backslashes (control
// characters as \xNN, a line end as \n), so a file name, a device's text or a configuration
// cannot steer the terminal; what comes from a configuration is decoded from GB18030 first.

// `text` without the line ends some messages carry at their end.
std::string withoutLineEnd(std::string text);

// Prints "torvane-cli: <message>" to stderr, as one line; a message of the core in English.
void printError(const std::string& message);
void printError(const Message& message);

// Prints "torvane-cli <command>: <message>" and a hint to run --help; returns kExitUsage.
int usageError(const std::string& command, const std::string& message);

// Loads a .chg or .xml file into `cfg`, starting from a new configuration (of the XML file's
// type; master under an archive), so entries beyond the counts are those of a new
// configuration; `doc`, when given, receives the file state.
// Returns false after printing a message that names the file. A damaged XML file read as far as
// it goes loads with a warning on stderr.
bool loadConfiguration(const std::string& path, GatewayConfiguration& cfg,
                       DocumentState* doc = nullptr);

// Saves `cfg` atomically as .xml or .chg by the name. Returns false after printing a message
// that names the file; the previous file is then intact. An XML file that leaves out parameter
// values the grid shows is written all the same, with one warning line naming them.
bool saveConfiguration(const std::string& path, const GatewayConfiguration& cfg);

// Answers every bus-load question with --yes (OK) or Cancel and prints it with its answer.
class CliCycleAnswer final : public CycleQuestioner {
public:
    CliCycleAnswer(std::string file, bool yes) : file_(std::move(file)), yes_(yes) {}
    bool askToContinue(const CycleQuestion& question) override;

private:
    std::string file_;
    bool yes_;
};

} // namespace torvane::cli
