#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace torvane::gui {

// What `torvane ARGS` asks for. Parsed before any application object exists, so --help,
// --version and a wrong option never need a display.
struct CommandLine {
    enum class Action {
        Run,            // open the main window
        MeasureStartup, // print start-up figures and end
        Help,           // print `text` on standard output, exit 0
        Version,        // print `text` on standard output, exit 0
        Error,          // print `text` (the reason, then the usage) on standard error, exit 2
    };
    Action action = Action::Run;
    bool demo = false;
    QString file;         // the configuration to open; empty for New
    std::string filePath; // `file` as the system passed it (a name need not be text)
    QString language;     // "en" or "zh_CN" from --lang; empty: the system locale's
    QString text;
};

// Reads the arguments (the program name first). Qt's own window options (-platform NAME,
// -style NAME, -reverse, ...) are let through for the application object.
CommandLine parseCommandLine(const QStringList& arguments);

// The arguments as the system passed them, decoded from the locale's encoding.
QStringList commandLineArguments(int argc, char** argv);

// The argument of `argv` that `file` was decoded from (the last such one), so a name that is not
// text in the locale's encoding opens all the same; `file` re-encoded when none is.
std::string commandLineFilePath(const QString& file, int argc, char** argv);

} // namespace torvane::gui
